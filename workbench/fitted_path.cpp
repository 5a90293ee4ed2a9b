// SPDX-License-Identifier: GPL-2.0-or-later
#include "workbench/fitted_path.h"

namespace kpx {
namespace {

constexpr std::u16string_view kEllipsis = u"…";

bool isHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The directory with only kept of its units left, the start getting the odd one, never
// splitting a surrogate pair; then the file name (with its separator).
std::u16string shortened(std::u16string_view directory, std::u16string_view name, std::size_t kept)
{
    std::size_t head = (kept + 1) / 2;
    std::size_t tail = kept - head;
    if (head > 0 && isHighSurrogate(directory[head - 1]))
        --head;
    if (tail > 0 && isLowSurrogate(directory[directory.size() - tail]))
        --tail;
    std::u16string text;
    text.reserve(head + kEllipsis.size() + tail + name.size());
    text += directory.substr(0, head);
    text += kEllipsis;
    text += directory.substr(directory.size() - tail);
    text += name;
    return text;
}

} // namespace

std::u16string fittedPath(std::u16string_view path, int width, const TextWidth &textWidth)
{
    if (textWidth(path) <= width)
        return std::u16string(path);
    const std::size_t separator = path.find_last_of(u"\\/");
    if (separator == std::u16string_view::npos || separator == 0)
        return std::u16string(path);
    const std::u16string_view directory = path.substr(0, separator);
    const std::u16string_view name = path.substr(separator);
    // The most units of the directory that still fit; fewer units never draw wider.
    std::size_t lo = 0;
    std::size_t hi = directory.size() - 1;
    while (lo < hi) {
        const std::size_t mid = (lo + hi + 1) / 2;
        if (textWidth(shortened(directory, name, mid)) <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    return shortened(directory, name, lo);
}

} // namespace kpx
