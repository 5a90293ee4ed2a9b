// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <array>
#include <memory>
#include <string>

#include "win32/aboutbox1.h"
#include "win32/finding1.h"
#include "win32/mm_dirty_warning1.h"
#include "win32/okmes1.h"
#include "win32/sc_cheh1.h"
#include "win32/ui_support.h"
#include "win32/window.h"
#include "win32/words1.h"
#include "workbench/edit_history.h"
#include "workbench/face.h"
#include <commdlg.h>

namespace kpx {
class Workbench;
}

namespace kpx::win32 {

// The main window: the slot buttons, the two path boxes, the editor, the status bar and the
// progress bar, with the menu and its shortcut keys. Every command goes to the Workbench, and the
// Workbench reaches the window and its dialogs through Face.
class TForm1 : public Window, public Face {
public:
    TForm1(TSCCheh1 &handbook, Taboutbox1 &aboutBox, TmmDirtyWarning1 &dirtyWarning, Tokmes1 &notice);
    ~TForm1() override;

    // The Workbench to forward to; set once, before the window is shown.
    void attach(Workbench &workbench);
    // Whether a keyboard message is one of this window's shortcut keys; translates it if so.
    bool translateShortcut(MSG &message);
    // Shows the window and brings it to the front.
    void showFirst(int showCommand);

    // --- Face ---
    std::u16string editorText() const override;
    bool loadEditorText(std::u16string_view text) override;
    void replaceEditorText(std::u16string_view text) override;
    std::size_t editorLineCount() const override;
    bool editorLastLineEmpty() const override;
    std::size_t caretPosition() const override;
    void putCaret(std::size_t position) override;
    void focusEditor() override;
    void pressSlotButton(std::int32_t slot) override;
    void showPaths(std::u16string_view tablePath, std::u16string_view dataPath) override;
    void setStatusPanel(int panel, std::u16string_view text) override;
    void showProgress(int position) override;
    DirtyAnswer askUnsavedData() override;
    void showNotice(std::u16string_view text) override;
    void showError(std::u16string_view text) override;
    bool confirm(std::u16string_view text) override;
    void showProblems(std::u16string_view title, std::size_t rows) override;
    void selectText(std::size_t position, std::size_t length) override;
    bool askLineNumber(
        std::u16string_view prompt, std::int64_t current, std::int64_t last, std::int64_t &line) override;
    bool askFilePath(bool saving, std::u16string_view title, const std::vector<FileType> &types, std::u16string &path,
        std::size_t &type) override;
    int askChoice(std::u16string_view text, const std::vector<std::u16string> &choices) override;
    void appendEditorText(std::u16string_view text) override;
    bool editorKeepsHistory() const override { return false; }
    void markEditorSaved() override { }
    bool editorAtSavedText() const override { return false; }
    void replaceEditorRange(std::size_t position, std::size_t length, std::u16string_view text) override;

private:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    static LRESULT CALLBACK editorProcedure(HWND editor, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onEditorMessage(UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK pathBoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
    // Copies the whole path a box stands for, not the shortened text it shows.
    void copyPath(HWND box);
    void pasteWithCrLf();
    void undo(bool redo);
    bool navigate(const MSG &message);
    LRESULT queryEndSession();
    void createMenu();
    void createToolTips();
    void fitPaths();
    void createControls();
    void applyFonts();
    void layout();
    void command(int id, int notification, HWND control);
    void onActivate(WPARAM wParam, LPARAM lParam);
    void openFind();
    void onFindMessage(const FINDREPLACEW &find);

    TSCCheh1 &handbook_;
    Taboutbox1 &aboutBox_;
    TmmDirtyWarning1 &dirtyWarning_;
    Tokmes1 &notice_;
    TYesNo1 yesNo_;
    Workbench *workbench_ = nullptr;

    Scale scale_;
    FontHandle formFont_;
    FontHandle pathFont_;
    FontHandle editorFont_;
    AcceleratorHandle shortcuts_;

    std::array<HWND, 3> rowLabels_ {};
    std::array<HWND, 30> slotButtons_ {};
    HWND label6_ = nullptr;
    HWND bnJejok1_ = nullptr;
    HWND bnSort1_ = nullptr;
    HWND bn4save_ = nullptr;
    HWND label1_ = nullptr;
    HWND ed4ofn1_ = nullptr;
    HWND label2_ = nullptr;
    HWND ed4ifn1_ = nullptr;
    HWND mm4indata1_ = nullptr;
    HWND statusBar1_ = nullptr;
    HWND progressBar1_ = nullptr;
    HWND toolTips_ = nullptr;
    WNDPROC editorDefault_ = nullptr;
    WNDPROC pathBoxDefault_ = nullptr;
    // The paths the boxes stand for; the boxes may show them shortened.
    std::wstring tablePath_;
    std::wstring dataPath_;
    // The editor reported that a text did not fit (EN_ERRSPACE, EN_MAXTEXT).
    bool editorFull_ = false;
    // How the change the editor reports next came about, for the Workbench's undo history: a
    // paste or a cut is a step of its own.
    EditHistory::Kind editKind_ = EditHistory::Kind::Typing;
    // A command of the Workbench is running: a session end must wait for it.
    int busy_ = 0;
    // The session's end was agreed to: the state is stored, the window waits for its end.
    bool sessionClosed_ = false;
    std::unique_ptr<TProblems1> problems_;
    TGoToLine1 goToLine_;
    TChoice1 choice_;
    // The standard Find dialog, modeless; its request comes as findMessage_.
    UINT findMessage_ = 0;
    HWND findDialog_ = nullptr;
    FINDREPLACEW find_ {};
    std::array<wchar_t, 256> needle_ {};
    // The control that had the focus when the window was last deactivated.
    HWND lastFocus_ = nullptr;
};

} // namespace kpx::win32
