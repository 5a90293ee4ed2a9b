#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
#
# Times kpx-make against the common yardstick (a bare read-sort-write program kept beside the
# project, ../shared/bench/limit.cpp) and the project's own baseline, on generated word lists, in
# every order, and prints wall time, peak memory and their ratios per size and order. See
# bench/README.md.
#
# usage: bench/run_bench.sh [--build] [--sizes N,N,...] [--orders ty,py,ib] [--runs R]
#                           [--yardstick DIR] [BUILD_DIR]
#   --build      configure (Release, no GUI, no tests) and build the programs into BUILD_DIR
#   --sizes      entry counts to generate (default 10000,100000,1000000)
#   --orders     orders to run kpx-make in (default ty,py,ib)
#   --runs       runs per program, size and order, alternating, after one warm-up run of each;
#                medians are reported (default 5)
#   --yardstick  directory with limit.cpp and gen_data.py (default ../shared/bench beside the
#                source tree); without it the data come from kpx-bench-gen and the baseline is
#                the yardstick
#   BUILD_DIR    build directory (default build-bench in the source tree)
# Environment: KPX_MAKE overrides the kpx-make binary, JOBS the build parallelism (default 2),
# KPX_BENCH_METER=gnu-time|python3 picks how peak memory is measured, CXX the compiler for the
# yardstick (default g++).

set -uo pipefail

script_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source_dir=$(dirname "$script_dir")

do_build=0
sizes="10000,100000,1000000"
orders="ty,py,ib"
runs=5
build_dir=""
seed=1
yardstick_dir=""

while (($#)); do
    case $1 in
    --build) do_build=1 ;;
    --sizes) sizes=${2:?--sizes needs a list}; shift ;;
    --orders) orders=${2:?--orders needs a list}; shift ;;
    --runs) runs=${2:?--runs needs a number}; shift ;;
    --yardstick) yardstick_dir=${2:?--yardstick needs a directory}; shift ;;
    -h | --help) sed -n '4,22p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "run_bench.sh: unknown option $1" >&2; exit 2 ;;
    *) build_dir=$1 ;;
    esac
    shift
done
[[ $runs =~ ^[1-9][0-9]*$ ]] || { echo "run_bench.sh: --runs wants a positive number" >&2; exit 2; }
build_dir=${build_dir:-$source_dir/build-bench}

die() {
    echo "run_bench.sh: $*" >&2
    exit 1
}

if ((do_build)); then
    jobs=${JOBS:-2}
    cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release \
        -DKPX_BUILD_GUI=OFF -DKPX_BUILD_TESTS=OFF >/dev/null || die "configuring $build_dir failed"
    cmake --build "$build_dir" --target kpx-bench-gen kpx-bench-baseline -j "$jobs" >/dev/null \
        || die "building the bench programs failed"
    if grep -qs 'kpx-make' "$source_dir/tools/CMakeLists.txt"; then
        cmake --build "$build_dir" --target kpx-make -j "$jobs" >/dev/null || die "building kpx-make failed"
    fi
fi

gen=$build_dir/bench/kpx-bench-gen
baseline=$build_dir/bench/kpx-bench-baseline
kpx_make=${KPX_MAKE:-$build_dir/tools/kpx-make}
[[ -x $gen && -x $baseline ]] \
    || die "$build_dir has no kpx-bench-gen / kpx-bench-baseline; run with --build or build them first"
have_kpx=1
if [[ ! -x $kpx_make ]]; then
    have_kpx=0
    echo "note: $kpx_make is not built yet; timing the baseline only" >&2
fi

work=$build_dir/bench-data
mkdir -p "$work" || die "cannot create $work"
stats=$(mktemp) || die "mktemp failed"
trap 'rm -f "$stats"' EXIT

# The common yardstick: built here from its source as its README says, with its own data.
have_limit=0
if [[ -z $yardstick_dir && -f $source_dir/../shared/bench/limit.cpp ]]; then
    yardstick_dir=$source_dir/../shared/bench
fi
if [[ -n $yardstick_dir ]]; then
    [[ -f $yardstick_dir/limit.cpp && -f $yardstick_dir/gen_data.py ]] \
        || die "$yardstick_dir has no limit.cpp and gen_data.py"
    command -v python3 >/dev/null || die "python3 is needed for the yardstick's gen_data.py"
    yardstick_dir=$(cd "$yardstick_dir" && pwd)
    limit=$work/limit
    if [[ ! -x $limit || $yardstick_dir/limit.cpp -nt $limit ]]; then
        "${CXX:-g++}" -O2 -std=c++17 -o "$limit" "$yardstick_dir/limit.cpp" || die "building the yardstick failed"
    fi
    have_limit=1
else
    echo "note: no yardstick (limit.cpp, gen_data.py) found; data from kpx-bench-gen, ratios against the baseline" >&2
fi

# Peak memory comes from GNU time when there is one, else from python3's rusage of the child.
meter=${KPX_BENCH_METER:-}
if [[ -n $meter ]]; then
    [[ $meter == gnu-time || $meter == python3 ]] || die "KPX_BENCH_METER is gnu-time or python3"
elif /usr/bin/time --version 2>&1 | grep -q GNU; then
    meter=gnu-time
elif command -v python3 >/dev/null; then
    meter=python3
else
    die "neither GNU time nor python3 is available to measure peak memory"
fi

# measure LOG CMD...: runs CMD with its output in LOG; sets wall_s, peak_kb and status.
measure() {
    local log=$1
    shift
    if [[ $meter == gnu-time ]]; then
        local t0 t1
        t0=$(date +%s%N)
        /usr/bin/time -f '%e %M' -o "$stats" "$@" >"$log" 2>&1
        status=$?
        t1=$(date +%s%N)
        # %e only has centiseconds; the clock around the call resolves the small sizes.
        wall_s=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.4f", (b - a) / 1e9 }')
        peak_kb=$(tail -n 1 "$stats" | awk '{ print $2 }')
    else
        python3 - "$stats" "$log" "$@" <<'EOF'
import resource, subprocess, sys, time
stats, log, cmd = sys.argv[1], sys.argv[2], sys.argv[3:]
with open(log, "wb") as out:
    t0 = time.perf_counter()
    rc = subprocess.run(cmd, stdout=out, stderr=subprocess.STDOUT).returncode
    wall = time.perf_counter() - t0
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
with open(stats, "w") as f:
    f.write(f"{wall:.4f} {peak} {rc}\n")
EOF
        read -r wall_s peak_kb status <"$stats"
    fi
    if ((status != 0)); then
        echo "run_bench.sh: failed (exit $status): $*" >&2
        sed 's/^/    /' "$log" >&2
        exit 1
    fi
}

median() {
    tr ' ' '\n' <<<"$1" | grep . | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# table_count FILE: prints the entry count at offset 12; fails when the file is not
# 32 bytes plus the body size at offset 16.
table_count() {
    local bytes size
    bytes=$(od -An -v -tu1 -j 12 -N 8 "$1" | tr -s ' \n' ' ') || return 1
    size=$(wc -c <"$1") || return 1
    awk -v b="$bytes" -v size="$size" 'BEGIN {
        n = split(b, x, " ")
        if (n != 8) exit 1
        count = x[1] + 256 * (x[2] + 256 * (x[3] + 256 * x[4]))
        body = x[5] + 256 * (x[6] + 256 * (x[7] + 256 * x[8]))
        if (size != 32 + body) exit 1
        print count
    }'
}

ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }'
}

mb() {
    awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'
}

echo "kpx-make: $( ((have_kpx)) && echo "$kpx_make" || echo "not built")"
if ((have_limit)); then
    echo "yardstick: $limit (from $yardstick_dir/limit.cpp); data: gen_data.py N --format big5"
else
    echo "yardstick: none; data: kpx-bench-gen N $seed"
fi
echo "baseline: $baseline (flushes its table to the disk like kpx-make)"
echo "meter: $meter; one warm-up, then $runs alternating runs of each program per size and order, medians"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg 2>/dev/null || uptime)"
if [[ $meter == python3 ]]; then
    # The child starts as a copy of the python process and Linux keeps that high-water mark
    # across exec, so peaks below python's own size read as python's size.
    measure "$work/floor.log" true
    echo "note: python3 meter reads peaks below $(mb "$peak_kb") MB as $(mb "$peak_kb") MB"
fi
echo

# Ratios are kpx-make over the yardstick (or over the baseline when there is no yardstick).
row='%9s %5s  %10s %11s %6s %10s %6s  %11s %12s %6s %11s  %9s\n'
printf "$row" entries order "kpx-make s" "yardstick s" ratio "baseline s" ratio "kpx-make MB" "yardstick MB" ratio \
    "baseline MB" count

failed=0
verdicts=()
IFS=',' read -r -a size_list <<<"$sizes"
IFS=',' read -r -a order_list <<<"$orders"
largest=0
for n in "${size_list[@]}"; do
    [[ $n =~ ^[1-9][0-9]*$ ]] || die "bad size '$n'"
    ((n > largest)) && largest=$n
done
for n in "${size_list[@]}"; do
    if ((have_limit)); then
        data=$work/common-$n.txt
        if [[ ! -s $data || $yardstick_dir/gen_data.py -nt $data ]]; then
            python3 "$yardstick_dir/gen_data.py" "$n" -o "$data" --format big5 >"$work/gen_data.log" 2>&1 \
                || die "generating $data failed: $(cat "$work/gen_data.log")"
        fi
    else
        data=$work/data-$n-s$seed.txt
        if [[ ! -s $data || $gen -nt $data ]]; then
            "$gen" "$n" "$seed" "$data" >/dev/null || die "generating $data failed"
        fi
    fi
    out_base=$work/baseline-$n.zd
    out_limit=$work/limit-$n.zd
    for order in "${order_list[@]}"; do
        [[ $order == ty || $order == py || $order == ib ]] || die "bad order '$order'"
        out_kpx=$work/kpx-make-$n-$order.zd
        kpx_times="" kpx_peaks="" base_times="" base_peaks="" limit_times="" limit_peaks=""
        # Alternate the programs, so that a change of load falls on all of them alike; run 0
        # warms the caches and is not counted.
        for ((r = 0; r <= runs; r++)); do
            if ((have_kpx)); then
                measure "$work/kpx-make-$n.log" "$kpx_make" "$data" -o "$out_kpx" --order "$order"
                ((r > 0)) && kpx_times+=" $wall_s" kpx_peaks+=" $peak_kb"
            fi
            if ((have_limit)); then
                measure "$work/limit-$n.log" "$limit" "$data" "$out_limit"
                ((r > 0)) && limit_times+=" $wall_s" limit_peaks+=" $peak_kb"
            fi
            measure "$work/baseline-$n.log" "$baseline" "$data" "$out_base"
            ((r > 0)) && base_times+=" $wall_s" base_peaks+=" $peak_kb"
        done

        bt=$(median "$base_times") bp=$(median "$base_peaks")
        base_count=$(table_count "$out_base") || die "$out_base is not a well-formed table"
        count=$base_count
        lt=- lp=- ref_t=$bt ref_p=$bp
        if ((have_limit)); then
            lt=$(median "$limit_times") lp=$(median "$limit_peaks") ref_t=$lt ref_p=$lp
            # The yardstick's header has its count at offset 4.
            limit_count=$(od -An -tu4 -j 4 -N 4 "$out_limit" | tr -d ' ')
            [[ $limit_count == "$count" ]] || count="$count!=$limit_count" failed=1
        fi
        if ((have_kpx)); then
            kt=$(median "$kpx_times") kp=$(median "$kpx_peaks")
            kpx_count=$(table_count "$out_kpx") || die "$out_kpx is not a well-formed table"
            if [[ $kpx_count != "$base_count" ]]; then
                count="$kpx_count!=$count"
                failed=1
            fi
            printf "$row" "$n" "$order" "$kt" "$lt" "$( ((have_limit)) && ratio "$kt" "$lt" || echo -)" "$bt" \
                "$(ratio "$kt" "$bt")" "$(mb "$kp")" "$( ((have_limit)) && mb "$lp" || echo -)" \
                "$(ratio "$kp" "$ref_p")" "$(mb "$bp")" "$count"
            if ((n == largest)); then
                verdicts+=("$order $(ratio "$kt" "$ref_t") $(ratio "$kp" "$ref_p")")
            fi
        else
            printf "$row" "$n" "$order" - "$lt" - "$bt" - - "$( ((have_limit)) && mb "$lp" || echo -)" - "$(mb "$bp")" \
                "$count"
        fi
    done
done

echo
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg 2>/dev/null || uptime)"
if ((failed)); then
    echo "entry counts differ between the programs (marked a!=b above)" >&2
    exit 1
fi
if ((${#verdicts[@]})); then
    against=$( ((have_limit)) && echo yardstick || echo baseline)
    all=met
    for verdict in "${verdicts[@]}"; do
        read -r order t m <<<"$verdict"
        ok=$(awk -v t="$t" -v m="$m" 'BEGIN { print (t <= 1.2 && m <= 1.2) ? "met" : "NOT met" }')
        [[ $ok == met ]] || all="NOT met"
        echo "target at $largest entries, $order (time ${t}x, memory ${m}x the $against's; each at most 1.2x): $ok"
    done
    echo "target in every order run: $all"
fi
exit 0
