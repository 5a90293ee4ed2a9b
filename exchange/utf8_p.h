// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text/big5_tables.h"

namespace kpx::exchange_detail {

// One UTF-8 character at text[at]: its length (0 when the bytes there are no valid UTF-8: a
// stray continuation byte, an overlong form, a surrogate, beyond U+10FFFF, cut off) and code.
inline std::size_t decodeUtf8(std::string_view text, std::size_t at, char32_t &code)
{
    const auto *p = reinterpret_cast<const unsigned char *>(text.data()) + at;
    const std::size_t left = text.size() - at;
    const unsigned char first = p[0];
    if (first < 0x80) {
        code = first;
        return 1;
    }
    std::size_t length;
    char32_t value;
    char32_t least;
    if (first >= 0xC2 && first <= 0xDF) {
        length = 2;
        value = first & 0x1F;
        least = 0x80;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3;
        value = first & 0x0F;
        least = 0x800;
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4;
        value = first & 0x07;
        least = 0x10000;
    } else {
        return 0;
    }
    if (left < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        value = value << 6 | (p[i] & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    code = value;
    return length;
}

inline void appendUtf8(std::string &out, char32_t code)
{
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | code >> 6));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | code >> 12));
        out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | code >> 18));
        out.push_back(static_cast<char>(0x80 | (code >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// Appends the UTF-8 form of Big5 bytes. False (out then holds part of it) when the bytes are
// not Big5 text: a byte that is no character of its own, or a two-byte code without one that
// encodes back to the same bytes. Written through a pointer into room made once: this runs for
// every word of a million-word export.
inline bool appendBig5AsUtf8(std::string &out, std::string_view big5, const detail::Big5Tables &tables)
{
    const std::size_t start = out.size();
    // At most three UTF-8 bytes for a two-byte code or a lone byte of 0x80 and up.
    out.resize(start + big5.size() * 3);
    char *w = out.data() + start;
    const auto *p = reinterpret_cast<const unsigned char *>(big5.data());
    const auto *const end = p + big5.size();
    bool ok = true;
    while (p != end) {
        const unsigned char byte = *p;
        if (byte < 0x80) {
            *w++ = static_cast<char>(byte);
            ++p;
            continue;
        }
        char16_t unit = 0;
        if (detail::isLeadByte(byte) && end - p >= 2 && (unit = tables.pairUnit[byte << 8 | p[1]]) != 0) {
            p += 2;
        } else if ((unit = tables.byteUnit[byte]) != 0) {
            ++p;
        } else {
            ok = false;
            break;
        }
        if (unit < 0x800) {
            *w++ = static_cast<char>(0xC0 | unit >> 6);
            *w++ = static_cast<char>(0x80 | (unit & 0x3F));
        } else {
            *w++ = static_cast<char>(0xE0 | unit >> 12);
            *w++ = static_cast<char>(0x80 | (unit >> 6 & 0x3F));
            *w++ = static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    out.resize(static_cast<std::size_t>(w - out.data()));
    return ok;
}

// One Big5 code as its bytes: a lead and a trail byte, or one byte below 0x100.
inline void appendBig5Code(std::string &out, std::uint16_t big5)
{
    if (big5 >= 0x100)
        out.push_back(static_cast<char>(big5 >> 8));
    out.push_back(static_cast<char>(big5 & 0xFF));
}

// Appends the Big5 form of UTF-8 text. On failure returns false with the offending character
// in code (a code of 0xFFFFFFFF: the text is not valid UTF-8).
inline bool appendUtf8AsBig5(std::string &out, std::string_view utf8, const detail::Big5Tables &tables, char32_t &code)
{
    std::size_t at = 0;
    while (at < utf8.size()) {
        const unsigned char byte = static_cast<unsigned char>(utf8[at]);
        if (byte < 0x80) {
            out.push_back(static_cast<char>(byte));
            ++at;
            continue;
        }
        const std::size_t length = decodeUtf8(utf8, at, code);
        if (length == 0) {
            code = 0xFFFFFFFF;
            return false;
        }
        const std::uint16_t big5 = code < 0x10000 ? tables.codeOfUnit[code] : 0;
        if (big5 == 0)
            return false;
        appendBig5Code(out, big5);
        at += length;
    }
    return true;
}

} // namespace kpx::exchange_detail
