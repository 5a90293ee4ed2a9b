#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
#
# Times kpx-convert's import of a real word list made large (a ChhoeTaigi CSV's rows repeated to
# 100,000) against kpx-make on the data file that import produces, and prints median wall time,
# peak memory and the ratio to kpx-make. See bench/README.md.
#
# usage: bench/run_import_bench.sh [--build] [--rows N] [--runs R] [--data CSV] [--distinct] [BUILD_DIR]
#   --build      configure (Release, no GUI, no tests) and build the programs into BUILD_DIR
#   --rows       rows of the CSV (default 100000)
#   --runs       runs per command, alternating; medians are reported (default 5)
#   --data       the CSV to repeat (default ../shared/data/chhoetaigi/ChhoeTaigi_TaioanSitbutMialui.csv
#                beside the project), imported with --key PojInput --text HanLoTaibunPoj
#   --distinct   each repetition's keys made different, so that the data file keeps every row
#                (repeated rows are one entry each in the data file import writes)
#   BUILD_DIR    build directory (default build-bench in the source tree)

set -uo pipefail

script_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source_dir=$(dirname "$script_dir")
do_build=0
distinct=0
rows=100000
runs=5
data=$source_dir/../shared/data/chhoetaigi/ChhoeTaigi_TaioanSitbutMialui.csv
build_dir=""
while (($#)); do
    case $1 in
    --build) do_build=1 ;;
    --rows) rows=${2:?--rows needs a number}; shift ;;
    --runs) runs=${2:?--runs needs a number}; shift ;;
    --data) data=${2:?--data needs a file}; shift ;;
    --distinct) distinct=1 ;;
    -h | --help) sed -n '4,17p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "run_import_bench.sh: unknown option $1" >&2; exit 2 ;;
    *) build_dir=$1 ;;
    esac
    shift
done
build_dir=$(cd "${build_dir:-$source_dir/build-bench}" 2>/dev/null && pwd) || build_dir=${build_dir:-$source_dir/build-bench}
die() {
    echo "run_import_bench.sh: $*" >&2
    exit 1
}
[[ -r $data ]] || die "no word list at $data (give --data)"
data=$(cd "$(dirname "$data")" && pwd)/$(basename "$data")
if ((do_build)); then
    cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DKPX_BUILD_GUI=OFF -DKPX_BUILD_TESTS=OFF \
        >/dev/null || die "configuring $build_dir failed"
    cmake --build "$build_dir" --target kpx-make kpx-convert -j "${JOBS:-2}" >/dev/null || die "building failed"
fi
make=$build_dir/tools/kpx-make
convert=$build_dir/tools/kpx-convert
for program in "$make" "$convert"; do
    [[ -x $program ]] || die "$program is not built; run with --build"
done
/usr/bin/time --version 2>&1 | grep -q GNU || die "GNU time (/usr/bin/time) is needed for peak memory"

work=$build_dir/import-bench-data
mkdir -p "$work" || die "cannot create $work"
cd "$work" || die "cannot enter $work"
# The header once, then the rows again and again; with --distinct each round's keys get their own
# last syllable (-ba, -bb, ...), so that the data file keeps every row instead of one of each.
python3 - "$data" "$rows" "$distinct" >words.csv <<'PY' || die "making the CSV failed"
import csv, io, sys
rows = list(csv.reader(io.open(sys.argv[1], encoding="utf-8-sig", newline="")))
header, body = rows[0], rows[1:]
want, distinct = int(sys.argv[2]), sys.argv[3] == "1"
key = header.index("PojInput")
out = io.StringIO()
writer = csv.writer(out, quoting=csv.QUOTE_ALL, lineterminator="\r\n")
writer.writerow(header)
for i in range(want):
    row = list(body[i % len(body)])
    rnd = i // len(body)
    if distinct and rnd:
        row[key] += "-" + "bcdfghjklm"[rnd // 10 % 10] + "aeiou"[rnd % 5] + "nmgpt"[rnd // 5 % 2]
    writer.writerow(row)
sys.stdout.write("\ufeff" + out.getvalue())
PY
"$convert" -q words.csv -o words.txt --key PojInput --text HanLoTaibunPoj 2>/dev/null || die "import failed"
echo "$(basename "$data") repeated: $rows rows, $(wc -c <words.csv) bytes; data file: $(grep -c . words.txt) lines"

names=(import make)
run_one() {
    case $1 in
    import) "$convert" -q words.csv -o out.txt --key PojInput --text HanLoTaibunPoj 2>/dev/null ;;
    make) "$make" -q words.txt -o out.zd --order ty ;;
    esac
}
export -f run_one
export make convert
# shellcheck source=run_timing.sh
. "$script_dir/run_timing.sh"
time_runs
cmp -s out.txt words.txt || die "the imports' data files differ"
base=$(median "${walls[make]}")
printf '%-18s %9s %9s %8s\n' "$rows rows" "wall s" "peak MiB" "x make"
for name in "${names[@]}"; do
    wall=$(median "${walls[$name]}")
    peak=$(median "${peaks[$name]}")
    printf '%-18s %9s %9.0f %8.2f\n' "$name" "$wall" "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')" \
        "$(awk -v a="$wall" -v b="$base" 'BEGIN { print a / b }')"
done
