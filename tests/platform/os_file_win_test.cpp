// SPDX-License-Identifier: GPL-2.0-or-later
// The Windows file layer against the system (Wine in the cross build): Big5 file names whatever
// the system's code page, and a file that another handle holds open is still replaced.
#include <string>
#include <utility>

#include "io/replacing_file.h"
#include "platform/os_file.h"
#include "tests/compiler/test_files.h"
#include <gtest/gtest.h>
#include <windows.h>

namespace {

using kpxtest::readFile;
using kpxtest::TempDir;
using kpxtest::writeFile;

std::string contentOf(const char *path)
{
    std::string bytes;
    const kpx::os::FileToken file = kpx::os::openReadOnly(path);
    if (file == kpx::os::kFailed)
        return "(cannot open)";
    char buffer[256];
    for (std::int32_t got; (got = kpx::os::readFrom(file, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, static_cast<std::size_t>(got));
    kpx::os::closeFile(file);
    return bytes;
}

// 台灣 (A5 78 C6 57) and 許功 (B3 5C A5 5C: both trail bytes are backslashes).
TEST(Big5FileNames, AreTheSameCharactersWhateverTheSystemCodePage)
{
    RecordProperty("system_code_page", static_cast<int>(GetACP()));
    TempDir dir;
    // Joined as bytes: std::filesystem would read them in the system's code page.
    const std::string taiwan = dir.path().string() + "\\\xA5\x78\xC6\x57.txt";
    const std::string hu = dir.path().string() + "\\\xB3\x5C\xA5\x5C.txt";

    const kpx::os::FileToken file = kpx::os::createTruncate(taiwan.c_str());
    ASSERT_NE(file, kpx::os::kFailed) << kpx::os::lastErrorText();
    ASSERT_EQ(kpx::os::writeTo(file, "tai-oan", 7), 7);
    kpx::os::closeFile(file);
    // The system sees the Chinese name, not the bytes read in its own code page.
    EXPECT_TRUE(std::filesystem::exists(dir.path() / L"\u53F0\u7063.txt"));
    EXPECT_EQ(contentOf(taiwan.c_str()), "tai-oan");
    EXPECT_TRUE(kpx::os::fileStatus(taiwan.c_str()).exists);
    EXPECT_EQ(kpx::os::fileStatus(taiwan.c_str()).size, 7);

    writeFile(dir.path() / L"\u8A31\u529F.txt", "old");
    EXPECT_TRUE(kpx::os::canReplace(hu.c_str()));
    EXPECT_EQ(kpx::os::replaceFile(taiwan.c_str(), hu.c_str()), kpx::os::ReplaceOutcome::Replaced);
    EXPECT_EQ(readFile(dir.path() / L"\u8A31\u529F.txt"), "tai-oan");
    kpx::os::removeFile(hu.c_str());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

class HeldOpen : public testing::Test {
protected:
    void SetUp() override { writeFile(path_, "the old table"); }
    void hold()
    {
        // How most programs open a file: others may read and write, not delete or rename.
        held_ = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
            FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held_, INVALID_HANDLE_VALUE);
    }
    void TearDown() override
    {
        if (held_ != INVALID_HANDLE_VALUE)
            CloseHandle(held_);
    }
    kpx::ReplacingFile::Result replaceWith(const std::string &bytes)
    {
        kpx::ReplacingFile file(path_.c_str());
        EXPECT_EQ(file.begin(), kpx::ReplacingFile::Result::Done);
        const auto count = static_cast<std::int32_t>(bytes.size());
        return file.finish(file.file().writeBytes(bytes.data(), count) == count);
    }

    TempDir dir_;
    std::string path_ = dir_ / "table.zd";
    HANDLE held_ = INVALID_HANDLE_VALUE;
};

TEST_F(HeldOpen, AFileAnotherHandleHoldsIsStillReplaced)
{
    hold();
    ASSERT_EQ(replaceWith("new"), kpx::ReplacingFile::Result::Done);
    // The holder reads the new bytes through its own handle: the same file, written in place.
    char buffer[32] = {};
    DWORD got = 0;
    ASSERT_TRUE(ReadFile(held_, buffer, sizeof buffer, &got, nullptr));
    EXPECT_EQ(std::string(buffer, got), "new");
    EXPECT_EQ(dir_.names(), std::vector<std::string> { "table.zd" });
}

TEST_F(HeldOpen, AReplacedFileKeepsItsAttributes)
{
    ASSERT_TRUE(SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_EQ(replaceWith("new"), kpx::ReplacingFile::Result::Done);
    EXPECT_EQ(GetFileAttributesA(path_.c_str()) & FILE_ATTRIBUTE_HIDDEN, DWORD(FILE_ATTRIBUTE_HIDDEN));
    hold();
    ASSERT_EQ(replaceWith("newer"), kpx::ReplacingFile::Result::Done);
    EXPECT_EQ(GetFileAttributesA(path_.c_str()) & FILE_ATTRIBUTE_HIDDEN, DWORD(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(readFile(path_), "newer");
}

TEST_F(HeldOpen, AFileOpenedWithoutWriteSharingIsReportedAndKept)
{
    held_ = CreateFileA(
        path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held_, INVALID_HANDLE_VALUE);
    EXPECT_EQ(replaceWith("new"), kpx::ReplacingFile::Result::CannotReplace);
    EXPECT_EQ(readFile(path_), "the old table");
    EXPECT_EQ(dir_.names(), std::vector<std::string> { "table.zd" });
}

// A device is never opened for reading, whatever names it; a directory is no file either.
TEST(NoRegularFile, IsRefusedWithWhatItIs)
{
    TempDir dir;
    writeFile(dir.path() / "words.txt", "a x");
    const std::string base = dir.path().string();
    using Kind = kpx::os::FileKind;
    const std::pair<std::string, Kind> cases[] = { { base + "\\words.txt", Kind::Regular }, { base, Kind::Directory },
        { "NUL", Kind::Device }, { base + "\\con.txt", Kind::Device }, { "\\\\.\\pipe\\kpx-none", Kind::Device } };
    for (const auto &[path, kind] : cases) {
        Kind found = Kind::Regular;
        const kpx::os::FileToken file = kpx::os::openReadOnly(path.c_str(), &found);
        EXPECT_EQ(file != kpx::os::kFailed, kind == Kind::Regular) << path;
        EXPECT_EQ(found, kind) << path;
        if (file != kpx::os::kFailed)
            kpx::os::closeFile(file);
    }
}

} // namespace
