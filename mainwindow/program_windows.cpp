// SPDX-License-Identifier: GPL-2.0-or-later
#include "program_windows.h"

#include "aboutbox1.h"
#include "form1.h"
#include "mm_dirty_warning1.h"
#include "okmes1.h"
#include "sc_cheh1.h"

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
