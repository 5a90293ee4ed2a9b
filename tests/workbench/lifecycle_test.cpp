// SPDX-License-Identifier: GPL-2.0-or-later
// Restoring the slot and caret at activation, and the close query with the state file, driven
// through a scripted face.
#include "tests/workbench/fake_face.h"
#include "workbench/program_texts.h"

namespace kpxtest {
namespace {

using kpx::DirtyAnswer;
using kpx::FocusedWindow;
using Lifecycle = WorkbenchTest;

const std::string kStateHeader
    = "//kpxv4.ini, unless you know what you are doing, don't change this file, but deleting this file is alright";

struct StoredState {
    const char *name;
    std::string state;
    int slot;
    std::size_t caret;
};

void PrintTo(const StoredState &stored, std::ostream *out)
{
    *out << stored.name;
}

class FirstShowingRestoresState : public WorkbenchTest, public ::testing::WithParamInterface<StoredState> { };

TEST_P(FirstShowingRestoresState, SlotAndCaret)
{
    const StoredState &stored = GetParam();
    if (!stored.state.empty())
        writeData("kpxv4.ini", stored.state);
    writeData("kpx-ib5.txt", "abcdefghij\r\nkl");
    writeData("kpx-ty1.txt", "slot one");
    writeData("kpx-py2.txt", "py two");
    ASSERT_TRUE(bench->focusMoved(FocusedWindow::Main));
    bench->FormActivate();
    EXPECT_EQ(bench->currentSlot(), stored.slot);
    EXPECT_TRUE(face.seen.empty());
    EXPECT_EQ(face.pressedSlot, stored.slot);
    const std::u16string expected = stored.slot == 25 ? u"abcdefghij\nkl" : stored.slot == 12 ? u"py two" : u"slot one";
    EXPECT_EQ(face.text, expected);
    EXPECT_EQ(face.caret, stored.caret);
    EXPECT_EQ(dirty(), 0);
}

INSTANTIATE_TEST_SUITE_P(States, FirstShowingRestoresState,
    ::testing::Values(StoredState { "f25s7", "//header\r\nf=25\r\ns=7\r\n", 25, 7 },
        StoredState { "NoStateFile", "", 1, 0 }, StoredState { "f40", "f=40\r\ns=3\r\n", 1, 3 },
        StoredState { "f0", "f=0\r\n", 1, 0 }, StoredState { "fWithoutDigits", "f=abc\r\ns=\r\n", 1, 0 },
        StoredState { "OtherKeysAndFreeLines", "x=1\r\nfree\r\nF=3\r\nf= 12\r\ns=+2\r\n", 12, 2 },
        StoredState { "CaretPastTheEnd", "f=25\r\ns=999\r\n", 25, 13 },
        StoredState { "CaretCountsCrLfAsTwo", "f=25\r\ns=13\r\n", 25, 12 }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Lifecycle, CloseStoresSlotAndCaret)
{
    writeData("kpxv4.ini", "f=3\r\nq=other\r\nfree line\r\n");
    bench->FormActivate();
    EXPECT_EQ(bench->currentSlot(), 3);
    bench->SwitchSlot(12);
    face.type(u"ab\n甲c");
    bench->Save();
    face.caret = 4;
    EXPECT_TRUE(bench->FormCloseQuery());
    // "ab" 2 bytes, CR LF 2, 甲 2: the caret is at byte 6.
    EXPECT_EQ(readData("kpxv4.ini"), kStateHeader + "\r\nf=12\r\ns=6\r\n");
    EXPECT_EQ(kStateHeader, kpx::texts::kStateFileHeader);
}

TEST_F(Lifecycle, CloseWithoutChangesAsksNothing)
{
    bench->FormActivate();
    EXPECT_TRUE(bench->FormCloseQuery());
    EXPECT_TRUE(face.seen.empty());
    EXPECT_EQ(readData("kpxv4.ini"), kStateHeader + "\r\nf=1\r\ns=0\r\n");
}

TEST_F(Lifecycle, CloseWithoutDirectoryCreatesNothing)
{
    bench->FormActivate();
    std::filesystem::remove_all(vokelu());
    EXPECT_TRUE(bench->FormCloseQuery());
    EXPECT_FALSE(std::filesystem::exists(vokelu()));
}

// The installed program's first start without the data directory: one question; 無愛 leaves
// everything as it is and is not asked again, 是 makes the directory with the example file in it.
TEST_F(Lifecycle, FirstStartOffersTheDataDirectory)
{
    TempDir share;
    const std::filesystem::path example = share.path() / "example.txt";
    writeFile(example.string(), "d-tai-pak\t\xa5\x78\xa5\x5f\r\n");
    std::filesystem::remove_all(vokelu());

    bench->offerDataDirectoryWith(example.u16string());
    face.confirmations = { false };
    bench->FormActivate();
    ASSERT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(face.seen[0].kind, "confirm");
    EXPECT_NE(face.seen[0].text.find(shown(u"").substr(0, shown(u"").size() - 1)), std::u16string::npos);
    bench->FormActivate();
    EXPECT_EQ(face.seen.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(vokelu()));

    start();
    bench->offerDataDirectoryWith(example.u16string());
    face.confirmations = { true };
    bench->FormActivate();
    EXPECT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(readData("example.txt"), "d-tai-pak\t\xa5\x78\xa5\x5f\r\n");
    EXPECT_TRUE(bench->FormCloseQuery());
    EXPECT_TRUE(exists("kpxv4.ini"));

    // With the directory in place nothing is asked.
    start();
    bench->offerDataDirectoryWith(example.u16string());
    bench->FormActivate();
    EXPECT_TRUE(face.seen.empty());
}

class CloseWithChanges : public WorkbenchTest, public ::testing::WithParamInterface<DirtyAnswer> { };

TEST_P(CloseWithChanges, AsksFirst)
{
    const DirtyAnswer answer = GetParam();
    const bool goesOn = answer == DirtyAnswer::Yes || answer == DirtyAnswer::No;
    writeData("kpx-ty1.txt", "old");
    bench->FormActivate();
    EXPECT_EQ(face.text, u"old");
    face.type(u"new");
    face.answers = { answer };
    EXPECT_EQ(bench->FormCloseQuery(), goesOn);
    ASSERT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(face.seen[0].kind, "question");
    EXPECT_EQ(readData("kpx-ty1.txt"), answer == DirtyAnswer::Yes ? "new" : "old");
    EXPECT_EQ(exists("kpxv4.ini"), goesOn);
    EXPECT_EQ(dirty(), answer == DirtyAnswer::Yes ? 0 : 1);
    EXPECT_EQ(face.text, u"new");
}

INSTANTIATE_TEST_SUITE_P(Answers, CloseWithChanges,
    ::testing::Values(DirtyAnswer::Yes, DirtyAnswer::No, DirtyAnswer::Cancel, DirtyAnswer::None));

TEST_F(Lifecycle, CloseWhenTheSaveFails)
{
    bench->FormActivate();
    face.type(u"new");
    std::filesystem::create_directories(file("kpx-ty1.txt"));
    face.answers = { DirtyAnswer::Yes };
    EXPECT_FALSE(bench->FormCloseQuery());
    EXPECT_EQ(face.count("error"), 1u);
    EXPECT_FALSE(exists("kpxv4.ini"));
    EXPECT_EQ(dirty(), 1);
}

TEST_F(Lifecycle, CloseReleasesTheLibrary)
{
    ASSERT_TRUE(hasNotifier) << "the stand-in hvmrk library is not on the library path";
    bench->SwitchSlot(1);
    bench->Jejok(false);
    EXPECT_EQ(notifyCount(), 1);
    EXPECT_TRUE(bench->FormCloseQuery());
    // Released: a later run notifies nothing.
    bench->Jejok(false);
    EXPECT_EQ(notifyCount(), 1);

    // A close that stops keeps the library.
    start();
    bench->SwitchSlot(1);
    face.type(u"x");
    face.answers = { DirtyAnswer::Cancel };
    EXPECT_FALSE(bench->FormCloseQuery());
    bench->Jejok(false);
    EXPECT_EQ(notifyCount(), 2);
}

// Coming back from the handbook once reloaded the slot stored at the last close (asking to throw
// away the edits made since); the user now goes on where they were.
TEST_F(Lifecycle, ReturnFromHandbookKeepsSlotAndEdits)
{
    writeData("kpxv4.ini", "f=3\r\ns=1\r\n");
    writeData("kpx-ty3.txt", "stored");
    ASSERT_TRUE(bench->focusMoved(FocusedWindow::Main));
    bench->FormActivate();
    EXPECT_EQ(bench->currentSlot(), 3);
    EXPECT_EQ(face.text, u"stored");
    face.type(u"typed");
    face.caret = 2;
    EXPECT_FALSE(bench->focusMoved(FocusedWindow::Handbook));
    EXPECT_FALSE(bench->focusMoved(FocusedWindow::Main));
    EXPECT_EQ(bench->currentSlot(), 3);
    EXPECT_EQ(face.text, u"typed");
    EXPECT_TRUE(face.seen.empty());
}

TEST_F(Lifecycle, DialogsAndOtherProgramsDoNotRestore)
{
    ASSERT_TRUE(bench->focusMoved(FocusedWindow::Main));
    EXPECT_FALSE(bench->focusMoved(FocusedWindow::Other));
    EXPECT_FALSE(bench->focusMoved(FocusedWindow::Main));
    bench->focusMoved(FocusedWindow::Handbook);
    bench->focusMoved(FocusedWindow::None);
    EXPECT_FALSE(bench->focusMoved(FocusedWindow::Main));
}

} // namespace
} // namespace kpxtest
