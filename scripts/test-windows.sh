#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the Qt-free core and the command-line tools for 32-bit Windows (MinGW-w64; 64-bit where
# the machine cannot run 32-bit programs, see scripts/wine-env.sh), runs their
# tests under Wine, and checks that kpx-make.exe writes the same table bytes as the Linux build
# (also through Chinese file names, in data and on the command line); checks the 32-bit kpxv410.exe's imports and header
# statically (scripts/check-windows-exe.sh) and runs the i386 thunk that calls hvmrk.dll under
# qemu-i386-static; then runs the Windows program and its installer under Wine
# (scripts/test-windows-window.sh).
# Installs the cross compiler and Wine when they are missing.
# Usage: scripts/test-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-win32
jobs=2
# Debian's GoogleTest sources (package googletest), built with the cross compiler.
gtest_source=${KPX_GTEST_SOURCE_DIR:-/usr/src/googletest}

# --- Install what is missing --------------------------------------------------------------

install_started=$SECONDS
# shellcheck source=scripts/wine-env.sh
. scripts/wine-env.sh
kpx_install_missing cmake make googletest
echo "Packages checked in $((SECONDS - install_started)) s"
if [ "$windows_arch" = x86_64 ]; then
  build=build-win64
fi

# --- Wine: a private prefix, created only now that every Wine package is in place ----------

export WINEPREFIX="$PWD/$build/wineprefix"
unset DISPLAY
mkdir -p "$build"
# The window's behaviour tests keep the program's files (\vokelu on the system drive) on a drive
# of their own, K:, a scratch directory here, never on the prefix's C:.
test_drive="$PWD/$build/test-drive"
rm -rf "$test_drive"
mkdir -p "$test_drive"
export KPX_TEST_DRIVE=K
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine_program" wineboot -i >/dev/null 2>&1 </dev/null
fi
# A persistent server started here, so that the first test does not leave one behind that holds
# ctest's output pipe open (ctest then waits for it forever). wineboot leaves its server running
# for a moment, and an earlier run may have left one: stop either first, since a second server
# cannot start while one runs.
"$wineserver_program" -k >/dev/null 2>&1 || true
"$wineserver_program" -w
trap '"$wineserver_program" -k >/dev/null 2>&1 || true' EXIT
ln -sfn "$test_drive" "$WINEPREFIX/dosdevices/k:"
"$wineserver_program" -p
"$wine_program" cmd /c exit >/dev/null 2>&1 </dev/null

# --- Build and test -----------------------------------------------------------------------

cmake -S . -B "$build" \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/$windows_toolchain" \
  -DCMAKE_BUILD_TYPE=Release \
  -DKPX_BUILD_GUI=OFF -DKPX_BUILD_BENCH=OFF -DKPX_BUILD_TESTS=ON \
  -DKPX_GTEST_SOURCE_DIR="$gtest_source"
cmake --build "$build" -j"$jobs"
# The table check below runs even when a test failed; the script fails at the end then.
tests_status=0
# Now and then a test program under Wine prints its result and then never exits, or ends with no
# output at all; a test that fails is run again, up to three times in all.
ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 120 --repeat until-pass:3 || tests_status=$?

# --- Byte identity of the tables with the Linux build --------------------------------------

# The Linux kpx-make, built beside the Windows one, is the reference.
scripts/install-deps.sh run
host_build=$build/host
cmake -S . -B "$host_build" -DCMAKE_BUILD_TYPE=Release \
  -DKPX_BUILD_GUI=OFF -DKPX_BUILD_TESTS=OFF -DKPX_BUILD_BENCH=OFF >/dev/null
cmake --build "$host_build" -j"$jobs" --target kpx-make >/dev/null
linux_make=$PWD/$host_build/tools/kpx-make
windows_make=$PWD/$build/tools/kpx-make.exe

compare_dir=$build/byte-identity
checked=0
failed=0

same_bytes() { # expected actual label
  if cmp -s "$1" "$2"; then
    checked=$((checked + 1))
  else
    echo "DIFFERENT: $3 ($1 vs $2)"
    failed=$((failed + 1))
  fi
}

# check DATAFILE ORDER [EXPECTED [TABLE]]: both programs run in their own copy of tests/data
# (where include lines and "o=" paths resolve, as for the golden tables) with "-o out.zd"; the
# table written (TABLE, out.zd unless an "o=" line sends it elsewhere) must be the same bytes
# from both, and the same as tests/data/EXPECTED when given.
check() {
  local data=$1 order=$2 expected=${3:-} table=${4:-out.zd} side
  for side in linux windows; do
    rm -rf "${compare_dir:?}/$side"
    mkdir -p "$compare_dir/$side"
    cp -R tests/data/. data/example-words.txt "$compare_dir/$side/"
  done
  (cd "$compare_dir/linux" && "$linux_make" "$data" -o out.zd --order "$order" >/dev/null) || true
  (cd "$compare_dir/windows" &&
    "$wine_program" "$windows_make" "$data" -o out.zd --order "$order" </dev/null >/dev/null) || true
  same_bytes "$compare_dir/linux/$table" "$compare_dir/windows/$table" \
    "$data --order $order: Linux and Windows"
  if [ -n "$expected" ]; then
    same_bytes "tests/data/$expected" "$compare_dir/windows/$table" "$data --order $order: $expected"
  fi
}

for order in ty py ib; do
  check example-words.txt "$order"
  if [ -f tests/data/words.txt ]; then
    check words.txt "$order" "words.$order.expected.zd"
    check big.txt "$order" "big.$order.expected.zd"
  fi
done
# A table for standard output is made in the system's temporary directory first, then copied.
if [ -f tests/data/words.txt ]; then
  (cd "$compare_dir/windows" &&
    "$wine_program" "$windows_make" words.txt -o - --order ty </dev/null >piped.zd 2>/dev/null) || true
  same_bytes tests/data/words.ty.expected.zd "$compare_dir/windows/piped.zd" "words.txt -o -: the table on standard output"
fi
if [ -f tests/data/worked_example.txt ]; then
  check worked_example.txt ty worked_example.expected.zd
  check includes.txt ty includes.expected.zd
  check override.txt py override.expected.zd override_out.zd
fi

# Chinese file names, whatever the system's code page: an include line and an "o=" line naming
# files in Big5 (台灣.txt, 輸出.zd). Wine names them in UTF-8 on the Linux side, the Linux
# program in Big5; the Windows program runs with a code page other than 950 (the C.UTF-8 locale).
echo "Wine's ANSI code page: $("$wine_program" reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP \
  </dev/null 2>/dev/null | tr -d '\r' | awk '$1 == "ACP" { print $3 }')"
for side in linux windows; do
  rm -rf "${compare_dir:?}/big5-$side"
  mkdir -p "$compare_dir/big5-$side"
  printf 'main1 \xa4\x40\r\n#include <\xa5\x78\xc6\x57.txt>\r\n#include <o=\xbf\xe9\xa5\x58.zd>\r\n' \
    >"$compare_dir/big5-$side/data.txt"
done
printf 'tai-oan \xa5\x78\xc6\x57\r\n' >"$compare_dir/big5-linux/"$'\xa5\x78\xc6\x57.txt'
printf 'tai-oan \xa5\x78\xc6\x57\r\n' >"$compare_dir/big5-windows/台灣.txt"
(cd "$compare_dir/big5-linux" && "$linux_make" data.txt -o out.zd --order ty >/dev/null) || true
(cd "$compare_dir/big5-windows" &&
  LC_ALL=C.UTF-8 "$wine_program" "$windows_make" data.txt -o out.zd --order ty </dev/null >/dev/null) || true
if grep -q tai-oan "$compare_dir/big5-linux/"$'\xbf\xe9\xa5\x58.zd' 2>/dev/null; then
  same_bytes "$compare_dir/big5-linux/"$'\xbf\xe9\xa5\x58.zd' "$compare_dir/big5-windows/輸出.zd" \
    "a Big5-named include file and o= table"
else
  echo "DIFFERENT: the Linux program did not read the Big5-named include file"
  failed=$((failed + 1))
fi

# The same names typed on the command line: the data file 台灣.txt and the table -o 輸出.zd reach
# the Windows program as the system's UTF-16, not through the C runtime's code page 1252.
for side in linux windows; do
  rm -rf "${compare_dir:?}/args-$side"
  mkdir -p "$compare_dir/args-$side"
done
printf 'tai-oan \xa5\x78\xc6\x57\r\nmain1 \xa4\x40\r\n' >"$compare_dir/args-linux/"$'\xa5\x78\xc6\x57.txt'
cp "$compare_dir/args-linux/"$'\xa5\x78\xc6\x57.txt' "$compare_dir/args-windows/台灣.txt"
(cd "$compare_dir/args-linux" && "$linux_make" $'\xa5\x78\xc6\x57.txt' -o $'\xbf\xe9\xa5\x58.zd' >/dev/null) || true
(cd "$compare_dir/args-windows" &&
  LC_ALL=C.UTF-8 "$wine_program" "$windows_make" 台灣.txt -o 輸出.zd </dev/null >/dev/null) || true
if [ -s "$compare_dir/args-linux/"$'\xbf\xe9\xa5\x58.zd' ]; then
  same_bytes "$compare_dir/args-linux/"$'\xbf\xe9\xa5\x58.zd' "$compare_dir/args-windows/輸出.zd" \
    "Chinese data file and table names on the command line"
else
  echo "DIFFERENT: the Linux program wrote no table from the Big5-named data file"
  failed=$((failed + 1))
fi
# A name with a character that has no Big5 form names no file of the program's: refused, named.
refused_status=0
refused_message=$(cd "$compare_dir/args-windows" &&
  LC_ALL=C.UTF-8 "$wine_program" "$windows_make" café.txt -o out.zd </dev/null 2>&1 >/dev/null) || refused_status=$?
if [ "$refused_status" -eq 2 ] && [[ $refused_message == *"argument 1 'caf<U+00E9>.txt'"* ]]; then
  checked=$((checked + 1))
else
  echo "DIFFERENT: an argument without a Big5 form gave status $refused_status: $refused_message"
  failed=$((failed + 1))
fi

echo "Byte identity: $checked passed, $failed failed"

# --- The tools' messages on a console and redirected ----------------------------------------

# Under Wine a program has a console only when it runs on a terminal: script(1) gives it one,
# which Wine shows in the terminal's UTF-8. The console's code page is 437 here, not 950, so
# only text written as UTF-16 comes out right; Big5 or UTF-8 bytes would come out garbled.
console_checked=0
console_failed=0
console_check() { # label, then a command that succeeds when the check holds
  local label=$1
  shift
  if "$@"; then
    console_checked=$((console_checked + 1))
  else
    echo "CONSOLE: $label"
    console_failed=$((console_failed + 1))
  fi
}
on_console() { # directory, then the Windows command; prints what the console showed
  local directory=$1
  shift
  # Wine's terminal console hides and shows the cursor around what it writes.
  (cd "$directory" && LC_ALL=C.UTF-8 SHELL=/bin/bash script -qec "$(printf '%q ' "$wine_program" "$@")" /dev/null </dev/null 2>&1 |
    sed -e $'s/\e\\[?25[lh]//g' | tr -d '\r') || true # a tool that fails still showed its words
}
console_dir=$compare_dir/console
windows_dump=$PWD/$build/tools/kpx-dump.exe
rm -rf "$console_dir"
mkdir -p "$console_dir"
printf 'tai-oan \xa5\x78\xc6\x57\r\nlonely\r\n' >"$console_dir/台灣.txt"
console_check "the console tests, on a console" env KPX_TEST_CONSOLE=1 LC_ALL=C.UTF-8 SHELL=/bin/bash \
  script -qec "$(printf '%q ' "$wine_program" "$PWD/$build/tests/platform/standard_streams_tests.exe")" /dev/null \
  </dev/null >/dev/null 2>&1
console_made=$(on_console "$console_dir" "$windows_make" 台灣.txt -o 輸出.zd)
console_check "kpx-make's messages on the console: $console_made" \
  grep -qx '台灣.txt:2: only one column: no output text' <<<"$console_made"
console_dumped=$(on_console "$console_dir" "$windows_dump" 輸出.zd)
# The console turns the TAB into blanks.
console_check "kpx-dump's entries on the console: $console_dumped" grep -qE '^tai-oan[[:space:]]+台灣$' <<<"$console_dumped"
console_missing=$(on_console "$console_dir" "$windows_make" 無.txt -o x.zd)
console_check "a missing data file on the console: $console_missing" \
  grep -q '^kpx-make: cannot read data file 無.txt: .' <<<"$console_missing"
# Redirected: messages in UTF-8, entries in the table's Big5.
(cd "$console_dir" && LC_ALL=C.UTF-8 "$wine_program" "$windows_make" 台灣.txt -o 輸出.zd </dev/null >made.out 2>made.err) || true
console_check "kpx-make's messages redirected: $(cat "$console_dir/made.err")" \
  grep -qx $'台灣.txt:2: only one column: no output text\r\\?' "$console_dir/made.err"
(cd "$console_dir" && "$wine_program" "$windows_dump" 輸出.zd </dev/null >dumped.out 2>/dev/null) || true
console_check "kpx-dump redirected keeps the Big5 bytes" cmp -s "$console_dir/dumped.out" <(printf 'tai-oan\t\xa5\x78\xc6\x57\n')
for tool in kpx-make kpx-dump kpx-convert; do
  help_text=$("$wine_program" "$PWD/$build/tools/$tool.exe" --help </dev/null 2>&1 | tr -d '\r')
  console_check "$tool --help speaks of Windows and of UTF-8 when redirected" \
    bash -c '[[ $1 == *"written to a file or pipe, they are UTF-8"* && $1 != *KPX_DRIVE* && $1 != *HOME* ]]' _ "$help_text"
done
echo "Console and redirected output: $console_checked passed, $console_failed failed"
failed=$((failed + console_failed))

# --- The 32-bit program: its imports and header (these checks need no 32-bit Windows) ---------

static_status=0
scripts/build-windows.sh --arch i686 --out build/windows >/dev/null
scripts/check-windows-exe.sh build/windows/kpxv410.exe || static_status=$?

# --- The i386 thunk that calls hvmrk.dll, as a 32-bit Linux program under qemu-i386-static ----

kpx_install_missing g++-i686-linux-gnu qemu-user-static
thunk_test=$build/call_any_convention_i386_test
i686-linux-gnu-g++ -std=c++20 -O2 -static -I. tests/platform/call_any_convention_i386_test.cpp \
  platform/call_any_convention_i386.cpp -o "$thunk_test"
thunk_status=0
qemu-i386-static "$thunk_test" || thunk_status=$?

# --- The Windows program in a real window, and its installer --------------------------------

"$wineserver_program" -k >/dev/null 2>&1 || true
window_status=0
scripts/test-windows-window.sh || window_status=$?

[ "$failed" -eq 0 ] && [ "$tests_status" -eq 0 ] && [ "$window_status" -eq 0 ] && [ "$static_status" -eq 0 ] &&
  [ "$thunk_status" -eq 0 ]
