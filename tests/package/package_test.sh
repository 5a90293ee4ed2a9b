#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Makes the Debian package from a configured build directory and checks it as a user's machine
# would meet it: its control data and dependencies, lintian (errors and warnings fail, beyond the
# package's own overrides), desktop-file-validate and appstreamcli on the files it installs, and
# the unpacked programs: kpx-make --version, and the window started once under Xvfb.
# Usage: tests/package/package_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
cd "$(dirname "$0")/../.."

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
ok() {
    echo "ok: $*"
}

version=$(sed -n 's/^project(kpx VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
rm -rf "$build/package"
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/package/kpxv410_"$version"_*.deb)
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

# --- Control data -------------------------------------------------------------------------
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = kpxv410 ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fail "package version $(field Version), project $version"
depends=$(field Depends)
echo "Depends: $depends"
for library in libc6 libstdc++6 libqt6core6 libqt6widgets6; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library, which the binaries link"
done
ok "control data: name, version and the dependencies dpkg-shlibdeps read off the binaries"

# --- Contents -----------------------------------------------------------------------------
contents=$(dpkg-deb --contents "$deb" | awk '{print $NF}')
for path in usr/bin/kpxv410 usr/bin/kpx-make usr/bin/kpx-dump usr/bin/kpx-convert \
    usr/share/applications/kpxv410.desktop usr/share/metainfo/tw.kpx.kpxv410.metainfo.xml \
    usr/share/icons/hicolor/256x256/apps/kpxv410.png usr/share/kpxv410/example.txt \
    usr/share/man/man1/kpxv410.1.gz usr/share/man/man1/kpx-make.1.gz usr/share/man/man1/kpx-dump.1.gz \
    usr/share/man/man1/kpx-convert.1.gz usr/share/doc/kpxv410/copyright; do
    grep -qx "./$path" <<<"$contents" || fail "the package lacks $path"
done
ok "contents: the programs, desktop entry, metainfo, icons, example file, man pages, copyright"

# --- The ecosystem's validators -------------------------------------------------------------
lintian --fail-on error,warning "$deb" 2>&1 | grep -v 'running with root privileges' || true
lintian --fail-on error,warning "$deb" >/dev/null 2>&1 || fail "lintian reports errors or warnings"
ok "lintian: no errors or warnings"

unpacked=$(mktemp -d)
work=$(mktemp -d)
xvfb_pid=''
program_pid=''
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$unpacked" "$work"
}
trap cleanup EXIT
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked/usr/share/applications/kpxv410.desktop" || fail "desktop-file-validate"
ok "desktop-file-validate"
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/tw.kpx.kpxv410.metainfo.xml" \
    || fail "appstreamcli validate"
ok "appstreamcli validate --no-net"

# --- The unpacked programs --------------------------------------------------------------------
shown=$("$unpacked/usr/bin/kpx-make" --version)
grep -q "$version" <<<"$shown" || fail "kpx-make --version says '$shown'"
ok "kpx-make --version: $shown"

if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
    echo "SKIP: the window check needs Xvfb and xdotool"
    exit 0
fi
display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display QT_QPA_PLATFORM=xcb
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
mkdir -p "$work/drive/vokelu"
KPX_DRIVE=$work/drive "$unpacked/usr/bin/kpxv410" >"$work/program.log" 2>&1 &
program_pid=$!
window=''
for _ in $(seq 600); do
    window=$(xdotool search --onlyvisible --name 'kpxv410' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    kill -0 "$program_pid" 2>/dev/null || { cat "$work/program.log" >&2; fail "the installed window ended at once"; }
    sleep 0.1
done
[ -n "$window" ] || fail "the installed window did not show within 60 s"
if [ -n "${KPX_PACKAGE_SHOTS:-}" ] && [ -x /usr/bin/import ]; then
    mkdir -p "$KPX_PACKAGE_SHOTS"
    sleep 1
    /usr/bin/import -window root "$KPX_PACKAGE_SHOTS/installed-window.png" || true
fi
ok "the unpacked window shows: $(xdotool getwindowname "$window")"

# The first start without a data directory: one question, and 是 makes it with the example in it.
kill "$program_pid" 2>/dev/null || true
wait "$program_pid" 2>/dev/null || true
mkdir -p "$work/fresh"
KPX_DRIVE=$work/fresh "$unpacked/usr/bin/kpxv410" >"$work/program.log" 2>&1 &
program_pid=$!
question=''
for _ in $(seq 600); do
    windows=$(xdotool search --onlyvisible --name '對照表' 2>/dev/null || true)
    if [ "$(wc -w <<<"$windows")" -ge 2 ]; then
        for candidate in $windows; do
            case $(xdotool getwindowname "$candidate") in *kpxv410*) ;; *) question=$candidate ;; esac
        done
        break
    fi
    sleep 0.1
done
[ -n "$question" ] || fail "no question about the missing data directory on the first start"
[ ! -e "$work/fresh/vokelu" ] || fail "the data directory was made before the user answered"
if [ -n "${KPX_PACKAGE_SHOTS:-}" ] && [ -x /usr/bin/import ]; then
    sleep 1
    /usr/bin/import -window root "$KPX_PACKAGE_SHOTS/first-start.png" || true
fi
# 毋是 has the focus; the button before it is 是.
xdotool windowfocus --sync "$question" key shift+Tab key space
for _ in $(seq 100); do [ -f "$work/fresh/vokelu/example.txt" ] && break; sleep 0.1; done
cmp -s "$work/fresh/vokelu/example.txt" "$unpacked/usr/share/kpxv410/example.txt" \
    || fail "是 did not make the data directory with the example file"
ok "the first start asks before it makes the data directory, and 是 makes it with the example"
