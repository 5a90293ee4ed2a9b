// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What a table run tells about the lines that made no entry, so that the user can find them:
// a word list of thousands of lines otherwise only shows a count lower than expected.
namespace kpx {

enum class LineProblemReason : std::uint8_t {
    OneColumn, // a single word: no output text
    KeyTooLong, // over 32 bytes
    OutputTooLong, // over 64 bytes
    EntryTooLong, // key and output together over the entry's limit
    IncludeNotOpened, // the include line's file (subject) cannot be opened
    IncludeCycle, // the include line's file (subject) is being read already
    OverrideTooShort, // "o=" or "id=" with too little behind it, read as a file (subject) that is not there
    Duplicate, // key and output repeat an earlier entry (subject, subjectLine) exactly; still stored
    IncludeIsDirectory, // the include line's file (subject) is not a regular file but a directory
    IncludeIsDevice, // ... but a device (never opened: it may give bytes without end)
    IncludeIsNamedPipe, // ... but a named pipe (never opened: it may wait without end)
    TableFull, // the entries up to this line are all a table can hold: the run stopped here
    // Warnings: the line is read as always, and the table is the same with or without them.
    IncludeAtLineStart, // an include line at the first byte of a line in an include file: passed over
    IncludeReadAgain, // the include file (subject) was read before, by the include line at
                      // (earlierFile, subjectLine): its entries are stored again, not listed as duplicates
};

// True for the reasons that are warnings: the line did what it always does.
inline bool isWarning(LineProblemReason reason)
{
    return reason == LineProblemReason::IncludeAtLineStart || reason == LineProblemReason::IncludeReadAgain;
}

struct LineProblem {
    LineProblemReason reason;
    std::int32_t file; // index into RunProblems::files; 0 for the lines handed to tc_add_line
    std::int32_t line; // from 1: the editor's line, or the line in that file
    std::int32_t subject = 0; // the file an include line names, or the file of the first entry
    std::int32_t subjectLine = 0; // Duplicate: the line of the first entry
    std::int32_t earlierFile = 0; // IncludeReadAgain: the file of the include line that read it first
};

struct RunProblems {
    // The files named in the run; files[0] is empty and stands for the lines of tc_add_line.
    std::vector<std::string> files { std::string() };
    // In the order the lines were read: an include file's lines stand where its include line does.
    std::vector<LineProblem> problems;
    // Lines that made no entry: every problem but duplicates, which were stored, and warnings.
    std::int32_t linesWithoutEntry = 0;
    std::int32_t warnings = 0;
    // Set when memory ran out while problems were recorded: the list may lack some.
    bool incomplete = false;

    const std::string &fileOf(const LineProblem &problem) const
    {
        return files[static_cast<std::size_t>(problem.file)];
    }
};

} // namespace kpx
