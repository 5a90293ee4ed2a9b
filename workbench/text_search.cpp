// SPDX-License-Identifier: GPL-2.0-or-later
#include "workbench/text_search.h"

#include <vector>

namespace kpx {
namespace {

char16_t foldAscii(char16_t unit)
{
    return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit - u'A' + u'a') : unit;
}

bool matchesAt(std::u16string_view text, std::size_t at, std::u16string_view needle)
{
    for (std::size_t i = 0; i < needle.size(); ++i) {
        if (foldAscii(text[at + i]) != foldAscii(needle[i]))
            return false;
    }
    return true;
}

// Length of the line break at text[at] (CR LF is one break), 0 when there is none.
std::size_t lineBreakAt(std::u16string_view text, std::size_t at)
{
    const char16_t unit = text[at];
    if (unit == u'\r')
        return at + 1 < text.size() && text[at + 1] == u'\n' ? 2 : 1;
    return unit == u'\n' || unit == u'\u2029' ? 1 : 0;
}

} // namespace

FindOutcome findText(std::u16string_view text, std::u16string_view needle, std::size_t from, bool forwards)
{
    FindOutcome outcome;
    if (needle.empty() || needle.size() > text.size())
        return outcome;
    std::vector<std::size_t> matches;
    const char16_t first = foldAscii(needle[0]);
    for (std::size_t at = 0; at + needle.size() <= text.size();) {
        if (foldAscii(text[at]) == first && matchesAt(text, at, needle)) {
            matches.push_back(at);
            at += needle.size();
        } else {
            ++at;
        }
    }
    if (matches.empty())
        return outcome;
    std::size_t chosen = 0;
    if (forwards) {
        while (chosen < matches.size() && matches[chosen] < from)
            ++chosen;
        if (chosen == matches.size()) {
            chosen = 0;
            outcome.wrapped = true;
        }
    } else {
        chosen = matches.size();
        while (chosen > 0 && matches[chosen - 1] >= from)
            --chosen;
        if (chosen == 0) {
            chosen = matches.size();
            outcome.wrapped = true;
        }
        --chosen;
    }
    outcome.found = true;
    outcome.position = matches[chosen];
    outcome.length = needle.size();
    outcome.index = chosen + 1;
    outcome.count = matches.size();
    return outcome;
}

std::int64_t textLineCount(std::u16string_view text)
{
    std::int64_t lines = 0;
    std::size_t start = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = lineBreakAt(text, at);
        if (length == 0) {
            ++at;
            continue;
        }
        ++lines;
        at += length;
        start = at;
    }
    return start < text.size() ? lines + 1 : lines;
}

std::size_t lineStartPosition(std::u16string_view text, std::int64_t line)
{
    std::size_t start = 0;
    for (std::size_t at = 0; line > 1 && at < text.size();) {
        const std::size_t length = lineBreakAt(text, at);
        if (length == 0) {
            ++at;
            continue;
        }
        at += length;
        // A break at the very end begins no line to go to.
        if (at == text.size())
            break;
        start = at;
        --line;
    }
    return start;
}

std::int64_t lineAtPosition(std::u16string_view text, std::size_t position)
{
    std::int64_t line = 1;
    for (std::size_t at = 0; at < position && at < text.size();) {
        const std::size_t length = lineBreakAt(text, at);
        if (length != 0 && at + length <= position)
            ++line;
        at += length != 0 ? length : 1;
    }
    return line;
}

} // namespace kpx
