// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/native_path.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace kpx::os {

char systemDriveLetter() { return 'C'; }

std::string systemDirectory() { return {}; }

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

std::string nativePath(std::string_view path)
{
    std::string native(path);
    for (char &byte : native) {
        if (byte == '\\')
            byte = '/';
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

} // namespace kpx::os
