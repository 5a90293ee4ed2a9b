// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "compiler/columns_p.h"
#include "compiler/compiled_entries.h"
#include "compiler/entry_list_p.h"
#include "compiler/problem_log_p.h"
#include "compiler/run_inputs.h"
#include "compiler/table_order.h"
#include "compiler/table_writer.h"
#include "io/text_buffer.h"
#include "platform/os_file.h"

namespace kpx {

// The compiler's one object: the entries of the current run, the order they are sorted in and
// the two values with which include lines redirect the output. The program reaches it only
// through the tc_* functions; tests may make their own.
class TableCompiler {
public:
    TableCompiler() = default;
    TableCompiler(const TableCompiler &) = delete;
    TableCompiler &operator=(const TableCompiler &) = delete;

    std::int32_t begin(std::int32_t reserve);
    // Compiles a copy of line; the caller's text is left alone.
    void addLine(const char *line);
    std::int32_t orderAndSort(char digit);
    std::int32_t write(const char *path, const char *id);
    std::int32_t count() const { return entries_.count(); }

    // What a table can hold: its body's size is a 32-bit number, and so is its entry count,
    // which the program keeps signed. A run that collects more stops at once.
    static constexpr std::uint64_t kMaxBodyBytes = 0xFFFFFFFFu;
    static constexpr std::int32_t kMaxEntries = 0x7FFFFFFF;
    // Lowers both limits (tests: a full table without gigabytes).
    void setCapacity(std::uint64_t bodyBytes, std::int32_t entries)
    {
        maxBodyBytes_ = bodyBytes;
        maxEntries_ = entries;
    }
    // True once the run stopped taking lines: memory ran out, or its entries filled a table.
    bool stopped() const { return outOfMemory_ || tableFull_; }
    // The run's data file and include files, which its table must not replace.
    const RunInputs &inputs() const { return inputs_; }

    // Classifies one line held in buffer (which it changes) and acts on it: a data line becomes
    // an entry, an include line sets an override or reads a file. 1 for a data line or an
    // include line that named a file, else 0.
    std::int32_t compileLine(TextBuffer &buffer);
    // Compiles the lines of a file; the number of entries they stored.
    std::int32_t includeFile(const char *path);
    // Stores one entry; refuses (silently) a key over 32 bytes or a block over 96 bytes.
    void addEntry(const char *key, const char *output);

    void setOrder(char digit) { order_ = TableOrder::fromDigit(digit); }
    TableOrder order() const { return order_; }

    const EntryList &entries() const { return entries_; }
    const TextBuffer &idOverride() const { return idOverride_; }
    const TextBuffer &outputPathOverride() const { return outputPathOverride_; }
    const TableWriteReport &lastWrite() const { return lastWrite_; }
    // The lines of this run that made no entry, and the duplicates once the run is sorted.
    const RunProblems &problems() const { return problems_.problems(); }
    // Comment and include lines of this run.
    const CompiledLineCounts &lineCounts() const { return lineCounts_; }
    bool outOfMemory() const { return outOfMemory_; }
    ReadingPlace entryPlace(std::int32_t sequence) const { return problems_.placeOfEntry(sequence); }
    // Finds the entries that repeat an earlier one without sorting (a sort does it too).
    void findDuplicates() { problems_.findDuplicates(entries_); }
    const std::vector<std::int32_t> &duplicateSequences() const { return problems_.duplicateSequences(); }

    void setProgressStep(std::function<void()> step) { progressStep_ = std::move(step); }
    // The file of the run's own text, the include chain's first link (tc_set_source_file).
    void setSourceFile(const char *path);
    void setIncludeLineFilter(std::function<bool(const char *, std::int32_t, std::string &)> filter)
    {
        includeLineFilter_ = std::move(filter);
    }

private:
    static constexpr std::size_t kMaxEntryBlock = 96;

    void sortEntries();
    void addEntry(const char *key, std::size_t keyLength, const char *output, std::size_t outputLength);
    void setOverride(TextBuffer &override, const char *value);
    void includeNotRead(LineProblemReason reason, const char *path);
    bool isIncludeLine(const char *line);
    void noteOutOfMemory() { outOfMemory_ = true; }
    void progressStep() const
    {
        if (progressStep_)
            progressStep_();
    }

    EntryList entries_;
    EntryTextStore texts_;
    TableOrder order_;
    TextBuffer idOverride_;
    TextBuffer outputPathOverride_;
    std::int32_t sequence_ = 0;
    // Set when memory ran out during this run: the run's table is then not written.
    bool outOfMemory_ = false;
    // Files being read by include lines right now, so that a cycle is not followed.
    std::vector<os::FileIdentity> includeChain_;
    // The run's own file, when it has one.
    os::FileIdentity sourceFile_;
    bool hasSourceFile_ = false;
    // Every file the run read, and the include lines that read the include files first.
    RunInputs inputs_;
    struct FirstRead {
        os::FileIdentity identity;
        ReadingPlace includeLine;
    };
    std::vector<FirstRead> filesRead_;
    // Set when the entries reached the capacity: the run's table is then not written.
    bool tableFull_ = false;
    std::uint64_t bodyBytes_ = 0;
    std::uint64_t maxBodyBytes_ = kMaxBodyBytes;
    std::int32_t maxEntries_ = kMaxEntries;
    std::function<void()> progressStep_;
    std::function<bool(const char *, std::int32_t, std::string &)> includeLineFilter_;
    TableWriteReport lastWrite_;
    ProblemLog problems_;
    CompiledLineCounts lineCounts_;
    // The line being compiled; an include file's lines take the place while it is read.
    ReadingPlace reading_;
    // Scratch space reused line after line: the caller's copy of an editor line, and the
    // columns of the line being classified (done with before an include is followed).
    TextBuffer editorLine_;
    TextBuffer probeLine_;
    ColumnList columns_;
};

} // namespace kpx
