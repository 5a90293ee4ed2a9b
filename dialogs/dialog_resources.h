// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QIcon>
#include <QString>

// The program icon lives in the Qt resource ":/kpx". The library registers it on first use,
// so a program linking it statically needs no Q_INIT_RESOURCE of its own.
void initDialogResources();

// The program's icon in all its sizes, also for the main window and the application.
QIcon programIcon();

// Resource path of the 64 x 64 program icon.
inline constexpr char kProgramIconPath[] = ":/kpx/icons/kpxv410.png";
