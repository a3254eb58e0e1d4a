#!/bin/sh
# Speed of `orbivex-cli run`: a whole process that steps a day at a time over a few centuries
# looking for a pattern that never comes (a grand sextile counts at most once, so "at least 2"
# is never met), computing every chart. Prints the best of several runs in steps per second.
#
# Usage: bench/run_speed.sh [BUILD_BIN_FOLDER] [STEPS] [REPEATS]
set -eu
bin=${1:-build/bin}
steps=${2:-200000}
repeats=${3:-5}
cli="$bin/orbivex-cli"
if [ ! -x "$cli" ]; then
    echo "run_speed.sh: $cli not found; build the orbivex-cli target first" >&2
    exit 2
fi

best=""
i=0
while [ "$i" -lt "$repeats" ]; do
    start=$(date +%s.%N)
    status=0
    "$cli" run --pattern "Grand sextile" --at-least 2 --world "1600-01-01 12:00 GMT" \
        --max-steps "$steps" --json >/dev/null || status=$?
    end=$(date +%s.%N)
    if [ "$status" -ne 1 ]; then
        echo "run_speed.sh: orbivex-cli run ended with status $status, expected 1 (not found)" >&2
        exit 1
    fi
    seconds=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.6f", b - a }')
    echo "run $((i + 1)): $steps day steps in $seconds s"
    best=$(awk -v s="$seconds" -v b="$best" 'BEGIN { print (b == "" || s < b) ? s : b }')
    i=$((i + 1))
done
awk -v s="$best" -v n="$steps" 'BEGIN {
    printf "best: %.3f s for %d steps (1600-01-01 onwards, whole process): %.0f steps per second\n",
        s, n, n / s }'
