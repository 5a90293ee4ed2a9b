// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/dialog_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "dialogs/fonts.h"

QRect scaledRect(int x, int y, int width, int height, qreal factor)
{
    return QRect(
        scaledPixels(x, factor), scaledPixels(y, factor), scaledPixels(width, factor), scaledPixels(height, factor));
}

void centreOnScreen(QWidget *window)
{
    QScreen *screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void bringToFront(QWidget *window)
{
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
}
