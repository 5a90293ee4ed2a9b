// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>

#include "io/file_handle.h"
#include "io/text_buffer.h"

namespace kpx {

// Delivers a text file line by line through a small block. CR LF, a CR alone and an LF alone
// each end a line, so a file reads the same whatever system's editor wrote it. The last line
// needs no line end.
//
// Zero bytes read from the file are dropped: these are text files, and a stray zero must
// neither hide the lines after it nor, in a file of zeros, make one endless line. (A file
// saved as UTF-16 then still gives its ASCII keys.)
class LineReader {
public:
    static constexpr std::int32_t kBlockSize = 136;

    explicit LineReader(std::int32_t blockSize = kBlockSize);
    ~LineReader();
    LineReader(const LineReader &) = delete;
    LineReader &operator=(const LineReader &) = delete;

    // Non-zero when the file is open; kind tells a file that is no regular file, which is not
    // opened (FileHandle::openRead). Bytes still held from an earlier file are kept.
    std::int32_t openForReading(const char *path, os::FileKind *kind = nullptr);
    void closeFile() { file_.close(); }
    FileHandle &file() { return file_; }

    // Appends the next line to text. False when memory ran out.
    bool readLine(TextBuffer &text);
    // 1 with the next line that is neither empty nor begins with "//", 0 at the end of the file.
    std::int32_t nextLine(TextBuffer &text);
    bool atEnd() const { return endOfFile_ && used_ == 0; }
    // The number of the line readLine or nextLine delivered last, from 1 since the file was
    // opened; empty and "//" lines that nextLine passes over are counted.
    std::int32_t lineNumber() const { return lineNumber_; }
    // True once a line could not be held for want of memory; the lines after it are lost.
    bool outOfMemory() const { return outOfMemory_; }

private:
    void fill();

    FileHandle file_;
    std::int32_t blockSize_;
    bool endOfFile_ = false;
    bool outOfMemory_ = false;
    char *block_ = nullptr;
    std::int32_t used_ = 0; // bytes held at the start of the block
    std::int32_t lineNumber_ = 0;
};

} // namespace kpx
