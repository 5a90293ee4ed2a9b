// SPDX-License-Identifier: GPL-2.0-or-later
#include "compiler/columns_p.h"

namespace kpx {

std::int32_t splitColumns(ColumnList &columns, char *line, std::int32_t maxColumns, char replacement)
{
    for (char *byte = line; *byte; ++byte) {
        if (*byte == '\r' || *byte == '\n')
            *byte = replacement;
    }
    char *at = line;
    while (isColumnSeparator(*at))
        ++at;
    if (!*at)
        return 0;
    columns.empty();
    for (;;) {
        if (!columns.append(at))
            return -1;
        while (*at && !isColumnSeparator(*at))
            ++at;
        if (!*at || columns.count() == maxColumns)
            return columns.count();
        *at++ = 0;
        while (isColumnSeparator(*at))
            ++at;
        if (!*at)
            return columns.count();
    }
}

} // namespace kpx
