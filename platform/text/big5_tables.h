// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <span>

// The code page 950 tables behind the Big5 codec and the caret offsets. They are asked of the
// system's own converter once, code by code, so that this program reads and writes exactly what
// the system's code page 950 does, and so that every conversion afterwards is a table lookup.
namespace kpx::detail {

inline constexpr char16_t kEscapeHigh = 0xDB80; // high surrogate of U+F0000 to U+F03FF
inline constexpr char16_t kEscapeLowFirst = 0xDC80; // low surrogate of U+F0080 (byte 0x80)
inline constexpr char16_t kEscapeLowLast = 0xDCFF; // low surrogate of U+F00FF (byte 0xFF)

constexpr bool isLeadByte(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}
constexpr bool isTrailByte(unsigned char byte)
{
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0xA1 && byte <= 0xFE);
}
constexpr bool isEscapePair(char16_t high, char16_t low)
{
    return high == kEscapeHigh && low >= kEscapeLowFirst && low <= kEscapeLowLast;
}

struct Big5Tables {
    // The character of each two-byte code (lead << 8 | trail) that round-trips; 0 for the rest.
    std::array<char16_t, 0x10000> pairUnit {};
    // The character of each byte 0x80 to 0xFF that stands alone and round-trips (code page 950
    // has two: 0x80 and 0xFF); 0 for the rest. Bytes below 0x80 are ASCII and not looked up.
    std::array<char16_t, 0x100> byteUnit {};
    // The Big5 form of each UTF-16 unit from 0x80 up: a value below 0x100 is one byte, a larger
    // one a two-byte code; 0 means the unit has none. Units below 0x80 are ASCII.
    std::array<std::uint16_t, 0x10000> codeOfUnit {};
};

// Built on first use; safe to call from any thread.
const Big5Tables &big5Tables();

// The Big5 bytes of a UTF-16 unit (BMP character) other than a line break or an escape half:
// 1 for ASCII and the single-byte characters, 2 for double-byte ones, 0 for none.
inline int big5Length(const Big5Tables &tables, char16_t unit)
{
    if (unit < 0x80)
        return 1;
    const std::uint16_t code = tables.codeOfUnit[unit];
    return code == 0 ? 0 : (code < 0x100 ? 1 : 2);
}

// One function per platform. For each code (a two-byte code as lead << 8 | trail, or one byte
// 0x80 to 0xFF as its value), units receives the single UTF-16 unit that the system's code page
// 950 decodes it to, when that unit encodes back to exactly the same bytes; 0 otherwise.
void probeCodePage950(std::span<const std::uint16_t> codes, std::span<char16_t> units);

} // namespace kpx::detail
