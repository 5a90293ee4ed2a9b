// SPDX-License-Identifier: GPL-2.0-or-later
#include <cstdlib>
#include <new>

#include "compiler/entry_list_p.h"

namespace kpx {

EntryTextStore::~EntryTextStore()
{
    for (char *chunk : chunks_)
        std::free(chunk);
}

char *EntryTextStore::allocateInNewChunk(std::size_t size)
{
    if (size > kChunkSize)
        return nullptr;
    auto *chunk = static_cast<char *>(std::malloc(kChunkSize));
    if (!chunk)
        return nullptr;
    try {
        chunks_.push_back(chunk);
    } catch (const std::bad_alloc &) {
        std::free(chunk);
        return nullptr;
    }
    used_ = size;
    return chunk;
}

void EntryTextStore::release()
{
    // A window makes table after table of about the same size: the first chunk stays.
    for (std::size_t at = 1; at < chunks_.size(); ++at)
        std::free(chunks_[at]);
    if (chunks_.size() > 1)
        chunks_.erase(chunks_.begin() + 1, chunks_.end());
    used_ = 0;
}

} // namespace kpx
