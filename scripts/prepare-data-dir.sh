#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Prepares the program's data directory as an installer would, since the program itself never
# creates it: makes $KPX_DRIVE/vokelu (or ~/vokelu when KPX_DRIVE is not set) when it is missing
# and copies the handbook's example include file there when none is present. A file the user
# already has is never overwritten.
# Usage: scripts/prepare-data-dir.sh [example.txt to copy]
# Prints the data directory's path.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
example=${1:-"$root/data/example.txt"}

drive=${KPX_DRIVE:-}
if [ -z "$drive" ]; then
    drive=${HOME:?neither KPX_DRIVE nor HOME is set}
fi
directory="${drive%/}/vokelu"

if [ ! -d "$directory" ]; then
    mkdir -p "$directory"
    echo "created $directory" >&2
fi
if [ ! -e "$directory/example.txt" ]; then
    cp "$example" "$directory/example.txt"
    echo "copied example.txt to $directory" >&2
fi
echo "$directory"
