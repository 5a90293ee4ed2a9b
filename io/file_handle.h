// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>

#include "platform/os_file.h"

namespace kpx {

// One file of the program's own input and output: a system handle (0 = no file) and an open
// flag. Unbuffered; failures show only in the results. Movable, so that whatever writes a
// file can own its handle; a moved-from record is closed.
class FileHandle {
public:
    FileHandle() = default;
    ~FileHandle() { close(); }
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;
    FileHandle(FileHandle &&other) noexcept;
    FileHandle &operator=(FileHandle &&other) noexcept;

    // Opens an existing regular file for reading. The handle, 0 when it cannot be opened (also
    // for an empty or null path, without asking the system) or is no regular file (kind says
    // what it is then: os::openReadOnly). A file still open is closed first.
    std::int32_t openRead(const char *path, os::FileKind *kind = nullptr);
    // Creates the file, or empties an existing one, for reading and writing.
    std::int32_t create(const char *path);
    // Always 1.
    std::int32_t close();
    std::int32_t isOpen() const { return handle_; }

    // Bytes written, -1 on a system error, 0 without a file.
    std::int32_t writeBytes(const void *buffer, std::int32_t count);
    std::int32_t writeText(const char *text);
    std::int32_t writeLine(const char *text);
    std::int32_t writeByte(char byte);
    // Bytes read; fewer than count at the end of the file, -1 on a system error.
    std::int32_t readBytes(void *buffer, std::int32_t count);
    // Non-zero when the file can be opened for reading; the record is left closed.
    std::int32_t exists(const char *path);

    // Flushes written data to the disk. False on an error.
    bool sync();

private:
    template <typename Open> std::int32_t openWith(const char *path, Open open);

    std::int32_t handle_ = 0;
    std::int32_t open_ = 0;
};

} // namespace kpx
