// SPDX-License-Identifier: GPL-2.0-or-later
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QtTest>

#include "dialogs/fonts.h"
#include "tests/dialogs/dialog_test_helpers.h"

class FontsTest : public QObject {
    Q_OBJECT

private slots:
    void factorIsLogicalDpiOver96();
    void scaledPixelsRounds_data();
    void scaledPixelsRounds();
    void mingFontScalesItsPixelSize();
    void mingFontPrefersAMingFace();
    void mingFontHasChineseGlyphs();
    void sansFontScalesItsPixelSize();
};

void FontsTest::factorIsLogicalDpiOver96()
{
    qreal factor = 0;
    QVERIFY(scaleFactorAsConfigured(&factor));
    QCOMPARE(factor, QGuiApplication::primaryScreen()->logicalDotsPerInch() / 96.0);
    QCOMPARE(dpiFactor(nullptr), factor);
}

void FontsTest::scaledPixelsRounds_data()
{
    QTest::addColumn<int>("pixels");
    QTest::addColumn<qreal>("factor");
    QTest::addColumn<int>("expected");
    QTest::newRow("96 dpi") << 533 << 1.0 << 533;
    QTest::newRow("120 dpi") << 75 << 1.25 << 94; // 93.75
    QTest::newRow("144 dpi") << 75 << 1.5 << 113; // 112.5 rounds up
    QTest::newRow("144 dpi even") << 16 << 1.5 << 24;
    QTest::newRow("zero") << 0 << 1.5 << 0;
}

void FontsTest::scaledPixelsRounds()
{
    QFETCH(int, pixels);
    QFETCH(qreal, factor);
    QFETCH(int, expected);
    QCOMPARE(scaledPixels(pixels, factor), expected);
}

void FontsTest::mingFontScalesItsPixelSize()
{
    qreal f = 0;
    QVERIFY(scaleFactorAsConfigured(&f));
    QCOMPARE(mingFont(11).pixelSize(), scaledPixels(11, f));
    QCOMPARE(mingFont(15).pixelSize(), scaledPixels(15, f));
    QCOMPARE(unscaledMingFont(16).pixelSize(), 16);
}

void FontsTest::mingFontPrefersAMingFace()
{
    const QStringList installed = QFontDatabase::families();
    const QStringList preferred = { QStringLiteral(u"細明體"), QStringLiteral("MingLiU"),
        QStringLiteral("AR PL UMing TW"), QStringLiteral("AR PL UMing TW MBE") };
    QString best;
    for (const QString &family : preferred) {
        if (installed.contains(family, Qt::CaseInsensitive)) {
            best = family;
            break;
        }
    }
    if (best.isEmpty())
        QSKIP("No Ming face installed (fonts-arphic-uming gives one)");
    const QFont font = mingFont(16);
    QCOMPARE(font.families().value(0), best);
    QCOMPARE(QFontInfo(font).family(), best);
}

void FontsTest::mingFontHasChineseGlyphs()
{
    if (QFontDatabase::families(QFontDatabase::TraditionalChinese).isEmpty())
        QSKIP("No Chinese font installed");
    // Without a Chinese face the dialogs show empty boxes.
    const QFontMetrics metrics(mingFont(16));
    for (const QChar c : QStringLiteral(u"鷺笙輸入法對照表無愛")) {
        QVERIFY2(metrics.inFont(c), qPrintable(QString(c)));
        QVERIFY(metrics.horizontalAdvance(c) > 0);
    }
}

void FontsTest::sansFontScalesItsPixelSize()
{
    qreal f = 0;
    QVERIFY(scaleFactorAsConfigured(&f));
    const QFont font = sansFont(13);
    QCOMPARE(font.pixelSize(), scaledPixels(13, f));
    QVERIFY(!font.families().isEmpty());
    QVERIFY(QFontMetrics(font).inFont(QLatin1Char('A')));
}

QTEST_MAIN(FontsTest)
#include "fonts_test.moc"
