#!/usr/bin/env bash
# Times `orbivex-cli positions --from 2000-01-01 --days 4058` against Debian's swetest printing
# the same table (heliocentric, J2000, true positions of Earth, Mercury to Neptune and Pluto,
# 4058 daily steps at 12:00 UT), alternating the two programs, and prints the best and median
# times of each and their ratio. The target: orbivex-cli takes at most a quarter of swetest's
# time. Both tables are also compared, so a fast but wrong table does not pass unnoticed.
#
# Usage: bench/compare_swetest.sh [BUILD_DIR] [REPETITIONS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
repetitions=${2:-21}
cli="$build/bin/orbivex-cli"
ephemeris=/usr/share/libswe/ephe

if [[ ! -x "$cli" ]]; then
    echo "No $cli: build first (scripts/build)." >&2
    exit 1
fi
if ! command -v swetest >/dev/null; then
    echo "No swetest: install the Debian package swetest." >&2
    exit 1
fi

ours=("$cli" positions --from 2000-01-01 --days 4058 --time 12:00 --zone GMT)
# -p: C is the Earth (heliocentric), 2..9 Mercury to Pluto; -fJl: Julian date and longitude;
# -hor: one line per step; -ut12:00: the steps are at 12:00 Universal Time.
theirs=(swetest -hel -j2000 -true "-edir$ephemeris" -b1.1.2000 -ut12:00 -n4058 -s1
    -pC23456789 -fJl -head -hor)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The same table? Earth to Neptune must agree to the last printed digit (or one unit of it,
# from rounding); Pluto, from the program's table of whole seconds of arc, within a second.
"${ours[@]}" >"$work/ours.txt"
"${theirs[@]}" >"$work/theirs.txt"
paste -d' ' "$work/ours.txt" "$work/theirs.txt" | awk -v lines=4058 '
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
        printf "tables agree: Earth to Neptune within %.7f deg, Pluto within %.2f arcsec\n",
            planets, pluto * 3600
        if (bad != "" || planets > 2e-7 || pluto * 3600 > 1) {
            print "tables differ: " (bad != "" ? bad : "beyond the tolerances") > "/dev/stderr"
            exit 1
        }
    }'

# Wall time of one run in microseconds, from the shell's own clock (no extra process).
run_us() {
    local start=$EPOCHREALTIME
    "$@" >/dev/null
    local end=$EPOCHREALTIME
    echo $(((${end/./} - ${start/./})))
}

ours_times=()
theirs_times=()
for ((i = 0; i < repetitions; i++)); do
    ours_times+=("$(run_us "${ours[@]}")")
    theirs_times+=("$(run_us "${theirs[@]}")")
done

summary() { # best and median in milliseconds
    printf '%s\n' "$@" | sort -n | awk '{ t[NR] = $1 } END {
        printf "%.2f %.2f", t[1] / 1000, t[int((NR + 1) / 2)] / 1000 }'
}
read -r ours_best ours_median <<<"$(summary "${ours_times[@]}")"
read -r theirs_best theirs_median <<<"$(summary "${theirs_times[@]}")"

printf '%d runs each, 4058 days x 9 bodies\n' "$repetitions"
printf '  orbivex-cli  best %7.2f ms   median %7.2f ms\n' "$ours_best" "$ours_median"
printf '  swetest      best %7.2f ms   median %7.2f ms\n' "$theirs_best" "$theirs_median"
awk -v ob="$ours_best" -v om="$ours_median" -v tb="$theirs_best" -v tm="$theirs_median" 'BEGIN {
    printf "  ratio        best %7.3f      median %7.3f      (target: at most 0.25)\n",
        ob / tb, om / tm }'
