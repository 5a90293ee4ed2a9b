// SPDX-License-Identifier: GPL-2.0-or-later
#include <QAbstractTextDocumentLayout>
#include <QFrame>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QtTest>

#include "dialogs/okmes1.h"
#include "tests/dialogs/dialog_test_helpers.h"

class Okmes1Test : public QObject {
    Q_OBJECT

private slots:
    void shouldHaveDefaultValues();
    void shouldKeepPixelLayoutOnEveryScreen();
    void noticeShowsLinesModally();
    void noticeShowsEmptyLineAndCentresLines();
    void noticeReplacesThePreviousText();
    void enterAndCloseBoxEndTheNotice();
    void longNoticeGrowsToShowEveryLine();
};

void Okmes1Test::shouldHaveDefaultValues()
{
    Tokmes1 dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("okmes1"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("kpxv410.exe"));
    QCOMPARE(dialog.size(), QSize(345, 214));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QCOMPARE(dialog.font().pixelSize(), 16);

    auto *const bevel = dialog.findChild<QFrame *>(QStringLiteral("Bevel1"));
    QVERIFY(bevel);
    QCOMPARE(bevel->geometry(), QRect(8, 8, 321, 161));
    QCOMPARE(bevel->frameShape(), QFrame::Box);

    auto *const memo = dialog.findChild<QTextEdit *>(QStringLiteral("Memo1"));
    QVERIFY(memo);
    QCOMPARE(memo->geometry(), QRect(16, 24, 305, 129));
    QVERIFY(memo->isReadOnly());
    QCOMPARE(memo->frameShape(), QFrame::NoFrame);
    QCOMPARE(memo->lineWrapMode(), QTextEdit::WidgetWidth);
    QVERIFY(memo->document()->defaultTextOption().alignment() & Qt::AlignHCenter);
    QCOMPARE(memo->palette().color(QPalette::Base), dialog.palette().color(QPalette::Window));
    QCOMPARE(memo->font().pixelSize(), 16);

    auto *const ok = dialog.findChild<QPushButton *>(QStringLiteral("OKBtn"));
    QVERIFY(ok);
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(ok->geometry(), QRect(143, 180, 75, 25));
    QVERIFY(ok->isDefault());
    QCOMPARE(Tokmes1::kResultOk, 1);
}

void Okmes1Test::shouldKeepPixelLayoutOnEveryScreen()
{
    // The notice is laid out for 16 pixel characters and keeps its pixels whatever the screen's
    // resolution (in the 144 dpi run too).
    qreal factor = 0;
    QVERIFY(scaleFactorAsConfigured(&factor));
    Tokmes1 dialog;
    QCOMPARE(dialog.size(), QSize(345, 214));
    QCOMPARE(dialog.font().pixelSize(), 16);
    QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("OKBtn"))->geometry(), QRect(143, 180, 75, 25));
}

void Okmes1Test::noticeShowsLinesModally()
{
    Tokmes1 dialog;
    QPointer<QDialog> seen;
    QString shown;
    bool okHadFocus = false;
    bool modal = false;
    whenModal(
        [&](QDialog *modalDialog) {
            modal = modalDialog->isModal() && modalDialog->isVisible();
            shown = modalDialog->findChild<QTextEdit *>(QStringLiteral("Memo1"))->toPlainText();
            auto *const ok = modalDialog->findChild<QPushButton *>(QStringLiteral("OKBtn"));
            okHadFocus = modalDialog->focusWidget() == ok;
            ok->click();
        },
        &seen);
    dialog.notice(QStringLiteral(u"對照表製作完成\r\n總共 3 條\r\nC:\\vokelu\\kpx-ty1.zd"));
    QCOMPARE(seen.data(), &dialog);
    QVERIFY(modal);
    QCOMPARE(shown, QStringLiteral(u"對照表製作完成\n總共 3 條\nC:\\vokelu\\kpx-ty1.zd"));
    QVERIFY(okHadFocus);
    QCOMPARE(dialog.result(), Tokmes1::kResultOk);
    QVERIFY(!dialog.isVisible());
}

void Okmes1Test::noticeShowsEmptyLineAndCentresLines()
{
    Tokmes1 dialog;
    int blocks = 0;
    QString emptyLine = QStringLiteral("not set");
    qreal firstLineLeft = -1;
    qreal longLineLeft = -1;
    whenModal([&](QDialog *modalDialog) {
        QApplication::processEvents();
        auto *const memo = modalDialog->findChild<QTextEdit *>(QStringLiteral("Memo1"));
        QTextDocument *const document = memo->document();
        document->documentLayout()->documentSize(); // lays the text out
        blocks = document->blockCount();
        emptyLine = document->findBlockByNumber(1).text();
        const QTextLayout *first = document->findBlockByNumber(0).layout();
        const QTextLayout *last = document->findBlockByNumber(2).layout();
        if (first->lineCount() > 0)
            firstLineLeft = first->lineAt(0).naturalTextRect().left();
        if (last->lineCount() > 0)
            longLineLeft = last->lineAt(0).naturalTextRect().left();
        modalDialog->findChild<QPushButton *>(QStringLiteral("OKBtn"))->click();
    });
    dialog.notice(QStringLiteral(u"短\r\n\r\n這是一列較長 e 文字"));
    QCOMPARE(blocks, 3);
    QCOMPARE(emptyLine, QString());
    // Centred: the short line starts further right than the long one, and neither at 0.
    QVERIFY2(firstLineLeft > longLineLeft, qPrintable(QStringLiteral("%1 %2").arg(firstLineLeft).arg(longLineLeft)));
    QVERIFY(longLineLeft > 0);
}

void Okmes1Test::noticeReplacesThePreviousText()
{
    Tokmes1 dialog;
    whenModal([](QDialog *modalDialog) { modalDialog->accept(); });
    dialog.notice(QStringLiteral("first\r\nnotice"));
    QString shown;
    whenModal([&](QDialog *modalDialog) {
        shown = modalDialog->findChild<QTextEdit *>(QStringLiteral("Memo1"))->toPlainText();
        modalDialog->accept();
    });
    dialog.notice(QStringLiteral("second"));
    QCOMPARE(shown, QStringLiteral("second"));
    QCOMPARE(dialog.message(), QStringLiteral("second"));
}

void Okmes1Test::enterAndCloseBoxEndTheNotice()
{
    Tokmes1 dialog;
    whenModal([](QDialog *modalDialog) {
        QVERIFY(modalDialog->focusWidget());
        QTest::keyClick(modalDialog->focusWidget(), Qt::Key_Return);
    });
    dialog.notice(QStringLiteral("Enter"));
    QCOMPARE(dialog.result(), Tokmes1::kResultOk);

    whenModal([](QDialog *modalDialog) { modalDialog->close(); });
    dialog.notice(QStringLiteral("close box"));
    QVERIFY(dialog.result() != kLeftOpen);
    QVERIFY(!dialog.isVisible());
}

void Okmes1Test::longNoticeGrowsToShowEveryLine()
{
    // A table-not-made notice with a long path: no scroll bar, the last line shown, OK below it.
    Tokmes1 dialog;
    const QString path = QStringLiteral("/home/someone/") + QString(60, u'x') + QStringLiteral("/vokelu/kpx-ty1.zd");
    bool whole = false;
    int bottom = 0;
    whenModal([&](QDialog *modalDialog) {
        auto *memo = modalDialog->findChild<QTextEdit *>(QStringLiteral("Memo1"));
        whole = memo->verticalScrollBar()->maximum() == 0;
        bottom = memo->geometry().bottom();
        QVERIFY(modalDialog->findChild<QPushButton *>(QStringLiteral("OKBtn"))->geometry().top() > bottom);
        modalDialog->accept();
    });
    dialog.notice(QString::fromUtf16(u"對照表無做成，檔案寫袂落去:\r\n\r\n") + path
        + QString::fromUtf16(u"\r\n\r\n檔案是唯讀 e\r\n（Is a directory）\r\n\r\n原來 e 檔案無改變。"));
    QVERIFY(whole);
    QVERIFY(dialog.height() > 214);
    // A short one goes back to the design's size.
    whenModal([](QDialog *modalDialog) { modalDialog->accept(); });
    dialog.notice(QStringLiteral("short"));
    QCOMPARE(dialog.size(), QSize(345, 214));
}

QTEST_MAIN(Okmes1Test)
#include "okmes1_test.moc"
