// SPDX-License-Identifier: GPL-2.0-or-later
// The window's data file, cut off at every byte offset of its save by a file-size limit in a
// child process, and its writer killed midway: the old file stays byte for byte or the new one is
// complete, the caller hears of the failure, and nothing is left beside it.
#include <chrono>
#include <csignal>
#include <string>
#include <thread>

#include "tests/compiler/test_files.h"
#include "tests/hardening/file_size_limit.h"
#include "workbench/data_file.h"
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kpx;

namespace {

using kpxtest::readFile;
using kpxtest::TempDir;
using kpxtest::writeFile;

constexpr int kWritten = 0;
constexpr int kNotWritten = 1;

int saveWithFileSizeLimit(rlim_t limit, const std::string &path, const std::string &bytes)
{
    return kpxtest::runWithFileSizeLimit(limit, [&] {
        return kpx::writeDataFile(path, bytes).status == kpx::DataFileWrite::Status::Written ? kWritten : kNotWritten;
    });
}

std::string dataText(int lines)
{
    std::string text;
    for (int line = 0; line < lines; ++line)
        text += "tai" + std::to_string(line) + "-uan \xA5\x78\xC6\x57\xA3\xC0\r\n";
    return text;
}

TEST(DataFileFaults, EveryCutOffPointLeavesTheOldFile)
{
    TempDir dir;
    const std::string path = dir / "kpx-ty1.txt";
    const std::string oldText = dataText(2);
    const std::string newText = dataText(20);
    int faultPoints = 0;
    for (rlim_t limit = 0; limit <= newText.size(); ++limit) {
        writeFile(path, oldText);
        const int result = saveWithFileSizeLimit(limit, path, newText);
        const std::string after = readFile(path);
        if (limit < newText.size()) {
            ++faultPoints;
            ASSERT_EQ(result, kNotWritten) << "a cut-off save at " << limit << " bytes must be reported";
            ASSERT_EQ(after, oldText) << "cut off at " << limit;
        } else {
            ASSERT_EQ(result, kWritten);
            ASSERT_EQ(after, newText);
        }
        ASSERT_EQ(dir.names(), std::vector<std::string> { "kpx-ty1.txt" }) << "left behind at limit " << limit;
    }
    EXPECT_EQ(faultPoints, static_cast<int>(newText.size()));
}

TEST(DataFileFaults, ASaveKilledMidwayLeavesTheOldOrTheNewFile)
{
    TempDir dir;
    const std::string path = dir / "kpx-ty1.txt";
    const std::string oldText = dataText(3);
    const std::string newText = dataText(400000);
    for (int attempt = 0; attempt < 10; ++attempt) {
        writeFile(path, oldText);
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(kpx::writeDataFile(path, newText).status == kpx::DataFileWrite::Status::Written ? kWritten
                                                                                                    : kNotWritten);
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + attempt * 15));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const std::string after = readFile(path);
        ASSERT_TRUE(after == oldText || after == newText) << "attempt " << attempt << ": " << after.size() << " bytes";
        for (const std::string &name : dir.names()) {
            if (name != "kpx-ty1.txt")
                std::filesystem::remove(dir.path() / name);
        }
    }
}

} // namespace
