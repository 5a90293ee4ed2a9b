// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What the window's behaviour needs from a face of the program (the Qt window on Linux, the
// native window on Windows). A face creates the controls, turns keys, clicks and window events
// into calls on the Workbench, and does what the Workbench asks through this interface. It
// decides no rule: every text it shows comes from the Workbench, and every answer it gets from
// the user goes back as it is.
//
// Editor text crosses the seam as UTF-16. Text that the Workbench hands to the face separates
// its lines with "\n"; the face stores it in its own convention. Text that the face hands back
// may separate lines with CR LF, CR, LF or U+2029 (whatever its control keeps), and every caret
// position on either side is an index into exactly that text.
namespace kpx {

// The user's answer to the unsaved-data question (是, 無愛, 取消). Closing the question with the
// window's close box is None, which the Workbench treats like 取消.
enum class DirtyAnswer { None, Yes, No, Cancel };

// A type of file a file dialog offers in its type list: its name as the list shows it, and its
// patterns ("*.dict.yaml"; several separated by ';'). The first pattern's extension is the one a
// name typed without an extension gets while the type is selected.
struct FileType {
    std::u16string name;
    std::u16string patterns;
};

class Face {
public:
    virtual ~Face() = default;

    // --- The editor (mm4indata1) ---
    // The whole text, read once per command.
    virtual std::u16string editorText() const = 0;
    // Replaces the text on a load: no edit (no change event reaches the Workbench as one, see
    // Workbench::mm4indata1Change), a new undo history, caret at the start. False when the
    // control cannot hold the text (out of room or memory): the face then leaves the editor
    // empty, and the Workbench reports the load as failed.
    virtual bool loadEditorText(std::u16string_view text) = 0;
    // Room for a loaded text of at most capacity UTF-16 units in the face's own storage: the
    // Workbench decodes the data file straight into it and then calls loadEditorText with a
    // view of what it wrote there. A face whose control takes the text in a form of its own (a
    // QString) saves a copy of many megabytes this way. The default, nullptr, lets the Workbench
    // use a buffer of its own.
    virtual char16_t *editorTextStorage(std::size_t capacity)
    {
        static_cast<void>(capacity);
        return nullptr;
    }
    // Replaces the whole text as one edit the user can undo (Sort). This is a change of the
    // text: the face reports it like any other.
    virtual void replaceEditorText(std::u16string_view text) = 0;
    // Lines as the control counts them: an empty text has one, a text ending with a line break
    // has an empty last one. Must be cheap: the status bar asks after every keystroke.
    virtual std::size_t editorLineCount() const = 0;
    virtual bool editorLastLineEmpty() const = 0;
    // Start of the selection.
    virtual std::size_t caretPosition() const = 0;
    // An empty selection at position (clamped to the text), scrolled into view.
    virtual void putCaret(std::size_t position) = 0;
    virtual void focusEditor() = 0;

    // --- Undo ---
    // Whether the editor keeps an undo history of its own that takes back one edit at a time (a
    // run of typing, a paste, a line break, each replacement by replaceEditorText and
    // appendEditorText) and never joins edits across a save. A face whose control has no such
    // history (the native edit box keeps one step) leaves it to the Workbench: it reports how
    // each change came about (Workbench::mm4indata1Change), forwards undo and redo
    // (Workbench::Undo, Redo) and applies their steps with replaceEditorRange.
    virtual bool editorKeepsHistory() const = 0;
    // With a history of the editor's own: the text as it stands was saved or loaded. The next
    // edit is a step of its own, and editorAtSavedText tells when undo or redo came back here.
    virtual void markEditorSaved() = 0;
    virtual bool editorAtSavedText() const = 0;
    // Without one: replaces length units from position with text, as a step of undo or redo
    // (the control's own undo takes no part), the caret after it, scrolled into view. A change
    // of the text like any other.
    virtual void replaceEditorRange(std::size_t position, std::size_t length, std::u16string_view text) = 0;

    // --- The panel ---
    // Presses the button of slot (1 to 30) down; the group releases the others.
    virtual void pressSlotButton(std::int32_t slot) = 0;
    // ed4ofn1 and ed4ifn1: each path as fittedPath (workbench/fitted_path.h) shortens it to the
    // box's width, the whole path on hover.
    virtual void showPaths(std::u16string_view tablePath, std::u16string_view dataPath) = 0;

    // --- Status bar and progress bar ---
    virtual void setStatusPanel(int panel, std::u16string_view text) = 0;
    // Puts the progress bar at position (0 to 1000) and redraws it at once: a table run does
    // not return to the event loop until it ends.
    virtual void showProgress(int position) = 0;

    // --- Questions and notices; each returns when the user has answered ---
    // The unsaved-data question, TmmDirtyWarning1, modal.
    virtual DirtyAnswer askUnsavedData() = 0;
    // The notice dialog Tokmes1 with text (lines separated by "\r\n"), modal.
    virtual void showNotice(std::u16string_view text) = 0;
    // An error box titled with the program's name, as the windowing framework shows an error
    // that ends a command.
    virtual void showError(std::u16string_view text) = 0;
    // A yes/no warning whose default (Enter, Esc, close box) is no. True for yes. Its buttons say
    // texts::kButtonYes and texts::kButtonNo.
    virtual bool confirm(std::u16string_view text) = 0;

    // --- Finding mistakes and text ---
    // Shows the problems list beside the editor, titled title, with rows rows; the face reads a
    // row's texts with Workbench::problemRow when it draws it. With 0 rows the list is emptied
    // and put away.
    virtual void showProblems(std::u16string_view title, std::size_t rows) = 0;
    // Selects length units of the editor's text from position, scrolled into view.
    virtual void selectText(std::size_t position, std::size_t length) = 0;
    // Asks for a line number from 1 to last, offering current. False when the user cancels. Its
    // buttons say texts::kButtonOk and texts::kButtonCancel.
    virtual bool askLineNumber(std::u16string_view prompt, std::int64_t current, std::int64_t last, std::int64_t &line)
        = 0;

    // --- Words in and out ---
    // Adds text after the last character of the editor's text as one edit the user can undo
    // (import), without touching what is there. A change of the text like any other.
    virtual void appendEditorText(std::u16string_view text) = 0;
    // The platform's file dialog, to pick a file to read (saving false) or to write (saving
    // true; the dialog asks before an existing file is replaced), with types in its type list and
    // type the one selected at first. On true, path is the file chosen and type the type
    // selected when the user chose it. A path that comes in ending with a path separator is the
    // directory the dialog starts in. False when the user cancels.
    virtual bool askFilePath(bool saving, std::u16string_view title, const std::vector<FileType> &types,
        std::u16string &path, std::size_t &type)
        = 0;
    // A question answered by one of choices (the buttons' captions; the first is the default).
    // The index of the choice, or -1 when the user cancels (Esc, close box).
    virtual int askChoice(std::u16string_view text, const std::vector<std::u16string> &choices) = 0;
};

} // namespace kpx
