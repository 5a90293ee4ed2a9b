# SPDX-License-Identifier: GPL-2.0-or-later
# Sourced by the Windows test scripts: installs Wine when it is missing and picks the Windows
# architecture the tests build and run.
#
# The program ships as a 32-bit build. Some machines (kernels without 32-bit support, such as
# some virtual machines) cannot run 32-bit processes, and so no 32-bit Wine; there the tests
# build the same sources for 64-bit Windows and run them under 64-bit Wine instead, and say so.
# KPX_WINDOWS_ARCH=i686 or x86_64 forces the choice.
#
# Sets: windows_arch (i686 or x86_64), windows_toolchain (a CMake toolchain file),
# wine_program, wineserver_program, and exports WINEARCH, WINEDEBUG, WINEDLLOVERRIDES and, for
# 64-bit Wine, WINELOADER. The caller sets WINEPREFIX.

kpx_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# Installs the Debian packages given, those that are missing.
kpx_install_missing() {
  local missing=() package
  for package in "$@"; do
    kpx_installed "$package" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  if printf '%s\n' "${missing[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386
  fi
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq </dev/null
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
    --no-install-recommends "${missing[@]}" </dev/null
}

kpx_install_missing wine wine32:i386 wine64

windows_arch=${KPX_WINDOWS_ARCH:-}
# An i386 program handed to qemu through binfmt_misc (qemu-user-static, which the thunk test
# installs) starts, but 32-bit Wine under emulation is far too slow to test with.
kpx_i386_emulated() {
  local entry
  for entry in /proc/sys/fs/binfmt_misc/qemu-i386 /proc/sys/fs/binfmt_misc/qemu-i386-static; do
    [ -f "$entry" ] && head -n 1 "$entry" | grep -qx enabled && return 0
  done
  return 1
}
if [ -z "$windows_arch" ]; then
  if ! kpx_i386_emulated && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    windows_arch=i686
  else
    windows_arch=x86_64
    echo "NOTE: this machine cannot run 32-bit programs (no 32-bit Wine); testing the 64-bit build of the same sources."
  fi
fi
case $windows_arch in
  i686)
    windows_toolchain=cmake/toolchain-mingw32.cmake
    wine_program=/usr/lib/wine/wine
    wineserver_program=/usr/lib/wine/wineserver
    export WINEARCH=win32
    unset WINELOADER
    ;;
  x86_64)
    windows_toolchain=cmake/toolchain-mingw64.cmake
    wine_program=/usr/lib/wine/wine64
    wineserver_program=/usr/lib/wine/wineserver64
    export WINEARCH=win64
    export WINELOADER=$wine_program
    ;;
  *)
    echo "KPX_WINDOWS_ARCH must be i686 or x86_64" >&2
    exit 2
    ;;
esac
kpx_install_missing "g++-mingw-w64-${windows_arch//_/-}-posix"
export WINEDEBUG=-all
# No Mono or Gecko installer prompts; none of the programs needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="

# Windows links Chinese faces to its interface font (Tahoma) for menus and message boxes; a new
# Wine prefix does not, and shows their Chinese as empty boxes. Call once the prefix exists.
kpx_wine_link_chinese_fonts() {
  "$wine_program" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
    /v Tahoma /t REG_MULTI_SZ /d 'uming.ttc,AR PL UMing TW' /f >/dev/null 2>&1 </dev/null || true
}
