// SPDX-License-Identifier: GPL-2.0-or-later
#include <algorithm>
#include <string>
#include <vector>

#include "platform/text/locale_compare.h"
#include <gtest/gtest.h>

namespace {

using kpx::compareLocaleIgnoringCase;

int sign(int v)
{
    return (v > 0) - (v < 0);
}

// Runs each case under one locale; the user's default is what the program uses.
class LocaleOrder : public ::testing::TestWithParam<const char *> {
protected:
    void SetUp() override { kpx::setCollationLocaleForTesting(GetParam()); }
    void TearDown() override { kpx::setCollationLocaleForTesting(""); }
};

TEST_P(LocaleOrder, LetterCaseIsIgnored)
{
    EXPECT_EQ(compareLocaleIgnoringCase(u"A", u"a"), 0);
    EXPECT_EQ(compareLocaleIgnoringCase(u"a", u"A"), 0);
    EXPECT_EQ(compareLocaleIgnoringCase(u"Tsu2", u"tSU2"), 0);
    EXPECT_EQ(compareLocaleIgnoringCase(u"ABC def", u"abc DEF"), 0);
}

TEST_P(LocaleOrder, LettersComeInAlphabeticalOrder)
{
    EXPECT_LT(compareLocaleIgnoringCase(u"a", u"b"), 0);
    EXPECT_LT(compareLocaleIgnoringCase(u"A", u"b"), 0);
    EXPECT_GT(compareLocaleIgnoringCase(u"b", u"A"), 0);
    EXPECT_LT(compareLocaleIgnoringCase(u"b", u"C"), 0);
    EXPECT_LT(compareLocaleIgnoringCase(u"ka", u"KAN"), 0);
    EXPECT_LT(compareLocaleIgnoringCase(u"", u"a"), 0);
}

TEST_P(LocaleOrder, SortsBAaWithUpperAndLowerTogetherBeforeB)
{
    std::vector<std::u16string> lines = { u"b", u"A", u"a" };
    std::stable_sort(
        lines.begin(), lines.end(), [](const auto &x, const auto &y) { return compareLocaleIgnoringCase(x, y) < 0; });
    EXPECT_EQ(lines, (std::vector<std::u16string> { u"A", u"a", u"b" }));
}

TEST_P(LocaleOrder, ChineseAndMixedTextIsAConsistentOrder)
{
    const std::vector<std::u16string> texts = { u"", u"中", u"中文", u"文", u"一", u"\u3000", u"ka 中", u"KA 文",
        u"\uE000", u"\uF8F8", u"\U000F00A4", u"a\u4E00", u"A\u4E00b", u"鷺笙", u"\u2550", u"\u20AC", u"tsu2 字" };
    for (const auto &x : texts) {
        EXPECT_EQ(compareLocaleIgnoringCase(x, x), 0);
        for (const auto &y : texts) {
            EXPECT_EQ(sign(compareLocaleIgnoringCase(x, y)), -sign(compareLocaleIgnoringCase(y, x)));
        }
    }
    // A sort by the order must leave every neighbour pair in order: this fails for a
    // comparison that is not transitive.
    std::vector<std::u16string> sorted = texts;
    std::sort(
        sorted.begin(), sorted.end(), [](const auto &x, const auto &y) { return compareLocaleIgnoringCase(x, y) < 0; });
    for (std::size_t i = 1; i < sorted.size(); ++i)
        EXPECT_LE(compareLocaleIgnoringCase(sorted[i - 1], sorted[i]), 0);
}

INSTANTIATE_TEST_SUITE_P(Locales, LocaleOrder, ::testing::Values("", "en_US", "zh_TW"),
    [](const ::testing::TestParamInfo<const char *> &info) {
        return std::string(*info.param ? info.param : "UserDefault");
    });

TEST(LocaleOrderSwitch, ChangingTheLocaleTakesEffect)
{
    // Swedish sorts "ö" after "z", English with "o": the cached order must follow the switch.
    kpx::setCollationLocaleForTesting("sv_SE");
    EXPECT_GT(compareLocaleIgnoringCase(u"\u00F6", u"z"), 0);
    kpx::setCollationLocaleForTesting("en_US");
    EXPECT_LT(compareLocaleIgnoringCase(u"\u00F6", u"z"), 0);
    kpx::setCollationLocaleForTesting("");
}

} // namespace
