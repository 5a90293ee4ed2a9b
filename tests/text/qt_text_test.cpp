// SPDX-License-Identifier: GPL-2.0-or-later
#include <string>

#include <QString>

#include "platform/text/qt_text.h"
#include <gtest/gtest.h>

namespace {

TEST(QtText, FromBig5FillsTheWholeString)
{
    const std::string bytes = "tsu2\t\xA4\x40\xA4\xA4\r\n\xA3\xC0z";
    const QString text = kpx::fromBig5(bytes);
    EXPECT_EQ(std::u16string(kpx::u16View(text)), kpx::decodeBig5(bytes));
    EXPECT_EQ(text.left(7), QString::fromUtf16(u"tsu2\t一中"));
}

TEST(QtText, FromBig5OfNothingIsEmpty)
{
    EXPECT_TRUE(kpx::fromBig5("").isEmpty());
}

TEST(QtText, ToBig5RoundTripsAndRefuses)
{
    const std::string bytes = "a\xA4\x40\xFF\x81";
    const kpx::Big5EncodeResult back = kpx::toBig5(kpx::fromBig5(bytes));
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.bytes, bytes);

    const kpx::Big5EncodeResult refused = kpx::toBig5(QString::fromUtf16(u"中\u00E9"));
    EXPECT_EQ(refused.badPosition, 1u);
}

TEST(QtText, CaretOverloadsClampLikeTheCore)
{
    const QString text = QString::fromUtf16(u"中\nab");
    EXPECT_EQ(kpx::caretOffsetFromPosition(text, 2), 4);
    EXPECT_EQ(kpx::caretOffsetFromPosition(text, -3), 0);
    EXPECT_EQ(kpx::caretOffsetFromPosition(text, 100), 6);
    EXPECT_EQ(kpx::positionFromCaretOffset(text, 5), 3);
    EXPECT_EQ(kpx::positionFromCaretOffset(text, 1), 0);
}

TEST(QtText, CompareOverload)
{
    kpx::setCollationLocaleForTesting("en_US");
    EXPECT_EQ(kpx::compareLocaleIgnoringCase(QStringLiteral("Ka"), QStringLiteral("kA")), 0);
    EXPECT_LT(kpx::compareLocaleIgnoringCase(QStringLiteral("a"), QStringLiteral("B")), 0);
    kpx::setCollationLocaleForTesting("");
}

} // namespace
