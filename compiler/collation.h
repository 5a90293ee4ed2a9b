// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>

#include "compiler/table_order.h"

namespace kpx {

// The three key orders of the tables. Each compares two zero-terminated input keys A and B and
// returns the difference of the deciding bytes (as signed 8-bit values, so Big5 bytes come
// before the end of a key) or 0. The arguments are not interchangeable: a hyphen in B is passed
// over, a hyphen in A is compared as a byte.
//
// ty: the romanisation order; tone digits are passed over, an 'h' after a 'c' is passed over,
//     a key that starts with 'h' is placed against one that does not by the first bytes alone.
// py: general pinyin; tone digits are passed over.
// ib: plain byte order.
// (Defined below, in the header, so that the sort's comparisons are inlined.)

using KeyComparison = int (*)(const char *, const char *);

namespace collation_detail {

inline constexpr bool isDigit(signed char byte)
{
    return byte >= '0' && byte <= '9';
}

// The walk shared by the three orders; the template flags switch its rules on.
template <bool SkipDigits, bool SkipHAfterC>
inline int walkKeys(const signed char *a, const signed char *b, const signed char *aStart, const signed char *bStart)
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

// Bytes decide as signed 8-bit values, so the Big5 bytes 0x80-0xFF come before the end of a key.
inline const signed char *bytes(const char *key)
{
    return reinterpret_cast<const signed char *>(key);
}

} // namespace collation_detail

inline int compareKeysTy(const char *keyA, const char *keyB)
{
    using collation_detail::bytes;
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
    return collation_detail::walkKeys<true, true>(a, b, bytes(keyA), bytes(keyB));
}

inline int compareKeysPy(const char *keyA, const char *keyB)
{
    using collation_detail::bytes;
    return collation_detail::walkKeys<true, false>(bytes(keyA), bytes(keyB), bytes(keyA), bytes(keyB));
}

inline int compareKeysIb(const char *keyA, const char *keyB)
{
    using collation_detail::bytes;
    return collation_detail::walkKeys<false, false>(bytes(keyA), bytes(keyB), bytes(keyA), bytes(keyB));
}

constexpr KeyComparison keyComparisonFor(TableOrder order)
{
    switch (order.kind()) {
    case TableOrder::Kind::Py:
        return compareKeysPy;
    case TableOrder::Kind::Ib:
        return compareKeysIb;
    case TableOrder::Kind::Ty:
        break;
    }
    return compareKeysTy;
}

} // namespace kpx
