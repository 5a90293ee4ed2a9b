// SPDX-License-Identifier: GPL-2.0-or-later
// On Windows the program's paths are native already; the drive is the system's.
#include "platform/native_path.h"
#include <gtest/gtest.h>

namespace {

TEST(SystemDrive, IsTheFirstByteOfTheSystemDirectory)
{
    const std::string directory = kpx::os::systemDirectory();
    ASSERT_GE(directory.size(), 3u);
    EXPECT_EQ(directory[1], ':');
    EXPECT_EQ(kpx::os::systemDriveLetter(), directory[0]);
}

TEST(NativePath, LeavesPathsAsTheyAre)
{
    for (const char *path : { "C:\\vokelu\\kpx-ty1.txt", "c:\\vokelu\\kpxv4.ini", "D:\\x", "words\\more.txt", "" })
        EXPECT_EQ(kpx::os::nativePath(path), path);
}

// Reserved names stand for devices in any directory and with any extension; the device
// namespaces are devices whatever follows. A backslash that is a Big5 trail byte (許 B3 5C)
// separates nothing.
TEST(WindowsDevices, AreKnownByTheirNames)
{
    for (const char *path :
        { "CON", "con", "NUL.txt", "C:\\vokelu\\nul.txt", "sub/aux.dat.txt", "prn.", "COM1", "com9.log", "LPT1",
            "lpt9.x", "nul .txt", "NUL:", "C:NUL", "CONIN$", "conout$", "\\\\.\\C:", "//./PhysicalDrive0",
            "\\\\.\\pipe\\x", "\\\\?\\GLOBALROOT\\Device\\Null", "\\??\\globalroot\\x", "d\\\xB3\x5C\\con.txt" })
        EXPECT_TRUE(kpx::os::namesWindowsDevice(path)) << path;
    for (const char *path : { "", "CONSOLE", "console.txt", "COM0", "COM10", "LPT", "nul1", "my-nul.txt", "nul\\x.txt",
             "C:\\vokelu\\kpx-ty1.txt", "\\\\?\\C:\\x.txt",
             "\xB3\x5C"
             "con.txt",
             "d\\\xA5\x5C"
             "aux" })
        EXPECT_FALSE(kpx::os::namesWindowsDevice(path)) << path;
}

} // namespace
