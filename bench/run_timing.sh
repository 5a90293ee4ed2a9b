# SPDX-License-Identifier: GPL-2.0-or-later
# Sourced by the benchmark scripts: times each of names (run_one NAME runs one, in the current
# directory) runs times after one warm-up run, into walls[NAME] (seconds) and peaks[NAME]
# (peak resident kilobytes), each a list of figures; median prints the middle one of a list.
declare -A walls peaks
time_runs() {
    echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
    local run name t0 t1
    for ((run = 0; run <= runs; ++run)); do
        for name in "${names[@]}"; do
            t0=$(date +%s%N)
            /usr/bin/time -f '%M' -o stats.txt bash -c "run_one $name" || die "$name failed"
            t1=$(date +%s%N)
            # Run 0 warms the caches and is not counted.
            ((run == 0)) && continue
            walls[$name]+="$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", (b - a) / 1e9 }') "
            peaks[$name]+="$(tail -n 1 stats.txt) "
        done
    done
    echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
}
median() { tr ' ' '\n' <<<"$1" | grep . | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
