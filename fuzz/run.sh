#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (the fuzz preset) into build-fuzz/ and runs each for a bounded
# time on a copy of its seed corpus under fuzz/corpus/<target>/. Any crash, sanitizer report,
# broken property, hang or runaway memory fails the script; what libFuzzer found is left in
# build-fuzz/findings/<target>/.
#
#   fuzz/run.sh                 every target, FUZZ_SECONDS (45) each
#   fuzz/run.sh state_file      one target
#   FUZZ_RUNS=10000000 fuzz/run.sh state_file     a fixed number of executions instead
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-45}
runs=${FUZZ_RUNS:-}

targets=(state_file program_texts pluto_table cli_dates year_box batch_input)
if (($# > 0)); then
    targets=("$@")
fi

cmake --preset fuzz -S "$root" -B "$build" >/dev/null
cmake --build "$build" -j2 --target orbivex_fuzzers

export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
limit=(-max_total_time="$seconds")
if [[ -n "$runs" ]]; then
    limit=(-runs="$runs")
fi

for target in "${targets[@]}"; do
    seeds="$root/fuzz/corpus/$target"
    if [[ ! -d "$seeds" ]]; then
        echo "fuzz/run.sh: no target named $target" >&2
        exit 2
    fi
    # The run grows a copy of the corpus; the one in the repository stays small.
    work="$build/corpus/$target"
    findings="$build/findings/$target"
    rm -rf "$work"
    mkdir -p "$work" "$findings"
    cp "$seeds"/* "$work"/
    dictionary=()
    if [[ -f "$root/fuzz/$target.dict" ]]; then
        dictionary=(-dict="$root/fuzz/$target.dict")
    fi
    echo "== fuzzing $target"
    log="$build/findings/$target.log"
    status=0
    "$build/fuzz/fuzz_$target" "${limit[@]}" "${dictionary[@]}" -timeout=10 -rss_limit_mb=2048 \
        -max_len=4096 -print_final_stats=1 -artifact_prefix="$findings/" "$work" >"$log" 2>&1 ||
        status=$?
    # Progress lines aside, the log is short: the start, the final figures, or the report.
    grep -Ev '^#[0-9]+[[:space:]]+(NEW|REDUCE|pulse)' "$log" || true
    if ((status != 0)); then
        echo "fuzz/run.sh: $target failed (status $status); the input is in $findings/" >&2
        exit 1
    fi
done
