#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs what is missing, builds in Release, prepares the data directory, compiles the bundled
# example data file into a table and lists it, then starts the window kpxv410. Without a display
# it says so and stops after the listing.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh run
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DKPX_BUILD_TESTS=OFF -DKPX_BUILD_BENCH=OFF
cmake --build build/release -j"$jobs" --target kpx-make kpx-dump kpxv410

# The program keeps its files in $KPX_DRIVE/vokelu (else ~/vokelu) and never creates it.
vokelu=$(scripts/prepare-data-dir.sh)
echo "data directory: $vokelu"

out=build/release/example
mkdir -p "$out"
build/release/tools/kpx-make data/example-words.txt -o "$out/example-words.zd"
build/release/tools/kpx-dump --header --utf8 "$out/example-words.zd"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    cat <<TEXT

No display: neither DISPLAY nor WAYLAND_DISPLAY is set, so there is no screen to show the
window kpxv410 on. The command-line tools do the same work without a window, for example:
    build/release/tools/kpx-make --slot 1      # $vokelu/kpx-ty1.txt into kpx-ty1.zd
    build/release/tools/kpx-make words.txt -o words.zd --order ty
    build/release/tools/kpx-dump --header --utf8 words.zd

沒有顯示器：DISPLAY 和 WAYLAND_DISPLAY 都沒有設定，沒有畫面可以顯示 kpxv410 的視窗。
不開視窗也能用命令列工具 kpx-make（製作對照表）和 kpx-dump（檢查並列出對照表），例如：
    build/release/tools/kpx-make --slot 1
    build/release/tools/kpx-dump --header --utf8 $vokelu/kpx-ty1.zd
TEXT
    exit 0
fi

echo "starting build/release/mainwindow/kpxv410"
exec build/release/mainwindow/kpxv410
