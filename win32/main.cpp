// SPDX-License-Identifier: GPL-2.0-or-later
// kpxv410.exe: the word-table tool of the 鷺笙輸入法, as a native Windows program.
#include <exception>
#include <string>

#include "platform/input_method_library.h"
#include "platform/native_path.h"
#include "state/slot_names.h"
#include "win32/aboutbox1.h"
#include "win32/form1.h"
#include "win32/mm_dirty_warning1.h"
#include "win32/okmes1.h"
#include "win32/sc_cheh1.h"
#include "win32/single_instance.h"
#include "win32/ui_support.h"
#include "workbench/program_texts.h"
#include "workbench/workbench.h"
#include <commctrl.h>
#include <windows.h>

namespace {

// The directory of the state file, which names the data directory this copy works on.
std::wstring dataDirectoryKey()
{
    std::string directory = kpx::StateFileName(kpx::os::systemDriveLetter());
    directory.resize(directory.find_last_of('\\') + 1);
    return std::wstring(directory.begin(), directory.end());
}

int runProgram(int showCommand)
{
    using namespace kpx::win32;
    SingleInstance instance(dataDirectoryKey());
    const auto tell = [](std::u16string_view text, UINT icon) {
        MessageBoxW(nullptr, wide(text).c_str(), wide(kpx::texts::kProgramTitle).c_str(), MB_OK | icon);
    };
    switch (instance.claim()) {
    case SingleInstance::Claim::Claimed:
        break;
    case SingleInstance::Claim::Taken:
        if (!instance.callRunningCopy())
            tell(kpx::texts::kCopyWithoutWindow, MB_ICONINFORMATION);
        return 0;
    case SingleInstance::Claim::TakenByOther:
        tell(kpx::texts::kCopyOfOtherUser, MB_ICONINFORMATION);
        return 0;
    case SingleInstance::Claim::Unknown:
        // As the Linux program: say so, and start all the same.
        tell(kpx::texts::lockNotCreated(instance.systemWords()) + std::u16string(kpx::texts::kStartingAnyway),
            MB_ICONWARNING);
        break;
    }
    // The five windows, in the order the program has always created them; only the main window
    // is shown.
    TSCCheh1 handbook;
    Taboutbox1 aboutBox;
    TmmDirtyWarning1 dirtyWarning;
    Tokmes1 notice;
    TForm1 form1(handbook, aboutBox, dirtyWarning, notice);
    if (!form1.handle() || !handbook.handle()) {
        MessageBoxW(nullptr, wide(kpx::texts::kWindowNotCreated).c_str(), wide(kpx::texts::kProgramTitle).c_str(),
            MB_OK | MB_ICONERROR);
        return 1;
    }

    kpx::InputMethodLibrary library;
    library.load();
    kpx::Workbench workbench(form1, kpx::os::systemDriveLetter(), std::move(library));
    form1.attach(workbench);
    handbook.onActivated([&workbench] { workbench.focusMoved(kpx::FocusedWindow::Handbook); });

    instance.mark(form1.handle());
    form1.showFirst(showCommand);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (form1.translateShortcut(message) || handbook.takeKey(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // The handbook outlives the Workbench by a moment.
    handbook.onActivated(nullptr);
    return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand)
{
    // No library loaded by a bare name comes from the current directory. The rest of the search
    // order stays as Windows has it: the input method loads its own libraries into this process
    // and may rely on it. hvmrk.dll is loaded by its full path.
    SetDllDirectoryW(L"");
    INITCOMMONCONTROLSEX controls { sizeof controls,
        ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES };
    InitCommonControlsEx(&controls);
    try {
        return runProgram(showCommand);
    } catch (...) {
        kpx::win32::reportException();
        return 1;
    }
}
