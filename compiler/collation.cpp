// SPDX-License-Identifier: GPL-2.0-or-later
#include "collation.h"

namespace {

constexpr bool isDigit(signed char byte) { return byte >= '0' && byte <= '9'; }

// The walk shared by the three orders; the template flags switch its rules on.
template <bool SkipDigits, bool SkipHAfterC>
int walkKeys(const signed char *a, const signed char *b, const signed char *aStart, const signed char *bStart)
{
    while (*a || *b) {
        if constexpr (SkipDigits) {
            if (isDigit(*a)) {
                ++a;
                continue;
            }
            if (isDigit(*b)) {
                ++b;
                continue;
            }
        }
        if constexpr (SkipHAfterC) {
            if (*a == 'h' && a > aStart && a[-1] == 'c') {
                ++a;
                continue;
            }
            if (*b == 'h' && b > bStart && b[-1] == 'c') {
                ++b;
                continue;
            }
        }
        if (*b == '-') {
            ++b;
            if (*a == '-')
                ++a;
            continue;
        }
        if (*a == *b) {
            ++a;
            ++b;
            continue;
        }
        return *a - *b;
    }
    return 0;
}

const signed char *bytes(const char *key) { return reinterpret_cast<const signed char *>(key); }

} // namespace

int compareKeysTy(const char *keyA, const char *keyB)
{
    const signed char *a = bytes(keyA);
    const signed char *b = bytes(keyB);
    if (a[0] == 'h') {
        if (b[0] != 'h')
            return a[0] - b[0];
        ++a;
        ++b;
    }
    if (*b == 'h' && *a != 'h')
        return *a - *b;
    return walkKeys<true, true>(a, b, bytes(keyA), bytes(keyB));
}

int compareKeysPy(const char *keyA, const char *keyB)
{
    return walkKeys<true, false>(bytes(keyA), bytes(keyB), bytes(keyA), bytes(keyB));
}

int compareKeysIb(const char *keyA, const char *keyB)
{
    return walkKeys<false, false>(bytes(keyA), bytes(keyB), bytes(keyA), bytes(keyB));
}

KeyComparison keyComparisonFor(char orderDigit)
{
    switch (normalisedOrder(orderDigit)) {
    case kOrderPy:
        return compareKeysPy;
    case kOrderIb:
        return compareKeysIb;
    default:
        return compareKeysTy;
    }
}
