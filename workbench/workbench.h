// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "compiler/line_problems.h"
#include "platform/input_method_library.h"
#include "platform/os_file.h"
#include "state/keyed_store.h"
#include "workbench/activation_tracker.h"
#include "workbench/edit_history.h"
#include "workbench/face.h"
#include "workbench/text_search.h"

// The behaviour of the main window, the same under every face: the current slot, the
// data-modified flag and the unsaved-data question, loading and saving the slot's data file,
// making its table, sorting its lines, and restoring and storing the slot and caret around a
// session. The face forwards every command and event here; what the user must see or answer
// comes back through Face.
namespace kpx {

// The state the unsaved-data dialog carries: the data-modified flag and the answer flags of its
// last showing.
struct DirtyWarningState {
    std::uint8_t dirty = 0;
    std::uint8_t answerYes = 0;
    std::uint8_t answerNo = 0;
    std::uint8_t answerCancel = 0;
    void setAnswers(std::uint8_t yes, std::uint8_t no, std::uint8_t cancel);
};

class Workbench {
public:
    // The face must outlive the Workbench. driveLetter is the system drive's letter; the
    // library is the input method's, loaded or not.
    Workbench(Face &face, char driveLetter, InputMethodLibrary library);
    ~Workbench();
    Workbench(const Workbench &) = delete;
    Workbench &operator=(const Workbench &) = delete;

    // --- Commands, as the face's menu items, buttons and keys call them ---
    void Save(); // mn4save1Click, F2
    void SaveWithCaretRestore(); // bn4saveClick
    void SaveAndMake(); // mn4sj1Click, F5
    void Jejok(bool showNotice); // bnJejok1Click, mn4jejok1Click (F3) with the notice
    void Sort(); // bnSort1Click
    bool SwitchSlot(std::int32_t slot); // SpeedButton<N>Click; false when it stopped
    // Every change of the editor's text. A face without an undo history of its own says how the
    // change came about: Whole for a paste or a cut, which are steps of their own.
    void mm4indata1Change(EditHistory::Kind kind = EditHistory::Kind::Typing);
    // Undo and redo for a face without an undo history of its own (Face::editorKeepsHistory):
    // one step of EditHistory, applied through Face::replaceEditorRange. False when there is no
    // step to take.
    bool Undo();
    bool Redo();

    // --- Finding mistakes and text; none of these changes the text or dirty ---
    struct ProblemRow {
        std::u16string line;
        std::u16string file;
        std::u16string reason;
    };
    // The texts of a row of the problems list (row below the count given to Face::showProblems).
    ProblemRow problemRow(std::size_t row) const;
    // Activating a row: a line of the editor gets the caret, scrolled into view. False for a
    // line of an include file, which the row names.
    bool GoToProblem(std::size_t row);
    // Finds needle from the caret (past the match found last while the caret still stands on
    // it) and selects the match. What to tell the user is findMessage (outcome).
    FindOutcome Find(std::u16string_view needle, bool forwards);
    static std::u16string findMessage(const FindOutcome &outcome);
    // Ctrl+G: asks for a line number and puts the caret at its start.
    void GoToLine();

    // --- Words in and out (檔案 menu; workbench/word_exchange.cpp) ---
    // Asks for a word list (RIME dictionary, fcitx5 table source, UTF-8 list or data file) and
    // appends its entries to the editor as data lines, one edit the user can undo; what did not
    // come through is listed in the problems list. Nothing is written until the user saves.
    void ImportWords();
    // Asks for a file and an order and writes to it every entry the slot's table would hold
    // (include files followed), each once; a notice counts what was left out.
    void ExportWords();

    // --- The window's lifecycle ---
    // The face reports where the focus went. True when the face should run FormActivate once
    // the window system's activation has been dealt with (it may ask a question).
    bool focusMoved(FocusedWindow window);
    void FormActivate();
    // A program installed without an installer that prepares the data directory (the Linux
    // package) names its copy of the handbook's example file, in the face's form: the first
    // activation then offers to make the data directory when it is missing, with that file in it.
    // The directory is never made without the user's yes.
    void offerDataDirectoryWith(std::u16string_view exampleFile);
    // True when the window may close; the library is then released and the state file written.
    bool FormCloseQuery();
    // The user's session is ending (log off, shut down, restart): a close, asked before the
    // system ends the program. Runs the ask-to-save routine; false (取消, or a save that failed)
    // refuses the end of the session. On true the state file is written and the library stays
    // loaded, since the session may still go on (another program may refuse it); a close after
    // it, with no edit in between, asks nothing again.
    bool EndSession();

    // --- Read by the face and by tests ---
    std::int32_t currentSlot() const { return slot_; }
    const DirtyWarningState &dirtyWarning() const { return dirtyWarning_; }
    int progressPosition() const { return progress_; }
    void SetDirty(std::uint8_t value);
    void RefreshStatusBar();
    void ProgressStep();
    // How often, at most, a table run redraws the progress bar (50 ms); tests see every step
    // with 0.
    void setProgressRedrawInterval(std::chrono::milliseconds interval) { progressRedrawInterval_ = interval; }

private:
    // The ask-to-save routine: true to go on, false to stop.
    bool askToSave();
    // Save: false, with the reason shown, when nothing was written.
    bool saveData();
    bool saveWithCaretRestore();
    // Empties the editor and loads the slot's data file into it; false when it exists but could
    // not be loaded.
    bool loadDataFile();
    // Marks the current slot's data file as not loaded and reports why.
    void loadFailed(std::u16string_view error);
    // The offer of offerDataDirectoryWith, made once.
    void offerDataDirectory();
    std::u16string exampleFile_;
    // Writes the slot and caret to the state file, when the window ever restored them.
    void storeState();
    void redrawProgress();
    // The editor's line count: its lines without a last one that is empty.
    std::int64_t editorLines() const;
    std::string dataFileName() const;
    std::string tableFileName() const;
    // A path in the program's form as the user sees it.
    static std::u16string shownPath(const std::string &programPath);

    Face &face_;
    char driveLetter_;
    InputMethodLibrary library_;
    KeyedStore state_;
    DirtyWarningState dirtyWarning_;
    ActivationTracker activation_;
    std::int32_t slot_ = 1;
    int progress_ = 0;
    std::chrono::steady_clock::time_point progressRedrawn_;
    std::chrono::milliseconds progressRedrawInterval_ { 50 };
    // Set while the Workbench itself replaces the editor's text on a load, which is no edit.
    bool loading_ = false;
    // The undo history, when the face keeps none (Face::editorKeepsHistory).
    EditHistory history_;
    // Set while the Workbench changes the text itself (Sort, import, undo): the change is
    // recorded once it is over, as one step.
    bool ownEdit_ = false;
    // The text as it now stands is the saved one (or was loaded).
    void markSaved();
    // Runs change, an edit of the Workbench's own, as one step of undo.
    void editWhole(const std::function<void()> &change);
    bool applyStep(const std::optional<EditHistory::Edit> &step);
    // The data-modified flag after a change: set, unless undo or redo came back to the text as
    // saved.
    void followChange();
    // The current slot's data file exists but could not be loaded: saving over it needs the
    // user's word.
    bool loadFailed_ = false;
    // The line of the zero byte that ended the loaded text (0: the file was loaded whole):
    // saving would drop what follows it, so it needs the user's word too.
    std::int64_t zeroByteLine_ = 0;
    // FormActivate has run: the slot and caret are what the user saw, not the defaults of a
    // window never shown.
    bool restored_ = false;
    // EndSession let the session end and nothing was edited or loaded since.
    bool sessionEndAgreed_ = false;
    // The problems of the last table run while the list shows them; the text has not changed
    // since.
    RunProblems problems_;
    bool problemsShown_ = false;
    void showProblems();
    void clearProblems();
    // The problems list holds the lines an import or a conversion left out, not a table run's.
    std::vector<ProblemRow> exchangeProblems_;
    bool exchangeProblemsShown_ = false;
    // rows: the lines left out, then the characters replaced (replaced of them).
    void showExchangeProblems(std::vector<ProblemRow> rows, std::int64_t replaced = 0);
    // The bytes of a data file that was loaded as it is although it is UTF-8 text: once the
    // slot switch is over, the user is offered to convert it (offerUtf8Conversion).
    std::string utf8Pending_;
    std::int32_t utf8PendingLine_ = 0;
    void offerUtf8Conversion();

    // Where Find selected its last match, so that the next search goes on past it.
    std::size_t lastFound_ = static_cast<std::size_t>(-1);
    // The data file as it was when it was last loaded or saved, to notice another program
    // changing it in the meantime.
    os::FileStatus dataStamp_;
};

} // namespace kpx
