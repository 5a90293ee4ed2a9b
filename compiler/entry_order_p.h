// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

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
// equal heads of longer keys, ty's rules for a leading 'h'), the walk goes on or starts over.
namespace kpx {
namespace entry_order_detail {

// Entry::sortFlags.
inline constexpr std::uint8_t kFitsInHead = 1; // the reduced key is at most kHeadSize bytes
inline constexpr std::uint8_t kLeadingH = 2; // ty: the key starts with 'h'
inline constexpr std::uint8_t kLeadingHh = 4; // ty: the key starts with "hh"
inline constexpr std::uint8_t kLeadingMask = kLeadingH | kLeadingHh;

// Bytes compare as signed values; with the top bit flipped they compare as unsigned ones, so
// the Big5 bytes still come before the end of a key (which reads as zero).
inline constexpr std::uint8_t kFlip = 0x80;
inline constexpr std::uint64_t kHyphenInHead = static_cast<std::uint8_t>('-' ^ kFlip);

// Whether the order's walk passes over the byte at of key whatever the other key holds.
template <TableOrder::Kind Order> constexpr bool passedOver(const char *key, std::size_t at)
{
    if constexpr (Order == TableOrder::Kind::Ib)
        return false;
    if (key[at] >= '0' && key[at] <= '9')
        return true;
    if constexpr (Order == TableOrder::Kind::Ty)
        return key[at] == 'h' && at > 0 && key[at - 1] == 'c';
    return false;
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
    std::uint8_t reduced[Entry::kHeadSize] = {};
    std::size_t length = 0;
    for (std::size_t at = 0; at < entry.keyLength; ++at) {
        if (passedOver<Order>(key, at))
            continue;
        if (length < Entry::kHeadSize)
            reduced[length] = static_cast<std::uint8_t>(key[at]);
        ++length;
    }
    for (std::size_t word = 0; word < 2; ++word) {
        std::uint64_t value = 0;
        for (std::size_t at = 0; at < 8; ++at)
            value = value << 8 | static_cast<std::uint8_t>(reduced[word * 8 + at] ^ kFlip);
        entry.head[word] = value;
    }
    std::uint8_t flags = length <= Entry::kHeadSize ? kFitsInHead : 0;
    if constexpr (Order == TableOrder::Kind::Ty) {
        if (key[0] == 'h')
            flags |= key[1] == 'h' ? kLeadingH | kLeadingHh : kLeadingH;
    }
    entry.sortFlags = flags;
}

// Negative when x goes before y: the key order (x's key as the first argument), then the order
// of storing. Gives the sign of the key comparison followed by the sequence numbers; both items
// must be prepared for the order.
template <TableOrder::Kind Order> inline int compareEntries(const Entry &x, const Entry &y)
{
    using namespace entry_order_detail;
    if constexpr (Order == TableOrder::Kind::Ty) {
        // A leading 'h' on one side only, or "hh" against "h": ty decides by its first steps.
        if ((x.sortFlags ^ y.sortFlags) & kLeadingMask)
            return compareWholeEntries<Order>(x, y);
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
