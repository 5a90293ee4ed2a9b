// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "growth.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// One entry: the key, a zero byte, the output and a zero byte in a block of its own, and the
// sequence number that records the order in which it was stored.
struct Entry {
    std::int32_t sequence;
    const char *text;

    const char *key() const { return text; }
    const char *output() const { return text + std::strlen(text) + 1; }
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
