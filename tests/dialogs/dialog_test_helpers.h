// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <functional>

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "dialogs/fonts.h"

// Result a dialog is closed with when the answering code left it open, so that a failing test
// does not hang in exec().
inline constexpr int kLeftOpen = -100;

// Schedules action to run on the modal dialog once its exec() loop runs. Call it right before
// exec() (or a function that calls it). *seen receives the dialog that was modal.
inline void whenModal(std::function<void(QDialog *)> action, QPointer<QDialog> *seen = nullptr)
{
    QTimer::singleShot(0, qApp, [action = std::move(action), seen] {
        QPointer<QDialog> modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (seen)
            *seen = modal;
        if (!modal)
            return;
        action(modal);
        if (modal && modal->isVisible())
            modal->done(kLeftOpen);
    });
}

// The factor the 96 dpi layouts are scaled by. The suites also run with Qt's own scaling off
// and QT_FONT_DPI=144 (see CMakeLists.txt); there the factor must really be 1.5, so that the
// geometry checks test the scaling and not only the 96 dpi numbers.
inline bool scaleFactorAsConfigured(qreal *factor)
{
    *factor = dpiFactor();
    if (qEnvironmentVariable("QT_ENABLE_HIGHDPI_SCALING") == QLatin1String("0")
        && qEnvironmentVariableIntValue("QT_FONT_DPI") == 144)
        return qFuzzyCompare(*factor, 1.5);
    return *factor > 0;
}

inline QRect scaled(int x, int y, int width, int height, qreal factor)
{
    return QRect(
        scaledPixels(x, factor), scaledPixels(y, factor), scaledPixels(width, factor), scaledPixels(height, factor));
}
