#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Static checks of the 32-bit kpxv410.exe, which these machines cannot run:
#   - every DLL and function it imports is on the committed list win32/imports-i686.txt, and
#     none is newer than Windows 7 SP1 (a newer one must be looked up at run time, or Windows 7
#     refuses to start the program);
#   - its PE header: an i386 program, large-address-aware, a subsystem version that Windows 7
#     accepts, ASLR and DEP on; its manifest names Windows 7 among the supported systems.
# Usage: scripts/check-windows-exe.sh EXE [--update]
#   --update rewrites the list from the program's imports, keeping the known Windows versions;
#   a new function gets "?" and fails the check until someone writes its version in.
set -euo pipefail
cd "$(dirname "$0")/.."

exe=$1
update=${2:-}
list=win32/imports-i686.txt
objdump=i686-w64-mingw32-objdump
failed=0
fail() {
  echo "FAIL: $*"
  failed=$((failed + 1))
}

dump=$("$objdump" -p "$exe")

# --- imports -------------------------------------------------------------------------------------

# "dll function" per import, lower-case DLL names; an import by ordinal shows as "#<n>".
imports=$(awk -F'\t' '
  /DLL Name:/ { split($2, a, ": "); dll = tolower(a[2]); next }
  dll != "" && /^\t[0-9a-f]+\t/ {
    n = split($3, b, " ");
    if (n >= 2) print dll, b[2]; else print dll, "#" b[1]
  }' <<<"$dump" | sort -u)
[ -n "$imports" ] || fail "no imports found in $exe"

if [ "$update" = --update ]; then
  {
    sed -n '/^#/p' "$list"
    while read -r dll function; do
      version=$(awk -v d="$dll" -v f="$function" '$1 == d && $2 == f { print $3 }' "$list")
      echo "$dll $function ${version:-?}"
    done <<<"$imports"
  } >"$list.new"
  mv "$list.new" "$list"
  echo "Updated $list"
fi

# Windows versions, oldest first; the program supports Windows 7 SP1 and later.
versions=(nt4 2000 xp xpsp1 xpsp2 vista 7 7sp1 8 8.1 10)
rank() {
  local i
  for i in "${!versions[@]}"; do
    [ "${versions[$i]}" = "$1" ] && { echo "$i"; return; }
  done
  echo 99
}
newest_allowed=$(rank 7sp1)
listed=$(sed -e '/^#/d' -e '/^[[:space:]]*$/d' "$list")
while read -r dll function; do
  version=$(awk -v d="$dll" -v f="$function" '$1 == d && $2 == f { print $3 }' <<<"$listed")
  if [ -z "$version" ]; then
    fail "imports $dll $function, which is not on $list"
  elif [ "$version" = "?" ]; then
    fail "imports $dll $function: write the oldest Windows that has it into $list"
  elif [ "$(rank "$version")" -gt "$newest_allowed" ]; then
    fail "imports $dll $function, which needs Windows $version (look it up at run time instead)"
  fi
done <<<"$imports"
while read -r dll function _; do
  # Not a failure: branches that add and remove imports merge in either order.
  grep -qx "$dll $function" <<<"$imports" || echo "note: $list names $dll $function, which is not imported"
done <<<"$listed"
echo "imports: $(wc -l <<<"$imports") functions from $(cut -d' ' -f1 <<<"$imports" | sort -u | tr '\n' ' ')"

# --- header --------------------------------------------------------------------------------------

grep -q 'file format pei-i386' <<<"$dump" || fail "not an i386 program"
grep -q 'large address aware' <<<"$dump" || fail "not large-address-aware"
major=$(awk '$1 == "MajorSubsystemVersion" { print $2 }' <<<"$dump")
minor=$(awk '$1 == "MinorSubsystemVersion" { print $2 }' <<<"$dump")
[ "$((major * 100 + minor))" -le 601 ] || fail "subsystem version $major.$minor is newer than Windows 7's 6.1"
characteristics=$(awk '$1 == "DllCharacteristics" { print $2 }' <<<"$dump")
((0x$characteristics & 0x40)) || fail "no ASLR (dynamic base)"
((0x$characteristics & 0x100)) || fail "no DEP (NX compatible)"
# The manifest is a resource of the program: Windows 7's compatibility id must be in it.
grep -qa '35138b9a-5d96-4fbd-8e2d-a2440225f93a' "$exe" || fail "the manifest does not list Windows 7"
echo "header: subsystem $major.$minor, DllCharacteristics 0x$characteristics"

if [ "$failed" -gt 0 ]; then
  echo "Static checks of $exe: $failed failed"
  exit 1
fi
echo "Static checks of $exe: passed"
