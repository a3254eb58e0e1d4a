#!/usr/bin/env bash
# The aspectarian of a century against Debian's swetest printing the daily heliocentric table of
# the nine bodies for the same century, in one run, as whole-process wall times:
#   orbivex-cli aspectarian --from 1950-01-01 --to 2049-12-31   (some 57,000 exact aspects)
#   swetest: 36524 daily rows of the nine heliocentric J2000 longitudes, 1950 to 2049
# Target: the aspectarian's median wall time at most swetest's (ratio 1.0). The programs are run
# alternately; the best and median times of each are printed, and the ratio of each.
# Then the peak memory (resident set) of the aspectarian of the century and of years 1 to 2799
# (some 1.4 million events, streamed in time order): target at most 25 MB whatever the span.
# The user (CPU) times are printed too: on a machine shared with other work the wall time also
# counts the waits for a core.
#
# Usage: bench/compare_aspectarian.sh [BUILD_DIR] [REPETITIONS]
set -euo pipefail
default_repetitions=11
# shellcheck source=bench/swetest_common.sh
source "$(dirname "$0")/swetest_common.sh"

ours=("$cli" aspectarian --from 1950-01-01 --to 2049-12-31 --zone GMT)
# -p: C is the Earth (heliocentric), 2..9 Mercury to Pluto; -fJl: Julian date and longitude;
# -hor: one line per step; -ut00:00: the steps at 0 h UT, where the aspectarian samples.
theirs=(swetest -hel -j2000 -true "-edir$ephemeris" -ut00:00 -pC23456789 -head -b1.1.1950
    -n36524 -s1 -fJl -hor)

events=$("${ours[@]}" | wc -l)
rows=$("${theirs[@]}" | wc -l)
echo "aspectarian: $events events; swetest: $rows rows"

# Wall and user time of one run in milliseconds.
run_ms() {
    local out
    out=$({ TIMEFORMAT='%R %U'; time "$@" >/dev/null; } 2>&1)
    awk -v r="${out% *}" -v u="${out#* }" 'BEGIN { printf "%.0f %.0f", r * 1000, u * 1000 }'
}

ours_wall=() ours_user=() theirs_wall=() theirs_user=()
for ((i = 0; i < repetitions; i++)); do
    read -r w u <<<"$(run_ms "${ours[@]}")"
    ours_wall+=("$w") ours_user+=("$u")
    read -r w u <<<"$(run_ms "${theirs[@]}")"
    theirs_wall+=("$w") theirs_user+=("$u")
done

summary() { # best and median
    printf '%s\n' "$@" | sort -n | awk '{ t[NR] = $1 } END { printf "%d %d", t[1], t[int((NR + 1) / 2)] }'
}
read -r owb owm <<<"$(summary "${ours_wall[@]}")"
read -r oub oum <<<"$(summary "${ours_user[@]}")"
read -r twb twm <<<"$(summary "${theirs_wall[@]}")"
read -r tub tum <<<"$(summary "${theirs_user[@]}")"

printf '\n%d runs each, in ms (best / median)\n' "$repetitions"
printf '%-12s %16s %16s\n' "" "wall" "user"
printf '%-12s %7d %8d %7d %8d\n' "aspectarian" "$owb" "$owm" "$oub" "$oum"
printf '%-12s %7d %8d %7d %8d\n' "swetest" "$twb" "$twm" "$tub" "$tum"
awk -v a="$owb" -v b="$owm" -v c="$twb" -v d="$twm" -v e="$oub" -v f="$oum" -v g="$tub" \
    -v h="$tum" 'BEGIN {
    printf "%-12s %7.2f %8.2f %7.2f %8.2f   (target: median wall at most 1.0)\n", "ratio",
        a / c, b / d, e / g, f / h }'

# Peak resident set in MB of a run, from GNU time's verbose report.
peak_mb() {
    /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ {
        printf "%.1f", $2 / 1024 }'
}
if [[ -x /usr/bin/time ]]; then
    printf '\npeak memory: century %s MB, years 1 to 2799 %s MB (target: at most 25 MB)\n' \
        "$(peak_mb "${ours[@]}")" \
        "$(peak_mb "$cli" aspectarian --from 0001-01-01 --to 2799-12-31 --zone GMT)"
else
    echo "No /usr/bin/time (Debian package time): peak memory not measured."
fi
