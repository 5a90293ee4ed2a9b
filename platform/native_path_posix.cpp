// SPDX-License-Identifier: GPL-2.0-or-later
#include <cstdlib>

#include "platform/native_path.h"
#include <pwd.h>
#include <unistd.h>

namespace kpx::os {

char systemDriveLetter()
{
    return 'C';
}

std::string systemDirectory()
{
    return {};
}

std::string systemDriveRoot()
{
    if (const char *drive = std::getenv("KPX_DRIVE"); drive && *drive)
        return drive;
    if (const char *home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd *entry = getpwuid(getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return ".";
}

namespace {

bool isBig5Lead(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}
bool isBig5Trail(unsigned char byte)
{
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0xA1 && byte <= 0xFE);
}

} // namespace

std::string nativePath(std::string_view path)
{
    std::string native(path);
    // The second byte of many Big5 characters (許 B3 5C, 功 A5 5C) is a backslash: it belongs to
    // the character and must not become a separator.
    for (std::size_t at = 0; at < native.size(); ++at) {
        const auto byte = static_cast<unsigned char>(native[at]);
        if (isBig5Lead(byte) && at + 1 < native.size() && isBig5Trail(static_cast<unsigned char>(native[at + 1])))
            ++at;
        else if (byte == '\\')
            native[at] = '/';
    }
    const char drive = systemDriveLetter();
    const bool onSystemDrive = native.size() >= 3 && (native[0] == drive || native[0] == drive + ('a' - 'A'))
        && native[1] == ':' && native[2] == '/';
    if (!onSystemDrive)
        return native;
    std::string root = systemDriveRoot();
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    // Keep the slash after "C:" so that "C:/x" becomes "<root>/x".
    return (root == "/" ? std::string() : root) + native.substr(2);
}

std::string systemDriveDescription()
{
    return "C:\\vokelu, C: standing for $KPX_DRIVE, else $HOME";
}

} // namespace kpx::os
