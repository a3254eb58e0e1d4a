#!/usr/bin/env bash
# orbivex-cli against Debian's swetest, which prints positions from the same ephemeris library,
# in one run, as ratios of whole-process times (heliocentric, J2000, true positions of Earth,
# Mercury to Neptune and Pluto):
#   table  `orbivex-cli positions --from 2000-01-01 --days 4058` against swetest printing the
#          same table (4058 daily steps at 12:00 UT). Target: at most 0.35 of swetest's time.
#   chart  `orbivex-cli chart` of world transits for one date (positions, aspects, motion,
#          patterns, midpoints, grid and report) against swetest printing the nine positions
#          for that instant. Target: at most 3.5 times swetest's time.
# The targets are for the medians. With valgrind installed, the instructions each program runs
# (all threads, the dynamic loader included) are printed too: a figure that the other work of a
# shared machine does not disturb.
# The programs are run alternately and the best and median times of each are printed. Both
# tables, and the positions of the chart's instant, are compared first, so that a fast but
# wrong answer does not pass unnoticed.
#
# Usage: bench/compare_swetest.sh [BUILD_DIR] [REPETITIONS]
set -euo pipefail
default_repetitions=21
# shellcheck source=bench/swetest_common.sh
source "$(dirname "$0")/swetest_common.sh"

# -p: C is the Earth (heliocentric), 2..9 Mercury to Pluto; -fJl: Julian date and longitude;
# -hor: one line per step; -ut12:00: the steps are at 12:00 Universal Time.
swetest=(swetest -hel -j2000 -true "-edir$ephemeris" -ut12:00 -pC23456789 -head)
ours_table=("$cli" positions --from 2000-01-01 --days 4058 --time 12:00 --zone GMT)
theirs_table=("${swetest[@]}" -b1.1.2000 -n4058 -s1 -fJl -hor)
ours_chart=("$cli" chart --mode world --world "2024-03-20 12:00 GMT")
theirs_chart=("${swetest[@]}" -b20.3.2024 -fl)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The same table? Earth to Neptune must agree to the last printed digit (or one unit of it,
# from rounding); Pluto, from the program's table of whole seconds of arc, within a second.
agree() { # FILE_OURS FILE_THEIRS LINES: both with the Julian date, then nine longitudes a line
    paste -d' ' "$1" "$2" | awk -v lines="$3" '
        function abs(x) { return x < 0 ? -x : x }
        function apart(a, b) { d = abs(a - b); return d > 180 ? 360 - d : d }
        {
            n++
            if (abs($1 - $11) > 1e-6) { bad = "Julian dates differ on line " n }
            for (i = 2; i <= 9; i++) { d = apart($i, $(i + 10)); if (d > planets) planets = d }
            d = apart($10, $20); if (d > pluto) pluto = d
        }
        END {
            if (n != lines) { bad = "expected " lines " lines, got " n }
            printf "  agree: Earth to Neptune within %.7f deg, Pluto within %.2f arcsec\n",
                planets, pluto * 3600
            if (bad != "" || planets > 2e-7 || pluto * 3600 > 1) {
                print "tables differ: " (bad != "" ? bad : "beyond the tolerances") > "/dev/stderr"
                exit 1
            }
        }'
}
echo "table: 4058 days x 9 bodies"
"${ours_table[@]}" >"$work/ours.txt"
"${theirs_table[@]}" >"$work/theirs.txt"
agree "$work/ours.txt" "$work/theirs.txt" 4058
echo "chart: world transits of 2024-03-20 12:00 GMT"
"$cli" positions --from 2024-03-20 --days 1 --time 12:00 --zone GMT >"$work/ours.txt"
{ printf '2460390.0 '; "${theirs_chart[@]}" | tr '\n' ' '; echo; } >"$work/theirs.txt"
agree "$work/ours.txt" "$work/theirs.txt" 1

# Wall time of one run in microseconds, from the shell's own clock (no extra process).
run_us() {
    local start=$EPOCHREALTIME
    "$@" >/dev/null
    local end=$EPOCHREALTIME
    echo $((${end/./} - ${start/./}))
}

summary() { # best and median in milliseconds
    printf '%s\n' "$@" | sort -n | awk '{ t[NR] = $1 } END {
        printf "%.2f %.2f", t[1] / 1000, t[int((NR + 1) / 2)] / 1000 }'
}

# Each comparison runs in a loop of its own, the two programs alternately and each first in
# every other round, so that neither always follows the other's long table run (which leaves
# the caches cold for whatever comes next).
ours_table_times=()
theirs_table_times=()
ours_chart_times=()
theirs_chart_times=()
for ((i = 0; i < repetitions; i++)); do
    if ((i % 2 == 0)); then
        ours_table_times+=("$(run_us "${ours_table[@]}")")
        theirs_table_times+=("$(run_us "${theirs_table[@]}")")
    else
        theirs_table_times+=("$(run_us "${theirs_table[@]}")")
        ours_table_times+=("$(run_us "${ours_table[@]}")")
    fi
done
for ((i = 0; i < repetitions; i++)); do
    if ((i % 2 == 0)); then
        ours_chart_times+=("$(run_us "${ours_chart[@]}")")
        theirs_chart_times+=("$(run_us "${theirs_chart[@]}")")
    else
        theirs_chart_times+=("$(run_us "${theirs_chart[@]}")")
        ours_chart_times+=("$(run_us "${ours_chart[@]}")")
    fi
done

printf '\n%d runs each; best and median in ms, ratio orbivex-cli / swetest\n' "$repetitions"
printf '%-8s %19s  %19s  %19s  %7s\n' "" "orbivex-cli" "swetest" "ratio" "target"
printf '%-8s %19s  %19s  %19s\n' "" "best    median" "best    median" "best    median"
line() { # NAME TARGET OURS... -- THEIRS...
    local name=$1 target=$2
    shift 2
    local ours=() theirs=()
    while [[ $1 != -- ]]; do ours+=("$1"); shift; done
    shift
    theirs=("$@")
    local ob om tb tm
    read -r ob om <<<"$(summary "${ours[@]}")"
    read -r tb tm <<<"$(summary "${theirs[@]}")"
    awk -v n="$name" -v t="$target" -v ob="$ob" -v om="$om" -v tb="$tb" -v tm="$tm" 'BEGIN {
        printf "%-8s %9.2f %9.2f  %9.2f %9.2f  %9.3f %9.3f  %s\n",
            n, ob, om, tb, tm, ob / tb, om / tm, "<= " t }'
}
line table 0.35 "${ours_table_times[@]}" -- "${theirs_table_times[@]}"
line chart 3.5 "${ours_chart_times[@]}" -- "${theirs_chart_times[@]}"

if command -v valgrind >/dev/null; then
    instructions() { # millions of instructions of one run
        valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
            awk '/Collected/ { printf "%.1f", $NF / 1e6 }'
    }
    printf '\ninstructions (millions)  orbivex-cli  swetest  ratio\n'
    for name in table chart; do
        declare -n o="ours_$name" t="theirs_$name"
        oi=$(instructions "${o[@]}")
        ti=$(instructions "${t[@]}")
        awk -v n="$name" -v a="$oi" -v b="$ti" 'BEGIN {
            printf "%-23s %12.1f %8.1f %6.2f\n", n, a, b, a / b }'
    done
fi
