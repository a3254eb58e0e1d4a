// GetDurations, the list of the durations window: per aspect of the grid the walks to its
// beginning and end and the search of its exact moment. The world-transit chart includes the
// long Neptune-Pluto sextile (2019 to 2036); the personal-transit chart, with the orbs of
// personal transits as wide as the others, has more than thirty aspects. Target: 10 ms for
// each.
//
// Measured on 2026-12-07 on the shared 2-core machine under a load of about 10 (wall times
// 4 to 13 times the 38 / 58 ms a quiet machine gave before), the build before the walks passed
// over undecided days against the one after, alternating runs (ranges of 2 to 3 runs):
//
//   world transits, 13 aspects:    246.7 M -> 7.0 M instructions (callgrind),
//                                  CPU 62-68 -> 1.5-1.9 ms, wall 141-483 -> 3.8-11.6 ms
//   personal transits, 36 aspects: 382.6 M -> 18.7 M instructions,
//                                  CPU 92-98 -> 4.4-5.2 ms, wall 242-572 -> 10-34 ms
//
// On 2026-12-08 on the quiet machine (load under 1), medians of 5: 1.5 ms and 4.3 ms.
//
// bench/durations_speed.sh compares whole `durations` and `chart` processes.
#include "BenchSupport.h"
#include "session/Compute.h"
#include "session/Durations.h"

#include <benchmark/benchmark.h>

using namespace orbivex;
using enum orbivex::ChartMode;

namespace {

void BM_GetDurations(benchmark::State& run) {
    const bench::Data data;
    if (!data.ok) {
        run.SkipWithError("the data files are not beside the benchmark program");
        return;
    }
    const Ephemeris& ephemeris = data.ephemeris;
    ProgramState state = bench::ChartState(ChartModeOfNumber(static_cast<int>(run.range(0))));
    state.settings.personalDivisorPosition = 0;
    if (!Compute(state, {ephemeris})) {
        run.SkipWithError("the chart does not compute");
        return;
    }
    std::size_t records = 0;
    for (auto _ : run) {
        const DurationRecords list = GetDurations(state, ephemeris);
        records = list.size();
        benchmark::DoNotOptimize(list.data());
    }
    run.counters["aspects"] = static_cast<double>(records);
}

} // namespace

BENCHMARK(BM_GetDurations)
    ->Arg(ModeNumber(WorldTransits))
    ->Arg(ModeNumber(PersonalFirst))
    ->Unit(benchmark::kMillisecond);
