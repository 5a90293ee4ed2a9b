// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <string>

// Numbers in the keyed store are decimal text: written with "%d", read back by the usual
// decimal conversion.
namespace kpx {

// Leading white space skipped, an optional sign, then decimal digits up to the first other
// byte. No digits (or a null text) gives 0. A value beyond the 32-bit range is held at the
// nearest end of the range, since a hand-edited file may hold anything.
std::int32_t storedNumber(const char *text);

// The number as "%d" writes it.
std::string storedNumberText(std::int32_t number);

} // namespace kpx
