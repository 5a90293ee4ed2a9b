// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/program_windows.h"

#include "dialogs/aboutbox1.h"
#include "dialogs/mm_dirty_warning1.h"
#include "dialogs/okmes1.h"
#include "dialogs/sc_cheh1.h"
#include "mainwindow/form1.h"

namespace kpx {

ProgramWindows::ProgramWindows()
    : Form1(std::make_unique<TForm1>())
    , SCCheh1(std::make_unique<TSCCheh1>())
    , aboutbox1(std::make_unique<Taboutbox1>())
    , mmDirtyWarning1(std::make_unique<TmmDirtyWarning1>())
    , okmes1(std::make_unique<Tokmes1>())
{
    // The program ends when the main window closes, even with the handbook still open.
    SCCheh1->setAttribute(Qt::WA_QuitOnClose, false);
    Form1->attachWindows(SCCheh1.get(), aboutbox1.get(), mmDirtyWarning1.get(), okmes1.get());
}

ProgramWindows::~ProgramWindows()
{
    // The main window goes first, as it was made first.
    Form1.reset();
    SCCheh1.reset();
    aboutbox1.reset();
    mmDirtyWarning1.reset();
    okmes1.reset();
}

} // namespace kpx
