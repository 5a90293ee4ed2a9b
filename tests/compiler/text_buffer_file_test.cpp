// SPDX-License-Identifier: GPL-2.0-or-later
// The text buffer and the file handle.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "io/file_handle.h"
#include "io/text_buffer.h"
#include "tests/compiler/test_files.h"

using namespace kpx;

namespace {

using kpxtest::readFile;
using kpxtest::TempDir;
using kpxtest::writeFile;

TEST(TextBuffer, FreshBufferHasNoStorage)
{
    TextBuffer buffer;
    EXPECT_EQ(buffer.get(), nullptr);
    EXPECT_EQ(buffer.capacity(), 0);
    EXPECT_FALSE(buffer.ownsStorage());
    EXPECT_FALSE(buffer.hasValue());
    buffer.clear();
    EXPECT_EQ(buffer.get(), nullptr) << "clear must not give a buffer storage";
    buffer.append("");
    buffer.append(nullptr);
    EXPECT_EQ(buffer.get(), nullptr) << "an empty append must not give a buffer storage";
    buffer.set(nullptr);
    EXPECT_EQ(buffer.get(), nullptr);
}

TEST(TextBuffer, SetEmptyTextOnFreshBufferGivesOneByte)
{
    TextBuffer buffer;
    buffer.set("");
    ASSERT_NE(buffer.get(), nullptr);
    EXPECT_STREQ(buffer.get(), "");
    EXPECT_EQ(buffer.capacity(), 1);
    EXPECT_TRUE(buffer.ownsStorage());
    EXPECT_FALSE(buffer.hasValue());
}

TEST(TextBuffer, SetReservesExactlyLengthPlusOneAndReusesLargerStorage)
{
    TextBuffer buffer;
    buffer.set("abcdef");
    EXPECT_EQ(buffer.capacity(), 7);
    EXPECT_STREQ(buffer.get(), "abcdef");
    buffer.set("xy");
    EXPECT_EQ(buffer.capacity(), 7);
    EXPECT_STREQ(buffer.get(), "xy");
    EXPECT_EQ(buffer.length(), 2u);
    buffer.set("0123456789");
    EXPECT_EQ(buffer.capacity(), 11);
    EXPECT_STREQ(buffer.get(), "0123456789");
    buffer.set(nullptr);
    EXPECT_STREQ(buffer.get(), "0123456789") << "a null text changes nothing";
}

TEST(TextBuffer, AppendReservesCurrentPlusAddedPlusThree)
{
    TextBuffer buffer;
    buffer.set("0123456789");
    ASSERT_EQ(buffer.capacity(), 11);
    buffer.append("abc");
    EXPECT_EQ(buffer.capacity(), 16);
    EXPECT_STREQ(buffer.get(), "0123456789abc");
    buffer.append("d"); // 13 + 1 + 3 = 17
    EXPECT_EQ(buffer.capacity(), 17);
    buffer.append(""); // nothing
    EXPECT_EQ(buffer.capacity(), 17);

    TextBuffer fresh;
    fresh.append("abc");
    EXPECT_EQ(fresh.capacity(), 6);
    EXPECT_STREQ(fresh.get(), "abc");
    fresh.append("\xA6\x72\xA4\xB8", 2); // counted bytes: only the first character
    EXPECT_STREQ(fresh.get(), "abc\xA6\x72");
}

TEST(TextBuffer, ClearKeepsStorageAndManyAppendsKeepEveryByte)
{
    TextBuffer buffer;
    std::string expected;
    for (int piece = 0; piece < 500; ++piece) {
        const std::string text = std::to_string(piece) + "-";
        buffer.append(text.c_str());
        expected += text;
    }
    EXPECT_EQ(std::string(buffer.get()), expected);
    EXPECT_EQ(buffer.capacity(), static_cast<int>(expected.size()) + 3) << "the last append asked for length + 3";
    const int capacity = buffer.capacity();
    buffer.clear();
    EXPECT_STREQ(buffer.get(), "");
    EXPECT_EQ(buffer.capacity(), capacity);
    EXPECT_FALSE(buffer.hasValue());
    buffer.append("z");
    EXPECT_STREQ(buffer.get(), "z");
    EXPECT_TRUE(buffer.hasValue());
}

// --- File handle ---

class FileHandleTest : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(FileHandleTest, EmptyOrNullPathFailsWithoutAskingTheSystem)
{
    FileHandle file;
    errno = 4242;
    EXPECT_EQ(file.openRead(""), 0);
    EXPECT_EQ(file.create(""), 0);
    EXPECT_EQ(file.openRead(nullptr), 0);
    EXPECT_EQ(file.exists(""), 0);
    EXPECT_EQ(errno, 4242) << "no system call may have been made";
    EXPECT_EQ(file.isOpen(), 0);
    EXPECT_EQ(file.writeBytes("abc", 3), 0) << "writes without a file do nothing";
    char buffer[4];
    EXPECT_EQ(file.readBytes(buffer, 4), 0);
}

TEST_F(FileHandleTest, CreateEmptiesAnExistingFileAndWritesCountBytes)
{
    const std::string path = dir / "t.txt";
    writeFile(path, "an older and longer content");
    FileHandle file;
    ASSERT_NE(file.create(path.c_str()), 0);
    EXPECT_NE(file.isOpen(), 0);
    EXPECT_EQ(file.writeLine("ab"), 4);
    EXPECT_EQ(file.writeByte('\xA4'), 1);
    EXPECT_EQ(file.writeText("cd"), 2);
    EXPECT_EQ(file.close(), 1);
    EXPECT_EQ(file.isOpen(), 0);
    EXPECT_EQ(readFile(path),
        "ab\r\n\xA4"
        "cd");

    ASSERT_NE(file.openRead(path.c_str()), 0);
    char buffer[16] = {};
    EXPECT_EQ(file.readBytes(buffer, 16), 7) << "a short count marks the end of the file";
    EXPECT_EQ(file.readBytes(buffer, 16), 0);
}

TEST_F(FileHandleTest, CloseIsHarmlessOnAClosedRecord)
{
    FileHandle file;
    EXPECT_EQ(file.close(), 1);
    EXPECT_EQ(file.close(), 1);
    const std::string path = dir / "t.txt";
    writeFile(path, "x");
    ASSERT_NE(file.openRead(path.c_str()), 0);
    EXPECT_EQ(file.close(), 1);
    EXPECT_EQ(file.close(), 1);
    EXPECT_EQ(file.isOpen(), 0);
}

TEST_F(FileHandleTest, OpenReadOnAnOpenRecordClosesTheFirstFile)
{
    const std::string first = dir / "a.txt";
    const std::string second = dir / "b.txt";
    writeFile(first, "a");
    writeFile(second, "b");
    FileHandle file;
    const int token = file.openRead(first.c_str());
    ASSERT_GT(token, 0);
    // open() takes the lowest free descriptor: the second file gets the first one's only when
    // the first was closed before.
    EXPECT_EQ(file.openRead(second.c_str()), token);
    char byte = 0;
    EXPECT_EQ(file.readBytes(&byte, 1), 1);
    EXPECT_EQ(byte, 'b');
    EXPECT_EQ(file.openRead((dir / "missing").c_str()), 0);
    EXPECT_EQ(file.isOpen(), 0) << "a failed open leaves the record closed";
}

TEST_F(FileHandleTest, ExistsLeavesTheRecordClosed)
{
    FileHandle file;
    EXPECT_EQ(file.exists((dir / "missing.txt").c_str()), 0);
    writeFile(dir / "there.txt", "");
    EXPECT_NE(file.exists((dir / "there.txt").c_str()), 0);
    EXPECT_EQ(file.isOpen(), 0);
    EXPECT_EQ(file.exists(dir.path().string().c_str()), 0) << "a directory is no file to read";
}

TEST_F(FileHandleTest, WindowsPathOnTheSystemDriveMapsUnderKpxDrive)
{
#ifdef _WIN32
    GTEST_SKIP() << "on Windows C:\\vokelu is the real system drive; paths are not mapped";
#else
    const char *old = std::getenv("KPX_DRIVE");
    const std::string saved = old ? old : "";
    ::setenv("KPX_DRIVE", dir.path().c_str(), 1);
    std::filesystem::create_directory(dir.path() / "vokelu");
    FileHandle file;
    const bool created = file.create("C:\\vokelu\\kpx-ty1.zd") != 0;
    file.close();
    if (old)
        ::setenv("KPX_DRIVE", saved.c_str(), 1);
    else
        ::unsetenv("KPX_DRIVE");
    EXPECT_TRUE(created);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "vokelu" / "kpx-ty1.zd"));
#endif
}

// Descriptor 0 is a file like any other: with stdin closed the next open gets it, and its token
// must not read as "no file".
TEST_F(FileHandleTest, DescriptorZeroIsStillAFile)
{
#ifdef _WIN32
    GTEST_SKIP() << "needs fork; Windows file handles are never 0";
#else
    const std::string path = dir / "zero.txt";
    writeFile(path, "zero");
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        ::close(0);
        FileHandle file;
        const int token = file.openRead(path.c_str());
        char buffer[8] = {};
        const bool readable = file.readBytes(buffer, 8) == 4 && std::memcmp(buffer, "zero", 4) == 0;
        file.close();
        const bool closed = ::fcntl(0, F_GETFD) == -1;
        ::_exit(token == 1 && readable && closed ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}

} // namespace
