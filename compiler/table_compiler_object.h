// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "compiler/entry_list.h"
#include "io/file_handle.h"
#include "compiler/table_compiler.h"
#include "io/text_buffer.h"

#include <cstdint>
#include <functional>
#include <vector>

// The compiler's one object: the entries of the current run, the order they are sorted in and
// the two values with which include lines redirect the output. The program reaches it only
// through the tc_* functions; tests may make their own.
class TableCompiler {
public:
    TableCompiler() = default;
    TableCompiler(const TableCompiler &) = delete;
    TableCompiler &operator=(const TableCompiler &) = delete;

    std::int32_t begin(std::int32_t reserve);
    void addLine(const char *line);
    std::int32_t orderAndSort(char digit);
    std::int32_t write(const char *path, const char *id);
    std::int32_t count() const { return entries_.count(); }

    // Stores one entry; refuses (silently) a key over 32 bytes or a block over 96 bytes.
    void addEntry(const char *key, const char *output);
    void setOrder(char digit) { order_ = normalisedOrderDigit(digit); }
    char order() const { return order_; }

    // An include line's argument (changed in place). 1 when it named a file to read.
    std::int32_t includeDirective(char *argument);
    // Compiles the lines of a file; the number of entries they stored.
    std::int32_t includeFile(const char *path);

    // Negative when x goes before y: the key order, then the order of storing.
    int compareEntries(const Entry &x, const Entry &y) const;
    void sortEntries();

    const EntryList &entries() const { return entries_; }
    const TextBuffer &idOverride() const { return idOverride_; }
    const TextBuffer &outputPathOverride() const { return outputPathOverride_; }
    TextBuffer &idOverride() { return idOverride_; }
    TextBuffer &outputPathOverride() { return outputPathOverride_; }
    const TableWriteReport &lastWrite() const { return lastWrite_; }
    // True when memory ran out during this run: the run's table is then not written.
    bool outOfMemory() const { return outOfMemory_; }
    void noteOutOfMemory() { outOfMemory_ = true; }

    void setProgressStep(std::function<void()> step) { progressStep_ = std::move(step); }
    void progressStep() const
    {
        if (progressStep_)
            progressStep_();
    }

    static constexpr std::size_t kMaxKeyBytes = 32;
    static constexpr std::size_t kMaxOutputBytes = 64;
    static constexpr std::size_t kMaxEntryBlock = 96;

private:
    static char normalisedOrderDigit(char digit);
    bool writeTableTo(const char *path, const char *id);

    FileHandle tableFile_;
    EntryList entries_;
    EntryTextStore texts_;
    char order_ = '1';
    TextBuffer idOverride_;
    TextBuffer outputPathOverride_;
    std::int32_t sequence_ = 0;
    bool outOfMemory_ = false;
    // Files being read by include lines right now, so that a cycle is not followed.
    std::vector<kpx::os::FileIdentity> includeChain_;
    std::function<void()> progressStep_;
    TableWriteReport lastWrite_;
};

// Splits and classifies one line held in buffer (which it changes): a data line becomes an
// entry, an include line goes to includeDirective. 1 for a data line or an include line that
// named a file, else 0.
std::int32_t classifyLine(TableCompiler &compiler, TextBuffer &buffer);
