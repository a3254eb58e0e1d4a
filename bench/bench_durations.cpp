// GetDurations, the list of the durations window: two searches per aspect of the grid. The
// world-transit chart includes the long Neptune-Pluto sextile (2019 to 2036); the
// personal-transit chart, with the orbs of personal transits as wide as the others, has more
// than thirty aspects.
#include "BenchSupport.h"
#include "session/Compute.h"
#include "session/Durations.h"

#include <benchmark/benchmark.h>

using namespace orbivex;

namespace {

void BM_GetDurations(benchmark::State& run) {
    const bench::Data data;
    if (!data.ok) {
        run.SkipWithError("the data files are not beside the benchmark program");
        return;
    }
    const Ephemeris& ephemeris = data.ephemeris;
    const ProgramTexts& texts = data.texts;
    ProgramState state = bench::ChartState(ChartModeOfNumber(static_cast<int>(run.range(0))));
    state.settings.personalDivisorPosition = 0;
    if (!Compute(state, {ephemeris, texts})) {
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
