// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "compiler/entry_list_p.h"
#include "compiler/line_problems.h"
#include "io/growth.h"

namespace kpx {

// Where the compiler is reading: a file of RunProblems::files (0: the editor's lines) and a
// line in it, from 1.
struct ReadingPlace {
    std::int32_t file = 0;
    std::int32_t line = 0;
};

// The problems of one run, recorded as the compiler meets them. Recording must stay cheap
// beside a million entries: every stored entry costs one line number, and duplicates are found
// once, after the last line, from a hash of every entry.
// Memory running short here only makes the list incomplete; the table is not affected.
class ProblemLog {
public:
    void begin();

    // The file index for path, added to the run's files.
    std::int32_t addFile(const char *path);
    // A line at place made no entry, for reason; subject is a file the line names.
    void lineMadeNoEntry(const ReadingPlace &place, LineProblemReason reason, std::int32_t subject = 0);
    // The include line at place reads the file subject a second time; the include line at
    // earlier read it first.
    void fileReadAgain(const ReadingPlace &place, std::int32_t subject, const ReadingPlace &earlier);
    // From the entry with sequence number next on, a file is being read again: its lines' problems
    // were listed at its first reading, and every entry repeats one read then. Neither is listed
    // again: the warning at the include line stands for them. The calls nest.
    void beginRereading(std::int32_t next);
    void endRereading(std::int32_t next);
    // The entry with the next sequence number was stored from the line at place.
    void entryStored(const ReadingPlace &place)
    {
        if (place.file != lastEntryFile_)
            noteEntryFile(place.file);
        if (!entryLines_.append(place.line))
            result_.incomplete = true;
    }
    // Records the entries that repeat an earlier one. entries must still be in storing order
    // (the sequence number is the index). Once per run; later calls do nothing.
    void findDuplicates(const EntryList &entries);

    const RunProblems &problems() const { return result_; }
    // The sequence numbers of the entries that repeat an earlier one, ascending, once
    // findDuplicates has run.
    const std::vector<std::int32_t> &duplicateSequences() const { return duplicateSequences_; }
    // Where the entry with this sequence number was read; line 0 when that was not recorded.
    ReadingPlace placeOfEntry(std::int32_t sequence) const
    {
        if (sequence < 0 || sequence >= entryLines_.count())
            return ReadingPlace {};
        return entryPlace(sequence);
    }

private:
    void noteEntryFile(std::int32_t file);
    ReadingPlace entryPlace(std::int32_t sequence) const;
    void record(const LineProblem &problem, std::int32_t entriesBefore);

    RunProblems result_;
    std::unordered_map<std::string, std::int32_t> fileIndex_;
    // For each problem in result_: how many entries had been stored before it, to place the
    // duplicates, found later, among them.
    std::vector<std::int32_t> entriesBefore_;
    // The line of every stored entry, by sequence number, and the files they came from as
    // runs: (first sequence number, file).
    GrowableArray<std::int32_t> entryLines_;
    std::vector<std::pair<std::int32_t, std::int32_t>> entryFiles_;
    std::int32_t lastEntryFile_ = 0;
    bool duplicatesFound_ = false;
    // Sequence numbers [first, end) of the entries stored while a file was read again.
    std::vector<std::pair<std::int32_t, std::int32_t>> rereadEntries_;
    std::int32_t rereading_ = 0;
    std::vector<std::int32_t> duplicateSequences_;
};

} // namespace kpx
