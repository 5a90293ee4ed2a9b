// SPDX-License-Identifier: GPL-2.0-or-later
#include <algorithm>
#include <cstring>
#include <new>

#include "compiler/problem_log_p.h"

namespace kpx {
namespace {

// A 32-bit hash of an entry's text (key, zero byte, output), eight bytes at a time.
std::uint32_t hashText(const char *text, std::size_t length)
{
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    std::uint64_t hash = length * kMultiplier;
    std::size_t at = 0;
    for (; at + 8 <= length; at += 8) {
        std::uint64_t word;
        std::memcpy(&word, text + at, 8);
        hash = (hash ^ word) * kMultiplier;
        hash ^= hash >> 29;
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, text + at, length - at);
    hash = (hash ^ tail) * kMultiplier;
    hash ^= hash >> 32;
    return static_cast<std::uint32_t>(hash);
}

// Sorts items by their upper 32 bits, keeping the order of items with equal upper bits: three
// stable passes of 11, 11 and 10 bits.
void sortByUpperHalf(std::vector<std::uint64_t> &items, std::vector<std::uint64_t> &scratch)
{
    for (const int shift : { 32, 43, 54 }) {
        std::uint32_t counts[2049] = {};
        for (const std::uint64_t item : items)
            ++counts[((item >> shift) & 0x7FF) + 1];
        for (std::size_t bucket = 1; bucket < 2049; ++bucket)
            counts[bucket] += counts[bucket - 1];
        for (const std::uint64_t item : items)
            scratch[counts[(item >> shift) & 0x7FF]++] = item;
        items.swap(scratch);
    }
}

bool sameText(const Entry &x, const Entry &y)
{
    return x.keyLength == y.keyLength && x.outputLength == y.outputLength
        && std::memcmp(x.text, y.text, std::size_t { x.keyLength } + x.outputLength + 1) == 0;
}

} // namespace

void ProblemLog::begin()
{
    result_.files.resize(1);
    fileIndex_.clear();
    result_.problems.clear();
    result_.linesWithoutEntry = 0;
    result_.incomplete = false;
    entriesBefore_.clear();
    entryLines_.empty();
    entryFiles_.clear();
    lastEntryFile_ = 0;
    rereadEntries_.clear();
    rereading_ = 0;
    result_.warnings = 0;
    duplicatesFound_ = false;
    duplicateSequences_.clear();
}

std::int32_t ProblemLog::addFile(const char *path)
{
    // A file named again (read twice, or a missing file on a million lines) keeps its index.
    try {
        const auto [known, added]
            = fileIndex_.try_emplace(path ? path : "", static_cast<std::int32_t>(result_.files.size()));
        if (added) {
            try {
                result_.files.push_back(known->first);
            } catch (const std::bad_alloc &) {
                fileIndex_.erase(known);
                throw;
            }
        }
        return known->second;
    } catch (const std::bad_alloc &) {
        result_.incomplete = true;
        return 0;
    }
}

void ProblemLog::record(const LineProblem &problem, std::int32_t entriesBefore)
{
    try {
        result_.problems.push_back(problem);
    } catch (const std::bad_alloc &) {
        result_.incomplete = true;
        return;
    }
    try {
        entriesBefore_.push_back(entriesBefore);
    } catch (const std::bad_alloc &) {
        result_.problems.pop_back();
        result_.incomplete = true;
        return;
    }
    if (isWarning(problem.reason))
        ++result_.warnings;
    else if (problem.reason != LineProblemReason::Duplicate)
        ++result_.linesWithoutEntry;
}

void ProblemLog::lineMadeNoEntry(const ReadingPlace &place, LineProblemReason reason, std::int32_t subject)
{
    // Where a run stopped is news even in a file read again.
    if (rereading_ > 0 && reason != LineProblemReason::TableFull)
        return;
    record(LineProblem { reason, place.file, place.line, subject, 0 }, entryLines_.count());
}

void ProblemLog::fileReadAgain(const ReadingPlace &place, std::int32_t subject, const ReadingPlace &earlier)
{
    if (rereading_ > 0)
        return;
    record(LineProblem { LineProblemReason::IncludeReadAgain, place.file, place.line, subject, earlier.line,
               earlier.file },
        entryLines_.count());
}

void ProblemLog::beginRereading(std::int32_t next)
{
    if (rereading_++ > 0)
        return;
    try {
        rereadEntries_.emplace_back(next, next);
    } catch (const std::bad_alloc &) {
        result_.incomplete = true;
    }
}

void ProblemLog::endRereading(std::int32_t next)
{
    if (--rereading_ == 0 && !rereadEntries_.empty())
        rereadEntries_.back().second = next;
}

void ProblemLog::noteEntryFile(std::int32_t file)
{
    try {
        entryFiles_.emplace_back(entryLines_.count(), file);
        lastEntryFile_ = file;
    } catch (const std::bad_alloc &) {
        result_.incomplete = true;
    }
}

ReadingPlace ProblemLog::entryPlace(std::int32_t sequence) const
{
    // The last run that starts at or before the sequence number; none means the editor's lines.
    const auto after = std::upper_bound(entryFiles_.begin(), entryFiles_.end(), sequence,
        [](std::int32_t value, const std::pair<std::int32_t, std::int32_t> &run) { return value < run.first; });
    const std::int32_t file = after == entryFiles_.begin() ? 0 : std::prev(after)->second;
    return ReadingPlace { file, entryLines_[sequence] };
}

void ProblemLog::findDuplicates(const EntryList &entries)
{
    if (duplicatesFound_)
        return;
    duplicatesFound_ = true;
    const std::int32_t count = entries.count();
    if (count < 2)
        return;
    if (entryLines_.count() != count) {
        result_.incomplete = true;
        return;
    }
    std::vector<std::uint64_t> items;
    std::vector<std::uint64_t> scratch;
    std::vector<std::int32_t> duplicates;
    std::vector<std::int32_t> firsts; // the first entry each duplicate repeats
    const auto wasReread = [this](std::int32_t sequence) {
        const auto after = std::upper_bound(rereadEntries_.begin(), rereadEntries_.end(), sequence,
            [](std::int32_t value, const std::pair<std::int32_t, std::int32_t> &range) { return value < range.first; });
        return after != rereadEntries_.begin() && sequence < std::prev(after)->second;
    };
    try {
        items.resize(static_cast<std::size_t>(count));
        scratch.resize(static_cast<std::size_t>(count));
        // The texts lie one after the other in storing order, so this reads memory in order.
        for (std::int32_t sequence = 0; sequence < count; ++sequence) {
            const Entry &entry = entries[sequence];
            const std::size_t length = std::size_t { entry.keyLength } + entry.outputLength + 1;
            items[static_cast<std::size_t>(sequence)]
                = std::uint64_t { hashText(entry.text, length) } << 32 | static_cast<std::uint32_t>(sequence);
        }
        sortByUpperHalf(items, scratch);
        scratch.clear();
        // Entries with the same hash now stand together, in storing order; most groups are one.
        std::vector<std::int32_t> distinct;
        for (std::size_t start = 0; start < items.size();) {
            std::size_t end = start + 1;
            while (end < items.size() && (items[end] >> 32) == (items[start] >> 32))
                ++end;
            if (end - start > 1) {
                distinct.clear();
                for (std::size_t at = start; at < end; ++at) {
                    const auto sequence = static_cast<std::int32_t>(items[at] & 0xFFFFFFFFu);
                    const auto first = std::find_if(distinct.begin(), distinct.end(),
                        [&](std::int32_t earlier) { return sameText(entries[earlier], entries[sequence]); });
                    if (first == distinct.end()) {
                        distinct.push_back(sequence);
                    } else {
                        duplicates.push_back(sequence);
                        firsts.push_back(*first);
                    }
                }
            }
            start = end;
        }
    } catch (const std::bad_alloc &) {
        result_.incomplete = true;
        return;
    }
    if (duplicates.empty())
        return;

    // Into reading order: a duplicate after the problems met before its entry was stored.
    std::vector<std::size_t> order(duplicates.size());
    std::vector<LineProblem> merged;
    try {
        for (std::size_t at = 0; at < order.size(); ++at)
            order[at] = at;
        std::sort(
            order.begin(), order.end(), [&](std::size_t x, std::size_t y) { return duplicates[x] < duplicates[y]; });
        merged.reserve(result_.problems.size() + duplicates.size());
    } catch (const std::bad_alloc &) {
        result_.incomplete = true;
        return;
    }
    try {
        duplicateSequences_.reserve(order.size());
        for (const std::size_t at : order)
            duplicateSequences_.push_back(duplicates[at]);
    } catch (const std::bad_alloc &) {
        result_.incomplete = true;
    }
    std::size_t earlier = 0;
    for (const std::size_t at : order) {
        const std::int32_t sequence = duplicates[at];
        // Still a duplicate (written once by an export), but not listed: see beginRereading.
        if (wasReread(sequence))
            continue;
        while (earlier < result_.problems.size() && entriesBefore_[earlier] <= sequence)
            merged.push_back(result_.problems[earlier++]);
        const ReadingPlace place = entryPlace(sequence);
        const ReadingPlace first = entryPlace(firsts[at]);
        merged.push_back(LineProblem { LineProblemReason::Duplicate, place.file, place.line, first.file, first.line });
    }
    merged.insert(
        merged.end(), result_.problems.begin() + static_cast<std::ptrdiff_t>(earlier), result_.problems.end());
    result_.problems.swap(merged);
    entriesBefore_.clear();
}

} // namespace kpx
