// SPDX-License-Identifier: GPL-2.0-or-later
#include "compiler/table_reader.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "compiler/table_format.h"

namespace kpx {
namespace {

const unsigned char *at(std::string_view bytes, std::size_t offset)
{
    return reinterpret_cast<const unsigned char *>(bytes.data()) + offset;
}

bool fail(std::string &error, std::string message)
{
    error = std::move(message);
    return false;
}

// "1 byte", "2 bytes".
std::string counted(std::uint64_t count, const char *one, const char *many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

bool readTable(std::string_view bytes, TableContents &contents, std::string &error)
{
    contents = TableContents {};
    if (bytes.size() < zd::kHeaderSize)
        return fail(error, "truncated: " + counted(bytes.size(), "byte", "bytes") + ", the header alone takes 32");
    if (zd::getUint32(at(bytes, 0)) != zd::kHeaderRecordSize)
        return fail(error, "header record size is " + std::to_string(zd::getUint32(at(bytes, 0))) + ", not 24");
    std::memcpy(contents.tag, at(bytes, zd::kTagOffset), zd::kTagSize);
    if (zd::getUint16(at(bytes, 8)) != zd::kFixedField8 || zd::getUint16(at(bytes, 10)) != zd::kFixedField10
        || zd::getUint32(at(bytes, 20)) != zd::kFixedField20 || zd::getUint32(at(bytes, 24)) != zd::kFixedField24)
        return fail(error, "fixed header fields are not 2, 1, 1, 0");
    contents.count = zd::getUint32(at(bytes, zd::kCountOffset));
    contents.bodySize = zd::getUint32(at(bytes, zd::kBodySizeOffset));
    if (zd::getUint32(at(bytes, zd::kSecondBodySizeOffset)) != contents.bodySize)
        return fail(error, "the two body sizes differ");
    const std::size_t available = bytes.size() - zd::kHeaderSize;
    if (contents.bodySize != available)
        return fail(error,
            "body size is " + std::to_string(contents.bodySize) + " but the file holds "
                + counted(available, "byte", "bytes") + " after the header");
    // Every record takes at least 2 bytes, so a count above half the body cannot be right; this
    // also keeps a hostile count from reserving memory.
    if (contents.count > contents.bodySize / 2)
        return fail(error, "entry count " + std::to_string(contents.count) + " does not fit the body");
    contents.records.reserve(contents.count);
    std::size_t offset = zd::kHeaderSize;
    const std::size_t end = bytes.size();
    for (std::uint32_t record = 0; record < contents.count; ++record) {
        if (offset >= end)
            return fail(error, "record " + std::to_string(record) + " starts past the end of the body");
        const std::size_t keyLength = *at(bytes, offset);
        if (offset + 1 + keyLength + 1 > end)
            return fail(error, "record " + std::to_string(record) + " key runs past the end of the body");
        const std::string_view key = bytes.substr(offset + 1, keyLength);
        offset += 1 + keyLength;
        const std::size_t outputLength = *at(bytes, offset);
        if (offset + 1 + outputLength > end)
            return fail(error, "record " + std::to_string(record) + " output runs past the end of the body");
        const std::string_view output = bytes.substr(offset + 1, outputLength);
        offset += 1 + outputLength;
        contents.records.push_back({ key, output });
    }
    if (offset != end)
        return fail(error,
            counted(end - offset, "byte", "bytes") + " after the last of "
                + counted(contents.count, "record", "records"));
    return true;
}

} // namespace kpx
