// One step of a pattern run at full speed: the world date a day forward, Compute of the chart
// alone (no motion, no text) and the stop test; and that Compute alone, beside the full one of
// bench_compute.
#include "BenchSupport.h"
#include "core/Ephemeris.h"
#include "session/Compute.h"
#include "session/PatternRun.h"
#include "support/ProgramTexts.h"

#include <benchmark/benchmark.h>

using namespace orbivex;
using enum orbivex::PatternIndex;
using enum orbivex::ChartMode;

namespace {

struct RunFixture {
    Ephemeris ephemeris;
    ProgramTexts texts;
    ProgramState state;
    bool ready = false;

    RunFixture() : ephemeris(bench::DataFolder()) {
        ready = bench::LoadData(ephemeris, texts);
        state.zones = MakeTimeZones(0, true);
        state.mode = WorldTransits;
        state.stepUnitIndex = DayStep;
        state.dateSets[WorldDate] = {QStringLiteral("1700"), 1, 1, 25, GreenwichTimezoneEntry};
    }
};

void BM_ComputeChartOnly(benchmark::State& run) {
    RunFixture fixture;
    if (!fixture.ready) {
        run.SkipWithError("the data files are not beside the benchmark program");
        return;
    }
    fixture.state.dateSets[WorldDate] = {QStringLiteral("2024"), 3, 20, 25, GreenwichTimezoneEntry};
    ComputeContext context{fixture.ephemeris};
    context.chartOnly = true;
    for (auto _ : run) {
        const ComputeOutcome outcome = Compute(fixture.state, context);
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(BM_ComputeChartOnly)->Unit(benchmark::kMicrosecond);

void BM_RunStepDay(benchmark::State& run) {
    RunFixture fixture;
    if (!fixture.ready) {
        run.SkipWithError("the data files are not beside the benchmark program");
        return;
    }
    PatternRun patternRun;
    patternRun.AcceptChoices(GrandSextile, {0, 0, 0});
    ComputeContext context{fixture.ephemeris};
    context.chartOnly = true;
    for (auto _ : run) {
        const RunStepResult result = StepRun(fixture.state, context, patternRun);
        if (!result.stands) {
            fixture.state.dateSets[WorldDate].yearText = QStringLiteral("1700");
        }
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_RunStepDay)->Unit(benchmark::kMicrosecond);

} // namespace
