// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// The lexicon table (.zd) that the input method loads; see table-format.md beside this file.
// Little-endian throughout, no padding.
namespace kpx::zd {

inline constexpr std::uint32_t kHeaderRecordSize = 24; // offset 0
inline constexpr std::size_t kTagOffset = 4; // 4 bytes
inline constexpr std::uint16_t kFixedField8 = 2; // offset 8, 16 bits
inline constexpr std::uint16_t kFixedField10 = 1; // offset 10, 16 bits
inline constexpr std::size_t kCountOffset = 12;
inline constexpr std::size_t kBodySizeOffset = 16;
inline constexpr std::uint32_t kFixedField20 = 1; // offset 20
inline constexpr std::uint32_t kFixedField24 = 0; // offset 24
inline constexpr std::size_t kSecondBodySizeOffset = 28;
inline constexpr std::size_t kHeaderSize = 32; // the records start here
inline constexpr std::size_t kTagSize = 4;

inline void putUint16(unsigned char *at, std::uint16_t value)
{
    at[0] = static_cast<unsigned char>(value & 0xFF);
    at[1] = static_cast<unsigned char>(value >> 8);
}

inline void putUint32(unsigned char *at, std::uint32_t value)
{
    for (int byte = 0; byte < 4; ++byte)
        at[byte] = static_cast<unsigned char>((value >> (8 * byte)) & 0xFF);
}

inline std::uint32_t getUint32(const unsigned char *at)
{
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8
        | static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

inline std::uint16_t getUint16(const unsigned char *at)
{
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

} // namespace kpx::zd
