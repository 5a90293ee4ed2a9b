// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QFont>

class QWidget;

// Fonts and sizes of the program's windows. Every size in the window layouts is given in pixels
// of a 96 dpi screen; a screen with another logical resolution gets them scaled.

// Logical dpi / 96 of the screen a widget is on (the primary screen when there is no widget
// or it has no screen yet).
qreal dpiFactor(const QWidget *widget = nullptr);

// A length in 96 dpi pixels, scaled by dpiFactor() and rounded.
int scaledPixels(int pixels, qreal factor);

// The Ming face for Chinese text: 細明體 (MingLiU) where Windows has it, else AR PL UMing TW
// (Debian's fonts-arphic-uming), else any other installed Chinese serif face. The pixel size is
// scaled by the primary screen's dpiFactor().
QFont mingFont(int pixelSize);

// The same face at exactly the given pixel size, for windows that keep their pixel layout.
QFont unscaledMingFont(int pixelSize);

// The plain Latin face: MS Sans Serif where it exists, else the system's sans-serif face; the
// pixel size is scaled by the primary screen's dpiFactor().
QFont sansFont(int pixelSize);
