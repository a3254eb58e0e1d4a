// Compute of every chart mode without drawing: positions, aspects with their motion signs,
// grid cells, the report with its patterns and midpoints.
#include "core/Ephemeris.h"
#include "navigation/Compute.h"
#include "support/ProgramTexts.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

using namespace orbivex;

namespace {

QString ProgramFolder() {
    return QCoreApplication::instance() != nullptr ? QCoreApplication::applicationDirPath()
                                                   : QStringLiteral(".");
}

void BM_Compute(benchmark::State& run) {
    const QString folder = ProgramFolder();
    Ephemeris ephemeris(folder);
    ProgramTexts texts;
    if (!ephemeris.LoadPlutoTable(QString::fromLatin1(PlutoTableFileName)).isEmpty() ||
        texts.Load(folder + QStringLiteral("/orbx.dat")) <= 0) {
        run.SkipWithError("run from the build's bin folder: data files not found");
        return;
    }
    ProgramState state;
    state.zones = MakeTimeZones(0, true);
    state.dateSets[WorldDate] = {QStringLiteral("2024"), 3, 20, 25, GreenwichTimezoneEntry};
    state.dateSets[FirstBirthdate] = {QStringLiteral("1970"), 6, 15, 14, 26};
    state.dateSets[SecondBirthdate] = {QStringLiteral("1985"), 11, 2, 40, 14};
    const ComputeContext context{ephemeris, texts};
    state.mode = static_cast<ChartMode>(run.range(0));
    for (auto _ : run) {
        const ComputeOutcome outcome = Compute(state, context);
        benchmark::DoNotOptimize(outcome);
    }
    run.counters["aspects"] = state.aspectCounts.Total();
}

} // namespace

BENCHMARK(BM_Compute)->DenseRange(1, 6)->Unit(benchmark::kMicrosecond);
