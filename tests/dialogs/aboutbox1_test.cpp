// SPDX-License-Identifier: GPL-2.0-or-later
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStringEncoder>
#include <QtTest>

#include "dialogs/aboutbox1.h"
#include "dialogs/dialog_resources.h"
#include "tests/dialogs/dialog_test_helpers.h"

class Aboutbox1Test : public QObject {
    Q_OBJECT

private slots:
    void shouldHaveDefaultValues();
    void labelsAreInPlaceAndWhole_data();
    void labelsAreInPlaceAndWhole();
    void contactDetailsAreFictional();
    void programIconHasBothSizes();
    void showsModallyUntilOk();
    void enterAndCloseBoxCloseIt();
};

void Aboutbox1Test::shouldHaveDefaultValues()
{
    qreal f = 0;
    QVERIFY(scaleFactorAsConfigured(&f));
    Taboutbox1 box;
    QCOMPARE(box.objectName(), QStringLiteral("aboutbox1"));
    QCOMPARE(box.windowTitle(), QStringLiteral("kpxv410.exe"));
    QCOMPARE(box.size(), QSize(scaledPixels(379, f), scaledPixels(213, f)));
    QCOMPARE(box.minimumSize(), box.maximumSize());
    QCOMPARE(box.font().pixelSize(), scaledPixels(11, f));

    auto *const panel = box.findChild<QFrame *>(QStringLiteral("Panel1"));
    QVERIFY(panel);
    QCOMPARE(panel->geometry(), scaled(8, 16, 353, 161, f));
    QCOMPARE(panel->frameShadow(), QFrame::Sunken);

    auto *const icon = box.findChild<QLabel *>(QStringLiteral("ProgramIcon"));
    QVERIFY(icon);
    QCOMPARE(icon->parentWidget(), panel);
    QCOMPARE(icon->geometry(), scaled(8, 8, 65, 57, f));
    QVERIFY(icon->hasScaledContents());
    QVERIFY(!icon->pixmap().isNull());

    QCOMPARE(box.findChild<QLabel *>(QStringLiteral("ProductName"))->text(),
        QStringLiteral(u"鷺笙輸入法 對照表輸入 詞庫製作 程式"));
    QCOMPARE(box.findChild<QLabel *>(QStringLiteral("Version"))->text(), QStringLiteral("Version 4.10"));
    auto *const comments = box.findChild<QLabel *>(QStringLiteral("Comments"));
    QCOMPARE(comments->text(), QStringLiteral(u"聯絡"));
    QVERIFY(comments->wordWrap());

    auto *const ok = box.findChild<QPushButton *>(QStringLiteral("OKButton"));
    QVERIFY(ok);
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(ok->geometry(), scaled(151, 180, 75, 25, f));
    QVERIFY(ok->isDefault());
}

void Aboutbox1Test::labelsAreInPlaceAndWhole_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("place");
    QTest::newRow("ProductName") << QStringLiteral("ProductName") << QPoint(88, 16);
    QTest::newRow("Version") << QStringLiteral("Version") << QPoint(88, 40);
    QTest::newRow("Comments") << QStringLiteral("Comments") << QPoint(8, 96);
    QTest::newRow("Label1") << QStringLiteral("Label1") << QPoint(80, 96);
    QTest::newRow("Label2") << QStringLiteral("Label2") << QPoint(80, 112);
    QTest::newRow("Label3") << QStringLiteral("Label3") << QPoint(176, 96);
    QTest::newRow("Label4") << QStringLiteral("Label4") << QPoint(80, 136);
}

void Aboutbox1Test::labelsAreInPlaceAndWhole()
{
    QFETCH(QString, name);
    QFETCH(QPoint, place);
    qreal f = 0;
    QVERIFY(scaleFactorAsConfigured(&f));
    Taboutbox1 box;
    auto *const panel = box.findChild<QFrame *>(QStringLiteral("Panel1"));
    auto *const label = box.findChild<QLabel *>(name);
    QVERIFY(label);
    QCOMPARE(label->parentWidget(), panel);
    QCOMPARE(label->pos(), QPoint(scaledPixels(place.x(), f), scaledPixels(place.y(), f)));
    QVERIFY(!label->text().isEmpty());
    QVERIFY(QStringEncoder("Big5").isValid());
    QStringEncoder big5("Big5");
    const QByteArray bytes = big5(label->text());
    QVERIFY2(!big5.hasError(), qPrintable(label->text()));
    // Nothing cut off: the label is as wide as its text and ends inside the panel's frame.
    QVERIFY(label->width() >= label->sizeHint().width());
    QVERIFY2(panel->contentsRect().contains(label->geometry()),
        qPrintable(QStringLiteral("%1 right %2").arg(name).arg(label->geometry().right())));
}

void Aboutbox1Test::contactDetailsAreFictional()
{
    Taboutbox1 box;
    const QString publisher = box.findChild<QLabel *>(QStringLiteral("Label1"))->text();
    const QString secondFirm = box.findChild<QLabel *>(QStringLiteral("Label4"))->text();
    QVERIFY(publisher.contains(QStringLiteral(u"虛構")));
    QVERIFY(secondFirm.contains(QStringLiteral(u"虛構")));
    // Telephone numbers made of zeros only.
    const QRegularExpression number(QStringLiteral("\\d[\\d-]{5,}"));
    for (const char *name : { "Label3", "Label4" }) {
        const QString text = box.findChild<QLabel *>(QLatin1String(name))->text();
        auto it = number.globalMatch(text);
        QVERIFY2(it.hasNext(), name);
        while (it.hasNext()) {
            const QString digits = it.next().captured().remove(QLatin1Char('-'));
            QVERIFY2(digits.count(QLatin1Char('0')) >= digits.size() - 1, qPrintable(text));
        }
    }
}

void Aboutbox1Test::programIconHasBothSizes()
{
    const QIcon icon = programIcon();
    QVERIFY(!icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    QVERIFY(sizes.contains(QSize(64, 64)));
    QVERIFY(sizes.contains(QSize(256, 256)));
    QCOMPARE(QImage(QString::fromLatin1(kProgramIconPath)).size(), QSize(64, 64));
}

void Aboutbox1Test::showsModallyUntilOk()
{
    Taboutbox1 box;
    QPointer<QDialog> seen;
    QWidget *focus = nullptr;
    whenModal(
        [&](QDialog *d) {
            focus = d->focusWidget();
            d->findChild<QPushButton *>(QStringLiteral("OKButton"))->click();
        },
        &seen);
    QCOMPARE(box.exec(), Taboutbox1::kResultOk);
    QCOMPARE(seen.data(), &box);
    QCOMPARE(focus, box.findChild<QPushButton *>(QStringLiteral("OKButton")));
}

void Aboutbox1Test::enterAndCloseBoxCloseIt()
{
    Taboutbox1 box;
    whenModal([](QDialog *d) {
        QVERIFY(d->focusWidget());
        QTest::keyClick(d->focusWidget(), Qt::Key_Return);
    });
    QCOMPARE(box.exec(), Taboutbox1::kResultOk);
    whenModal([](QDialog *d) { d->close(); });
    QCOMPARE(box.exec(), int(QDialog::Rejected));
}

QTEST_MAIN(Aboutbox1Test)
#include "aboutbox1_test.moc"
