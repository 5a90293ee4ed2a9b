// SPDX-License-Identifier: GPL-2.0-or-later
// Input meant to break the compiler and the keyed store: huge lines, floods of include lines,
// include cycles and deep nesting, a huge sparse include file, absurd state values and odd
// paths. Each must end in bounded time and memory with the entries it should give.
#include <string>

#include "compiler/table_compiler.h"
#include "compiler/table_reader.h"
#include "state/keyed_store.h"
#include "state/stored_number.h"
#include "tests/compiler/test_files.h"
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace kpx;

namespace {

using kpxtest::readFile;
using kpxtest::TempDir;
using kpxtest::writeFile;

// Runs one compile of lines and returns the table's records as "key\toutput\n" lines.
std::string compileLines(const TempDir &dir, const std::vector<std::string> &lines)
{
    tc_begin(0);
    for (const std::string &line : lines)
        tc_add_line(line.c_str());
    tc_order_and_sort('3');
    const std::string path = dir / "out.zd";
    EXPECT_EQ(tc_write(path.c_str(), "dib"), 1);
    return kpxtest::tableRecords(readFile(path));
}

TEST(HostileInput, MegabyteLinesAreHandledWhole)
{
    TempDir dir;
    const std::string megabyte(1 << 20, 'x');
    // A huge third column is dropped; a huge key or output is refused.
    EXPECT_EQ(compileLines(dir, { "k v " + megabyte, megabyte + " v", "k2 " + megabyte }), "k\tv\n");
    // The same lines from an included file, assembled across many blocks.
    writeFile(dir / "big.txt", "k v " + megabyte + "\r\n" + megabyte + " v\r\n" + std::string(1 << 20, ' ') + "a b");
    EXPECT_EQ(compileLines(dir, { "#include " + (dir / "big.txt") }), "a\tb\nk\tv\n");
}

TEST(HostileInput, AMillionIncludeLinesOfMissingFiles)
{
    TempDir dir;
    tc_begin(0);
    const std::string line = "#include <" + (dir / "missing.txt") + ">";
    for (int count = 0; count < 1000000; ++count)
        tc_add_line(line.c_str());
    tc_add_line("a b");
    EXPECT_EQ(tc_count(), 1);
}

class IncludeCycle : public ::testing::TestWithParam<int> { };

TEST_P(IncludeCycle, EachFileIsReadOnceAndTheRunEnds)
{
    TempDir dir;
    const int length = GetParam();
    for (int file = 0; file < length; ++file) {
        const std::string next = dir / ("c" + std::to_string((file + 1) % length) + ".txt");
        writeFile(dir / ("c" + std::to_string(file) + ".txt"),
            "key" + std::to_string(file) + " out\r\n\t#include " + next + "\r\n");
    }
    tc_begin(0);
    tc_add_line(("#include " + (dir / "c0.txt")).c_str());
    EXPECT_EQ(tc_count(), length);
}

INSTANTIATE_TEST_SUITE_P(Lengths, IncludeCycle, ::testing::Range(1, 11));

TEST(HostileInput, DeeplyNestedIncludesAreFollowed)
{
    TempDir dir;
    constexpr int depth = 300;
    for (int level = 0; level < depth; ++level) {
        std::string text = "n" + std::to_string(level) + " x\r\n";
        if (level + 1 < depth)
            text += " #include " + (dir / ("n" + std::to_string(level + 1) + ".txt")) + "\r\n";
        writeFile(dir / ("n" + std::to_string(level) + ".txt"), text);
    }
    tc_begin(0);
    tc_add_line(("#include " + (dir / "n0.txt")).c_str());
    EXPECT_EQ(tc_count(), depth);
}

TEST(HostileInput, AHugeSparseIncludeFileEndsWithBoundedMemory)
{
    TempDir dir;
    const std::string path = dir / "sparse.txt";
    const int file = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(file, 0);
    const std::string first = "first one\r\n";
    const std::string last = "\r\nlast two\r\n";
    ASSERT_EQ(::write(file, first.data(), first.size()), static_cast<ssize_t>(first.size()));
    // Two gigabytes of zero bytes that take no disk space.
    const off_t hole = off_t { 2 } << 30;
    ASSERT_EQ(::lseek(file, hole, SEEK_CUR), static_cast<off_t>(first.size()) + hole);
    ASSERT_EQ(::write(file, last.data(), last.size()), static_cast<ssize_t>(last.size()));
    ::close(file);

    EXPECT_EQ(compileLines(dir, { "#include " + path }), "first\tone\nlast\ttwo\n");
}

TEST(HostileInput, StateFileWithHugeValues)
{
    TempDir dir;
    const std::string hugeValue(8 << 20, 'v');
    writeFile(dir / "kpxv4.ini", "f=99999999999999999999999\r\ns=-99999999999999\r\na=" + hugeValue + "\r\n");
    KeyedStore store;
    EXPECT_EQ(store.load((dir / "kpxv4.ini").c_str()), 0);
    EXPECT_EQ(kpx::storedNumber(store.value('f')), INT32_MAX);
    EXPECT_EQ(kpx::storedNumber(store.value('s')), INT32_MIN);
    EXPECT_EQ(std::string(store.value('a')).size(), hugeValue.size());
    store.save((dir / "again.ini").c_str(), nullptr);
    EXPECT_EQ(readFile(dir / "again.ini").size(), readFile(dir / "kpxv4.ini").size());
}

TEST(HostileInput, PathsWithSpacesAndBig5Bytes)
{
    TempDir dir;
    const std::string folder = dir / "my words \xB5\xFC\xBB\x79";
    std::filesystem::create_directory(folder);
    // Include paths stop at a blank, so the included file's path has none.
    const std::string included = dir / "\xA6\x72\xA8\xE5.txt";
    writeFile(included, "a \xA4\x40\r\n");
    const std::string table = folder + "/\xAA\xED table.zd";
    tc_begin(0);
    tc_add_line(("#include " + included).c_str());
    tc_order_and_sort('1');
    ASSERT_EQ(tc_write(table.c_str(), "dty"), 1);
    EXPECT_EQ(kpxtest::tableRecords(readFile(table)), "a\t\xA4\x40\n");
    EXPECT_EQ(tc_last_write().path, table);
}

} // namespace
