// SPDX-License-Identifier: GPL-2.0-or-later
// A save whose writes fail part-way (here: a file size limit, as a full disk would do) must
// leave the old file as it was.
#include <csignal>
#include <cstring>
#include <string>

#include "state/keyed_store.h"
#include "tests/state/scratch_directory.h"
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kpx;

namespace {

constexpr char kHeader[] = "//kpxv4.ini";

// Runs the save in a child process that may write at most limit bytes to any file, and returns
// the child's exit status: 0 when it saved and found its store unchanged afterwards.
int saveUnderSizeLimit(const std::string &path, const std::string &value, rlim_t limit)
{
    const pid_t child = ::fork();
    if (child == 0) {
        // Without this the first write past the limit would kill the child.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit size { limit, limit };
        if (::setrlimit(RLIMIT_FSIZE, &size) != 0)
            ::_exit(2);
        KeyedStore store;
        store.set('f', "9");
        store.set('v', value.c_str());
        store.save(path.c_str(), kHeader);
        const bool unchanged = store.value('f') && std::strcmp(store.value('f'), "9") == 0 && store.value('v') == value;
        ::_exit(unchanged ? 0 : 3);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

class KeyedStoreFailedWrite : public testing::Test {
protected:
    ScratchDirectory directory_;
    std::string path_ = directory_.file("kpxv4.ini");
    std::string old_ = std::string(kHeader) + "\r\nf=2\r\ns=5\r\n";
};

TEST_F(KeyedStoreFailedWrite, OldFileSurvivesAWriteThatStopsHalfWay)
{
    writeBytes(path_, old_);
    ASSERT_EQ(saveUnderSizeLimit(path_, std::string(4096, 'x'), 1024), 0);
    EXPECT_EQ(readBytes(path_), old_);
    EXPECT_EQ(directory_.entries(), std::vector<std::string> { "kpxv4.ini" });
}

TEST_F(KeyedStoreFailedWrite, NoFileAppearsWhenTheFirstWriteFails)
{
    ASSERT_EQ(saveUnderSizeLimit(path_, "x", 0), 0);
    EXPECT_TRUE(directory_.entries().empty());
}

TEST_F(KeyedStoreFailedWrite, SameSaveWithinTheLimitReplacesTheFile)
{
    // The limit itself is no obstacle when the file fits: the failures above come from it.
    writeBytes(path_, old_);
    ASSERT_EQ(saveUnderSizeLimit(path_, "x", 1024), 0);
    EXPECT_EQ(readBytes(path_), std::string(kHeader) + "\r\nf=9\r\nv=x\r\n");
    EXPECT_EQ(directory_.entries(), std::vector<std::string> { "kpxv4.ini" });
}

// A state file kept elsewhere and reached through a link is saved where it is kept; the link
// stays a link and the file keeps its permission bits.
TEST(KeyedStoreBehindLink, SaveWritesTheLinkedFile)
{
    namespace fs = std::filesystem;
    ScratchDirectory directory;
    fs::create_directory(directory.path() / "kept");
    const std::string real = directory.file("kept/kpxv4.ini");
    const std::string link = directory.file("kpxv4.ini");
    writeBytes(real, "f=1\r\n");
    const auto mode = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(real, mode);
    fs::create_symlink("kept/kpxv4.ini", link);
    KeyedStore store;
    store.set('f', "12");
    store.save(link.c_str(), kHeader);
    EXPECT_EQ(fs::read_symlink(link), "kept/kpxv4.ini");
    EXPECT_EQ(readBytes(real), std::string(kHeader) + "\r\nf=12\r\n");
    EXPECT_EQ(fs::status(real).permissions(), mode);
    EXPECT_EQ(directory.entries(), (std::vector<std::string> { "kept", "kpxv4.ini" }));
    EXPECT_EQ(fs::symlink_status(real).type(), fs::file_type::regular);
}

} // namespace
