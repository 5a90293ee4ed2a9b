// SPDX-License-Identifier: GPL-2.0-or-later
// Numbers kept as decimal text in the state file.
#include <cstdint>
#include <limits>

#include "state/stored_number.h"
#include <gtest/gtest.h>

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

struct NumberCase {
    const char *text;
    std::int32_t value;
};

void PrintTo(const NumberCase &numberCase, std::ostream *out)
{
    *out << '"' << numberCase.text << '"';
}

class StoredNumberReading : public testing::TestWithParam<NumberCase> { };

TEST_P(StoredNumberReading, ReadsTheLeadingDecimalNumber)
{
    EXPECT_EQ(kpx::storedNumber(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Plain, StoredNumberReading,
    testing::Values(NumberCase { "0", 0 }, NumberCase { "1", 1 }, NumberCase { "25", 25 }, NumberCase { "345", 345 },
        NumberCase { "007", 7 }, NumberCase { "-5", -5 }, NumberCase { "+12", 12 }, NumberCase { "-0", 0 }));

INSTANTIATE_TEST_SUITE_P(LeadingWhiteSpace, StoredNumberReading,
    testing::Values(NumberCase { " 7", 7 }, NumberCase { "\t\n\v\f\r 8", 8 }, NumberCase { "   -3", -3 }));

INSTANTIATE_TEST_SUITE_P(StopsAtTheFirstOtherByte, StoredNumberReading,
    testing::Values(NumberCase { "12 34", 12 }, NumberCase { "12abc", 12 }, NumberCase { "1e3", 1 },
        NumberCase { "0x10", 0 }, NumberCase { "3.9", 3 }, NumberCase { "30 ", 30 }, NumberCase { "5\xA4\xA4", 5 },
        NumberCase { "-4-4", -4 }));

INSTANTIATE_TEST_SUITE_P(NoDigitsIsZero, StoredNumberReading,
    testing::Values(NumberCase { "", 0 }, NumberCase { "   ", 0 }, NumberCase { "abc", 0 }, NumberCase { "-", 0 },
        NumberCase { "+", 0 }, NumberCase { "+-1", 0 }, NumberCase { "- 1", 0 }, NumberCase { "x12", 0 },
        NumberCase { "\xA4\x40", 0 }));

INSTANTIATE_TEST_SUITE_P(HeldAtTheEndsOfTheRange, StoredNumberReading,
    testing::Values(NumberCase { "2147483647", kMax }, NumberCase { "-2147483648", kMin },
        NumberCase { "2147483648", kMax }, NumberCase { "-2147483649", kMin }, NumberCase { "4294967297", kMax },
        NumberCase { "99999999999999999999999999999999", kMax },
        NumberCase { "-99999999999999999999999999999999", kMin }, NumberCase { "000000000000000000000000000042", 42 }));

TEST(StoredNumber, NullTextIsZero)
{
    EXPECT_EQ(kpx::storedNumber(nullptr), 0);
}

TEST(StoredNumberText, WritesWithPercentD)
{
    EXPECT_EQ(kpx::storedNumberText(0), "0");
    EXPECT_EQ(kpx::storedNumberText(12), "12");
    EXPECT_EQ(kpx::storedNumberText(-7), "-7");
    EXPECT_EQ(kpx::storedNumberText(kMax), "2147483647");
    EXPECT_EQ(kpx::storedNumberText(kMin), "-2147483648");
}

TEST(StoredNumberText, ReadsBackAsTheSameNumber)
{
    for (const std::int32_t number : { 0, 1, -1, 30, 345, 65535, -100000, kMax, kMin, kMax - 1, kMin + 1 })
        EXPECT_EQ(kpx::storedNumber(kpx::storedNumberText(number).c_str()), number) << number;
}

} // namespace
