// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/text/big5_codec.h"

#include <memory>
#include <vector>

#include "platform/text/big5_tables.h"

namespace kpx {
namespace detail {
namespace {

std::unique_ptr<const Big5Tables> buildTables()
{
    // Every code the system is asked about: the two single bytes that are neither ASCII nor a
    // lead byte, then all 19,782 two-byte codes.
    std::vector<std::uint16_t> codes { 0x80, 0xFF };
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (isTrailByte(static_cast<unsigned char>(trail)))
                codes.push_back(static_cast<std::uint16_t>(lead << 8 | trail));
        }
    }
    std::vector<char16_t> units(codes.size());
    probeCodePage950(codes, units);

    // Held on the heap: the tables are a quarter of a megabyte, too much for a Windows stack.
    auto tables = std::make_unique<Big5Tables>();
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const char16_t unit = units[i];
        const std::uint16_t code = codes[i];
        // ASCII stays ASCII, and no surrogate may stand for a code of its own; a second code for
        // the same character cannot round-trip, but is refused here rather than trusted.
        if (unit < 0x80 || (unit >= 0xD800 && unit <= 0xDFFF) || tables->codeOfUnit[unit] != 0)
            continue;
        if (code < 0x100)
            tables->byteUnit[code] = unit;
        else
            tables->pairUnit[code] = unit;
        tables->codeOfUnit[unit] = code;
    }
    return tables;
}

} // namespace

const Big5Tables &big5Tables()
{
    static const std::unique_ptr<const Big5Tables> tables = buildTables();
    return *tables;
}

} // namespace detail

namespace {

using detail::Big5Tables;

// Counts the units of the decoded text without writing them.
struct CountingSink {
    std::size_t count = 0;
    void put(char16_t) { ++count; }
};

struct WritingSink {
    char16_t *out;
    char16_t *const begin;
    void put(char16_t unit) { *out++ = unit; }
};

template <typename Sink> void putEscape(Sink &sink, unsigned char byte)
{
    sink.put(detail::kEscapeHigh);
    sink.put(static_cast<char16_t>(0xDC00 + byte));
}

// The one decoding loop behind both passes. A byte below 0x80 is always its ASCII character
// unless it is the trail of a two-byte code that round-trips, so escapes are only ever needed
// for bytes 0x80 to 0xFF. A lead byte and a trail byte from 0xA1 up form one two-byte code even
// when that code does not round-trip (both bytes are escaped then), as the system reads them;
// a lead byte followed by anything else is escaped alone and the next byte read on its own.
template <typename Sink> void decodeWith(std::string_view bytes, const Big5Tables &tables, Sink &sink)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *const end = p + bytes.size();
    while (p != end) {
        const unsigned char byte = *p;
        if (byte < 0x80) {
            sink.put(byte);
            ++p;
            continue;
        }
        if (detail::isLeadByte(byte) && end - p >= 2) {
            const unsigned char trail = p[1];
            if (const char16_t unit = tables.pairUnit[byte << 8 | trail]) {
                sink.put(unit);
                p += 2;
                continue;
            }
            putEscape(sink, byte);
            if (trail >= 0xA1 && trail <= 0xFE) {
                putEscape(sink, trail);
                p += 2;
            } else {
                ++p;
            }
            continue;
        }
        if (const char16_t unit = tables.byteUnit[byte])
            sink.put(unit);
        else
            putEscape(sink, byte);
        ++p;
    }
}

} // namespace

std::size_t decodedBig5Length(std::string_view bytes)
{
    CountingSink sink;
    decodeWith(bytes, detail::big5Tables(), sink);
    return sink.count;
}

std::size_t decodeBig5Into(std::string_view bytes, char16_t *out)
{
    WritingSink sink { out, out };
    decodeWith(bytes, detail::big5Tables(), sink);
    return static_cast<std::size_t>(sink.out - sink.begin);
}

std::u16string decodeBig5(std::string_view bytes)
{
    std::u16string text(decodedBig5Length(bytes), u'\0');
    decodeBig5Into(bytes, text.data());
    return text;
}

namespace {

// The one encoding loop behind encodeBig5 and encodeBig5Lines.
template <bool kLines> Big5EncodeResult encodeWith(std::u16string_view text)
{
    const Big5Tables &tables = detail::big5Tables();
    Big5EncodeResult result;
    // Never more than two bytes per unit; sized once and cut to length at the end.
    result.bytes.resize(text.size() * 2);
    char *out = result.bytes.data();
    const std::size_t size = text.size();
    for (std::size_t i = 0; i < size; ++i) {
        const char16_t unit = text[i];
        if constexpr (kLines) {
            if (unit == u'\r' || unit == u'\n' || unit == u'\u2029') {
                if (unit == u'\r' && i + 1 < size && text[i + 1] == u'\n')
                    ++i;
                *out++ = '\r';
                *out++ = '\n';
                continue;
            }
        }
        if (unit < 0x80) {
            *out++ = static_cast<char>(unit);
            continue;
        }
        if (i + 1 < size && detail::isEscapePair(unit, text[i + 1])) {
            *out++ = static_cast<char>(text[i + 1] - 0xDC00);
            ++i;
            continue;
        }
        const std::uint16_t code = tables.codeOfUnit[unit];
        if (code == 0) {
            result.bytes.resize(static_cast<std::size_t>(out - result.bytes.data()));
            result.badPosition = i;
            return result;
        }
        if (code >= 0x100)
            *out++ = static_cast<char>(code >> 8);
        *out++ = static_cast<char>(code & 0xFF);
    }
    result.bytes.resize(static_cast<std::size_t>(out - result.bytes.data()));
    result.badPosition = Big5EncodeResult::npos;
    return result;
}

} // namespace

Big5EncodeResult encodeBig5(std::u16string_view text)
{
    return encodeWith<false>(text);
}

Big5EncodeResult encodeBig5Lines(std::u16string_view text)
{
    return encodeWith<true>(text);
}

TextCharacter characterWithoutBig5(std::u16string_view text, const Big5EncodeResult &encoded)
{
    TextCharacter character;
    const std::size_t position = encoded.badPosition;
    if (encoded.ok() || position >= text.size())
        return character;
    const char16_t unit = text[position];
    character.position = position;
    character.units = 1;
    character.codePoint = unit;
    if (unit >= 0xD800 && unit <= 0xDBFF && position + 1 < text.size()) {
        const char16_t low = text[position + 1];
        if (low >= 0xDC00 && low <= 0xDFFF) {
            character.units = 2;
            character.codePoint = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    return character;
}

} // namespace kpx
