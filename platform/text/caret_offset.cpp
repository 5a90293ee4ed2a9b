// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/text/caret_offset.h"

#include "platform/text/big5_tables.h"

namespace kpx {
namespace {

// A run of UTF-16 units that stands for a whole number of Big5 bytes: one character, one line
// break, or one escape. A caret inside a run (between CR and LF, or between the halves of an
// escape) belongs to the run's start.
struct Run {
    std::size_t units;
    int bytes;
};

Run runAt(std::u16string_view text, std::size_t i, const detail::Big5Tables &tables)
{
    const char16_t unit = text[i];
    const bool hasNext = i + 1 < text.size();
    switch (unit) {
    case u'\r':
        return { hasNext && text[i + 1] == u'\n' ? 2u : 1u, 2 };
    case u'\n':
    case u'\u2029':
        return { 1, 2 };
    default:
        break;
    }
    if (hasNext && detail::isEscapePair(unit, text[i + 1]))
        return { 2, 1 };
    // A character without a Big5 form cannot be saved; it counts as the one "?" byte that the
    // system would put in its place, per UTF-16 unit.
    const int length = detail::big5Length(tables, unit);
    return { 1, length == 0 ? 1 : length };
}

} // namespace

std::int64_t caretOffsetFromPosition(std::u16string_view text, std::size_t position)
{
    const detail::Big5Tables &tables = detail::big5Tables();
    const std::size_t end = position < text.size() ? position : text.size();
    std::int64_t offset = 0;
    std::size_t i = 0;
    while (i < end) {
        const Run run = runAt(text, i, tables);
        if (i + run.units > end)
            break;
        offset += run.bytes;
        i += run.units;
    }
    return offset;
}

std::size_t positionFromCaretOffset(std::u16string_view text, std::int64_t offset)
{
    if (offset <= 0)
        return 0;
    const detail::Big5Tables &tables = detail::big5Tables();
    std::int64_t reached = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const Run run = runAt(text, i, tables);
        if (reached + run.bytes > offset)
            break;
        reached += run.bytes;
        i += run.units;
    }
    return i;
}

} // namespace kpx
