// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "compiler/table_order.h"

// The 30 slots: three rows (ty, py, ib) of ten, each a fixed data file and table file in the
// program's directory on the system drive. Paths are in the program's own (Windows) form; see
// kpx::os::nativePath for the file system's form.
namespace kpx {

inline constexpr std::int32_t kFirstSlot = 1;
inline constexpr std::int32_t kLastSlot = 30;

// Slot numbers outside 1 to 30 (only a hand-edited state file has them) count as slot 1.
std::int32_t validSlot(std::int32_t slot);

std::string DataFileName(std::int32_t slot, char driveLetter); // "C:\vokelu\kpx-ty1.txt"
std::string TableFileName(std::int32_t slot, char driveLetter); // "C:\vokelu\kpx-ty1.zd"
TableOrder SlotOrder(std::int32_t slot); // slots 1-10 ty, 11-20 py, 21-30 ib
char OrderDigit(std::int32_t slot); // '1', '2' or '3'
std::string TableId(std::int32_t slot); // "dty", "dpy" or "dib"
// Number of the slot's button (SpeedButton<N>): the slot for 2 to 30, else 1.
std::int32_t SlotButton(std::int32_t slot);
// "C:\vokelu\kpxv4.ini"
std::string StateFileName(char driveLetter);

} // namespace kpx
