// SPDX-License-Identifier: GPL-2.0-or-later
#include "io/line_reader.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace kpx {

LineReader::LineReader(std::int32_t blockSize)
    // A kept CR takes one byte of the block, so the block needs room for at least one more.
    : blockSize_(blockSize >= 2 ? blockSize : kBlockSize)
{
    block_ = static_cast<char *>(std::calloc(static_cast<std::size_t>(blockSize_) + 1, 1));
    if (!block_)
        throw std::bad_alloc();
}

LineReader::~LineReader()
{
    file_.close();
    std::free(block_);
}

std::int32_t LineReader::openForReading(const char *path, os::FileKind *kind)
{
    endOfFile_ = false;
    lineNumber_ = 0;
    return file_.openRead(path, kind);
}

namespace {

// Where the first CR or LF among the count bytes lies, -1 when there is none.
std::int32_t lineEndIn(const char *bytes, std::int32_t count)
{
    for (std::int32_t at = 0; at < count; ++at) {
        if (bytes[at] == '\r' || bytes[at] == '\n')
            return at;
    }
    return -1;
}

} // namespace

void LineReader::fill()
{
    const std::int32_t wanted = blockSize_ - used_;
    std::int32_t got = file_.readBytes(block_ + used_, wanted);
    // A read error ends the file like a short read does.
    if (got < 0)
        got = 0;
    if (got < wanted)
        endOfFile_ = true;
    char *const start = block_ + used_;
    char *const end = start + got;
    char *kept = static_cast<char *>(std::memchr(start, 0, static_cast<std::size_t>(got)));
    if (kept) {
        for (const char *byte = kept; byte < end; ++byte) {
            if (*byte != 0)
                *kept++ = *byte;
        }
        got = static_cast<std::int32_t>(kept - start);
    }
    used_ += got;
    block_[used_] = 0;
}

bool LineReader::readLine(TextBuffer &text)
{
    ++lineNumber_;
    if (used_ == 0)
        fill();
    for (;;) {
        const std::int32_t at = lineEndIn(block_, used_);
        // An LF ends its line at once; after a CR the next byte must be seen first.
        if (at >= 0 && (block_[at] == '\n' || at + 1 < used_)) {
            if (!text.append(block_, static_cast<std::size_t>(at)))
                return false;
            std::int32_t next = at + 1;
            if (block_[at] == '\r' && block_[next] == '\n')
                ++next;
            used_ -= next;
            std::memmove(block_, block_ + next, static_cast<std::size_t>(used_) + 1);
            // A line end that was the last byte of a full block may also be the last of the
            // file: look ahead, so that atEnd() tells and no empty line follows.
            if (used_ == 0 && !endOfFile_)
                fill();
            return true;
        }
        bool keptCr = false;
        if (at < 0) {
            if (!text.append(block_, static_cast<std::size_t>(used_)))
                return false;
            used_ = 0;
        } else {
            // The CR is the last byte held: whether an LF follows is not known yet.
            if (!text.append(block_, static_cast<std::size_t>(at)))
                return false;
            block_[0] = '\r';
            used_ = 1;
            keptCr = true;
        }
        block_[used_] = 0;
        if (endOfFile_) {
            if (keptCr) {
                used_ = 0;
                block_[0] = 0;
            }
            return true;
        }
        fill();
    }
}

std::int32_t LineReader::nextLine(TextBuffer &text)
{
    for (;;) {
        text.clear();
        if (!readLine(text)) {
            outOfMemory_ = true;
            return 0;
        }
        const char *line = text.get();
        if (line && line[0] != 0 && !(line[0] == '/' && line[1] == '/'))
            return 1;
        if (atEnd())
            return 0;
    }
}

} // namespace kpx
