// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "io/growth.h"

namespace kpx {

// One entry as the sort moves it: the sequence number that records the order in which it was
// stored, and where its text is (the key, a zero byte, the output and a zero byte, in the run's
// text store).
//
// The item also carries both lengths, so that nothing measures a text twice, and, once the sort
// has prepared it for its order (entry_order_p.h), the key's first bytes as that order compares
// them, so that most comparisons decide from the items alone.
struct Entry {
    static constexpr std::size_t kHeadSize = 16;

    Entry(std::int32_t sequenceNumber, const char *block, std::size_t keyBytes, std::size_t outputBytes)
        : text(block)
        , sequence(sequenceNumber)
        , keyLength(static_cast<std::uint8_t>(keyBytes))
        , outputLength(static_cast<std::uint8_t>(outputBytes))
    {
    }
    // An entry around a block of key, zero, output, zero.
    Entry(std::int32_t sequenceNumber, const char *block)
        : Entry(sequenceNumber, block, std::strlen(block), std::strlen(block + std::strlen(block) + 1))
    {
    }

    const char *key() const { return text; }
    const char *output() const { return text + keyLength + 1; }

    const char *text;
    // Set for one order just before the sort: two big-endian words of the first kHeadSize bytes
    // that the order's walk compares, and what the comparison needs to know beside them.
    std::uint64_t head[2] = {};
    std::int32_t sequence;
    std::uint8_t keyLength; // at most 32
    std::uint8_t outputLength; // at most 64
    std::uint8_t sortFlags = 0;
};

// The run's entry texts, one after the other in the order they were stored. The store grows
// by chunks, so a text never moves once stored; all texts of a run go at once when the next
// run starts, which keeps the first chunk for it.
class EntryTextStore {
public:
    EntryTextStore() = default;
    ~EntryTextStore();
    EntryTextStore(const EntryTextStore &) = delete;
    EntryTextStore &operator=(const EntryTextStore &) = delete;

    // Room for exactly size bytes behind the text stored last; null when memory ran out.
    char *allocate(std::size_t size)
    {
        if (used_ + size <= kChunkSize && !chunks_.empty()) {
            char *block = chunks_.back() + used_;
            used_ += size;
            return block;
        }
        return allocateInNewChunk(size);
    }
    // Drops every text.
    void release();

    static constexpr std::size_t kChunkSize = 256 * 1024;

private:
    char *allocateInNewChunk(std::size_t size);

    std::vector<char *> chunks_;
    std::size_t used_ = 0;
};

using EntryList = GrowableArray<Entry>;

} // namespace kpx
