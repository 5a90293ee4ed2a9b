// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "compiler/line_problems.h"
#include "platform/os_file.h"

// Every text the program shows, in one place for every face: UTF-16, each character one with a
// Big5 form. Texts of several lines separate them with "\r\n" (the notice dialog's convention)
// unless said otherwise.
namespace kpx::texts {

// The program's name: the task bar, the title of error boxes and questions.
inline constexpr std::u16string_view kProgramTitle = u"對照表 製作程式";
// The main window's caption.
inline constexpr std::u16string_view kWindowTitle = u"kpxv410  鷺笙輸入法 對照表輸入 資料/詞典 製作 程式";

// The main window's menus, menu items, labels and buttons, by control name; "&" marks the
// access key.
inline constexpr std::u16string_view kCaption_mnF1 = u"檔案(&F)";
inline constexpr std::u16string_view kCaption_mn4save1 = u"儲存 資料 (&S)";
inline constexpr std::u16string_view kCaption_mn4jejok1 = u"製作 對照表(&J)";
inline constexpr std::u16string_view kCaption_mn4sj1 = u"儲存 並 製作 (&A)";
inline constexpr std::u16string_view kCaption_mn4exi1 = u"結束程式 (&X)";
inline constexpr std::u16string_view kCaption_mnE1 = u"編輯 (&E)";
inline constexpr std::u16string_view kCaption_mnCut1 = u"剪起來 (&T)";
inline constexpr std::u16string_view kCaption_mnCopy1 = u"複製 (&C)";
inline constexpr std::u16string_view kCaption_mnPaste1 = u"貼落去 (&P)";
inline constexpr std::u16string_view kCaption_mnAll1 = u"全選 (&L)";
inline constexpr std::u16string_view kCaption_mnH1 = u"補助說明 (&H)";
inline constexpr std::u16string_view kCaption_mnCheh1 = u"使用小手冊 (&S)";
inline constexpr std::u16string_view kCaption_mnAbout1 = u"關於 鷺笙輸入法(&A)";
inline constexpr std::u16string_view kCaption_Label3 = u"鷺笙順序";
inline constexpr std::u16string_view kCaption_Label4 = u"一般拼音順序";
inline constexpr std::u16string_view kCaption_Label5 = u"ASCII 順序";
inline constexpr std::u16string_view kCaption_Label6 = u"資料：";
inline constexpr std::u16string_view kCaption_bnJejok1 = u"製作  對照表 (F3)";
inline constexpr std::u16string_view kCaption_bnSort1 = u"資料 ASCII 排序";
inline constexpr std::u16string_view kCaption_bn4save = u"儲存  資料 (F2)";
inline constexpr std::u16string_view kCaption_Label1 = u"輸出 檔案名";
inline constexpr std::u16string_view kCaption_Label2 = u"資料 檔案名";
inline constexpr std::u16string_view kCaption_OK = u"OK";

// The first line of the state file (bytes, as written).
inline constexpr char kStateFileHeader[]
    = "//kpxv4.ini, unless you know what you are doing, don't change this file, but deleting this file is alright";

// The status bar's panels 0 to 2.
inline constexpr std::u16string_view kStatusTotal = u"總共";
std::u16string statusLines(std::int64_t lines); // "125 列"
inline constexpr std::u16string_view kStatusModified = u"資料修改過";

// The unsaved-data question TmmDirtyWarning1.
inline constexpr std::u16string_view kQuestionTitle = u"鷺笙輸入法  對照表詞庫";
inline constexpr std::u16string_view kQuestionLine1 = u"資料檔案已經修改過， iauve 存檔";
inline constexpr std::u16string_view kQuestionLine2 = u"是m是 現在 veh 存檔？";
inline constexpr std::u16string_view kQuestionYes = u"是";
inline constexpr std::u16string_view kQuestionNo = u"無愛";
inline constexpr std::u16string_view kQuestionCancel = u"取消";

// The notice dialog Tokmes1.
inline constexpr std::u16string_view kNoticeTitle = u"kpxv410.exe";

// After a table was made, with its entry count and path.
std::u16string tableMadeNotice(std::int32_t entries, std::u16string_view tablePath);
// When no table could be written: its path, why (reason, and the system's words when given).
std::u16string tableNotMadeNotice(
    std::u16string_view tablePath, std::u16string_view reason, std::u16string_view systemWords);
// Why a table could not be written, one text per cause of the compiler's report.
inline constexpr std::u16string_view kTableNoPath = u"無檔案名";
inline constexpr std::u16string_view kTableReadOnly = u"檔案是唯讀 e，抑是遐有一個資料夾";
inline constexpr std::u16string_view kTableCannotCreate = u"檔案開袂起來（資料夾敢有存在？）";
inline constexpr std::u16string_view kTableWriteFailed = u"寫袂落去（磁碟敢滿矣？）";
inline constexpr std::u16string_view kTableCannotReplace = u"做好 e 對照表換袂入去原來 e 檔案";
inline constexpr std::u16string_view kTableOutOfMemory = u"記憶體無夠，詞條收袂了";
inline constexpr std::u16string_view kTableTooLarge
    = u"詞條超過一個對照表收會落 e（4 GiB 抑是 2147483647 個詞條），讀到遐就停矣（看有問題 e 列）";
// The table's path names a file the run read (input): the data file or an include file.
std::u16string tableWouldReplaceInput(std::u16string_view input);
// The same for an export's file, which is then not written.
std::u16string exportWouldReplaceInput(std::u16string_view path, std::u16string_view input);
inline constexpr std::u16string_view kTableUnknown = u"毋知啥原因";

// Sort refused over its limit.
inline constexpr std::u16string_view kSortTooManyLines
    = u"詞條過頭濟，排序可能有問題，\r\n\r\n請用其他工具\r\n或者是\r\n減少資料ｅ量";

// A character without a Big5 form in the editor, or a zero character (U+0000), which would end
// the data file: its line (from 1), the character itself and its code point ("U+0E01"). One
// that cannot be seen (a control or format character, U+2028, a space, ...) is named by its
// code point only. One for Save, one for making the table.
std::u16string notSavedWithoutBig5(std::int64_t line, std::u16string_view character, char32_t codePoint);
std::u16string tableNotMadeWithoutBig5(std::int64_t line, std::u16string_view character, char32_t codePoint);
// "U+4E00"
std::u16string codePointText(char32_t codePoint);

// Errors that end a command, as the windowing framework words them.
std::u16string cannotCreateFile(std::u16string_view path);
std::u16string cannotOpenFile(std::u16string_view path);
// A data file that is no regular file (a directory, a device, a named pipe): never read.
std::u16string notRegularFile(std::u16string_view path, os::FileKind kind);
inline constexpr std::u16string_view kTextExceedsCapacity = u"Text exceeds memo capacity";
inline constexpr std::u16string_view kOutOfMemory = u"Out of memory";
// The data file could not be written whole (lines separated by "\n").
std::u16string dataNotWritten(std::u16string_view path, std::u16string_view systemWords);

// The first start without the data directory: the offer to make it (yes/no, no by default), and
// what went wrong when it was accepted.
std::u16string offerDataDirectory(std::u16string_view directory);
std::u16string dataDirectoryNotMade(std::u16string_view path, std::u16string_view systemWords);

// Saving over a data file that could not be loaded: yes/no, no by default ("\n" lines).
std::u16string confirmOverwriteUnloaded(std::u16string_view path);

// A data file with a zero byte: only the text before it was loaded. The notice at the load, and
// the question before saving over it (yes/no, no by default, "\n" lines).
std::u16string partlyLoadedNotice(std::u16string_view path, std::int64_t line);
std::u16string confirmOverwritePartlyLoaded(std::u16string_view path, std::int64_t line);

// Saving over a data file that another program changed since it was loaded or saved: yes/no,
// no by default ("\n" lines).
std::u16string confirmOverwriteChanged(std::u16string_view path);

// Making the table after the data file could not be loaded: yes/no, no by default ("\n"
// lines).
std::u16string confirmTableFromUnloaded(std::u16string_view dataPath, std::u16string_view tablePath);

// One copy at a time (the Linux program): why it cannot tell whether another copy runs, and
// that it starts anyway ("\n" lines).
std::u16string lockDirectoryMissing(std::u16string_view directory);
std::u16string lockDirectoryNotWritable(std::u16string_view directory);
std::u16string lockLeftByOtherUser(std::u16string_view lockFile, std::u16string_view user);
std::u16string lockHolderSilent(std::u16string_view lockFile);
inline constexpr std::u16string_view kStartingAnyway = u"\n\n程式猶原會開。若是同時開兩個，資料會互相蓋掉。";
// The same on Windows, where one copy runs per machine: a copy that cannot be reached (another
// user's, an elevated one, or one in another session; the program then ends), and a lock that
// cannot be made (followed by kStartingAnyway).
inline constexpr std::u16string_view kCopyOfOtherUser
    = u"這個程式已經有開咧，毋過是別的使用者抑是用系統管理員權限開 e，叫袂出來。\n\n請先關掉彼個程式，才閣開。";
inline constexpr std::u16string_view kCopyWithoutWindow
    = u"這個程式已經有開咧，毋過揣無伊 e 視窗（可能是佇另外一個登入 e 工作階段）。\n\n請先關掉彼個程式，才閣開。";
std::u16string lockNotCreated(std::u16string_view systemWords);

// The problems list after a table run: its title, its columns, the file column of the
// editor's lines, and why a line made no entry (subject: the file the line names, or the file
// of the entry a duplicate repeats, at subjectLine).
std::u16string problemsTitle(std::int32_t linesWithoutEntry, std::int32_t duplicates, std::int32_t warnings = 0);
inline constexpr std::u16string_view kProblemsColumnLine = u"列";
inline constexpr std::u16string_view kProblemsColumnFile = u"檔案";
inline constexpr std::u16string_view kProblemsColumnReason = u"原因";
inline constexpr std::u16string_view kProblemInEditor = u"編輯器";
// IncludeReadAgain: earlierFile holds the include line that read the file first.
std::u16string problemReason(LineProblemReason reason, std::u16string_view subject, std::int64_t subjectLine,
    std::u16string_view earlierFile = {});

// Find (Ctrl+F) and go to line (Ctrl+G).
inline constexpr std::u16string_view kMenuFind = u"揣字 (&F)";
inline constexpr std::u16string_view kMenuGoToLine = u"跳到第幾列 (&G)";
inline constexpr std::u16string_view kMenuProblems = u"有問題 e 列 (&R)";
inline constexpr std::u16string_view kFindLabel = u"揣：";
inline constexpr std::u16string_view kFindNext = u"後一個";
inline constexpr std::u16string_view kFindPrevious = u"頂一個";
inline constexpr std::u16string_view kFindNotFound = u"揣無";
// "第 3 個，總共 12 個", and a word when the search started over from the other end.
std::u16string findCount(std::size_t index, std::size_t count, bool wrapped);
inline constexpr std::u16string_view kGoToLineTitle = u"跳到第幾列";
std::u16string goToLinePrompt(std::int64_t last);

// Buttons of the questions, in the program's language: the yes/no warnings (Face::confirm) and
// the line-number question (Face::askLineNumber).
inline constexpr std::u16string_view kButtonYes = u"是";
inline constexpr std::u16string_view kButtonNo = u"毋是";
inline constexpr std::u16string_view kButtonOk = u"確定";
inline constexpr std::u16string_view kButtonCancel = u"取消";

// Menu 編輯 (&E): undo (Ctrl+Z), redo (Ctrl+Y, Ctrl+Shift+Z) and the Sort command.
inline constexpr std::u16string_view kMenuUndo = u"復原 (&U)";
inline constexpr std::u16string_view kMenuRedo = u"取消復原 (&Y)";
inline constexpr std::u16string_view kMenuSort = u"資料 ASCII 排序 (&O)";

// The system's reason for a failure as the user reads it: the common causes in the program's
// language, the system's own words (systemWords, as the system gave them) for the rest.
std::u16string systemReason(os::ErrorKind kind, std::u16string_view systemWords);
// Words in and out (檔案 menu): import from and export to the word lists of other input methods.
inline constexpr std::u16string_view kMenuImport = u"匯入 詞 (&I)...";
inline constexpr std::u16string_view kMenuExport = u"匯出 詞 (&E)...";
inline constexpr std::u16string_view kImportTitle = u"匯入 詞";
inline constexpr std::u16string_view kExportTitle = u"匯出 詞";
// The types in the file dialogs' lists (the face adds the patterns).
inline constexpr std::u16string_view kTypeAnyWordList = u"所有 e 詞表";
inline constexpr std::u16string_view kTypeRime = u"RIME 詞典";
inline constexpr std::u16string_view kTypeRimeSyllables = u"RIME 詞典，音節用空白隔開";
inline constexpr std::u16string_view kTypeFcitx5 = u"fcitx5 碼表原始檔";
inline constexpr std::u16string_view kTypeTsv = u"UTF-8 詞表（按鍵 tab 字詞）";
inline constexpr std::u16string_view kTypeTsvTextFirst = u"UTF-8 詞表（字詞 tab 按鍵）";
inline constexpr std::u16string_view kTypeDataFile = u"鷺笙 資料檔案（Big5）";
inline constexpr std::u16string_view kTypeCsv = u"CSV 詞表（有標題列，家己揀欄）";
// Neither the name nor the selected type says what kind of word list a file is.
std::u16string formatNotKnown(std::u16string_view path);
// The export's order question and its two answers (the dialog adds 取消).
inline constexpr std::u16string_view kExportOrderQuestion = u"匯出 e 詞條 veh 照啥物順序排？";
inline constexpr std::u16string_view kExportInTableOrder = u"對照表 e 順序";
inline constexpr std::u16string_view kExportInFileOrder = u"資料 e 順序";
// A picked path the system's file calls cannot name.
std::u16string pathNotUsable(std::u16string_view path);
// A name without the type's extension got it, and a file of that name exists: yes/no ("\n" lines).
std::u16string confirmReplaceFile(std::u16string_view path);
// The editor's text has a character without a Big5 form: no export.
std::u16string exportNotDoneWithoutBig5(std::int64_t line, std::u16string_view character, char32_t codePoint);
// After an export: its path, the entries written and what was left out.
std::u16string exportedNotice(std::u16string_view path, std::int64_t entries, std::int64_t duplicates,
    std::int64_t comments, std::int64_t includes, std::int64_t withoutEntry, std::int64_t notBig5Text);
// After an import: the file, the entries added and the lines left out (listed below the editor).
std::u16string importedNotice(std::u16string_view path, std::int64_t entries, std::int64_t problems);
// The problems list after an import or a conversion: its title, and the reasons of its rows.
std::u16string importProblemsTitle(std::int64_t lines);
std::u16string importNoBig5Reason(std::u16string_view character, char32_t codePoint);
inline constexpr std::u16string_view kImportKeyTooLong = u"輸入碼傷長（Big5 超過 32 位元組），無匯入";
inline constexpr std::u16string_view kImportTextTooLong = u"輸出 e 字傷長（Big5 超過 64 位元組），無匯入";
inline constexpr std::u16string_view kImportEntryTooLong = u"輸入碼佮字詞加起來傷長，無匯入";
inline constexpr std::u16string_view kImportKeyNotUsable
    = u"輸入碼袂使做資料列 e 第一欄（空 e、有空白、// 抑是 #include 起頭），無匯入";
inline constexpr std::u16string_view kImportTextNotUsable
    = u"字詞袂使做資料列 e 第二欄（空 e、有空白、// 起頭），無匯入";
inline constexpr std::u16string_view kImportNoText = u"干焦一欄（無字詞抑是無按鍵），無匯入";
inline constexpr std::u16string_view kImportNoTab = u"無 TAB 分開按鍵佮字詞，無匯入";
inline constexpr std::u16string_view kImportNotUtf8 = u"m是 UTF-8 e 文字，無匯入";
inline constexpr std::u16string_view kImportNoDataSection
    = u"揣無詞條開始 e 所在（fcitx5 e [Data]、RIME e ...），無匯入";
inline constexpr std::u16string_view kExportNotBig5Text = u"m是 Big5 e 文字，無匯出";
inline constexpr std::u16string_view kImportZeroByte = u"有一個 0 位元組（NUL），伊後壁 e 資料無讀";
inline constexpr std::u16string_view kImportNoColumn = u"標題列內底無揀 e 欄，攏無匯入";
inline constexpr std::u16string_view kImportShortRow = u"這列無按鍵 e 欄抑是字詞 e 欄，無匯入";
inline constexpr std::u16string_view kImportUnclosedQuote = u"引號（\"）到檔案尾仔攏無關，伊後壁 e 資料無讀";
// A csv file (or a tsv file of more than two columns): which column holds the keys, which the
// words; the header's names are the answers (the dialog adds 取消).
inline constexpr std::u16string_view kImportKeyColumnQuestion = u"佗一欄是按鍵（輸入碼）？";
inline constexpr std::u16string_view kImportTextColumnQuestion = u"佗一欄是字詞？";
// A column without a name in the header.
std::u16string columnWithoutName(std::int64_t number);
// What an import will do, shown before it does it: the words read, the entries made, the keys
// changed by kind (the numbers in the order of kImportKeyChangeNames), the characters replaced
// by a variant (with a few examples, "鷄→雞"), the words refused by reason and the first few
// refused lines ("第 3 列：reason"). The answers: 匯入, and without variants when any were
// replaced (the dialog adds 取消).
inline constexpr std::u16string_view kImportKeyChangeNames[]
    = { u"聲調符號換數字", u"特別 e 字母換 oo nn i", u"a/b 拆做幾若條", u"空白換 -", u"大寫換小寫", u"換拼音系統" };
std::u16string importPreview(std::u16string_view path, std::int64_t words, std::int64_t entries,
    const std::vector<std::int64_t> &keyChanges, std::int64_t replaced, std::u16string_view replacedExamples,
    const std::vector<std::pair<std::u16string, std::int64_t>> &refusedByReason,
    const std::vector<std::u16string> &firstRefused);
// "第 3 列：" before a refused line's reason in the preview.
std::u16string problemLinePrefix(std::int64_t line);
inline constexpr std::u16string_view kImportGo = u"匯入";
inline constexpr std::u16string_view kImportWithoutVariants = u"匯入，異體字無換";
// The problems list's reason for a replaced character, and a refused word without a Big5 form
// in the preview's counts.
std::u16string importReplacedReason(std::u16string_view from, std::u16string_view to);
inline constexpr std::u16string_view kImportNoBig5Kind = u"有字無 Big5 碼";
// The problems list's title after an import with replacements.
std::u16string importProblemsTitle(std::int64_t refused, std::int64_t replaced);
// A data file in UTF-8: the offer on loading it (yes/no, no by default: shown as it is; "\n"
// lines), and the notice after converting it.
std::u16string utf8DataFileQuestion(std::u16string_view path, std::int64_t line);
std::u16string utf8ConvertedNotice(std::int64_t lines, std::int64_t problems);

// The Windows program's main window could not be created at start.
inline constexpr std::u16string_view kWindowNotCreated = u"程式 e 視窗開袂起來，程式無法度開始。";

// Decimal digits.
std::u16string decimal(std::int64_t number);

// Bytes from the system (a file name, an error text) for the user: UTF-8 when they are valid
// UTF-8 (file names on Linux), else Big5.
std::u16string systemText(std::string_view bytes);

} // namespace kpx::texts
