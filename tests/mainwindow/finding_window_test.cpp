// SPDX-License-Identifier: GPL-2.0-or-later
// The real window under an X server: F5 fills the problems list, activating a row takes the
// editor to the line, Ctrl+F finds and counts, Ctrl+G goes to a line; neither changes the text
// or the data-modified mark. With KPX_SHOTS set, pictures of the window go there.
#include <QClipboard>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

#include "mainwindow/form1.h"
#include "mainwindow/program_windows.h"
#include "tests/mainwindow/window_test_helpers.h"

using namespace Qt::StringLiterals;

class FindingWindowTest : public QObject {
    Q_OBJECT

private slots:
    void problemsListFindAndGoToLine();

private:
    void shot(const QString &name)
    {
        const QByteArray directory = qgetenv("KPX_SHOTS");
        if (!directory.isEmpty())
            form()->grab().save(QString::fromLocal8Bit(directory) + u"/"_s + name + u".png"_s);
    }
    TForm1 *form() const { return windows_->Form1.get(); }
    template <typename T> T *child(const QString &name) const { return form()->findChild<T *>(name); }
    int caretLine() const { return child<QPlainTextEdit>(u"mm4indata1"_s)->textCursor().blockNumber() + 1; }

    QTemporaryDir drive_;
    std::unique_ptr<kpx::ProgramWindows> windows_;
};

void FindingWindowTest::problemsListFindAndGoToLine()
{
    QVERIFY(drive_.isValid());
    qputenv("KPX_DRIVE", QFile::encodeName(drive_.path()));
    const QString vokelu = drive_.path() + u"/vokelu"_s;
    QVERIFY(QDir().mkpath(vokelu));
    QStringEncoder big5("Big5");
    QByteArray data = big5(u"// 我 e 詞\r\na-ba 阿爸\r\n字元\r\n"_s);
    for (int line = 0; line < 40; ++line)
        data += "tai" + QByteArray::number(line) + " " + big5(u"台"_s) + "\r\n";
    data += "abcdefghijabcdefghijabcdefghijabcd " + big5(u"長"_s) + "\r\n#include missing.txt\r\na-ba "
        + big5(u"阿爸"_s);
    QVERIFY(writeBytes(vokelu + u"/kpx-ty1.txt"_s, data));
    QApplication::setQuitOnLastWindowClosed(false);
    windows_ = std::make_unique<kpx::ProgramWindows>();
    form()->show();
    form()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form()));
    QTest::qWait(50);
    auto *editor = child<QPlainTextEdit>(u"mm4indata1"_s);
    QCOMPARE(editor->document()->blockCount(), 46);
    auto *panel = child<QWidget>(u"problemsPanel"_s);
    QVERIFY(panel && !panel->isVisible());

    // F5: save and make, no notice; the list opens with a row per problem.
    QTest::keyClick(editor, Qt::Key_F5);
    QTRY_VERIFY(panel->isVisible());
    QCOMPARE(child<QLabel>(u"problemsTitle"_s)->text(), u"3 列無做成詞條，1 個詞條重複"_s);
    auto *list = child<QTableView>(u"problemsList"_s);
    QCOMPARE(list->model()->rowCount(), 4);
    QCOMPARE(list->model()->index(2, 2).data().toString(), u"#include e 檔案開袂起來：missing.txt"_s);
    QTest::qWait(50);
    shot(u"problems"_s);

    // A wider window: the path boxes and the problems list's file column grow with it, and the
    // data file's path shows whole; the box's menu copies the whole path either way.
    auto *dataBox = child<QLineEdit>(u"ed4ifn1"_s);
    const int boxWidth = dataBox->width();
    const int fileWidth = list->columnWidth(1);
    QVERIFY(dataBox->text() != dataBox->toolTip());
    form()->resize(1000, form()->height());
    QTRY_VERIFY(dataBox->width() > boxWidth + 300);
    QTRY_VERIFY(list->columnWidth(1) > fileWidth + 100);
    QCOMPARE(dataBox->text(), dataBox->toolTip());
    form()->resize(form()->width() / 2, form()->height());
    QTRY_VERIFY(dataBox->width() < boxWidth + 300);
    QVERIFY(dataBox->text() != dataBox->toolTip());
    QTimer::singleShot(0, this, [] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        menu->actions().at(0)->trigger();
        menu->close();
    });
    emit dataBox->customContextMenuRequested(QPoint(4, 4));
    QCOMPARE(QGuiApplication::clipboard()->text(), dataBox->toolTip());
    form()->resize(1000, form()->height());
    QTRY_COMPARE(dataBox->text(), dataBox->toolTip());
    QTest::qWait(50);
    shot(u"problems-wide"_s);
    // The menu took the window's activation away.
    form()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form()));

    // Enter on a row puts the caret on its line, scrolled into view.
    list->setFocus();
    list->setCurrentIndex(list->model()->index(1, 0));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(caretLine(), 44);
    QVERIFY(editor->hasFocus());
    QVERIFY(editor->cursorRect().bottom() <= editor->viewport()->height());

    // Ctrl+F: the find bar; Enter finds forwards from the caret, round the end, with a count.
    QTest::keyClick(editor, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier);
    auto *findText = child<QLineEdit>(u"findText"_s);
    QTRY_VERIFY(findText->hasFocus());
    QTest::keyClicks(findText, u"TAI3"_s);
    QTest::keyClick(findText, Qt::Key_Return);
    QCOMPARE(child<QLabel>(u"findCount"_s)->text(), u"第 1 個，總共 11 個"_s);
    QCOMPARE(editor->textCursor().selectedText(), u"tai3"_s);
    QCOMPARE(caretLine(), 7);
    QTest::keyClick(findText, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(child<QLabel>(u"findCount"_s)->text(), u"第 11 個，總共 11 個（對另外一頭閣揣）"_s);
    QCOMPARE(caretLine(), 43);
    shot(u"find"_s);
    QTest::keyClick(findText, Qt::Key_Escape);
    QVERIFY(!child<QWidget>(u"findBar"_s)->isVisible());
    QVERIFY(editor->hasFocus());

    // Ctrl+G asks for a line.
    QTimer::singleShot(0, this, [] {
        auto *dialog = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->setIntValue(5);
        dialog->accept();
    });
    QTest::keyClick(editor, Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(caretLine(), 5);

    // Nothing of this changed the text: the mark stays off and the list stays.
    QCOMPARE(child<QLabel>(u"StatusPanel2"_s)->text(), QString());
    QVERIFY(panel->isVisible());
    // Typing changes the text: the list goes.
    QTest::keyClick(editor, Qt::Key_X);
    QVERIFY(!panel->isVisible());
    QCOMPARE(child<QLabel>(u"StatusPanel2"_s)->text(), u"資料修改過"_s);
    windows_.reset();
}

QTEST_MAIN(FindingWindowTest)
#include "finding_window_test.moc"
