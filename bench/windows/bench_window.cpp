// SPDX-License-Identifier: GPL-2.0-or-later
// kpx-bench-window RESULTFILE
//
// The real main window on the data file of slot 2 (C:\vokelu\kpx-ty2.txt): after the window has
// come up on slot 1, times the switch to slot 2 (read, decode, the editor's SetWindowTextW,
// status bar), painting included, and then a table run without notice. Writes "load_ms N" and
// "make_ms N" to RESULTFILE, and the process's peak private memory in bytes before the load
// ("base_peak N"), after it ("load_peak N") and after the table run ("make_peak N"). Nothing is
// saved and no state file is written.
#include <chrono>
#include <cstdio>

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
// After windows.h, which it needs.
#include <psapi.h>

namespace {

void pumpUntilIdle()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

unsigned long long peakPrivateBytes()
{
    PROCESS_MEMORY_COUNTERS counters {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return counters.PeakPagefileUsage;
}

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    if (__argc < 2)
        return 2;
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
    // The first activation loads slot 1; let it settle.
    for (int i = 0; i < 20; ++i) {
        pumpUntilIdle();
        Sleep(25);
    }

    const unsigned long long basePeak = peakPrivateBytes();
    auto start = std::chrono::steady_clock::now();
    workbench.SwitchSlot(2);
    UpdateWindow(form1.handle());
    const double load = millisecondsSince(start);
    const unsigned long long loadPeak = peakPrivateBytes();

    start = std::chrono::steady_clock::now();
    workbench.Jejok(false);
    const double make = millisecondsSince(start);
    const unsigned long long makePeak = peakPrivateBytes();

    if (std::FILE *result = std::fopen(__argv[1], "w")) {
        std::fprintf(result, "load_ms %.1f\nmake_ms %.1f\nbase_peak %llu\nload_peak %llu\nmake_peak %llu\n", load, make,
            basePeak, loadPeak, makePeak);
        std::fclose(result);
    }
    return 0;
}
