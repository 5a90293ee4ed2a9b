// SPDX-License-Identifier: GPL-2.0-or-later
// Words in and out in the Qt window: the 檔案 menu's items open Qt's file dialog with the
// formats in its type list; import lands in the editor as one edit that Ctrl+Z takes back;
// export asks the order and writes the file. With KPX_SHOTS set, pictures go there.
#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include "mainwindow/application.h"
#include "mainwindow/form1.h"
#include "mainwindow/program_windows.h"
#include "tests/mainwindow/window_test_helpers.h"

using namespace Qt::StringLiterals;

class WordsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void importAndExportThroughTheMenu();

private:
    void shot(QWidget *widget, const QString &name)
    {
        const QByteArray directory = qgetenv("KPX_SHOTS");
        if (!directory.isEmpty())
            widget->grab().save(QString::fromLocal8Bit(directory) + u"/"_s + name + u".png"_s);
    }
    TForm1 *form() const { return windows_->Form1.get(); }
    template <typename T> T *child(const QString &name) const { return form()->findChild<T *>(name); }

    // Picks path in the file dialog, after noting what its type list offers.
    ModalAnswers::Action pick(const QString &path, const QString &name)
    {
        return [this, path, name](QWidget *w) {
            auto *dialog = qobject_cast<QFileDialog *>(w);
            if (!dialog) {
                w->close();
                return;
            }
            filters_ = dialog->nameFilters();
            dialogTexts_.clear();
            for (const QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
                dialogTexts_.append(button->text());
            for (const QLabel *label : dialog->findChildren<QLabel *>())
                dialogTexts_.append(label->text());
            saving_ = dialog->acceptMode() == QFileDialog::AcceptSave;
            shot(dialog, name);
            dialog->selectFile(path);
            static_cast<QDialog *>(dialog)->accept(); // QFileDialog::accept, as the dialog's button does
        };
    }
    static ModalAnswers::Action choose(const char *button)
    {
        return [button](QWidget *w) { pressButton(w, button); };
    }

    QTemporaryDir drive_;
    std::unique_ptr<kpx::ProgramWindows> windows_;
    QStringList filters_;
    // The captions of the file dialog's buttons and labels.
    QStringList dialogTexts_;
    bool saving_ = false;
};

void WordsWindowTest::importAndExportThroughTheMenu()
{
    QVERIFY(drive_.isValid());
    qputenv("KPX_DRIVE", QFile::encodeName(drive_.path()));
    const QString vokelu = drive_.path() + u"/vokelu"_s;
    QVERIFY(QDir().mkpath(vokelu));
    QStringEncoder big5("Big5");
    QVERIFY(writeBytes(vokelu + u"/kpx-ty1.txt"_s, big5(u"a 阿\r\nb 爸\r\n"_s)));
    const QString list = drive_.path() + u"/words.dict.yaml"_s;
    QVERIFY(writeBytes(
        list, u"---\nname: words\nversion: \"1\"\nsort: original\n...\n台灣\ttai5 uan5\n𪜶\tin1\n"_s.toUtf8()));
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(kpx::installQtTranslations());
    windows_ = std::make_unique<kpx::ProgramWindows>();
    form()->show();
    form()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form()));
    auto *editor = child<QPlainTextEdit>(u"mm4indata1"_s);
    QTRY_COMPARE(editor->toPlainText(), u"a 阿\nb 爸\n"_s);

    // Import: the dialog offers every format; a preview says what will come in, and 匯入 puts
    // the entries at the end as one edit.
    auto *importItem = child<QAction>(u"mnImport1"_s);
    QVERIFY(importItem && child<QMenu>(u"mnF1"_s)->actions().contains(importItem));
    {
        ModalAnswers answers({ pick(list, u"import-dialog"_s),
            [this](QWidget *w) {
                shot(w, u"import-preview"_s);
                choose("choice0")(w);
            },
            acknowledge() });
        importItem->trigger();
        QVERIFY(answers.allAnswered());
        QCOMPARE(answers.unexpected(), 0);
        QVERIFY(answers.seen().at(1).text.contains(u"讀著 2 個詞，會匯入 1 個詞條"_s));
        QCOMPARE(answers.seen().at(2).kind, u"notice"_s);
    }
    QVERIFY(!saving_);
    // Qt's own dialog speaks the program's language: none of its English captions is left.
    for (const QString &english : { u"&Open"_s, u"Cancel"_s, u"Look in:"_s, u"File &name:"_s, u"Files of type:"_s })
        QVERIFY2(!dialogTexts_.contains(english), qPrintable(english));
    QVERIFY(dialogTexts_.contains(u"取消"_s) || dialogTexts_.contains(u"取消(&C)"_s));
    QCOMPARE(filters_.size(), 7);
    QVERIFY(filters_.at(1).startsWith(u"RIME"_s));
    QVERIFY(filters_.at(1).endsWith(u"(*.dict.yaml)"_s));
    QCOMPARE(editor->toPlainText(), u"a 阿\nb 爸\ntai5-uan5 台灣\n"_s);
    QCOMPARE(child<QLabel>(u"StatusPanel2"_s)->text(), u"資料修改過"_s);
    auto *problems = child<QTableView>(u"problemsList"_s);
    QCOMPARE(problems->model()->rowCount(), 1);
    QCOMPARE(problems->model()->index(0, 0).data().toString(), u"7"_s);
    QVERIFY(problems->model()->index(0, 2).data().toString().contains(u"U+2A736"_s));
    QTest::qWait(50);
    shot(form(), u"imported"_s);
    // Ctrl+Z takes the whole import back, to the text as loaded: nothing is left to save.
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor->toPlainText(), u"a 阿\nb 爸\n"_s);
    QCOMPARE(child<QLabel>(u"StatusPanel2"_s)->text(), QString());

    // Export: a TSV list in the text's order.
    const QString out = drive_.path() + u"/out.tsv"_s;
    {
        ModalAnswers answers({ pick(out, u"export-dialog"_s), choose("choice1"), acknowledge() });
        child<QAction>(u"mnExport1"_s)->trigger();
        QVERIFY(answers.allAnswered());
        QCOMPARE(answers.unexpected(), 0);
        QCOMPARE(answers.seen().at(1).kind, u"confirm"_s);
        QVERIFY(answers.seen().at(2).text.contains(u"總共匯出 2 個詞條"_s));
    }
    QVERIFY(saving_);
    QCOMPARE(fileBytes(out), u"a\t阿\nb\t爸\n"_s.toUtf8());

    // A data file in UTF-8: the question on loading it; 是 converts it, as an edit to save.
    QVERIFY(writeBytes(vokelu + u"/kpx-ty2.txt"_s, u"tai5-uan5 台灣\r\n"_s.toUtf8()));
    {
        ModalAnswers answers({ [this](QWidget *w) {
                                  shot(w, u"utf8-question"_s);
                                  confirmWith(QMessageBox::Yes)(w);
                              },
            acknowledge() });
        form()->SwitchSlot(2);
        QVERIFY(answers.allAnswered());
        QCOMPARE(answers.seen().at(0).kind, u"confirm"_s);
        QVERIFY(answers.seen().at(0).text.contains(u"UTF-8"_s));
    }
    QCOMPARE(editor->toPlainText(), u"tai5-uan5 台灣\n"_s);
    QCOMPARE(child<QLabel>(u"StatusPanel2"_s)->text(), u"資料修改過"_s);
    editor->undo();
    QVERIFY(!editor->toPlainText().contains(u"台灣"_s));
    windows_.reset();
}

QTEST_MAIN(WordsWindowTest)
#include "words_window_test.moc"
