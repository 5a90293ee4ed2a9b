// SPDX-License-Identifier: GPL-2.0-or-later
// TForm1: construction, layout and the commands that only pass work on to other windows.
#include "mainwindow/form1.h"

#include <QAction>
#include <QButtonGroup>
#include <QClipboard>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

#include "dialogs/aboutbox1.h"
#include "dialogs/dialog_placement.h"
#include "dialogs/dialog_resources.h"
#include "dialogs/fonts.h"
#include "dialogs/mm_dirty_warning1.h"
#include "dialogs/okmes1.h"
#include "dialogs/sc_cheh1.h"
#include "mainwindow/finding_widgets.h"
#include "platform/native_path.h"
#include "platform/text/qt_text.h"
#include "state/slot_names.h"
#include "workbench/program_texts.h"

namespace {

// The window's layout in pixels of a 96 dpi screen.
constexpr int kWindowWidth = 572;
constexpr int kWindowHeight = 450;
constexpr int kWindowX = 6;
constexpr int kWindowY = 9;
constexpr int kFormFontPixels = 11;
constexpr int kPathFontPixels = 13;
constexpr int kEditorFontPixels = 16;
constexpr int kPanelHeight = 105;
constexpr int kStatusBarHeight = 17;
constexpr int kProgressBarHeight = 9;
constexpr std::array<int, 4> kStatusPanelWidths { 100, 120, 100, 150 };
constexpr int kSlotButtonSize = 17;
constexpr int kSlotButtonX = 88;
constexpr int kSlotButtonPitch = 16;
constexpr std::array<int, 3> kSlotRowY { 8, 32, 56 };
constexpr int kRowLabelRight = 80;
constexpr int kProgressMaximum = 1000;
// The path boxes keep the right margin they have in a window of the design's width, and grow
// when the window does.
constexpr int kPathBoxLeft = 368;
constexpr int kPathBoxWidth = 129;
constexpr int kPathBoxMargin = 75;

QAction *newAction(std::u16string_view caption, const char *name, QObject *parent)
{
    auto *action = new QAction(kpx::qtText(caption), parent);
    action->setObjectName(QLatin1String(name));
    return action;
}

QAction *newSeparator(const char *name, QObject *parent)
{
    auto *separator = new QAction(parent);
    separator->setObjectName(QLatin1String(name));
    separator->setSeparator(true);
    return separator;
}

QMenu *newMenu(std::u16string_view caption, const char *name, QWidget *parent)
{
    auto *menu = new QMenu(kpx::qtText(caption), parent);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QLabel *newLabel(std::u16string_view caption, const char *name, QWidget *parent)
{
    auto *label = new QLabel(kpx::qtText(caption), parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QPushButton *newButton(std::u16string_view caption, const char *name, QWidget *parent)
{
    auto *button = new QPushButton(kpx::qtText(caption), parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

std::array<QToolButton *, 30> newSlotButtons(QWidget *parent)
{
    std::array<QToolButton *, 30> buttons {};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        buttons[i] = new QToolButton(parent);
        buttons[i]->setObjectName(QStringLiteral("SpeedButton%1").arg(i + 1));
    }
    return buttons;
}

std::array<QLabel *, 4> newStatusPanels(QWidget *parent)
{
    std::array<QLabel *, 4> panels {};
    for (std::size_t i = 0; i < panels.size(); ++i) {
        panels[i] = new QLabel(parent);
        panels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    }
    return panels;
}

QRect scaled(int x, int y, int width, int height, qreal factor)
{
    return { scaledPixels(x, factor), scaledPixels(y, factor), scaledPixels(width, factor),
        scaledPixels(height, factor) };
}

// A label whose left edge is at x; wide enough for its text.
void placeLabel(QLabel *label, int x, int y, qreal factor)
{
    const QSize size = label->sizeHint();
    label->setGeometry(scaledPixels(x, factor), scaledPixels(y, factor), size.width(), size.height());
}

} // namespace

TForm1::TForm1(QWidget *parent)
    : QMainWindow(parent)
    , MainMenu1(new QMenuBar(this))
    , mnF1(newMenu(kpx::texts::kCaption_mnF1, "mnF1", MainMenu1))
    , mn4save1(newAction(kpx::texts::kCaption_mn4save1, "mn4save1", this))
    , mn4jejok1(newAction(kpx::texts::kCaption_mn4jejok1, "mn4jejok1", this))
    , mn4sj1(newAction(kpx::texts::kCaption_mn4sj1, "mn4sj1", this))
    , N1(newSeparator("N1", this))
    , mn4exi1(newAction(kpx::texts::kCaption_mn4exi1, "mn4exi1", this))
    , mnE1(newMenu(kpx::texts::kCaption_mnE1, "mnE1", MainMenu1))
    , mnUndo1(newAction(kpx::texts::kMenuUndo, "mnUndo1", this))
    , mnRedo1(newAction(kpx::texts::kMenuRedo, "mnRedo1", this))
    , mnBrUndo1(newSeparator("mnBrUndo1", this))
    , mnCut1(newAction(kpx::texts::kCaption_mnCut1, "mnCut1", this))
    , mnCopy1(newAction(kpx::texts::kCaption_mnCopy1, "mnCopy1", this))
    , mnPaste1(newAction(kpx::texts::kCaption_mnPaste1, "mnPaste1", this))
    , mnBr1(newSeparator("mnBr1", this))
    , mnAll1(newAction(kpx::texts::kCaption_mnAll1, "mnAll1", this))
    , mnBr2(newSeparator("mnBr2", this))
    , mnFind1(newAction(kpx::texts::kMenuFind, "mnFind1", this))
    , mnGoToLine1(newAction(kpx::texts::kMenuGoToLine, "mnGoToLine1", this))
    , mnBrSort1(newSeparator("mnBrSort1", this))
    , mnSort1(newAction(kpx::texts::kMenuSort, "mnSort1", this))
    , mnH1(newMenu(kpx::texts::kCaption_mnH1, "mnH1", MainMenu1))
    , mnCheh1(newAction(kpx::texts::kCaption_mnCheh1, "mnCheh1", this))
    , mnAbout1(newAction(kpx::texts::kCaption_mnAbout1, "mnAbout1", this))
    , clientArea_(new QWidget(this))
    , Panel1(new QFrame(clientArea_))
    , Label3(newLabel(kpx::texts::kCaption_Label3, "Label3", Panel1))
    , Label4(newLabel(kpx::texts::kCaption_Label4, "Label4", Panel1))
    , Label5(newLabel(kpx::texts::kCaption_Label5, "Label5", Panel1))
    , SpeedButton(newSlotButtons(Panel1))
    , slotButtons_(new QButtonGroup(this))
    , Label6(newLabel(kpx::texts::kCaption_Label6, "Label6", Panel1))
    , bnJejok1(newButton(kpx::texts::kCaption_bnJejok1, "bnJejok1", Panel1))
    , bnSort1(newButton(kpx::texts::kCaption_bnSort1, "bnSort1", Panel1))
    , bn4save(newButton(kpx::texts::kCaption_bn4save, "bn4save", Panel1))
    , Label1(newLabel(kpx::texts::kCaption_Label1, "Label1", Panel1))
    , ed4ofn1(new QLineEdit(Panel1))
    , Label2(newLabel(kpx::texts::kCaption_Label2, "Label2", Panel1))
    , ed4ifn1(new QLineEdit(Panel1))
    , mm4indata1(new QPlainTextEdit(clientArea_))
    , editorSplitter_(new QSplitter(clientArea_))
    , StatusBar1(new QStatusBar(clientArea_))
    , statusPanels_(newStatusPanels(StatusBar1))
    , ProgressBar1(new QProgressBar(clientArea_))
{
    setObjectName(QStringLiteral("Form1"));
    initDialogResources();
    const qreal factor = dpiFactor(this);
    setFont(sansFont(kFormFontPixels));
    setWindowIcon(programIcon());

    setupMenu();
    setupWordsMenu();
    setupPanel();
    setupSlotButtons();
    setupEditor();
    setupStatusBar();

    auto *layout = new QVBoxLayout(clientArea_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    // The problems list goes below the editor, in the same splitter, once there is a Workbench.
    editorSplitter_->setObjectName(QStringLiteral("editorSplitter"));
    editorSplitter_->setOrientation(Qt::Vertical);
    editorSplitter_->setChildrenCollapsible(false);
    editorSplitter_->addWidget(mm4indata1);
    layout->addWidget(editorSplitter_, 1);
    layout->addWidget(StatusBar1);
    layout->addWidget(ProgressBar1);
    setCentralWidget(clientArea_);

    resize(scaledPixels(kWindowWidth, factor), scaledPixels(kWindowHeight, factor));
    move(kWindowX, kWindowY);

    setWindowTitle(kpx::qtText(kpx::texts::kWindowTitle));
    kpx::InputMethodLibrary library;
    library.load();
    workbench_ = std::make_unique<kpx::Workbench>(*this, kpx::os::systemDriveLetter(), std::move(library));
    problemsPanel_ = new kpx::ProblemsPanel(*workbench_, editorSplitter_);
    editorSplitter_->addWidget(problemsPanel_);
    editorSplitter_->setStretchFactor(0, 3);
    editorSplitter_->setStretchFactor(1, 1);
    findBar_ = new kpx::FindBar(*workbench_, clientArea_);
    layout->insertWidget(layout->indexOf(StatusBar1), findBar_);
    connect(findBar_, &kpx::FindBar::closed, this, [this] { focusEditor(); });
    setupActivation();
    // The editor, not the first slot button before it in the Tab order, has the focus at start.
    mm4indata1->setFocus(Qt::OtherFocusReason);
}

TForm1::~TForm1() = default;

void TForm1::attachWindows(TSCCheh1 *handbook, Taboutbox1 *aboutBox, TmmDirtyWarning1 *dirtyWarning, Tokmes1 *notice)
{
    SCCheh1_ = handbook;
    aboutbox1_ = aboutBox;
    mmDirtyWarning1_ = dirtyWarning;
    okmes1_ = notice;
}

void TForm1::setupMenu()
{
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    setMenuBar(MainMenu1);

    mn4save1->setShortcut(QKeySequence(Qt::Key_F2));
    mn4jejok1->setShortcut(QKeySequence(Qt::Key_F3));
    mn4sj1->setShortcut(QKeySequence(Qt::Key_F5));
    mnF1->addActions({ mn4save1, mn4jejok1, mn4sj1, N1, mn4exi1 });
    MainMenu1->addMenu(mnF1);

    mnCut1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    mnCopy1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    mnPaste1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    mnFind1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    mnGoToLine1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    // The editor takes these keys itself while it has the focus; the menu's shortcuts serve the
    // other controls.
    mnUndo1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnRedo1->setShortcuts({ QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) });
    mnUndo1->setEnabled(false);
    mnRedo1->setEnabled(false);
    mnE1->addActions({ mnUndo1, mnRedo1, mnBrUndo1, mnCut1, mnCopy1, mnPaste1, mnBr1, mnAll1, mnBr2, mnFind1,
        mnGoToLine1, mnBrSort1, mnSort1 });
    MainMenu1->addMenu(mnE1);

    mnCheh1->setShortcut(QKeySequence(Qt::Key_F1));
    mnH1->addActions({ mnCheh1, mnAbout1 });
    MainMenu1->addMenu(mnH1);

    connect(mn4save1, &QAction::triggered, this, &TForm1::mn4save1Click);
    connect(mn4jejok1, &QAction::triggered, this, &TForm1::mn4jejok1Click);
    connect(mn4sj1, &QAction::triggered, this, &TForm1::mn4sj1Click);
    connect(mn4exi1, &QAction::triggered, this, &TForm1::mn4exi1Click);
    connect(mnCut1, &QAction::triggered, this, &TForm1::mnCut1Click);
    connect(mnCopy1, &QAction::triggered, this, &TForm1::mnCopy1Click);
    connect(mnPaste1, &QAction::triggered, this, &TForm1::mnPaste1Click);
    connect(mnAll1, &QAction::triggered, this, &TForm1::mnAll1Click);
    connect(mnFind1, &QAction::triggered, this, &TForm1::mnFind1Click);
    connect(mnGoToLine1, &QAction::triggered, this, &TForm1::mnGoToLine1Click);
    connect(mnUndo1, &QAction::triggered, this, &TForm1::mnUndo1Click);
    connect(mnRedo1, &QAction::triggered, this, &TForm1::mnRedo1Click);
    connect(mnSort1, &QAction::triggered, this, &TForm1::mnSort1Click);
    connect(mnCheh1, &QAction::triggered, this, &TForm1::mnCheh1Click);
    connect(mnAbout1, &QAction::triggered, this, &TForm1::mnAbout1Click);
}

void TForm1::setupPanel()
{
    const qreal factor = dpiFactor(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setFixedHeight(scaledPixels(kPanelHeight, factor));

    // The row labels end at the same x, just before their row of buttons.
    const std::array<QLabel *, 3> rowLabels { Label3, Label4, Label5 };
    for (std::size_t row = 0; row < rowLabels.size(); ++row) {
        QLabel *label = rowLabels[row];
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        const QSize size = label->sizeHint();
        const int right = scaledPixels(kRowLabelRight, factor);
        const int buttonCentre = scaledPixels(kSlotRowY[row], factor) + scaledPixels(kSlotButtonSize, factor) / 2;
        label->setGeometry(right - size.width(), buttonCentre - size.height() / 2, size.width(), size.height());
    }
    placeLabel(Label6, 8, 88, factor);

    const std::array<std::pair<QPushButton *, int>, 3> buttons { { { bnJejok1, 8 }, { bnSort1, 40 },
        { bn4save, 72 } } };
    for (const auto &[button, y] : buttons) {
        button->setGeometry(scaled(256, y, 105, 25, factor));
        // Not a tab stop: the editor keeps Tab for itself.
        button->setFocusPolicy(Qt::ClickFocus);
    }
    connect(bnJejok1, &QPushButton::clicked, this, &TForm1::bnJejok1Click);
    connect(bnSort1, &QPushButton::clicked, this, &TForm1::bnSort1Click);
    connect(bn4save, &QPushButton::clicked, this, &TForm1::bn4saveClick);

    placeLabel(Label1, 370, 8, factor);
    placeLabel(Label2, 370, 56, factor);
    const QFont pathFont = sansFont(kPathFontPixels);
    ed4ofn1->setObjectName(QStringLiteral("ed4ofn1"));
    ed4ofn1->setGeometry(scaled(kPathBoxLeft, 24, kPathBoxWidth, 24, factor));
    ed4ifn1->setObjectName(QStringLiteral("ed4ifn1"));
    ed4ifn1->setGeometry(scaled(kPathBoxLeft, 72, kPathBoxWidth, 24, factor));
    // The boxes grow with the window.
    Panel1->installEventFilter(this);
    for (QLineEdit *box : { ed4ofn1, ed4ifn1 }) {
        // Its menu copies the whole path, not the shortened text the box shows.
        box->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(box, &QLineEdit::customContextMenuRequested, this, [this, box](const QPoint &at) {
            QMenu menu;
            menu.addAction(kpx::qtText(kpx::texts::kCaption_mnCopy1), this,
                [box] { QGuiApplication::clipboard()->setText(box->toolTip()); });
            menu.exec(box->mapToGlobal(at));
        });
        box->setFont(pathFont);
        // Read-only rather than disabled: a disabled box shows no tooltip with the whole path.
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::NoFocus);
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        box->setPalette(palette);
    }
}

void TForm1::setupSlotButtons()
{
    const qreal factor = dpiFactor(this);
    slotButtons_->setObjectName(QStringLiteral("SlotButtons"));
    slotButtons_->setExclusive(true);
    for (std::int32_t slot = kpx::kFirstSlot; slot <= kpx::kLastSlot; ++slot) {
        QToolButton *button = SpeedButton[static_cast<std::size_t>(slot - 1)];
        const int row = (slot - 1) / 10;
        const int column = (slot - 1) % 10;
        // Captions "1" to "9", then "0" for the row's tenth slot.
        button->setText(QString::number(slot % 10));
        button->setCheckable(true);
        button->setAutoRaise(false);
        button->installEventFilter(this);
        button->setGeometry(scaled(kSlotButtonX + column * kSlotButtonPitch, kSlotRowY[static_cast<std::size_t>(row)],
            kSlotButtonSize, kSlotButtonSize, factor));
        slotButtons_->addButton(button, slot);
        // SpeedButton<N>Click
        connect(button, &QToolButton::clicked, this, [this, slot] { workbench_->SwitchSlot(slot); });
    }
    SpeedButton[0]->setChecked(true);
    setSlotTabStop(kpx::kFirstSlot);
}

void TForm1::setupEditor()
{
    mm4indata1->setObjectName(QStringLiteral("mm4indata1"));
    mm4indata1->setFont(sansFont(kEditorFontPixels));
    QPalette palette = mm4indata1->palette();
    palette.setColor(QPalette::Text, Qt::black);
    mm4indata1->setPalette(palette);
    mm4indata1->setLineWrapMode(QPlainTextEdit::NoWrap);
    mm4indata1->setWordWrapMode(QTextOption::NoWrap);
    mm4indata1->setTabChangesFocus(false);
    mm4indata1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Long lines scroll sideways with the caret, as without a horizontal bar.
    mm4indata1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mm4indata1->setUndoRedoEnabled(true);
    mm4indata1->installEventFilter(this);
    connect(mm4indata1, &QPlainTextEdit::undoAvailable, mnUndo1, &QAction::setEnabled);
    connect(mm4indata1, &QPlainTextEdit::redoAvailable, mnRedo1, &QAction::setEnabled);
    connect(mm4indata1, &QPlainTextEdit::textChanged, this, [this] {
        if (workbench_)
            workbench_->mm4indata1Change();
    });
    // An undo or redo that reaches or leaves the text as saved changes the document's modified
    // flag only after the text: the Workbench looks again then.
    connect(mm4indata1->document(), &QTextDocument::modificationChanged, this, [this] {
        if (workbench_ && !markingSaved_)
            workbench_->mm4indata1Change();
    });
    mm4indata1->setFocus(Qt::OtherFocusReason);
}

void TForm1::setupStatusBar()
{
    const qreal factor = dpiFactor(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    int height = scaledPixels(kStatusBarHeight, factor);
    for (std::size_t i = 0; i < statusPanels_.size(); ++i) {
        QLabel *panel = statusPanels_[i];
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setFixedWidth(scaledPixels(kStatusPanelWidths[i], factor));
        panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        panel->setContentsMargins(2, 0, 2, 0);
        StatusBar1->addWidget(panel);
        height = std::max(height, panel->sizeHint().height());
    }
    statusPanels_[0]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    statusPanels_[0]->setText(kpx::qtText(kpx::texts::kStatusTotal));
    // A face taller than the design's keeps its text whole.
    StatusBar1->setFixedHeight(height);

    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, kProgressMaximum);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedHeight(scaledPixels(kProgressBarHeight, factor));
}

void TForm1::mn4save1Click()
{
    workbench_->Save();
}

void TForm1::mn4jejok1Click()
{
    workbench_->Jejok(true);
}

void TForm1::mn4sj1Click()
{
    workbench_->SaveAndMake();
}

void TForm1::mn4exi1Click()
{
    close();
}

void TForm1::mnCut1Click()
{
    mm4indata1->cut();
}

void TForm1::mnCopy1Click()
{
    mm4indata1->copy();
}

void TForm1::mnPaste1Click()
{
    mm4indata1->paste();
}

void TForm1::mnAll1Click()
{
    mm4indata1->selectAll();
}

void TForm1::mnUndo1Click()
{
    mm4indata1->undo();
}

void TForm1::mnRedo1Click()
{
    mm4indata1->redo();
}

void TForm1::mnSort1Click()
{
    workbench_->Sort();
}

void TForm1::setSlotTabStop(std::int32_t slot)
{
    // Clicks leave the focus where it was, as before: only Tab and the arrow keys reach them.
    for (std::int32_t other = kpx::kFirstSlot; other <= kpx::kLastSlot; ++other)
        SpeedButton[static_cast<std::size_t>(other - 1)]->setFocusPolicy(other == slot ? Qt::TabFocus : Qt::NoFocus);
}

bool TForm1::slotButtonKey(std::int32_t slot, const QKeyEvent &key)
{
    if (key.modifiers() & ~Qt::KeypadModifier)
        return false;
    // Left and right go through the thirty in order, up and down from row to row.
    std::int32_t step = 0;
    switch (key.key()) {
    case Qt::Key_Left:
        step = -1;
        break;
    case Qt::Key_Right:
        step = 1;
        break;
    case Qt::Key_Up:
        step = -10;
        break;
    case Qt::Key_Down:
        step = 10;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        SpeedButton[static_cast<std::size_t>(slot - 1)]->click();
        return true;
    default:
        return false;
    }
    const std::int32_t count = kpx::kLastSlot - kpx::kFirstSlot + 1;
    const std::int32_t next = (slot - kpx::kFirstSlot + step + count) % count + kpx::kFirstSlot;
    setSlotTabStop(next);
    SpeedButton[static_cast<std::size_t>(next - 1)]->setFocus(Qt::TabFocusReason);
    return true;
}

bool TForm1::editorKey(const QKeyEvent &key)
{
    const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    if (enter && (key.modifiers() & Qt::ShiftModifier)) {
        // The editor would break the line with U+2028, which no data file can hold.
        QKeyEvent plain(QEvent::KeyPress, key.key(), key.modifiers() & ~Qt::ShiftModifier, key.text());
        QCoreApplication::sendEvent(mm4indata1, &plain);
        return true;
    }
    if (key.key() == Qt::Key_Tab && key.modifiers() == Qt::ControlModifier) {
        // Tab itself is a character of the data.
        setSlotTabStop(kpx::SlotButton(workbench_->currentSlot()));
        SpeedButton[static_cast<std::size_t>(kpx::SlotButton(workbench_->currentSlot()) - 1)]->setFocus(
            Qt::TabFocusReason);
        return true;
    }
    return false;
}

void TForm1::fitPathBoxes()
{
    const qreal factor = dpiFactor(this);
    const int width = std::max(scaledPixels(kPathBoxWidth, factor),
        Panel1->width() - scaledPixels(kPathBoxLeft, factor) - scaledPixels(kPathBoxMargin, factor));
    for (QLineEdit *box : { ed4ofn1, ed4ifn1 }) {
        if (box->width() == width)
            continue;
        box->resize(width, box->height());
        // The tooltip holds the whole path.
        const QString path = box->toolTip();
        showPath(box, kpx::u16View(path));
    }
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Panel1 && event->type() == QEvent::Resize)
        fitPathBoxes();
    if (event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    const auto &key = static_cast<const QKeyEvent &>(*event);
    if (watched == mm4indata1)
        return editorKey(key) || QMainWindow::eventFilter(watched, event);
    for (std::int32_t slot = kpx::kFirstSlot; slot <= kpx::kLastSlot; ++slot) {
        if (watched == SpeedButton[static_cast<std::size_t>(slot - 1)])
            return slotButtonKey(slot, key) || QMainWindow::eventFilter(watched, event);
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::mnCheh1Click()
{
    if (SCCheh1_)
        SCCheh1_->showHandbook();
}

void TForm1::mnAbout1Click()
{
    if (aboutbox1_)
        aboutbox1_->exec();
}

void TForm1::bnJejok1Click()
{
    workbench_->Jejok(true);
}

void TForm1::bn4saveClick()
{
    workbench_->SaveWithCaretRestore();
}

void TForm1::bnSort1Click()
{
    workbench_->Sort();
}

void TForm1::bringToFront()
{
    ::bringToFront(this);
}
