// SPDX-License-Identifier: GPL-2.0-or-later
#include "workbench/workbench.h"

#include <algorithm>
#include <limits>
#include <new>
#include <stdexcept>
#include <vector>

#include "compiler/data_text.h"
#include "compiler/table_compiler.h"
#include "exchange/exchange.h"
#include "platform/native_path.h"
#include "platform/picked_path.h"
#include "platform/text/big5_codec.h"
#include "platform/text/caret_offset.h"
#include "platform/text/locale_compare.h"
#include "state/slot_names.h"
#include "state/stored_number.h"
#include "workbench/data_file.h"
#include "workbench/program_texts.h"

namespace kpx {
namespace {

constexpr int kProgressMinimum = 0;
constexpr int kProgressMaximum = 1000;
// Sort takes at most this many lines.
constexpr std::int64_t kSortLimit = 8000;

bool isLineBreak(char16_t unit)
{
    return unit == u'\r' || unit == u'\n' || unit == u'\u2029';
}

// Length of the line break at text[i] (CR LF is one break of two units), 0 when there is none.
std::size_t lineBreakAt(std::u16string_view text, std::size_t i)
{
    if (!isLineBreak(text[i]))
        return 0;
    return text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
}

// The editor's text for a data file's bytes, decoded into out (room for decodedBig5Length(bytes)
// units) with every line break "\n". Returns the text's length.
std::size_t editorTextFromBytes(std::string_view bytes, char16_t *out)
{
    const std::size_t decoded = decodeBig5Into(bytes, out);
    // Line breaks are ASCII bytes, never part of a two-byte code: one pass in place.
    std::size_t length = 0;
    for (std::size_t in = 0; in < decoded; ++in) {
        char16_t unit = out[in];
        if (unit == u'\r') {
            if (in + 1 < decoded && out[in + 1] == u'\n')
                ++in;
            unit = u'\n';
        }
        out[length++] = unit;
    }
    return length;
}

// Line number (from 1) of the position in text.
std::int64_t lineOfPosition(std::u16string_view text, std::size_t position)
{
    std::int64_t line = 1;
    for (std::size_t i = 0; i < position && i < text.size();) {
        const std::size_t length = lineBreakAt(text, i);
        if (length != 0 && i + length <= position)
            ++line;
        i += length != 0 ? length : 1;
    }
    return line;
}

// The lines of text: a break at the very end begins no further line.
std::vector<std::u16string_view> linesOf(std::u16string_view text)
{
    std::vector<std::u16string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = lineBreakAt(text, i);
        if (length == 0) {
            ++i;
            continue;
        }
        lines.push_back(text.substr(start, i - start));
        i += length;
        start = i;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

// The first character of text that must not reach a data file: one without a Big5 form (where
// the encoding stopped), or a zero unit, which would end the file where it stands. units is 0
// when there is none.
TextCharacter refusedCharacter(std::u16string_view text, const Big5EncodeResult &encoded)
{
    const std::size_t zero = text.find(u'\0');
    if (zero != std::u16string_view::npos && (encoded.ok() || zero < encoded.badPosition))
        return TextCharacter { zero, 1, 0 };
    return characterWithoutBig5(text, encoded);
}

std::u16string_view tableFailureText(TableWriteFailure failure)
{
    switch (failure) {
    case TableWriteFailure::NoPath:
        return texts::kTableNoPath;
    case TableWriteFailure::ReadOnly:
        return texts::kTableReadOnly;
    case TableWriteFailure::CannotCreate:
        return texts::kTableCannotCreate;
    case TableWriteFailure::WriteFailed:
        return texts::kTableWriteFailed;
    case TableWriteFailure::CannotReplace:
        return texts::kTableCannotReplace;
    case TableWriteFailure::OutOfMemory:
        return texts::kTableOutOfMemory;
    case TableWriteFailure::TooLarge:
        return texts::kTableTooLarge;
    case TableWriteFailure::OutputIsInput: // says which input: tableWouldReplaceInput
    case TableWriteFailure::None:
        break;
    }
    return texts::kTableUnknown;
}

} // namespace

void DirtyWarningState::setAnswers(std::uint8_t yes, std::uint8_t no, std::uint8_t cancel)
{
    answerYes = yes;
    answerNo = no;
    answerCancel = cancel;
}

Workbench::Workbench(Face &face, char driveLetter, InputMethodLibrary library)
    : face_(face)
    , driveLetter_(driveLetter)
    , library_(std::move(library))
    , progressRedrawn_(std::chrono::steady_clock::now())
{
    tc_set_progress_step([this] { ProgressStep(); });
}

Workbench::~Workbench()
{
    tc_set_progress_step({});
}

std::string Workbench::dataFileName() const
{
    return DataFileName(slot_, driveLetter_);
}

std::string Workbench::tableFileName() const
{
    return TableFileName(slot_, driveLetter_);
}

std::u16string Workbench::shownPath(const std::string &programPath)
{
    return texts::systemText(os::nativePath(programPath));
}

std::int64_t Workbench::editorLines() const
{
    const auto lines = static_cast<std::int64_t>(face_.editorLineCount());
    return face_.editorLastLineEmpty() ? lines - 1 : lines;
}

// --- The data-modified flag and the status bar ---

void Workbench::SetDirty(std::uint8_t value)
{
    dirtyWarning_.dirty = value;
    RefreshStatusBar();
}

void Workbench::RefreshStatusBar()
{
    face_.setStatusPanel(0, texts::kStatusTotal);
    face_.setStatusPanel(1, texts::statusLines(editorLines()));
    face_.setStatusPanel(2, dirtyWarning_.dirty ? texts::kStatusModified : std::u16string_view());
}

void Workbench::mm4indata1Change(EditHistory::Kind kind)
{
    // The list's line numbers belong to the text of the run; any change may move them.
    if (problemsShown_ || exchangeProblemsShown_)
        clearProblems();
    if (loading_)
        return;
    sessionEndAgreed_ = false;
    if (ownEdit_)
        return;
    if (!face_.editorKeepsHistory())
        history_.record(face_.editorText(), kind);
    followChange();
}

void Workbench::followChange()
{
    const bool atSaved = face_.editorKeepsHistory() ? face_.editorAtSavedText() : history_.atSaved();
    // An editor that never held the slot's data is never what the file holds.
    SetDirty(atSaved && !loadFailed_ ? 0 : 1);
}

void Workbench::markSaved()
{
    if (face_.editorKeepsHistory())
        face_.markEditorSaved();
    else
        history_.markSaved();
}

void Workbench::editWhole(const std::function<void()> &change)
{
    {
        ownEdit_ = true;
        struct Done {
            bool &flag;
            ~Done() { flag = false; }
        } done { ownEdit_ };
        change();
    }
    if (!face_.editorKeepsHistory())
        history_.record(face_.editorText(), EditHistory::Kind::Whole);
    followChange();
}

bool Workbench::applyStep(const std::optional<EditHistory::Edit> &step)
{
    if (!step)
        return false;
    {
        ownEdit_ = true;
        struct Done {
            bool &flag;
            ~Done() { flag = false; }
        } done { ownEdit_ };
        face_.replaceEditorRange(step->position, step->length, step->text);
    }
    // A control that could not take the whole step holds another text: that is a change too.
    history_.record(face_.editorText(), EditHistory::Kind::Typing);
    followChange();
    face_.focusEditor();
    return true;
}

bool Workbench::Undo()
{
    return !face_.editorKeepsHistory() && applyStep(history_.undo());
}

bool Workbench::Redo()
{
    return !face_.editorKeepsHistory() && applyStep(history_.redo());
}

// --- Saving, the question and the slot switch ---

bool Workbench::saveData()
{
    const std::string path = dataFileName();
    if (loadFailed_) {
        if (!face_.confirm(texts::confirmOverwriteUnloaded(shownPath(path))))
            return false;
    } else if (zeroByteLine_ != 0) {
        if (!face_.confirm(texts::confirmOverwritePartlyLoaded(shownPath(path), zeroByteLine_)))
            return false;
    } else if (const os::FileStatus now = os::fileStatus(path.c_str());
               now.exists && !now.isDirectory && now != dataStamp_) {
        // Changed by another program since it was loaded or saved here: its changes would go.
        if (!face_.confirm(texts::confirmOverwriteChanged(shownPath(path))))
            return false;
    }
    const std::u16string text = face_.editorText();
    const Big5EncodeResult encoded = encodeBig5Lines(text);
    if (const TextCharacter bad = refusedCharacter(text, encoded); bad.units != 0) {
        face_.showNotice(texts::notSavedWithoutBig5(lineOfPosition(text, bad.position),
            std::u16string_view(text).substr(bad.position, bad.units), bad.codePoint));
        face_.focusEditor();
        face_.putCaret(bad.position);
        return false;
    }
    const DataFileWrite written = writeDataFile(path, encoded.bytes);
    switch (written.status) {
    case DataFileWrite::Status::Written:
        break;
    case DataFileWrite::Status::CannotCreate:
        face_.showError(texts::cannotCreateFile(shownPath(path)));
        return false;
    case DataFileWrite::Status::WriteFailed:
        face_.showError(texts::dataNotWritten(
            shownPath(path), texts::systemReason(written.reasonKind, texts::systemText(written.reason))));
        return false;
    }
    loadFailed_ = false;
    zeroByteLine_ = 0;
    dataStamp_ = os::fileStatus(path.c_str());
    markSaved();
    SetDirty(0);
    return true;
}

void Workbench::Save()
{
    saveData();
}

bool Workbench::saveWithCaretRestore()
{
    const std::size_t caret = face_.caretPosition();
    if (!saveData())
        return false;
    face_.focusEditor();
    face_.putCaret(caret);
    return true;
}

void Workbench::SaveWithCaretRestore()
{
    saveWithCaretRestore();
}

bool Workbench::askToSave()
{
    if (!dirtyWarning_.dirty)
        return true;
    dirtyWarning_.setAnswers(0, 0, 0);
    switch (face_.askUnsavedData()) {
    case DirtyAnswer::Yes:
        dirtyWarning_.setAnswers(1, 0, 0);
        break;
    case DirtyAnswer::No:
        dirtyWarning_.setAnswers(0, 1, 0);
        break;
    case DirtyAnswer::Cancel:
        dirtyWarning_.setAnswers(0, 0, 1);
        break;
    case DirtyAnswer::None:
        break;
    }
    if (dirtyWarning_.answerYes) {
        if (!saveData())
            return false;
        SetDirty(0);
        return true;
    }
    return dirtyWarning_.answerNo != 0;
}

bool Workbench::loadDataFile()
{
    sessionEndAgreed_ = false;
    DataFileRead read;
    bool held = true;
    {
        loading_ = true;
        struct Done {
            bool &flag;
            ~Done() { flag = false; }
        } done { loading_ };
        // Whatever way the read fails, the editor never keeps the previous slot's text under
        // this slot.
        utf8Pending_.clear();
        try {
            read = readDataFile(dataFileName());
            if (read.status == DataFileRead::Status::Loaded) {
                // Shown as it is either way; the user is offered to convert it once it is loaded.
                const Utf8Check check = checkUtf8(read.bytes);
                utf8PendingLine_ = check.firstUtf8Line;
                // Decoded once, into the face's own storage where it has one.
                const std::size_t capacity = decodedBig5Length(read.bytes);
                std::u16string buffer;
                char16_t *storage = face_.editorTextStorage(capacity);
                if (!storage) {
                    buffer.resize(capacity);
                    storage = buffer.data();
                }
                const std::size_t length = editorTextFromBytes(read.bytes, storage);
                if (check.isUtf8)
                    utf8Pending_ = std::move(read.bytes);
                read.bytes = std::string();
                held = face_.loadEditorText(std::u16string_view(storage, length));
            } else {
                face_.loadEditorText({});
            }
        } catch (const std::bad_alloc &) {
            held = false;
        } catch (const std::length_error &) {
            held = false;
        } catch (...) {
            utf8Pending_.clear();
            face_.loadEditorText({});
            loadFailed_ = true;
            zeroByteLine_ = 0;
            dataStamp_ = {};
            throw;
        }
        if (!held) {
            read = DataFileRead {};
            utf8Pending_.clear();
            face_.loadEditorText({});
        }
        // A new slot's text: nothing of the previous one to undo.
        if (face_.editorKeepsHistory())
            face_.markEditorSaved();
        else
            history_.reset(face_.editorText());
    }
    if (!held) {
        loadFailed(texts::kTextExceedsCapacity);
        return false;
    }
    dataStamp_ = read.stamp;
    zeroByteLine_ = read.zeroByteLine;
    switch (read.status) {
    case DataFileRead::Status::Missing:
    case DataFileRead::Status::Loaded:
        loadFailed_ = false;
        if (zeroByteLine_ != 0)
            face_.showNotice(texts::partlyLoadedNotice(shownPath(dataFileName()), zeroByteLine_));
        return true;
    case DataFileRead::Status::CannotOpen:
        loadFailed(read.kind == os::FileKind::Regular ? texts::cannotOpenFile(shownPath(dataFileName()))
                                                      : texts::notRegularFile(shownPath(dataFileName()), read.kind));
        return false;
    case DataFileRead::Status::TooLarge:
        loadFailed(texts::kTextExceedsCapacity);
        return false;
    }
    return false;
}

void Workbench::loadFailed(std::u16string_view error)
{
    loadFailed_ = true;
    zeroByteLine_ = 0;
    RefreshStatusBar();
    face_.showError(error);
}

bool Workbench::SwitchSlot(std::int32_t slot)
{
    if (!askToSave()) {
        face_.pressSlotButton(slot_);
        return false;
    }
    slot_ = slot;
    face_.pressSlotButton(slot_);
    face_.showPaths(shownPath(tableFileName()), shownPath(dataFileName()));
    // A file that exists but cannot be loaded leaves the editor empty and the flag as the
    // question left it; saving then asks before the empty text replaces the file.
    if (!loadDataFile())
        return false;
    SetDirty(0);
    if (!utf8Pending_.empty())
        offerUtf8Conversion();
    return true;
}

// --- Making the table, and the progress bar ---

void Workbench::ProgressStep()
{
    // Past the maximum the bar starts again from its minimum, as a stepped progress bar does.
    ++progress_;
    if (progress_ > kProgressMaximum)
        progress_ = kProgressMinimum;
    // A redraw per line would cost more than the compiler's own work.
    if (std::chrono::steady_clock::now() - progressRedrawn_ >= progressRedrawInterval_)
        redrawProgress();
}

void Workbench::redrawProgress()
{
    face_.showProgress(progress_);
    progressRedrawn_ = std::chrono::steady_clock::now();
}

void Workbench::Jejok(bool showNotice)
{
    // The editor does not hold the slot's data: a table made from it would replace the slot's
    // table with one of whatever the editor holds, most likely nothing.
    if (loadFailed_
        && !face_.confirm(texts::confirmTableFromUnloaded(shownPath(dataFileName()), shownPath(tableFileName()))))
        return;
    const std::size_t caret = face_.caretPosition();
    tc_begin(0);
    // The slot's data file is the first link of the include chain: the editor's text is its.
    tc_set_source_file(dataFileName().c_str());
    progress_ = kProgressMinimum;
    progressRedrawn_ = std::chrono::steady_clock::now();

    const std::u16string text = face_.editorText();
    const Big5EncodeResult encoded = encodeBig5Lines(text);
    const TextCharacter bad = refusedCharacter(text, encoded);
    std::size_t caretAfter = caret;
    if (bad.units == 0) {
        addDataText(encoded.bytes, [this] { ProgressStep(); });
        tc_order_and_sort(OrderDigit(slot_));
        problems_ = tc_problems();
        const std::string path = tableFileName();
        const std::string id = TableId(slot_);
        const std::int32_t result = tc_write(path.c_str(), id.c_str());
        progress_ = kProgressMinimum;
        redrawProgress();
        const TableWriteReport &report = tc_last_write();
        const std::u16string written = shownPath(report.path.empty() ? path : report.path);
        if (result != 0 && showNotice) {
            face_.showNotice(texts::tableMadeNotice(tc_count(), written));
        } else if (result == 0) {
            const std::u16string reason = report.failure == TableWriteFailure::OutputIsInput
                ? texts::tableWouldReplaceInput(shownPath(report.input))
                : std::u16string(tableFailureText(report.failure));
            face_.showNotice(texts::tableNotMadeNotice(
                written, reason, texts::systemReason(report.reasonKind, texts::systemText(report.reason))));
        }
    } else {
        progress_ = kProgressMinimum;
        redrawProgress();
        face_.showNotice(texts::tableNotMadeWithoutBig5(lineOfPosition(text, bad.position),
            std::u16string_view(text).substr(bad.position, bad.units), bad.codePoint));
        caretAfter = bad.position;
    }

    if (bad.units == 0)
        showProblems();
    else
        clearProblems();
    library_.notify(1);
    face_.focusEditor();
    face_.putCaret(caretAfter);
}

// --- Finding mistakes and text ---

void Workbench::showProblems()
{
    const std::size_t rows = problems_.problems.size();
    problemsShown_ = rows > 0;
    const std::int32_t duplicates = static_cast<std::int32_t>(rows) - problems_.linesWithoutEntry - problems_.warnings;
    face_.showProblems(
        rows > 0 ? texts::problemsTitle(problems_.linesWithoutEntry, duplicates, problems_.warnings) : u"", rows);
}

void Workbench::clearProblems()
{
    problems_ = RunProblems {};
    problemsShown_ = false;
    exchangeProblems_.clear();
    exchangeProblemsShown_ = false;
    face_.showProblems(u"", 0);
}

Workbench::ProblemRow Workbench::problemRow(std::size_t row) const
{
    if (exchangeProblemsShown_)
        return row < exchangeProblems_.size() ? exchangeProblems_[row] : ProblemRow {};
    if (row >= problems_.problems.size())
        return {};
    const LineProblem &problem = problems_.problems[row];
    // Include paths are bytes of the editor's text, Big5 like it.
    const auto fileName = [this](std::int32_t file) {
        return file == 0 ? std::u16string(texts::kProblemInEditor)
                         : decodeBig5(problems_.files[static_cast<std::size_t>(file)]);
    };
    std::u16string subject;
    if (problem.reason != LineProblemReason::Duplicate)
        subject = fileName(problem.subject);
    else if (problem.subject != problem.file)
        subject = fileName(problem.subject);
    const std::u16string earlier
        = problem.reason == LineProblemReason::IncludeReadAgain ? fileName(problem.earlierFile) : std::u16string();
    return ProblemRow { texts::decimal(problem.line), fileName(problem.file),
        texts::problemReason(problem.reason, subject, problem.subjectLine, earlier) };
}

bool Workbench::GoToProblem(std::size_t row)
{
    // The lines an import left out are lines of the file it read, not of the editor.
    if (exchangeProblemsShown_)
        return false;
    if (row >= problems_.problems.size() || problems_.problems[row].file != 0)
        return false;
    const std::u16string text = face_.editorText();
    face_.focusEditor();
    face_.putCaret(lineStartPosition(text, problems_.problems[row].line));
    return true;
}

FindOutcome Workbench::Find(std::u16string_view needle, bool forwards)
{
    const std::u16string text = face_.editorText();
    const std::size_t caret = face_.caretPosition();
    // The match found last is still selected: the next one forwards lies past it.
    const std::size_t from = forwards && caret == lastFound_ ? caret + 1 : caret;
    const FindOutcome outcome = findText(text, needle, from, forwards);
    if (outcome.found) {
        lastFound_ = outcome.position;
        face_.selectText(outcome.position, outcome.length);
    }
    return outcome;
}

std::u16string Workbench::findMessage(const FindOutcome &outcome)
{
    return outcome.found ? texts::findCount(outcome.index, outcome.count, outcome.wrapped)
                         : std::u16string(texts::kFindNotFound);
}

void Workbench::GoToLine()
{
    const std::u16string text = face_.editorText();
    const std::int64_t last = std::max<std::int64_t>(1, textLineCount(text));
    const std::int64_t current = lineAtPosition(text, face_.caretPosition());
    std::int64_t line = current;
    if (!face_.askLineNumber(texts::goToLinePrompt(last), current, last, line))
        return;
    face_.focusEditor();
    face_.putCaret(lineStartPosition(text, std::clamp<std::int64_t>(line, 1, last)));
}

void Workbench::SaveAndMake()
{
    if (!saveWithCaretRestore())
        return;
    Jejok(false);
}

// --- Sort ---

void Workbench::Sort()
{
    const std::size_t caret = face_.caretPosition();
    const std::int64_t count = editorLines();
    if (count > kSortLimit) {
        face_.showNotice(texts::kSortTooManyLines);
    } else if (count > 0) {
        const std::u16string text = face_.editorText();
        // Binary insertion: each line goes before the first one that does not compare less, so
        // lines that compare equal come out in the reverse of their order in the editor.
        std::vector<std::u16string_view> sorted;
        sorted.reserve(static_cast<std::size_t>(count));
        for (const std::u16string_view line : linesOf(text)) {
            std::ptrdiff_t lo = 0;
            std::ptrdiff_t hi = static_cast<std::ptrdiff_t>(sorted.size()) - 1;
            while (lo <= hi) {
                const std::ptrdiff_t mid = (lo + hi) / 2;
                if (compareLocaleIgnoringCase(sorted[static_cast<std::size_t>(mid)], line) < 0)
                    lo = mid + 1;
                else
                    hi = mid - 1;
            }
            sorted.insert(sorted.begin() + lo, line);
        }
        std::u16string result;
        result.reserve(text.size() + 1);
        for (const std::u16string_view line : sorted) {
            result += line;
            result += u'\n';
        }
        // One edit, so that the user can take the whole sort back.
        editWhole([&] { face_.replaceEditorText(result); });
    }
    face_.focusEditor();
    face_.putCaret(caret);
}

// --- Activation and close ---

bool Workbench::focusMoved(FocusedWindow window)
{
    return activation_.focusMoved(window);
}

void Workbench::offerDataDirectoryWith(std::u16string_view exampleFile)
{
    exampleFile_ = exampleFile;
}

void Workbench::offerDataDirectory()
{
    std::string example;
    const bool named = os::programPathFromText(exampleFile_, example);
    exampleFile_.clear();
    std::string directory = StateFileName(driveLetter_);
    directory.erase(directory.rfind('\\'));
    if (!named || os::fileStatus(directory.c_str()).exists)
        return;
    const std::u16string shown = shownPath(directory);
    if (!face_.confirm(texts::offerDataDirectory(shown)))
        return;
    if (!os::makeDirectory(directory.c_str())) {
        face_.showError(texts::dataDirectoryNotMade(
            shown, texts::systemReason(os::lastErrorKind(), texts::systemText(os::lastErrorText()))));
        return;
    }
    const std::string copy = directory + "\\example.txt";
    const DataFileRead read = readDataFile(example);
    const DataFileWrite written = read.status == DataFileRead::Status::Loaded
        ? writeDataFile(copy, read.bytes)
        : DataFileWrite { DataFileWrite::Status::CannotCreate, {}, os::ErrorKind::NoSuchFile };
    if (written.status != DataFileWrite::Status::Written)
        face_.showError(texts::dataDirectoryNotMade(
            shownPath(copy), texts::systemReason(written.reasonKind, texts::systemText(written.reason))));
}

void Workbench::FormActivate()
{
    if (!exampleFile_.empty())
        offerDataDirectory();
    const std::string path = StateFileName(driveLetter_);
    state_.load(path.c_str());
    std::int32_t slot = 1;
    if (state_.hasValue('f'))
        slot = validSlot(storedNumber(state_.value('f')));
    restored_ = true;
    face_.pressSlotButton(slot);
    SwitchSlot(slot);
    std::int64_t offset = 0;
    if (state_.hasValue('s'))
        offset = storedNumber(state_.value('s'));
    face_.putCaret(positionFromCaretOffset(face_.editorText(), offset));
}

void Workbench::storeState()
{
    // A window closed before it ever showed a slot keeps what the last close stored.
    if (!restored_)
        return;
    const std::string path = StateFileName(driveLetter_);
    state_.clear();
    const std::int64_t offset = caretOffsetFromPosition(face_.editorText(), face_.caretPosition());
    const auto caret
        = static_cast<std::int32_t>(std::min<std::int64_t>(offset, std::numeric_limits<std::int32_t>::max()));
    state_.set('f', storedNumberText(slot_).c_str());
    state_.set('s', storedNumberText(caret).c_str());
    state_.save(path.c_str(), texts::kStateFileHeader);
}

bool Workbench::FormCloseQuery()
{
    if (!sessionEndAgreed_ && !askToSave())
        return false;
    library_.release();
    storeState();
    return true;
}

bool Workbench::EndSession()
{
    if (!askToSave())
        return false;
    storeState();
    sessionEndAgreed_ = true;
    return true;
}

} // namespace kpx
