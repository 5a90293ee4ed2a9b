#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Checks that every C++ source follows the committed .clang-format; with --fix, reformats them.
# Usage: scripts/check-format.sh [--fix]
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang-format >/dev/null 2>&1; then
  echo "clang-format is missing (package clang-format)" >&2
  exit 1
fi
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --fix ]; then
  clang-format -i "${sources[@]}"
  exit 0
fi
report=$(mktemp)
trap 'rm -f "$report"' EXIT
if ! clang-format --dry-run --Werror "${sources[@]}" 2>"$report"; then
  grep -E '^[^ ].*(warning|error):' "$report" | cut -d: -f1 | sort -u | sed 's/^/not formatted: /' >&2
  echo "Run scripts/check-format.sh --fix" >&2
  exit 1
fi
echo "Formatting: ${#sources[@]} files as .clang-format says"
