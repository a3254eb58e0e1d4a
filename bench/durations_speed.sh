#!/bin/sh
# `orbivex-cli durations` against `orbivex-cli chart` for the same chart, whole processes
# alternating, medians of the runs and their ratio (target: durations at most 1.5 times chart,
# and no chart's durations over 50 ms). The busy charts: world transits of 1748-12-31, where
# Neptune trine Pluto lasts 95 years, world transits of 2024-03-20 with the Neptune-Pluto
# sextile of 2019-2036, and personal transits of that day. With valgrind installed it also
# prints the instructions each process runs, which a loaded machine does not change.
#
# Measured on 2026-12-07 on the shared 2-core machine under a load of about 10, instructions
# of whole processes before the walks passed over undecided days and after (chart: 9.6 M):
#   world transits 1748-12-31:     durations 876.1 M -> 25.1 M, --no-durations 877.0 M -> 10.6 M
#   world transits 2024-03-20:     durations 257.3 M -> 17.7 M
#   personal transits 2024-03-20:  durations  53.9 M -> 14.3 M
# and medians of 5 to 7 loaded runs: 1748-12-31 durations 1399 ms -> 40 ms (chart 28-38 ms),
# ratios now 1.06, 1.33 and 1.04.
# Measured again on 2026-12-08 on the quiet machine (load under 1), medians of 11: chart 7.0 M
# instructions (the one-chart path lost 3 M), so the ratios rose to 1.52 (1748-12-31: 13.6 ms
# against 9.0 ms), 1.23 and 1.15; with the records' numbers read by from_chars (22.5 M -> 22.0 M
# instructions for 1748-12-31), 1.45, 1.27-1.30 and 1.00-1.13 in two sets of 11.
#
# Usage: bench/durations_speed.sh [BUILD_BIN_FOLDER] [REPEATS]
set -eu
bin=${1:-build/bin}
repeats=${2:-11}
cli="$bin/orbivex-cli"
if [ ! -x "$cli" ]; then
    echo "durations_speed.sh: $cli not found; build the orbivex-cli target first" >&2
    exit 2
fi

median() {
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Milliseconds of one run of the command given.
time_ms() {
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f\n", (b - a) * 1000 }'
}

instructions() {
    valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
        awk '/Collected/ { print $NF }'
}

compare() {
    name=$1
    shift
    chart_times=""
    durations_times=""
    i=0
    while [ "$i" -lt "$repeats" ]; do
        chart_times="$chart_times $(time_ms "$cli" chart "$@")"
        durations_times="$durations_times $(time_ms "$cli" durations "$@")"
        i=$((i + 1))
    done
    chart=$(echo "$chart_times" | tr ' ' '\n' | grep . | median)
    durations=$(echo "$durations_times" | tr ' ' '\n' | grep . | median)
    awk -v n="$name" -v c="$chart" -v d="$durations" 'BEGIN {
        printf "%-34s chart %7.2f ms  durations %7.2f ms  ratio %.2f (target <= 1.5, <= 50 ms)\n",
            n, c, d, d / c }'
    if command -v valgrind >/dev/null 2>&1; then
        ci=$(instructions "$cli" chart "$@")
        di=$(instructions "$cli" durations "$@")
        nd=$(instructions "$cli" durations --no-durations "$@")
        awk -v c="$ci" -v d="$di" -v n="$nd" 'BEGIN {
            printf "%-34s instructions: chart %.1f M, durations %.1f M (%.2f), --no-durations %.1f M\n",
                "", c / 1e6, d / 1e6, d / c, n / 1e6 }'
    fi
}

compare "world transits 1748-12-31" --mode world --world "1748-12-31 12:00 GMT"
compare "world transits 2024-03-20" --mode world --world "2024-03-20 12:00 GMT"
compare "personal transits 2024-03-20" --mode personal1 --world "2024-03-20 12:00 GMT" \
    --birth1 "1950-05-17 04:30 GMT"
