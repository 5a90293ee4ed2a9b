; SPDX-License-Identifier: GPL-2.0-or-later
; The installer of kpxv410.exe: the program and the three command-line tools under Program Files,
; a Start-menu entry for the program and one for a command prompt that finds the tools, and an
; uninstaller. It makes the data directory \vokelu on the system drive
; when it is missing, which the program never does, and puts the handbook's example include file
; there when there is none. It never writes over or removes a file in that directory.
; It refuses to go on (with /S: exit code 3) while the program runs, on Windows older than 7 SP1
; (exit code 4) and without the administrator's rights that Program Files needs (exit code 5).
;
;   makensis -DSOURCE_DIR=<dir with the programs> -DDATA_DIR=<repository>/data -DVERSION=<version>
;            -DOUTPUT=<installer.exe> [-DAMD64] win32/installer.nsi
Unicode true
ManifestDPIAware true
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "WinVer.nsh"

!define PRODUCT "鷺笙輸入法 對照表 製作程式"
; The program's version, from the project (scripts/build-windows.sh passes it).
!ifndef VERSION
  !error "VERSION is not defined: pass -DVERSION=<the project's version>"
!endif
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\kpxv410"
!define START_MENU_FOLDER "$SMPROGRAMS\鷺笙輸入法"
!define TOOLS_PROMPT "鷺笙輸入法 命令列工具"

!ifdef AMD64
  Target amd64-unicode
  InstallDir "$PROGRAMFILES64\kpxv410"
!else
  InstallDir "$PROGRAMFILES\kpxv410"
!endif

; An upgrade goes where the last install went, and so replaces the old copy.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTPUT}"
RequestExecutionLevel admin
BrandingText "kpxv410 ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1028 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1028 "FileDescription" "${PRODUCT} 安裝程式"
VIAddVersionKey /LANG=1028 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1028 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1028 "LegalCopyright" "GNU GPL 2.0 或更新版本"

!define MUI_ICON "${DATA_DIR}\icons\kpxv410.ico"
!define MUI_UNICON "${DATA_DIR}\icons\kpxv410.ico"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; No "start the program" box: the installer runs elevated, and the program would too.
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "TradChinese"

; Every copy of the program holds this mutex, whatever its data directory. Another user's or an
; elevated copy's mutex cannot be opened (access denied): it runs too.
!define PROGRAM_MUTEX "Global\kpxv410"

!macro CHECKS UN
Function ${UN}RefuseWhileRunning
  retry:
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${PROGRAM_MUTEX}") p .r0 ?e'
    Pop $1
    ${If} $0 P<> 0
      System::Call 'kernel32::CloseHandle(p r0)'
    ${ElseIf} $1 <> 5
      Return
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "${PRODUCT} 當咧執行。$\r$\n$\r$\n請先關掉程式（所有使用者 e），才閣按「重試」。" /SD IDCANCEL IDRETRY retry
    SetErrorLevel 3
    Quit
FunctionEnd

Function ${UN}RefuseUnsupported
  ${IfNot} ${AtLeastWin8}
    ${IfNot} ${AtLeastWin7}
    ${OrIfNot} ${AtLeastServicePack} 1
      MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} 需要 Windows 7 SP1 抑是較新 e Windows。" /SD IDOK
      SetErrorLevel 4
      Quit
    ${EndIf}
  ${EndIf}
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP \
      "安裝到 Program Files 需要系統管理員 e 權限。$\r$\n$\r$\n請用系統管理員 e 身分閣執行一擺。" /SD IDOK
    SetErrorLevel 5
    Quit
  ${EndIf}
FunctionEnd
!macroend
!insertmacro CHECKS ""
!insertmacro CHECKS "un."

; Installed for every user of the machine: the Start-menu entry too.
Function .onInit
  Call RefuseUnsupported
  Call RefuseWhileRunning
  SetShellVarContext all
!ifdef AMD64
  SetRegView 64
!endif
FunctionEnd

Function un.onInit
  Call un.RefuseUnsupported
  Call un.RefuseWhileRunning
  SetShellVarContext all
!ifdef AMD64
  SetRegView 64
!endif
FunctionEnd

Section "kpxv410"
  ; The program may have been started while the pages were open.
  Call RefuseWhileRunning
  SetOutPath "$INSTDIR"
  File "${SOURCE_DIR}\kpxv410.exe"
  File "${SOURCE_DIR}\kpx-make.exe"
  File "${SOURCE_DIR}\kpx-dump.exe"
  File "${SOURCE_DIR}\kpx-convert.exe"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The data directory on the system drive (the drive of the Windows directory), where the
  ; program keeps its data files, tables and state file. An existing example is the user's.
  StrCpy $0 "$WINDIR" 2
  CreateDirectory "$0\vokelu"
  SetOutPath "$0\vokelu"
  SetOverwrite off
  File "${DATA_DIR}\example.txt"
  SetOverwrite on
  SetOutPath "$INSTDIR"

  CreateDirectory "${START_MENU_FOLDER}"
  CreateShortcut "${START_MENU_FOLDER}\${PRODUCT}.lnk" "$INSTDIR\kpxv410.exe"
  ; A command prompt with the tools on its PATH, in the data directory (the shortcut starts where
  ; SetOutPath last went); the system's PATH stays as it was.
  SetOutPath "$0\vokelu"
  CreateShortcut "${START_MENU_FOLDER}\${TOOLS_PROMPT}.lnk" "$SYSDIR\cmd.exe" \
    '/k "set "PATH=$INSTDIR;%PATH%" & echo kpx-make --help, kpx-dump --help, kpx-convert --help"'
  SetOutPath "$INSTDIR"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kpxv410.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what the installer put under Program Files and in the Start menu; the data directory and
; everything in it stay as they are.
Section "Uninstall"
  Call un.RefuseWhileRunning
  Delete "$INSTDIR\kpxv410.exe"
  Delete "$INSTDIR\kpx-make.exe"
  Delete "$INSTDIR\kpx-dump.exe"
  Delete "$INSTDIR\kpx-convert.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "${START_MENU_FOLDER}\${PRODUCT}.lnk"
  Delete "${START_MENU_FOLDER}\${TOOLS_PROMPT}.lnk"
  RMDir "${START_MENU_FOLDER}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
