// SPDX-License-Identifier: GPL-2.0-or-later
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/native_path.h"
#include "platform/os_file.h"
#include "platform/text/big5_codec.h"
#include <windows.h>

namespace kpx::os {
namespace {

// The program's paths are Big5 bytes. The ANSI file functions would read them in the system's
// code page, which is 950 only on some machines: the W functions get them converted with the
// program's own code page 950 table, whatever the system's code page.
std::wstring widePath(const char *path)
{
    const std::u16string text = decodeBig5(path ? path : "");
    return std::wstring(text.begin(), text.end());
}

HANDLE handleOf(FileToken file)
{
    return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(file));
}

// Kernel handles fit in 32 bits in 32- and 64-bit processes alike.
FileToken tokenOf(HANDLE handle)
{
    if (handle == INVALID_HANDLE_VALUE)
        return kFailed;
    const auto value = reinterpret_cast<INT_PTR>(handle);
    if (value <= 0 || value > INT32_MAX) {
        CloseHandle(handle);
        SetLastError(ERROR_TOO_MANY_OPEN_FILES);
        return kFailed;
    }
    return static_cast<FileToken>(value);
}

// Errors that mean another program has the file open, or a scanner has it for a moment.
bool isBusyError(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION
        || error == ERROR_USER_MAPPED_FILE;
}

// Attributes a replacement keeps; read-only targets are refused before and never come here.
constexpr DWORD kKeptAttributes
    = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

} // namespace

FileToken openReadOnly(const char *path, FileKind *kind)
{
    FileKind found = FileKind::Regular;
    if (!kind)
        kind = &found;
    *kind = FileKind::Regular;
    // A device is known by its name and never opened: CON waits for the keyboard, others may
    // answer without end.
    if (namesWindowsDevice(path ? path : "")) {
        *kind = FileKind::Device;
        SetLastError(ERROR_INVALID_NAME);
        return kFailed;
    }
    const std::wstring wide = widePath(path);
    if (const DWORD attributes = GetFileAttributesW(wide.c_str());
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        *kind = FileKind::Directory;
        SetLastError(ERROR_DIRECTORY);
        return kFailed;
    }
    // Others may read and write the file meanwhile, as with _lopen.
    const HANDLE handle = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return kFailed;
    // Any other name that leads to a device or a pipe.
    if (const DWORD type = GetFileType(handle); type != FILE_TYPE_DISK) {
        *kind = type == FILE_TYPE_PIPE ? FileKind::NamedPipe : FileKind::Device;
        CloseHandle(handle);
        SetLastError(ERROR_INVALID_NAME);
        return kFailed;
    }
    return tokenOf(handle);
}

FileToken createTruncate(const char *path)
{
    return tokenOf(CreateFileW(widePath(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
        nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::int32_t readFrom(FileToken file, void *buffer, std::int32_t count)
{
    if (count < 0)
        return -1;
    // Like _lread, keep reading until the count is met or the file ends.
    std::int32_t total = 0;
    auto *bytes = static_cast<char *>(buffer);
    while (total < count) {
        DWORD got = 0;
        if (!ReadFile(handleOf(file), bytes + total, static_cast<DWORD>(count - total), &got, nullptr))
            return total > 0 ? total : -1;
        if (got == 0)
            break;
        total += static_cast<std::int32_t>(got);
    }
    return total;
}

std::int32_t writeTo(FileToken file, const void *buffer, std::int32_t count)
{
    if (count < 0)
        return -1;
    std::int32_t total = 0;
    const auto *bytes = static_cast<const char *>(buffer);
    while (total < count) {
        DWORD put = 0;
        if (!WriteFile(handleOf(file), bytes + total, static_cast<DWORD>(count - total), &put, nullptr))
            return total > 0 ? total : -1;
        if (put == 0)
            break;
        total += static_cast<std::int32_t>(put);
    }
    return total;
}

bool syncToDisk(FileToken file)
{
    return FlushFileBuffers(handleOf(file)) != 0;
}

void closeFile(FileToken file)
{
    CloseHandle(handleOf(file));
}

bool canReplace(const char *path)
{
    if (!path || !*path)
        return false;
    const DWORD attributes = GetFileAttributesW(widePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        // Nothing stands at the path. A missing directory (ERROR_PATH_NOT_FOUND) is no read-only
        // target either: creating the file then fails and says why.
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return true;
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

std::string temporaryDirectory()
{
    wchar_t wide[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, wide);
    if (length == 0 || length > MAX_PATH)
        return {};
    // A directory named with characters Big5 lacks (a user name in another script) is still
    // reached by its short name, which the system keeps in ASCII.
    Big5EncodeResult encoded = encodeBig5(std::u16string_view(reinterpret_cast<const char16_t *>(wide), length));
    if (!encoded.ok()) {
        wchar_t shortName[MAX_PATH + 1] = {};
        const DWORD shortLength = GetShortPathNameW(wide, shortName, MAX_PATH + 1);
        if (shortLength == 0 || shortLength > MAX_PATH)
            return {};
        encoded = encodeBig5(std::u16string_view(reinterpret_cast<const char16_t *>(shortName), shortLength));
        if (!encoded.ok())
            return {};
    }
    std::string path = std::move(encoded.bytes);
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    return path;
}

ReplaceOutcome replaceFile(const char *temporaryPath, const char *targetPath)
{
    const std::wstring from = widePath(temporaryPath);
    const std::wstring to = widePath(targetPath);
    // The new file takes over the old one's hidden, system and archive marks.
    if (const DWORD old = GetFileAttributesW(to.c_str()); old != INVALID_FILE_ATTRIBUTES && (old & kKeptAttributes))
        SetFileAttributesW(from.c_str(), old & kKeptAttributes);
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return ReplaceOutcome::Replaced;
    return isBusyError(GetLastError()) ? ReplaceOutcome::Busy : ReplaceOutcome::Failed;
}

bool overwriteInPlace(const char *sourcePath, const char *targetPath)
{
    // Others may keep the target open for reading and writing; a program that denies that
    // sharing has the file to itself, and nothing can be done.
    const HANDLE target = CreateFileW(widePath(targetPath).c_str(), GENERIC_READ | GENERIC_WRITE,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (target == INVALID_HANDLE_VALUE)
        return false;
    const HANDLE source = CreateFileW(widePath(sourcePath).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    bool ok = source != INVALID_HANDLE_VALUE;
    LARGE_INTEGER size {};
    ok = ok && GetFileSizeEx(source, &size);
    // The disk space first: a full disk then fails before a byte of the old file is touched.
    LARGE_INTEGER oldSize {};
    ok = ok && GetFileSizeEx(target, &oldSize);
    if (ok && size.QuadPart > oldSize.QuadPart)
        ok = SetFilePointerEx(target, size, nullptr, FILE_BEGIN) && SetEndOfFile(target);
    LARGE_INTEGER start {};
    ok = ok && SetFilePointerEx(target, start, nullptr, FILE_BEGIN);
    std::vector<char> buffer(ok ? 1 << 16 : 0);
    while (ok) {
        DWORD got = 0;
        if (!ReadFile(source, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        DWORD put = 0;
        ok = WriteFile(target, buffer.data(), got, &put, nullptr) && put == got;
    }
    ok = ok && SetFilePointerEx(target, size, nullptr, FILE_BEGIN) && SetEndOfFile(target) && FlushFileBuffers(target);
    const DWORD error = GetLastError();
    if (source != INVALID_HANDLE_VALUE)
        CloseHandle(source);
    CloseHandle(target);
    SetLastError(error);
    return ok;
}

void pauseMilliseconds(int milliseconds)
{
    Sleep(static_cast<DWORD>(milliseconds));
}

void removeFile(const char *path)
{
    DeleteFileW(widePath(path).c_str());
}

bool makeDirectory(const char *path)
{
    return path && *path && CreateDirectoryW(widePath(path).c_str(), nullptr) != 0;
}

FileStatus fileStatus(const char *path)
{
    FileStatus status;
    WIN32_FILE_ATTRIBUTE_DATA info {};
    if (!path || !*path || !GetFileAttributesExW(widePath(path).c_str(), GetFileExInfoStandard, &info))
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

std::string lastErrorText()
{
    const DWORD error = GetLastError();
    if (error == ERROR_SUCCESS)
        return {};
    wchar_t buffer[512] = {};
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, buffer,
        static_cast<DWORD>(std::size(buffer)), nullptr);
    while (length > 0 && (buffer[length - 1] == L'\n' || buffer[length - 1] == L'\r' || buffer[length - 1] == L' '))
        --length;
    // UTF-8, whatever the system's code page: the texts take the system's words as UTF-8 first.
    char bytes[2048] = {};
    const int written = length == 0 ? 0
                                    : WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length), bytes,
                                        static_cast<int>(sizeof bytes), nullptr, nullptr);
    if (written <= 0)
        return "Windows error " + std::to_string(static_cast<unsigned long>(error));
    return std::string(bytes, static_cast<std::size_t>(written));
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
    if (!GetFileInformationByHandle(handleOf(file), &info))
        return false;
    identity.volume = info.dwVolumeSerialNumber;
    identity.index = (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

bool pathIdentity(const char *path, FileIdentity &identity)
{
    if (!path || !*path || namesWindowsDevice(path))
        return false;
    // Asks for no access: a file that others hold open is still identified, directories too.
    const HANDLE handle = CreateFileW(widePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info {};
    const bool known = GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    if (!known)
        return false;
    identity.volume = info.dwVolumeSerialNumber;
    identity.index = (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

} // namespace kpx::os
