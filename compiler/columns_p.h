// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>

#include "io/growth.h"

namespace kpx {

// The columns of one line: pointers to the first byte of each column inside the line buffer.
using ColumnList = GrowableArray<char *>;

// Whitespace is exactly the space and the tab; a full-width space is part of a column.
constexpr bool isColumnSeparator(char byte)
{
    return byte == ' ' || byte == '\t';
}

// Splits line in place into at most maxColumns columns: CR and LF bytes become replacement, a
// zero byte is written behind every column but the last, and the last column keeps the rest of
// the line. Returns the number of columns, 0 for a blank line; -1 when memory ran out.
std::int32_t splitColumns(ColumnList &columns, char *line, std::int32_t maxColumns, char replacement);

} // namespace kpx
