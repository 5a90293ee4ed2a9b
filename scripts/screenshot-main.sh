#!/bin/sh
# SPDX-License-Identifier: GPL-2.0-or-later
# Runs kpxv410 on an X server of its own (Xvfb) with a sample data file and takes pictures:
#   <build>/shots/main-window.png  the main window
#   <build>/shots/file-menu.png    the same with its File menu open
#   <build>/shots/screen.png       the whole screen
# and copies the first to docs/main-window.png.
# Usage: scripts/screenshot-main.sh [build directory]
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-main"}
shots="$build/shots"

for tool in xvfb-run xdotool /usr/bin/import /usr/bin/convert iconv; do
    command -v "$tool" >/dev/null 2>&1 || { echo "missing: $tool" >&2; exit 1; }
done

cmake -S "$root" -B "$build" -DKPX_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target kpxv410 -j2 >/dev/null
program="$build/mainwindow/kpxv410"
mkdir -p "$shots"

# A drive of its own: the program's directory with one data file and a state file.
drive=$(mktemp -d)
trap 'rm -rf "$drive"' EXIT
mkdir "$drive/vokelu"
iconv -f UTF-8 -t BIG5 >"$drive/vokelu/kpx-ty1.txt" <<'EOF'
// 我的詞庫：頭一欄是輸入碼，第二欄是輸出
#include <c:\vokelu\example.txt>
chhai-thoa	菜單
gi-gian	語言
hak-seng	學生
khoan-oa	看活
dtai-pak	台北
su-chheh	書冊
tai-gi	台語
thian-khi	天氣
EOF
printf '//kpxv4.ini\r\nf=1\r\ns=0\r\n' >"$drive/vokelu/kpxv4.ini"

export KPX_DRIVE="$drive" QT_QPA_PLATFORM=xcb LANG=C.UTF-8 program shots
xvfb-run -a -s '-screen 0 1024x768x24' sh -c '
    "$program" &
    pid=$!
    window=$(xdotool search --sync --onlyvisible --name "^kpxv410 " | head -n 1)
    sleep 1.5
    eval "$(xdotool getwindowgeometry --shell "$window")"
    crop="${WIDTH}x${HEIGHT}+${X}+${Y}"
    /usr/bin/import -window root "$shots/screen.png"
    /usr/bin/convert "$shots/screen.png" -crop "$crop" +repage "$shots/main-window.png"
    # Open the File menu with its mnemonic, as a user would.
    xdotool windowfocus --sync "$window" key alt+f
    sleep 1
    /usr/bin/import -window root "$shots/menu-screen.png"
    /usr/bin/convert "$shots/menu-screen.png" -crop "$crop" +repage "$shots/file-menu.png"
    xdotool key Escape
    kill "$pid"
    wait "$pid" 2>/dev/null || true
'
mkdir -p "$root/docs"
cp "$shots/main-window.png" "$root/docs/main-window.png"
echo "pictures in $shots; docs/main-window.png updated"
