// SPDX-License-Identifier: GPL-2.0-or-later
#include "io/file_handle.h"

#include <cstring>
#include <utility>

namespace kpx {

FileHandle::FileHandle(FileHandle &&other) noexcept
    : handle_(std::exchange(other.handle_, 0))
    , open_(std::exchange(other.open_, 0))
{
}

FileHandle &FileHandle::operator=(FileHandle &&other) noexcept
{
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, 0);
        open_ = std::exchange(other.open_, 0);
    }
    return *this;
}

template <typename Open> std::int32_t FileHandle::openWith(const char *path, Open open)
{
    close();
    if (!path || !*path)
        return 0;
    const kpx::os::FileToken token = open(path);
    if (token == kpx::os::kFailed || token == kpx::os::kNoFile)
        return 0;
    handle_ = token;
    open_ = 1;
    return handle_;
}

std::int32_t FileHandle::openRead(const char *path, os::FileKind *kind)
{
    if (kind)
        *kind = os::FileKind::Regular;
    return openWith(path, [kind](const char *name) { return kpx::os::openReadOnly(name, kind); });
}

std::int32_t FileHandle::create(const char *path)
{
    return openWith(path, kpx::os::createTruncate);
}

std::int32_t FileHandle::close()
{
    if (!open_)
        return 1;
    open_ = 0;
    if (handle_ != 0)
        kpx::os::closeFile(handle_);
    handle_ = 0;
    return 1;
}

std::int32_t FileHandle::writeBytes(const void *buffer, std::int32_t count)
{
    if (handle_ == 0)
        return 0;
    return kpx::os::writeTo(handle_, buffer, count);
}

std::int32_t FileHandle::writeText(const char *text)
{
    return writeBytes(text, static_cast<std::int32_t>(std::strlen(text)));
}

std::int32_t FileHandle::writeLine(const char *text)
{
    return writeText(text) + writeBytes("\r\n", 2);
}

std::int32_t FileHandle::writeByte(char byte)
{
    return writeBytes(&byte, 1);
}

std::int32_t FileHandle::readBytes(void *buffer, std::int32_t count)
{
    if (handle_ == 0)
        return 0;
    return kpx::os::readFrom(handle_, buffer, count);
}

std::int32_t FileHandle::exists(const char *path)
{
    const std::int32_t handle = openRead(path);
    close();
    return handle;
}

bool FileHandle::sync()
{
    return handle_ != 0 && kpx::os::syncToDisk(handle_);
}

} // namespace kpx
