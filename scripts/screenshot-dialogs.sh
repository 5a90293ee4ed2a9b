#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds kpx_dialog_shots and saves a picture of every dialog and handbook page:
#   build-dialogs/shots/offscreen/*.png  the windows' own content (QWidget::grab, offscreen)
#   build-dialogs/shots/xvfb/*.png       the same on an X server (Xvfb), when xvfb-run exists
#   build-dialogs/shots/dpi144/*.png     offscreen at 144 dpi with Qt's own scaling off, so that
#                                        the dialogs scale their 96 dpi layouts themselves
# Usage: scripts/screenshot-dialogs.sh [build directory]
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-dialogs"}
shots="$build/shots"

cmake -S "$root" -B "$build" -DKPX_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target kpx_dialog_shots -j2 >/dev/null
viewer="$build/tests/dialogs/kpx_dialog_shots"

QT_QPA_PLATFORM=offscreen "$viewer" "$shots/offscreen"
QT_QPA_PLATFORM=offscreen QT_ENABLE_HIGHDPI_SCALING=0 QT_FONT_DPI=144 "$viewer" "$shots/dpi144"
if command -v xvfb-run >/dev/null 2>&1; then
    QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 1024x768x24' "$viewer" "$shots/xvfb"
fi
