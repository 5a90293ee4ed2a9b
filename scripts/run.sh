#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs what is missing, builds in Release, and runs the program's main job: compiles the
# bundled example data file into a table and lists it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh run
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DKPX_BUILD_TESTS=OFF -DKPX_BUILD_BENCH=OFF
cmake --build build/release -j"$jobs" --target kpx-make kpx-dump

out=build/release/example
mkdir -p "$out"
build/release/tools/kpx-make data/example-words.txt -o "$out/example-words.zd"
build/release/tools/kpx-dump --header "$out/example-words.zd"
