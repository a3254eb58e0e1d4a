// Compute of every chart mode without drawing: positions, aspects with their motion signs,
// grid cells, the report with its patterns and midpoints.
#include "BenchSupport.h"
#include "navigation/Compute.h"

#include <benchmark/benchmark.h>

using namespace orbivex;

namespace {

void BM_Compute(benchmark::State& run) {
    Ephemeris ephemeris(bench::DataFolder());
    ProgramTexts texts;
    if (!bench::LoadData(ephemeris, texts)) {
        run.SkipWithError("run from the build's bin folder: data files not found");
        return;
    }
    ProgramState state = bench::ChartState(static_cast<ChartMode>(run.range(0)));
    const ComputeContext context{ephemeris, texts};
    for (auto _ : run) {
        const ComputeOutcome outcome = Compute(state, context);
        benchmark::DoNotOptimize(outcome);
    }
    run.counters["aspects"] = state.aspectCounts.Total();
}

} // namespace

BENCHMARK(BM_Compute)->DenseRange(1, 6)->Unit(benchmark::kMicrosecond);
