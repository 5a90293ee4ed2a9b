// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

#include "io/file_handle.h"
#include "platform/os_file.h"

namespace kpx {

// Writes a file under a temporary name beside its target and puts it in the target's place only
// once every byte is written and flushed to the disk, so that a failure at any point (a full
// disk, a killed process) leaves what stood at the target exactly as it was. A target that is a
// symbolic link stays one: the file it leads to is written and replaced (on POSIX systems).
class ReplacingFile {
public:
    enum class Result {
        Done,
        ReadOnly, // a read-only file or a directory stands at the target
        CannotCreate, // no temporary file could be made (e.g. the directory is missing), or a
                      // chain of links at the target could not be followed
        WriteFailed, // a write failed or came short, or the flush failed
        CannotReplace, // the finished file could not take the target's place
        OutOfMemory,
    };

    // An empty or null target is ReadOnly.
    explicit ReplacingFile(const char *targetPath);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile &) = delete;
    ReplacingFile &operator=(const ReplacingFile &) = delete;

    // Done when the temporary file is open for writing through file().
    Result begin();
    FileHandle &file() { return file_; }
    // Puts the file in the target's place when the writer says it wrote everything, else
    // discards it.
    Result finish(bool everythingWritten);
    // The system's words for the last failure, and its cause.
    const std::string &reason() const { return reason_; }
    os::ErrorKind reasonKind() const { return reasonKind_; }

private:
    void discard();
    void noteFailure();

    FileHandle file_;
    const char *givenTarget_;
    std::string target_; // the file that is replaced, after following links
    std::string temporary_;
    std::string reason_;
    os::ErrorKind reasonKind_ = os::ErrorKind::None;
};

} // namespace kpx
