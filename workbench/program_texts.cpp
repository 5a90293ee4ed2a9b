// SPDX-License-Identifier: GPL-2.0-or-later
#include "workbench/program_texts.h"

#include <iterator>

#include "platform/text/big5_codec.h"

namespace kpx::texts {
namespace {

std::u16string joined(std::initializer_list<std::u16string_view> parts)
{
    std::u16string text;
    for (const std::u16string_view part : parts)
        text += part;
    return text;
}

// UTF-16 for bytes that are valid UTF-8; false when they are not.
bool decodeUtf8(std::string_view bytes, std::u16string &text)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *const end = p + bytes.size();
    while (p < end) {
        char32_t code = *p;
        int more = 0;
        char32_t least = 0;
        if (code < 0x80) {
        } else if ((code & 0xE0) == 0xC0) {
            code &= 0x1F, more = 1, least = 0x80;
        } else if ((code & 0xF0) == 0xE0) {
            code &= 0x0F, more = 2, least = 0x800;
        } else if ((code & 0xF8) == 0xF0) {
            code &= 0x07, more = 3, least = 0x10000;
        } else {
            return false;
        }
        if (end - p <= more)
            return false;
        for (int i = 1; i <= more; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            code = code << 6 | (p[i] & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        p += more + 1;
        if (code >= 0x10000) {
            text += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            text += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            text += static_cast<char16_t>(code);
        }
    }
    return true;
}

// Characters that draw nothing, or nothing of their own, in a quote: control and format
// characters, line and paragraph separators, spaces, fillers, variation selectors, combining
// marks, surrogates and non-characters.
bool isInvisible(char32_t c)
{
    struct Range {
        char32_t first;
        char32_t last;
    };
    static constexpr Range kInvisible[] = { { 0x0000, 0x0020 }, { 0x007F, 0x00A0 }, { 0x00AD, 0x00AD },
        { 0x0300, 0x036F }, { 0x034F, 0x034F }, { 0x0600, 0x0605 }, { 0x061C, 0x061C }, { 0x06DD, 0x06DD },
        { 0x070F, 0x070F }, { 0x115F, 0x1160 }, { 0x1680, 0x1680 }, { 0x180B, 0x180E }, { 0x1AB0, 0x1AFF },
        { 0x1DC0, 0x1DFF }, { 0x2000, 0x200F }, { 0x2028, 0x202F }, { 0x205F, 0x206F }, { 0x20D0, 0x20FF },
        { 0x3000, 0x3000 }, { 0x3164, 0x3164 }, { 0xD800, 0xDFFF }, { 0xFE00, 0xFE0F }, { 0xFE20, 0xFE2F },
        { 0xFEFF, 0xFEFF }, { 0xFFA0, 0xFFA0 }, { 0xFFF0, 0xFFFB }, { 0xFFFE, 0xFFFF }, { 0x110BD, 0x110BD },
        { 0x1BCA0, 0x1BCA3 }, { 0x1D173, 0x1D17A }, { 0xE0000, 0xE0FFF } };
    for (const Range &range : kInvisible) {
        if (c >= range.first && c <= range.last)
            return true;
    }
    // The non-characters at the end of every plane.
    return (c & 0xFFFE) == 0xFFFE;
}

std::u16string withoutBig5(
    std::int64_t line, std::u16string_view character, char32_t codePoint, std::u16string_view ending)
{
    // A zero unit would end the data file where it stands; the others cannot be written in Big5.
    if (codePoint == 0)
        return joined({ u"第 ", decimal(line), u" 列有一個 0 字元（", codePointText(codePoint),
            u"），資料檔案袂使有伊，\r\n\r\n", ending });
    // What cannot be seen is named by its code point alone.
    if (isInvisible(codePoint))
        return joined({ u"第 ", decimal(line), u" 列有一個看袂著 e 字（", codePointText(codePoint),
            u"）無 Big5 碼，\r\n\r\n", ending });
    return joined({ u"第 ", decimal(line), u" 列有一個字「", character, u"」（", codePointText(codePoint),
        u"）無 Big5 碼，\r\n\r\n", ending });
}

} // namespace

std::u16string decimal(std::int64_t number)
{
    const std::string digits = std::to_string(number);
    return std::u16string(digits.begin(), digits.end());
}

std::u16string statusLines(std::int64_t lines)
{
    return decimal(lines) + u" 列";
}

std::u16string tableMadeNotice(std::int32_t entries, std::u16string_view tablePath)
{
    return joined({ u"總共有 ", decimal(entries), u" 個詞條\r\n\r\n\r\n製作完成，檔案存做:\r\n\r\n", tablePath });
}

std::u16string tableNotMadeNotice(
    std::u16string_view tablePath, std::u16string_view reason, std::u16string_view systemWords)
{
    std::u16string text = joined({ u"對照表無做成，檔案寫袂落去:\r\n\r\n", tablePath, u"\r\n\r\n", reason });
    if (!systemWords.empty())
        text += joined({ u"\r\n（", systemWords, u"）" });
    text += u"\r\n\r\n原來 e 檔案無改變。";
    return text;
}

std::u16string notSavedWithoutBig5(std::int64_t line, std::u16string_view character, char32_t codePoint)
{
    return withoutBig5(line, character, codePoint, u"資料無存。\r\n請先改掉這個字才閣存檔。");
}

std::u16string tableNotMadeWithoutBig5(std::int64_t line, std::u16string_view character, char32_t codePoint)
{
    return withoutBig5(line, character, codePoint, u"對照表無做。\r\n請先改掉這個字。");
}

std::u16string codePointText(char32_t codePoint)
{
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    std::u16string digits;
    for (char32_t rest = codePoint; rest != 0 || digits.size() < 4; rest >>= 4)
        digits.insert(digits.begin(), kHex[rest & 0xF]);
    return u"U+" + digits;
}

std::u16string cannotCreateFile(std::u16string_view path)
{
    return joined({ u"Cannot create file ", path });
}

std::u16string cannotOpenFile(std::u16string_view path)
{
    return joined({ u"Cannot open file ", path });
}

std::u16string notRegularFile(std::u16string_view path, os::FileKind kind)
{
    const std::u16string_view what = kind == os::FileKind::Directory ? u"是一個資料夾"
        : kind == os::FileKind::NamedPipe                            ? u"是一個具名管道"
                                                                     : u"是一個裝置";
    return joined({ u"Cannot open file ", path, u"\n\nm是普通 e 檔案：", what, u"，無讀" });
}

std::u16string dataNotWritten(std::u16string_view path, std::u16string_view systemWords)
{
    return joined({ u"資料寫袂落去 ", path, u"\n\n原來 e 檔案無改變。\n\n（", systemWords, u"）" });
}

std::u16string offerDataDirectory(std::u16string_view directory)
{
    return joined({ u"資料夾 ", directory,
        u" 猶無存在。\n\n"
        u"程式 e 資料檔案、對照表佮設定攏囥佇遐。\n"
        u"veh 建立這个資料夾，閣共使用小手冊 e 例 example.txt 囥入去無？" });
}

std::u16string dataDirectoryNotMade(std::u16string_view path, std::u16string_view systemWords)
{
    return joined({ u"建立袂成：", path, u"\n\n（", systemWords, u"）" });
}

std::u16string confirmOverwriteUnloaded(std::u16string_view path)
{
    return joined({ u"資料檔案\n", path,
        u"\n頭拄仔讀袂入來，編輯器內底無這個檔案 e 資料。\n\n"
        u"若存檔，這個檔案原來 e 內容會予編輯器 e 內容蓋掉。\n\n"
        u"你確定 veh 存檔？" });
}

std::u16string partlyLoadedNotice(std::u16string_view path, std::int64_t line)
{
    return joined({ u"資料檔案\r\n\r\n", path, u"\r\n\r\n第 ", decimal(line),
        u" 列有一個 0 位元組（NUL），\r\n干焦伊頭前 e 資料有讀入來。\r\n存檔進前會先問你。" });
}

std::u16string confirmOverwritePartlyLoaded(std::u16string_view path, std::int64_t line)
{
    return joined({ u"資料檔案\n", path, u"\n第 ", decimal(line),
        u" 列有一個 0 位元組，干焦伊頭前 e 資料有讀入來。\n\n"
        u"若存檔，伊後壁 e 資料會無去。\n\n"
        u"你確定 veh 存檔？" });
}

std::u16string confirmOverwriteChanged(std::u16string_view path)
{
    return joined({ u"資料檔案\n", path,
        u"\n佇讀入來抑是存檔了後，有別個程式改過伊。\n\n"
        u"若存檔，別個程式改 e 內容會予編輯器 e 內容蓋掉。\n\n"
        u"你確定 veh 存檔？" });
}

std::u16string confirmTableFromUnloaded(std::u16string_view dataPath, std::u16string_view tablePath)
{
    return joined({ u"資料檔案\n", dataPath,
        u"\n頭拄仔讀袂入來，編輯器內底無這個檔案 e 資料。\n\n"
        u"若製作，對照表\n",
        tablePath,
        u"\n會用編輯器 e 內容做，原來 e 對照表會予換掉。\n\n"
        u"你確定 veh 製作對照表？" });
}

std::u16string lockDirectoryMissing(std::u16string_view directory)
{
    return joined({ u"暫存資料夾\n", directory, u"\n無存在，程式無法度確定干焦開一個。" });
}

std::u16string lockDirectoryNotWritable(std::u16string_view directory)
{
    return joined({ u"暫存資料夾\n", directory, u"\n袂寫得，鎖定檔案做袂出來，程式無法度確定干焦開一個。" });
}

std::u16string lockLeftByOtherUser(std::u16string_view lockFile, std::u16string_view user)
{
    return joined({ u"鎖定檔案\n", lockFile, u"\n是別的使用者（", user, u"）留落來 e，程式無法度確定干焦開一個。" });
}

std::u16string lockHolderSilent(std::u16string_view lockFile)
{
    return joined({ u"鎖定檔案\n", lockFile, u"\n已經有咧，毋過另外開 e 程式無應。" });
}

std::u16string lockNotCreated(std::u16string_view systemWords)
{
    return joined({ u"鎖定用 e 系統物件做袂出來，程式無法度確定干焦開一個。\n\n（", systemWords, u"）" });
}

std::u16string problemsTitle(std::int32_t linesWithoutEntry, std::int32_t duplicates, std::int32_t warnings)
{
    std::u16string title = joined({ decimal(linesWithoutEntry), u" 列無做成詞條" });
    if (duplicates > 0)
        title += joined({ u"，", decimal(duplicates), u" 個詞條重複" });
    if (warnings > 0)
        title += joined({ u"，", decimal(warnings), u" 個提醒" });
    return title;
}

std::u16string tableWouldReplaceInput(std::u16string_view input)
{
    return joined({ u"這個檔案是這擺有讀 e 檔案：\r\n", input, u"\r\n若寫落去，伊 e 資料會予蓋掉。" });
}

std::u16string exportWouldReplaceInput(std::u16string_view path, std::u16string_view input)
{
    return joined({ u"無匯出：", path, u"\r\n\r\n", tableWouldReplaceInput(input) });
}

std::u16string problemReason(
    LineProblemReason reason, std::u16string_view subject, std::int64_t subjectLine, std::u16string_view earlierFile)
{
    switch (reason) {
    case LineProblemReason::OneColumn:
        return u"干焦一欄，無輸出 e 字";
    case LineProblemReason::KeyTooLong:
        return u"輸入碼傷長（超過 32 位元組）";
    case LineProblemReason::OutputTooLong:
        return u"輸出 e 字傷長（超過 64 位元組）";
    case LineProblemReason::EntryTooLong:
        return u"輸入碼佮輸出 e 字加起來傷長（超過 94 位元組）";
    case LineProblemReason::IncludeNotOpened:
        return joined({ u"#include e 檔案開袂起來：", subject });
    case LineProblemReason::IncludeCycle:
        return joined({ u"#include e 檔案當咧讀，閣讀會循環，跳過：", subject });
    case LineProblemReason::OverrideTooShort:
        return joined({ u"o= 抑是 id= 後壁傷短，當做檔案名嘛開袂起來：", subject });
    case LineProblemReason::Duplicate:
        if (subject.empty())
            return joined({ u"重複：佮第 ", decimal(subjectLine), u" 列 e 詞條仝款" });
        return joined({ u"重複：佮 ", subject, u" 第 ", decimal(subjectLine), u" 列 e 詞條仝款" });
    case LineProblemReason::IncludeIsDirectory:
        return joined({ u"#include e 檔案 m是普通 e 檔案：是一個資料夾，無讀：", subject });
    case LineProblemReason::IncludeIsDevice:
        return joined({ u"#include e 檔案 m是普通 e 檔案：是一個裝置，無讀：", subject });
    case LineProblemReason::IncludeIsNamedPipe:
        return joined({ u"#include e 檔案 m是普通 e 檔案：是一個具名管道，無讀：", subject });
    case LineProblemReason::TableFull:
        return std::u16string(kTableTooLarge);
    case LineProblemReason::IncludeAtLineStart:
        return u"提醒：include 檔案內底 #include 佇一列 e 上頭前，跳過無讀；頭前加空白（ #include）才會讀";
    case LineProblemReason::IncludeReadAgain:
        return joined({ u"提醒：#include e 檔案 ", subject, u" 頂面讀過矣（", earlierFile, u" 第 ",
            decimal(subjectLine), u" 列），伊 e 詞條閣收一擺，攏是重複，無一條一條列出來" });
    }
    return std::u16string(kTableUnknown);
}

std::u16string findCount(std::size_t index, std::size_t count, bool wrapped)
{
    std::u16string text = joined({ u"第 ", decimal(static_cast<std::int64_t>(index)), u" 個，總共 ",
        decimal(static_cast<std::int64_t>(count)), u" 個" });
    if (wrapped)
        text += u"（對另外一頭閣揣）";
    return text;
}

std::u16string goToLinePrompt(std::int64_t last)
{
    return joined({ u"列號（1 到 ", decimal(last), u"）：" });
}

std::u16string systemReason(os::ErrorKind kind, std::u16string_view systemWords)
{
    switch (kind) {
    case os::ErrorKind::NoSuchFile:
        return u"無這個檔案抑是資料夾";
    case os::ErrorKind::PermissionDenied:
        return u"無權限";
    case os::ErrorKind::ReadOnlyFileSystem:
        return u"磁碟是唯讀 e";
    case os::ErrorKind::DiskFull:
        return u"磁碟滿矣";
    case os::ErrorKind::None:
    case os::ErrorKind::Other:
        break;
    }
    return std::u16string(systemWords);
}

std::u16string pathNotUsable(std::u16string_view path)
{
    return joined(
        { u"檔案名\r\n\r\n", path, u"\r\n\r\n內底有字無 Big5 碼，程式 e 檔案功能寫袂出來。\r\n請換一個檔案名。" });
}

std::u16string confirmReplaceFile(std::u16string_view path)
{
    return joined({ u"檔案\n", path, u"\n已經有咧。\n\n你確定 veh 用匯出 e 詞共伊蓋掉？" });
}

std::u16string exportNotDoneWithoutBig5(std::int64_t line, std::u16string_view character, char32_t codePoint)
{
    return withoutBig5(line, character, codePoint, u"無匯出。\r\n請先改掉這個字。");
}

std::u16string formatNotKnown(std::u16string_view path)
{
    return joined({ u"檔案\r\n\r\n", path,
        u"\r\n\r\n看袂出來是啥物種類 e 詞表。\r\n請佇對話框 e 檔案種類選一個，才閣匯入一擺。" });
}

std::u16string exportedNotice(std::u16string_view path, std::int64_t entries, std::int64_t duplicates,
    std::int64_t comments, std::int64_t includes, std::int64_t withoutEntry, std::int64_t notBig5Text)
{
    std::u16string text = joined({ u"總共匯出 ", decimal(entries), u" 個詞條，檔案存做:\r\n\r\n", path,
        u"\r\n\r\n無匯出 e：\r\n註解列 ", decimal(comments), u" 列\r\n#include 列 ", decimal(includes),
        u" 列\r\n無做成詞條 e 列 ", decimal(withoutEntry), u" 列" });
    if (duplicates > 0)
        text += joined({ u"\r\n重複 e 詞條 ", decimal(duplicates), u" 個（干焦匯出一擺）" });
    if (notBig5Text > 0)
        text += joined({ u"\r\nm是 Big5 文字 e 詞條 ", decimal(notBig5Text), u" 個" });
    return text;
}

std::u16string importedNotice(std::u16string_view path, std::int64_t entries, std::int64_t problems)
{
    std::u16string text = joined({ u"對\r\n\r\n", path, u"\r\n\r\n匯入 ", decimal(entries),
        u" 個詞條，囥佇資料 e 尾仔。\r\n猶未存檔：愛存檔才會寫入資料檔案。" });
    if (problems > 0)
        text += joined({ u"\r\n\r\n", decimal(problems), u" 列無匯入，原因寫佇問題清單內底。" });
    return text;
}

std::u16string importProblemsTitle(std::int64_t lines)
{
    return joined({ decimal(lines), u" 列無匯入" });
}

std::u16string importProblemsTitle(std::int64_t refused, std::int64_t replaced)
{
    if (replaced == 0)
        return importProblemsTitle(refused);
    return joined({ decimal(refused), u" 列無匯入，", decimal(replaced), u" 字換做異體字" });
}

std::u16string problemLinePrefix(std::int64_t line)
{
    return joined({ u"第 ", decimal(line), u" 列：" });
}

std::u16string columnWithoutName(std::int64_t number)
{
    return joined({ u"第 ", decimal(number), u" 欄" });
}

std::u16string importReplacedReason(std::u16string_view from, std::u16string_view to)
{
    return joined({ u"「", from, u"」無 Big5 碼，換做異體字「", to, u"」" });
}

std::u16string importPreview(std::u16string_view path, std::int64_t words, std::int64_t entries,
    const std::vector<std::int64_t> &keyChanges, std::int64_t replaced, std::u16string_view replacedExamples,
    const std::vector<std::pair<std::u16string, std::int64_t>> &refusedByReason,
    const std::vector<std::u16string> &firstRefused)
{
    std::u16string text = joined(
        { path, u"\n\n讀著 ", decimal(words), u" 個詞，會匯入 ", decimal(entries), u" 個詞條，囥佇資料 e 尾仔。\n" });
    std::u16string changes;
    for (std::size_t kind = 0; kind < keyChanges.size() && kind < std::size(kImportKeyChangeNames); ++kind) {
        if (keyChanges[kind] > 0)
            changes += joined({ changes.empty() ? u"" : u"、", kImportKeyChangeNames[kind], u" ",
                decimal(keyChanges[kind]), u" 個" });
    }
    text += changes.empty() ? std::u16string(u"按鍵攏免改。\n")
                            : joined({ u"按鍵改做資料檔 e 寫法：", changes, u"。\n" });
    if (replaced > 0)
        text += joined({ decimal(replaced), u" 字無 Big5 碼，換做異體字（", replacedExamples, u"）。\n" });
    std::int64_t refused = 0;
    std::u16string reasons;
    for (const auto &[reason, count] : refusedByReason) {
        refused += count;
        reasons += joined({ reasons.empty() ? u"" : u"、", reason, u" ", decimal(count), u" 個" });
    }
    if (refused > 0) {
        text += joined({ decimal(refused), u" 個袂當匯入：", reasons, u"。\n" });
        for (const std::u16string &line : firstRefused)
            text += joined({ u"    ", line, u"\n" });
    }
    return text;
}

std::u16string importNoBig5Reason(std::u16string_view character, char32_t codePoint)
{
    return joined({ u"「", character, u"」（", codePointText(codePoint), u"）無 Big5 碼，無匯入" });
}

std::u16string utf8DataFileQuestion(std::u16string_view path, std::int64_t line)
{
    std::u16string text = joined({ u"資料檔案\n", path, u"\n是 UTF-8 e 文字，m是 Big5" });
    if (line > 0)
        text += joined({ u"（第 ", decimal(line), u" 列起）" });
    text += u"。照原樣顯示，漢字會亂去；用伊製作 e 對照表嘛會亂去。\n\n"
            u"veh 共伊換做 Big5 無？\n"
            u"換了會使用 Ctrl+Z 復原；愛存檔才會寫入檔案。\n"
            u"無愛換就照原樣顯示，啥物攏無改。";
    return text;
}

std::u16string utf8ConvertedNotice(std::int64_t lines, std::int64_t problems)
{
    std::u16string text = joined({ u"換做 Big5 矣：", decimal(lines), u" 列。\r\n猶未存檔：愛存檔才會寫入資料檔案。" });
    if (problems > 0)
        text += joined({ u"\r\n\r\n", decimal(problems), u" 列無換，原因寫佇問題清單內底。" });
    return text;
}

std::u16string systemText(std::string_view bytes)
{
    std::u16string text;
    if (decodeUtf8(bytes, text))
        return text;
    return decodeBig5(bytes);
}

} // namespace kpx::texts
