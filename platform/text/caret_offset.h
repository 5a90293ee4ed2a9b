// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The state file keeps the caret as an offset in bytes of the editor's Big5 text from its start,
// each line break counting two (CR LF). The editor counts UTF-16 units, with "\n" or "\r\n" or
// "\r" (QPlainTextEdit uses U+2029 paragraph separators in its plain text) as one break.
namespace kpx {

// Byte offset of the UTF-16 position within text. Positions past the end give the text's size.
// A position between the CR and LF of one break, or between the two halves of an escape
// character (which stands for one byte), gives the offset before it. A character without a
// Big5 form counts one byte per UTF-16 unit, as the "?" the system would write for it.
std::int64_t caretOffsetFromPosition(std::u16string_view text, std::size_t position);

// The UTF-16 position for a byte offset; an offset inside a double-byte character or a line
// break gives the position before it, offsets past the end give the text's length, negative
// offsets give 0.
std::size_t positionFromCaretOffset(std::u16string_view text, std::int64_t offset);

} // namespace kpx
