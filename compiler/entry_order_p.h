// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "compiler/collation.h"
#include "compiler/entry_list_p.h"
#include "compiler/table_order.h"

// The entry comparison of the sort, made cheap by what each item carries.
//
// Every order's walk passes over some bytes of either key whatever the other key holds (digits
// in ty and py, an 'h' right behind a 'c' in ty) and then goes through what is left of both keys
// in step, passing over a hyphen of the second key (with a hyphen of the first key beside it)
// and stopping at the first two bytes that differ. So the walk is a plain comparison of the two
// keys with those bytes taken out, up to the first byte where they differ, and that byte decides
// unless the second key's byte there is a hyphen. The sort prepares each item with its key so
// reduced (the item's head) and compares heads as words; where a head cannot decide (a hyphen,
// equal heads of longer keys), the walk goes on or starts over; ty's rules for a leading 'h'
// decide from flags the item carries.
namespace kpx {
namespace entry_order_detail {

// Entry::sortFlags.
inline constexpr std::uint8_t kFitsInHead = 1; // the reduced key is at most kHeadSize bytes
inline constexpr std::uint8_t kLeadingH = 2; // ty: the key starts with 'h'
inline constexpr std::uint8_t kLeadingHh = 4; // ty: the key starts with "hh"
inline constexpr std::uint8_t kLeadingMask = kLeadingH | kLeadingHh;
inline constexpr std::uint8_t kFirstBelowH = 8; // ty: the key's first byte comes before 'h'
inline constexpr std::uint8_t kSecondBelowH = 16; // ty: its second byte (0 for none) does

// Bytes compare as signed values; with the top bit flipped they compare as unsigned ones, so
// the Big5 bytes still come before the end of a key (which reads as zero).
inline constexpr std::uint8_t kFlip = 0x80;
inline constexpr std::uint64_t kHyphenInHead = static_cast<std::uint8_t>('-' ^ kFlip);

// Whether the order's walk passes over a key byte whatever the other key holds; previous is the
// byte before it in the key (0 for the first). Without branches: digits come at random.
template <TableOrder::Kind Order> constexpr bool passedOver(std::uint8_t byte, std::uint8_t previous)
{
    if constexpr (Order == TableOrder::Kind::Ib)
        return false;
    const bool digit = static_cast<std::uint8_t>(byte - '0') <= 9;
    if constexpr (Order == TableOrder::Kind::Ty)
        return digit | ((byte == 'h') & (previous == 'c'));
    return digit;
}

constexpr std::uint64_t byteSwapped(std::uint64_t value)
{
    std::uint64_t swapped = 0;
    for (int byte = 0; byte < 8; ++byte, value >>= 8)
        swapped = swapped << 8 | (value & 0xFF);
    return swapped;
}

// The key byte at position at (from 0) of a head, as a signed byte; 0 past the reduced key.
inline signed char headByte(const Entry &entry, std::size_t at)
{
    const auto flipped = static_cast<std::uint8_t>(entry.head[at / 8] >> (56 - 8 * (at % 8)));
    return static_cast<signed char>(flipped ^ kFlip);
}

// The whole comparison, from the start of both keys.
template <TableOrder::Kind Order> [[gnu::noinline]] int compareWholeEntries(const Entry &x, const Entry &y)
{
    constexpr KeyComparison compareKeys = keyComparisonFor(TableOrder(Order));
    const int byKey = compareKeys(x.key(), y.key());
    return byKey != 0 ? byKey : x.sequence - y.sequence;
}

// The walk on from position at of both reduced keys, where the second has a hyphen and the
// first something else; inside the heads while they hold the bytes it reads.
template <TableOrder::Kind Order>
[[gnu::noinline]] int compareFromHyphen(const Entry &x, const Entry &y, std::size_t at)
{
    // The second cursor has passed over one hyphen more than the first, so it stays ahead: the
    // first reads inside its head as long as the second does, or finds the second key ended.
    std::size_t a = at;
    std::size_t b = at;
    for (;;) {
        if (b >= Entry::kHeadSize && !(y.sortFlags & kFitsInHead))
            return compareWholeEntries<Order>(x, y);
        const signed char byteA = headByte(x, a);
        // A reduced key that fits has ended by the end of its head.
        const signed char byteB = b < Entry::kHeadSize ? headByte(y, b) : 0;
        if (byteA == 0 && byteB == 0)
            return x.sequence - y.sequence;
        if (byteB == '-') {
            ++b;
            if (byteA == '-')
                ++a;
        } else if (byteA == byteB) {
            ++a;
            ++b;
        } else {
            return byteA - byteB;
        }
    }
}

} // namespace entry_order_detail

// Fills the item's head and flags for the order; the sort needs them on every item.
template <TableOrder::Kind Order> void prepareForSort(Entry &entry)
{
    using namespace entry_order_detail;
    const char *key = entry.key();
    // One byte more than the head, to tell a key that fits from one that does not.
    std::uint8_t reduced[Entry::kHeadSize + 1] = {};
    std::size_t length = 0;
    std::uint8_t previous = 0;
    for (std::size_t at = 0; at < entry.keyLength && length <= Entry::kHeadSize; ++at) {
        const auto byte = static_cast<std::uint8_t>(key[at]);
        reduced[length] = byte;
        length += passedOver<Order>(byte, previous) ? 0 : 1;
        previous = byte;
    }
    if (length <= Entry::kHeadSize)
        reduced[length] = 0; // a byte passed over last may stand there
    for (std::size_t word = 0; word < 2; ++word) {
        std::uint64_t value;
        std::memcpy(&value, reduced + word * 8, 8);
        if constexpr (std::endian::native == std::endian::little)
            value = byteSwapped(value);
        entry.head[word] = value ^ 0x8080808080808080u;
    }
    std::uint8_t flags = length <= Entry::kHeadSize ? kFitsInHead : 0;
    if constexpr (Order == TableOrder::Kind::Ty) {
        if (key[0] == 'h')
            flags |= key[1] == 'h' ? kLeadingH | kLeadingHh : kLeadingH;
        if (static_cast<signed char>(key[0]) < 'h')
            flags |= kFirstBelowH;
        if (static_cast<signed char>(key[1]) < 'h')
            flags |= kSecondBelowH;
    }
    entry.sortFlags = flags;
}

namespace entry_order_detail {

// ty's first steps for two keys of which one starts with 'h' and the other not, or with "hh"
// and "h" and another byte: the sign of the deciding bytes, or 0 when the walk decides.
inline int compareLeadingH(const Entry &x, const Entry &y)
{
    const bool hX = x.sortFlags & kLeadingH;
    const bool hY = y.sortFlags & kLeadingH;
    if (hX != hY) {
        // The first bytes decide: 'h' against another byte.
        if (hX)
            return (y.sortFlags & kFirstBelowH) ? 1 : -1;
        return (x.sortFlags & kFirstBelowH) ? -1 : 1;
    }
    // Both start with 'h': the second bytes decide when only the second key has an 'h' there.
    if (y.sortFlags & kLeadingHh)
        return (x.sortFlags & kSecondBelowH) ? -1 : 1;
    return 0;
}

} // namespace entry_order_detail

// Negative when x goes before y: the key order (x's key as the first argument), then the order
// of storing. Gives the sign of the key comparison followed by the sequence numbers; both items
// must be prepared for the order.
template <TableOrder::Kind Order> inline int compareEntries(const Entry &x, const Entry &y)
{
    using namespace entry_order_detail;
    if constexpr (Order == TableOrder::Kind::Ty) {
        if ((x.sortFlags ^ y.sortFlags) & kLeadingMask) {
            if (const int byFirstSteps = compareLeadingH(x, y))
                return byFirstSteps;
        }
    }
    std::size_t word = 0;
    if (x.head[0] == y.head[0]) {
        word = 1;
        if (x.head[1] == y.head[1]) {
            if (x.sortFlags & y.sortFlags & kFitsInHead)
                return x.sequence - y.sequence;
            return compareWholeEntries<Order>(x, y);
        }
    }
    const std::uint64_t a = x.head[word];
    const std::uint64_t b = y.head[word];
    const int skipped = std::countl_zero(a ^ b) & ~7;
    if ((b << skipped) >> 56 != kHyphenInHead)
        return a < b ? -1 : 1;
    return compareFromHyphen<Order>(x, y, word * 8 + static_cast<std::size_t>(skipped) / 8);
}

} // namespace kpx
