// SPDX-License-Identifier: GPL-2.0-or-later
#include <array>
#include <cctype>

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

namespace {

bool isSeparator(char byte)
{
    return byte == '\\' || byte == '/';
}

bool sameLetters(std::string_view text, std::string_view upper)
{
    if (text.size() != upper.size())
        return false;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (std::toupper(static_cast<unsigned char>(text[at])) != static_cast<unsigned char>(upper[at]))
            return false;
    }
    return true;
}

} // namespace

bool namesWindowsDevice(std::string_view path)
{
    // The device namespaces: \\.\name, and \\?\ or \??\ before GLOBALROOT.
    if (path.size() >= 4 && isSeparator(path[0]) && isSeparator(path[1]) && path[2] == '.' && isSeparator(path[3]))
        return true;
    if (path.size() >= 4 && isSeparator(path[0]) && isSeparator(path[3])
        && ((isSeparator(path[1]) && path[2] == '?') || (path[1] == '?' && path[2] == '?'))) {
        const std::string_view rest = path.substr(4);
        const std::size_t end = rest.find_first_of("\\/");
        if (sameLetters(rest.substr(0, end), "GLOBALROOT"))
            return true;
    }
    // The last part of the path. A backslash may be the second byte of a Big5 character.
    std::size_t start = 0;
    for (std::size_t at = 0; at < path.size(); ++at) {
        const auto byte = static_cast<unsigned char>(path[at]);
        if (byte >= 0x81 && byte <= 0xFE && at + 1 < path.size()) {
            ++at;
            continue;
        }
        if (isSeparator(path[at]))
            start = at + 1;
    }
    std::string_view name = path.substr(start);
    // "C:NUL" names the device too.
    if (start == 0 && name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0])))
        name.remove_prefix(2);
    // The system reads the name up to its extension (or a colon) without the spaces at its end.
    name = name.substr(0, name.find_first_of(".:"));
    while (!name.empty() && name.back() == ' ')
        name.remove_suffix(1);
    static constexpr std::array<std::string_view, 6> kNames { "CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$" };
    for (const std::string_view reserved : kNames) {
        if (sameLetters(name, reserved))
            return true;
    }
    return name.size() == 4 && (sameLetters(name.substr(0, 3), "COM") || sameLetters(name.substr(0, 3), "LPT"))
        && name[3] >= '1' && name[3] <= '9';
}

std::string systemDriveDescription()
{
    return systemDriveLetter() + std::string(":\\vokelu, on the system drive");
}

} // namespace kpx::os
