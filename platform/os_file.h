// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <string>

// The operating system's file calls, as thin as the Win32 ones they stand for
// (_lopen, _lcreat, _lread, _lwrite, _lclose). Paths are given in the program's own form
// (Windows form, Big5 bytes) and mapped to native paths here; on Windows they are converted
// with the program's code page 950 table, whatever the system's code page.
namespace kpx::os {

// What the file record stores: 0 means "no file" and -1 a failed open or create. On POSIX the
// token is the descriptor plus one, so descriptor 0 is still a file.
using FileToken = std::int32_t;
inline constexpr FileToken kNoFile = 0;
inline constexpr FileToken kFailed = -1;

// What stands at a path that is to be read.
enum class FileKind : std::uint8_t { Regular, Directory, Device, NamedPipe };
// Opens an existing regular file read-only. kFailed when it cannot be opened, and when it is not a
// regular file: a device or a named pipe could give bytes forever or wait forever, so neither is
// opened for reading (no call here waits on one); *kind then says what it is. kind stays Regular
// when the open itself failed (the system's error tells why).
FileToken openReadOnly(const char *path, FileKind *kind = nullptr);
// Creates a file or empties an existing one, opened for reading and writing.
FileToken createTruncate(const char *path);
// Bytes read, -1 on error; fewer than asked means the end of the file.
std::int32_t readFrom(FileToken file, void *buffer, std::int32_t count);
// Bytes written, -1 on error.
std::int32_t writeTo(FileToken file, const void *buffer, std::int32_t count);
// Flushes the file's data to the disk; false when the system reports an error.
bool syncToDisk(FileToken file);
void closeFile(FileToken file);

// --- Replacing a file only once its successor is complete ---

// The file that writing to path should replace: when path is a symbolic link (or a chain of
// them), the file at the chain's end, whether it exists or not, so that the link stays a link;
// otherwise path itself. False when the chain cannot be followed (a loop, an unreadable link,
// a name the program's path form cannot express).
bool replacementTarget(const char *path, std::string &target);

// True when a file may be written at path: the directory exists, and an existing file there is
// a regular file that is not marked read-only.
bool canReplace(const char *path);
// A name for a temporary file in the same directory as path, unique to this process.
std::string temporaryPathBeside(const char *path);
// The system's directory for temporary files in the program's form of paths, without a closing
// separator; empty when the system names none that the program's form can express.
std::string temporaryDirectory();
// Moves the finished temporary file over the target in one step, keeping the target's
// attributes. Busy when another program holds the target open (Windows refuses to move a file
// over one opened without delete sharing) or a scanner holds either file for a moment.
enum class ReplaceOutcome { Replaced, Busy, Failed };
ReplaceOutcome replaceFile(const char *temporaryPath, const char *targetPath);
// The last resort for a busy target: writes the source file's bytes into the existing target
// and cuts it to their length, as a program that truncates in place would. The disk space is
// claimed before the first byte is written. False on failure; the target may then hold part of
// the new bytes.
bool overwriteInPlace(const char *sourcePath, const char *targetPath);
void pauseMilliseconds(int milliseconds);
void removeFile(const char *path);
// Creates the directory at path (its parent must exist). False, with the system's error, when it
// could not be made, also when something already stands there.
bool makeDirectory(const char *path);

// --- What the system says about files ---

// What the system says about a path, without opening it.
struct FileStatus {
    bool exists = false;
    bool isDirectory = false;
    std::int64_t size = 0;
    // The system's time stamp of the last change; only compared with another one of the same file.
    std::int64_t modified = 0;
    bool operator==(const FileStatus &) const = default;
};
// exists is false when the system cannot be asked. Links are followed.
FileStatus fileStatus(const char *path);

// The system's description of the last failed call on this thread (strerror / FormatMessage);
// empty when the system recorded no error.
std::string lastErrorText();

// The common causes of a failed call, which the program words itself; Other for the rest.
enum class ErrorKind { None, NoSuchFile, PermissionDenied, ReadOnlyFileSystem, DiskFull, Other };
// The cause of the last failed call on this thread (errno / GetLastError).
ErrorKind lastErrorKind();

// Identity of an open file (device and file number), so that two spellings of one path can be
// recognised. False when the system cannot tell.
struct FileIdentity {
    unsigned long long volume = 0;
    unsigned long long index = 0;
    bool operator==(const FileIdentity &) const = default;
};
bool fileIdentity(FileToken file, FileIdentity &identity);
// The identity of the file at path (links followed), without reading it. False when nothing is
// there, or a device, which is never asked.
bool pathIdentity(const char *path, FileIdentity &identity);

} // namespace kpx::os
