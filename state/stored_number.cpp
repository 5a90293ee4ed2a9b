// SPDX-License-Identifier: GPL-2.0-or-later
#include "state/stored_number.h"

#include <cstdio>
#include <limits>

namespace kpx {
namespace {

// The white space of the "C" locale; the state file is read the same way whatever the user's
// locale is.
bool isBlank(char byte)
{
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\v' || byte == '\f' || byte == '\r';
}

bool isDigit(char byte)
{
    return byte >= '0' && byte <= '9';
}

} // namespace

std::int32_t storedNumber(const char *text)
{
    if (!text)
        return 0;
    while (isBlank(*text))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    // Accumulate the magnitude in 64 bits and stop growing it once it is past the range, so
    // that any number of digits can be read without overflow.
    constexpr std::int64_t kMaximum = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t kPastRange = kMaximum + 2;
    std::int64_t magnitude = 0;
    for (; isDigit(*text); ++text) {
        magnitude = magnitude * 10 + (*text - '0');
        if (magnitude > kPastRange)
            magnitude = kPastRange;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > kMaximum)
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

std::string storedNumberText(std::int32_t number)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(number));
    return text;
}

} // namespace kpx
