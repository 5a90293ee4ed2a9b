// SPDX-License-Identifier: GPL-2.0-or-later
// kpx-win32-responsive-check: the main window is never "Not Responding" during a long table
// run. The real window switches to slot 2 (whose data file the test gives, one include line of a
// large file) and makes its table while a helper thread asks the system every 100 ms whether
// the window is hung (IsHungAppWindow: no look at the message queue for 5 seconds). Prints the
// run's length and what was seen; exits 0 when the window was never hung, 1 when it was, and 2
// when the run was too short to tell.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/input_method_library.h"
#include "platform/native_path.h"
#include "win32/aboutbox1.h"
#include "win32/form1.h"
#include "win32/mm_dirty_warning1.h"
#include "win32/okmes1.h"
#include "win32/sc_cheh1.h"
#include "workbench/workbench.h"
#include <commctrl.h>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX controls { sizeof controls, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_TAB_CLASSES };
    InitCommonControlsEx(&controls);
    using namespace kpx::win32;
    TSCCheh1 handbook;
    Taboutbox1 aboutBox;
    TmmDirtyWarning1 dirtyWarning;
    Tokmes1 notice;
    TForm1 form1(handbook, aboutBox, dirtyWarning, notice);
    kpx::Workbench workbench(form1, kpx::os::systemDriveLetter(), kpx::InputMethodLibrary());
    form1.attach(workbench);
    form1.showFirst(SW_SHOW);
    MSG message;
    for (int i = 0; i < 20; ++i) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(25);
    }
    workbench.SwitchSlot(2);

    std::atomic<bool> running { true };
    std::atomic<int> hungSeen { 0 };
    HWND window = form1.handle();
    std::thread watcher([&] {
        while (running) {
            if (IsHungAppWindow(window))
                ++hungSeen;
            Sleep(100);
        }
    });
    const auto start = std::chrono::steady_clock::now();
    workbench.Jejok(false);
    const auto milliseconds
        = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    running = false;
    watcher.join();
    std::printf("table run %lld ms, hung %d times\n", static_cast<long long>(milliseconds), hungSeen.load());
    std::fflush(stdout);
    if (hungSeen > 0)
        return 1;
    // The system calls a window hung only after 5 seconds without a look at its queue.
    return milliseconds > 5500 ? 0 : 2;
}
