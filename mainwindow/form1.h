// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include <QMainWindow>
#include <QPointer>

#include "workbench/face.h"
#include "workbench/workbench.h"

class QAction;
class QKeyEvent;
class QSessionManager;
class QButtonGroup;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QToolButton;
class QWindow;

class QSplitter;

namespace kpx {
class FindBar;
class ProblemsPanel;
} // namespace kpx

class TSCCheh1;
class Taboutbox1;
class TmmDirtyWarning1;
class Tokmes1;

// The main window, the program's Qt face: its widgets, layout, shortcuts and wiring. Every
// command and event goes to the Workbench, which decides what happens and asks back through the
// Face interface this window implements.
class TForm1 : public QMainWindow, public kpx::Face {
    Q_OBJECT

public:
    // Builds the window (hidden) and its Workbench, with the system drive letter and the input
    // method's library.
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // The windows that are created after this one. The window needs them before it is shown.
    void attachWindows(TSCCheh1 *handbook, Taboutbox1 *aboutBox, TmmDirtyWarning1 *dirtyWarning, Tokmes1 *notice);

    kpx::Workbench &workbench() { return *workbench_; }
    const kpx::Workbench &workbench() const { return *workbench_; }
    std::int32_t currentSlot() const { return workbench_->currentSlot(); }
    int progressPosition() const { return workbench_->progressPosition(); }

    // Brings the window to the front, as when a second copy of the program is started.
    void bringToFront();

    // Menu 檔案(&F)
    void mn4save1Click(); // F2: Save
    void mn4jejok1Click(); // F3: make table, with notice
    void mn4sj1Click(); // F5: save and make
    void mn4exi1Click(); // close the window
    // Menu 編輯 (&E): always on the editor, whichever control has the focus
    void mnCut1Click();
    void mnCopy1Click();
    void mnPaste1Click();
    void mnAll1Click();
    // Menu 補助說明 (&H)
    void mnCheh1Click(); // F1: the handbook, beside the window
    void mnAbout1Click(); // the about box, modal
    // Push buttons
    void bnJejok1Click();
    void bn4saveClick();
    void bnSort1Click();
    // SpeedButton1Click … SpeedButton30Click: each slot button's click is SwitchSlot(N), see
    // setupSlotButtons().
    bool SwitchSlot(std::int32_t slot) { return workbench_->SwitchSlot(slot); }
    void Jejok(bool showNotice) { workbench_->Jejok(showNotice); }
    void SetDirty(std::uint8_t value) { workbench_->SetDirty(value); }
    void FormActivate() { workbench_->FormActivate(); }
    bool FormCloseQuery() { return workbench_->FormCloseQuery(); }

    // kpx::Face
    std::u16string editorText() const override;
    bool loadEditorText(std::u16string_view text) override;
    char16_t *editorTextStorage(std::size_t capacity) override;
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
    kpx::DirtyAnswer askUnsavedData() override;
    void showNotice(std::u16string_view text) override;
    void showError(std::u16string_view text) override;
    bool confirm(std::u16string_view text) override;
    void showProblems(std::u16string_view title, std::size_t rows) override;
    void selectText(std::size_t position, std::size_t length) override;
    bool askLineNumber(
        std::u16string_view prompt, std::int64_t current, std::int64_t last, std::int64_t &line) override;

    // Menu 編輯 (&E): Ctrl+F, Ctrl+G
    void mnFind1Click();
    void mnGoToLine1Click();
    // Menu 編輯 (&E): undo (Ctrl+Z), redo (Ctrl+Y, Ctrl+Shift+Z), Sort
    void mnUndo1Click();
    void mnRedo1Click();
    void mnSort1Click();

    // Menu 檔案(&F): words in and out (form1_words.cpp)
    void mnImport1Click();
    void mnExport1Click();
    bool askFilePath(bool saving, std::u16string_view title, const std::vector<kpx::FileType> &types,
        std::u16string &path, std::size_t &type) override;
    int askChoice(std::u16string_view text, const std::vector<std::u16string> &choices) override;
    void appendEditorText(std::u16string_view text) override;
    bool editorKeepsHistory() const override { return true; }
    void markEditorSaved() override;
    bool editorAtSavedText() const override;
    void replaceEditorRange(std::size_t position, std::size_t length, std::u16string_view text) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setupMenu();
    void setupPanel();
    void setupSlotButtons();
    void setupEditor();
    void setupStatusBar();
    void setupActivation();
    void focusWindowChanged(QWindow *window);
    // The end of the user's session, as the session manager asks.
    void commitData(QSessionManager &manager);
    // The slot buttons are one stop in the Tab order: only this one takes Tab.
    void setSlotTabStop(std::int32_t slot);
    // Arrow keys within the slot buttons, Enter presses one.
    bool slotButtonKey(std::int32_t slot, const QKeyEvent &key);
    // Shift+Enter breaks the line as Enter does; Ctrl+Tab goes to the slot buttons.
    bool editorKey(const QKeyEvent &key);
    // Shows a path in its box, shortened to the box's width, whole on hover.
    static void showPath(QLineEdit *box, std::u16string_view path);
    // The path boxes as wide as the panel leaves room for, their paths fitted again.
    void fitPathBoxes();
    void setupWordsMenu();

    QMenuBar *const MainMenu1;
    QMenu *const mnF1;
    QAction *const mn4save1;
    QAction *const mn4jejok1;
    QAction *const mn4sj1;
    QAction *const N1;
    QAction *const mn4exi1;
    QMenu *const mnE1;
    QAction *const mnUndo1;
    QAction *const mnRedo1;
    QAction *const mnBrUndo1;
    QAction *const mnCut1;
    QAction *const mnCopy1;
    QAction *const mnPaste1;
    QAction *const mnBr1;
    QAction *const mnAll1;
    QAction *const mnBr2;
    QAction *const mnFind1;
    QAction *const mnGoToLine1;
    QAction *const mnBrSort1;
    QAction *const mnSort1;
    QMenu *const mnH1;
    QAction *const mnCheh1;
    QAction *const mnAbout1;

    QWidget *const clientArea_;
    QFrame *const Panel1;
    QLabel *const Label3;
    QLabel *const Label4;
    QLabel *const Label5;
    // SpeedButton[N - 1] is SpeedButtonN, the button of slot N.
    const std::array<QToolButton *, 30> SpeedButton;
    QButtonGroup *const slotButtons_;
    QLabel *const Label6;
    QPushButton *const bnJejok1;
    QPushButton *const bnSort1;
    QPushButton *const bn4save;
    QLabel *const Label1;
    QLineEdit *const ed4ofn1;
    QLabel *const Label2;
    QLineEdit *const ed4ifn1;
    QPlainTextEdit *const mm4indata1;
    QSplitter *const editorSplitter_;
    QStatusBar *const StatusBar1;
    const std::array<QLabel *, 4> statusPanels_;
    QProgressBar *const ProgressBar1;

    QPointer<TSCCheh1> SCCheh1_;
    QPointer<Taboutbox1> aboutbox1_;
    QPointer<TmmDirtyWarning1> mmDirtyWarning1_;
    QPointer<Tokmes1> okmes1_;

    // Where the Workbench decodes a data file on a load (editorTextStorage).
    QString loadedText_;
    // Set while a save marks the editor's text as saved, which is no change of it.
    bool markingSaved_ = false;

    std::unique_ptr<kpx::Workbench> workbench_;
    // Made with the Workbench, which they read.
    kpx::ProblemsPanel *problemsPanel_ = nullptr;
    kpx::FindBar *findBar_ = nullptr;

    // Menu 檔案(&F): import and export, between the table commands and 結束程式.
    QAction *mnBr3 = nullptr;
    QAction *mnImport1 = nullptr;
    QAction *mnExport1 = nullptr;
};
