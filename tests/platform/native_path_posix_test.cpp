// SPDX-License-Identifier: GPL-2.0-or-later
// How the program's Windows-form paths land in a POSIX file system.
#include "platform/native_path.h"
#include "tests/platform/environment_guard.h"
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

namespace {

struct PathCase {
    const char *name;
    const char *programPath;
    const char *expected;
};

void PrintTo(const PathCase &pathCase, std::ostream *out)
{
    *out << pathCase.name;
}

class NativePathUnderDrive : public testing::TestWithParam<PathCase> {
protected:
    EnvironmentGuard drive_ { "KPX_DRIVE" };
};

TEST_P(NativePathUnderDrive, MapsToTheDriveDirectory)
{
    drive_.set("/kpx-drive");
    EXPECT_EQ(kpx::os::nativePath(GetParam().programPath), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, NativePathUnderDrive,
    testing::Values(PathCase { "DataFile", "C:\\vokelu\\kpx-ty1.txt", "/kpx-drive/vokelu/kpx-ty1.txt" },
        PathCase { "LowerCaseDrive", "c:\\vokelu\\kpxv4.ini", "/kpx-drive/vokelu/kpxv4.ini" },
        PathCase { "ForwardSlashes", "C:/vokelu/kpx-ib0.zd", "/kpx-drive/vokelu/kpx-ib0.zd" },
        PathCase { "DriveRootOnly", "C:\\", "/kpx-drive/" },
        PathCase { "OtherDriveLeftAlone", "D:\\vokelu\\x.txt", "D:/vokelu/x.txt" },
        PathCase { "OtherLowerCaseDriveLeftAlone", "e:\\x", "e:/x" },
        PathCase { "DriveWithoutSlashLeftAlone", "C:vokelu", "C:vokelu" },
        PathCase { "DriveAloneLeftAlone", "C:", "C:" },
        PathCase { "RelativeStaysRelative", "words\\more.txt", "words/more.txt" },
        PathCase { "PlainName", "kpx.txt", "kpx.txt" },
        PathCase { "AbsolutePosixPath", "/srv/words.txt", "/srv/words.txt" }, PathCase { "Empty", "", "" },
        PathCase { "Big5BytesKept", "C:\\vokelu\\\xA6\xEB.txt", "/kpx-drive/vokelu/\xA6\xEB.txt" },
        PathCase {
            "Big5TrailBackslashKept", "C:\\vokelu\\\xB3\x5C\\\xA5\x5C.txt", "/kpx-drive/vokelu/\xB3\x5C/\xA5\x5C.txt" },
        PathCase { "HighByteWithoutTrailBeforeBackslash", "a\x80\\b\xFF\\c", "a\x80/b\xFF/c" }),
    [](const testing::TestParamInfo<PathCase> &info) { return std::string(info.param.name); });

class NativePathRoot : public testing::Test {
protected:
    EnvironmentGuard drive_ { "KPX_DRIVE" };
    EnvironmentGuard home_ { "HOME" };
};

TEST_F(NativePathRoot, TrailingSlashesOfTheDriveAreNotDoubled)
{
    drive_.set("/kpx-drive//");
    EXPECT_EQ(kpx::os::nativePath("C:\\vokelu\\a"), "/kpx-drive/vokelu/a");
}

TEST_F(NativePathRoot, DriveAtTheFileSystemRoot)
{
    drive_.set("/");
    EXPECT_EQ(kpx::os::nativePath("C:\\vokelu\\a"), "/vokelu/a");
}

TEST_F(NativePathRoot, RelativeDriveDirectory)
{
    drive_.set("drive");
    EXPECT_EQ(kpx::os::nativePath("C:\\vokelu\\a"), "drive/vokelu/a");
}

TEST_F(NativePathRoot, HomeWithoutDriveVariable)
{
    drive_.unset();
    home_.set("/home/someone");
    EXPECT_EQ(kpx::os::systemDriveRoot(), "/home/someone");
    EXPECT_EQ(kpx::os::nativePath("C:\\vokelu\\kpxv4.ini"), "/home/someone/vokelu/kpxv4.ini");
}

TEST_F(NativePathRoot, EmptyDriveVariableCountsAsUnset)
{
    drive_.set("");
    home_.set("/home/someone");
    EXPECT_EQ(kpx::os::nativePath("C:\\vokelu\\a"), "/home/someone/vokelu/a");
}

TEST_F(NativePathRoot, DriveVariableWinsOverHome)
{
    drive_.set("/kpx-drive");
    home_.set("/home/someone");
    EXPECT_EQ(kpx::os::nativePath("C:\\vokelu\\a"), "/kpx-drive/vokelu/a");
}

TEST_F(NativePathRoot, AccountDirectoryWithoutEitherVariable)
{
    drive_.unset();
    home_.unset();
    const passwd *entry = getpwuid(getuid());
    ASSERT_NE(entry, nullptr);
    ASSERT_NE(entry->pw_dir, nullptr);
    EXPECT_EQ(kpx::os::systemDriveRoot(), entry->pw_dir);
}

TEST(SystemDrive, IsDriveCWithoutSystemDirectory)
{
    EXPECT_EQ(kpx::os::systemDriveLetter(), 'C');
    EXPECT_TRUE(kpx::os::systemDirectory().empty());
}

} // namespace
