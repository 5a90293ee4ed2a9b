// SPDX-License-Identifier: GPL-2.0-or-later
#include <cstdint>
#include <string>
#include <vector>

#include "platform/text/big5_codec.h"
#include "platform/text/caret_offset.h"
#include <gtest/gtest.h>

namespace {

using kpx::caretOffsetFromPosition;
using kpx::positionFromCaretOffset;

// The escape of byte 0xA4 (U+F00A4), one byte in the file, two UTF-16 units in the editor.
const std::u16string kEscapeA4 = u"\U000F00A4";

struct CaretCase {
    const char *name;
    std::u16string text;
    std::size_t position;
    std::int64_t offset;
};

// Positions at run boundaries, where both directions must agree.
class CaretBoundary : public ::testing::TestWithParam<CaretCase> { };

TEST_P(CaretBoundary, OffsetFromPosition)
{
    const CaretCase &c = GetParam();
    EXPECT_EQ(caretOffsetFromPosition(c.text, c.position), c.offset);
}

TEST_P(CaretBoundary, PositionFromOffset)
{
    const CaretCase &c = GetParam();
    EXPECT_EQ(positionFromCaretOffset(c.text, c.offset), c.position);
}

INSTANTIATE_TEST_SUITE_P(Texts, CaretBoundary,
    ::testing::Values(CaretCase { "EmptyText", u"", 0, 0 }, CaretCase { "AsciiStart", u"abc", 0, 0 },
        CaretCase { "AsciiMiddle", u"abc", 2, 2 }, CaretCase { "AsciiEnd", u"abc", 3, 3 },
        CaretCase { "AfterLf", u"ab\ncd", 3, 4 }, CaretCase { "AfterLfMiddle", u"ab\ncd", 4, 5 },
        CaretCase { "AfterCrLf", u"ab\r\ncd", 4, 4 }, CaretCase { "AfterLoneCr", u"ab\rcd", 3, 4 },
        CaretCase { "AfterParagraphSeparator", u"ab\u2029cd", 3, 4 }, CaretCase { "TwoBreaks", u"a\n\nb", 3, 5 },
        CaretCase { "LfThenCr", u"a\n\rb", 3, 5 }, CaretCase { "CrLfCrLf", u"a\r\n\r\nb", 5, 5 },
        CaretCase { "AfterChinese", u"中文a", 2, 4 }, CaretCase { "AfterChineseAndAscii", u"中文a", 3, 5 },
        CaretCase { "ChineseLines", u"一\n二\n", 3, 6 }, CaretCase { "AfterEscape", u"a" + kEscapeA4 + u"b", 3, 2 },
        CaretCase { "AfterEscapeAndAscii", u"a" + kEscapeA4 + u"b", 4, 3 },
        CaretCase { "SingleByteCharacters", u"\u0080\uF8F8\u4E00", 2, 2 },
        CaretCase { "UnsavableCountsPerUnit", u"\U0001F600a", 2, 2 }, CaretCase { "UnsavableBmp", u"\u00E9a", 2, 2 }),
    [](const ::testing::TestParamInfo<CaretCase> &info) { return info.param.name; });

// Positions and offsets that fall inside a run or beyond the text.
class CaretOffsetClamp : public ::testing::TestWithParam<CaretCase> { };

TEST_P(CaretOffsetClamp, OffsetFromPosition)
{
    EXPECT_EQ(caretOffsetFromPosition(GetParam().text, GetParam().position), GetParam().offset);
}

INSTANTIATE_TEST_SUITE_P(Positions, CaretOffsetClamp,
    ::testing::Values(CaretCase { "BetweenCrAndLf", u"ab\r\ncd", 3, 2 },
        CaretCase { "BetweenEscapeHalves", u"a" + kEscapeA4 + u"b", 2, 1 },
        CaretCase { "PastEndGivesSize", u"中\r\na", 99, 5 }, CaretCase { "PastEndOfEmpty", u"", 5, 0 },
        CaretCase { "PastEndAfterTrailingBreak", u"a\n", 7, 3 }),
    [](const ::testing::TestParamInfo<CaretCase> &info) { return info.param.name; });

class PositionFromOffsetClamp : public ::testing::TestWithParam<CaretCase> { };

TEST_P(PositionFromOffsetClamp, PositionFromOffset)
{
    EXPECT_EQ(positionFromCaretOffset(GetParam().text, GetParam().offset), GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(Offsets, PositionFromOffsetClamp,
    ::testing::Values(CaretCase { "InsideDoubleByte", u"a中b", 1, 2 }, CaretCase { "InsideLfBreak", u"a\nb", 1, 2 },
        CaretCase { "InsideCrLfBreak", u"a\r\nb", 1, 2 }, CaretCase { "InsideParagraphSeparator", u"a\u2029b", 1, 2 },
        CaretCase { "PastEnd", u"a中\r\n", 4, 100 }, CaretCase { "PastEndOfEmpty", u"", 0, 3 },
        CaretCase { "Negative", u"abc", 0, -1 }, CaretCase { "VeryNegative", u"abc", 0, INT64_MIN },
        CaretCase { "ExactEnd", u"a中", 2, 3 }),
    [](const ::testing::TestParamInfo<CaretCase> &info) { return info.param.name; });

TEST(CaretOffset, AgreesWithTheSavedBytes)
{
    // The offset of the end of a savable text is the size of the file it is saved as, once its
    // editor line breaks are written as CR LF.
    const std::u16string text = u"tsu2 \u4E00\u2029ka \uE000\n\u0080" + kEscapeA4 + u"\r\nz\r";
    std::u16string saved;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue;
        if (c == u'\r' || c == u'\n' || c == u'\u2029')
            saved += u"\r\n";
        else
            saved += c;
    }
    const kpx::Big5EncodeResult bytes = kpx::encodeBig5(saved);
    ASSERT_TRUE(bytes.ok());
    EXPECT_EQ(caretOffsetFromPosition(text, text.size()), static_cast<std::int64_t>(bytes.bytes.size()));
}

TEST(CaretOffset, RoundTripsAtEveryRunBoundary)
{
    const std::u16string text = u"a中\r\n" + kEscapeA4 + u"\u2029b\n\rc\U0001F600\u00E9" + kEscapeA4 + u"文\r";
    // Every position except the ones inside a CR LF or an escape.
    std::vector<std::size_t> boundaries;
    for (std::size_t p = 0; p <= text.size(); ++p) {
        const bool insideCrLf = p > 0 && p < text.size() && text[p - 1] == u'\r' && text[p] == u'\n';
        const bool insideEscape = p > 0 && text[p - 1] == 0xDB80;
        if (!insideCrLf && !insideEscape)
            boundaries.push_back(p);
    }
    std::int64_t previous = -1;
    for (std::size_t p : boundaries) {
        const std::int64_t offset = caretOffsetFromPosition(text, p);
        EXPECT_GT(offset, previous) << "offsets grow with the position, at " << p;
        previous = offset;
        EXPECT_EQ(positionFromCaretOffset(text, offset), p);
    }
}

TEST(CaretOffset, LargeTextStaysExact)
{
    // Offsets beyond 32 bits are not expected in practice but must not wrap.
    std::u16string text(3'000'000, u'\u4E00');
    text += u"\n";
    text.append(1'000'000, u'x');
    EXPECT_EQ(caretOffsetFromPosition(text, text.size()), 7'000'002);
    EXPECT_EQ(positionFromCaretOffset(text, 6'000'002), 3'000'001u);
    EXPECT_EQ(positionFromCaretOffset(text, 5'999'999), 2'999'999u);
}

} // namespace
