// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <memory>

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

    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<TSCCheh1> SCCheh1;
    std::unique_ptr<Taboutbox1> aboutbox1;
    std::unique_ptr<TmmDirtyWarning1> mmDirtyWarning1;
    std::unique_ptr<Tokmes1> okmes1;
};

} // namespace kpx
