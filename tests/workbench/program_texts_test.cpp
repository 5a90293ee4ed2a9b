// SPDX-License-Identifier: GPL-2.0-or-later
// Every text the program shows has a Big5 form, as every text it handles: the native face shows
// them through code page 950.
#include "platform/text/big5_codec.h"
#include "workbench/handbook_text.h"
#include "workbench/program_texts.h"
#include <gtest/gtest.h>

namespace {

using namespace kpx::texts;

bool hasBig5Form(std::u16string_view text)
{
    return kpx::encodeBig5Lines(text).ok();
}

TEST(ProgramTexts, EveryTextHasABig5Form)
{
    const std::u16string path = u"C:\\vokelu\\kpx-ty1.txt";
    const std::u16string texts[] = { std::u16string(kProgramTitle), std::u16string(kWindowTitle),
        std::u16string(kStatusTotal), statusLines(125), std::u16string(kStatusModified), std::u16string(kQuestionTitle),
        std::u16string(kQuestionLine1), std::u16string(kQuestionLine2), std::u16string(kQuestionYes),
        std::u16string(kQuestionNo), std::u16string(kQuestionCancel), std::u16string(kNoticeTitle),
        tableMadeNotice(3, path), tableNotMadeNotice(path, kTableReadOnly, u"Permission denied"),
        std::u16string(kTableNoPath), std::u16string(kTableCannotCreate), std::u16string(kTableWriteFailed),
        std::u16string(kTableCannotReplace), std::u16string(kTableOutOfMemory), std::u16string(kTableUnknown),
        std::u16string(kSortTooManyLines), notSavedWithoutBig5(2, u"x", 0x0E01),
        tableNotMadeWithoutBig5(2, u"x", 0x0E01), cannotCreateFile(path), cannotOpenFile(path),
        std::u16string(kTextExceedsCapacity), dataNotWritten(path, u"No space left on device"),
        confirmOverwriteUnloaded(path), partlyLoadedNotice(path, 2), confirmOverwritePartlyLoaded(path, 2),
        confirmOverwriteChanged(path), confirmTableFromUnloaded(path, path), lockDirectoryMissing(path),
        lockDirectoryNotWritable(path), lockLeftByOtherUser(path, u"root"), lockHolderSilent(path),
        std::u16string(kCopyOfOtherUser), std::u16string(kCopyWithoutWindow), lockNotCreated(u"Access is denied."),
        std::u16string(kStartingAnyway), problemsTitle(3, 1), std::u16string(kProblemsColumnLine),
        std::u16string(kProblemsColumnFile), std::u16string(kProblemsColumnReason), std::u16string(kProblemInEditor),
        std::u16string(kMenuFind), std::u16string(kMenuGoToLine), std::u16string(kMenuProblems),
        std::u16string(kFindLabel), std::u16string(kFindNext), std::u16string(kFindPrevious),
        std::u16string(kFindNotFound), findCount(2, 3, true), std::u16string(kGoToLineTitle), goToLinePrompt(9),
        std::u16string(kButtonYes), std::u16string(kButtonNo), std::u16string(kButtonOk), std::u16string(kButtonCancel),
        std::u16string(kMenuUndo), std::u16string(kMenuRedo), std::u16string(kMenuSort), notSavedWithoutBig5(2, u"", 0),
        tableNotMadeWithoutBig5(2, u"", 0x2028), systemReason(kpx::os::ErrorKind::NoSuchFile, u""),
        systemReason(kpx::os::ErrorKind::PermissionDenied, u""),
        systemReason(kpx::os::ErrorKind::ReadOnlyFileSystem, u""), systemReason(kpx::os::ErrorKind::DiskFull, u""),
        importPreview(path, 3, 4, { 1, 1, 1, 1, 1, 1 }, 2, u"x→y", { { std::u16string(kImportNoBig5Kind), 1 } },
            { u"第 3 列：x" }),
        std::u16string(kImportKeyColumnQuestion), std::u16string(kImportTextColumnQuestion),
        std::u16string(kImportNoColumn), std::u16string(kImportShortRow), std::u16string(kImportUnclosedQuote),
        std::u16string(kTypeCsv), std::u16string(kImportGo), std::u16string(kImportWithoutVariants),
        columnWithoutName(2), importReplacedReason(u"x", u"y"), importProblemsTitle(2, 3) };
    for (const std::u16string &text :
        { std::u16string(kTableTooLarge), tableWouldReplaceInput(path), exportWouldReplaceInput(path, path),
            problemsTitle(3, 1, 2), notRegularFile(path, kpx::os::FileKind::NamedPipe) })
        EXPECT_TRUE(hasBig5Form(text));
    for (int reason = 0; reason <= static_cast<int>(kpx::LineProblemReason::IncludeReadAgain); ++reason) {
        EXPECT_TRUE(hasBig5Form(problemReason(static_cast<kpx::LineProblemReason>(reason), path, 3))) << reason;
        EXPECT_TRUE(hasBig5Form(problemReason(static_cast<kpx::LineProblemReason>(reason), u"", 3))) << reason;
    }
    for (const std::u16string_view caption : { kCaption_mnF1, kCaption_mn4save1, kCaption_mn4jejok1, kCaption_mn4sj1,
             kCaption_mn4exi1, kCaption_mnE1, kCaption_mnCut1, kCaption_mnCopy1, kCaption_mnPaste1, kCaption_mnAll1,
             kCaption_mnH1, kCaption_mnCheh1, kCaption_mnAbout1, kCaption_Label3, kCaption_Label4, kCaption_Label5,
             kCaption_Label6, kCaption_bnJejok1, kCaption_bnSort1, kCaption_bn4save, kCaption_Label1, kCaption_Label2 })
        EXPECT_TRUE(hasBig5Form(caption));
    for (const std::u16string &text : texts)
        EXPECT_TRUE(hasBig5Form(text)) << std::string(text.begin(), text.end());
    for (int page = 1; page <= kpx::kHandbookPageCount; ++page) {
        EXPECT_TRUE(hasBig5Form(systemText(kpx::handbookPageText(page)))) << page;
        EXPECT_TRUE(hasBig5Form(systemText(kpx::handbookPageCaption(page)))) << page;
    }
    for (const std::string_view line : kpx::kAboutContact)
        EXPECT_TRUE(hasBig5Form(systemText(line)));
}

TEST(ProgramTexts, CodePointsAndSystemWords)
{
    EXPECT_EQ(codePointText(0x0E01), u"U+0E01");
    EXPECT_EQ(codePointText(0x1F600), u"U+1F600");
    // The system's words for the less common failures.
    EXPECT_EQ(systemReason(kpx::os::ErrorKind::Other, u"Input/output error"), u"Input/output error");
    // File names on Linux are UTF-8; anything else is taken for Big5.
    EXPECT_EQ(systemText("/home/\xE5\x8F\xB0/x"), u"/home/台/x");
    EXPECT_EQ(systemText("\xA5\x78\xC6\x57"), u"台灣");
    EXPECT_EQ(systemText("\xED\xA0\x80"), kpx::decodeBig5("\xED\xA0\x80")); // a surrogate in UTF-8 form
}

} // namespace
