// SPDX-License-Identifier: GPL-2.0-or-later
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/native_path.h"
#include "platform/os_file.h"
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kpx::os {
namespace {

FileToken tokenFor(int descriptor)
{
    return descriptor < 0 ? kFailed : descriptor + 1;
}
int descriptorOf(FileToken file)
{
    return file - 1;
}

} // namespace

namespace {

FileKind kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return FileKind::Regular;
    if (S_ISDIR(mode))
        return FileKind::Directory;
    if (S_ISFIFO(mode) || S_ISSOCK(mode))
        return FileKind::NamedPipe;
    return FileKind::Device;
}

// Refuses what is not a regular file, with an error that fits it.
bool isRegular(const struct stat &info, FileKind *kind)
{
    const FileKind found = kindOf(info.st_mode);
    if (found == FileKind::Regular)
        return true;
    if (kind)
        *kind = found;
    errno = found == FileKind::Directory ? EISDIR : ENXIO;
    return false;
}

} // namespace

FileToken openReadOnly(const char *path, FileKind *kind)
{
    if (kind)
        *kind = FileKind::Regular;
    const std::string native = nativePath(path);
    // Looked at before it is opened: opening some devices does something, and a named pipe's
    // open waits for a writer.
    struct stat info { };
    if (::stat(native.c_str(), &info) != 0)
        return kFailed;
    if (!isRegular(info, kind))
        return kFailed;
    // Non-blocking all the same, and looked at again, should another file take its name meanwhile.
    int descriptor;
    do {
        descriptor = ::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0)
        return kFailed;
    if (::fstat(descriptor, &info) != 0 || !isRegular(info, kind)) {
        const int error = errno;
        ::close(descriptor);
        errno = error;
        return kFailed;
    }
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    if (descriptor >= INT_MAX - 1) {
        ::close(descriptor);
        return kFailed;
    }
    return tokenFor(descriptor);
}

FileToken createTruncate(const char *path)
{
    const std::string native = nativePath(path);
    int descriptor;
    do {
        descriptor = ::open(native.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    } while (descriptor < 0 && errno == EINTR);
    return tokenFor(descriptor);
}

std::int32_t readFrom(FileToken file, void *buffer, std::int32_t count)
{
    if (count < 0)
        return -1;
    // Like _lread, keep reading until the count is met or the file ends.
    std::int32_t total = 0;
    auto *bytes = static_cast<char *>(buffer);
    while (total < count) {
        const ssize_t got = ::read(descriptorOf(file), bytes + total, static_cast<size_t>(count - total));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return total > 0 ? total : -1;
        }
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
        const ssize_t put = ::write(descriptorOf(file), bytes + total, static_cast<size_t>(count - total));
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return total > 0 ? total : -1;
        }
        if (put == 0)
            break;
        total += static_cast<std::int32_t>(put);
    }
    return total;
}

bool syncToDisk(FileToken file)
{
    return ::fsync(descriptorOf(file)) == 0 || errno == EINVAL;
}

void closeFile(FileToken file)
{
    ::close(descriptorOf(file));
}

bool canReplace(const char *path)
{
    if (!path || !*path) {
        errno = ENOENT;
        return false;
    }
    const std::string native = nativePath(path);
    struct stat info { };
    if (::stat(native.c_str(), &info) != 0)
        return errno == ENOENT;
    // A file without any write permission counts as read-only, even for root.
    if (S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        return false;
    }
    if (!S_ISREG(info.st_mode) || (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        errno = EACCES;
        return false;
    }
    return ::access(native.c_str(), W_OK) == 0;
}

bool replacementTarget(const char *path, std::string &target)
{
    target = path ? path : "";
    if (target.empty())
        return true;
    std::string current = nativePath(target);
    // The same limit on the length of a chain as the system's own (SYMLOOP_MAX).
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info { };
        // A missing file (also behind a dangling link) is simply where the new file goes.
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            if (hops == 0)
                return true;
            // The resolved name goes through nativePath again on every later call: it must come
            // out unchanged.
            if (nativePath(current) != current) {
                errno = EINVAL;
                return false;
            }
            target = current;
            return true;
        }
        std::string link(PATH_MAX + 1, '\0');
        const ssize_t length = ::readlink(current.c_str(), link.data(), link.size());
        if (length < 0)
            return false;
        if (length == 0 || length > PATH_MAX) {
            errno = length == 0 ? ENOENT : ENAMETOOLONG;
            return false;
        }
        link.resize(static_cast<std::size_t>(length));
        // A relative link is relative to the directory that holds it.
        const auto slash = current.find_last_of('/');
        if (link.front() != '/' && slash != std::string::npos)
            link.insert(0, current, 0, slash + 1);
        current = std::move(link);
    }
    errno = ELOOP;
    return false;
}

std::string temporaryPathBeside(const char *path)
{
    return std::string(path) + ".kpx-tmp-" + std::to_string(static_cast<long>(::getpid()));
}

std::string temporaryDirectory()
{
    const char *directory = std::getenv("TMPDIR");
    std::string path = directory && *directory ? directory : "/tmp";
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

ReplaceOutcome replaceFile(const char *temporaryPath, const char *targetPath)
{
    const std::string from = nativePath(temporaryPath);
    const std::string to = nativePath(targetPath);
    // Keep the permissions of the file that is being replaced.
    struct stat info { };
    if (::stat(to.c_str(), &info) == 0)
        ::chmod(from.c_str(), info.st_mode & 07777);
    // A file that others hold open is replaced all the same here.
    return ::rename(from.c_str(), to.c_str()) == 0 ? ReplaceOutcome::Replaced : ReplaceOutcome::Failed;
}

bool overwriteInPlace(const char *sourcePath, const char *targetPath)
{
    const int source = ::open(nativePath(sourcePath).c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0)
        return false;
    const int target = ::open(nativePath(targetPath).c_str(), O_WRONLY | O_CLOEXEC);
    struct stat info { };
    bool ok = target >= 0 && ::fstat(source, &info) == 0;
    char buffer[1 << 16];
    while (ok) {
        const ssize_t got = ::read(source, buffer, sizeof buffer);
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        ok = writeTo(tokenFor(target), buffer, static_cast<std::int32_t>(got)) == got;
    }
    ok = ok && ::ftruncate(target, info.st_size) == 0 && ::fsync(target) == 0;
    const int error = errno;
    if (target >= 0)
        ::close(target);
    ::close(source);
    errno = error;
    return ok;
}

void pauseMilliseconds(int milliseconds)
{
    ::usleep(static_cast<useconds_t>(milliseconds) * 1000);
}

void removeFile(const char *path)
{
    ::unlink(nativePath(path).c_str());
}

bool makeDirectory(const char *path)
{
    return path && *path && ::mkdir(nativePath(path).c_str(), 0777) == 0;
}

FileStatus fileStatus(const char *path)
{
    FileStatus status;
    struct stat info { };
    if (!path || !*path || ::stat(nativePath(path).c_str(), &info) != 0)
        return status;
    status.exists = true;
    status.isDirectory = S_ISDIR(info.st_mode);
    status.size = static_cast<std::int64_t>(info.st_size);
    status.modified = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return status;
}

std::string lastErrorText()
{
    // A failure the program found itself (a directory where a file should be) leaves no error
    // behind: "Success" would only mislead.
    return errno == 0 ? std::string() : std::strerror(errno);
}

ErrorKind lastErrorKind()
{
    switch (errno) {
    case 0:
        return ErrorKind::None;
    case ENOENT:
    case ENOTDIR:
        return ErrorKind::NoSuchFile;
    case EACCES:
    case EPERM:
        return ErrorKind::PermissionDenied;
    case EROFS:
        return ErrorKind::ReadOnlyFileSystem;
    case ENOSPC:
    case EDQUOT:
        return ErrorKind::DiskFull;
    default:
        return ErrorKind::Other;
    }
}

bool fileIdentity(FileToken file, FileIdentity &identity)
{
    struct stat info { };
    if (::fstat(descriptorOf(file), &info) != 0)
        return false;
    identity.volume = static_cast<unsigned long long>(info.st_dev);
    identity.index = static_cast<unsigned long long>(info.st_ino);
    return true;
}

bool pathIdentity(const char *path, FileIdentity &identity)
{
    struct stat info { };
    if (!path || !*path || ::stat(nativePath(path).c_str(), &info) != 0)
        return false;
    identity.volume = static_cast<unsigned long long>(info.st_dev);
    identity.index = static_cast<unsigned long long>(info.st_ino);
    return true;
}

} // namespace kpx::os
