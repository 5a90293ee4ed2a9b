// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

// Texts that more than one part of the program shows.
namespace kpx {

// The program's name, in the task bar and on the error boxes.
inline QString programTitle() { return QStringLiteral(u"對照表 製作程式"); }

// The first line of the state file.
inline constexpr char kStateFileHeader[] =
    "//kpxv4.ini, unless you know what you are doing, don't change this file, but deleting this file is alright";

} // namespace kpx
