// SPDX-License-Identifier: GPL-2.0-or-later
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/big5_codec.h"
#include <gtest/gtest.h>

namespace {

using kpx::Big5EncodeResult;
using kpx::decodeBig5;
using kpx::encodeBig5;

// The UTF-16 escape for one byte: U+F0000 + byte as a surrogate pair.
std::u16string escape(unsigned char byte)
{
    const char32_t cp = kpx::kBig5EscapeBase + byte;
    return { static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)),
        static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)) };
}

std::string bytesOf(std::initializer_list<unsigned> values)
{
    std::string s;
    for (unsigned v : values)
        s.push_back(static_cast<char>(v));
    return s;
}

std::string hex(std::string_view bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (unsigned char b : bytes) {
        s += digits[b >> 4];
        s += digits[b & 15];
        s += ' ';
    }
    return s;
}

::testing::AssertionResult roundTrips(std::string_view bytes)
{
    const std::u16string text = decodeBig5(bytes);
    if (text.size() != kpx::decodedBig5Length(bytes))
        return ::testing::AssertionFailure() << "length pass disagrees for " << hex(bytes);
    const Big5EncodeResult back = encodeBig5(text);
    if (!back.ok())
        return ::testing::AssertionFailure() << hex(bytes) << "decodes to text refused at " << back.badPosition;
    if (back.bytes != bytes)
        return ::testing::AssertionFailure() << hex(bytes) << "comes back as " << hex(back.bytes);
    return ::testing::AssertionSuccess();
}

bool isTrail(unsigned b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0xA1 && b <= 0xFE);
}

// The code page 950 codes that do not decode at all: A3C0 to A3FE except the euro sign A3E1.
std::vector<unsigned> undefinedCodes()
{
    std::vector<unsigned> codes;
    for (unsigned code = 0xA3C0; code <= 0xA3FE; ++code) {
        if (code != 0xA3E1)
            codes.push_back(code);
    }
    return codes;
}

// Codes whose character encodes back to another code (its unified twin).
const std::vector<unsigned> kNonRoundTripCodes
    = { 0xA2A4, 0xA2A5, 0xA2A6, 0xA2A7, 0xA2CC, 0xA2CE, 0xF9FA, 0xF9FB, 0xF9FC, 0xF9FD };

// --- Round trip over every short byte string ---

TEST(Big5RoundTrip, EverySingleByte)
{
    for (unsigned b = 0; b < 256; ++b)
        EXPECT_TRUE(roundTrips(bytesOf({ b })));
}

TEST(Big5RoundTrip, EveryTwoByteSequence)
{
    for (unsigned a = 0; a < 256; ++a) {
        for (unsigned b = 0; b < 256; ++b)
            ASSERT_TRUE(roundTrips(bytesOf({ a, b })));
    }
}

TEST(Big5RoundTrip, ThreeByteSequencesAroundLeadBytes)
{
    // Every pair followed by a byte of each kind: ASCII, trail of either range, a byte that
    // is neither, a lead byte that is left dangling at the end, 0xFF.
    const unsigned thirds[] = { 0x00, 0x0D, 0x40, 0x7E, 0x7F, 0x80, 0xA0, 0xA1, 0xA4, 0xFE, 0xFF };
    for (unsigned a = 0; a < 256; ++a) {
        for (unsigned b = 0; b < 256; ++b) {
            for (unsigned c : thirds)
                ASSERT_TRUE(roundTrips(bytesOf({ a, b, c })));
        }
    }
}

TEST(Big5RoundTrip, EscapedBytesNeverJoinTheirNeighbours)
{
    // An escape followed by a byte that would make a code with it must still come back as the
    // same separate bytes, and the decoder must stay in step after an undefined code.
    EXPECT_TRUE(roundTrips(bytesOf({ 0xA3, 0xC0, 0xA4, 0x40 })));
    EXPECT_TRUE(roundTrips(bytesOf({ 0xA4, 0xA4, 0xA4 })));
    EXPECT_TRUE(roundTrips(bytesOf({ 0x81, 0x81, 0x81, 0x40 })));
    EXPECT_TRUE(roundTrips(bytesOf({ 0xA2, 0xCC, 0xA4, 0x51, 0xA2, 0xCE })));
}

// --- What known bytes decode to ---

struct KnownDecoding {
    const char *name;
    std::string bytes;
    std::u16string text;
};

class Big5KnownDecoding : public ::testing::TestWithParam<KnownDecoding> { };

TEST_P(Big5KnownDecoding, DecodesAndEncodesBack)
{
    const KnownDecoding &c = GetParam();
    EXPECT_EQ(decodeBig5(c.bytes), c.text);
    const Big5EncodeResult back = encodeBig5(c.text);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.bytes, c.bytes);
}

INSTANTIATE_TEST_SUITE_P(Characters, Big5KnownDecoding,
    ::testing::Values(KnownDecoding { "Empty", "", u"" }, KnownDecoding { "Ascii", "tsu2 a=b\r\n~", u"tsu2 a=b\r\n~" },
        KnownDecoding { "NulAndControls", bytesOf({ 0x00, 0x01, 0x7F }), { u'\0', u'\x01', u'\x7F' } },
        KnownDecoding { "First", bytesOf({ 0xA4, 0x40 }), u"\u4E00" },
        KnownDecoding { "IdeographicSpace", bytesOf({ 0xA1, 0x40 }), u"\u3000" },
        KnownDecoding { "Zhongwen", bytesOf({ 0xA4, 0xA4, 0xA4, 0xE5 }), u"中文" },
        KnownDecoding { "TrailIsAsciiRange", bytesOf({ 0xA7, 0x41, 0x41 }), u"你A" },
        KnownDecoding { "Euro", bytesOf({ 0xA3, 0xE1 }), u"\u20AC" },
        KnownDecoding { "UnifiedTwinOfA2CC", bytesOf({ 0xA4, 0x51 }), u"\u5341" },
        KnownDecoding { "BoxDrawingOfF9F9", bytesOf({ 0xF9, 0xF9 }), u"\u2550" },
        KnownDecoding { "UserDefinedFA40", bytesOf({ 0xFA, 0x40 }), u"\uE000" },
        KnownDecoding { "UserDefined8140", bytesOf({ 0x81, 0x40 }), u"\uEEB8" },
        KnownDecoding { "Single80", bytesOf({ 0x80 }), u"\u0080" },
        KnownDecoding { "Mixed", bytesOf({ 'k', 'a', 0xA4, 0x40, '\r', '\n' }), u"ka\u4E00\r\n" }),
    [](const ::testing::TestParamInfo<KnownDecoding> &info) { return info.param.name; });

// --- Escapes ---

TEST(Big5Escapes, UndefinedCodesEscapeBothBytes)
{
    const std::vector<unsigned> codes = undefinedCodes();
    ASSERT_EQ(codes.size(), 62u);
    for (unsigned code : codes) {
        const std::string bytes = bytesOf({ code >> 8, code & 0xFF });
        EXPECT_EQ(decodeBig5(bytes), escape(code >> 8) + escape(code & 0xFF)) << std::hex << code;
    }
}

TEST(Big5Escapes, CodesThatEncodeToTheirTwinEscapeBothBytes)
{
    for (unsigned code : kNonRoundTripCodes) {
        const std::string bytes = bytesOf({ code >> 8, code & 0xFF });
        EXPECT_EQ(decodeBig5(bytes), escape(code >> 8) + escape(code & 0xFF)) << std::hex << code;
    }
}

TEST(Big5Escapes, CountsOverAllTwoByteCodes)
{
    // Code page 950 holds 19,782 two-byte code positions: 19,710 round-trip, 62 are undefined
    // and 10 encode back to another code. Any other count means another table is in use.
    int characters = 0;
    int escaped = 0;
    int privateUse = 0;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (!isTrail(trail))
                continue;
            const std::u16string text = decodeBig5(bytesOf({ lead, trail }));
            if (text.size() == 1) {
                ++characters;
                privateUse += text[0] >= 0xE000 && text[0] <= 0xF8FF;
            } else if (text == escape(lead) + escape(trail)) {
                ++escaped;
            } else {
                ADD_FAILURE() << std::hex << lead << trail << " decodes to something else";
            }
        }
    }
    EXPECT_EQ(characters, 19710);
    EXPECT_EQ(escaped, 72);
    EXPECT_EQ(privateUse, 6217);
}

struct EscapeCase {
    const char *name;
    std::string bytes;
    std::u16string text;
};

class Big5BrokenBytes : public ::testing::TestWithParam<EscapeCase> { };

TEST_P(Big5BrokenBytes, DecodeToEscapes)
{
    EXPECT_EQ(decodeBig5(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Bytes, Big5BrokenBytes,
    ::testing::Values(EscapeCase { "LeadAtEnd", bytesOf({ 'a', 0xA4 }), u"a\U000F00A4" },
        EscapeCase { "LeadBeforeAscii", bytesOf({ 0xA4, '0' }),
            u"\U000F00A4"
            u"0" },
        EscapeCase { "LeadBeforeLineBreak", bytesOf({ 0xA4, '\r', '\n' }), u"\U000F00A4\r\n" },
        EscapeCase { "LeadBefore80", bytesOf({ 0xA4, 0x80 }), u"\U000F00A4\u0080" },
        EscapeCase { "LeadBeforeA0StartsAgain", bytesOf({ 0xA4, 0xA0, 0x40 }), u"\U000F00A4\uEE1B" },
        EscapeCase { "UndefinedThenCharacter", bytesOf({ 0xA3, 0xC0, 0xA4, 0x40 }), u"\U000F00A3\U000F00C0\u4E00" }),
    [](const ::testing::TestParamInfo<EscapeCase> &info) { return info.param.name; });

TEST(Big5Escapes, SingleFFIsItsPrivateUseCharacterOrItsEscape)
{
    // ICU's windows-950 maps a lone 0xFF to U+F8F8; Wine's code page 950 refuses it. Either
    // way it stands alone: after a lead byte it is not taken as a trail.
    const std::u16string ff = decodeBig5(bytesOf({ 0xFF }));
    EXPECT_TRUE(ff == u"\uF8F8" || ff == escape(0xFF));
    EXPECT_EQ(decodeBig5(bytesOf({ 0xA4, 0xFF })), escape(0xA4) + ff);
#ifndef _WIN32
    EXPECT_EQ(ff, u"\uF8F8");
#endif
}

TEST(Big5Escapes, DecoderEscapesOnlyHighBytes)
{
    // Bytes below 0x80 are ASCII wherever they stand, so their escapes never appear.
    for (unsigned a = 0; a < 256; ++a) {
        for (unsigned b = 0; b < 0x80; ++b) {
            const std::u16string text = decodeBig5(bytesOf({ a, b }));
            EXPECT_EQ(text.find(escape(b)), std::u16string::npos) << std::hex << a << ' ' << b;
        }
    }
}

TEST(Big5Escapes, EveryHighByteEscapeEncodesToItsByte)
{
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        std::u16string text = u"x";
        text += escape(b);
        text += u'y';
        const Big5EncodeResult r = encodeBig5(text);
        ASSERT_TRUE(r.ok()) << std::hex << b;
        EXPECT_EQ(r.bytes, bytesOf({ 'x', b, 'y' }));
    }
}

// --- Characters without a Big5 form ---

struct Refusal {
    const char *name;
    std::u16string text;
    std::size_t badPosition;
    std::string bytesBefore;
};

class Big5Refusal : public ::testing::TestWithParam<Refusal> { };

TEST_P(Big5Refusal, StopsAtTheFirstCharacterWithoutBig5Form)
{
    const Refusal &c = GetParam();
    const Big5EncodeResult r = encodeBig5(c.text);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.badPosition, c.badPosition);
    EXPECT_EQ(r.bytes, c.bytesBefore);
}

INSTANTIATE_TEST_SUITE_P(Characters, Big5Refusal,
    ::testing::Values(Refusal { "Emoji", u"ab\U0001F600", 2, "ab" },
        Refusal { "EmojiAfterChinese", u"中\U0001F600中", 1, bytesOf({ 0xA4, 0xA4 }) },
        Refusal { "EAcute", u"caf\u00E9", 3, "caf" },
        Refusal { "LoneHighSurrogate",
            u"a\xD83D"
            u"b",
            1, "a" },
        Refusal { "LoneLowSurrogate", u"a\xDE00", 1, "a" }, Refusal { "EscapeHighHalfAtEnd", u"a\xDB80", 1, "a" },
        Refusal { "EscapeOfAsciiByte", u"a\U000F0041", 1, "a" },
        Refusal { "PlaneFifteenBeyondEscapes", u"a\U000F0100", 1, "a" }, Refusal { "SoftHyphen", u"a\u00ADb", 1, "a" },
        Refusal { "ZeroWidthSpace", u"\u200B", 0, "" }, Refusal { "ReplacementCharacter", u"\uFFFD", 0, "" },
        Refusal { "SecondOfTwo", u"一\u00E9\u00E9", 1, bytesOf({ 0xA4, 0x40 }) }),
    [](const ::testing::TestParamInfo<Refusal> &info) { return info.param.name; });

TEST(Big5Encode, EveryBmpCharacterWithAFormDecodesBack)
{
    // What the encoder accepts it writes in the form the decoder reads back as the same
    // character, so an edited text never changes on a save-and-reload.
    for (char32_t u = 0x80; u < 0x10000; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF)
            continue;
        const std::u16string one(1, static_cast<char16_t>(u));
        const Big5EncodeResult r = encodeBig5(one);
        if (!r.ok())
            continue;
        EXPECT_EQ(decodeBig5(r.bytes), one) << std::hex << static_cast<unsigned>(u);
    }
}

} // namespace
