// SPDX-License-Identifier: GPL-2.0-or-later
// Every file the core writes (the table and the state file) is cut off at every byte offset
// by a file-size limit in a child process, and the writer is killed in the middle of a large
// table: each time the old file must be byte for byte intact or the new one complete, the caller
// must have been told, and no temporary file may be left behind.
#include <chrono>
#include <csignal>
#include <functional>
#include <string>
#include <thread>

#include "compiler/table_compiler.h"
#include "compiler/table_reader.h"
#include "state/keyed_store.h"
#include "tests/compiler/test_files.h"
#include "tests/hardening/file_size_limit.h"
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kpx;

namespace {

using kpxtest::readFile;
using kpxtest::runWithFileSizeLimit;
using kpxtest::TempDir;
using kpxtest::writeFile;

void addLines(int count, const char *outputText)
{
    for (int line = 0; line < count; ++line) {
        const std::string text = "key" + std::to_string(line * 7919 % count) + "-x " + outputText;
        tc_add_line(text.c_str());
    }
}

// The table that count lines give, as bytes, written by this process.
std::string tableFor(const TempDir &dir, int count, const char *outputText)
{
    tc_begin(0);
    addLines(count, outputText);
    tc_order_and_sort('1');
    const std::string path = dir / "reference.zd";
    EXPECT_EQ(tc_write(path.c_str(), "dty"), 1);
    const std::string bytes = readFile(path);
    std::filesystem::remove(path);
    return bytes;
}

TEST(TableFaults, EveryCutOffPointLeavesTheOldTableAndReportsFailure)
{
    TempDir dir;
    const std::string oldTable = tableFor(dir, 3, "\xA4\x40");
    const std::string newTable = tableFor(dir, 40, "\xA4\x41\xA4\x42");
    ASSERT_GT(newTable.size(), oldTable.size());
    const std::string path = dir / "table.zd";

    int faultPoints = 0;
    for (rlim_t limit = 0; limit <= newTable.size(); ++limit) {
        writeFile(path, oldTable);
        const int result = runWithFileSizeLimit(limit, [&] {
            tc_begin(0);
            addLines(40, "\xA4\x41\xA4\x42");
            tc_order_and_sort('1');
            return tc_write(path.c_str(), "dty");
        });
        const std::string after = readFile(path);
        if (limit < newTable.size()) {
            ++faultPoints;
            ASSERT_EQ(result, 0) << "a cut-off write at " << limit << " bytes must be reported";
            ASSERT_EQ(after, oldTable) << "the old table must survive a cut-off at " << limit;
        } else {
            ASSERT_EQ(result, 1);
            ASSERT_EQ(after, newTable);
        }
        ASSERT_EQ(dir.names(), std::vector<std::string> { "table.zd" }) << "left behind at limit " << limit;
    }
    EXPECT_EQ(faultPoints, static_cast<int>(newTable.size()));
    RecordProperty("fault_points", faultPoints);
}

TEST(TableFaults, AWriterKilledMidwayLeavesTheOldOrTheNewTable)
{
    TempDir dir;
    const std::string oldTable = tableFor(dir, 10, "\xA4\x40");
    const std::string newTable = tableFor(dir, 200000, "\xA4\x41\xA4\x42\xA4\x43");
    const std::string path = dir / "table.zd";
    int sawOld = 0;
    int sawNew = 0;
    for (int attempt = 0; attempt < 12; ++attempt) {
        writeFile(path, oldTable);
        const pid_t child = ::fork();
        if (child == 0) {
            tc_begin(0);
            addLines(200000, "\xA4\x41\xA4\x42\xA4\x43");
            tc_order_and_sort('1');
            ::_exit(tc_write(path.c_str(), "dty") ? 0 : 1);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20 + attempt * 40));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const std::string after = readFile(path);
        ASSERT_TRUE(after == oldTable || after == newTable)
            << "attempt " << attempt << ": " << after.size() << " bytes";
        (after == oldTable ? sawOld : sawNew)++;
        // A killed writer may leave its temporary file beside the table, never in its place.
        for (const std::string &name : dir.names())
            EXPECT_TRUE(name == "table.zd" || name.find(".kpx-tmp-") != std::string::npos) << name;
        for (const std::string &name : dir.names()) {
            if (name != "table.zd")
                std::filesystem::remove(dir.path() / name);
        }
    }
    EXPECT_GT(sawOld + sawNew, 0);
}

TEST(StateFileFaults, EveryCutOffPointLeavesTheOldStateFile)
{
    TempDir dir;
    const std::string path = dir / "kpxv4.ini";
    const char *header = "//kpxv4.ini, unless you know what you are doing, don't change this file, but deleting "
                         "this file is alright";
    {
        KeyedStore store;
        store.set('f', "3");
        store.set('s', "0");
        store.save(path.c_str(), header);
    }
    const std::string oldState = readFile(path);
    ASSERT_FALSE(oldState.empty());
    const std::string newState = std::string(header) + "\r\nf=25\r\ns=1234567\r\n";

    int faultPoints = 0;
    for (rlim_t limit = 0; limit <= newState.size(); ++limit) {
        writeFile(path, oldState);
        runWithFileSizeLimit(limit, [&] {
            KeyedStore store;
            store.set('f', "25");
            store.set('s', "1234567");
            store.save(path.c_str(), header);
            return 0;
        });
        const std::string after = readFile(path);
        if (limit < newState.size()) {
            ++faultPoints;
            ASSERT_EQ(after, oldState) << "cut off at " << limit;
        } else {
            ASSERT_EQ(after, newState);
        }
        ASSERT_EQ(dir.names(), std::vector<std::string> { "kpxv4.ini" }) << "left behind at limit " << limit;
    }
    EXPECT_EQ(faultPoints, static_cast<int>(newState.size()));
}

} // namespace
