// SPDX-License-Identifier: GPL-2.0-or-later
// Making the table (Jejok), save-and-make, the progress bar and Sort, driven through a scripted
// face.
#include "compiler/table_compiler.h"
#include "platform/text/locale_compare.h"
#include "tests/workbench/fake_face.h"
#include "workbench/program_texts.h"

namespace kpxtest {
namespace {

using kpx::DirtyAnswer;
using Table = WorkbenchTest;

std::u16string made(int entries, std::u16string_view path)
{
    return u"總共有 " + kpx::decodeBig5(std::to_string(entries)) + u" 個詞條\r\n\r\n\r\n製作完成，檔案存做:\r\n\r\n"
        + std::u16string(path);
}

TEST_F(Table, JejokShowsCountAndPath)
{
    ASSERT_TRUE(hasNotifier) << "the stand-in hvmrk library is not on the library path";
    bench->SwitchSlot(1);
    face.type(u"a-ba 阿爸\nbu 母\n// 註解\n\none-column\nc 車 third\n");
    bench->Jejok(true);
    ASSERT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(face.seen[0].kind, "notice");
    EXPECT_EQ(face.seen[0].text, made(3, shown(u"kpx-ty1.zd")));
    EXPECT_GT(readData("kpx-ty1.zd").size(), 32u);
    EXPECT_EQ(notifyCount(), 1);

    // The editor's text was never saved: leave it.
    face.answers = { DirtyAnswer::No };
    bench->SwitchSlot(22);
    EXPECT_EQ(bench->currentSlot(), 22);
    face.type(u"x 叉");
    bench->Jejok(true);
    ASSERT_EQ(face.seen.size(), 3u);
    EXPECT_EQ(face.seen[2].text, made(1, shown(u"kpx-ib2.zd")));
    EXPECT_NE(readData("kpx-ib2.zd").find("dib"), std::string::npos);
    EXPECT_EQ(notifyCount(), 2);
}

TEST_F(Table, JejokOnEmptyEditor)
{
    bench->SwitchSlot(1);
    bench->Jejok(true);
    ASSERT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(face.seen[0].text, made(0, shown(u"kpx-ty1.zd")));
    EXPECT_TRUE(exists("kpx-ty1.zd"));
    // Making a table never saves the data.
    EXPECT_FALSE(exists("kpx-ty1.txt"));
}

TEST_F(Table, JejokKeepsDirtyAndCaret)
{
    bench->SwitchSlot(1);
    face.type(u"k 甲\nl 乙");
    face.caret = 3;
    bench->Jejok(true);
    EXPECT_EQ(dirty(), 1);
    EXPECT_EQ(face.panels[2], u"資料修改過");
    EXPECT_EQ(face.caret, 3u);
    EXPECT_GT(face.focused, 0);
    EXPECT_FALSE(exists("kpx-ty1.txt"));
}

TEST_F(Table, JejokCutsLongLines)
{
    // A line over 4096 bytes reaches the compiler cut to its first 4096: its third column goes,
    // its two entry columns stay.
    bench->SwitchSlot(1);
    face.type(u"k v " + std::u16string(5000, u'x') + u"\nw 乙");
    bench->Jejok(true);
    ASSERT_EQ(face.seen.size(), 1u);
    EXPECT_TRUE(startsWith(face.seen[0].text, u"總共有 2 個詞條"));
}

TEST_F(Table, JejokFollowsIncludeOverride)
{
    bench->SwitchSlot(1);
#ifdef _WIN32
    face.type(u"#include <o=" + shown(u"other.zd") + u">\nk 甲");
#else
    face.type(u"#include <o=C:\\vokelu\\other.zd>\nk 甲");
#endif
    bench->Jejok(true);
    ASSERT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(face.seen[0].text, made(1, shown(u"other.zd")));
    EXPECT_TRUE(exists("other.zd"));
    EXPECT_FALSE(exists("kpx-ty1.zd"));
}

TEST_F(Table, SaveAndMakeShowsNoNotice)
{
    ASSERT_TRUE(hasNotifier) << "the stand-in hvmrk library is not on the library path";
    bench->SwitchSlot(11);
    face.type(u"a 甲\nb 乙");
    face.caret = 2;
    bench->SaveAndMake();
    EXPECT_TRUE(face.seen.empty());
    EXPECT_EQ(readData("kpx-py1.txt"), big5(u"a 甲\r\nb 乙"));
    EXPECT_NE(readData("kpx-py1.zd").find("dpy"), std::string::npos);
    EXPECT_EQ(notifyCount(), 1);
    EXPECT_EQ(dirty(), 0);
    EXPECT_EQ(face.caret, 2u);
}

TEST_F(Table, SaveAndMakeStopsWhenSaveFails)
{
    bench->SwitchSlot(1);
    face.type(u"a 甲");
    std::filesystem::create_directories(file("kpx-ty1.txt"));
    bench->SaveAndMake();
    ASSERT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(face.seen[0].kind, "error");
    EXPECT_FALSE(exists("kpx-ty1.zd"));
    EXPECT_EQ(notifyCount(), 0);
}

TEST_F(Table, FailedTableWriteIsReportedAndNotified)
{
    ASSERT_TRUE(hasNotifier) << "the stand-in hvmrk library is not on the library path";
    bench->SwitchSlot(1);
    face.type(u"a 甲");
    std::filesystem::remove_all(vokelu());
    bench->Jejok(true);
    ASSERT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(face.seen[0].kind, "notice");
    EXPECT_TRUE(startsWith(face.seen[0].text,
        u"對照表無做成，檔案寫袂落去:\r\n\r\n" + shown(u"kpx-ty1.zd") + u"\r\n\r\n檔案開袂起來（資料夾敢有存在？）"));
    EXPECT_FALSE(contains(face.seen[0].text, u"製作完成"));
    EXPECT_EQ(notifyCount(), 1);
    // Without a notice of success, the failure is still told.
    bench->Jejok(false);
    EXPECT_EQ(face.seen.size(), 2u);
    EXPECT_EQ(notifyCount(), 2);
    EXPECT_EQ(face.progress.back(), 0);
    EXPECT_FALSE(std::filesystem::exists(vokelu()));
}

TEST_F(Table, JejokNeverWritesOverItsInputsAndNamesWhatItSkips)
{
    bench->SwitchSlot(1);
    face.type(u"a 甲");
    bench->Save();
    const std::string saved = readData("kpx-ty1.txt");
    const std::string included = big5(u"i 乙\r\n#include <x.txt>\r\n");
    writeData("inc.txt", included);
    const std::u16string inc = kpx::decodeBig5(file("inc.txt"));
    // "o=" naming the slot's data file or an include file: nothing is written, both are named.
    for (const std::u16string &input : { shown(u"kpx-ty1.txt"), inc }) {
        face.seen.clear();
        face.type(u"a 甲\n #include " + inc + u"\n #include " + inc + u"\n#include <o=" + input + u">");
        bench->Jejok(true);
        ASSERT_EQ(face.seen.size(), 1u);
        EXPECT_TRUE(contains(face.seen[0].text, u"對照表無做成，檔案寫袂落去:\r\n\r\n" + input));
        EXPECT_TRUE(contains(face.seen[0].text, kpx::texts::tableWouldReplaceInput(input)));
    }
    EXPECT_EQ(readData("kpx-ty1.txt"), saved);
    EXPECT_EQ(readData("inc.txt"), included);
    EXPECT_FALSE(exists("kpx-ty1.zd"));
    // The list names the include line passed over and the file read twice, as warnings.
    EXPECT_EQ(face.problemsTitle, u"0 列無做成詞條，2 個提醒");
    ASSERT_EQ(face.problemRows, 2u);
    EXPECT_EQ(bench->problemRow(0).file, inc);
    EXPECT_EQ(
        bench->problemRow(0).reason, kpx::texts::problemReason(kpx::LineProblemReason::IncludeAtLineStart, u"", 0));
    EXPECT_EQ(bench->problemRow(1).line, u"3");
    EXPECT_EQ(bench->problemRow(1).reason,
        kpx::texts::problemReason(kpx::LineProblemReason::IncludeReadAgain, inc, 2, kpx::texts::kProblemInEditor));
}

TEST_F(Table, JejokRefusesTextWithoutBig5)
{
    bench->SwitchSlot(1);
    face.type(u"a 甲\nb \u0E01");
    bench->Jejok(true);
    ASSERT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(
        face.seen[0].text, u"第 2 列有一個字「\u0E01」（U+0E01）無 Big5 碼，\r\n\r\n對照表無做。\r\n請先改掉這個字。");
    EXPECT_FALSE(exists("kpx-ty1.zd"));
    EXPECT_EQ(bench->progressPosition(), 0);
    EXPECT_EQ(face.caret, 6u);
}

TEST_F(Table, ProgressWrapsPastMaximum)
{
    bench->setProgressRedrawInterval(std::chrono::milliseconds(0));
    bench->SwitchSlot(1);
    std::u16string text;
    for (int i = 0; i < 1200; ++i)
        text += u"k" + kpx::decodeBig5(std::to_string(i)) + u" v\n";
    face.type(text);
    bench->Jejok(true);
    // Every step, then the return to 0.
    ASSERT_EQ(face.progress.size(), 1201u);
    EXPECT_EQ(face.progress[0], 1);
    EXPECT_EQ(face.progress[999], 1000);
    EXPECT_EQ(face.progress[1000], 0);
    EXPECT_EQ(face.progress[1199], 199);
    EXPECT_EQ(face.progress[1200], 0);
    EXPECT_EQ(bench->progressPosition(), 0);
    EXPECT_TRUE(startsWith(face.seen[0].text, u"總共有 1200 個詞條"));
}

TEST_F(Table, ProgressIsRedrawnOnlyNowAndThen)
{
    bench->SwitchSlot(1);
    std::u16string text;
    for (int i = 0; i < 3000; ++i)
        text += u"k v\n";
    face.type(text);
    bench->Jejok(false);
    EXPECT_LT(face.progress.size(), 100u);
    EXPECT_EQ(face.progress.back(), 0);
}

// A data file that exists but could not be loaded leaves the editor empty; making the table then
// replaced the slot's table with an empty one, unasked. F3 asks now (no by default), and F5 asks
// through its save.
TEST_F(Table, AfterAFailedLoadAsksBeforeReplacingTheTable)
{
    std::filesystem::create_directories(file("kpx-ty4.txt"));
    writeData("kpx-ty4.zd", "old table");
    bench->SwitchSlot(4);
    ASSERT_EQ(face.count("error"), 1u);
    face.seen.clear();
    const int notified = notifyCount();

    face.confirmations = { false };
    bench->Jejok(true);
    ASSERT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(face.seen[0].kind, "confirm");
    EXPECT_TRUE(contains(face.seen[0].text, shown(u"kpx-ty4.txt")));
    EXPECT_TRUE(contains(face.seen[0].text, shown(u"kpx-ty4.zd")));
    EXPECT_EQ(readData("kpx-ty4.zd"), "old table");
    EXPECT_EQ(notifyCount(), notified);

    face.seen.clear();
    face.confirmations = { false };
    bench->SaveAndMake();
    EXPECT_EQ(face.count("confirm"), 1u);
    EXPECT_EQ(readData("kpx-ty4.zd"), "old table");

    face.seen.clear();
    face.confirmations = { true };
    bench->Jejok(true);
    ASSERT_EQ(face.seen.size(), 2u);
    EXPECT_EQ(face.seen[1].text, made(0, shown(u"kpx-ty4.zd")));
    EXPECT_NE(readData("kpx-ty4.zd"), "old table");
    EXPECT_EQ(face.unexpected, 0);
}

class Sort : public WorkbenchTest {
protected:
    void SetUp() override
    {
        WorkbenchTest::SetUp();
        kpx::setCollationLocaleForTesting("en_US");
    }
    void TearDown() override
    {
        kpx::setCollationLocaleForTesting("");
        WorkbenchTest::TearDown();
    }
};

TEST_F(Sort, OrdersCaseInsensitively)
{
    bench->SwitchSlot(1);
    face.type(u"b\nA\na");
    bench->Sort();
    EXPECT_TRUE(face.seen.empty());
    // A and a compare equal and come out in the reverse of their order.
    EXPECT_EQ(face.text, u"a\nA\nb\n");
    bench->Save();
    EXPECT_EQ(readData("kpx-ty1.txt"), "a\r\nA\r\nb\r\n");
}

TEST_F(Sort, PutsEmptyLinesFirst)
{
    bench->SwitchSlot(1);
    face.type(u"c 丙\n\nb 乙\r\na 甲\n");
    face.caret = 4;
    bench->Sort();
    EXPECT_EQ(face.text, u"\na 甲\nb 乙\nc 丙\n");
    EXPECT_EQ(face.caret, 4u);
    EXPECT_GT(face.focused, 0);
    EXPECT_EQ(face.undoSteps, 1);
}

TEST_F(Sort, Limit)
{
    bench->SwitchSlot(1);
    std::u16string text;
    for (int i = 8000; i > 0; --i) {
        std::string number = std::to_string(i);
        text += u"w" + kpx::decodeBig5(std::string(5 - number.size(), '0') + number) + u"\n";
    }
    face.type(text);
    bench->Sort();
    EXPECT_TRUE(face.seen.empty());
    EXPECT_TRUE(startsWith(face.text, u"w00001\nw00002\n"));
    EXPECT_EQ(face.text.substr(face.text.size() - 7), u"w08000\n");

    const std::u16string over = u"x\n" + text;
    face.type(over);
    bench->SetDirty(0);
    bench->Sort();
    ASSERT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(face.seen[0].kind, "notice");
    EXPECT_EQ(face.seen[0].text, u"詞條過頭濟，排序可能有問題，\r\n\r\n請用其他工具\r\n或者是\r\n減少資料ｅ量");
    EXPECT_EQ(face.text, over);
    EXPECT_EQ(dirty(), 0);
}

TEST_F(Sort, EmptyEditor)
{
    bench->SwitchSlot(1);
    EXPECT_EQ(dirty(), 0);
    bench->Sort();
    EXPECT_EQ(face.text, u"");
    EXPECT_EQ(dirty(), 0);
    EXPECT_EQ(face.panels[2], u"");
    EXPECT_EQ(face.undoSteps, 0);
}

TEST_F(Sort, MarksDirtyEvenWhenSorted)
{
    writeData("kpx-ty1.txt", "a\r\nb\r\n");
    bench->SwitchSlot(1);
    EXPECT_EQ(dirty(), 0);
    bench->Sort();
    EXPECT_EQ(face.text, u"a\nb\n");
    EXPECT_EQ(dirty(), 1);
}

} // namespace
} // namespace kpxtest
