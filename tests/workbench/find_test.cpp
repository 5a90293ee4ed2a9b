// SPDX-License-Identifier: GPL-2.0-or-later
// The problems list after a table run, going to a problem, find and go to line, through a
// scripted face: none of them touches the text or dirty.
#include "tests/workbench/fake_face.h"
#include "workbench/text_search.h"

namespace kpxtest {
namespace {

using Finding = WorkbenchTest;

TEST_F(Finding, ProblemsOfARunAreListedUntilTheTextChanges)
{
    bench->SwitchSlot(1);
    writeData("inc.txt", "x 1\r\nword\r\n");
    face.type(
        u"a 阿\n字元\n// 註解\n\n\t#include " + kpx::decodeBig5(file("inc.txt")) + u"\n#include nothere.txt\na 阿\n");
    face.caret = 2;
    bench->Jejok(false);
    EXPECT_EQ(face.problemsTitle, u"3 列無做成詞條，1 個詞條重複");
    ASSERT_EQ(face.problemRows, 4u);
    const auto row = [this](std::size_t at) {
        const kpx::Workbench::ProblemRow r = bench->problemRow(at);
        return r.line + u" | " + r.file + u" | " + r.reason;
    };
    EXPECT_EQ(row(0), u"2 | 編輯器 | 干焦一欄，無輸出 e 字");
    EXPECT_EQ(row(1), u"2 | " + kpx::decodeBig5(file("inc.txt")) + u" | 干焦一欄，無輸出 e 字");
    EXPECT_EQ(row(2), u"6 | 編輯器 | #include e 檔案開袂起來：nothere.txt");
    EXPECT_EQ(row(3), u"7 | 編輯器 | 重複：佮第 1 列 e 詞條仝款");
    EXPECT_EQ(face.caret, 2u) << "the caret returns where it was";

    // An editor row takes the caret to the start of its line; an include file's row does not.
    EXPECT_TRUE(bench->GoToProblem(2));
    EXPECT_EQ(face.caret, face.text.find(u"#include nothere"));
    EXPECT_FALSE(bench->GoToProblem(1));
    EXPECT_FALSE(bench->GoToProblem(4));
    EXPECT_EQ(face.caret, face.text.find(u"#include nothere"));
    EXPECT_EQ(face.seen.size(), 0u) << "F5 shows no notice, the list shows no box";
    EXPECT_EQ(dirty(), 1);

    // Any change empties the list, once; the next run fills it again.
    const int showings = face.problemShowings;
    face.type(face.text + u"b 爸\n");
    EXPECT_EQ(face.problemRows, 0u);
    face.type(face.text + u"c 車\n");
    EXPECT_EQ(face.problemShowings, showings + 1);
    EXPECT_FALSE(bench->GoToProblem(0));
    bench->Jejok(false);
    EXPECT_EQ(face.problemRows, 4u);
    // A clean run puts the list away; so does loading a slot.
    face.type(u"a 阿\n");
    bench->Jejok(false);
    EXPECT_EQ(face.problemRows, 0u);
    face.type(u"one\n");
    bench->Jejok(false);
    EXPECT_EQ(face.problemRows, 1u);
    face.answers = { kpx::DirtyAnswer::No };
    bench->SwitchSlot(2);
    EXPECT_EQ(face.problemRows, 0u);
}

TEST_F(Finding, FindGoesRoundAndCountsWithoutTouchingTheText)
{
    bench->SwitchSlot(1);
    writeData("kpx-ty1.txt", big5(u"Tai 台\r\nkhoa 看\r\ntai5 tAI\r\n台台\r\n"));
    bench->SwitchSlot(1);
    const std::u16string text = face.text;
    const auto find = [this](std::u16string_view needle, bool forwards) {
        const kpx::FindOutcome outcome = bench->Find(needle, forwards);
        return kpx::Workbench::findMessage(outcome) + u"@" + kpx::decodeBig5(std::to_string(face.caret));
    };
    // ASCII letters in either case; forwards from the caret, round past the end.
    EXPECT_EQ(find(u"tai", true), u"第 1 個，總共 3 個@0");
    EXPECT_EQ(face.selectionLength, 3u);
    EXPECT_EQ(find(u"tai", true), u"第 2 個，總共 3 個@" + kpx::decodeBig5(std::to_string(text.find(u"tai5"))));
    EXPECT_EQ(find(u"TAI", true), u"第 3 個，總共 3 個@" + kpx::decodeBig5(std::to_string(text.find(u"tAI"))));
    EXPECT_EQ(find(u"tai", true), u"第 1 個，總共 3 個（對另外一頭閣揣）@0");
    EXPECT_EQ(find(u"tai", false),
        u"第 3 個，總共 3 個（對另外一頭閣揣）@" + kpx::decodeBig5(std::to_string(text.find(u"tAI"))));
    EXPECT_EQ(find(u"tai", false), u"第 2 個，總共 3 個@" + kpx::decodeBig5(std::to_string(text.find(u"tai5"))));
    // Other characters only match themselves; matches do not overlap.
    EXPECT_EQ(find(u"台台", true), u"第 1 個，總共 1 個@" + kpx::decodeBig5(std::to_string(text.find(u"台台"))));
    EXPECT_EQ(find(u"ｔａｉ", true).substr(0, 2), u"揣無");
    EXPECT_EQ(find(u"", true).substr(0, 2), u"揣無");
    EXPECT_EQ(face.text, text);
    EXPECT_EQ(dirty(), 0);
    EXPECT_EQ(face.problemShowings, 0);
}

TEST_F(Finding, GoToLineAsksAndKeepsWithinTheText)
{
    bench->SwitchSlot(1);
    face.type(u"a 1\r\nb 2\rc 3\n\u2029e 5\n");
    face.caret = face.text.find(u"c 3");
    face.lineAnswers = { 4, 99, 0 };
    bench->GoToLine();
    ASSERT_EQ(face.count("line"), 1u);
    EXPECT_EQ(face.seen[0].text, u"列號（1 到 5）：");
    EXPECT_EQ(face.caret, face.text.find(u"\u2029"));
    bench->GoToLine();
    EXPECT_EQ(face.caret, face.text.find(u"e 5"));
    bench->GoToLine();
    EXPECT_EQ(face.caret, 0u);
    face.caret = 4;
    bench->GoToLine(); // cancelled
    EXPECT_EQ(face.caret, 4u);
    EXPECT_EQ(face.undoSteps, 0);
    // The line counting agrees with the compiler's: line N of a run is line N here.
    EXPECT_EQ(kpx::textLineCount(face.text), 5);
    EXPECT_EQ(kpx::lineAtPosition(face.text, face.text.find(u"e 5")), 5);
    EXPECT_EQ(kpx::textLineCount(u""), 0);
}

} // namespace
} // namespace kpxtest
