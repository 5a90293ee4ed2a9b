// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Finding text and lines in the editor's text (UTF-16, lines broken by CR LF, CR, LF or U+2029,
// as a face hands it over).
namespace kpx {

struct FindOutcome {
    bool found = false;
    std::size_t position = 0; // where the match found starts
    std::size_t length = 0;
    std::size_t index = 0; // from 1, among the matches of the whole text in text order
    std::size_t count = 0; // matches in the whole text
    bool wrapped = false; // the search went past one end of the text and on from the other
};

// The next match of needle from position from: forwards the first one that starts at from or
// later, backwards the last one that starts before from; when there is none that way, the one
// nearest the other end. ASCII letters match in either case, every other character only
// itself. Matches are taken from the start of the text and do not overlap.
FindOutcome findText(std::u16string_view text, std::u16string_view needle, std::size_t from, bool forwards);

// Lines of text: a break at the very end begins no further line, an empty text has none.
std::int64_t textLineCount(std::u16string_view text);
// Where line (from 1) begins; a line past the last gives the last line's start.
std::size_t lineStartPosition(std::u16string_view text, std::int64_t line);
// The line (from 1) that position lies on.
std::int64_t lineAtPosition(std::u16string_view text, std::size_t position);

} // namespace kpx
