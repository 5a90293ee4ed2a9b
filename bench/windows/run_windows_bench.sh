#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Times the Windows program under Wine, in an X server of its own, on generated data files of
# 10,000 and 100,000 lines:
#   load  - switching the real window to a slot whose data file has N lines, against a bare
#           program that puts the same text into an EDIT control with one SetWindowTextW;
#   make  - the window's table run (Jejok, no notice) on those lines, against kpx-make.exe on the
#           same file (whole process; an empty start of kpx-make.exe is given too);
#   memory - the window's peak private memory before the load, after it and after the table run,
#           and the growth per byte of the data file (the data file size limit rests on it).
# Prints the median of R runs and the ratios.
# Usage: bench/windows/run_windows_bench.sh [--runs R] [--sizes N,N]
set -euo pipefail
cd "$(dirname "$0")/../.."

runs=3
sizes=10000,100000
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --sizes) sizes=$2; shift 2 ;;
    *) sed -n '3,11p' "$0"; exit 2 ;;
  esac
done

# shellcheck source=scripts/wine-env.sh
. scripts/wine-env.sh
kpx_install_missing cmake make g++ xvfb xauth openbox fonts-arphic-uming

tree=build/windows-bench-$windows_arch
host=build/windows-bench-host
cmake -S . -B "$tree" -DCMAKE_TOOLCHAIN_FILE="$PWD/$windows_toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DKPX_BUILD_GUI=OFF -DKPX_BUILD_TESTS=OFF -DKPX_BUILD_BENCH=ON >/dev/null
cmake --build "$tree" -j2 --target kpx-bench-bare-edit kpx-bench-window kpx-make >/dev/null
# The generator runs on the build machine.
cmake -S . -B "$host" -DCMAKE_BUILD_TYPE=Release -DKPX_BUILD_GUI=OFF -DKPX_BUILD_TESTS=OFF \
  -DKPX_BUILD_BENCH=ON >/dev/null
cmake --build "$host" -j2 --target kpx-bench-gen >/dev/null

work=$PWD/$tree/run
rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX=$work/wineprefix
"$wineserver_program" -k >/dev/null 2>&1 || true
"$wine_program" wineboot -i >/dev/null 2>&1 </dev/null
kpx_wine_link_chinese_fonts
"$wineserver_program" -w

xvfb_pid=''
openbox_pid=''
cleanup() {
  "$wineserver_program" -k >/dev/null 2>&1 || true
  for pid in $openbox_pid $xvfb_pid; do
    kill "$pid" 2>/dev/null || true
  done
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do grep -qs '^[0-9]' "$work/display" && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")"
openbox >/dev/null 2>&1 &
openbox_pid=$!
"$wineserver_program" -p
"$wine_program" cmd /c exit >/dev/null 2>&1 </dev/null

vokelu=$WINEPREFIX/drive_c/vokelu
mkdir -p "$vokelu"

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
value() { sed -n "s/^$1 //p" "$2"; }
now_ms() { date +%s%3N; }

printf '%-8s %10s %10s %7s %12s %12s %12s %7s\n' lines bare_ms load_ms ratio make_exe_ms exe_start_ms jejok_ms ratio
memory=()
IFS=, read -r -a size_list <<<"$sizes"
for lines in "${size_list[@]}"; do
  data=$work/data-$lines.txt
  "$host/bench/kpx-bench-gen" "$lines" 1 "$data" >/dev/null
  cp "$data" "$vokelu/kpx-ty2.txt"
  bare=() load=() make=() exe=() start=()
  for _ in $(seq "$runs"); do
    "$wine_program" "$tree/bench/windows/kpx-bench-bare-edit.exe" "Z:$data" "Z:$work/bare.txt" </dev/null >/dev/null 2>&1
    bare+=("$(value set_text_ms "$work/bare.txt")")
    rm -f "$vokelu/kpxv4.ini"
    "$wine_program" "$tree/bench/windows/kpx-bench-window.exe" "Z:$work/window.txt" </dev/null >/dev/null 2>&1
    load+=("$(value load_ms "$work/window.txt")")
    make+=("$(value make_ms "$work/window.txt")")
    t0=$(now_ms)
    "$wine_program" "$tree/tools/kpx-make.exe" 'C:\vokelu\kpx-ty2.txt' -o "Z:$work/reference.zd" --order ty \
      </dev/null >/dev/null 2>&1
    t1=$(now_ms)
    "$wine_program" "$tree/tools/kpx-make.exe" --help </dev/null >/dev/null 2>&1 || true
    t2=$(now_ms)
    exe+=("$((t1 - t0))")
    start+=("$((t2 - t1))")
  done
  cmp -s "$vokelu/kpx-ty2.zd" "$work/reference.zd" || echo "WARNING: the window's table differs from kpx-make.exe's"
  b=$(printf '%s\n' "${bare[@]}" | median)
  l=$(printf '%s\n' "${load[@]}" | median)
  m=$(printf '%s\n' "${make[@]}" | median)
  e=$(printf '%s\n' "${exe[@]}" | median)
  s=$(printf '%s\n' "${start[@]}" | median)
  size=$(stat -c %s "$data")
  base=$(value base_peak "$work/window.txt")
  peak=$(value make_peak "$work/window.txt")
  memory+=("$(printf '%-8s %10s %12s %12s %12s %8.2f' "$lines" "$size" "$base" "$(value load_peak "$work/window.txt")" \
    "$peak" "$(awk -v p="$peak" -v b="$base" -v s="$size" 'BEGIN { print (p - b) / s }')")")
  printf '%-8s %10s %10s %7.2f %12s %12s %12s %7.2f\n' "$lines" "$b" "$l" "$(awk -v a="$l" -v b="$b" 'BEGIN { print a / b }')" \
    "$e" "$s" "$m" "$(awk -v a="$m" -v b="$e" 'BEGIN { print a / b }')"
done
echo
echo "peak private memory of the window, bytes (growth per data-file byte):"
printf '%-8s %10s %12s %12s %12s %8s\n' lines file base after_load after_make growth
printf '%s\n' "${memory[@]}"
