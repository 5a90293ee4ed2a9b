// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/native_path.h"
#include <windows.h>

namespace kpx::os {

std::string systemDirectory()
{
    char buffer[260] = {};
    const UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer)
        return {};
    return std::string(buffer, length);
}

char systemDriveLetter()
{
    const std::string directory = systemDirectory();
    return directory.empty() ? 'C' : directory[0];
}

std::string systemDriveRoot()
{
    return std::string(1, systemDriveLetter()) + ":";
}

std::string nativePath(std::string_view path)
{
    return std::string(path);
}

std::string systemDriveDescription()
{
    return systemDriveLetter() + std::string(":\\vokelu, on the system drive");
}

} // namespace kpx::os
