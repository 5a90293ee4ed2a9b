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
#include "workbench/face.h"
#include <commdlg.h>

namespace kpx {
class Workbench;
}

namespace kpx::win32 {

// The texts the window shows that are not its controls' captions.
struct Form1Texts {
    std::u16string caption; // the window's title
    std::u16string programTitle; // the title of error boxes
};

// The main window: the slot buttons, the two path boxes, the editor, the status bar and the
// progress bar, with the menu and its shortcut keys. Every command goes to the Workbench, and the
// Workbench reaches the window and its dialogs through Face.
class TForm1 : public Window, public Face {
public:
    TForm1(Form1Texts texts, TSCCheh1 &handbook, Taboutbox1 &aboutBox, TmmDirtyWarning1 &dirtyWarning, Tokmes1 &notice);
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

private:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void createControls();
    void applyFonts();
    void layout();
    void command(int id, int notification, HWND control);
    void onActivate(WPARAM wParam, LPARAM lParam);
    void addFindingMenuItems();
    // 匯入 and 匯出 in the File menu, before 結束程式.
    void addWordsMenuItems();
    void openFind();
    void onFindMessage(const FINDREPLACEW &find);

    Form1Texts texts_;
    TSCCheh1 &handbook_;
    Taboutbox1 &aboutBox_;
    TmmDirtyWarning1 &dirtyWarning_;
    Tokmes1 &notice_;
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
