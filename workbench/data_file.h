// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/os_file.h"

// Reading and writing a slot's data file: Big5 bytes, lines separated by CR LF (any line break
// is read). Paths are in the program's own form.
namespace kpx {

// The most a data file may hold for the editor to load it. Larger files are refused with the
// capacity message rather than loaded half-way. The 32-bit Windows program peaks at about 6.6
// times a file's size while it loads a file and makes its table (bench/README.md): 64 MB keeps
// that under half a gigabyte, which a 32-bit process holds even with its address space cut up.
inline constexpr std::int64_t kEditorCapacityBytes = 64LL * 1024 * 1024;

struct DataFileRead {
    enum class Status {
        Missing, // no file at the path: the editor stays empty, which is no error
        Loaded, // bytes hold the file's text
        CannotOpen,
        TooLarge,
    };
    Status status = Status::Missing;
    // The file's bytes up to its first zero byte.
    std::string bytes;
    // The line (from 1) holding the first zero byte, which ended the text; 0 without one.
    std::int64_t zeroByteLine = 0;
    // What the system said about the file just before it was read.
    os::FileStatus stamp;
    // CannotOpen: what stands at the path when it is no regular file (never read then).
    os::FileKind kind = os::FileKind::Regular;
};

DataFileRead readDataFile(const std::string &path);

struct DataFileWrite {
    enum class Status {
        Written,
        CannotCreate, // not even a temporary file could be made, or the path is a directory or read-only
        WriteFailed, // writing or putting the finished file in place failed; the old file is unchanged
    };
    Status status = Status::Written;
    std::string reason; // the system's words
    os::ErrorKind reasonKind = os::ErrorKind::None; // and its cause
};

// Replaces the file at path by bytes, or leaves it exactly as it was (ReplacingFile). A symbolic
// link at path stays one: the file it leads to is replaced.
DataFileWrite writeDataFile(const std::string &path, std::string_view bytes);

} // namespace kpx
