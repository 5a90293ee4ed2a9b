// SPDX-License-Identifier: GPL-2.0-or-later
// The entry points: runs, growth, table bytes, tags, overrides and failed writes.
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "compiler/table_compiler.h"
#include "compiler/table_compiler_object_p.h"
#include "io/growth.h"
#include "tests/compiler/test_files.h"

using namespace kpx;

namespace {

namespace fs = std::filesystem;
using kpxtest::readFile;
using kpxtest::tableHeader;
using kpxtest::TempDir;
using kpxtest::writeFile;
using namespace std::string_literals;

TEST(Growth, CapacitySequence)
{
    std::vector<std::int32_t> sequence;
    for (std::int32_t capacity = 0; sequence.size() < 10;)
        sequence.push_back(capacity = grownCapacity(capacity));
    EXPECT_EQ(sequence, (std::vector<std::int32_t> { 16, 32, 64, 128, 256, 512, 1024, 1126, 1238, 1361 }));
    EXPECT_EQ(grownCapacity(5), 16);
    EXPECT_EQ(grownCapacity(17), 34);
    EXPECT_EQ(grownCapacity(INT32_MAX - 1), INT32_MAX);
}

TEST(EntryStore, BeginReservesExactlyAndAppendsGrowByTheRule)
{
    TableCompiler compiler;
    EXPECT_EQ(compiler.begin(0), 1);
    EXPECT_EQ(compiler.entries().capacity(), 0);
    EXPECT_FALSE(compiler.entries().owned());
    std::vector<std::int32_t> capacities;
    for (int at = 0; at < 1240; ++at) {
        compiler.addEntry("k", "v");
        if (capacities.empty() || capacities.back() != compiler.entries().capacity())
            capacities.push_back(compiler.entries().capacity());
    }
    EXPECT_EQ(capacities, (std::vector<std::int32_t> { 16, 32, 64, 128, 256, 512, 1024, 1126, 1238, 1361 }));
    EXPECT_EQ(compiler.begin(0), 1);
    EXPECT_EQ(compiler.count(), 0);
    EXPECT_EQ(compiler.entries().capacity(), 1361) << "the array stays for the next run";
    compiler.addEntry("k", "v");
    EXPECT_EQ(compiler.entries()[0].sequence, 0) << "the sequence starts again";

    TableCompiler reserved;
    reserved.begin(100);
    EXPECT_EQ(reserved.entries().capacity(), 100);
    reserved.begin(50);
    EXPECT_EQ(reserved.entries().capacity(), 100);
    for (int at = 0; at < 101; ++at)
        reserved.addEntry("k", "v");
    EXPECT_EQ(reserved.entries().capacity(), 200);
}

// The texts of a run are stored one after the other in large chunks; the next run starts over
// in the first of them. Runs that outgrow it, and shorter runs after longer ones, keep every
// text whole.
TEST(EntryStore, TextsOfEachRunStayWholeAcrossBegin)
{
    TableCompiler compiler;
    for (const int entries : { 30000, 5, 30000, 12000 }) {
        const auto keyOf = [entries](int at) {
            std::string key = "k";
            key += std::to_string(entries);
            key += '-';
            key += std::to_string(at);
            return key;
        };
        compiler.begin(0);
        for (int at = 0; at < entries; ++at) {
            compiler.addEntry(keyOf(at).c_str(), std::string(1 + at % 60, 'o').c_str());
        }
        ASSERT_EQ(compiler.count(), entries);
        for (int at = 0; at < entries; ++at) {
            const Entry &entry = compiler.entries()[at];
            ASSERT_EQ(entry.key(), keyOf(at));
            ASSERT_EQ(entry.output(), std::string(1 + at % 60, 'o'));
        }
    }
}

// Runs one table through the program's entry points.
class TableRun : public ::testing::Test {
protected:
    void SetUp() override { tc_begin(0); }
    void add(std::initializer_list<std::string> lines)
    {
        for (const std::string &line : lines)
            tc_add_line(line.c_str());
    }
    std::string table(const std::string &name) { return readFile(dir / name); }

    TempDir dir;
};

const std::string kWorkedExample = "\x18\0\0\0dty\0\x02\0\x01\0\x02\0\0\0\x0C\0\0\0\x01\0\0\0\0\0\0\0\x0C\0\0\0"
                                   "\x02"
                                   "a1\x02\xA4\x40\x02"
                                   "ba\x02\xA4\x41"s;

TEST_F(TableRun, WorkedExampleByteForByte)
{
    ASSERT_EQ(kWorkedExample.size(), 44u);
    add({ "ba \xA4\x41", "// a comment", "a1\t\xA4\x40" });
    EXPECT_EQ(tc_order_and_sort('1'), 1);
    EXPECT_EQ(tc_write((dir / "t.zd").c_str(), "dty"), 1);
    EXPECT_EQ(table("t.zd"), kWorkedExample);
    EXPECT_EQ(tc_count(), 2);
    // Writing changes nothing in the run: a second table is the same.
    EXPECT_EQ(tc_write((dir / "again.zd").c_str(), "dty"), 1);
    EXPECT_EQ(table("again.zd"), kWorkedExample);
    EXPECT_EQ(dir.names(), (std::vector<std::string> { "again.zd", "t.zd" })) << "no temporary file is left";
}

TEST_F(TableRun, EmptyRunWritesThirtyTwoBytes)
{
    tc_order_and_sort('2');
    EXPECT_EQ(tc_count(), 0);
    EXPECT_EQ(tc_write((dir / "t.zd").c_str(), "dpy"), 1);
    EXPECT_EQ(table("t.zd"), tableHeader("dpy\0"s, 0, 0));
}

TEST_F(TableRun, DuplicatesAndLimitsInTheTable)
{
    const std::string k32(32, 'k');
    const std::string o62(62, 'o');
    add({ "a x", "a x", k32 + " " + o62, k32 + " " + o62 + "o", "b y" });
    tc_order_and_sort('3');
    ASSERT_EQ(tc_write((dir / "t.zd").c_str(), "dib"), 1);
    const std::string records = "\x01"
                                "a\x01"
                                "x\x01"
                                "a\x01"
                                "x\x01"
                                "b\x01"
                                "y\x20"s
        + k32 + "\x3E" + o62;
    EXPECT_EQ(table("t.zd"), tableHeader("dib\0"s, 4, static_cast<std::uint32_t>(records.size())) + records);
}

struct TagCase {
    const char *name;
    const char *id; // null: none given
    char order; // 0: never set
    std::string tag;
};

class TableTag : public ::testing::TestWithParam<TagCase> { };

TEST_P(TableTag, IsWritten)
{
    TempDir dir;
    TableCompiler compiler; // a fresh object: its order was never set
    if (GetParam().order)
        compiler.orderAndSort(GetParam().order);
    std::string id = GetParam().id ? GetParam().id : "";
    const std::string before = id;
    ASSERT_EQ(compiler.write((dir / "t.zd").c_str(), GetParam().id ? id.c_str() : nullptr), 1);
    EXPECT_EQ(readFile(dir / "t.zd").substr(4, 4), GetParam().tag);
    EXPECT_EQ(id, before);
}

INSTANTIATE_TEST_SUITE_P(Table, TableTag,
    ::testing::Values(TagCase { "NeverSetOrder", nullptr, 0, "dty\0"s }, TagCase { "Ty", nullptr, '1', "dty\0"s },
        TagCase { "Py", nullptr, '2', "dpy\0"s }, TagCase { "Ib", nullptr, '3', "kpx\0"s },
        TagCase { "UnknownOrder", nullptr, '7', "dty\0"s }, TagCase { "EmptyIdIsCopiedAsZeros", "", '3', "\0\0\0\0"s },
        TagCase { "ShortId", "dib", '1', "dib\0"s }, TagCase { "OneByteId", "x", '2', "x\0\0\0"s },
        TagCase { "LongIdCut", "abcdefgh", '1', "abcd" }, TagCase { "FourByteId", "wxyz", '3', "wxyz" }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(TableRun, OrderDigitOutlivesBegin)
{
    tc_order_and_sort('3');
    tc_begin(0);
    ASSERT_EQ(tc_write((dir / "t.zd").c_str(), nullptr), 1);
    EXPECT_EQ(table("t.zd").substr(4, 4), "kpx\0"s);
}

TEST_F(TableRun, OverridesApplyAndTheNextBeginClearsThem)
{
    const std::string slotTable = dir / "slot.zd";
    writeFile(slotTable, "old slot table");
    add({ "a x", "#include <o=" + (dir / "other.zd") + ">", "  #include \"id=zzzz\"" });
    tc_order_and_sort('1');
    ASSERT_EQ(tc_write(slotTable.c_str(), "dty"), 1);
    EXPECT_EQ(tc_last_write().path, dir / "other.zd");
    EXPECT_EQ(readFile(slotTable), "old slot table");
    EXPECT_EQ(table("other.zd"),
        tableHeader("zzzz", 1, 4)
            + "\x01"
              "a\x01"
              "x");

    tc_begin(0);
    add({ "b y" });
    tc_order_and_sort('1');
    ASSERT_EQ(tc_write(slotTable.c_str(), "dty"), 1);
    EXPECT_EQ(table("slot.zd"),
        tableHeader("dty\0"s, 1, 4)
            + "\x01"
              "b\x01"
              "y");
}

// 許 (B3 5C) and 功 (A5 5C) end in a backslash byte, which must not split the file name; the
// backslash between directory and name still separates.
TEST_F(TableRun, Big5NamesWithABackslashByteInIncludeAndOverride)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows reads these names in the system's code page";
#else
    const std::string included = "\xB3\x5C\xA5\x5C.txt";
    const std::string table = "\xA5\x5C\xB3\x5C.zd";
    writeFile(dir / included, "xu \xA4\x40\r\n");
    add({ "#include " + dir.path().string() + "\\" + included, "#include <o=" + (dir / table) + ">" });
    EXPECT_EQ(tc_count(), 1);
    tc_order_and_sort('1');
    ASSERT_EQ(tc_write((dir / "slot.zd").c_str(), "dty"), 1);
    EXPECT_EQ(tc_last_write().path, dir / table);
    EXPECT_EQ(readFile(dir / table),
        tableHeader("dty\0"s, 1, 6)
            + "\x02"
              "xu\x02\xA4\x40");
    EXPECT_EQ(dir.names(), (std::vector<std::string> { table, included }));
#endif
}

#ifndef _WIN32
std::vector<std::string> namesIn(const fs::path &directory)
{
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
#endif

// A table kept elsewhere and reached through a chain of links is written where it is kept: the
// links stay links and the file keeps its permission bits. A dangling link makes the file it
// names; a loop of links writes nothing.
TEST_F(TableRun, TableBehindSymbolicLinksIsWrittenWhereItIsKept)
{
#ifdef _WIN32
    GTEST_SKIP() << "links are followed on POSIX systems only";
#else
    add({ "a x" });
    tc_order_and_sort('1');
    const std::string expected = tableHeader("dty\0"s, 1, 4)
        + "\x01"
          "a\x01"
          "x";
    fs::create_directory(dir / "kept");
    fs::create_directory(dir / "slots");
    writeFile(dir / "kept/real.zd", "old table");
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(dir / "kept/real.zd", mode);
    fs::create_symlink("../kept/real.zd", dir / "slots/middle.zd");
    fs::create_symlink(dir / "slots/middle.zd", dir / "slots/kpx-ty1.zd");
    ASSERT_EQ(tc_write((dir / "slots/kpx-ty1.zd").c_str(), "dty"), 1);
    EXPECT_EQ(readFile(dir / "kept/real.zd"), expected);
    EXPECT_EQ(fs::read_symlink(dir / "slots/kpx-ty1.zd"), dir / "slots/middle.zd");
    EXPECT_EQ(fs::read_symlink(dir / "slots/middle.zd"), "../kept/real.zd");
    EXPECT_EQ(fs::status(dir / "kept/real.zd").permissions(), mode);
    EXPECT_EQ(fs::symlink_status(dir / "kept/real.zd").type(), fs::file_type::regular);
    EXPECT_EQ(namesIn(dir / "kept"), std::vector<std::string> { "real.zd" });

    fs::create_symlink("new.zd", dir / "kept/dangling.zd");
    ASSERT_EQ(tc_write((dir / "kept/dangling.zd").c_str(), "dty"), 1);
    EXPECT_EQ(fs::read_symlink(dir / "kept/dangling.zd"), "new.zd");
    EXPECT_EQ(readFile(dir / "kept/new.zd"), expected);

    fs::create_symlink("loop2.zd", dir / "kept/loop1.zd");
    fs::create_symlink("loop1.zd", dir / "kept/loop2.zd");
    EXPECT_EQ(tc_write((dir / "kept/loop1.zd").c_str(), "dty"), 0);
    EXPECT_EQ(namesIn(dir / "kept"),
        (std::vector<std::string> { "dangling.zd", "loop1.zd", "loop2.zd", "new.zd", "real.zd" }));
#endif
}

TEST_F(TableRun, ProgressStepsOncePerClassifiedIncludedLine)
{
    writeFile(dir / "inc.txt", "a x\r\n\r\n// c\r\n#skip x\r\nb y\r\n c d e\r\n");
    int steps = 0;
    tc_set_progress_step([&steps] { ++steps; });
    add({ "#include " + (dir / "inc.txt"), "e f" });
    tc_set_progress_step({});
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(tc_count(), 4);
}

// Every way a table can fail to be written leaves what stood at the path as it was.
class FailedWrite : public TableRun {
protected:
    void SetUp() override
    {
        TableRun::SetUp();
        add({ "a x", "b y" });
        tc_order_and_sort('1');
    }
    const std::string oldTable = "old table bytes"s;
};

TEST_F(FailedWrite, ReadOnlyFile)
{
    const std::string path = dir / "t.zd";
    writeFile(path, oldTable);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(tc_write(path.c_str(), "dty"), 0);
    EXPECT_EQ(tc_last_write().failure, TableWriteFailure::ReadOnly);
    EXPECT_EQ(readFile(path), oldTable);
    EXPECT_EQ(dir.names(), std::vector<std::string> { "t.zd" });
}

TEST_F(FailedWrite, MissingDirectoryEmptyPathAndDirectoryAtThePath)
{
    EXPECT_EQ(tc_write((dir / "missing/t.zd").c_str(), "dty"), 0);
    EXPECT_FALSE(fs::exists(dir / "missing"));
    EXPECT_EQ(tc_write("", "dty"), 0);
    EXPECT_EQ(tc_write(nullptr, "dty"), 0);
    fs::create_directory(dir / "t.zd");
    EXPECT_EQ(tc_write((dir / "t.zd").c_str(), "dty"), 0);
    EXPECT_TRUE(fs::is_directory(dir / "t.zd"));
    EXPECT_TRUE(fs::is_empty(dir / "t.zd"));
    EXPECT_EQ(dir.names(), std::vector<std::string> { "t.zd" });
}

// A missing directory is named as the cause, not a read-only file (Windows tells the two apart
// by its own error code).
TEST_F(FailedWrite, MissingDirectoryIsReportedAsMissing)
{
    for (const char *name : { "missing/t.zd", "missing/deeper/t.zd" }) {
        EXPECT_EQ(tc_write((dir / name).c_str(), "dty"), 0) << name;
        EXPECT_EQ(tc_last_write().failure, TableWriteFailure::CannotCreate) << name;
        EXPECT_FALSE(tc_last_write().reason.empty()) << name;
    }
    EXPECT_TRUE(dir.names().empty());
}

// A full disk, stood in for by a file size limit in a child process: the write fails at
// several points of the table, and the old table must survive each time.
TEST_F(FailedWrite, WriteFailureAtAnySizeKeepsTheOldTable)
{
#ifdef _WIN32
    GTEST_SKIP() << "needs fork and setrlimit";
#else
    tc_begin(0);
    for (int at = 0; at < 12000; ++at)
        tc_add_line(("key" + std::to_string(at) + " \xA4\x40\xA4\x41").c_str());
    tc_order_and_sort('3');
    const std::string path = dir / "t.zd";
    ASSERT_EQ(tc_write((dir / "full.zd").c_str(), "dib"), 1);
    const auto fullSize = static_cast<rlim_t>(fs::file_size(dir / "full.zd"));
    ASSERT_GT(fullSize, 2u * 65536);
    fs::remove(dir / "full.zd");

    for (rlim_t limit : { rlim_t { 0 }, rlim_t { 1 }, rlim_t { 31 }, rlim_t { 32 }, rlim_t { 65535 }, rlim_t { 65536 },
             rlim_t { 65537 }, fullSize - 1, fullSize }) {
        writeFile(path, oldTable);
        const pid_t child = ::fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit size { limit, limit };
            ::setrlimit(RLIMIT_FSIZE, &size);
            ::_exit(tc_write(path.c_str(), "dib") == 0 ? 10 : 11);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << "limit " << limit;
        if (limit < fullSize) {
            EXPECT_EQ(WEXITSTATUS(status), 10) << "limit " << limit;
            EXPECT_EQ(readFile(path), oldTable) << "limit " << limit;
        } else {
            EXPECT_EQ(WEXITSTATUS(status), 11);
            EXPECT_EQ(fs::file_size(path), fullSize);
        }
        EXPECT_EQ(dir.names(), std::vector<std::string> { "t.zd" }) << "limit " << limit;
    }
#endif
}

#ifdef __linux__
// A run that runs out of memory writes no table at all rather than a part of one.
TEST_F(FailedWrite, OutOfMemoryWritesNothing)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit this test can set";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit this test can set";
#endif
#endif
    const std::string path = dir / "t.zd";
    writeFile(path, oldTable);
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        unsigned long pages = 0;
        if (std::FILE *statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%lu", &pages) != 1)
                pages = 0;
            std::fclose(statm);
        }
        if (pages == 0)
            ::_exit(12);
        const rlim_t limit = pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (64u << 20);
        const rlimit memory { limit, limit };
        ::setrlimit(RLIMIT_AS, &memory);
        tc_begin(0);
        char line[64];
        // Until the entries stop growing: memory has run out.
        std::int32_t previous = -1;
        for (int at = 0; at < 100000000; ++at) {
            std::snprintf(line, sizeof line, "key%d \xA4\x40", at);
            tc_add_line(line);
            if (at % 1000 == 999) {
                if (tc_count() == previous)
                    break;
                previous = tc_count();
            }
        }
        const bool refused
            = tc_write(path.c_str(), "dty") == 0 && tc_last_write().failure == TableWriteFailure::OutOfMemory;
        ::_exit(refused ? 10 : 11);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 10);
    EXPECT_EQ(readFile(path), oldTable);
    EXPECT_EQ(dir.names(), std::vector<std::string> { "t.zd" });
}
#endif

} // namespace
