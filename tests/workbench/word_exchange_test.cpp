// SPDX-License-Identifier: GPL-2.0-or-later
// Words in and out through a scripted face: import appends as one edit and lists what it left
// out, export writes the slot's entries and counts the rest, a UTF-8 data file is offered for
// conversion on load.
#include "tests/workbench/fake_face.h"
#include "workbench/program_texts.h"

namespace kpxtest {
namespace {

using kpx::DirtyAnswer;
using Words = WorkbenchTest;

// The sources are UTF-8, and so are narrow literals: the other input methods' files.
std::string repeated(std::string_view piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

std::u16string row(const kpx::Workbench &bench, std::size_t at)
{
    const kpx::Workbench::ProblemRow r = bench.problemRow(at);
    return r.line + u" | " + r.reason;
}

TEST_F(Words, ImportAppendsOneEditAndListsWhatItLeftOut)
{
    writeData("kpx-ty1.txt", big5(u"a 阿"));
    bench->SwitchSlot(1);
    writeData("words.tsv",
        "tai5-uan5\t台灣\nin1\t𪜶\n" + std::string(33, 'k') + "\t長\nkhah\t" + repeated("長", 33) + "\ngua2\t我\n");
    const std::u16string picked = kpx::decodeBig5(file("words.tsv"));
    // Cancelled: nothing happens.
    face.pickedFiles = { {}, { picked, 0 } };
    bench->ImportWords();
    EXPECT_EQ(face.text, u"a 阿");
    EXPECT_FALSE(face.pickedForSaving);
    // The preview first: what will come in and what will not; 匯入 takes it.
    face.choices = { 0 };
    bench->ImportWords();
    EXPECT_EQ(face.unexpected, 0);
    ASSERT_EQ(face.count("choice"), 1u);
    const std::u16string preview = face.seen[face.seen.size() - 2].text;
    EXPECT_TRUE(contains(preview, u"讀著 5 個詞，會匯入 2 個詞條")) << std::string(preview.begin(), preview.end());
    EXPECT_TRUE(contains(preview, u"3 個袂當匯入：有字無 Big5 碼 1 個"));
    EXPECT_TRUE(contains(preview, u"第 3 列：" + std::u16string(kpx::texts::kImportKeyTooLong)));

    // The lines that came through follow the old text, which is left as it was.
    EXPECT_EQ(face.text, u"a 阿\ntai5-uan5 台灣\ngua2 我\n");
    EXPECT_EQ(face.undoSteps, 1);
    EXPECT_EQ(dirty(), 1);
    EXPECT_EQ(face.caret, face.text.find(u"tai5"));
    EXPECT_EQ(face.panels[2], u"資料修改過");
    ASSERT_EQ(face.problemRows, 3u);
    EXPECT_EQ(face.problemsTitle, u"3 列無匯入");
    EXPECT_EQ(row(*bench, 0), u"2 | 「𪜶」（U+2A736）無 Big5 碼，無匯入");
    EXPECT_EQ(row(*bench, 1), u"3 | " + std::u16string(kpx::texts::kImportKeyTooLong));
    EXPECT_EQ(row(*bench, 2), u"4 | " + std::u16string(kpx::texts::kImportTextTooLong));
    EXPECT_EQ(bench->problemRow(0).file, picked);
    EXPECT_FALSE(bench->GoToProblem(0)) << "the line is the imported file's, not the editor's";
    ASSERT_EQ(face.count("notice"), 1u);
    EXPECT_TRUE(contains(face.seen.back().text, u"匯入 2 個詞條"));

    // Nothing is written until the user saves; then the file holds Big5.
    EXPECT_EQ(readData("kpx-ty1.txt"), big5(u"a 阿"));
    bench->Save();
    EXPECT_EQ(readData("kpx-ty1.txt"), big5(u"a 阿\r\ntai5-uan5 台灣\r\ngua2 我\r\n"));
    EXPECT_EQ(dirty(), 0);
    // The next change puts the list away.
    face.type(face.text + u"x 叉\n");
    EXPECT_EQ(face.problemRows, 0u);
}

TEST_F(Words, ExportWritesEachEntryOnceAndCountsTheRest)
{
    writeData("inc.txt", big5(u"c 丙\r\n"));
    bench->SwitchSlot(1);
    face.type(u"// 註解\n#include " + kpx::decodeBig5(file("inc.txt")) + u"\nb 乙\na 甲\n字元\nb 乙\n");
    const std::u16string before = face.text;
    const std::u16string picked = kpx::decodeBig5(file("out.tsv"));
    // The file's order, then the table's.
    face.pickedFiles = { { picked, 3 }, { picked, 3 }, { picked, 0 } };
    face.choices = { 1, 0, -1 };
    bench->ExportWords();
    EXPECT_TRUE(face.pickedForSaving);
    ASSERT_GE(face.offeredTypes.size(), 4u);
    EXPECT_EQ(face.offeredTypes[3].patterns, u"*.tsv");
    EXPECT_EQ(readData("out.tsv"), std::string("c\t丙\nb\t乙\na\t甲\n"));
    ASSERT_EQ(face.count("notice"), 1u);
    const std::u16string notice = face.seen.back().text;
    EXPECT_TRUE(contains(notice, u"總共匯出 3 個詞條")) << std::string(notice.begin(), notice.end());
    EXPECT_TRUE(contains(notice, u"註解列 1 列"));
    EXPECT_TRUE(contains(notice, u"#include 列 1 列"));
    EXPECT_TRUE(contains(notice, u"無做成詞條 e 列 1 列"));
    EXPECT_TRUE(contains(notice, u"重複 e 詞條 1 個"));
    // The list shows the line that made no entry, as after a table run; the duplicate is only
    // counted, since it is written once.
    EXPECT_EQ(face.problemRows, 1u);
    EXPECT_TRUE(bench->GoToProblem(0));
    EXPECT_EQ(face.caret, face.text.find(u"字元"));

    bench->ExportWords();
    EXPECT_EQ(readData("out.tsv"), std::string("a\t甲\nb\t乙\nc\t丙\n"));
    // Cancelling the order question writes nothing.
    std::filesystem::remove(file("out.tsv"));
    bench->ExportWords();
    EXPECT_FALSE(exists("out.tsv"));
    // Never over a file the export reads: the include file keeps its words.
    face.pickedFiles = { { kpx::decodeBig5(file("inc.txt")), 0 } };
    face.choices = { 1 };
    bench->ExportWords();
    EXPECT_EQ(readData("inc.txt"), big5(u"c 丙\r\n"));
    EXPECT_TRUE(contains(face.seen.back().text, u"這個檔案是這擺有讀 e 檔案"));
    EXPECT_EQ(face.unexpected, 0);
    // Export never touches the text or the mark.
    EXPECT_EQ(face.text, before);
    EXPECT_EQ(face.undoSteps, 0);
    EXPECT_FALSE(exists("kpx-ty1.txt"));
}

TEST_F(Words, TheFileNameChoosesTheFormat)
{
    bench->SwitchSlot(1);
    face.type(u"tai5-uan5 台灣\n");
    // A name without an extension gets the selected type's (RIME, syllables spelt apart); a
    // name that says tsv is written as tsv whatever type is selected.
    const std::u16string bare = kpx::decodeBig5(file("words"));
    face.pickedFiles = { { bare, 1 }, { kpx::decodeBig5(file("list.tsv")), 0 } };
    face.choices = { 0, 0 };
    bench->ExportWords();
    ASSERT_TRUE(exists("words.dict.yaml"));
    const std::string rime = readData("words.dict.yaml");
    EXPECT_NE(rime.find(std::string("台灣\ttai5 uan5")), std::string::npos) << rime;
    bench->ExportWords();
    EXPECT_EQ(readData("list.tsv"), std::string("tai5-uan5\t台灣\n"));

    // Both come back as the same data line.
    face.type(u"");
    face.pickedFiles = { { kpx::decodeBig5(file("words.dict.yaml")), 0 }, { kpx::decodeBig5(file("list.tsv")), 0 } };
    face.choices = { 0, 0 };
    bench->ImportWords();
    bench->ImportWords();
    EXPECT_EQ(face.text, u"tai5-uan5 台灣\ntai5-uan5 台灣\n");
    EXPECT_EQ(face.problemRows, 0u);
    EXPECT_EQ(face.unexpected, 0);
}

// A real list's form: a csv file whose columns the user picks from its header, keys with tone
// marks and alternatives, characters Big5 writes another way; 取消 at any question changes nothing.
TEST_F(Words, CsvColumnsArePickedAndThePreviewComesFirst)
{
    bench->SwitchSlot(1);
    writeData("list.csv",
        "\xEF\xBB\xBF\"id\",\"Poj\",\"Han\"\r\n\"1\",\"Kè-lo/kòe-lo\",\"過路\"\r\n"
        "\"2\",\"Ke-á\",\"鷄仔\"\r\n\"3\",\"sui2\",\"媠\"\r\n");
    const std::u16string picked = kpx::decodeBig5(file("list.csv"));
    face.pickedFiles = { { picked, 0 }, { picked, 0 }, { picked, 0 } };
    // Cancelled at the column, then at the preview.
    face.choices = { -1, 1, 2, -1 };
    bench->ImportWords();
    bench->ImportWords();
    EXPECT_EQ(face.text, u"");
    EXPECT_EQ(face.undoSteps, 0);
    const std::u16string preview = face.seen.back().text;
    EXPECT_TRUE(contains(preview, u"讀著 3 個詞，會匯入 3 個詞條")) << std::string(preview.begin(), preview.end());
    EXPECT_TRUE(contains(preview, u"聲調符號換數字 2 個"));
    EXPECT_TRUE(contains(preview, u"1 字無 Big5 碼，換做異體字（鷄→雞）"));
    // Columns 2 and 3, then 匯入: keys in our form, the variant listed where it was.
    face.choices = { 1, 2, 0 };
    bench->ImportWords();
    EXPECT_EQ(face.unexpected, 0);
    EXPECT_EQ(face.text, u"ke3-lo 過路\nkoe3-lo 過路\nke-a2 雞仔\n");
    EXPECT_EQ(face.problemsTitle, u"1 列無匯入，1 字換做異體字");
    ASSERT_EQ(face.problemRows, 2u);
    EXPECT_EQ(row(*bench, 0), u"3 | 「鷄」無 Big5 碼，換做異體字「雞」");
    EXPECT_EQ(row(*bench, 1), u"4 | 「媠」（U+5AA0）無 Big5 碼，無匯入");
    // Without variants the word with 鷄 stays out too.
    face.type(u"");
    face.pickedFiles = { { picked, 6 } };
    face.choices = { 1, 2, 1 };
    bench->ImportWords();
    EXPECT_EQ(face.text, u"ke3-lo 過路\nkoe3-lo 過路\n");
    EXPECT_EQ(face.problemRows, 2u);
    EXPECT_EQ(face.unexpected, 0);
}

TEST_F(Words, Utf8DataFileIsOfferedForConversion)
{
    const std::string bytes = "// 我 e 詞\r\ntai5-uan5 台灣\r\nin1 𪜶\r\n";
    writeData("kpx-ty2.txt", bytes);
    // 否: the text as it is, as before, unchanged and unmarked.
    face.confirmations = { false };
    bench->SwitchSlot(2);
    ASSERT_EQ(face.count("confirm"), 1u);
    EXPECT_TRUE(contains(face.seen.back().text, u"UTF-8"));
    EXPECT_NE(face.text.find(u"tai5-uan5 "), std::u16string::npos);
    EXPECT_EQ(face.text.find(u"台灣"), std::u16string::npos) << "shown as Big5, as the file is read";
    EXPECT_EQ(dirty(), 0);
    EXPECT_EQ(face.undoSteps, 0);

    // 是: one edit to Big5 text, marked modified; the line without a Big5 form is listed.
    face.confirmations = { true };
    bench->SwitchSlot(2);
    EXPECT_EQ(face.text, u"// 我 e 詞\ntai5-uan5 台灣\n");
    EXPECT_EQ(face.undoSteps, 1);
    EXPECT_EQ(dirty(), 1);
    ASSERT_EQ(face.problemRows, 1u);
    EXPECT_EQ(row(*bench, 0), u"3 | 「𪜶」（U+2A736）無 Big5 碼，無匯入");
    EXPECT_EQ(readData("kpx-ty2.txt"), bytes) << "nothing is written before a save";
    bench->Save();
    EXPECT_EQ(readData("kpx-ty2.txt"), big5(u"// 我 e 詞\r\ntai5-uan5 台灣\r\n"));

    // A Big5 file is no question.
    face.answers = {};
    bench->SwitchSlot(2);
    EXPECT_EQ(face.count("confirm"), 2u);
    EXPECT_EQ(face.unexpected, 0);
}

TEST(WordsTexts, EveryTextHasABig5Form)
{
    using namespace kpx::texts;
    const std::u16string path = u"C:\\vokelu\\words.dict.yaml";
    for (const std::u16string &text : { std::u16string(kMenuImport), std::u16string(kMenuExport),
             std::u16string(kImportTitle), std::u16string(kExportTitle), std::u16string(kTypeAnyWordList),
             std::u16string(kTypeRime), std::u16string(kTypeRimeSyllables), std::u16string(kTypeFcitx5),
             std::u16string(kTypeTsv), std::u16string(kTypeTsvTextFirst), std::u16string(kTypeDataFile),
             formatNotKnown(path), std::u16string(kExportOrderQuestion), std::u16string(kExportInTableOrder),
             std::u16string(kExportInFileOrder), pathNotUsable(path), confirmReplaceFile(path),
             exportNotDoneWithoutBig5(2, u"x", 0x0E01), exportedNotice(path, 1, 2, 3, 4, 5, 6),
             importedNotice(path, 3, 2), importProblemsTitle(2), importNoBig5Reason(u"x", 0x2A736),
             std::u16string(kImportKeyTooLong), std::u16string(kImportTextTooLong), std::u16string(kImportEntryTooLong),
             std::u16string(kImportKeyNotUsable), std::u16string(kImportTextNotUsable), std::u16string(kImportNoText),
             std::u16string(kImportNoTab), std::u16string(kImportNotUtf8), std::u16string(kImportNoDataSection),
             std::u16string(kExportNotBig5Text), std::u16string(kImportZeroByte), utf8DataFileQuestion(path, 3),
             utf8ConvertedNotice(4, 1) })
        EXPECT_TRUE(kpx::encodeBig5Lines(text).ok()) << std::string(text.begin(), text.end());
}

} // namespace
} // namespace kpxtest
