// SPDX-License-Identifier: GPL-2.0-or-later
// What the replacing writer does when Windows refuses to move the new file over the old one
// (another program holds it open): the system's steps are played by this test, on every
// platform, so that the order of retries, the fallback in place and the final report can be
// checked where Wine or POSIX would simply succeed.
#include <string>
#include <vector>

#include "io/replacing_file.h"
#include "platform/os_file.h"
#include "tests/compiler/test_files.h"
#include <gtest/gtest.h>

namespace {

using kpx::ReplacingFile;
using kpx::os::ReplaceOutcome;
using kpxtest::readFile;
using kpxtest::TempDir;
using kpxtest::writeFile;

// What the played system did, in order, and how it answers.
struct PlayedSystem {
    std::vector<std::string> steps;
    int pausedMs = 0;
    int busyAnswers = 0; // replace() says Busy this many times, then does the real move
    ReplaceOutcome afterBusy = ReplaceOutcome::Replaced;
    bool inPlaceWorks = true;
};
PlayedSystem played;

ReplaceOutcome playedReplace(const char *temporaryPath, const char *targetPath)
{
    played.steps.push_back("replace");
    if (played.busyAnswers > 0) {
        --played.busyAnswers;
        return ReplaceOutcome::Busy;
    }
    if (played.afterBusy != ReplaceOutcome::Replaced)
        return played.afterBusy;
    return kpx::os::replaceFile(temporaryPath, targetPath);
}
bool playedInPlace(const char *sourcePath, const char *targetPath)
{
    played.steps.push_back("in place");
    return played.inPlaceWorks && kpx::os::overwriteInPlace(sourcePath, targetPath);
}
void playedPause(int milliseconds)
{
    played.steps.push_back("pause");
    played.pausedMs += milliseconds;
}

class ReplaceRetry : public testing::Test {
protected:
    void SetUp() override
    {
        played = PlayedSystem();
        writeFile(target_, "the old table, longer than the new one");
    }

    ReplacingFile::Result write(const std::string &bytes)
    {
        ReplacingFile file(target_.c_str(), kpx::ReplaceSteps { playedReplace, playedInPlace, playedPause });
        EXPECT_EQ(file.begin(), ReplacingFile::Result::Done);
        const bool written = file.file().writeBytes(bytes.data(), static_cast<std::int32_t>(bytes.size()))
            == std::int32_t(bytes.size());
        return file.finish(written);
    }
    // replace, then pause and replace for each retry, then what came after.
    static std::vector<std::string> attempts(int retries, std::vector<std::string> after = {})
    {
        std::vector<std::string> steps { "replace" };
        for (int retry = 0; retry < retries; ++retry)
            steps.insert(steps.end(), { "pause", "replace" });
        steps.insert(steps.end(), after.begin(), after.end());
        return steps;
    }

    TempDir dir_;
    std::string target_ = dir_ / "table.zd";
};

TEST_F(ReplaceRetry, AFileHeldOpenThroughoutIsWrittenInPlaceAfterAboutASecond)
{
    played.busyAnswers = 1000;
    EXPECT_EQ(write("new"), ReplacingFile::Result::Done);
    ASSERT_FALSE(played.steps.empty());
    EXPECT_EQ(played.steps.back(), "in place");
    const int retries = static_cast<int>(played.steps.size() - 2) / 2;
    EXPECT_EQ(played.steps, attempts(retries, { "in place" }));
    EXPECT_GE(retries, 3);
    EXPECT_GE(played.pausedMs, 700);
    EXPECT_LE(played.pausedMs, 1500);
    // Cut to the new length; no temporary file left behind.
    EXPECT_EQ(readFile(target_), "new");
    EXPECT_EQ(dir_.names(), std::vector<std::string> { "table.zd" });
}

TEST_F(ReplaceRetry, AFileReleasedWhileWaitingIsReplacedWhole)
{
    played.busyAnswers = 2;
    EXPECT_EQ(write("new bytes"), ReplacingFile::Result::Done);
    EXPECT_EQ(played.steps, attempts(2));
    EXPECT_EQ(readFile(target_), "new bytes");
    EXPECT_EQ(dir_.names(), std::vector<std::string> { "table.zd" });
}

TEST_F(ReplaceRetry, WhenNothingWorksTheFailureIsReportedAndTheOldFileStays)
{
    played.busyAnswers = 1000;
    played.inPlaceWorks = false;
    EXPECT_EQ(write("new"), ReplacingFile::Result::CannotReplace);
    EXPECT_EQ(played.steps.back(), "in place");
    EXPECT_EQ(readFile(target_), "the old table, longer than the new one");
    EXPECT_EQ(dir_.names(), std::vector<std::string> { "table.zd" });
}

TEST_F(ReplaceRetry, OtherFailuresAreNeitherRetriedNorForcedInPlace)
{
    played.afterBusy = ReplaceOutcome::Failed;
    EXPECT_EQ(write("new"), ReplacingFile::Result::CannotReplace);
    EXPECT_EQ(played.steps, attempts(0));
    played = PlayedSystem();
    played.busyAnswers = 1;
    played.afterBusy = ReplaceOutcome::Failed;
    EXPECT_EQ(write("new"), ReplacingFile::Result::CannotReplace);
    EXPECT_EQ(played.steps, attempts(1));
    EXPECT_EQ(readFile(target_), "the old table, longer than the new one");
    EXPECT_EQ(dir_.names(), std::vector<std::string> { "table.zd" });
}

TEST_F(ReplaceRetry, InPlaceGrowsAFileToTheNewLength)
{
    played.busyAnswers = 1000;
    const std::string longer(100000, 'x');
    EXPECT_EQ(write(longer), ReplacingFile::Result::Done);
    EXPECT_EQ(readFile(target_), longer);
}

} // namespace
