// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "io/growth.h"

namespace kpx {

// One entry: the key, a zero byte, the output and a zero byte in a block of its own, and the
// sequence number that records the order in which it was stored.
//
// A short key is also kept in the item itself: the sort then compares keys without reaching
// into a block elsewhere in memory for every comparison, which on a million entries is most of
// the sort's time.
struct Entry {
    static constexpr std::size_t kInlineKeySize = 20;

    Entry(std::int32_t sequenceNumber, const char *block)
        : sequence(sequenceNumber)
        , text(block)
    {
        std::size_t length = 0;
        while (length < kInlineKeySize && block[length])
            ++length;
        std::memset(inlineKey_, 0, kInlineKeySize);
        if (length < kInlineKeySize)
            std::memcpy(inlineKey_, block, length);
        else
            inlineKey_[kInlineKeySize - 1] = 1; // marks a key that lives in the block only
    }

    // The key, zero-terminated: the item's own copy when it has one.
    const char *key() const { return inlineKey_[kInlineKeySize - 1] == 0 ? inlineKey_ : text; }
    const char *output() const { return text + std::strlen(text) + 1; }

    std::int32_t sequence;

private:
    char inlineKey_[kInlineKeySize];

public:
    const char *text;
};

// Storage for the entries' text blocks. Blocks are carved from large chunks (a million small
// allocations would cost more than the entries themselves); a block never moves and is never
// shared, and all of them are released together when a run starts.
class EntryTextStore {
public:
    EntryTextStore() = default;
    ~EntryTextStore() { release(); }
    EntryTextStore(const EntryTextStore &) = delete;
    EntryTextStore &operator=(const EntryTextStore &) = delete;

    // A block of exactly size bytes; null when memory ran out.
    char *allocate(std::size_t size);
    void release();

private:
    static constexpr std::size_t kChunkSize = 256 * 1024;
    std::vector<char *> chunks_;
    std::size_t usedInChunk_ = kChunkSize;
};

using EntryList = GrowableArray<Entry>;

} // namespace kpx
