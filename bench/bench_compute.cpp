// Compute of every chart mode without drawing: the chart alone (positions, aspects with their
// motion, patterns, midpoints, no text), and the whole Compute command that also writes the
// grid cells and the report.
#include "BenchSupport.h"
#include "core/Chart.h"
#include "session/Compute.h"

#include <benchmark/benchmark.h>

using namespace orbivex;

namespace {

void BM_ComputeChart(benchmark::State& run) {
    const bench::Data data;
    if (!data.ok) {
        run.SkipWithError("the data files are not beside the benchmark program");
        return;
    }
    const Ephemeris& ephemeris = data.ephemeris;
    ProgramState state = bench::ChartState(static_cast<ChartMode>(run.range(0)));
    const ComputeContext context{ephemeris};
    if (!Compute(state, context)) {
        run.SkipWithError("the chart's dates do not convert");
        return;
    }
    // The world date moves on a day at a time, as when stepping: in personal transits and
    // synastry the second set stays where it was.
    ChartRequest request = ChartRequestOf(state, context);
    Chart chart = state.chart;
    int day = 0;
    for (auto _ : run) {
        request.firstJulianDay = state.chart.firstJulianDay + (day++ % 1000);
        chart = ComputeChart(request, ephemeris, &chart);
        benchmark::DoNotOptimize(chart);
    }
    run.counters["aspects"] = state.chart.aspectCounts.Total();
}

void BM_Compute(benchmark::State& run) {
    const bench::Data data;
    if (!data.ok) {
        run.SkipWithError("the data files are not beside the benchmark program");
        return;
    }
    const Ephemeris& ephemeris = data.ephemeris;
    ProgramState state = bench::ChartState(static_cast<ChartMode>(run.range(0)));
    const ComputeContext context{ephemeris};
    for (auto _ : run) {
        const ComputeOutcome outcome = Compute(state, context);
        benchmark::DoNotOptimize(outcome);
    }
    run.counters["aspects"] = state.chart.aspectCounts.Total();
}

} // namespace

BENCHMARK(BM_ComputeChart)->DenseRange(1, 6)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Compute)->DenseRange(1, 6)->Unit(benchmark::kMicrosecond);
