// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>

// The three key orders of the tables. Each compares two zero-terminated input keys A and B and
// returns the difference of the deciding bytes (as signed 8-bit values, so Big5 bytes come
// before the end of a key) or 0. The arguments are not interchangeable: a hyphen in B is passed
// over, a hyphen in A is compared as a byte.
//
// ty: the romanisation order; tone digits are passed over, an 'h' after a 'c' is passed over,
//     a key that starts with 'h' is placed against one that does not by the first bytes alone.
// py: general pinyin; tone digits are passed over.
// ib: plain byte order.
int compareKeysTy(const char *a, const char *b);
int compareKeysPy(const char *a, const char *b);
int compareKeysIb(const char *a, const char *b);

// The order digits: '1' ty, '2' py, '3' ib; every other byte means ty.
inline constexpr char kOrderTy = '1';
inline constexpr char kOrderPy = '2';
inline constexpr char kOrderIb = '3';
constexpr char normalisedOrder(char digit)
{
    return digit == kOrderPy || digit == kOrderIb ? digit : kOrderTy;
}

using KeyComparison = int (*)(const char *, const char *);
KeyComparison keyComparisonFor(char orderDigit);
