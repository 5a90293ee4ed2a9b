// SPDX-License-Identifier: GPL-2.0-or-later
// The end of the user's session, a close before the window was ever shown, loads that fail part
// way, and the characters that never reach a data file.
#include "compiler/table_compiler.h"
#include "tests/workbench/fake_face.h"
#include "workbench/program_texts.h"

namespace kpxtest {
namespace {

using kpx::DirtyAnswer;
using Session = WorkbenchTest;

const std::string kState = std::string(kpx::texts::kStateFileHeader) + "\r\n";

TEST_F(Session, EndOfSessionIsAClose)
{
    writeData("kpxv4.ini", "f=12\r\ns=0\r\n");
    bench->FormActivate();
    face.type(u"ab");
    face.caret = 1;

    // 取消 refuses the end of the session: nothing saved, nothing stored.
    face.answers = { DirtyAnswer::Cancel };
    EXPECT_FALSE(bench->EndSession());
    EXPECT_FALSE(exists("kpx-py2.txt"));
    EXPECT_EQ(readData("kpxv4.ini"), "f=12\r\ns=0\r\n");
    EXPECT_EQ(dirty(), 1);

    // 是 saves, then the state file holds what the user saw.
    face.answers = { DirtyAnswer::Yes };
    EXPECT_TRUE(bench->EndSession());
    EXPECT_EQ(readData("kpx-py2.txt"), "ab");
    EXPECT_EQ(readData("kpxv4.ini"), kState + "f=12\r\ns=1\r\n");

    // 無愛 lets the session end unsaved. If the session goes on after all (another program
    // refused it), a new edit asks again at the close; without one, the close asks nothing.
    face.type(u"abc");
    face.answers = { DirtyAnswer::No, DirtyAnswer::Cancel, DirtyAnswer::No };
    EXPECT_TRUE(bench->EndSession());
    face.type(u"abcd");
    EXPECT_FALSE(bench->FormCloseQuery());
    EXPECT_TRUE(bench->EndSession());
    EXPECT_TRUE(bench->FormCloseQuery());
    EXPECT_EQ(face.count("question"), 5u);
    EXPECT_EQ(face.unexpected, 0);
    EXPECT_EQ(readData("kpx-py2.txt"), "ab");
}

TEST_F(Session, CloseBeforeFirstShowingKeepsStoredState)
{
    writeData("kpxv4.ini", "f=25\r\ns=7\r\n");
    EXPECT_TRUE(bench->FormCloseQuery());
    EXPECT_TRUE(bench->EndSession());
    EXPECT_EQ(readData("kpxv4.ini"), "f=25\r\ns=7\r\n");
    EXPECT_TRUE(face.seen.empty());
}

TEST_F(Session, FailedLoadNeverKeepsThePreviousSlotsText)
{
    writeData("kpx-ty1.txt", "slot one");
    writeData("kpx-ty2.txt", "slot two");
    writeData("kpx-ty3.txt", "slot three");
    bench->SwitchSlot(1);
    ASSERT_EQ(face.text, u"slot one");

    // The control cannot hold the text, or memory runs out while it is decoded.
    for (const bool outOfMemory : { false, true }) {
        SCOPED_TRACE(outOfMemory);
        face.seen.clear();
        face.refuseLoad = !outOfMemory;
        face.storageOutOfMemory = outOfMemory;
        const std::int32_t slot = outOfMemory ? 3 : 2;
        EXPECT_FALSE(bench->SwitchSlot(slot));
        face.refuseLoad = face.storageOutOfMemory = false;
        EXPECT_EQ(bench->currentSlot(), slot);
        EXPECT_EQ(face.text, u"");
        ASSERT_EQ(face.seen.size(), 1u);
        EXPECT_EQ(face.seen[0].kind, "error");
        EXPECT_EQ(face.seen[0].text, u"Text exceeds memo capacity");
        // The failed-load state: saving the empty editor over the file needs the user's word.
        face.confirmations = { false };
        bench->Save();
        EXPECT_EQ(face.count("confirm"), 1u);
        EXPECT_EQ(readData(outOfMemory ? "kpx-ty3.txt" : "kpx-ty2.txt"), outOfMemory ? "slot three" : "slot two");
        bench->SwitchSlot(1);
    }
    EXPECT_EQ(face.unexpected, 0);
}

TEST_F(Session, ZeroAndInvisibleCharactersAreRefusedByTheirCodePoint)
{
    writeData("kpx-ty1.txt", "old\r\n");
    bench->SwitchSlot(1);
    struct Case {
        std::u16string text;
        std::u16string named; // what the notice says of the character
        std::size_t position;
    };
    const Case cases[] = {
        { std::u16string(u"a b\nc d\ne", 9) + u'\0' + u"f", u"第 3 列有一個 0 字元（U+0000）", 9 },
        { u"ab\ncd\u2028ef", u"第 2 列有一個看袂著 e 字（U+2028）", 5 },
        { u"a\n\u0085", u"第 2 列有一個看袂著 e 字（U+0085）", 2 },
        // A visible one is still quoted; a zero after it does not hide it.
        { std::u16string(u"\u0E01", 1) + u'\0', u"第 1 列有一個字「\u0E01」（U+0E01）", 0 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.named.begin(), c.named.end()));
        face.type(c.text);
        face.seen.clear();
        bench->Save();
        bench->Jejok(true);
        ASSERT_EQ(face.seen.size(), 2u);
        EXPECT_TRUE(startsWith(face.seen[0].text, c.named) && contains(face.seen[0].text, u"資料無存"));
        EXPECT_TRUE(startsWith(face.seen[1].text, c.named) && contains(face.seen[1].text, u"對照表無做"));
        EXPECT_EQ(face.caret, c.position);
    }
    EXPECT_EQ(readData("kpx-ty1.txt"), "old\r\n");
    EXPECT_FALSE(exists("kpx-ty1.zd"));
}

TEST_F(Session, IncludingTheSlotsOwnDataFileIsACycle)
{
    // The editor's text is the slot's data file: an include line naming that file would read
    // its lines twice, and report each as a duplicate of itself.
    const std::string self = file("kpx-ty1.txt");
    writeData("kpx-ty1.txt", "a 1\r\n #include " + self + "\r\n");
    bench->SwitchSlot(1);
    bench->Jejok(false);
    ASSERT_EQ(face.problemRows, 1u);
    const kpx::Workbench::ProblemRow row = bench->problemRow(0);
    EXPECT_EQ(row.line, u"2");
    EXPECT_TRUE(startsWith(row.reason, u"#include e 檔案當咧讀，閣讀會循環"))
        << std::string(row.reason.begin(), row.reason.end());
    EXPECT_EQ(kpx::tc_count(), 1);
}

} // namespace
} // namespace kpxtest
