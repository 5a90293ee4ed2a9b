// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>

// The program names its files in Windows form ("C:\vokelu\kpx-ty1.txt"). On Windows these are
// native paths already; elsewhere the system drive stands for a directory of its own.
namespace kpx::os {

// The drive letter the program's fixed paths start with: the first byte of the system
// directory on Windows, 'C' elsewhere.
char systemDriveLetter();

// The system directory as Windows reports it (GetSystemDirectoryA); empty elsewhere.
std::string systemDirectory();

// Directory that stands for the system drive: $KPX_DRIVE when set and non-empty, else the
// user's home directory. Not used on Windows.
std::string systemDriveRoot();

// The native path for a path in the program's form. On POSIX every backslash that is not the
// second byte of a Big5 character becomes a slash, and a path that starts with the system drive
// letter (either case), a colon and a slash is moved under systemDriveRoot(). Relative paths
// stay relative.
std::string nativePath(std::string_view path);

#if defined(_WIN32)
// True when the system takes path (Big5 bytes) for a device rather than a file: a reserved name
// (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, CONIN$, CONOUT$) as the last part of the path, with
// any extension, in any directory; and every path in the device namespaces (\\.\, \\?\GLOBALROOT).
bool namesWindowsDevice(std::string_view path);
#endif

// Where the program's data directory (C:\vokelu) is, in words for a tool's help.
std::string systemDriveDescription();

} // namespace kpx::os
