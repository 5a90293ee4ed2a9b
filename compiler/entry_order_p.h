// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "compiler/collation.h"
#include "compiler/entry_list_p.h"
#include "compiler/table_order.h"

namespace kpx {
namespace entry_order_detail {

// Byte at of an entry's key, 0 past its end: from the item's head while it reaches.
inline signed char keyByte(const Entry &entry, std::size_t at)
{
    return static_cast<signed char>(at < Entry::kHeadSize ? entry.head[at] : entry.text[at]);
}

// The first position at which two keys differ (the end of a key reads as a zero byte), or -1
// when they are the same bytes.
inline std::ptrdiff_t firstDifference(const Entry &x, const Entry &y)
{
    if constexpr (std::endian::native == std::endian::little) {
        for (std::size_t word = 0; word < Entry::kHeadSize; word += 8) {
            std::uint64_t a;
            std::uint64_t b;
            std::memcpy(&a, x.head + word, 8);
            std::memcpy(&b, y.head + word, 8);
            if (a != b)
                return static_cast<std::ptrdiff_t>(word + std::countr_zero(a ^ b) / 8);
        }
    } else {
        for (std::size_t at = 0; at < Entry::kHeadSize; ++at) {
            if (x.head[at] != y.head[at])
                return static_cast<std::ptrdiff_t>(at);
        }
    }
    if (x.keyLength < Entry::kHeadSize || y.keyLength < Entry::kHeadSize)
        return -1; // one key ends inside the head, where both are the same
    std::size_t at = Entry::kHeadSize;
    while (x.text[at] == y.text[at]) {
        if (x.text[at] == 0)
            return -1;
        ++at;
    }
    return static_cast<std::ptrdiff_t>(at);
}

inline constexpr bool isDigit(signed char byte)
{
    return byte >= '0' && byte <= '9';
}

// Whether the two bytes at the first difference decide a key comparison on their own, as their
// difference. Up to there both keys are the same bytes, so the walk of every order has passed
// them in step, and it compares these two bytes unless one of them is passed over (a digit in
// ty and py, an 'h' after a 'c' in ty, a hyphen in the second key). A leading 'h' in ty is
// decided by the first bytes alone, which is their difference too.
template <TableOrder::Kind Order> constexpr bool bytesDecide(signed char a, signed char b, signed char before)
{
    if (b == '-')
        return false;
    if constexpr (Order != TableOrder::Kind::Ib) {
        if (isDigit(a) || isDigit(b))
            return false;
    }
    if constexpr (Order == TableOrder::Kind::Ty) {
        if ((a == 'h' || b == 'h') && before == 'c')
            return false;
    }
    return true;
}

// The key comparison of two entries whose keys first differ at position at, where the bytes
// alone do not decide. Out of line: the sort's loops keep only the quick part.
template <TableOrder::Kind Order> [[gnu::noinline]] int compareKeysFrom(const Entry &x, const Entry &y, std::size_t at)
{
    if (Order == TableOrder::Kind::Ty && (at == 0 || (at == 1 && x.head[0] == 'h'))) {
        // The leading 'h' steps look at the first two bytes: the whole comparison decides.
        return compareKeysTy(x.key(), y.key());
    }
    // Up to the difference both walks went in step, and the walk's only state is where its two
    // cursors stand: it goes on from there, inside the heads while both keys end there.
    constexpr bool kSkipDigits = Order != TableOrder::Kind::Ib;
    constexpr bool kSkipHAfterC = Order == TableOrder::Kind::Ty;
    const bool inHeads = x.keyLength < Entry::kHeadSize && y.keyLength < Entry::kHeadSize;
    const signed char *a = collation_detail::bytes(inHeads ? x.head : x.key());
    const signed char *b = collation_detail::bytes(inHeads ? y.head : y.key());
    return collation_detail::walkKeys<kSkipDigits, kSkipHAfterC>(a + at, b + at, a, b);
}

} // namespace entry_order_detail

// Negative when x goes before y: the key order (x's key as the first argument), then the order
// of storing. Gives the sign of the key comparison followed by the sequence numbers, but most
// calls decide from the items alone.
template <TableOrder::Kind Order> inline int compareEntries(const Entry &x, const Entry &y)
{
    using namespace entry_order_detail;
    const std::ptrdiff_t at = firstDifference(x, y);
    if (at < 0)
        return x.sequence - y.sequence;
    const signed char a = keyByte(x, static_cast<std::size_t>(at));
    const signed char b = keyByte(y, static_cast<std::size_t>(at));
    const signed char before = at > 0 ? keyByte(x, static_cast<std::size_t>(at - 1)) : 0;
    if (bytesDecide<Order>(a, b, before))
        return a - b;
    const int byKey = compareKeysFrom<Order>(x, y, static_cast<std::size_t>(at));
    return byKey != 0 ? byKey : x.sequence - y.sequence;
}

} // namespace kpx
