// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/fonts.h"

#include <cmath>

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QWidget>

namespace {

constexpr qreal kDesignDpi = 96.0;

// Families in the order of preference; the first installed one leads the list so that the
// font matcher does not settle for a Latin face without Chinese glyphs.
QStringList mingFamilies()
{
    static const QStringList preferred { QStringLiteral(u"細明體"), QStringLiteral("MingLiU"),
        QStringLiteral("AR PL UMing TW"), QStringLiteral("AR PL UMing TW MBE") };
    const QStringList installed = QFontDatabase::families();
    QStringList families;
    for (const QString &family : preferred) {
        if (installed.contains(family, Qt::CaseInsensitive))
            families << family;
    }
    if (!families.isEmpty())
        return families;

    // Any other Chinese face, a Ming (serif) one first.
    const QStringList chinese = QFontDatabase::families(QFontDatabase::TraditionalChinese);
    for (const QString &family : chinese) {
        if (family.contains(QLatin1String("Ming"), Qt::CaseInsensitive)
            || family.contains(QLatin1String("Serif"), Qt::CaseInsensitive)
            || family.contains(QLatin1String("Song"), Qt::CaseInsensitive)) {
            families << family;
            break;
        }
    }
    if (families.isEmpty() && !chinese.isEmpty())
        families << chinese.first();
    // Keep the names for a system that installs the fonts later under an alias.
    families << preferred;
    return families;
}

QFont makeMing(int pixelSize)
{
    QFont font;
    font.setFamilies(mingFamilies());
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(pixelSize > 0 ? pixelSize : 1);
    return font;
}

} // namespace

qreal dpiFactor(const QWidget *widget)
{
    const QScreen *screen = widget ? widget->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 1.0;
    const qreal dpi = screen->logicalDotsPerInch();
    return dpi > 0 ? dpi / kDesignDpi : 1.0;
}

int scaledPixels(int pixels, qreal factor)
{
    return static_cast<int>(std::lround(pixels * factor));
}

QFont mingFont(int pixelSize)
{
    return makeMing(scaledPixels(pixelSize, dpiFactor()));
}

QFont unscaledMingFont(int pixelSize)
{
    return makeMing(pixelSize);
}

QFont sansFont(int pixelSize)
{
    QFont font;
    QStringList families;
    if (QFontDatabase::families().contains(QStringLiteral("MS Sans Serif"), Qt::CaseInsensitive))
        families << QStringLiteral("MS Sans Serif");
    families << QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    const int size = scaledPixels(pixelSize, dpiFactor());
    font.setPixelSize(size > 0 ? size : 1);
    return font;
}
