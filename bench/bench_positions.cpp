// Cost of the position component: one longitude from the ephemeris, one from the Pluto table,
// all nine at once, and loading the Pluto table, from the data files beside the benchmark
// program (or in the working folder).
#include "BenchSupport.h"
#include "core/Ephemeris.h"

#include <benchmark/benchmark.h>

namespace {

using orbivex::Ephemeris;
using orbivex::bench::DataFolder;

Ephemeris LoadedEphemeris(benchmark::State& state) {
    Ephemeris ephemeris(DataFolder());
    const orbivex::Status loaded =
        ephemeris.LoadPlutoTable(QString::fromLatin1(orbivex::PlutoTableFileName));
    if (!loaded) {
        state.SkipWithError(loaded.error().toStdString().c_str());
    }
    return ephemeris;
}

// A new instant on every call, stepping a day and a bit, so no cached result is reused.
void PositionOfBody(benchmark::State& state, orbivex::BodyIndex body) {
    const Ephemeris ephemeris = LoadedEphemeris(state);
    double jd = 2451545.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ephemeris.PositionOfBody(body, jd));
        jd += 1.01;
        if (jd > 2524000.0) {
            jd = 2451545.0;
        }
    }
}

void BM_PositionOfBodyMars(benchmark::State& state) {
    PositionOfBody(state, orbivex::BodyIndex::Mars);
}
BENCHMARK(BM_PositionOfBodyMars);

void BM_PositionOfBodyPluto(benchmark::State& state) {
    PositionOfBody(state, orbivex::BodyIndex::Pluto);
}
BENCHMARK(BM_PositionOfBodyPluto);

void BM_PositionsOfBodies(benchmark::State& state) {
    const Ephemeris ephemeris = LoadedEphemeris(state);
    double jd = 2451545.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ephemeris.PositionsOfBodies(jd));
        jd += 1.01;
    }
}
BENCHMARK(BM_PositionsOfBodies);

void BM_LoadPlutoTable(benchmark::State& state) {
    Ephemeris ephemeris(DataFolder());
    for (auto _ : state) {
        const orbivex::Status loaded =
            ephemeris.LoadPlutoTable(QString::fromLatin1(orbivex::PlutoTableFileName));
        if (!loaded) {
            state.SkipWithError(loaded.error().toStdString().c_str());
            break;
        }
    }
}
BENCHMARK(BM_LoadPlutoTable)->Unit(benchmark::kMillisecond);

} // namespace
