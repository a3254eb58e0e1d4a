// One step of a pattern run at full speed: the world date a day forward, Compute of the chart
// alone (no motion, no text) and the stop test; and that Compute alone, beside the full one of
// bench_compute.
#include "core/Ephemeris.h"
#include "session/Compute.h"
#include "session/PatternRun.h"
#include "support/ProgramTexts.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

using namespace orbivex;

namespace {

struct RunFixture {
    Ephemeris ephemeris;
    ProgramTexts texts;
    ProgramState state;
    bool ready = false;

    RunFixture()
        : ephemeris(QCoreApplication::instance() != nullptr ? QCoreApplication::applicationDirPath()
                                                            : QStringLiteral(".")) {
        const QString folder = QCoreApplication::instance() != nullptr
                                   ? QCoreApplication::applicationDirPath()
                                   : QStringLiteral(".");
        ready = ephemeris.LoadPlutoTable(QString::fromLatin1(PlutoTableFileName)) &&
                texts.Load(folder + QStringLiteral("/orbx.dat")) > 0;
        state.zones = MakeTimeZones(0, true);
        state.mode = WorldTransits;
        state.stepUnitIndex = DayStep;
        state.dateSets[WorldDate] = {QStringLiteral("1700"), 1, 1, 25, GreenwichTimezoneEntry};
    }
};

void BM_ComputeChartOnly(benchmark::State& run) {
    RunFixture fixture;
    if (!fixture.ready) {
        run.SkipWithError("run from the build's bin folder: data files not found");
        return;
    }
    fixture.state.dateSets[WorldDate] = {QStringLiteral("2024"), 3, 20, 25, GreenwichTimezoneEntry};
    ComputeContext context{fixture.ephemeris, fixture.texts};
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
        run.SkipWithError("run from the build's bin folder: data files not found");
        return;
    }
    PatternRun patternRun;
    patternRun.AcceptChoices(GrandSextile, {0, 0, 0});
    ComputeContext context{fixture.ephemeris, fixture.texts};
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
