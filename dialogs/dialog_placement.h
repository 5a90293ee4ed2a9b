// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QRect>

class QWidget;

// Shared helpers for the dialogs' fixed pixel layouts.

// A rectangle given in 96 dpi pixels, scaled by factor.
QRect scaledRect(int x, int y, int width, int height, qreal factor);

// Centres a top-level window on the screen it is on (the primary screen by default), not on
// its parent: the dialogs stand in the middle of the screen whichever window opened them.
void centreOnScreen(QWidget *window);

// Shows a window that may be hidden or minimised and brings it in front of the others.
void bringToFront(QWidget *window);
