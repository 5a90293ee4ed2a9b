// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

class TForm1;
class TSCCheh1;
class Taboutbox1;
class TmmDirtyWarning1;
class Tokmes1;

namespace kpx {

// The program's five windows, created once, in this order, and kept until the program ends.
// Only the main window is shown; the others wait hidden until a command calls them.
class ProgramWindows {
public:
    ProgramWindows();
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows &) = delete;
    ProgramWindows &operator=(const ProgramWindows &) = delete;

    TForm1 *const Form1;
    TSCCheh1 *const SCCheh1;
    Taboutbox1 *const aboutbox1;
    TmmDirtyWarning1 *const mmDirtyWarning1;
    Tokmes1 *const okmes1;
};

} // namespace kpx
