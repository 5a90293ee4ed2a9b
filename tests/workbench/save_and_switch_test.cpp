// SPDX-License-Identifier: GPL-2.0-or-later
// The data-modified flag, the status bar, Save, the unsaved-data question and the slot switch,
// driven through a scripted face.
#include <fstream>

#include "tests/workbench/fake_face.h"
#include "workbench/data_file.h"
#include "workbench/program_texts.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace kpxtest {
namespace {

using kpx::DirtyAnswer;
using Editing = WorkbenchTest;

TEST_F(Editing, StartsAtSlotOneWithNothingModified)
{
    EXPECT_EQ(bench->currentSlot(), 1);
    EXPECT_EQ(bench->dirtyWarning().dirty, 0);
    EXPECT_EQ(bench->dirtyWarning().answerYes, 0);
    EXPECT_EQ(bench->dirtyWarning().answerNo, 0);
    EXPECT_EQ(bench->dirtyWarning().answerCancel, 0);
    EXPECT_EQ(bench->progressPosition(), 0);
    // The unsaved-data dialog's four flags are bytes, in this order.
    static_assert(sizeof(kpx::DirtyWarningState) == 4);
    static_assert(offsetof(kpx::DirtyWarningState, answerCancel) == 3);
}

TEST_F(Editing, StatusBarFollowsEditing)
{
    bench->SwitchSlot(1);
    EXPECT_EQ(face.panels[0], u"總共");
    EXPECT_EQ(face.panels[1], u"0 列");
    EXPECT_EQ(face.panels[2], u"");
    EXPECT_EQ(dirty(), 0);
    face.type(u"a");
    EXPECT_EQ(face.panels[1], u"1 列");
    EXPECT_EQ(face.panels[2], u"資料修改過");
    EXPECT_EQ(dirty(), 1);
    // A line break at the end begins no further line.
    face.type(u"a\n");
    EXPECT_EQ(face.panels[1], u"1 列");
    face.type(u"a\nb");
    EXPECT_EQ(face.panels[1], u"2 列");
    // Texts are never compared: deleting what was typed leaves the data modified.
    face.type(u"");
    EXPECT_EQ(face.panels[1], u"0 列");
    EXPECT_EQ(face.panels[2], u"資料修改過");
    EXPECT_EQ(dirty(), 1);
    bench->SetDirty(0);
    EXPECT_EQ(face.panels[2], u"");
}

TEST_F(Editing, SaveWritesTheEditorsBytes)
{
    bench->SwitchSlot(1);
    face.type(u"a b\nc d");
    EXPECT_EQ(dirty(), 1);
    bench->Save();
    EXPECT_TRUE(face.seen.empty());
    EXPECT_EQ(readData("kpx-ty1.txt"), "a b\r\nc d");
    EXPECT_EQ(dirty(), 0);
    EXPECT_EQ(face.panels[2], u"");
    EXPECT_EQ(face.panels[1], u"2 列");

    // Saving does not look at the flag: unchanged data are written again.
    std::filesystem::remove(file("kpx-ty1.txt"));
    bench->Save();
    EXPECT_EQ(readData("kpx-ty1.txt"), "a b\r\nc d");

    // A slot of another row writes its own file.
    bench->SwitchSlot(30);
    face.type(u"z\n");
    bench->Save();
    EXPECT_EQ(readData("kpx-ib0.txt"), "z\r\n");

    // Chinese typed in the editor is saved as Big5; every kind of line break becomes CR LF.
    bench->SwitchSlot(1);
    face.type(u"漢\r\n字\r甲\u2029乙");
    bench->Save();
    EXPECT_EQ(readData("kpx-ty1.txt"), big5(u"漢\r\n字\r\n甲\r\n乙"));
}

TEST_F(Editing, SaveWithCaretRestore)
{
    bench->SwitchSlot(1);
    face.type(u"abc\ndef");
    face.caret = 5;
    const int focused = face.focused;
    bench->SaveWithCaretRestore();
    EXPECT_EQ(readData("kpx-ty1.txt"), "abc\r\ndef");
    EXPECT_EQ(face.caret, 5u);
    EXPECT_GT(face.focused, focused);
    EXPECT_EQ(dirty(), 0);
}

struct LineEnds {
    const char *name;
    std::u16string file;
    std::u16string shown;
    std::u16string saved;
};

void PrintTo(const LineEnds &ends, std::ostream *out)
{
    *out << ends.name;
}

class LineEndsBecomeCrLf : public WorkbenchTest, public ::testing::WithParamInterface<LineEnds> { };

TEST_P(LineEndsBecomeCrLf, OnLoadAndSave)
{
    writeData("kpx-ty2.txt", big5(GetParam().file));
    bench->SwitchSlot(2);
    // The face gets its lines separated by "\n".
    EXPECT_EQ(face.text, GetParam().shown);
    EXPECT_EQ(dirty(), 0);
    EXPECT_EQ(face.panels[2], u"");
    bench->Save();
    EXPECT_EQ(readData("kpx-ty2.txt"), big5(GetParam().saved));
}

INSTANTIATE_TEST_SUITE_P(Files, LineEndsBecomeCrLf,
    ::testing::Values(LineEnds { "LF", u"x 甲\ny\n", u"x 甲\ny\n", u"x 甲\r\ny\r\n" },
        LineEnds { "CR", u"x\ry", u"x\ny", u"x\r\ny" },
        LineEnds { "mixed", u"a\r\nb\nc\rd\r\n\r\n", u"a\nb\nc\nd\n\n", u"a\r\nb\r\nc\r\nd\r\n\r\n" },
        LineEnds { "LFCRIsTwoBreaks", u"a\n\rb", u"a\n\nb", u"a\r\n\r\nb" }),
    [](const auto &info) { return std::string(info.param.name); });

struct DataBytes {
    const char *name;
    std::string bytes;
};
void PrintTo(const DataBytes &data, std::ostream *out)
{
    *out << data.name;
}

class BytesComeBackUnchanged : public WorkbenchTest, public ::testing::WithParamInterface<DataBytes> { };

TEST_P(BytesComeBackUnchanged, ThroughLoadAndSave)
{
    const std::string &bytes = GetParam().bytes;
    writeData("kpx-ty3.txt", bytes);
    bench->SwitchSlot(3);
    EXPECT_EQ(dirty(), 0);
    std::filesystem::remove(file("kpx-ty3.txt"));
    bench->Save();
    EXPECT_TRUE(face.seen.empty());
    const std::string saved = readData("kpx-ty3.txt");
    EXPECT_EQ(saved.size(), bytes.size());
    EXPECT_EQ(saved, bytes);
}

std::string everyTwoByteCode()
{
    std::string bytes;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            bytes += static_cast<char>(lead);
            bytes += static_cast<char>(trail);
        }
        bytes += "\r\n";
    }
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(Files, BytesComeBackUnchanged,
    ::testing::Values(DataBytes { "Big5Text", big5(u"a-ba 阿爸\t父親\r\n// 註解\r\n#include <x.txt>") },
        DataBytes { "UndefinedA3C0", "k \xA3\xC0\xA3\xFE\r\nz" },
        DataBytes { "LoneLeadByteBeforeABreak", "k \x81\r\nz \xFE\r\n" },
        DataBytes { "LoneLeadByteAtTheEnd", "k \xA4" }, DataBytes { "SingleHighBytes", "\x80\xFF\xA0 \xFE\x7F\r\n" },
        DataBytes { "CodesThatDecodeToAnotherCode", "\xA2\xCC\xA2\xCE\xF9\xF9\xF9\xFE" },
        DataBytes { "UserDefinedArea", "\xFA\x40\x8E\xA1\xC6\xA1" },
        DataBytes { "Controls", "\x01\x0B\x0C\x1F\x7F\r\n\t" }, DataBytes { "EveryTwoByteCode", everyTwoByteCode() }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Editing, ZeroByteEndsTheText)
{
    writeData("kpx-ty1.txt", std::string("ab\r\ncd\0ef\r\ngh", 14));
    bench->SwitchSlot(1);
    EXPECT_EQ(face.text, u"ab\ncd");
    EXPECT_EQ(face.panels[1], u"2 列");
}

// A zero byte ends the text at load, and Save then wrote the cut text back: the lines after it
// were gone for good. The load now says so, and every save asks first, no by default.
TEST_F(Editing, ZeroByteFileIsNotCutShortUnasked)
{
    const std::string bytes("abc x\r\n\0def y\r\nghi z\r\n", 20);
    writeData("kpx-ty1.txt", bytes);
    bench->SwitchSlot(1);
    EXPECT_EQ(face.text, u"abc x\n");
    ASSERT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(face.seen[0].kind, "notice");
    EXPECT_TRUE(contains(face.seen[0].text, shown(u"kpx-ty1.txt")));
    EXPECT_TRUE(contains(face.seen[0].text, u"第 2 列"));
    EXPECT_EQ(dirty(), 0);

    face.seen.clear();
    face.confirmations = { false, false };
    bench->Save();
    bench->SaveAndMake();
    EXPECT_EQ(face.count("confirm"), 2u);
    EXPECT_TRUE(contains(face.seen[0].text, u"第 2 列"));
    EXPECT_FALSE(exists("kpx-ty1.zd"));
    face.type(u"abc x\nmore");
    face.answers = { DirtyAnswer::Yes };
    face.confirmations = { false };
    EXPECT_FALSE(bench->SwitchSlot(2));
    EXPECT_EQ(readData("kpx-ty1.txt"), bytes);

    // Said yes to, the save goes ahead; afterwards the file is the editor's.
    face.confirmations = { true };
    bench->Save();
    EXPECT_EQ(readData("kpx-ty1.txt"), "abc x\r\nmore");
    face.seen.clear();
    bench->Save();
    EXPECT_TRUE(face.seen.empty());
    EXPECT_EQ(face.unexpected, 0);
}

TEST_F(Editing, SaveFailures)
{
    bench->SwitchSlot(1);
    face.type(u"a");

    // A directory where the file should be.
    std::filesystem::create_directories(file("kpx-ty1.txt"));
    bench->SaveWithCaretRestore();
    ASSERT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(face.seen[0].kind, "error");
    EXPECT_EQ(face.seen[0].text, u"Cannot create file " + shown(u"kpx-ty1.txt"));
    EXPECT_TRUE(std::filesystem::is_directory(file("kpx-ty1.txt")));
    EXPECT_EQ(dirty(), 1);
    // Nothing left behind beside it.
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(vokelu()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string> { "kpx-ty1.txt" });
    std::filesystem::remove(file("kpx-ty1.txt"));

    // The directory is missing, and the program never makes it.
    face.seen.clear();
    std::filesystem::remove_all(vokelu());
    bench->Save();
    ASSERT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(face.seen[0].kind, "error");
    EXPECT_EQ(face.seen[0].text, u"Cannot create file " + shown(u"kpx-ty1.txt"));
    EXPECT_EQ(dirty(), 1);
    EXPECT_EQ(face.panels[2], u"資料修改過");
    EXPECT_EQ(face.text, u"a");
    EXPECT_FALSE(std::filesystem::exists(vokelu()));
}

TEST_F(Editing, SaveFailureReadOnlyFile)
{
    writeData("kpx-ty1.txt", "old\r\n");
    bench->SwitchSlot(1);
    face.type(u"new");
    std::filesystem::permissions(
        file("kpx-ty1.txt"), std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    if (std::ofstream(file("kpx-ty1.txt"), std::ios::app).good())
        GTEST_SKIP() << "this user may write to read-only files";
    bench->Save();
    ASSERT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(face.seen[0].text, u"Cannot create file " + shown(u"kpx-ty1.txt"));
    EXPECT_EQ(readData("kpx-ty1.txt"), "old\r\n");
    EXPECT_EQ(dirty(), 1);
}

TEST_F(Editing, TextWithoutBig5IsNotSaved)
{
    writeData("kpx-ty1.txt", "old\r\n");
    bench->SwitchSlot(1);
    // U+0E01 (Thai) has no Big5 form.
    face.type(u"ok\nab\u0E01c");
    bench->Save();
    ASSERT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(face.seen[0].kind, "notice");
    EXPECT_EQ(face.seen[0].text,
        u"第 2 列有一個字「\u0E01」（U+0E01）無 Big5 碼，\r\n\r\n資料無存。\r\n請先改掉這個字才閣存檔。");
    EXPECT_EQ(readData("kpx-ty1.txt"), "old\r\n");
    EXPECT_EQ(dirty(), 1);
    // The caret points at the character.
    EXPECT_EQ(face.caret, 5u);

    // A character beyond the BMP is named whole; CR LF counts as one line break.
    face.seen.clear();
    face.type(u"a\r\nb\r\n\U0001F600x");
    bench->Save();
    ASSERT_EQ(face.seen.size(), 1u);
    EXPECT_TRUE(startsWith(face.seen[0].text, u"第 3 列有一個字「\U0001F600」（U+1F600）"));
    EXPECT_EQ(face.caret, 6u);
}

TEST_F(Editing, SwitchToMissingFile)
{
    bench->SwitchSlot(15);
    EXPECT_EQ(bench->currentSlot(), 15);
    EXPECT_EQ(face.pressedSlot, 15);
    EXPECT_EQ(face.text, u"");
    EXPECT_EQ(face.panels[1], u"0 列");
    EXPECT_EQ(face.panels[2], u"");
    EXPECT_EQ(face.dataPath, shown(u"kpx-py5.txt"));
    EXPECT_EQ(face.tablePath, shown(u"kpx-py5.zd"));
    EXPECT_FALSE(exists("kpx-py5.txt"));
}

TEST_F(Editing, SwitchWithoutChanges)
{
    writeData("kpx-ty2.txt", "second\r\n");
    bench->SwitchSlot(1);
    bench->SwitchSlot(2);
    EXPECT_TRUE(face.seen.empty());
    EXPECT_EQ(bench->currentSlot(), 2);
    EXPECT_EQ(face.pressedSlot, 2);
    EXPECT_EQ(face.text, u"second\n");
    EXPECT_EQ(face.dataPath, shown(u"kpx-ty2.txt"));
    EXPECT_EQ(dirty(), 0);
    bench->SwitchSlot(20);
    EXPECT_EQ(bench->currentSlot(), 20);
    EXPECT_EQ(face.tablePath, shown(u"kpx-py0.zd"));
    EXPECT_EQ(face.text, u"");
}

class AskToSave : public WorkbenchTest, public ::testing::WithParamInterface<DirtyAnswer> { };

TEST_P(AskToSave, OnLeavingTheSlot)
{
    const DirtyAnswer answer = GetParam();
    writeData("kpx-ty1.txt", "one\r\n");
    writeData("kpx-ty2.txt", "two\r\n");
    bench->SwitchSlot(1);
    face.type(u"changed");
    face.answers = { answer };
    const bool switched = bench->SwitchSlot(2);
    ASSERT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(face.seen[0].kind, "question");
    const kpx::DirtyWarningState &flags = bench->dirtyWarning();
    EXPECT_EQ(flags.answerYes, answer == DirtyAnswer::Yes);
    EXPECT_EQ(flags.answerNo, answer == DirtyAnswer::No);
    EXPECT_EQ(flags.answerCancel, answer == DirtyAnswer::Cancel);
    switch (answer) {
    case DirtyAnswer::Yes:
    case DirtyAnswer::No:
        EXPECT_TRUE(switched);
        EXPECT_EQ(readData("kpx-ty1.txt"), answer == DirtyAnswer::Yes ? "changed" : "one\r\n");
        EXPECT_EQ(bench->currentSlot(), 2);
        EXPECT_EQ(face.pressedSlot, 2);
        EXPECT_EQ(face.text, u"two\n");
        EXPECT_EQ(dirty(), 0);
        break;
    default:
        EXPECT_FALSE(switched);
        EXPECT_EQ(readData("kpx-ty1.txt"), "one\r\n");
        EXPECT_EQ(bench->currentSlot(), 1);
        EXPECT_EQ(face.pressedSlot, 1);
        EXPECT_EQ(face.text, u"changed");
        EXPECT_EQ(dirty(), 1);
        EXPECT_EQ(face.dataPath, shown(u"kpx-ty1.txt"));
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, AskToSave, ::testing::Values(DirtyAnswer::Yes, DirtyAnswer::No, DirtyAnswer::Cancel, DirtyAnswer::None));

TEST_F(Editing, NoQuestionWithoutChangesAndFlagsUntouched)
{
    bench->SwitchSlot(1);
    face.type(u"x");
    face.answers = { DirtyAnswer::No };
    bench->SwitchSlot(2);
    EXPECT_EQ(bench->dirtyWarning().answerNo, 1);
    // Not modified: no question, and the flags of the last one stay.
    bench->SwitchSlot(3);
    EXPECT_EQ(face.count("question"), 1u);
    EXPECT_EQ(bench->dirtyWarning().answerNo, 1);
}

TEST_F(Editing, AskToSaveWhenSaveFails)
{
    bench->SwitchSlot(1);
    face.type(u"changed");
    std::filesystem::create_directories(file("kpx-ty1.txt"));
    face.answers = { DirtyAnswer::Yes };
    bench->SwitchSlot(5);
    ASSERT_EQ(face.seen.size(), 2u);
    EXPECT_EQ(face.seen[1].kind, "error");
    // The error ends the switch.
    EXPECT_EQ(bench->currentSlot(), 1);
    EXPECT_EQ(face.pressedSlot, 1);
    EXPECT_EQ(face.text, u"changed");
    EXPECT_EQ(dirty(), 1);
}

TEST_F(Editing, CurrentSlotButton)
{
    writeData("kpx-ty1.txt", "before");
    bench->SwitchSlot(1);
    EXPECT_EQ(face.text, u"before");
    // Unmodified: read again from disk.
    writeData("kpx-ty1.txt", "after");
    bench->SwitchSlot(1);
    EXPECT_TRUE(face.seen.empty());
    EXPECT_EQ(face.text, u"after");
    EXPECT_EQ(face.pressedSlot, 1);
    // Modified and cancelled: the text stays.
    face.type(u"mine");
    face.answers = { DirtyAnswer::Cancel };
    bench->SwitchSlot(1);
    EXPECT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(face.text, u"mine");
    EXPECT_EQ(face.pressedSlot, 1);
    EXPECT_EQ(dirty(), 1);
}

TEST_F(Editing, UnreadableFileIsNotOverwrittenUnasked)
{
    // A directory where the data file should be cannot be read as one.
    std::filesystem::create_directories(file("kpx-ty4.txt"));
    bench->SwitchSlot(1);
    EXPECT_FALSE(bench->SwitchSlot(4));
    ASSERT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(face.seen[0].kind, "error");
    EXPECT_EQ(
        face.seen[0].text, u"Cannot open file " + shown(u"kpx-ty4.txt") + u"\n\nm是普通 e 檔案：是一個資料夾，無讀");
    EXPECT_EQ(bench->currentSlot(), 4);
    EXPECT_EQ(face.text, u"");
    EXPECT_EQ(face.dataPath, shown(u"kpx-ty4.txt"));
    EXPECT_EQ(face.panels[1], u"0 列");
    EXPECT_EQ(dirty(), 0);
    // Leaving the slot is free: nothing is lost.
    bench->SwitchSlot(5);
    EXPECT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(bench->currentSlot(), 5);
#ifndef _WIN32
    // A named pipe is refused at once: reading it would wait for a writer that never comes.
    ASSERT_EQ(::mkfifo(file("kpx-ty6.txt").c_str(), 0600), 0);
    EXPECT_FALSE(bench->SwitchSlot(6));
    ASSERT_EQ(face.seen.size(), 2u);
    EXPECT_EQ(face.seen[1].text, kpx::texts::notRegularFile(shown(u"kpx-ty6.txt"), kpx::os::FileKind::NamedPipe));
#endif
}

TEST_F(Editing, TooLargeFileIsNotOverwrittenUnasked)
{
    {
        // Sparse: the size alone is over the editor's capacity.
        std::ofstream big(file("kpx-ty6.txt"), std::ios::binary);
        big << "head";
    }
    std::filesystem::resize_file(file("kpx-ty6.txt"), kpx::kEditorCapacityBytes + 1);
    const auto size = std::filesystem::file_size(file("kpx-ty6.txt"));
    bench->SwitchSlot(1);
    bench->SwitchSlot(6);
    ASSERT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(face.seen[0].text, u"Text exceeds memo capacity");
    EXPECT_EQ(bench->currentSlot(), 6);
    EXPECT_EQ(face.text, u"");

    // Saving the empty (or new) text over it needs the user's word.
    face.type(u"new");
    face.seen.clear();
    face.confirmations = { false };
    bench->Save();
    ASSERT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(face.seen[0].kind, "confirm");
    EXPECT_TRUE(contains(face.seen[0].text, shown(u"kpx-ty6.txt")));
    EXPECT_EQ(std::filesystem::file_size(file("kpx-ty6.txt")), size);
    EXPECT_EQ(dirty(), 1);

    // The same through the question on leaving the slot: 是, then no to overwriting.
    face.seen.clear();
    face.answers = { DirtyAnswer::Yes };
    face.confirmations = { false };
    bench->SwitchSlot(7);
    EXPECT_EQ(face.seen.size(), 2u);
    EXPECT_EQ(bench->currentSlot(), 6);
    EXPECT_EQ(std::filesystem::file_size(file("kpx-ty6.txt")), size);

    face.seen.clear();
    face.confirmations = { true };
    bench->Save();
    EXPECT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(readData("kpx-ty6.txt"), "new");
    EXPECT_EQ(dirty(), 0);
    // Once saved, the file is the editor's again.
    face.seen.clear();
    bench->Save();
    EXPECT_TRUE(face.seen.empty());
    EXPECT_EQ(face.unexpected, 0);
}

// Save once wrote over whatever stood at the data file's path, even what another program had
// written there since the file was loaded or saved here. It asks first now, no by default.
TEST_F(Editing, DataFileChangedOnDiskAsksBeforeSaving)
{
    writeData("kpx-ty1.txt", "one\r\n");
    bench->SwitchSlot(1);
    face.type(u"mine");
    // Another program: the size changes.
    writeData("kpx-ty1.txt", "theirs\r\n");
    face.confirmations = { false };
    bench->Save();
    ASSERT_EQ(face.seen.size(), 1u);
    EXPECT_EQ(face.seen[0].kind, "confirm");
    EXPECT_TRUE(contains(face.seen[0].text, shown(u"kpx-ty1.txt")));
    EXPECT_EQ(readData("kpx-ty1.txt"), "theirs\r\n");
    EXPECT_EQ(dirty(), 1);
    face.confirmations = { true };
    bench->Save();
    EXPECT_EQ(readData("kpx-ty1.txt"), "mine");
    EXPECT_EQ(dirty(), 0);
    // Untouched since this save: no question.
    face.seen.clear();
    bench->Save();
    EXPECT_TRUE(face.seen.empty());

    // The same size, a later time.
    writeData("kpx-ty1.txt", "MINE");
    std::filesystem::last_write_time(
        file("kpx-ty1.txt"), std::filesystem::last_write_time(file("kpx-ty1.txt")) + std::chrono::seconds(5));
    face.confirmations = { false };
    bench->SaveWithCaretRestore();
    EXPECT_EQ(face.count("confirm"), 1u);
    EXPECT_EQ(readData("kpx-ty1.txt"), "MINE");

    // Made by another program after the slot was found without one; 是 in the question asks too.
    bench->SetDirty(0);
    bench->SwitchSlot(2);
    face.type(u"two");
    writeData("kpx-ty2.txt", "made elsewhere");
    face.seen.clear();
    face.answers = { DirtyAnswer::Yes };
    face.confirmations = { false };
    EXPECT_FALSE(bench->SwitchSlot(3));
    EXPECT_EQ(face.count("confirm"), 1u);
    EXPECT_EQ(readData("kpx-ty2.txt"), "made elsewhere");
    EXPECT_EQ(bench->currentSlot(), 2);
    EXPECT_EQ(face.unexpected, 0);
}

TEST_F(Editing, SaveFollowsASymbolicLink)
{
#ifdef _WIN32
    GTEST_SKIP() << "no links for the program's files on Windows";
#else
    TempDir elsewhere;
    writeFile(elsewhere.path() / "kept.txt", "old\r\n");
    std::filesystem::create_symlink(elsewhere.path() / "kept.txt", file("kpx-ty1.txt"));
    bench->SwitchSlot(1);
    face.type(u"new");
    bench->Save();
    EXPECT_TRUE(std::filesystem::is_symlink(file("kpx-ty1.txt")));
    EXPECT_EQ(readFile(elsewhere.path() / "kept.txt"), "new");
#endif
}

} // namespace
} // namespace kpxtest
