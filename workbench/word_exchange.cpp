// SPDX-License-Identifier: GPL-2.0-or-later
// Words in and out: import from and export to the word lists of other input methods, and the
// offer to convert a data file that is UTF-8 text. The formats themselves are exchange/'s.
#include <algorithm>
#include <optional>

#include "exchange/exchange.h"
#include "platform/picked_path.h"
#include "platform/text/big5_codec.h"
#include "state/slot_names.h"
#include "workbench/data_file.h"
#include "workbench/program_texts.h"
#include "workbench/text_search.h"
#include "workbench/workbench.h"

namespace kpx {
namespace {

// A type of the file dialogs' lists: a format and its options. byName: the format is whatever
// the file's name says (import's first type, every list at once).
struct ExchangeType {
    std::u16string_view name;
    ExchangeFormat format;
    bool syllables = false;
    bool textFirst = false;
    bool byName = false;
};

constexpr ExchangeType kAnyWordList { texts::kTypeAnyWordList, ExchangeFormat::Rime, false, false, true };
constexpr ExchangeType kRime { texts::kTypeRime, ExchangeFormat::Rime };
constexpr ExchangeType kRimeSyllables { texts::kTypeRimeSyllables, ExchangeFormat::Rime, true };
constexpr ExchangeType kFcitx5 { texts::kTypeFcitx5, ExchangeFormat::Fcitx5 };
constexpr ExchangeType kTsv { texts::kTypeTsv, ExchangeFormat::Tsv };
constexpr ExchangeType kTsvTextFirst { texts::kTypeTsvTextFirst, ExchangeFormat::Tsv, false, true };
constexpr ExchangeType kDataFile { texts::kTypeDataFile, ExchangeFormat::Big5 };
constexpr ExchangeType kCsv { texts::kTypeCsv, ExchangeFormat::Csv };

// Reading spaces in RIME codes as hyphens needs no choice, so import has one RIME type.
const std::vector<ExchangeType> &importTypes()
{
    static const std::vector<ExchangeType> types { kAnyWordList, kRime, kFcitx5, kTsv, kTsvTextFirst, kDataFile, kCsv };
    return types;
}

const std::vector<ExchangeType> &exportTypes()
{
    static const std::vector<ExchangeType> types { kRime, kRimeSyllables, kFcitx5, kTsv, kTsvTextFirst, kDataFile };
    return types;
}

std::u16string ascii(std::string_view text)
{
    return std::u16string(text.begin(), text.end());
}

std::vector<FileType> fileTypes(const std::vector<ExchangeType> &types)
{
    std::vector<FileType> list;
    for (const ExchangeType &type : types) {
        std::u16string patterns;
        if (type.byName) {
            for (const ExchangeFormat format : kExchangeFormats) {
                if (!patterns.empty())
                    patterns += u';';
                patterns += ascii(exchangeFormatPattern(format));
            }
        } else {
            patterns = ascii(exchangeFormatPattern(type.format));
        }
        list.push_back({ std::u16string(type.name), patterns });
    }
    return list;
}

// The format a picked file is read or written in: the selected type's, unless the file's name
// says another; a name that says nothing takes the selected type's. Nothing when neither tells.
std::optional<ExchangeType> typeForFile(
    std::string_view path, const std::vector<ExchangeType> &types, std::size_t selected)
{
    const ExchangeType &chosen = types[selected < types.size() ? selected : 0];
    std::optional<ExchangeFormat> named = exchangeFormatFromFileName(path);
    // Any "*.txt" says Big5 only for want of a better word: fcitx5 sources are often named so.
    if (named == ExchangeFormat::Big5 && !chosen.byName && chosen.format == ExchangeFormat::Fcitx5)
        named = ExchangeFormat::Fcitx5;
    if (!named)
        return chosen.byName ? std::nullopt : std::optional(chosen);
    if (!chosen.byName && chosen.format == *named)
        return chosen;
    for (const ExchangeType &type : types) {
        if (!type.byName && type.format == *named)
            return type;
    }
    return std::nullopt;
}

// True when the last part of a path has no extension at all.
bool withoutExtension(std::u16string_view path)
{
    const std::size_t name = path.find_last_of(u"/\\");
    const std::u16string_view last = name == std::u16string_view::npos ? path : path.substr(name + 1);
    return last.find(u'.') == std::u16string_view::npos;
}

// The editor's text with every line break "\n", as the Workbench hands text to the face.
std::u16string withNewlines(std::u16string_view text)
{
    std::u16string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            result += u'\n';
        } else {
            result += unit == u'\u2029' ? u'\n' : unit;
        }
    }
    return result;
}

// "𪜶" for a code point.
std::u16string characterText(char32_t code)
{
    if (code < 0x10000)
        return std::u16string(1, static_cast<char16_t>(code));
    return { static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)),
        static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)) };
}

std::u16string exchangeReason(const ExchangeProblem &problem)
{
    switch (problem.reason) {
    case ExchangeProblemReason::NoBig5Form:
        return texts::importNoBig5Reason(characterText(problem.character), problem.character);
    case ExchangeProblemReason::KeyTooLong:
        return std::u16string(texts::kImportKeyTooLong);
    case ExchangeProblemReason::TextTooLong:
        return std::u16string(texts::kImportTextTooLong);
    case ExchangeProblemReason::EntryTooLong:
        return std::u16string(texts::kImportEntryTooLong);
    case ExchangeProblemReason::KeyNotUsable:
        return std::u16string(texts::kImportKeyNotUsable);
    case ExchangeProblemReason::TextNotUsable:
        return std::u16string(texts::kImportTextNotUsable);
    case ExchangeProblemReason::NoText:
        return std::u16string(texts::kImportNoText);
    case ExchangeProblemReason::NotUtf8:
        return std::u16string(texts::kImportNotUtf8);
    case ExchangeProblemReason::NotBig5Text:
        return std::u16string(texts::kExportNotBig5Text);
    case ExchangeProblemReason::NoTab:
        return std::u16string(texts::kImportNoTab);
    case ExchangeProblemReason::NoDataSection:
        return std::u16string(texts::kImportNoDataSection);
    case ExchangeProblemReason::NoColumn:
        return std::u16string(texts::kImportNoColumn);
    case ExchangeProblemReason::ShortRow:
        return std::u16string(texts::kImportShortRow);
    case ExchangeProblemReason::UnclosedQuote:
        return std::u16string(texts::kImportUnclosedQuote);
    }
    return std::u16string(texts::kTableUnknown);
}

std::vector<Workbench::ProblemRow> problemRows(const std::vector<ExchangeProblem> &problems, std::u16string_view file)
{
    std::vector<Workbench::ProblemRow> rows;
    rows.reserve(problems.size());
    for (const ExchangeProblem &problem : problems)
        rows.push_back({ problem.line > 0 ? texts::decimal(problem.line) : std::u16string(), std::u16string(file),
            exchangeReason(problem) }); // line 0: the file as a whole
    return rows;
}

// The lines of Big5 data text for the editor ("\n" between lines).
std::u16string editorTextOfLines(std::string_view big5Lines)
{
    return withNewlines(decodeBig5(big5Lines));
}

// The replaced characters as rows of the problems list, after the refused ones.
void addReplacementRows(std::vector<Workbench::ProblemRow> &rows, const std::vector<ExchangeReplacement> &replacements,
    std::u16string_view file)
{
    for (const ExchangeReplacement &replacement : replacements)
        rows.push_back({ texts::decimal(replacement.line), std::u16string(file),
            texts::importReplacedReason(characterText(replacement.from), characterText(replacement.to)) });
}

// A csv file, or a tsv file of more than two columns: the user picks the key and text columns
// among the header's names. False when the user cancels.
bool chooseColumns(Face &face, std::string_view bytes, ExchangeFormat format, ExchangeOptions &options)
{
    if (format != ExchangeFormat::Csv && format != ExchangeFormat::Tsv)
        return true;
    const std::vector<std::string> header = exchangeHeader(bytes, format);
    if (format == ExchangeFormat::Tsv && header.size() <= 2)
        return true;
    std::vector<std::u16string> names;
    for (std::size_t i = 0; i < header.size(); ++i)
        names.push_back(
            header[i].empty() ? texts::columnWithoutName(static_cast<std::int64_t>(i + 1)) : exchangeUtf16(header[i]));
    const int key = face.askChoice(texts::kImportKeyColumnQuestion, names);
    if (key < 0)
        return false;
    const int text = face.askChoice(texts::kImportTextColumnQuestion, names);
    if (text < 0)
        return false;
    // The first row named the columns: it is the header, whatever the format.
    options.keyColumn = std::to_string(key + 1);
    options.textColumn = std::to_string(text + 1);
    options.headerRow = true;
    return true;
}

// What the import will do, in words, before it does it.
std::u16string importPreview(std::u16string_view path, const ImportResult &imported)
{
    std::vector<std::int64_t> changes(std::begin(imported.keyChanges), std::end(imported.keyChanges));
    std::u16string examples;
    std::vector<std::pair<char32_t, char32_t>> shown;
    for (const ExchangeReplacement &replacement : imported.replacements) {
        const std::pair<char32_t, char32_t> pair { replacement.from, replacement.to };
        if (std::find(shown.begin(), shown.end(), pair) != shown.end())
            continue;
        if (shown.size() == 5) {
            examples += u"…";
            break;
        }
        shown.push_back(pair);
        if (!examples.empty())
            examples += u"、";
        examples += characterText(pair.first);
        examples += u"→";
        examples += characterText(pair.second);
    }
    std::vector<std::pair<std::u16string, std::int64_t>> reasons;
    for (const ExchangeProblem &problem : imported.problems) {
        const std::u16string reason = problem.reason == ExchangeProblemReason::NoBig5Form
            ? std::u16string(texts::kImportNoBig5Kind)
            : exchangeReason(problem);
        auto found = std::find_if(reasons.begin(), reasons.end(), [&](const auto &r) { return r.first == reason; });
        if (found == reasons.end())
            reasons.emplace_back(reason, 1);
        else
            ++found->second;
    }
    std::vector<std::u16string> first;
    for (std::size_t i = 0; i < imported.problems.size() && i < 5; ++i)
        first.push_back(texts::problemLinePrefix(imported.problems[i].line) + exchangeReason(imported.problems[i]));
    return texts::importPreview(path, imported.words, imported.entries, changes,
        static_cast<std::int64_t>(imported.replacements.size()), examples, reasons, first);
}

std::int64_t countLines(std::string_view text)
{
    std::int64_t lines = 0;
    for (const char byte : text)
        lines += byte == '\n';
    return lines + (!text.empty() && text.back() != '\n');
}

} // namespace

void Workbench::showExchangeProblems(std::vector<ProblemRow> rows, std::int64_t replaced)
{
    // After the edit, whose change put any earlier list away.
    problems_ = RunProblems {};
    problemsShown_ = false;
    exchangeProblems_ = std::move(rows);
    exchangeProblemsShown_ = !exchangeProblems_.empty();
    face_.showProblems(exchangeProblemsShown_
            ? texts::importProblemsTitle(static_cast<std::int64_t>(exchangeProblems_.size()) - replaced, replaced)
            : u"",
        exchangeProblems_.size());
}

void Workbench::ImportWords()
{
    const std::vector<ExchangeType> &types = importTypes();
    // The dialog starts in the data directory.
    std::u16string picked = shownPath(dataFileName());
    picked.erase(picked.find_last_of(u"/\\") + 1);
    std::size_t selected = 0;
    if (!face_.askFilePath(false, texts::kImportTitle, fileTypes(types), picked, selected))
        return;
    std::string path;
    if (!os::programPathFromText(picked, path)) {
        face_.showNotice(texts::pathNotUsable(picked));
        return;
    }
    const std::optional<ExchangeType> type = typeForFile(path, types, selected);
    if (!type) {
        face_.showNotice(texts::formatNotKnown(picked));
        return;
    }
    DataFileRead read = readDataFile(path);
    switch (read.status) {
    case DataFileRead::Status::Loaded:
        break;
    case DataFileRead::Status::Missing:
    case DataFileRead::Status::CannotOpen:
        face_.showError(texts::cannotOpenFile(picked));
        return;
    case DataFileRead::Status::TooLarge:
        face_.showError(texts::kTextExceedsCapacity);
        return;
    }
    ExchangeOptions options;
    options.syllables = type->syllables;
    options.textFirst = type->textFirst;
    options.dictionaryName = exchangeDictionaryName(path);
    if (!chooseColumns(face_, read.bytes, type->format, options))
        return;
    ImportResult imported = importExchangeFile(read.bytes, type->format, options, path);
    if (imported.outOfMemory) {
        face_.showNotice(texts::kTableOutOfMemory);
        return;
    }
    // See before you take: nothing changes unless the user says 匯入.
    std::vector<std::u16string> answers { std::u16string(texts::kImportGo) };
    if (!imported.replacements.empty())
        answers.emplace_back(texts::kImportWithoutVariants);
    const int answer = face_.askChoice(importPreview(picked, imported), answers);
    if (answer < 0)
        return;
    if (answer == 1) {
        options.variants = false;
        imported = importExchangeFile(read.bytes, type->format, options, path);
        if (imported.outOfMemory) {
            face_.showNotice(texts::kTableOutOfMemory);
            return;
        }
    }
    read.bytes = std::string();
    std::vector<ProblemRow> rows = problemRows(imported.problems, picked);
    if (read.zeroByteLine != 0)
        rows.push_back({ texts::decimal(read.zeroByteLine), picked, std::u16string(texts::kImportZeroByte) });
    const auto replaced = static_cast<std::int64_t>(imported.replacements.size());
    addReplacementRows(rows, imported.replacements, picked);
    // In the file's order; a row without a line (the file as a whole) first.
    std::stable_sort(rows.begin(), rows.end(), [](const ProblemRow &a, const ProblemRow &b) {
        return a.line.size() != b.line.size() ? a.line.size() < b.line.size() : a.line < b.line;
    });

    // Appended after the last line, as one edit: nothing of the editor's text changes.
    std::int64_t firstLine = 0;
    if (imported.entries > 0) {
        const bool lastLineEnded = face_.editorLastLineEmpty();
        firstLine = editorLines() + 1;
        std::u16string added = lastLineEnded ? u"" : u"\n";
        added += editorTextOfLines(imported.big5Lines);
        editWhole([&] { face_.appendEditorText(added); });
    }
    showExchangeProblems(std::move(rows), replaced);
    face_.showNotice(texts::importedNotice(
        picked, imported.entries, static_cast<std::int64_t>(exchangeProblems_.size()) - replaced));
    face_.focusEditor();
    if (firstLine > 0)
        face_.putCaret(lineStartPosition(face_.editorText(), firstLine));
}

void Workbench::ExportWords()
{
    const std::u16string text = face_.editorText();
    const Big5EncodeResult encoded = encodeBig5Lines(text);
    if (!encoded.ok()) {
        const TextCharacter bad = characterWithoutBig5(text, encoded);
        face_.showNotice(texts::exportNotDoneWithoutBig5(lineAtPosition(text, bad.position),
            std::u16string_view(text).substr(bad.position, bad.units), bad.codePoint));
        face_.focusEditor();
        face_.putCaret(bad.position);
        return;
    }
    const std::vector<ExchangeType> &types = exportTypes();
    // Offered first: the slot's own name beside its data file, as a RIME dictionary.
    std::u16string picked = shownPath(dataFileName());
    if (const std::size_t dot = picked.find_last_of(u'.'); dot != std::u16string::npos)
        picked.erase(dot);
    picked += ascii(exchangeFormatExtension(types.front().format));
    std::size_t selected = 0;
    if (!face_.askFilePath(true, texts::kExportTitle, fileTypes(types), picked, selected))
        return;
    std::optional<ExchangeType> type = typeForFile({}, types, selected);
    std::string path;
    if (withoutExtension(picked)) {
        // The dialog left the name as typed: it gets the type's extension, and then it has not
        // been asked about a file of that name.
        picked += ascii(exchangeFormatExtension(type->format));
        if (!os::programPathFromText(picked, path)) {
            face_.showNotice(texts::pathNotUsable(picked));
            return;
        }
        if (os::fileStatus(path.c_str()).exists && !face_.confirm(texts::confirmReplaceFile(picked)))
            return;
    } else if (!os::programPathFromText(picked, path)) {
        face_.showNotice(texts::pathNotUsable(picked));
        return;
    }
    type = typeForFile(path, types, selected);
    const int order = face_.askChoice(texts::kExportOrderQuestion,
        { std::u16string(texts::kExportInTableOrder), std::u16string(texts::kExportInFileOrder) });
    if (order < 0)
        return;

    ExportRequest request;
    request.format = type->format;
    request.options.syllables = type->syllables;
    request.options.textFirst = type->textFirst;
    request.options.dictionaryName = exchangeDictionaryName(path);
    request.order = order == 0 ? ExportOrder::Compiler : ExportOrder::File;
    request.tableOrder = TableOrder::fromDigit(OrderDigit(slot_));
    // The editor's text is the slot's data file's, as in a table run.
    request.sourceFile = dataFileName();
    ExportResult exported = exportDataText(encoded.bytes, request);
    if (exported.outOfMemory || exported.tooLarge) {
        face_.showNotice(exported.tooLarge ? texts::kTableTooLarge : texts::kTableOutOfMemory);
        return;
    }
    if (const std::string *input = exported.inputs.inputAt(path.c_str())) {
        face_.showNotice(texts::exportWouldReplaceInput(picked, shownPath(*input)));
        return;
    }
    const DataFileWrite written = writeDataFile(path, exported.bytes);
    switch (written.status) {
    case DataFileWrite::Status::Written:
        break;
    case DataFileWrite::Status::CannotCreate:
        face_.showError(texts::cannotCreateFile(picked));
        return;
    case DataFileWrite::Status::WriteFailed:
        face_.showError(texts::dataNotWritten(picked, texts::systemText(written.reason)));
        return;
    }
    // The lines that made no entry are the editor's and its include files', as after a table
    // run: the list shows them, and the editor's go to their line.
    exchangeProblems_.clear();
    exchangeProblemsShown_ = false;
    problems_ = std::move(exported.compiler);
    showProblems();
    const ExportCounts &counts = exported.counts;
    face_.showNotice(texts::exportedNotice(picked, counts.entries, counts.duplicates, counts.commentLines,
        counts.includeLines, counts.linesWithoutEntry, counts.notBig5Text));
}

void Workbench::offerUtf8Conversion()
{
    const std::string bytes = std::move(utf8Pending_);
    utf8Pending_.clear();
    const std::string path = dataFileName();
    if (!face_.confirm(texts::utf8DataFileQuestion(shownPath(path), utf8PendingLine_)))
        return;
    const ImportResult converted = utf8DataTextToBig5(bytes, path);
    if (converted.outOfMemory) {
        face_.showNotice(texts::kTableOutOfMemory);
        return;
    }
    const std::size_t caret = face_.caretPosition();
    // One edit, which the user can take back to the text as the file holds it.
    editWhole([&] { face_.replaceEditorText(editorTextOfLines(converted.big5Lines)); });
    std::vector<ProblemRow> rows = problemRows(converted.problems, shownPath(path));
    const auto problems = static_cast<std::int64_t>(rows.size());
    showExchangeProblems(std::move(rows));
    face_.showNotice(texts::utf8ConvertedNotice(countLines(converted.big5Lines), problems));
    face_.focusEditor();
    face_.putCaret(caret);
}

} // namespace kpx
