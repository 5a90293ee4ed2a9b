#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The Windows program under Wine, in an X server of its own:
#   1. kpxv410.exe imports only DLLs of Windows itself;
#   2. an exception thrown inside a window procedure and a dialog procedure is shown in an error
#      box and the program goes on (tests/win32/guard_check.cpp); the window is never hung
#      during a table run of 3,000,000 entries (tests/win32/responsive_check.cpp);
#      one session in the real window, driven through the keyboard: type two lines (one of them
#      Chinese), F2, F3 and the notice, a third line, F5, a fourth line, close from the File menu
#      (Alt+F, X), 取消 (Esc), close again and 是 (Enter). After each step the data file, the
#      table (the bytes kpx-make.exe writes from the same lines) and the state file are checked
#      byte for byte, and a stand-in hvmrk.dll in the system directory must have been called with
#      1 after each table run. A second start brings the first copy to the front and ends. Then
#      a run with two bad lines: the problems list, Enter on its row, Ctrl+F and Ctrl+G;
#   3. a session of the keyboard and the system: slot 12 chosen and sorted with keys alone, text
#      with LF and CR line ends pasted from the clipboard, undo and redo, a yes/no question
#      answered with Esc, Enter and Yes, a data file over the size limit refused, and Wine's own
#      end of the session (wineboot --end-session): 取消 refuses it, 是 saves and stores the state;
#   4. the installer: refused on Windows Vista, silent install (/S) twice, refused by both the
#      installer and the uninstaller while the installed program runs, the installed program
#      closed, silent uninstall, an upgrade of a copy in another folder; the user's files in
#      C:\vokelu stay as they were throughout.
# Installs what is missing. With KPX_WINDOWS_SHOTS=<dir> it keeps pictures of the screen.
# Usage: scripts/test-windows-window.sh
set -euo pipefail
cd "$(dirname "$0")/.."

# shellcheck source=scripts/wine-env.sh
. scripts/wine-env.sh
kpx_install_missing g++ xvfb xauth xdotool xclip openbox imagemagick fonts-arphic-uming

if [ "$windows_arch" = i686 ]; then
  out=build/windows
else
  out=build/windows-x86_64
fi
scripts/build-windows.sh --arch "$windows_arch" --out "$out"
cmake --build "build/windows-$windows_arch-cmake" -j2 --target kpx-win32-guard-check kpx-win32-responsive-check >/dev/null
guard_check=$PWD/build/windows-$windows_arch-cmake/win32/kpx-win32-guard-check.exe
responsive_check=$PWD/build/windows-$windows_arch-cmake/win32/kpx-win32-responsive-check.exe
tools=$PWD/build/windows-$windows_arch-cmake/tools
staging=$PWD/build/windows-$windows_arch-cmake/staging
program=$PWD/$out/kpxv410.exe
setup=$PWD/$out/kpx-setup-$(sed -n 's/^project(kpx VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt).exe

work=$PWD/build/windows-test-$windows_arch
rm -rf "$work"
mkdir -p "$work"
readonly wait_seconds=60
passed=0

# --- helpers ------------------------------------------------------------------------------------

xvfb_pid=''
openbox_pid=''
program_pid=''
cleanup() {
  if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
    kill "$program_pid" 2>/dev/null || true
  fi
  "$wineserver_program" -k >/dev/null 2>&1 || true
  for pid in $openbox_pid $xvfb_pid; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  shot failure
  echo "Windows window tests: $passed passed, 1 failed"
  exit 1
}

ok() {
  echo "ok: $*"
  passed=$((passed + 1))
}

step() { echo "== $*"; }

shot() {
  if [ -n "${KPX_WINDOWS_SHOTS:-}" ] && [ -n "${DISPLAY:-}" ]; then
    mkdir -p "$KPX_WINDOWS_SHOTS"
    /usr/bin/import -window root "$KPX_WINDOWS_SHOTS/$1.png" 2>/dev/null || true
  fi
}

wait_for() { # message command...
  local message=$1
  shift
  local deadline=$((SECONDS + wait_seconds))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || fail "timed out after ${wait_seconds} s: $message"
    sleep 0.2
  done
}

has_bytes() { [ -f "$1" ] && cmp -s "$1" <(printf "$2"); }

expect_bytes() { # file printf-bytes what
  if ! has_bytes "$1" "$2"; then
    local deadline=$((SECONDS + wait_seconds))
    until has_bytes "$1" "$2"; do
      if [ "$SECONDS" -ge "$deadline" ]; then
        echo "expected:" >&2
        printf "$2" | od -c | head -n 20 >&2
        echo "found:" >&2
        if [ -f "$1" ]; then od -c "$1" | head -n 20 >&2; else echo "(no file)" >&2; fi
        fail "$3"
      fi
      sleep 0.2
    done
  fi
}

# --- 1. imports ----------------------------------------------------------------------------------

step "DLLs kpxv410.exe imports"
imports=$("$windows_arch-w64-mingw32-objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
echo "$imports" | sed 's/^/  /'
system_dlls=' kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll shell32.dll advapi32.dll msvcrt.dll ole32.dll oleaut32.dll imm32.dll uxtheme.dll shlwapi.dll version.dll '
for dll in $imports; do
  [[ $system_dlls == *" $dll "* ]] || fail "kpxv410.exe imports $dll, which Windows does not have"
done
ok "kpxv410.exe imports only system DLLs"

# --- Wine: a new prefix, an X server and a window manager -----------------------------------

export WINEPREFIX=$work/wineprefix
"$wineserver_program" -k >/dev/null 2>&1 || true
"$wine_program" wineboot -i >/dev/null 2>&1 </dev/null
kpx_wine_link_chinese_fonts
"$wineserver_program" -w
step "starting Xvfb and openbox"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display_known() { [ -s "$work/display" ] && grep -q '^[0-9]' "$work/display"; }
wait_for "Xvfb to report its display" display_known
export DISPLAY=":$(head -n 1 "$work/display")"
# Without a window manager, keys after a dialog may reach the wrong window.
openbox >"$work/openbox.log" 2>&1 &
openbox_pid=$!
# A persistent server, so that no Wine process holds this script's output open.
"$wineserver_program" -p
"$wine_program" cmd /c exit >/dev/null 2>&1 </dev/null

drive_c=$WINEPREFIX/drive_c
vokelu=$drive_c/vokelu
data=$vokelu/kpx-ty1.txt
table=$vokelu/kpx-ty1.zd
state=$vokelu/kpxv4.ini
hvmrk_log=$work/hvmrk.log
# The stand-in input method library, where the program looks first: the system directory.
"$windows_arch-w64-mingw32-g++-posix" -shared -static -O2 -o "$drive_c/windows/system32/hvmrk.dll" \
  tests/platform/fake_hvmrk.cpp tests/platform/fake_hvmrk.def -Wl,--kill-at -Wl,--enable-stdcall-fixup
export KPX_FAKE_HVMRK_LOG="Z:$hvmrk_log"
# The installer's job, done by hand for the session.
mkdir -p "$vokelu"

main_window=''
find_main_window() {
  main_window=$(xdotool search --onlyvisible --name '^kpxv410  ' 2>/dev/null | head -n 1 || true)
  [ -n "$main_window" ]
}
notice_windows() { xdotool search --onlyvisible --name '^kpxv410\.exe$' 2>/dev/null || true; }
notice_shown() { [ -n "$(notice_windows)" ]; }
notice_gone() { [ -z "$(notice_windows)" ]; }
question_windows() { xdotool search --onlyvisible --name '對照表詞庫$' 2>/dev/null || true; }
question_shown() { [ -n "$(question_windows)" ]; }
question_gone() { [ -z "$(question_windows)" ]; }
program_ended() { ! kill -0 "$program_pid" 2>/dev/null; }
focus_main() {
  xdotool windowactivate --sync "$main_window" 2>/dev/null || xdotool windowfocus --sync "$main_window"
}

# Types text into the focused window. xdotool types a character outside the keyboard map by
# mapping it to a spare key for a moment; on a busy machine Wine can read the key before the
# mapping has reached it, so such characters go one at a time with time to settle.
type_text() { # text
  local LC_ALL=C.UTF-8 text=$1 i c
  for ((i = 0; i < ${#text}; i++)); do
    c=${text:i:1}
    if [[ $c == [[:print:]] && $(printf '%s' "$c" | wc -c) -eq 1 ]]; then
      xdotool type --delay 60 -- "$c"
    else
      sleep 0.3
      xdotool type --delay 300 -- "$c"
      sleep 0.5
    fi
  done
}

start_program() { # exe
  "$wine_program" "$1" >"$work/program.log" 2>&1 </dev/null &
  program_pid=$!
  wait_for "the main window to appear" find_main_window
  # The window loads the slot's data when it first becomes active.
  sleep 1
}

# The table must hold the bytes kpx-make.exe writes from the same data file.
table_matches() {
  rm -f "$work/reference.zd"
  "$wine_program" "$tools/kpx-make.exe" 'C:\vokelu\kpx-ty1.txt' -o "Z:$work/reference.zd" --order ty \
    >/dev/null 2>&1 </dev/null || return 1
  [ -f "$table" ] && cmp -s "$table" "$work/reference.zd"
}

# --- 2. exceptions inside window procedures; a keyboard session -------------------------------

step "exceptions inside a window procedure and a dialog procedure"
guard_output=$(timeout "$wait_seconds" "$wine_program" "$guard_check" </dev/null 2>&1) || true
echo "$guard_output" | sed 's/^/  /'
[ "$(echo "$guard_output" | tail -n 1 | tr -d '\r')" = passed ] ||
  fail "an exception inside a window or dialog procedure was not caught and shown"
ok "exceptions inside window and dialog procedures are shown in an error box, and the program goes on"

step "a long table run: the window is never hung"
g++ -O2 -std=c++20 -o "$work/kpx-bench-gen" bench/bench_gen.cpp
"$work/kpx-bench-gen" 3000000 1 "$vokelu/big.txt" >/dev/null
printf '#include <c:\\vokelu\\big.txt>\r\n' >"$vokelu/kpx-ty2.txt"
responsive_status=0
timeout 300 "$wine_program" "$responsive_check" </dev/null >"$work/responsive.txt" 2>&1 || responsive_status=$?
sed 's/^/  /' "$work/responsive.txt"
rm -f "$vokelu/big.txt" "$vokelu"/kpx-ty2.* "$state"
case $responsive_status in
  0) ok "a table run of more than 5.5 s never leaves the window hung" ;;
  2) ok "the table run took under 5.5 s, too short for the window to be called hung (NOTE: not shown here)" ;;
  *) fail "the window was hung during a long table run" ;;
esac

# --- a keyboard session -------------------------------------------------------------------

step "starting kpxv410.exe"
start_program "$program"
ok "the main window appears"

step "typing two lines, F2"
focus_main
type_text 'abc xyz'
xdotool key Return
# 台灣 is A5 78 C6 57 in Big5.
type_text 'tai-oan 台灣'
shot typed
xdotool key F2
expect_bytes "$data" 'abc xyz\r\ntai-oan \xa5\x78\xc6\x57' "F2 did not write the two lines to the data file"
[ ! -e "$table" ] || fail "F2 wrote a table"
ok "F2 saves the editor's lines, Chinese in Big5"

step "F3 and its notice"
focus_main
xdotool key F3
wait_for "the notice after F3" notice_shown
shot notice
wait_for "the table after F3 to match kpx-make.exe's" table_matches
xdotool windowactivate --sync "$(notice_windows | head -n 1)" 2>/dev/null || true
xdotool key Return
wait_for "the notice to close on Return" notice_gone
expect_bytes "$hvmrk_log" '1\n' "hvmrk.dll was not called with 1 after F3"
ok "F3 makes kpx-make.exe's table, shows the notice and notifies hvmrk.dll"

step "a third line, F5"
focus_main
xdotool key Return
type_text 'kok-chiong kc'
xdotool key F5
expect_bytes "$data" 'abc xyz\r\ntai-oan \xa5\x78\xc6\x57\r\nkok-chiong kc' "F5 did not save the three lines"
wait_for "the table after F5 to match kpx-make.exe's" table_matches
expect_bytes "$hvmrk_log" '1\n1\n' "hvmrk.dll was not called with 1 after F5"
sleep 2
notice_gone || fail "F5 showed a notice"
shot after-f5
ok "F5 saves and makes the table without a notice, and notifies hvmrk.dll"

step "a second start"
"$wine_program" "$program" >"$work/second.log" 2>&1 </dev/null &
second_pid=$!
second_ended() { ! kill -0 "$second_pid" 2>/dev/null; }
wait_for "the second copy to end" second_ended
wait "$second_pid" || fail "the second copy ended with a failure"
[ "$(xdotool search --onlyvisible --name '^kpxv410  ' | wc -l)" -eq 1 ] || fail "two main windows"
kill -0 "$program_pid" 2>/dev/null || fail "the first copy ended"
ok "a second start ends and leaves the first copy running"

step "a fourth line; close from the File menu, 取消, close again, 是"
focus_main
xdotool key Return
type_text 'gi-a ga'
xdotool key alt+f
sleep 0.5
xdotool key x
wait_for "the unsaved-data question" question_shown
shot question
xdotool windowactivate --sync "$(question_windows | head -n 1)" 2>/dev/null || true
xdotool key Escape
wait_for "the question to close on Esc" question_gone
sleep 1
program_ended && fail "取消 let the window close"
[ ! -e "$state" ] || fail "the state file was written although the close was cancelled"
focus_main
xdotool key alt+f
sleep 0.5
xdotool key x
wait_for "the unsaved-data question, again" question_shown
xdotool windowactivate --sync "$(question_windows | head -n 1)" 2>/dev/null || true
xdotool key Return
wait_for "the program to end after 是" program_ended
wait "$program_pid" || fail "the program ended with a failure"
program_pid=''
expect_bytes "$data" 'abc xyz\r\ntai-oan \xa5\x78\xc6\x57\r\nkok-chiong kc\r\ngi-a ga' "是 did not save the four lines"
# The caret stood at the end: 7 + 2 + 12 + 2 + 13 + 2 + 7 bytes.
expect_bytes "$state" \
  "//kpxv4.ini, unless you know what you are doing, don't change this file, but deleting this file is alright\r\nf=1\r\ns=45\r\n" \
  "the state file after the close"
expect_bytes "$hvmrk_log" '1\n1\n' "hvmrk.dll was called at the close"
ok "取消 keeps the window; 是 saves, writes the state file and ends the program"

step "a run with problems: the problems list, Ctrl+F, Ctrl+G"
start_program "$program"
focus_main
xdotool key ctrl+End
xdotool key Return
# A line of one column, and a key of 38 bytes.
type_text 'lonely'
xdotool key Return
type_text 'k-abcdefghijklmnopqrstuvwxyz0123456789 kk'
xdotool key F5
sleep 2
if notice_shown; then
  xdotool windowactivate --sync "$(notice_windows | head -n 1)" 2>/dev/null || true
  xdotool key Return
  wait_for "the notice to close" notice_gone
fi
# The problems list is docked under the editor, no window of its own.
[ -z "$(xdotool search --onlyvisible --name '列無做成詞條' 2>/dev/null || true)" ] ||
  fail "the problems list is a window of its own"
shot problems
# A double click on its first row puts the caret at the start of the one-column line, and the
# editor has the focus after it: x lands there. The first row is under the list's title and
# header, in the lowest quarter of the room between the panel and the status bar.
eval "$(xdotool getwindowgeometry --shell "$main_window")"
echo "  main window: ${WIDTH}x${HEIGHT}"
list_room=$((HEIGHT - 26 - 105 - 40))
list_height=$((list_room / 4 > 120 ? list_room / 4 : 120))
first_row_y=$((HEIGHT - 26 - list_height + 20 + 28))
xdotool mousemove --window "$main_window" 60 "$first_row_y" click --repeat 2 --delay 80 1
sleep 1
type_text 'x'
ok "F5 with two bad lines shows the problems list under the editor; a double click on a row goes to its line"

find_windows() { xdotool search --onlyvisible --name '^(Find|尋找)$' 2>/dev/null || true; }
find_shown() { [ -n "$(find_windows)" ]; }
find_gone() { [ -z "$(find_windows)" ]; }
focus_main
xdotool key ctrl+f
wait_for "the Find dialog on Ctrl+F" find_shown
xdotool windowactivate --sync "$(find_windows | head -n 1)" 2>/dev/null || true
type_text 'KOK'
xdotool key Return
sleep 1
shot find
xdotool key Escape
wait_for "the Find dialog to close on Esc" find_gone
ok "Ctrl+F opens the Find dialog"

go_to_line_windows() { xdotool search --onlyvisible --name '^跳到第幾列$' 2>/dev/null || true; }
go_to_line_shown() { [ -n "$(go_to_line_windows)" ]; }
go_to_line_gone() { [ -z "$(go_to_line_windows)" ]; }
focus_main
xdotool key ctrl+g
wait_for "the go-to-line question on Ctrl+G" go_to_line_shown
shot go-to-line
xdotool windowactivate --sync "$(go_to_line_windows | head -n 1)" 2>/dev/null || true
type_text '1'
xdotool key Return
wait_for "the go-to-line question to close on Enter" go_to_line_gone
focus_main
type_text 'y'
xdotool key alt+f
sleep 0.5
xdotool key x
wait_for "the unsaved-data question" question_shown
xdotool windowactivate --sync "$(question_windows | head -n 1)" 2>/dev/null || true
xdotool key Return
wait_for "the program to end after 是" program_ended
wait "$program_pid" || fail "the program ended with a failure"
program_pid=''
expect_bytes "$data" \
  'yabc xyz\r\ntai-oan \xa5\x78\xc6\x57\r\nkok-chiong kc\r\ngi-a ga\r\nxlonely\r\nk-abcdefghijklmnopqrstuvwxyz0123456789 kk' \
  "the problems row or Ctrl+G did not put the caret where x and y were typed"
ok "Ctrl+G asks a line number and puts the caret at its start"

step "words in and out: import a UTF-8 list, F2, export a RIME dictionary"
# A list with a word that has no Big5 form: that line is left out and listed.
printf 'tai5-uan5\t\xe5\x8f\xb0\xe7\x81\xa3\nin1\t\xf0\xaa\x9c\xb6\n' >"$vokelu/words.tsv"
titled() { xdotool search --onlyvisible --name "$1" 2>/dev/null || true; }
shown_titled() { [ -n "$(titled "$1")" ]; }
activate_titled() { xdotool windowactivate --sync "$(titled "$1" | head -n 1)" 2>/dev/null || true; }
start_program "$program"
focus_main
xdotool key alt+f
sleep 0.5
xdotool key i
wait_for "the import dialog" shown_titled '^匯入 詞$'
activate_titled '^匯入 詞$'
xdotool type --delay 40 'C:\vokelu\words.tsv'
xdotool key Return
# The preview of what the import will do; its default button is 匯入.
wait_for "the import's preview" shown_titled '^對照表 製作程式$'
shot import-preview
activate_titled '^對照表 製作程式$'
xdotool key Return
wait_for "the notice after the import" notice_shown
sleep 1
shot imported
xdotool windowactivate --sync "$(notice_windows | head -n 1)" 2>/dev/null || true
xdotool key Return
wait_for "the notice to close" notice_gone
focus_main
xdotool key F2
expect_bytes "$data" \
  'yabc xyz\r\ntai-oan \xa5\x78\xc6\x57\r\nkok-chiong kc\r\ngi-a ga\r\nxlonely\r\nk-abcdefghijklmnopqrstuvwxyz0123456789 kk\r\ntai5-uan5 \xa5\x78\xc6\x57\r\n' \
  "the import did not append its one good line, in Big5"
ok "匯入 appends the list's entries to the editor and lists the line without a Big5 form"

focus_main
xdotool key alt+f
sleep 0.5
xdotool key e
wait_for "the export dialog" shown_titled '^匯出 詞$'
activate_titled '^匯出 詞$'
xdotool key ctrl+a
xdotool type --delay 40 'C:\vokelu\out'
xdotool key Return
wait_for "the order question" shown_titled '^對照表 製作程式$'
shot export-order
activate_titled '^對照表 製作程式$'
xdotool key Return
wait_for "the notice after the export" notice_shown
xdotool windowactivate --sync "$(notice_windows | head -n 1)" 2>/dev/null || true
xdotool key Return
wait_for "the notice to close" notice_gone
exported=$vokelu/out.dict.yaml
[ -f "$exported" ] || fail "匯出 wrote no out.dict.yaml (the name without an extension gets the type's)"
for line in 'xyz\tyabc' '\xe5\x8f\xb0\xe7\x81\xa3\ttai-oan' 'kc\tkok-chiong' 'ga\tgi-a' \
  '\xe5\x8f\xb0\xe7\x81\xa3\ttai5-uan5'; do
  grep -qx "$(printf "$line")" "$exported" || fail "out.dict.yaml lacks the line $line"
done
[ "$(grep -c "$(printf '\t')" "$exported")" -eq 5 ] || fail "out.dict.yaml does not hold exactly the 5 entries"
focus_main
xdotool key alt+f
sleep 0.5
xdotool key x
wait_for "the program to end" program_ended
wait "$program_pid" || fail "the program ended with a failure"
program_pid=''
ok "匯出 writes every entry once to a RIME dictionary named after the type"

step "undo and redo across a save (slot 5); the handbook closes on Esc"
printf '%s\r\nf=5\r\ns=0\r\n' "//kpxv4.ini, unless you know what you are doing, don't change this file, but deleting this file is alright" >"$state"
data5=$vokelu/kpx-ty5.txt
data6=$vokelu/kpx-ty6.txt
start_program "$program"
focus_main
type_text 'a1 one'
xdotool key Return F5
expect_bytes "$data5" 'a1 one\r\n' "F5 did not save the first line"
type_text 'b1 two'
xdotool key ctrl+z
shot undo-after-save
xdotool key F2
expect_bytes "$data5" 'a1 one\r\n' "one Ctrl+Z after F5 took back more than the line typed since"
xdotool key ctrl+y F2
expect_bytes "$data5" 'a1 one\r\nb1 two' "Ctrl+Y did not bring back the line"
# Two pasted lines, F5, x: Ctrl+Z takes back the x alone, Ctrl+Y brings it back.
printf 'c1 three\nc2 four\n' >"$work/clip2.txt"
xclip -quiet -selection clipboard -i "$work/clip2.txt" >/dev/null 2>&1 &
clip_pid=$!
sleep 0.5
focus_main
xdotool key ctrl+Tab
sleep 0.3
xdotool key Right Return
sleep 1
focus_main
xdotool key ctrl+v
sleep 0.5
kill "$clip_pid" 2>/dev/null || true
wait "$clip_pid" 2>/dev/null || true
xdotool key F5
expect_bytes "$data6" 'c1 three\r\nc2 four\r\n' "F5 did not save the pasted lines"
type_text 'x'
xdotool key ctrl+z F2
expect_bytes "$data6" 'c1 three\r\nc2 four\r\n' "Ctrl+Z after a paste and F5 took back more than the x"
xdotool key ctrl+y
sleep 0.5
shot redo-status-bar
xdotool key F2
expect_bytes "$data6" 'c1 three\r\nc2 four\r\nx' "Ctrl+Y did not bring back the x"
ok "one Ctrl+Z after a save takes back only what came after it; Ctrl+Y brings it back"
handbook_windows() { xdotool search --onlyvisible --name '^使用小手冊$' 2>/dev/null || true; }
handbook_shown() { [ -n "$(handbook_windows)" ]; }
handbook_gone() { [ -z "$(handbook_windows)" ]; }
focus_main
xdotool key F1
wait_for "the handbook on F1" handbook_shown
xdotool windowactivate --sync "$(handbook_windows | head -n 1)" 2>/dev/null || true
xdotool key Escape
wait_for "the handbook to close on Esc" handbook_gone
ok "Esc closes the handbook"
# A path box copies the whole path it stands for, not the shortened text it shows.
eval "$(xdotool getwindowgeometry --shell "$main_window")"
xdotool mousemove --window "$main_window" 440 $((HEIGHT - 409 + 84)) click 1
sleep 0.3
xdotool key ctrl+c
sleep 0.5
copied=$(xclip -o -selection clipboard 2>/dev/null || true)
shot path-box
[ "$copied" = 'C:\vokelu\kpx-ty6.txt' ] || fail "copying from the path box gave '$copied', not the whole path"
ok "a path box copies its whole path"
# The path boxes and the problems list grow with the window.
xdotool windowsize "$main_window" 1000 700
sleep 1
focus_main
xdotool key F3
wait_for "the notice after F3" notice_shown
xdotool windowactivate --sync "$(notice_windows | head -n 1)" 2>/dev/null || true
xdotool key Return
wait_for "the notice to close" notice_gone
sleep 1
shot wide
focus_main
xdotool key alt+f
sleep 0.5
xdotool key x
wait_for "the program to end" program_ended
wait "$program_pid" || fail "the program ended with a failure"
program_pid=''
rm -f "$state"

# --- 3. keyboard, clipboard, questions and the session's end ------------------------------------

yes_no_windows() { xdotool search --onlyvisible --name '^對照表 製作程式$' 2>/dev/null || true; }
yes_no_shown() { [ -n "$(yes_no_windows)" ]; }
yes_no_gone() { [ -z "$(yes_no_windows)" ]; }
answer_yes_no() { # keys...
  wait_for "a yes/no question" yes_no_shown
  xdotool windowactivate --sync "$(yes_no_windows | head -n 1)" 2>/dev/null || true
  xdotool key "$@"
  wait_for "the yes/no question to close" yes_no_gone
}
data12=$vokelu/kpx-py2.txt
printf 'b x\r\nA y\r\nc z' >"$data12"
truncate -s $((64 * 1024 * 1024 + 1)) "$vokelu/kpx-py3.txt"
rm -f "$state"

step "slot 12 and Sort with the keyboard alone"
start_program "$program"
focus_main
# Ctrl+Tab leaves the editor for the slot buttons, at slot 1; Right, Down: slot 12.
xdotool key ctrl+Tab
sleep 0.3
xdotool key Right Down
sleep 0.3
xdotool key Return
sleep 1
shot slot-12
xdotool key alt+e
sleep 0.5
xdotool key o
sleep 0.5
xdotool key F2
expect_bytes "$data12" 'A y\r\nb x\r\nc z\r\n' "slot 12 was not chosen and sorted from the keyboard"
ok "Ctrl+Tab, arrows and Enter choose slot 12; Alt+E, O sorts it"

step "pasting LF and CR line ends; undo and redo"
printf 'd w\ne v\rf u\n' >"$work/clip.txt"
xclip -quiet -selection clipboard -i "$work/clip.txt" >/dev/null 2>&1 &
clip_pid=$!
sleep 0.5
focus_main
xdotool key ctrl+Home Down ctrl+v
sleep 0.5
kill "$clip_pid" 2>/dev/null || true
wait "$clip_pid" 2>/dev/null || true
xdotool key F2
expect_bytes "$data12" 'A y\r\nd w\r\ne v\r\nf u\r\nb x\r\nc z\r\n' "the pasted lines did not get CR LF"
xdotool key ctrl+z F2
expect_bytes "$data12" 'A y\r\nb x\r\nc z\r\n' "Ctrl+Z did not undo the paste"
xdotool key ctrl+y F2
expect_bytes "$data12" 'A y\r\nd w\r\ne v\r\nf u\r\nb x\r\nc z\r\n' "Ctrl+Y did not redo the paste"
ok "pasted LF and CR line ends become CR LF; Ctrl+Z undoes, Ctrl+Y redoes"

step "a paste right after Sort's last line is a step of its own"
xclip -quiet -selection clipboard -i "$work/clip.txt" >/dev/null 2>&1 &
clip_pid=$!
sleep 0.5
focus_main
xdotool key alt+e
sleep 0.5
xdotool key o
sleep 0.5
xdotool key ctrl+End ctrl+v
sleep 0.5
kill "$clip_pid" 2>/dev/null || true
wait "$clip_pid" 2>/dev/null || true
xdotool key ctrl+z F2
expect_bytes "$data12" 'A y\r\nb x\r\nc z\r\nd w\r\ne v\r\nf u\r\n' "Ctrl+Z took back Sort with the paste after it"
xdotool key ctrl+z F2
expect_bytes "$data12" 'A y\r\nd w\r\ne v\r\nf u\r\nb x\r\nc z\r\n' "a second Ctrl+Z did not take back Sort"
ok "Ctrl+Z takes back a paste after Sort's text alone, and Sort with the next one"

step "a yes/no question: Esc, Enter and Yes"
# Another program changes the data file: saving over it asks first.
printf 'changed elsewhere' >"$data12"
focus_main
xdotool key ctrl+End
type_text 'g'
xdotool key F2
wait_for "the question before saving over a changed file" yes_no_shown
shot yes-no
answer_yes_no Escape
has_bytes "$data12" 'changed elsewhere' || fail "Esc saved over the changed file"
focus_main
xdotool key F2
answer_yes_no Return
has_bytes "$data12" 'changed elsewhere' || fail "Enter saved over the changed file"
focus_main
xdotool key F2
# Tab from the default No to Yes.
answer_yes_no Tab Return
expect_bytes "$data12" 'A y\r\nd w\r\ne v\r\nf u\r\nb x\r\nc z\r\ng' "Yes did not save"
ok "Esc and Enter answer no; Yes saves"

step "a data file over the limit"
focus_main
xdotool key ctrl+Tab
sleep 0.3
xdotool key Right
sleep 0.3
xdotool key Return
wait_for "the error box of the file over the limit" yes_no_shown
shot too-large
answer_yes_no Return
focus_main
xdotool key F2
# Saving the empty editor over the file that failed to load asks; Esc keeps the file.
answer_yes_no Escape
[ "$(stat -c %s "$vokelu/kpx-py3.txt")" -eq $((64 * 1024 * 1024 + 1)) ] || fail "the refused file was saved over"
ok "a file over the limit is refused with an error box, and not saved over unasked"

step "the session's end: 取消, then 是"
focus_main
xdotool key ctrl+Tab
sleep 0.3
xdotool key Left
sleep 0.3
xdotool key Return
sleep 1
focus_main
xdotool key ctrl+End
type_text 'h'
"$wine_program" wineboot --end-session >/dev/null 2>&1 </dev/null &
end_pid=$!
wait_for "the unsaved-data question at the session's end" question_shown
shot end-session
xdotool windowactivate --sync "$(question_windows | head -n 1)" 2>/dev/null || true
xdotool key Escape
wait_for "the question to close on Esc" question_gone
end_status=0
wait "$end_pid" || end_status=$?
[ "$end_status" -ne 0 ] || fail "取消 did not refuse the end of the session"
program_ended && fail "the program ended although 取消 refused the end of the session"
[ ! -e "$state" ] || fail "the state file was written although the session went on"
"$wine_program" wineboot --end-session >/dev/null 2>&1 </dev/null &
end_pid=$!
wait_for "the unsaved-data question at the session's end, again" question_shown
xdotool windowactivate --sync "$(question_windows | head -n 1)" 2>/dev/null || true
xdotool key Return
wait_for "the program to end with the session" program_ended
wait "$end_pid" || fail "the session did not end after 是"
program_pid=''
expected12='A y\r\nd w\r\ne v\r\nf u\r\nb x\r\nc z\r\ngh'
expect_bytes "$data12" "$expected12" "是 at the session's end did not save"
# The caret stood at the end of the text.
expect_bytes "$state" \
  "//kpxv4.ini, unless you know what you are doing, don't change this file, but deleting this file is alright\r\nf=12\r\ns=$(printf "$expected12" | wc -c)\r\n" \
  "the state file after the session's end"
ok "the session's end asks to save: 取消 refuses it, 是 saves and stores the slot and caret"

# --- 4. the installer ----------------------------------------------------------------------------

checksums() { (cd "$vokelu" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
program_files=$drive_c/Program\ Files/kpxv410
start_menu_entry() { find "$drive_c" -path '*Start Menu*' -name '*.lnk' 2>/dev/null | grep '對照表' || true; }
tools_prompt_entry() { find "$drive_c" -path '*Start Menu*' -name '*.lnk' 2>/dev/null | grep '命令列工具' || true; }

wine_version() { # vista, win7, ... or "" for Wine's default
  if [ -n "$1" ]; then
    "$wine_program" reg add 'HKCU\Software\Wine' /v Version /d "$1" /f >/dev/null 2>&1 </dev/null
  else
    "$wine_program" reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1 </dev/null || true
  fi
}

step "the installer refuses Windows Vista"
before=$(checksums)
wine_version vista
setup_status=0
"$wine_program" "$setup" /S </dev/null >/dev/null 2>&1 || setup_status=$?
[ "$setup_status" -eq 4 ] || fail "the installer on Vista ended with $setup_status, not 4"
[ ! -e "$program_files" ] || fail "the installer on Vista installed the program"
ok "the installer refuses Windows older than 7 SP1 (exit code 4), installing nothing"

step "silent install (on Windows 7 SP1)"
wine_version win7
"$wine_program" "$setup" /S </dev/null >/dev/null 2>&1
wine_version ''
installed_program() { [ -f "$program_files/kpxv410.exe" ] && [ -f "$program_files/uninstall.exe" ]; }
wait_for "the installed program" installed_program
for file in kpxv410.exe kpx-make.exe kpx-dump.exe kpx-convert.exe; do
  cmp -s "$program_files/$file" "$staging/$file" ||
    fail "the installer put another $file in place"
done
[ -n "$(start_menu_entry)" ] || fail "no Start-menu entry"
# The command prompt's entry: cmd.exe in C:\vokelu with the install folder put before PATH for
# itself alone. Its own command (UTF-16 in the .lnk), run from a batch file, finds the tools.
prompt_entry=$(tools_prompt_entry)
[ -n "$prompt_entry" ] || fail "no Start-menu entry for the tools' command prompt"
# A .lnk string follows its length, which strings(1) may take for a character.
prompt_command=$(strings -el "$prompt_entry" | grep -m1 -o '/k "set .*' || true)
[[ $prompt_command == '/k "set "PATH=C:\Program Files\kpxv410;%PATH%" & '*'"' ]] ||
  fail "the command prompt's entry runs: $prompt_command"
strings -el "$prompt_entry" | grep -qix 'C:\\vokelu' || fail "the command prompt's entry does not start in C:\vokelu"
prompt_command=${prompt_command#/k \"}
printf '@%s\r\n@kpx-make --help\r\n@kpx-convert --help\r\n@kpx-dump --help\r\n' "${prompt_command%\"}" >"$drive_c/prompt-check.bat"
prompt_output=$(cd "$vokelu" && "$wine_program" cmd /c 'C:\prompt-check.bat' </dev/null 2>&1 | tr -d '\r')
rm -f "$drive_c/prompt-check.bat"
[ "$(grep -c '^Usage: kpx-' <<<"$prompt_output")" -eq 3 ] || fail "the command prompt's entry did not find the tools: $prompt_output"
"$wine_program" reg query 'HKLM\System\CurrentControlSet\Control\Session Manager\Environment' /v PATH </dev/null 2>/dev/null |
  grep -qi kpxv410 && fail "the installer put its folder on the system's PATH"
cmp -s "$vokelu/example.txt" data/example.txt || fail "the installer did not put example.txt in C:\\vokelu"
[ "$(checksums | grep -v ' ./example.txt$')" = "$before" ] || fail "the installer changed a user's file"
ok "the installer puts the programs, the Start-menu entries (the program; a command prompt that finds the tools) and example.txt in place, and nothing else"

step "installing again over a user's own example.txt"
printf 'my-own ex\r\n' >"$vokelu/example.txt"
before=$(checksums)
"$wine_program" "$setup" /S </dev/null >/dev/null 2>&1
[ "$(checksums)" = "$before" ] || fail "installing again changed a user's file"
ok "installing again leaves the user's files as they were"

step "starting the installed program; the installer and the uninstaller refuse while it runs"
start_program "$program_files/kpxv410.exe"
shot installed
program_checksums() { (cd "$program_files" && sha256sum ./*); }
installed_before=$(program_checksums)
setup_status=0
"$wine_program" "$setup" /S </dev/null >/dev/null 2>&1 || setup_status=$?
[ "$setup_status" -eq 3 ] || fail "the installer ended with $setup_status, not 3, while the program ran"
# The uninstaller runs from a copy of itself: its exit code is lost; the files must stay.
"$wine_program" "$program_files/uninstall.exe" /S </dev/null >/dev/null 2>&1 || true
sleep 5
[ "$(program_checksums)" = "$installed_before" ] || fail "the installer or uninstaller changed the program while it ran"
focus_main
xdotool key alt+f
sleep 0.5
xdotool key x
wait_for "the installed program to end" program_ended
program_pid=''
[ "$(checksums)" = "$before" ] || fail "starting and closing the installed program changed a file"
ok "the installed program starts, loads slot 1 and closes; meanwhile the installer (exit code 3) and the uninstaller refuse"

step "silent uninstall"
"$wine_program" "$program_files/uninstall.exe" /S </dev/null >/dev/null 2>&1
uninstalled() { [ ! -e "$program_files/kpxv410.exe" ] && [ ! -e "$program_files/uninstall.exe" ]; }
wait_for "the uninstaller to remove the program" uninstalled
[ -z "$(start_menu_entry)" ] || fail "the Start-menu entry is still there"
[ -z "$(tools_prompt_entry)" ] || fail "the command prompt's Start-menu entry is still there"
[ "$(checksums)" = "$before" ] || fail "the uninstaller changed a user's file"
ok "the uninstaller removes the programs and the Start-menu entry, and no user file"

step "an upgrade goes where the last install went"
custom=$drive_c/kpx-custom
"$wine_program" "$setup" /S '/D=C:\kpx-custom' </dev/null >/dev/null 2>&1
rm -f "$custom/kpx-dump.exe"
"$wine_program" "$setup" /S </dev/null >/dev/null 2>&1
[ -f "$custom/kpx-dump.exe" ] || fail "the upgrade did not replace the copy in C:\kpx-custom"
[ ! -e "$program_files" ] || fail "the upgrade installed a second copy under Program Files"
"$wine_program" "$custom/uninstall.exe" /S </dev/null >/dev/null 2>&1
uninstalled_custom() { [ ! -e "$custom/kpxv410.exe" ]; }
wait_for "the uninstaller to remove the custom copy" uninstalled_custom
[ "$(checksums)" = "$before" ] || fail "the upgrade changed a user's file"
ok "an upgrade replaces the copy in the folder of the last install"

echo "Windows window tests: $passed passed, 0 failed"
