// SPDX-License-Identifier: GPL-2.0-or-later
#include <cstdlib>
#include <new>

#include "compiler/entry_list_p.h"

namespace kpx {

char *EntryTextStore::allocate(std::size_t size)
{
    if (size > kChunkSize)
        return nullptr;
    if (usedInChunk_ + size > kChunkSize) {
        auto *chunk = static_cast<char *>(std::malloc(kChunkSize));
        if (!chunk)
            return nullptr;
        try {
            chunks_.push_back(chunk);
        } catch (const std::bad_alloc &) {
            std::free(chunk);
            return nullptr;
        }
        usedInChunk_ = 0;
    }
    char *block = chunks_.back() + usedInChunk_;
    usedInChunk_ += size;
    return block;
}

void EntryTextStore::release()
{
    for (char *chunk : chunks_)
        std::free(chunk);
    chunks_.clear();
    chunks_.shrink_to_fit();
    usedInChunk_ = kChunkSize;
}

} // namespace kpx
