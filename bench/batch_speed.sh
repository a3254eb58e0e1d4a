#!/bin/sh
# Speed and memory of `orbivex-cli batch`: a whole process computing world-transit charts from
# a JSON Lines file, JSON Lines out. The dates are spread over 1900 to 2099 in no order, as in a
# collection of births. Prints, for each file length, the wall time, the charts a second and
# the peak resident memory (from /usr/bin/time -v); memory is flat when the peaks agree.
# With BATCH_PEER set to a command that reads the same JSON Lines file (its path the last
# argument) and writes a chart a line, that command is timed on the same file too and the ratio
# of the two rates printed.
#
# Usage: bench/batch_speed.sh [BUILD_BIN_FOLDER] [LINES...]   (default 100000 1000000)
set -eu
bin=${1:-build/bin}
[ $# -gt 0 ] && shift
lengths=${*:-100000 1000000}
cli="$bin/orbivex-cli"
if [ ! -x "$cli" ]; then
    echo "batch_speed.sh: $cli not found; build the orbivex-cli target first" >&2
    exit 2
fi
if [ ! -x /usr/bin/time ]; then
    echo "batch_speed.sh: /usr/bin/time is needed for the peak memory (Debian package time)" >&2
    exit 2
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for lines in $lengths; do
    python3 - "$lines" >"$work/in.jsonl" <<'EOF'
import datetime, random, sys
random.seed(12345)
start = datetime.datetime(1900, 1, 1)
for i in range(int(sys.argv[1])):
    moment = start + datetime.timedelta(days=random.randrange(73000),
                                        minutes=30 * random.randrange(48))
    print('{"id": %d, "mode": "world", "world": "%s GMT"}' % (i, moment.strftime("%Y-%m-%d %H:%M")))
EOF
    status=0
    TZ=UTC /usr/bin/time -v -o "$work/time" "$cli" batch --in "$work/in.jsonl" \
        >"$work/out.jsonl" || status=$?
    if [ "$status" -ne 0 ]; then
        echo "batch_speed.sh: orbivex-cli batch ended with status $status" >&2
        exit 1
    fi
    out=$(wc -l <"$work/out.jsonl")
    seconds=$(awk -F': ' '/Elapsed \(wall clock\)/ {
        n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s }' \
        "$work/time")
    cpu=$(awk -F': ' '/User time/ { u = $2 } /System time/ { s = $2 } END { print u + s }' \
        "$work/time")
    peak=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time")
    awk -v n="$lines" -v o="$out" -v s="$seconds" -v c="$cpu" -v k="$peak" 'BEGIN {
        printf "%d lines (%d out): %.2f s wall, %.2f s CPU, %.0f charts a second, peak memory %.1f MB\n",
            n, o, s, c, n / s, k / 1024 }'
    if [ -n "${BATCH_PEER:-}" ]; then
        start=$(date +%s.%N)
        # shellcheck disable=SC2086 # the command may carry its own arguments
        TZ=UTC $BATCH_PEER "$work/in.jsonl" >"$work/peer.jsonl"
        end=$(date +%s.%N)
        awk -v n="$lines" -v a="$start" -v b="$end" -v s="$seconds" 'BEGIN {
            printf "peer: %.2f s wall, %.0f charts a second; orbivex-cli is %.1f times as fast\n",
                b - a, n / (b - a), (b - a) / s }'
    fi
done
echo "target: at least 50000 charts a second for 100000 lines; memory the same for every length"
