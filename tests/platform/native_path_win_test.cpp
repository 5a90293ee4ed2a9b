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

} // namespace
