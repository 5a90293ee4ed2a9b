#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
#
# Times kpx-convert's export and import against kpx-make on the same generated word list and
# prints median wall time, peak memory and the ratio to kpx-make. See bench/README.md.
#
# usage: bench/run_convert_bench.sh [--build] [--size N] [--runs R] [BUILD_DIR]
#   --build      configure (Release, no GUI, no tests) and build the programs into BUILD_DIR
#   --size       entries to generate (default 1000000)
#   --runs       runs per command, alternating; medians are reported (default 5)
#   BUILD_DIR    build directory (default build-bench in the source tree)

set -uo pipefail

script_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source_dir=$(dirname "$script_dir")
do_build=0
size=1000000
runs=5
build_dir=""
while (($#)); do
    case $1 in
    --build) do_build=1 ;;
    --size) size=${2:?--size needs a number}; shift ;;
    --runs) runs=${2:?--runs needs a number}; shift ;;
    -h | --help) sed -n '4,11p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "run_convert_bench.sh: unknown option $1" >&2; exit 2 ;;
    *) build_dir=$1 ;;
    esac
    shift
done
build_dir=$(cd "${build_dir:-$source_dir/build-bench}" 2>/dev/null && pwd) || build_dir=${build_dir:-$source_dir/build-bench}
die() {
    echo "run_convert_bench.sh: $*" >&2
    exit 1
}
if ((do_build)); then
    cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DKPX_BUILD_GUI=OFF -DKPX_BUILD_TESTS=OFF \
        >/dev/null || die "configuring $build_dir failed"
    cmake --build "$build_dir" --target kpx-bench-gen kpx-make kpx-convert -j "${JOBS:-2}" >/dev/null \
        || die "building failed"
fi
gen=$build_dir/bench/kpx-bench-gen
make=$build_dir/tools/kpx-make
convert=$build_dir/tools/kpx-convert
for program in "$gen" "$make" "$convert"; do
    [[ -x $program ]] || die "$program is not built; run with --build"
done
/usr/bin/time --version 2>&1 | grep -q GNU || die "GNU time (/usr/bin/time) is needed for peak memory"

work=$build_dir/convert-bench-data
mkdir -p "$work" || die "cannot create $work"
cd "$work" || die "cannot enter $work"
"$gen" "$size" 1 data.txt >/dev/null || die "generating the data failed"
# The inputs of the imports: the same entries in each format, written once beforehand.
"$convert" -q data.txt -o in.dict.yaml || die "export failed"
"$convert" -q data.txt -o in.fcitx5.txt || die "export failed"
"$convert" -q data.txt -o in.tsv || die "export failed"

names=(make export-rime-file export-rime-ty export-fcitx5-ty export-tsv-file import-rime import-fcitx5 import-tsv)
run_one() {
    case $1 in
    make) "$make" -q data.txt -o out.zd --order ty ;;
    export-rime-file) "$convert" -q data.txt -o out.dict.yaml ;;
    export-rime-ty) "$convert" -q data.txt -o out.dict.yaml --order ty ;;
    export-fcitx5-ty) "$convert" -q data.txt -o out.fcitx5.txt --order ty ;;
    export-tsv-file) "$convert" -q data.txt -o out.tsv ;;
    import-rime) "$convert" -q in.dict.yaml -o out.txt ;;
    import-fcitx5) "$convert" -q in.fcitx5.txt -o out.txt ;;
    import-tsv) "$convert" -q in.tsv -o out.txt ;;
    esac
}
export -f run_one
export make convert
# shellcheck source=run_timing.sh
. "$script_dir/run_timing.sh"
time_runs
base=$(median "${walls[make]}")
printf '%-18s %9s %9s %8s\n' "$size entries" "wall s" "peak MiB" "x make"
for name in "${names[@]}"; do
    wall=$(median "${walls[$name]}")
    peak=$(median "${peaks[$name]}")
    printf '%-18s %9s %9.0f %8.2f\n' "$name" "$wall" "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')" \
        "$(awk -v a="$wall" -v b="$base" 'BEGIN { print a / b }')"
done
