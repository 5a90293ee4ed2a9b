// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/program_windows.h"

#include "dialogs/aboutbox1.h"
#include "mainwindow/form1.h"
#include "dialogs/mm_dirty_warning1.h"
#include "dialogs/okmes1.h"
#include "dialogs/sc_cheh1.h"

namespace kpx {

ProgramWindows::ProgramWindows()
    : Form1(new TForm1)
    , SCCheh1(new TSCCheh1)
    , aboutbox1(new Taboutbox1)
    , mmDirtyWarning1(new TmmDirtyWarning1)
    , okmes1(new Tokmes1)
{
    // The program ends when the main window closes, even with the handbook still open.
    SCCheh1->setAttribute(Qt::WA_QuitOnClose, false);
    Form1->attachWindows(SCCheh1, aboutbox1, mmDirtyWarning1, okmes1);
}

ProgramWindows::~ProgramWindows()
{
    delete Form1;
    delete SCCheh1;
    delete aboutbox1;
    delete mmDirtyWarning1;
    delete okmes1;
}

} // namespace kpx
