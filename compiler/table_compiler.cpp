// SPDX-License-Identifier: GPL-2.0-or-later
#include "compiler/table_compiler.h"

#include "compiler/collation.h"
#include "compiler/entry_sort.h"
#include "compiler/table_compiler_object.h"
#include "compiler/table_writer.h"

#include <cstring>
#include <new>

char TableCompiler::normalisedOrderDigit(char digit) { return normalisedOrder(digit); }

std::int32_t TableCompiler::begin(std::int32_t reserve)
{
    // The entries' blocks go all at once; the array and its capacity stay for the next run.
    texts_.release();
    entries_.empty();
    sequence_ = 0;
    outOfMemory_ = false;
    if (!entries_.reserveExactly(reserve))
        noteOutOfMemory();
    idOverride_.clear();
    outputPathOverride_.clear();
    return 1;
}

void TableCompiler::addLine(const char *line)
{
    if (!line || outOfMemory_)
        return;
    // classifyLine works in place, so it gets a private copy of the caller's line.
    TextBuffer buffer;
    if (!buffer.set(line)) {
        noteOutOfMemory();
        return;
    }
    classifyLine(*this, buffer);
}

void TableCompiler::addEntry(const char *key, const char *output)
{
    const std::size_t keyLength = std::strlen(key);
    if (keyLength > kMaxKeyBytes)
        return;
    const std::size_t outputLength = std::strlen(output);
    const std::size_t size = keyLength + outputLength + 2;
    if (size > kMaxEntryBlock)
        return;
    char *block = texts_.allocate(size);
    if (!block) {
        noteOutOfMemory();
        return;
    }
    std::memcpy(block, key, keyLength + 1);
    std::memcpy(block + keyLength + 1, output, outputLength + 1);
    if (!entries_.append(Entry{sequence_, block})) {
        noteOutOfMemory();
        return;
    }
    ++sequence_;
}

int TableCompiler::compareEntries(const Entry &x, const Entry &y) const
{
    const int byKey = keyComparisonFor(order_)(x.key(), y.key());
    return byKey != 0 ? byKey : x.sequence - y.sequence;
}

namespace {

// The entry order for one key order, compiled per order so that the comparison is inlined.
template <int (*CompareKeys)(const char *, const char *)>
void sortWith(EntryList &entries)
{
    sortEntryRange(entries.begin(), 0, entries.count(), [](const Entry &x, const Entry &y) {
        const int byKey = CompareKeys(x.key(), y.key());
        return byKey != 0 ? byKey : x.sequence - y.sequence;
    });
}

} // namespace

void TableCompiler::sortEntries()
{
    switch (normalisedOrder(order_)) {
    case kOrderPy:
        sortWith<compareKeysPy>(entries_);
        break;
    case kOrderIb:
        sortWith<compareKeysIb>(entries_);
        break;
    default:
        sortWith<compareKeysTy>(entries_);
        break;
    }
}

std::int32_t TableCompiler::orderAndSort(char digit)
{
    setOrder(digit);
    sortEntries();
    return 1;
}

std::int32_t TableCompiler::write(const char *path, const char *id)
{
    if (outputPathOverride_.hasValue())
        path = outputPathOverride_.get();
    if (idOverride_.hasValue())
        id = idOverride_.get();
    lastWrite_ = TableWriteReport{};
    try {
        lastWrite_.path = path ? path : "";
    } catch (const std::bad_alloc &) {
    }
    if (outOfMemory_) {
        lastWrite_.failure = TableWriteFailure::OutOfMemory;
        return 0;
    }
    const TableImage image{entries_.begin(), entries_.count(), id, order_};
    lastWrite_.failure = writeTableFile(tableFile_, path, image, lastWrite_.reason);
    lastWrite_.written = lastWrite_.failure == TableWriteFailure::None;
    return lastWrite_.written ? 1 : 0;
}

// --- The program's one compiler and its entry points ---

namespace {

TableCompiler &theCompiler()
{
    static TableCompiler compiler;
    return compiler;
}

} // namespace

std::int32_t tc_begin(std::int32_t reserve) { return theCompiler().begin(reserve); }

void tc_add_line(const char *line) { theCompiler().addLine(line); }

std::int32_t tc_order_and_sort(char digit) { return theCompiler().orderAndSort(digit); }

std::int32_t tc_write(const char *path, const char *id) { return theCompiler().write(path, id); }

std::int32_t tc_count() { return theCompiler().count(); }

const TableWriteReport &tc_last_write() { return theCompiler().lastWrite(); }

void tc_set_progress_step(std::function<void()> step) { theCompiler().setProgressStep(std::move(step)); }
