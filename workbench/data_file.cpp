// SPDX-License-Identifier: GPL-2.0-or-later
#include "workbench/data_file.h"

#include <algorithm>
#include <cstring>

#include "io/file_handle.h"
#include "io/replacing_file.h"

namespace kpx {
namespace {

// Reads and writes go in pieces the file calls' 32-bit counts can hold.
constexpr std::int32_t kPieceBytes = 16 * 1024 * 1024;

} // namespace

DataFileRead readDataFile(const std::string &path)
{
    DataFileRead result;
    result.stamp = os::fileStatus(path.c_str());
    if (!result.stamp.exists)
        return result; // Missing
    if (result.stamp.isDirectory) {
        result.status = DataFileRead::Status::CannotOpen;
        result.kind = os::FileKind::Directory;
        return result;
    }
    if (result.stamp.size > kEditorCapacityBytes) {
        result.status = DataFileRead::Status::TooLarge;
        return result;
    }
    FileHandle file;
    if (!file.openRead(path.c_str(), &result.kind)) {
        result.status = DataFileRead::Status::CannotOpen;
        return result;
    }
    // The size may have changed since it was looked at; read what is there, within capacity.
    std::string &bytes = result.bytes;
    bytes.resize(static_cast<std::size_t>(std::min<std::int64_t>(result.stamp.size, kEditorCapacityBytes)) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (static_cast<std::int64_t>(filled) > kEditorCapacityBytes) {
                result.status = DataFileRead::Status::TooLarge;
                bytes.clear();
                return result;
            }
            bytes.resize(std::min<std::size_t>(filled * 2, static_cast<std::size_t>(kEditorCapacityBytes) + 1));
        }
        const auto wanted = static_cast<std::int32_t>(std::min<std::size_t>(bytes.size() - filled, kPieceBytes));
        const std::int32_t got = file.readBytes(bytes.data() + filled, wanted);
        if (got < 0) {
            result.status = DataFileRead::Status::CannotOpen;
            bytes.clear();
            return result;
        }
        filled += static_cast<std::size_t>(got);
        if (got < wanted)
            break;
    }
    if (static_cast<std::int64_t>(filled) > kEditorCapacityBytes) {
        result.status = DataFileRead::Status::TooLarge;
        bytes.clear();
        return result;
    }
    // A zero byte ends the text.
    if (const void *zero = std::memchr(bytes.data(), 0, filled)) {
        filled = static_cast<std::size_t>(static_cast<const char *>(zero) - bytes.data());
        // Lines end at CR LF, a lone CR or a lone LF.
        result.zeroByteLine = 1;
        for (std::size_t i = 0; i < filled; ++i) {
            if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == filled || bytes[i + 1] != '\n')))
                ++result.zeroByteLine;
        }
    }
    bytes.resize(filled);
    result.status = DataFileRead::Status::Loaded;
    return result;
}

DataFileWrite writeDataFile(const std::string &path, std::string_view bytes)
{
    DataFileWrite result;
    ReplacingFile replacing(path.c_str());
    FileHandle &file = replacing.file();
    switch (replacing.begin()) {
    case ReplacingFile::Result::Done:
        break;
    case ReplacingFile::Result::OutOfMemory:
        result.status = DataFileWrite::Status::WriteFailed;
        return result;
    default:
        result.status = DataFileWrite::Status::CannotCreate;
        result.reason = replacing.reason();
        result.reasonKind = replacing.reasonKind();
        return result;
    }
    bool written = true;
    for (std::size_t at = 0; written && at < bytes.size();) {
        const auto count = static_cast<std::int32_t>(std::min<std::size_t>(bytes.size() - at, kPieceBytes));
        written = file.writeBytes(bytes.data() + at, count) == count;
        at += static_cast<std::size_t>(count);
    }
    if (replacing.finish(written) != ReplacingFile::Result::Done) {
        result.status = DataFileWrite::Status::WriteFailed;
        result.reason = replacing.reason();
        result.reasonKind = replacing.reasonKind();
    }
    return result;
}

} // namespace kpx
