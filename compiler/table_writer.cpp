// SPDX-License-Identifier: GPL-2.0-or-later
#include "compiler/table_writer.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "compiler/entry_list_p.h"
#include "compiler/table_format.h"
#include "io/replacing_file.h"

namespace kpx {
namespace {

// Collects the small pieces of the table and hands them to the file in large writes: four
// system calls per entry would cost more than the whole sort.
class BufferedTableOutput {
public:
    explicit BufferedTableOutput(FileHandle &file)
        : file_(file)
    {
    }

    void put(const void *bytes, std::size_t count)
    {
        if (used_ + count > sizeof buffer_)
            flush();
        std::memcpy(buffer_ + used_, bytes, count);
        used_ += count;
    }
    void putByte(unsigned char byte) { put(&byte, 1); }

    void flush()
    {
        if (used_ == 0)
            return;
        const std::int32_t wanted = static_cast<std::int32_t>(used_);
        if (file_.writeBytes(buffer_, wanted) != wanted)
            failed_ = true;
        used_ = 0;
    }
    bool failed() const { return failed_; }

private:
    FileHandle &file_;
    unsigned char buffer_[64 * 1024];
    std::size_t used_ = 0;
    bool failed_ = false;
};

// The tag bytes for an id (its first four bytes; a shorter one with its zero and zero fill), or
// the order's default tag when there is no id.
void tableTag(const char *id, TableOrder order, unsigned char tag[4])
{
    std::memset(tag, 0, zd::kTagSize);
    // Only a missing id means the default; an empty one is copied like any other (all zeros).
    if (id) {
        for (std::size_t at = 0; at < zd::kTagSize && id[at]; ++at)
            tag[at] = static_cast<unsigned char>(id[at]);
        return;
    }
    std::memcpy(tag, order.defaultTag(), zd::kTagSize);
}

TableWriteFailure failureFor(ReplacingFile::Result result)
{
    switch (result) {
    case ReplacingFile::Result::Done:
        return TableWriteFailure::None;
    case ReplacingFile::Result::ReadOnly:
        return TableWriteFailure::ReadOnly;
    case ReplacingFile::Result::CannotCreate:
        return TableWriteFailure::CannotCreate;
    case ReplacingFile::Result::WriteFailed:
        return TableWriteFailure::WriteFailed;
    case ReplacingFile::Result::CannotReplace:
        return TableWriteFailure::CannotReplace;
    case ReplacingFile::Result::OutOfMemory:
        return TableWriteFailure::OutOfMemory;
    }
    return TableWriteFailure::WriteFailed;
}

} // namespace

TableWriteFailure writeTableFile(const char *path, const TableImage &image, TableWriteReport &report)
{
    if (!path || !*path)
        return TableWriteFailure::NoPath;
    ReplacingFile table(path);
    if (const ReplacingFile::Result opened = table.begin(); opened != ReplacingFile::Result::Done) {
        report.reason = table.reason();
        report.reasonKind = table.reasonKind();
        return failureFor(opened);
    }
    std::unique_ptr<BufferedTableOutput> output;
    try {
        output = std::make_unique<BufferedTableOutput>(table.file());
    } catch (const std::bad_alloc &) {
        return TableWriteFailure::OutOfMemory;
    }

    std::uint64_t bodySize = 0;
    for (std::int32_t at = 0; at < image.count; ++at)
        bodySize += image.entries[at].keyLength + image.entries[at].outputLength + 2u;
    unsigned char header[zd::kHeaderSize] = {};
    zd::putUint32(header, zd::kHeaderRecordSize);
    tableTag(image.id, image.order, header + zd::kTagOffset);
    zd::putUint16(header + 8, zd::kFixedField8);
    zd::putUint16(header + 10, zd::kFixedField10);
    zd::putUint32(header + zd::kCountOffset, static_cast<std::uint32_t>(image.count));
    zd::putUint32(header + zd::kBodySizeOffset, static_cast<std::uint32_t>(bodySize));
    zd::putUint32(header + 20, zd::kFixedField20);
    zd::putUint32(header + 24, zd::kFixedField24);
    zd::putUint32(header + zd::kSecondBodySizeOffset, static_cast<std::uint32_t>(bodySize));
    output->put(header, sizeof header);
    for (std::int32_t at = 0; at < image.count; ++at) {
        const Entry &entry = image.entries[at];
        output->putByte(entry.keyLength);
        output->put(entry.key(), entry.keyLength);
        output->putByte(entry.outputLength);
        output->put(entry.output(), entry.outputLength);
    }
    output->flush();

    const ReplacingFile::Result result = table.finish(!output->failed() && bodySize <= UINT32_MAX);
    if (result != ReplacingFile::Result::Done) {
        report.reason = table.reason();
        report.reasonKind = table.reasonKind();
    }
    return failureFor(result);
}

} // namespace kpx
