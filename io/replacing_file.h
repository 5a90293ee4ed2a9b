// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "io/file_handle.h"

#include <string>

// Writes a file under a temporary name beside its target and puts it in the target's place only
// once every byte is written and flushed to the disk, so that a failure at any point (a full
// disk, a killed process) leaves what stood at the target exactly as it was.
class ReplacingFile {
public:
    enum class Result {
        Done,
        ReadOnly,      // a read-only file or a directory stands at the target
        CannotCreate,  // no temporary file could be made (e.g. the directory is missing)
        WriteFailed,   // a write failed or came short, or the flush failed
        CannotReplace, // the finished file could not take the target's place
        OutOfMemory,
    };

    // Writing goes through file, which must be closed. An empty or null target is ReadOnly.
    ReplacingFile(FileHandle &file, const char *targetPath);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile &) = delete;
    ReplacingFile &operator=(const ReplacingFile &) = delete;

    // Done when the temporary file is open for writing.
    Result begin();
    // Puts the file in the target's place when the writer says it wrote everything, else
    // discards it.
    Result finish(bool everythingWritten);
    // The system's words for the last failure.
    const std::string &reason() const { return reason_; }

private:
    void discard();

    FileHandle &file_;
    const char *target_;
    std::string temporary_;
    std::string reason_;
};
