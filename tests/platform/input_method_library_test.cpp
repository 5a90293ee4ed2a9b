// SPDX-License-Identifier: GPL-2.0-or-later
// The input method library, against the fake libraries built beside these tests. CTest runs
// this program once per situation, each time with a search path (on Windows: from a folder)
// that decides what a load finds: the fake with its notify entry point (LibraryLoaded), a fake of the same name without
// it (LibraryWithoutNotify), or nothing at all (LibraryAbsent, LibraryHandle).
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <utility>

#include "platform/input_method_library.h"
#include "tests/platform/environment_guard.h"
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

// Whether the process still has the input method's library mapped.
bool libraryIsResident()
{
#ifdef _WIN32
    return GetModuleHandleA("hvmrk.dll") != nullptr;
#else
    void *handle = ::dlopen("libhvmrk.so", RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        ::dlclose(handle);
    return handle != nullptr;
#endif
}

long processId()
{
#ifdef _WIN32
    return static_cast<long>(GetCurrentProcessId());
#else
    return static_cast<long>(::getpid());
#endif
}

// The file the fake library writes each call's value to; a fresh one for every test.
class CallLog {
public:
    CallLog()
    {
        static std::atomic<int> counter { 0 };
        path_ = fs::temp_directory_path()
            / ("kpx-hvmrk-" + std::to_string(processId()) + "-" + std::to_string(counter++) + ".log");
        fs::remove(path_);
        variable_.set(path_.string());
    }
    ~CallLog()
    {
        std::error_code ignored;
        fs::remove(path_, ignored);
    }
    CallLog(const CallLog &) = delete;
    CallLog &operator=(const CallLog &) = delete;

    // Every value passed so far, one per line; empty when the fake was never called.
    std::string calls() const
    {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    fs::path path_;
    EnvironmentGuard variable_ { "KPX_FAKE_HVMRK_LOG" };
};

class LibraryLoaded : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(libraryIsResident()) << "an earlier test left the library loaded"; }
    void TearDown() override { EXPECT_FALSE(libraryIsResident()) << "the library outlived its owner"; }

    CallLog log_;
};

TEST_F(LibraryLoaded, FindsTheLibraryAndItsEntryPoint)
{
    kpx::InputMethodLibrary library;
    ASSERT_TRUE(library.load());
    EXPECT_TRUE(library.isLoaded());
    EXPECT_TRUE(library.hasNotify());
    EXPECT_TRUE(libraryIsResident());
    library.notify(1);
    EXPECT_EQ(log_.calls(), "1\n");
}

TEST_F(LibraryLoaded, PassesEachValueUnchanged)
{
    kpx::InputMethodLibrary library;
    ASSERT_TRUE(library.load());
    // Extreme values would show a wrong calling convention or a narrowed argument.
    for (const std::int32_t value :
        { 1, 0, -1, 7, std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min() })
        library.notify(value);
    EXPECT_EQ(log_.calls(), "1\n0\n-1\n7\n2147483647\n-2147483648\n");
}

TEST_F(LibraryLoaded, ReleaseUnloadsAndForgetsTheEntryPoint)
{
    kpx::InputMethodLibrary library;
    ASSERT_TRUE(library.load());
    library.release();
    EXPECT_FALSE(library.isLoaded());
    EXPECT_FALSE(library.hasNotify());
    EXPECT_FALSE(libraryIsResident());
    library.notify(1);
    library.release();
    EXPECT_EQ(log_.calls(), "");
}

TEST_F(LibraryLoaded, DestructionUnloads)
{
    {
        kpx::InputMethodLibrary library;
        ASSERT_TRUE(library.load());
        ASSERT_TRUE(libraryIsResident());
    }
    EXPECT_FALSE(libraryIsResident());
}

TEST_F(LibraryLoaded, LoadingAgainHoldsTheLibraryOnce)
{
    kpx::InputMethodLibrary library;
    ASSERT_TRUE(library.load());
    ASSERT_TRUE(library.load());
    library.notify(2);
    EXPECT_EQ(log_.calls(), "2\n");
    // One release must be enough: a second load that took another reference would keep the
    // library mapped here.
    library.release();
    EXPECT_FALSE(libraryIsResident());
}

TEST_F(LibraryLoaded, LoadsAgainAfterRelease)
{
    kpx::InputMethodLibrary library;
    ASSERT_TRUE(library.load());
    library.release();
    ASSERT_TRUE(library.load());
    library.notify(3);
    EXPECT_EQ(log_.calls(), "3\n");
}

TEST_F(LibraryLoaded, MovingHandsTheLibraryOver)
{
    kpx::InputMethodLibrary first;
    ASSERT_TRUE(first.load());
    kpx::InputMethodLibrary second(std::move(first));
    EXPECT_FALSE(first.isLoaded());
    EXPECT_FALSE(first.hasNotify());
    first.notify(4);
    second.notify(5);

    kpx::InputMethodLibrary third;
    third = std::move(second);
    EXPECT_FALSE(second.isLoaded());
    third.notify(6);
    EXPECT_EQ(log_.calls(), "5\n6\n");

    third.release();
    EXPECT_FALSE(libraryIsResident());
}

TEST_F(LibraryLoaded, MoveAssignmentReleasesTheLibraryItReplaces)
{
    kpx::InputMethodLibrary kept;
    ASSERT_TRUE(kept.load());
    kpx::InputMethodLibrary empty;
    kept = std::move(empty);
    EXPECT_FALSE(kept.isLoaded());
    EXPECT_FALSE(libraryIsResident());
}

TEST(LibraryWithoutNotify, LoadsButNeverNotifies)
{
    CallLog log;
    kpx::InputMethodLibrary library;
    EXPECT_TRUE(library.load());
    EXPECT_TRUE(library.isLoaded());
    EXPECT_FALSE(library.hasNotify());
    library.notify(1);
    EXPECT_EQ(log.calls(), "");
    library.release();
    EXPECT_FALSE(libraryIsResident());
}

TEST(LibraryAbsent, LoadFailsQuietly)
{
    CallLog log;
    kpx::InputMethodLibrary library;
    EXPECT_FALSE(library.load());
    EXPECT_FALSE(library.isLoaded());
    EXPECT_FALSE(library.hasNotify());
    library.notify(1);
    library.release();
    EXPECT_EQ(log.calls(), "");
}

#ifdef _WIN32
// A library of the same name in the current directory or on PATH is someone else's: loading
// it would run their code in the program.
TEST(LibraryAbsent, IgnoresACopyPlantedInTheCurrentDirectoryOrOnPath)
{
    const char *planted = std::getenv("KPX_TEST_PLANTED_DIRECTORY");
    ASSERT_NE(planted, nullptr);
    char previous[MAX_PATH] = {};
    ASSERT_NE(GetCurrentDirectoryA(MAX_PATH, previous), 0u);
    ASSERT_TRUE(SetCurrentDirectoryA(planted));
    CallLog log;
    kpx::InputMethodLibrary library;
    EXPECT_FALSE(library.load());
    library.notify(1);
    SetCurrentDirectoryA(previous);
    EXPECT_FALSE(libraryIsResident());
    EXPECT_EQ(log.calls(), "");
}
#endif

TEST(LibraryHandle, UnloadedHandleIsHarmless)
{
    kpx::InputMethodLibrary library;
    EXPECT_FALSE(library.isLoaded());
    EXPECT_FALSE(library.hasNotify());
    library.notify(1);
    library.release();
    library.release();
    kpx::InputMethodLibrary moved(std::move(library));
    EXPECT_FALSE(moved.isLoaded());
}

} // namespace
