// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "workbench/activation_tracker.h"
#include "platform/input_method_library.h"
#include "state/keyed_store.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>

#include <array>
#include <cstdint>
#include <string>

class QAction;
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

class TSCCheh1;
class Taboutbox1;
class TmmDirtyWarning1;
class Tokmes1;

// The main window: an editor for the data file of one of 30 slots, with the commands to save
// it, make the slot's lexicon table from it and sort its lines. The window keeps the current
// slot, the state store and the input method's library; the data-modified flag `dirty` lives in
// the unsaved-data dialog, which the window reads and writes directly.
class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    // Builds the window (hidden), sets slot 1, takes the system drive letter and loads the input
    // method's library.
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // The windows that are created after this one. The window needs them before it is shown.
    void attachWindows(TSCCheh1 *handbook, Taboutbox1 *aboutBox, TmmDirtyWarning1 *dirtyWarning,
                       Tokmes1 *notice);

    std::int32_t currentSlot() const { return slot_; }
    char driveLetter() const { return driveLetter_; }
    // Where the progress bar stands during a table run (the bar itself is redrawn only now and
    // then); 0 between runs.
    int progressPosition() const { return progress_; }

    // Brings the window to the front, as when a second copy of the program is started.
    void bringToFront();

    // Menu 檔案(&F)
    void mn4save1Click();  // F2: Save
    void mn4jejok1Click(); // F3: make table, with notice
    void mn4sj1Click();    // F5: save and make
    void mn4exi1Click();   // close the window
    // Menu 編輯 (&E): always on the editor, whichever control has the focus
    void mnCut1Click();
    void mnCopy1Click();
    void mnPaste1Click();
    void mnAll1Click();
    // Menu 補助說明 (&H)
    void mnCheh1Click();  // F1: the handbook, beside the window
    void mnAbout1Click(); // the about box, modal
    // Push buttons
    void bnJejok1Click();
    void bn4saveClick();
    void bnSort1Click();
    // SpeedButton1Click … SpeedButton30Click: each slot button's click is SwitchSlot(N), see
    // setupSlotButtons().
    void mm4indata1Change();

    void SetDirty(std::uint8_t value);
    void RefreshStatusBar();
    // Asks to save (when the data were modified), then makes slot the current one and loads its
    // data file. False when the question stopped it or the data could not be saved.
    bool SwitchSlot(std::int32_t slot);
    // Runs the table compiler over the editor's lines and writes the slot's lexicon table.
    void Jejok(bool showNotice);
    void ProgressStep();

    // Restores the slot and caret position stored at the last close.
    void FormActivate();
    // Asks to save; when the window may close, releases the library and stores the slot and
    // caret position. True when the window may close.
    bool FormCloseQuery();

signals:
    // Each step of the progress bar, with its new position.
    void progressStepped(int position);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void setupMenu();
    void setupPanel();
    void setupSlotButtons();
    void setupEditor();
    void setupStatusBar();
    void setupActivation();

    // The ask-to-save routine: true to go on, false to stop.
    bool askToSave();
    // Save: writes the editor's text to the slot's data file. False, with the reason shown,
    // when nothing was written.
    bool saveData();
    // Save with caret restore.
    bool saveWithCaretRestore();
    // Empties the editor and loads the slot's data file into it; false when it exists but could
    // not be loaded.
    bool loadDataFile();
    bool confirmOverwriteAfterFailedLoad();

    std::string dataFileName() const;
    std::string tableFileName() const;
    std::string stateFileName() const;
    int caretPosition() const;
    void putCaret(int position);
    void pressSlotButton(std::int32_t slot);
    void showError(const QString &text);
    void showNotice(const QString &text);
    void redrawProgress();
    void focusWindowChanged(QWindow *window);

    QMenuBar *const MainMenu1;
    QMenu *const mnF1;
    QAction *const mn4save1;
    QAction *const mn4jejok1;
    QAction *const mn4sj1;
    QAction *const N1;
    QAction *const mn4exi1;
    QMenu *const mnE1;
    QAction *const mnCut1;
    QAction *const mnCopy1;
    QAction *const mnPaste1;
    QAction *const mnBr1;
    QAction *const mnAll1;
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
    QStatusBar *const StatusBar1;
    const std::array<QLabel *, 4> statusPanels_;
    QProgressBar *const ProgressBar1;

    QPointer<TSCCheh1> SCCheh1_;
    QPointer<Taboutbox1> aboutbox1_;
    QPointer<TmmDirtyWarning1> mmDirtyWarning1_;
    QPointer<Tokmes1> okmes1_;

    QString title_;
    KeyedStore state_;
    std::int32_t slot_ = 1;
    char driveLetter_ = 'C';
    kpx::InputMethodLibrary library_;

    // Set while the window itself replaces the editor's text on a load, which is no edit.
    bool loading_ = false;
    // The current slot's data file exists but could not be loaded: the editor does not hold its
    // data, so saving over it needs the user's word.
    bool loadFailed_ = false;

    int progress_ = 0;
    QElapsedTimer progressRedrawn_;

    kpx::ActivationTracker activation_;
};
