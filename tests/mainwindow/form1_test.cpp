// SPDX-License-Identifier: GPL-2.0-or-later
#include <memory>

#include <QAction>
#include <QButtonGroup>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QToolButton>
#include <QWindow>
#include <QtTest>

#include "dialogs/aboutbox1.h"
#include "dialogs/fonts.h"
#include "dialogs/mm_dirty_warning1.h"
#include "dialogs/okmes1.h"
#include "dialogs/sc_cheh1.h"
#include "mainwindow/form1.h"
#include "mainwindow/program_windows.h"
#include "platform/input_method_library.h"
#include "tests/mainwindow/window_test_helpers.h"

using namespace Qt::StringLiterals;

namespace {

const QString kTitle = u"kpxv410  鷺笙輸入法 對照表輸入 資料/詞典 製作 程式"_s;
const QString kStateHeader
    = u"//kpxv4.ini, unless you know what you are doing, don't change this file, but deleting this file is alright"_s;

// Big5 for text that has it (the test data are written as Big5 bytes).
QByteArray big5(const QString &text)
{
    QStringEncoder encoder("Big5");
    QByteArray bytes = encoder(text);
    return bytes;
}

} // namespace

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void shouldHaveDefaultValues();
    void menuHasEveryCommand();
    void statusBarFollowsEditing();
    void typingChineseSetsDirty();
    void editorKeys();
    void clipboardCommandsWorkOnTheEditor();
    void saveFailureMissingDirectory();
    void switchWithoutChanges();
    void askToSave_data();
    void askToSave();
    void tooLargeFileIsNotOverwrittenUnasked();
    void jejokShowsCountAndPath();
    void sortMarksDirtyEvenWhenSorted();
    void undoStopsAtASave();
    void shortcutsRunTheCommands();
    void firstShowingRestoresState_data();
    void firstShowingRestoresState();
    void closeStoresSlotAndCaret();
    void closeWithoutChangesAsksNothing();
    void closeWithChanges_data();
    void closeWithChanges();
    void returnFromHandbookKeepsSlotAndEdits();
    void modalDialogDoesNotRestore();
    void returnFromOtherProgramDoesNotRestore();

private:
    TForm1 *form() const { return windows_->Form1.get(); }
    QPlainTextEdit *editor() const { return form()->findChild<QPlainTextEdit *>(u"mm4indata1"_s); }
    QLabel *panel(int i) const { return form()->findChild<QLabel *>(u"StatusPanel%1"_s.arg(i)); }
    QToolButton *slotButton(int slot) const { return form()->findChild<QToolButton *>(u"SpeedButton%1"_s.arg(slot)); }
    QLineEdit *box(const char *name) const { return form()->findChild<QLineEdit *>(QLatin1String(name)); }
    QProgressBar *progressBar() const { return form()->findChild<QProgressBar *>(u"ProgressBar1"_s); }
    QString vokelu() const { return drive_.path() + u"/vokelu"_s; }
    QString dataFile(const char *name) const { return vokelu() + u"/"_s + QLatin1String(name); }
    QString stateFile() const { return dataFile("kpxv4.ini"); }
    // Calls of the input method library's notify entry point so far. The tests run with the
    // stand-in library on the library path (CTest sets it), which logs each call.
    int notifyCount() const { return fileBytes(notifyLog_).count('\n'); }
    bool hasNotifier_ = false;
    QString editorText() const { return editor()->toPlainText(); }
    // The user replaces the whole text, one edit (setPlainText would start a new history).
    void setEditorText(const QString &text)
    {
        QTextCursor cursor(editor()->document());
        cursor.select(QTextCursor::Document);
        cursor.insertText(text);
    }
    void showAndActivate();

    QTemporaryDir drive_;
    QString notifyLog_;
    std::unique_ptr<kpx::ProgramWindows> windows_;
};

void Form1Test::initTestCase()
{
    QVERIFY(drive_.isValid());
    // The program's directory on the "system drive" is a temporary one, set before any window
    // exists.
    qputenv("KPX_DRIVE", QFile::encodeName(drive_.path()));
    notifyLog_ = drive_.path() + u"/hvmrk.log"_s;
    qputenv("KPX_FAKE_HVMRK_LOG", QFile::encodeName(notifyLog_));
    QApplication::setQuitOnLastWindowClosed(false);
    kpx::InputMethodLibrary probe;
    hasNotifier_ = probe.load() && probe.hasNotify();
}

void Form1Test::init()
{
    QDir(vokelu()).removeRecursively();
    QVERIFY(QDir().mkpath(vokelu()));
    QFile::remove(notifyLog_);
    windows_ = std::make_unique<kpx::ProgramWindows>();
}

void Form1Test::cleanup()
{
    windows_.reset();
    QFile::setPermissions(dataFile("kpx-ty1.txt"), QFile::ReadOwner | QFile::WriteOwner);
}

void Form1Test::showAndActivate()
{
    form()->show();
    form()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form()));
    // The restore runs after the activation has been dealt with.
    QTest::qWait(20);
}

void Form1Test::shouldHaveDefaultValues()
{
    const qreal f = dpiFactor(form());
    QCOMPARE(form()->objectName(), u"Form1"_s);
    QCOMPARE(form()->windowTitle(), kTitle);
    QCOMPARE(form()->size(), QSize(scaledPixels(572, f), scaledPixels(450, f)));
    QCOMPARE(form()->currentSlot(), 1);
    QVERIFY(!form()->isVisible());

    auto *panel1 = form()->findChild<QFrame *>(u"Panel1"_s);
    QVERIFY(panel1);
    QCOMPARE(panel1->height(), scaledPixels(105, f));

    const struct {
        const char *name;
        const char16_t *caption;
    } labels[] = { { "Label3", u"鷺笙順序" }, { "Label4", u"一般拼音順序" }, { "Label5", u"ASCII 順序" },
        { "Label6", u"資料：" }, { "Label1", u"輸出 檔案名" }, { "Label2", u"資料 檔案名" } };
    for (const auto &label : labels) {
        auto *widget = form()->findChild<QLabel *>(QLatin1String(label.name));
        QVERIFY2(widget, label.name);
        QCOMPARE(widget->text(), QString::fromUtf16(label.caption));
        QVERIFY2(widget->width() >= widget->sizeHint().width(), label.name);
    }
    // The row labels end where their buttons begin.
    for (const char *name : { "Label3", "Label4", "Label5" })
        QCOMPARE(form()->findChild<QLabel *>(QLatin1String(name))->geometry().right() + 1, scaledPixels(80, f));

    auto *group = form()->findChild<QButtonGroup *>();
    QVERIFY(group);
    QVERIFY(group->exclusive());
    QCOMPARE(group->buttons().size(), 30);
    for (int slot = 1; slot <= 30; ++slot) {
        QToolButton *button = slotButton(slot);
        QVERIFY(button);
        QCOMPARE(button->text(), QString::number(slot % 10));
        QVERIFY(button->isCheckable());
        QCOMPARE(button->isChecked(), slot == 1);
        // One stop in the Tab order: the pressed button's.
        QCOMPARE(button->focusPolicy(), slot == 1 ? Qt::TabFocus : Qt::NoFocus);
        const int row = (slot - 1) / 10;
        const int column = (slot - 1) % 10;
        QCOMPARE(button->geometry(),
            QRect(scaledPixels(88 + 16 * column, f), scaledPixels(8 + 24 * row, f), scaledPixels(17, f),
                scaledPixels(17, f)));
    }

    const struct {
        const char *name;
        const char16_t *caption;
        int y;
    } buttons[] = { { "bnJejok1", u"製作  對照表 (F3)", 8 }, { "bnSort1", u"資料 ASCII 排序", 40 },
        { "bn4save", u"儲存  資料 (F2)", 72 } };
    for (const auto &button : buttons) {
        auto *widget = form()->findChild<QPushButton *>(QLatin1String(button.name));
        QVERIFY2(widget, button.name);
        QCOMPARE(widget->text(), QString::fromUtf16(button.caption));
        QCOMPARE(widget->geometry(),
            QRect(scaledPixels(256, f), scaledPixels(button.y, f), scaledPixels(105, f), scaledPixels(25, f)));
        QVERIFY(!(widget->focusPolicy() & Qt::TabFocus));
    }

    for (const char *name : { "ed4ofn1", "ed4ifn1" }) {
        QLineEdit *path = box(name);
        QVERIFY2(path, name);
        QVERIFY(path->isReadOnly());
        // Enabled, so that hovering shows the whole path.
        QVERIFY(path->isEnabled());
        QVERIFY(!(path->focusPolicy() & Qt::TabFocus));
        QCOMPARE(path->size(), QSize(scaledPixels(129, f), scaledPixels(24, f)));
    }
    QCOMPARE(box("ed4ofn1")->pos(), QPoint(scaledPixels(368, f), scaledPixels(24, f)));
    QCOMPARE(box("ed4ifn1")->pos(), QPoint(scaledPixels(368, f), scaledPixels(72, f)));

    QVERIFY(editor());
    QCOMPARE(editor()->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(editor()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(!editor()->tabChangesFocus());
    QVERIFY(!editor()->isReadOnly());
    QCOMPARE(editor()->font().pixelSize(), scaledPixels(16, f));
    QVERIFY(editorText().isEmpty());

    auto *status = form()->findChild<QStatusBar *>(u"StatusBar1"_s);
    QVERIFY(status);
    const int widths[] = { 100, 120, 100, 150 };
    for (int i = 0; i < 4; ++i) {
        QVERIFY(panel(i));
        QCOMPARE(panel(i)->width(), scaledPixels(widths[i], f));
        QCOMPARE(panel(i)->parentWidget(), status);
    }
    QCOMPARE(panel(0)->text(), u"總共"_s);
    QVERIFY(panel(0)->alignment() & Qt::AlignRight);
    QVERIFY(panel(1)->text().isEmpty());
    QVERIFY(panel(2)->text().isEmpty());
    QVERIFY(panel(3)->text().isEmpty());

    QProgressBar *bar = progressBar();
    QVERIFY(bar);
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 1000);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(bar->height(), scaledPixels(9, f));

    // Top to bottom: panel, editor, status bar, progress bar.
    form()->show();
    QVERIFY(QTest::qWaitForWindowExposed(form()));
    const auto top = [](QWidget *w) { return w->mapTo(w->window(), QPoint(0, 0)).y(); };
    QVERIFY(top(panel1) < top(editor()));
    QVERIFY(top(editor()) < top(status));
    QVERIFY(top(status) < top(bar));
    QCOMPARE(top(bar) + bar->height(), form()->height());
    QVERIFY(status->height() >= panel(0)->sizeHint().height());
}

void Form1Test::menuHasEveryCommand()
{
    auto *bar = form()->findChild<QMenuBar *>(u"MainMenu1"_s);
    QVERIFY(bar);
    QCOMPARE(form()->menuBar(), bar);
    const QList<QAction *> menus = bar->actions();
    QCOMPARE(menus.size(), 3);
    QCOMPARE(menus[0]->text(), u"檔案(&F)"_s);
    QCOMPARE(menus[1]->text(), u"編輯 (&E)"_s);
    QCOMPARE(menus[2]->text(), u"補助說明 (&H)"_s);
    QCOMPARE(menus[0]->menu()->objectName(), u"mnF1"_s);
    QCOMPARE(menus[1]->menu()->objectName(), u"mnE1"_s);
    QCOMPARE(menus[2]->menu()->objectName(), u"mnH1"_s);

    const struct {
        int menu;
        const char *name;
        const char16_t *caption;
        QKeySequence shortcut;
    } items[] = {
        { 0, "mn4save1", u"儲存 資料 (&S)", QKeySequence(Qt::Key_F2) },
        { 0, "mn4jejok1", u"製作 對照表(&J)", QKeySequence(Qt::Key_F3) },
        { 0, "mn4sj1", u"儲存 並 製作 (&A)", QKeySequence(Qt::Key_F5) },
        { 0, "mnBr3", nullptr, QKeySequence() },
        { 0, "mnImport1", u"匯入 詞 (&I)...", QKeySequence() },
        { 0, "mnExport1", u"匯出 詞 (&E)...", QKeySequence() },
        { 0, "N1", nullptr, QKeySequence() },
        { 0, "mn4exi1", u"結束程式 (&X)", QKeySequence() },
        { 1, "mnUndo1", u"復原 (&U)", QKeySequence(Qt::CTRL | Qt::Key_Z) },
        { 1, "mnRedo1", u"取消復原 (&Y)", QKeySequence(Qt::CTRL | Qt::Key_Y) },
        { 1, "mnBrUndo1", nullptr, QKeySequence() },
        { 1, "mnCut1", u"剪起來 (&T)", QKeySequence(Qt::CTRL | Qt::Key_X) },
        { 1, "mnCopy1", u"複製 (&C)", QKeySequence(Qt::CTRL | Qt::Key_C) },
        { 1, "mnPaste1", u"貼落去 (&P)", QKeySequence(Qt::CTRL | Qt::Key_V) },
        { 1, "mnBr1", nullptr, QKeySequence() },
        { 1, "mnAll1", u"全選 (&L)", QKeySequence() },
        { 1, "mnBr2", nullptr, QKeySequence() },
        { 1, "mnFind1", u"揣字 (&F)", QKeySequence(Qt::CTRL | Qt::Key_F) },
        { 1, "mnGoToLine1", u"跳到第幾列 (&G)", QKeySequence(Qt::CTRL | Qt::Key_G) },
        { 1, "mnBrSort1", nullptr, QKeySequence() },
        { 1, "mnSort1", u"資料 ASCII 排序 (&O)", QKeySequence() },
        { 2, "mnCheh1", u"使用小手冊 (&S)", QKeySequence(Qt::Key_F1) },
        { 2, "mnAbout1", u"關於 鷺笙輸入法(&A)", QKeySequence() },
    };
    int index[3] = { 0, 0, 0 };
    for (const auto &item : items) {
        const QList<QAction *> actions = menus[item.menu]->menu()->actions();
        QVERIFY(index[item.menu] < actions.size());
        QAction *action = actions[index[item.menu]++];
        QCOMPARE(action->objectName(), QLatin1String(item.name));
        if (!item.caption) {
            QVERIFY(action->isSeparator());
            continue;
        }
        QCOMPARE(action->text(), QString::fromUtf16(item.caption));
        QCOMPARE(action->shortcut(), item.shortcut);
    }
    for (int menu = 0; menu < 3; ++menu)
        QCOMPARE(menus[menu]->menu()->actions().size(), index[menu]);
}

void Form1Test::statusBarFollowsEditing()
{
    form()->SwitchSlot(1);
    QCOMPARE(panel(0)->text(), u"總共"_s);
    QCOMPARE(panel(1)->text(), u"0 列"_s);
    QCOMPARE(panel(2)->text(), QString());
    QCOMPARE(form()->workbench().dirtyWarning().dirty, 0);

    QTest::keyClicks(editor(), u"a"_s);
    QCOMPARE(panel(1)->text(), u"1 列"_s);
    QCOMPARE(panel(2)->text(), u"資料修改過"_s);
    QCOMPARE(form()->workbench().dirtyWarning().dirty, 1);

    // A line break at the end begins no further line.
    QTest::keyClick(editor(), Qt::Key_Return);
    QCOMPARE(panel(1)->text(), u"1 列"_s);
    QTest::keyClicks(editor(), u"b"_s);
    QCOMPARE(panel(1)->text(), u"2 列"_s);

    // Texts are never compared: deleting what was typed leaves the data modified.
    editor()->selectAll();
    QTest::keyClick(editor(), Qt::Key_Delete);
    QCOMPARE(editorText(), QString());
    QCOMPARE(panel(1)->text(), u"0 列"_s);
    QCOMPARE(panel(2)->text(), u"資料修改過"_s);
    QCOMPARE(form()->workbench().dirtyWarning().dirty, 1);

    form()->SetDirty(0);
    QCOMPARE(panel(2)->text(), QString());
}

void Form1Test::typingChineseSetsDirty()
{
    form()->SwitchSlot(1);
    QTest::sendKeyEvent(QTest::Click, editor(), Qt::Key_unknown, u"漢"_s, Qt::NoModifier);
    QCOMPARE(editorText(), u"漢"_s);
    QCOMPARE(form()->workbench().dirtyWarning().dirty, 1);
    form()->mn4save1Click();
    QCOMPARE(fileBytes(dataFile("kpx-ty1.txt")), big5(u"漢"_s));
}

void Form1Test::editorKeys()
{
    form()->SwitchSlot(1);
    QTest::keyClick(editor(), Qt::Key_Tab);
    QCOMPARE(editorText(), u"\t"_s);
    QVERIFY(editor()->hasFocus() || !form()->isVisible());
    QTest::keyClicks(editor(), u"ab"_s);
    QTest::keyClick(editor(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(editorText() != u"\tab"_s);
    QTest::keyClick(editor(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(editorText(), u"\tab"_s);
    // Shift+Enter breaks the line as Enter does: no U+2028, which no data file could hold.
    QTest::keyClick(editor(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(editor(), u"c"_s);
    QCOMPARE(form()->editorText(), u"\tab\u2029c");
    // Long lines scroll sideways instead of wrapping.
    setEditorText(QString(500, u'x'));
    QCOMPARE(editor()->document()->lineCount(), 1);
}

void Form1Test::clipboardCommandsWorkOnTheEditor()
{
    form()->SwitchSlot(1);
    showAndActivate();
    setEditorText(u"abc"_s);
    form()->SetDirty(0);
    // The focus elsewhere: the commands still act on the editor.
    auto *sortButton = form()->findChild<QPushButton *>(u"bnSort1"_s);
    sortButton->setFocus();
    form()->mnAll1Click();
    QCOMPARE(editor()->textCursor().selectedText(), u"abc"_s);
    QCOMPARE(form()->workbench().dirtyWarning().dirty, 0);
    form()->mnCopy1Click();
    QCOMPARE(QGuiApplication::clipboard()->text(), u"abc"_s);
    QCOMPARE(form()->workbench().dirtyWarning().dirty, 0);
    form()->mnCut1Click();
    QCOMPARE(editorText(), QString());
    QCOMPARE(form()->workbench().dirtyWarning().dirty, 1);
    form()->SetDirty(0);
    QGuiApplication::clipboard()->setText(u"xyz"_s);
    form()->mnPaste1Click();
    QCOMPARE(editorText(), u"xyz"_s);
    QCOMPARE(form()->workbench().dirtyWarning().dirty, 1);
}

void Form1Test::saveFailureMissingDirectory()
{
    form()->SwitchSlot(1);
    setEditorText(u"a"_s);
    QVERIFY(QDir(vokelu()).removeRecursively());
    ModalAnswers answers({ acknowledge() });
    form()->mn4save1Click();
    QCOMPARE(answers.seen().size(), 1);
    QCOMPARE(answers.seen()[0].kind, u"error"_s);
    QCOMPARE(answers.seen()[0].title, u"對照表 製作程式"_s);
    QCOMPARE(answers.seen()[0].text, u"Cannot create file "_s + vokelu() + u"/kpx-ty1.txt"_s);
    QCOMPARE(form()->workbench().dirtyWarning().dirty, 1);
    QCOMPARE(panel(2)->text(), u"資料修改過"_s);
    QCOMPARE(editorText(), u"a"_s);
    // The program never makes its directory.
    QVERIFY(!QFileInfo::exists(vokelu()));
}

void Form1Test::switchWithoutChanges()
{
    QVERIFY(writeBytes(dataFile("kpx-ty2.txt"), "second\r\n"_ba));
    form()->SwitchSlot(1);
    ModalAnswers none;
    slotButton(2)->click();
    QCOMPARE(none.seen().size(), 0);
    QCOMPARE(form()->currentSlot(), 2);
    QVERIFY(slotButton(2)->isChecked());
    QVERIFY(!slotButton(1)->isChecked());
    QCOMPARE(editorText(), u"second\n"_s);
    QCOMPARE(box("ed4ifn1")->toolTip(), dataFile("kpx-ty2.txt"));
    // The file name is whole in the box, however long the directory.
    QVERIFY(box("ed4ifn1")->text().endsWith(QLatin1String("/kpx-ty2.txt")));
    QVERIFY(box("ed4ifn1")->fontMetrics().horizontalAdvance(box("ed4ifn1")->text()) < box("ed4ifn1")->width());
    QCOMPARE(form()->workbench().dirtyWarning().dirty, 0);

    slotButton(20)->click();
    QCOMPARE(form()->currentSlot(), 20);
    QCOMPARE(box("ed4ofn1")->toolTip(), dataFile("kpx-py0.zd"));
    QCOMPARE(editorText(), QString());
}

void Form1Test::askToSave_data()
{
    QTest::addColumn<int>("answer"); // 0 是, 1 無愛, 2 取消, 3 close box
    QTest::newRow("yes") << 0;
    QTest::newRow("no") << 1;
    QTest::newRow("cancel") << 2;
    QTest::newRow("close box") << 3;
}

void Form1Test::askToSave()
{
    QFETCH(int, answer);
    QVERIFY(writeBytes(dataFile("kpx-ty1.txt"), "one\r\n"_ba));
    QVERIFY(writeBytes(dataFile("kpx-ty2.txt"), "two\r\n"_ba));
    form()->SwitchSlot(1);
    setEditorText(u"changed"_s);
    const ModalAnswers::Action actions[] = { answerYes(), answerNo(), answerCancel(), closeBox() };
    ModalAnswers answers({ actions[answer] });
    slotButton(2)->click();
    QCOMPARE(answers.seen().size(), 1);
    QCOMPARE(answers.seen()[0].kind, u"question"_s);
    switch (answer) {
    case 0:
        QCOMPARE(fileBytes(dataFile("kpx-ty1.txt")), "changed"_ba);
        QCOMPARE(form()->currentSlot(), 2);
        QCOMPARE(editorText(), u"two\n"_s);
        QCOMPARE(form()->workbench().dirtyWarning().dirty, 0);
        break;
    case 1:
        QCOMPARE(fileBytes(dataFile("kpx-ty1.txt")), "one\r\n"_ba);
        QCOMPARE(form()->currentSlot(), 2);
        QVERIFY(slotButton(2)->isChecked());
        QCOMPARE(editorText(), u"two\n"_s);
        QCOMPARE(form()->workbench().dirtyWarning().dirty, 0);
        break;
    default:
        QCOMPARE(fileBytes(dataFile("kpx-ty1.txt")), "one\r\n"_ba);
        QCOMPARE(form()->currentSlot(), 1);
        QVERIFY(slotButton(1)->isChecked());
        QVERIFY(!slotButton(2)->isChecked());
        QCOMPARE(editorText(), u"changed"_s);
        QCOMPARE(form()->workbench().dirtyWarning().dirty, 1);
        QCOMPARE(box("ed4ifn1")->toolTip(), dataFile("kpx-ty1.txt"));
        break;
    }
}

void Form1Test::tooLargeFileIsNotOverwrittenUnasked()
{
    {
        QFile big(dataFile("kpx-ty6.txt"));
        QVERIFY(big.open(QIODevice::WriteOnly));
        big.write("head");
        // Sparse: the size alone is over the editor's capacity.
        QVERIFY(big.resize(256LL * 1024 * 1024 + 1));
    }
    const qint64 size = QFileInfo(dataFile("kpx-ty6.txt")).size();
    form()->SwitchSlot(1);
    {
        ModalAnswers answers({ acknowledge() });
        form()->SwitchSlot(6);
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen()[0].text, u"Text exceeds memo capacity"_s);
    }
    QCOMPARE(form()->currentSlot(), 6);
    QCOMPARE(editorText(), QString());

    // Saving the empty (or new) text over it needs the user's word.
    QTest::keyClicks(editor(), u"new"_s);
    {
        ModalAnswers answers({ confirmWith(QMessageBox::No) });
        form()->mn4save1Click();
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen()[0].kind, u"confirm"_s);
        QVERIFY(answers.seen()[0].text.contains(dataFile("kpx-ty6.txt")));
    }
    QCOMPARE(QFileInfo(dataFile("kpx-ty6.txt")).size(), size);
    QCOMPARE(form()->workbench().dirtyWarning().dirty, 1);
    {
        // The same through the question on leaving the slot: 是, then no to overwriting.
        ModalAnswers answers({ answerYes(), confirmWith(QMessageBox::No) });
        slotButton(7)->click();
        QCOMPARE(answers.seen().size(), 2);
        QCOMPARE(form()->currentSlot(), 6);
        QCOMPARE(QFileInfo(dataFile("kpx-ty6.txt")).size(), size);
    }
    {
        ModalAnswers answers({ confirmWith(QMessageBox::Yes) });
        form()->mn4save1Click();
        QCOMPARE(answers.seen().size(), 1);
    }
    QCOMPARE(fileBytes(dataFile("kpx-ty6.txt")), "new"_ba);
    QCOMPARE(form()->workbench().dirtyWarning().dirty, 0);
    // Once saved, the file is the editor's again.
    ModalAnswers none;
    form()->mn4save1Click();
    QCOMPARE(none.seen().size(), 0);
}

void Form1Test::jejokShowsCountAndPath()
{
    QVERIFY2(hasNotifier_, "the stand-in libhvmrk is not on the library path");
    form()->SwitchSlot(1);
    setEditorText(u"a-ba 阿爸\nbu 母\n// 註解\n\none-column\nc 車 third\n"_s);
    ModalAnswers answers({ acknowledge() });
    form()->bnJejok1Click();
    QCOMPARE(answers.seen().size(), 1);
    QCOMPARE(answers.seen()[0].kind, u"notice"_s);
    QCOMPARE(answers.seen()[0].text,
        noticeShows(u"總共有 3 個詞條\r\n\r\n\r\n製作完成，檔案存做:\r\n\r\n"_s + dataFile("kpx-ty1.zd")));
    QVERIFY(QFileInfo(dataFile("kpx-ty1.zd")).size() > 32);
    QCOMPARE(notifyCount(), 1);

    // The editor's text was never saved: leave it.
    ModalAnswers again({ answerNo(), acknowledge() });
    form()->SwitchSlot(22);
    QCOMPARE(form()->currentSlot(), 22);
    setEditorText(u"x 叉"_s);
    form()->mn4jejok1Click();
    QCOMPARE(again.seen().size(), 2);
    QCOMPARE(again.seen()[1].text,
        noticeShows(u"總共有 1 個詞條\r\n\r\n\r\n製作完成，檔案存做:\r\n\r\n"_s + dataFile("kpx-ib2.zd")));
    QVERIFY(fileBytes(dataFile("kpx-ib2.zd")).contains("dib"));
    QCOMPARE(notifyCount(), 2);
    // The bar is back at its start after the run.
    QCOMPARE(progressBar()->value(), 0);
}

void Form1Test::sortMarksDirtyEvenWhenSorted()
{
    QVERIFY(writeBytes(dataFile("kpx-ty1.txt"), "a\r\nb\r\n"_ba));
    form()->SwitchSlot(1);
    QCOMPARE(form()->workbench().dirtyWarning().dirty, 0);
    form()->bnSort1Click();
    QCOMPARE(editorText(), u"a\nb\n"_s);
    QCOMPARE(form()->workbench().dirtyWarning().dirty, 1);
    // The whole sort is one step back.
    setEditorText(u"b\na"_s);
    form()->bnSort1Click();
    editor()->undo();
    QCOMPARE(editorText(), u"b\na"_s);
}

void Form1Test::undoStopsAtASave()
{
    form()->SwitchSlot(1);
    QTest::keyClicks(editor(), u"a1 one"_s);
    QTest::keyClick(editor(), Qt::Key_Return);
    form()->mn4sj1Click();
    QTest::keyClicks(editor(), u"b1 two"_s);
    QTest::keyClick(editor(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editorText(), u"a1 one\n"_s);
    // Back at the text as saved, as in the native window.
    QCOMPARE(panel(1)->text(), u"1 列"_s);
    QCOMPARE(form()->workbench().dirtyWarning().dirty, 0);
    QCOMPARE(panel(2)->text(), QString());
    QTest::keyClick(editor(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(editorText(), u"a1 one\nb1 two"_s);
    QCOMPARE(panel(1)->text(), u"2 列"_s);
    QCOMPARE(form()->workbench().dirtyWarning().dirty, 1);

    // Typing on in the same line after a save is a step of its own.
    form()->mn4save1Click();
    QTest::keyClicks(editor(), u"x"_s);
    QTest::keyClick(editor(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editorText(), u"a1 one\nb1 two"_s);
    QCOMPARE(form()->workbench().dirtyWarning().dirty, 0);
    QTest::keyClick(editor(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(form()->workbench().dirtyWarning().dirty, 1);
    QVERIFY(editorText() != u"a1 one\nb1 two"_s);
}

void Form1Test::shortcutsRunTheCommands()
{
    QVERIFY2(hasNotifier_, "the stand-in libhvmrk is not on the library path");
    showAndActivate();
    editor()->setFocus();
    QTest::keyClicks(editor(), u"k v"_s);
    QTest::keyClick(editor(), Qt::Key_F2);
    QCOMPARE(fileBytes(dataFile("kpx-ty1.txt")), "k v"_ba);
    QCOMPARE(form()->workbench().dirtyWarning().dirty, 0);
    {
        ModalAnswers answers({ acknowledge() });
        QTest::keyClick(editor(), Qt::Key_F3);
        QCOMPARE(answers.seen().size(), 1);
        QVERIFY(answers.seen()[0].text.startsWith(u"總共有 1 個詞條"_s));
    }
    // The window system hands the focus back from the notice.
    form()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form()));
    {
        ModalAnswers none;
        QTest::keyClick(editor(), Qt::Key_F5);
        QCOMPARE(none.seen().size(), 0);
        QCOMPARE(notifyCount(), 2);
    }
    QTest::keyClick(editor(), Qt::Key_F1);
    QTRY_VERIFY(windows_->SCCheh1->isVisible());
}

void Form1Test::firstShowingRestoresState_data()
{
    QTest::addColumn<QByteArray>("state");
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("caret");
    QTest::newRow("f=25 s=7") << "//header\r\nf=25\r\ns=7\r\n"_ba << 25 << 7;
    QTest::newRow("no state file") << QByteArray() << 1 << 0;
    QTest::newRow("f=40") << "f=40\r\ns=3\r\n"_ba << 1 << 3;
    QTest::newRow("f=0") << "f=0\r\n"_ba << 1 << 0;
    QTest::newRow("f without digits") << "f=abc\r\ns=\r\n"_ba << 1 << 0;
    QTest::newRow("other keys and free lines") << "x=1\r\nfree\r\nF=3\r\nf= 12\r\ns=+2\r\n"_ba << 12 << 2;
    QTest::newRow("caret past the end") << "f=25\r\ns=999\r\n"_ba << 25 << 13;
    QTest::newRow("caret counts CR LF as two") << "f=25\r\ns=13\r\n"_ba << 25 << 12;
}

void Form1Test::firstShowingRestoresState()
{
    QFETCH(QByteArray, state);
    QFETCH(int, slot);
    QFETCH(int, caret);
    if (!state.isEmpty())
        QVERIFY(writeBytes(stateFile(), state));
    QVERIFY(writeBytes(dataFile("kpx-ib5.txt"), "abcdefghij\r\nkl"_ba));
    QVERIFY(writeBytes(dataFile("kpx-ty1.txt"), "slot one"_ba));
    QVERIFY(writeBytes(dataFile("kpx-py2.txt"), "py two"_ba));
    ModalAnswers none;
    showAndActivate();
    QTRY_COMPARE(form()->currentSlot(), slot);
    QCOMPARE(none.seen().size(), 0);
    QVERIFY(slotButton(slot)->isChecked());
    const QString expected = slot == 25 ? u"abcdefghij\nkl"_s : slot == 12 ? u"py two"_s : u"slot one"_s;
    QCOMPARE(editorText(), expected);
    QCOMPARE(editor()->textCursor().position(), caret);
    QVERIFY(!editor()->textCursor().hasSelection());
    QCOMPARE(form()->workbench().dirtyWarning().dirty, 0);
}

void Form1Test::closeStoresSlotAndCaret()
{
    QVERIFY(writeBytes(stateFile(), "f=3\r\nq=other\r\nfree line\r\n"_ba));
    showAndActivate();
    QTRY_COMPARE(form()->currentSlot(), 3);
    form()->SwitchSlot(12);
    setEditorText(u"ab\n甲c"_s);
    form()->mn4save1Click();
    QTextCursor cursor = editor()->textCursor();
    cursor.setPosition(5);
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    editor()->setTextCursor(cursor);
    form()->mn4exi1Click();
    QVERIFY(!form()->isVisible());
    // "ab" 2 bytes, CR LF 2, 甲 2: the selection starts at byte 6.
    QCOMPARE(fileBytes(stateFile()), kStateHeader.toLatin1() + "\r\nf=12\r\ns=6\r\n"_ba);
}

void Form1Test::closeWithoutChangesAsksNothing()
{
    showAndActivate();
    ModalAnswers none;
    QVERIFY(form()->close());
    QCOMPARE(none.seen().size(), 0);
    QCOMPARE(fileBytes(stateFile()), kStateHeader.toLatin1() + "\r\nf=1\r\ns=0\r\n"_ba);
}

void Form1Test::closeWithChanges_data()
{
    QTest::addColumn<int>("answer"); // 0 是, 1 無愛, 2 取消, 3 close box
    QTest::newRow("yes") << 0;
    QTest::newRow("no") << 1;
    QTest::newRow("cancel") << 2;
    QTest::newRow("close box") << 3;
}

void Form1Test::closeWithChanges()
{
    QFETCH(int, answer);
    QVERIFY(writeBytes(dataFile("kpx-ty1.txt"), "old"_ba));
    showAndActivate();
    QTRY_COMPARE(editorText(), u"old"_s);
    setEditorText(u"new"_s);
    const ModalAnswers::Action actions[] = { answerYes(), answerNo(), answerCancel(), closeBox() };
    ModalAnswers answers({ actions[answer] });
    const bool closed = form()->close();
    QCOMPARE(answers.seen().size(), 1);
    QCOMPARE(answers.seen()[0].kind, u"question"_s);
    QCOMPARE(closed, answer < 2);
    QCOMPARE(form()->isVisible(), answer >= 2);
    QCOMPARE(fileBytes(dataFile("kpx-ty1.txt")), answer == 0 ? "new"_ba : "old"_ba);
    QCOMPARE(QFileInfo::exists(stateFile()), answer < 2);
    QCOMPARE(form()->workbench().dirtyWarning().dirty, answer == 0 ? 0 : 1);
    if (answer >= 2)
        QCOMPARE(editorText(), u"new"_s);
}

// Returning from the handbook once restored the slot stored at the last close and asked to throw
// away the edits made since; now it changes nothing.
void Form1Test::returnFromHandbookKeepsSlotAndEdits()
{
    QVERIFY(writeBytes(stateFile(), "f=3\r\ns=1\r\n"_ba));
    QVERIFY(writeBytes(dataFile("kpx-ty5.txt"), "five"_ba));
    showAndActivate();
    QTRY_COMPARE(form()->currentSlot(), 3);
    form()->SwitchSlot(5);
    setEditorText(u"typed"_s);
    QTextCursor cursor = editor()->textCursor();
    cursor.setPosition(2);
    editor()->setTextCursor(cursor);
    ModalAnswers none;
    form()->mnCheh1Click();
    QVERIFY(QTest::qWaitForWindowActive(windows_->SCCheh1.get()));
    form()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form()));
    QTest::qWait(50);
    QCOMPARE(none.seen().size(), 0);
    QCOMPARE(form()->currentSlot(), 5);
    QVERIFY(slotButton(5)->isChecked());
    QCOMPARE(editorText(), u"typed"_s);
    QCOMPARE(editor()->textCursor().position(), 2);
    QCOMPARE(fileBytes(dataFile("kpx-ty5.txt")), "five"_ba);
}

void Form1Test::modalDialogDoesNotRestore()
{
    QVERIFY(writeBytes(stateFile(), "f=3\r\n"_ba));
    showAndActivate();
    QTRY_COMPARE(form()->currentSlot(), 3);
    form()->SwitchSlot(5);
    setEditorText(u"abc"_s);
    form()->SetDirty(0);
    QTextCursor cursor = editor()->textCursor();
    cursor.setPosition(2);
    editor()->setTextCursor(cursor);
    {
        ModalAnswers answers({ [](QWidget *w) {
            QVERIFY(qobject_cast<Taboutbox1 *>(w));
            pressButton(w, "OKButton");
        } });
        form()->mnAbout1Click();
        QCOMPARE(answers.seen().size(), 1);
    }
    // The window system hands the focus back from the dialog.
    form()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form()));
    {
        ModalAnswers answers({ acknowledge() });
        windows_->okmes1->notice(u"note"_s);
        QCOMPARE(answers.seen().size(), 1);
    }
    form()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form()));
    QTest::qWait(50);
    QCOMPARE(form()->currentSlot(), 5);
    QCOMPARE(editorText(), u"abc"_s);
    QCOMPARE(editor()->textCursor().position(), 2);
}

void Form1Test::returnFromOtherProgramDoesNotRestore()
{
    QVERIFY(writeBytes(stateFile(), "f=3\r\n"_ba));
    showAndActivate();
    QTRY_COMPARE(form()->currentSlot(), 3);
    form()->SwitchSlot(5);
    form()->mnCheh1Click();
    QVERIFY(QTest::qWaitForWindowActive(windows_->SCCheh1.get()));
    // The user goes from the handbook to another program. The headless platform has no other
    // programs; the application reports what the window system would.
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    emit qApp->applicationStateChanged(Qt::ApplicationActive);
    form()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form()));
    QTest::qWait(50);
    QCOMPARE(form()->currentSlot(), 5);
}

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
