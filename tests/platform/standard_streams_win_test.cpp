// SPDX-License-Identifier: GPL-2.0-or-later
// The tools' text on a Windows console: UTF-16 through WriteConsoleW, whatever the console's
// code page, read back from the console's screen. A console exists only when the test runs on
// one (under Wine: from a terminal, as scripts/test-windows.sh runs it through script(1)).
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>

#include "platform/standard_streams.h"
#include <gtest/gtest.h>
#include <windows.h>

namespace {

using kpx::os::StreamText;

class ConsoleStreams : public ::testing::Test {
protected:
    void SetUp() override
    {
        DWORD mode = 0;
        if (!GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) && !AllocConsole()) {
            // scripts/test-windows.sh gives it one and asks for the test.
            if (std::getenv("KPX_TEST_CONSOLE"))
                FAIL() << "no console, though KPX_TEST_CONSOLE asks for one";
            GTEST_SKIP() << "no console: run from a terminal";
        }
        savedOutput_ = GetStdHandle(STD_OUTPUT_HANDLE);
        savedError_ = GetStdHandle(STD_ERROR_HANDLE);
        savedPage_ = GetConsoleOutputCP();
        screen_ = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
            CONSOLE_TEXTMODE_BUFFER, nullptr);
        ASSERT_NE(screen_, INVALID_HANDLE_VALUE);
        // A console that is not on code page 950 (nor on UTF-8).
        ASSERT_TRUE(SetConsoleOutputCP(437));
        SetStdHandle(STD_OUTPUT_HANDLE, screen_);
        SetStdHandle(STD_ERROR_HANDLE, screen_);
    }
    void TearDown() override
    {
        if (screen_ == INVALID_HANDLE_VALUE)
            return;
        SetStdHandle(STD_OUTPUT_HANDLE, savedOutput_);
        SetStdHandle(STD_ERROR_HANDLE, savedError_);
        SetConsoleOutputCP(savedPage_);
        CloseHandle(screen_);
    }
    // The characters of the screen's row, without the blanks that fill it.
    std::u16string row(short at)
    {
        CONSOLE_SCREEN_BUFFER_INFO screen {};
        EXPECT_TRUE(GetConsoleScreenBufferInfo(screen_, &screen));
        wchar_t text[1000] = {};
        DWORD read = 0;
        EXPECT_TRUE(ReadConsoleOutputCharacterW(
            screen_, text, std::min<DWORD>(screen.dwSize.X, std::size(text)), COORD { 0, at }, &read));
        std::u16string line(reinterpret_cast<const char16_t *>(text), read);
        line.erase(line.find_last_not_of(u' ') + 1);
        return line;
    }

    HANDLE screen_ = INVALID_HANDLE_VALUE;
    HANDLE savedOutput_ = nullptr;
    HANDLE savedError_ = nullptr;
    UINT savedPage_ = 0;
};

TEST_F(ConsoleStreams, ShowMessagesAndBig5AsCharacters)
{
    // A message is UTF-8, a table's entries are Big5; a byte that is no Big5 character shows as \xNN.
    ASSERT_TRUE(kpx::os::writeStandardStream(stderr, "kpx-make: \xe5\x8f\xb0\xe7\x81\xa3.txt\n", StreamText::Message));
    ASSERT_TRUE(kpx::os::writeStandardStream(stdout, "tai-oan \xa5\x78\xc6\x57 \xa3\xc0\n", StreamText::Big5));
    EXPECT_EQ(row(0), u"kpx-make: 台灣.txt");
    EXPECT_EQ(row(1), u"tai-oan 台灣 \\xA3\\xC0");
    EXPECT_TRUE(kpx::os::standardOutputShowsUtf8());
}

TEST(MessageNames, AreUtf8ThroughTheProgramsTable)
{
    EXPECT_EQ(kpx::os::messageName("C:\\vokelu\\\xa5\x78\xc6\x57.txt"), "C:\\vokelu\\\xe5\x8f\xb0\xe7\x81\xa3.txt");
    // 5C, the second byte of 功, is no path separator.
    EXPECT_EQ(kpx::os::messageName("\xa5\x5c.txt"), "\xe5\x8a\x9f.txt");
    EXPECT_EQ(kpx::os::messageName("a\xa3\xc0"), "a\\xA3\\xC0");
    EXPECT_STREQ(kpx::os::redirectedMessageEncoding(), "UTF-8");
}

} // namespace
