#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# One session with the built program in a real X window, driven through the keyboard:
#   type two data lines, F2 (save), F3 (make the table, answer the notice), type a third line,
#   F5 (save and make, no notice), go to slot 12 through the slot buttons (Ctrl+Tab, arrows,
#   Enter), sort it from the Edit menu (Alt+E, O), save it (F2), close from the File menu
#   (Alt+F, X).
# After each step the files in the data directory are checked byte for byte.
# Usage: keyboard_session_test.sh KPXV410 KPX-DUMP KPX-MAKE
# With KPX_REALWINDOW_SHOTS set to a directory (and ImageMagick's import installed) it also keeps
# pictures of the screen: typed.png, notice.png, after-f5.png.
# Exit status: 0 passed, 1 failed, 77 skipped (no Xvfb or no xdotool).
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 KPXV410 KPX-DUMP KPX-MAKE" >&2
    exit 2
fi
program=$1
dump=$2
make=$3

for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed (Debian: apt-get install xvfb xdotool); the real-window test needs it"
        exit 77
    fi
done

# Generous limits: the machine may be loaded.
readonly wait_seconds=60

work=$(mktemp -d)
xvfb_pid=''
program_pid=''
cleanup() {
    if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
        kill "$program_pid" 2>/dev/null || true
        wait "$program_pid" 2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2>/dev/null; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -f "$work/program.log" ] && [ -s "$work/program.log" ]; then
        echo "--- program output ---" >&2
        cat "$work/program.log" >&2
    fi
    exit 1
}

shot() {
    local name=$1
    if [ -n "${KPX_REALWINDOW_SHOTS:-}" ] && [ -x /usr/bin/import ]; then
        mkdir -p "$KPX_REALWINDOW_SHOTS"
        /usr/bin/import -window root "$KPX_REALWINDOW_SHOTS/$name.png" || true
    fi
}

step() {
    echo "== $*"
}

# Waits until the command succeeds; fails with the message after wait_seconds.
wait_for() {
    local message=$1
    shift
    local deadline=$((SECONDS + wait_seconds))
    until "$@"; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            fail "timed out after ${wait_seconds} s: $message"
        fi
        sleep 0.1
    done
}

# True when the file holds exactly the bytes of the second argument (printf format).
has_bytes() {
    [ -f "$1" ] && cmp -s "$1" <(printf "$2")
}

show_bytes() {
    if [ -f "$1" ]; then od -c "$1" | head -n 20; else echo "(no file $1)"; fi
}

expect_bytes() {
    local file=$1 bytes=$2 what=$3
    if ! has_bytes "$file" "$bytes"; then
        local deadline=$((SECONDS + wait_seconds))
        until has_bytes "$file" "$bytes"; do
            if [ "$SECONDS" -ge "$deadline" ]; then
                echo "expected:" >&2
                printf "$bytes" | od -c | head -n 20 >&2
                echo "found:" >&2
                show_bytes "$file" >&2
                fail "$what"
            fi
            sleep 0.1
        done
    fi
}

# --- an X server of our own --------------------------------------------------------------------
step "starting Xvfb"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display_known() { [ -s "$work/display" ] && grep -q '^[0-9]' "$work/display"; }
wait_for "Xvfb to report its display" display_known
export DISPLAY=":$(head -n 1 "$work/display")"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
echo "display $DISPLAY"

# --- a fresh drive with an empty vokelu directory --------------------------------------------
drive="$work/drive"
vokelu="$drive/vokelu"
mkdir -p "$vokelu"
export KPX_DRIVE="$drive"
data="$vokelu/kpx-ty1.txt"
table="$vokelu/kpx-ty1.zd"
state="$vokelu/kpxv4.ini"

step "starting $program"
"$program" >"$work/program.log" 2>&1 &
program_pid=$!

# Polled rather than "search --sync", so that a program that dies early fails the test at once.
window=''
main_window_shown() {
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended before its window appeared"
    window=$(xdotool search --onlyvisible --name '^kpxv410 ' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ]
}
wait_for "the main window to appear" main_window_shown
echo "main window $window"

focus_main() {
    xdotool windowfocus --sync "$window"
}

# The notice dialog's caption is the program file's name.
notice_windows() {
    xdotool search --onlyvisible --name '^kpxv410\.exe$' 2>/dev/null || true
}
notice_shown() { [ -n "$(notice_windows)" ]; }
notice_gone() { [ -z "$(notice_windows)" ]; }

# The table must be the bytes kpx-make writes from the same data file, hold the given number of
# entries under the tag of slot 1 (dty), and kpx-dump must list the expected entries in order.
check_table() {
    local expected_listing=$1 count=$2
    "$make" "$data" -o "$work/reference.zd" --order ty >/dev/null || fail "kpx-make failed on $data"
    if ! cmp "$table" "$work/reference.zd"; then
        fail "the window's table differs from kpx-make's"
    fi
    local listing
    listing=$("$dump" "$table") || fail "kpx-dump rejects $table"
    echo "$listing"
    if [ "$listing" != "$expected_listing" ]; then
        echo "expected listing:" >&2
        echo "$expected_listing" >&2
        fail "kpx-dump lists other entries"
    fi
    local header
    header=$("$dump" --header "$table" | head -n 4)
    echo "$header"
    grep -qx "entries: $count" <<<"$header" || fail "the table's header does not count $count entries"
    grep -q '^tag: .*dty' <<<"$header" || fail "the table's header does not carry the id dty"
}

table_matches() {
    [ -f "$table" ] && "$make" "$data" -o "$work/reference.zd" --order ty >/dev/null 2>&1 &&
        cmp -s "$table" "$work/reference.zd"
}

# --- two lines, F2 ------------------------------------------------------------------------------
step "typing two lines"
focus_main
xdotool type --delay 20 'abc xyz'
xdotool key Return
xdotool type --delay 20 'kok-chiong kc'
shot typed
step "F2"
xdotool key F2
expect_bytes "$data" 'abc xyz\r\nkok-chiong kc' "F2 did not write the two lines to $data"
echo "data file after F2:"
show_bytes "$data"
[ ! -e "$table" ] || fail "F2 wrote a table"

# --- F3 and its notice --------------------------------------------------------------------------
step "F3"
focus_main
xdotool key F3
wait_for "the notice after F3" notice_shown
notice=$(notice_windows | head -n 1)
echo "notice window $notice"
wait_for "the table after F3" test -f "$table"
shot notice
xdotool windowfocus --sync "$notice"
xdotool key Return
wait_for "the notice to close on Return" notice_gone
kill -0 "$program_pid" 2>/dev/null || fail "the program ended after the notice"
wait_for "the table after F3 to match kpx-make's" table_matches
check_table "$(printf 'abc\txyz\nkok-chiong\tkc')" 2

# --- a third line, F5 ---------------------------------------------------------------------------
step "typing a third line"
focus_main
xdotool key Return
xdotool type --delay 20 'tai-gi tg'
step "F5"
xdotool key F5
expect_bytes "$data" 'abc xyz\r\nkok-chiong kc\r\ntai-gi tg' "F5 did not save the three lines to $data"
wait_for "the table after F5 to match kpx-make's" table_matches
check_table "$(printf 'abc\txyz\nkok-chiong\tkc\ntai-gi\ttg')" 3
# A notice would come up right after the table is written: give it a moment to show.
deadline=$((SECONDS + 3))
while [ "$SECONDS" -lt "$deadline" ]; do
    notice_gone || fail "F5 showed a notice"
    sleep 0.2
done

shot after-f5

# --- slot 12 and Sort, keyboard only ------------------------------------------------------------
slot12="$vokelu/kpx-py2.txt"
printf 'b x\r\nA y\r\na z\r\n' >"$slot12"
step "Ctrl+Tab to the slot buttons, Down, Right, Enter: slot 12"
focus_main
xdotool key ctrl+Tab
xdotool key Down
xdotool key Right
xdotool key Return
step "Alt+E, O: sort; F2"
xdotool key alt+e
xdotool key o
xdotool key F2
# Case is ignored: "A y" before "a z"; every line ends with a line break after the sort.
expect_bytes "$slot12" 'A y\r\na z\r\nb x\r\n' "slot 12 was not sorted and saved from the keyboard"
shot sorted

# --- close from the File menu -------------------------------------------------------------------
step "closing: Alt+F, X"
[ ! -e "$state" ] || fail "the state file was written before the close"
focus_main
xdotool key alt+f
xdotool key x
program_ended() { ! kill -0 "$program_pid" 2>/dev/null; }
wait_for "the program to end after Alt+F, X" program_ended
status=0
wait "$program_pid" || status=$?
program_pid=''
[ "$status" -eq 0 ] || fail "the program ended with status $status"
# Slot 12, the caret where the load put it and the sort kept it.
expect_bytes "$state" \
    "//kpxv4.ini, unless you know what you are doing, don't change this file, but deleting this file is alright\r\nf=12\r\ns=0\r\n" \
    "the state file after the close"
echo "state file:"
show_bytes "$state"
expect_bytes "$data" 'abc xyz\r\nkok-chiong kc\r\ntai-gi tg' "the data file changed at the close"

echo "PASS: real-window keyboard session"
