// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The boundary between the editor's Unicode text and the Big5 bytes of every file the program
// reads and writes. Decoding follows Windows code page 950. Bytes that code page 950 does not
// map, or maps to a character that encodes back to other bytes, become private escape
// characters (one plane-15 private-use code point per byte, U+F0000 + byte) that encode back to
// exactly those bytes, so that encode(decode(b)) == b for every byte string b.
namespace kpx {

inline constexpr char32_t kBig5EscapeBase = 0xF0000;

// UTF-16 text for Big5 bytes. Never fails.
std::u16string decodeBig5(std::string_view bytes);

// The two steps of decodeBig5 for callers that keep the text in storage of their own (a QString,
// say), so that a file of many megabytes is decoded once, straight into its final place.
// decodedBig5Length is the number of UTF-16 units decodeBig5Into writes for the same bytes.
std::size_t decodedBig5Length(std::string_view bytes);
// Writes the UTF-16 text for bytes to out, which must hold decodedBig5Length(bytes) units;
// returns the number of units written.
std::size_t decodeBig5Into(std::string_view bytes, char16_t *out);

struct Big5EncodeResult {
    std::string bytes; // the Big5 bytes; complete only when ok()
    std::size_t badPosition = 0; // UTF-16 index of the first character without a Big5 form
    bool ok() const { return badPosition == npos; }
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
};

// Big5 bytes for UTF-16 text. A character that has no Big5 form (and is no escape) stops the
// conversion: badPosition names its index, and the bytes must not be written anywhere.
// Only the escapes of the bytes 0x80 to 0xFF (U+F0080 to U+F00FF) are escapes: no other byte is
// ever written as one, and any other plane-15 code point is a character without a Big5 form.
Big5EncodeResult encodeBig5(std::u16string_view text);

// The same for the text of an editor, whose lines may be separated by CR LF, a lone CR, a lone
// LF or U+2029: every line break becomes CR LF, and badPosition is an index into text.
Big5EncodeResult encodeBig5Lines(std::u16string_view text);

// A character of a text: where it starts, its UTF-16 units (two for one beyond the BMP written
// as a surrogate pair, one for a lone surrogate) and its code point.
struct TextCharacter {
    std::size_t position = 0;
    std::size_t units = 0;
    char32_t codePoint = 0;
};
// The first character without a Big5 form that an encoding stopped at (its badPosition); units is
// 0 when the encoding did not stop.
TextCharacter characterWithoutBig5(std::u16string_view text, const Big5EncodeResult &encoded);

} // namespace kpx
