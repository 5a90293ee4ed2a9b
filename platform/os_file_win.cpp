// SPDX-License-Identifier: GPL-2.0-or-later
#include <climits>

#include "platform/os_file.h"
#include <windows.h>

namespace kpx::os {

FileToken openReadOnly(const char *path)
{
    const HFILE file = _lopen(path, OF_READ);
    return file == HFILE_ERROR ? kFailed : static_cast<FileToken>(file);
}

FileToken createTruncate(const char *path)
{
    const HFILE file = _lcreat(path, 0);
    return file == HFILE_ERROR ? kFailed : static_cast<FileToken>(file);
}

std::int32_t readFrom(FileToken file, void *buffer, std::int32_t count)
{
    const UINT got = _lread(static_cast<HFILE>(file), buffer, static_cast<UINT>(count));
    // HFILE_ERROR (-1) comes back as the largest UINT.
    return got == static_cast<UINT>(HFILE_ERROR) ? -1 : static_cast<std::int32_t>(got);
}

std::int32_t writeTo(FileToken file, const void *buffer, std::int32_t count)
{
    // _lwrite with a count of 0 would cut the file at the current position.
    if (count == 0)
        return 0;
    const UINT put = _lwrite(static_cast<HFILE>(file), static_cast<LPCCH>(buffer), static_cast<UINT>(count));
    return put == static_cast<UINT>(HFILE_ERROR) ? -1 : static_cast<std::int32_t>(put);
}

bool syncToDisk(FileToken file)
{
    return FlushFileBuffers(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(file))) != 0;
}

void closeFile(FileToken file)
{
    _lclose(static_cast<HFILE>(file));
}

bool canReplace(const char *path)
{
    if (!path || !*path)
        return false;
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        // Nothing stands at the path. A missing directory (ERROR_PATH_NOT_FOUND) is no read-only
        // target either: creating the file then fails and says why.
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
}

// Links are rare on Windows and replacing one replaces the link: the path is taken as it is.
bool replacementTarget(const char *path, std::string &target)
{
    target = path ? path : "";
    return true;
}

std::string temporaryPathBeside(const char *path)
{
    return std::string(path) + ".kpx-tmp-" + std::to_string(static_cast<unsigned long>(GetCurrentProcessId()));
}

bool replaceFile(const char *temporaryPath, const char *targetPath)
{
    return MoveFileExA(temporaryPath, targetPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void removeFile(const char *path)
{
    DeleteFileA(path);
}

FileStatus fileStatus(const char *path)
{
    FileStatus status;
    WIN32_FILE_ATTRIBUTE_DATA info {};
    if (!path || !*path || !GetFileAttributesExA(path, GetFileExInfoStandard, &info))
        return status;
    status.exists = true;
    status.isDirectory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    status.size
        = static_cast<std::int64_t>((static_cast<unsigned long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    status.modified
        = static_cast<std::int64_t>((static_cast<unsigned long long>(info.ftLastWriteTime.dwHighDateTime) << 32)
            | info.ftLastWriteTime.dwLowDateTime);
    return status;
}

} // namespace kpx::os

namespace kpx::os {

std::string lastErrorText()
{
    const DWORD error = GetLastError();
    if (error == ERROR_SUCCESS)
        return {};
    char buffer[512] = {};
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

ErrorKind lastErrorKind()
{
    switch (GetLastError()) {
    case ERROR_SUCCESS:
        return ErrorKind::None;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ErrorKind::NoSuchFile;
    case ERROR_ACCESS_DENIED:
        return ErrorKind::PermissionDenied;
    case ERROR_WRITE_PROTECT:
        return ErrorKind::ReadOnlyFileSystem;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ErrorKind::DiskFull;
    default:
        return ErrorKind::Other;
    }
}

bool fileIdentity(FileToken file, FileIdentity &identity)
{
    BY_HANDLE_FILE_INFORMATION info {};
    if (!GetFileInformationByHandle(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(file)), &info))
        return false;
    identity.volume = info.dwVolumeSerialNumber;
    identity.index = (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

} // namespace kpx::os
