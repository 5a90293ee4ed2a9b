// SPDX-License-Identifier: GPL-2.0-or-later
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include "dialogs/handbook_pages.h"
#include "dialogs/sc_cheh1.h"
#include "tests/dialogs/dialog_test_helpers.h"

namespace {

const QStringList kCaptions = {
    QStringLiteral(u"目錄"),
    QStringLiteral(u"1. 設計原則"),
    QStringLiteral(u"2. 定義"),
    QStringLiteral(u"3. 舉例"),
    QStringLiteral(u"4. 使用建議"),
    QStringLiteral(u"5. 資料若足濟"),
};

QPlainTextEdit *memo(QWidget *handbook, int page)
{
    return handbook->findChild<QPlainTextEdit *>(QStringLiteral("Memo%1").arg(page));
}

QTabWidget *pages(QWidget *handbook)
{
    return handbook->findChild<QTabWidget *>(QStringLiteral("PageControl1"));
}

// Whether text is all Big5 (Windows code page 950, which is what Qt's "Big5" is with ICU).
bool isBig5(const QString &text, QByteArray *bytes = nullptr)
{
    QStringEncoder big5("Big5");
    const QByteArray encoded = big5(text);
    if (bytes)
        *bytes = encoded;
    return big5.isValid() && !big5.hasError();
}

} // namespace

class ScCheh1Test : public QObject {
    Q_OBJECT

private slots:
    void shouldHaveDefaultValues();
    void pagesHaveTheirNamesAndBoxes();
    void textBoxesHaveTheirLooks();
    void allTabsAreVisibleAtTheFirstSize();
    void big5CheckRejectsWhatBig5Lacks();
    void pagesAreBig5_data();
    void pagesAreBig5();
    void contentsListsTheChapters();
    void exampleIncludesTheExampleFile();
    void exampleFileIsBig5WithWindowsLineEnds();
    void muchDataPageShowsIncludeLines();
    void showsWithoutBlocking();
    void reopensWithTheSamePageAndPlace();
    void pagesFollowTheWindowSize();
};

void ScCheh1Test::shouldHaveDefaultValues()
{
    qreal f = 0;
    QVERIFY(scaleFactorAsConfigured(&f));
    TSCCheh1 handbook;
    QCOMPARE(handbook.objectName(), QStringLiteral("SCCheh1"));
    QCOMPARE(handbook.windowTitle(), QStringLiteral(u"使用小手冊"));
    QVERIFY(handbook.isWindow());
    QVERIFY(!handbook.isModal());
    QCOMPARE(handbook.windowModality(), Qt::NonModal);
    QCOMPARE(handbook.geometry(), scaled(121, 91, 533, 427, f));
    QCOMPARE(handbook.font().pixelSize(), scaledPixels(11, f));
    // Sizeable, not fixed.
    QVERIFY(handbook.minimumWidth() < handbook.width());
    QVERIFY(handbook.minimumHeight() < handbook.height());
    QCOMPARE(handbook.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    QVERIFY(!handbook.isVisible());

    QTabWidget *const control = pages(&handbook);
    QVERIFY(control);
    QCOMPARE(control->font().pixelSize(), scaledPixels(15, f));
    QCOMPARE(control->count(), kHandbookPageCount);
    QStringList captions;
    for (int i = 0; i < control->count(); ++i)
        captions << control->tabText(i);
    QCOMPARE(captions, kCaptions);
    QCOMPARE(control->currentIndex(), 0);
}

void ScCheh1Test::pagesHaveTheirNamesAndBoxes()
{
    TSCCheh1 handbook;
    QTabWidget *const control = pages(&handbook);
    for (int page = 1; page <= kHandbookPageCount; ++page) {
        QWidget *const sheet = control->widget(page - 1);
        QCOMPARE(sheet->objectName(), QStringLiteral("TabSheet%1").arg(page));
        QPlainTextEdit *const box = memo(&handbook, page);
        QVERIFY(box);
        QCOMPARE(box->parentWidget(), sheet);
        QCOMPARE(box->toPlainText(), handbookPageText(page));
        QVERIFY(!box->toPlainText().trimmed().isEmpty());
        QCOMPARE(handbookPageCaption(page), kCaptions.at(page - 1));
    }
    QVERIFY(handbookPageText(0).isEmpty());
    QVERIFY(handbookPageText(kHandbookPageCount + 1).isEmpty());
    QVERIFY(handbookPageCaption(0).isEmpty());
}

void ScCheh1Test::textBoxesHaveTheirLooks()
{
    TSCCheh1 handbook;
    QPlainTextEdit *const contents = memo(&handbook, 1);
    QCOMPARE(contents->frameShape(), QFrame::NoFrame);
    QCOMPARE(contents->palette().color(QPalette::Base), contents->palette().color(QPalette::Window));
    QCOMPARE(contents->lineWrapMode(), QPlainTextEdit::WidgetWidth);

    QPlainTextEdit *const design = memo(&handbook, 2);
    QVERIFY(!design->tabChangesFocus());
    QCOMPARE(design->lineWrapMode(), QPlainTextEdit::NoWrap);

    QPlainTextEdit *const definitions = memo(&handbook, 3);
    QVERIFY(definitions->tabChangesFocus());
    QCOMPARE(definitions->lineWrapMode(), QPlainTextEdit::NoWrap);

    for (int page = 4; page <= kHandbookPageCount; ++page) {
        QPlainTextEdit *const box = memo(&handbook, page);
        QCOMPARE(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(box->tabChangesFocus());
        QVERIFY(box->frameShape() != QFrame::NoFrame);
    }
    for (int page = 1; page <= kHandbookPageCount; ++page)
        QCOMPARE(memo(&handbook, page)->font().pixelSize(), pages(&handbook)->font().pixelSize());
}

void ScCheh1Test::allTabsAreVisibleAtTheFirstSize()
{
    TSCCheh1 handbook;
    handbook.show();
    QVERIFY(QTest::qWaitForWindowExposed(&handbook));
    QTabBar *const bar = pages(&handbook)->tabBar();
    const int available = pages(&handbook)->width();
    for (int i = 0; i < bar->count(); ++i)
        QVERIFY2(bar->tabRect(i).right() < available,
            qPrintable(QStringLiteral("tab %1 ends at %2 of %3").arg(i).arg(bar->tabRect(i).right()).arg(available)));
}

void ScCheh1Test::big5CheckRejectsWhatBig5Lacks()
{
    QVERIFY(isBig5(QStringLiteral(u"鷺笙輸入法 資料若足濟 m是 veh 仔")));
    QVERIFY(!isBig5(QStringLiteral(u"ê")));
    QVERIFY(!isBig5(QStringLiteral(u"个")));
    QByteArray bytes;
    QVERIFY(isBig5(QStringLiteral(u"鷺"), &bytes));
    QCOMPARE(bytes.size(), 2);
}

void ScCheh1Test::pagesAreBig5_data()
{
    QTest::addColumn<int>("page");
    for (int page = 1; page <= kHandbookPageCount; ++page)
        QTest::addRow("%s", qPrintable(kCaptions.at(page - 1))) << page;
}

void ScCheh1Test::pagesAreBig5()
{
    QFETCH(int, page);
    const QString text = handbookPageText(page);
    QVERIFY(isBig5(handbookPageCaption(page)));
    if (!isBig5(text)) {
        for (const QChar c : text) {
            if (!isBig5(QString(c)))
                QFAIL(qPrintable(
                    QStringLiteral("not in Big5: %1 (U+%2)").arg(c).arg(c.unicode(), 4, 16, QLatin1Char('0'))));
        }
        QFAIL("not Big5");
    }
}

void ScCheh1Test::contentsListsTheChapters()
{
    const QString contents = handbookPageText(1);
    for (int page = 2; page <= kHandbookPageCount; ++page)
        QVERIFY2(contents.contains(kCaptions.at(page - 1)), qPrintable(kCaptions.at(page - 1)));
    // The remark that the tables do not depend on phonetic input.
    QVERIFY(contents.contains(QStringLiteral(u"倉頡")));
}

void ScCheh1Test::exampleIncludesTheExampleFile()
{
    const QStringList lines = handbookPageText(4).split(QLatin1Char('\n'));
    QVERIFY(lines.contains(QStringLiteral("#include  <c:\\vokelu\\example.txt>")));
    QVERIFY(handbookPageText(4).contains(QStringLiteral(u"< > 會使省略")));
    // The kinds of line the page shows: numbered comments, a one-column line, m// and data
    // lines keyed with m, d and j.
    QVERIFY(lines.first().startsWith(QStringLiteral("// 1.")));
    bool oneColumn = false;
    bool mComment = false;
    QStringList prefixes;
    for (const QString &line : lines) {
        const QStringList columns = line.split(QRegularExpression(QStringLiteral("[ \t]+")), Qt::SkipEmptyParts);
        if (columns.size() == 1 && !line.startsWith(QLatin1String("//")))
            oneColumn = true;
        if (columns.size() >= 2 && columns.first() == QLatin1String("m//"))
            mComment = true;
        if (columns.size() >= 2 && columns.first().size() > 2 && columns.first().at(1) == u'-')
            prefixes << columns.first().left(2);
    }
    QVERIFY(oneColumn);
    QVERIFY(mComment);
    QVERIFY(prefixes.contains(QStringLiteral("m-")));
    QVERIFY(prefixes.contains(QStringLiteral("d-")));
    QVERIFY(prefixes.contains(QStringLiteral("j-")));
}

void ScCheh1Test::exampleFileIsBig5WithWindowsLineEnds()
{
    QFile file(QStringLiteral(KPX_EXAMPLE_INCLUDE_FILE));
    QVERIFY2(file.open(QIODevice::ReadOnly), KPX_EXAMPLE_INCLUDE_FILE);
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
    QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));

    QStringDecoder big5("Big5", QStringConverter::Flag::Stateless);
    const QString text = big5(bytes);
    QVERIFY(!big5.hasError());
    QVERIFY(text.contains(QStringLiteral(u"地名")));

    // What the example page says of it: place names keyed with d. The limits are bytes.
    int entries = 0;
    for (const QByteArray &line : bytes.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith("//"))
            continue;
        const QList<QByteArray> columns = trimmed.simplified().split(' ');
        QVERIFY2(columns.size() >= 2, trimmed.constData());
        QVERIFY2(columns.at(0).startsWith("d-"), trimmed.constData());
        QVERIFY(columns.at(0).size() <= 32);
        QVERIFY(columns.at(1).size() <= 64);
        ++entries;
    }
    QVERIFY(entries >= 3);
}

void ScCheh1Test::muchDataPageShowsIncludeLines()
{
    const QStringList lines = handbookPageText(6).split(QLatin1Char('\n'));
    QVERIFY(lines.contains(QStringLiteral("#include  <c:\\vokelu\\a.txt>")));
    QVERIFY(lines.contains(QStringLiteral("#include  <c:\\vokelu\\b.box>")));
    QVERIFY(handbookPageText(6).contains(QStringLiteral("32K")));
}

void ScCheh1Test::showsWithoutBlocking()
{
    QWidget mainWindow;
    auto *const editor = new QLineEdit(&mainWindow);
    mainWindow.show();
    TSCCheh1 handbook;
    handbook.showHandbook(); // returns at once: no event loop of its own
    QVERIFY(handbook.isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(&handbook));
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QCOMPARE(pages(&handbook)->currentIndex(), 0);
    // The main window still takes input.
    QVERIFY(mainWindow.isEnabled());
    editor->setFocus();
    QTest::keyClicks(editor, QStringLiteral("kpx"));
    QCOMPARE(editor->text(), QStringLiteral("kpx"));
    QVERIFY(handbook.isVisible());
    // Esc on a page closes it; the main window stays.
    QTest::keyClick(memo(&handbook, 4), Qt::Key_Escape);
    QVERIFY(!handbook.isVisible());
    QVERIFY(mainWindow.isVisible());
}

void ScCheh1Test::reopensWithTheSamePageAndPlace()
{
    TSCCheh1 handbook;
    handbook.showHandbook();
    QVERIFY(QTest::qWaitForWindowExposed(&handbook));
    pages(&handbook)->setCurrentIndex(3);
    handbook.move(handbook.pos() + QPoint(20, 10));
    const QPoint place = handbook.pos();
    QVERIFY(handbook.close());
    QVERIFY(!handbook.isVisible());
    handbook.showHandbook();
    QVERIFY(handbook.isVisible());
    QCOMPARE(pages(&handbook)->currentIndex(), 3);
    QCOMPARE(handbook.pos(), place);
    // Asked again while open: still one window, same page.
    handbook.showHandbook();
    QCOMPARE(pages(&handbook)->currentIndex(), 3);
    QVERIFY(handbook.isVisible());
}

void ScCheh1Test::pagesFollowTheWindowSize()
{
    TSCCheh1 handbook;
    handbook.showHandbook();
    QVERIFY(QTest::qWaitForWindowExposed(&handbook));
    const QSize before = memo(&handbook, 1)->size();
    handbook.resize(handbook.width() + 200, handbook.height() + 150);
    QTRY_COMPARE(pages(&handbook)->size(), handbook.size());
    QPlainTextEdit *const box = memo(&handbook, 1);
    QCOMPARE(box->size(), before + QSize(200, 150));
    QCOMPARE(box->size(), box->parentWidget()->size());
    // A page shown after the resize has the new size too.
    pages(&handbook)->setCurrentIndex(4);
    QTRY_COMPARE(memo(&handbook, 5)->size(), box->size());
}

QTEST_MAIN(ScCheh1Test)
#include "sc_cheh1_test.moc"
