#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the fuzz targets with clang and runs each for a while (default 30 seconds each).
# Usage: scripts/fuzz.sh [SECONDS]   — longer runs: scripts/fuzz.sh 3600
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
build=build/fuzz
jobs=$(nproc 2>/dev/null || echo 2)

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKPX_FUZZ=ON \
  -DKPX_BUILD_GUI=OFF -DKPX_BUILD_TESTS=OFF -DKPX_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$jobs"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for target in compiler line_reader table_reader big5 keyed_store exchange; do
  binary="$build/tests/fuzz/fuzz_$target"
  if [ ! -x "$binary" ]; then
    echo "fuzz_$target: not built"; status=1; continue
  fi
  # Work on a copy of the seeds, so that the committed corpus stays small.
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  cp -n tests/fuzz/corpus/"$target"/* "$corpus"/ 2>/dev/null || true
  log="$build/fuzz_$target.log"
  if "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
       -artifact_prefix="$build/crash-$target-" "$corpus" >"$log" 2>&1; then
    runs=$(grep -Eo 'Done [0-9]+ runs' "$log" | grep -Eo '[0-9]+' || echo '?')
    echo "fuzz_$target: $runs executions, no failure"
  else
    echo "fuzz_$target: FAILED (see $log)"; tail -n 30 "$log"; status=1
  fi
done
exit $status
