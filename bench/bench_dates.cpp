// Converting a date set into a Julian date: a zone of the fixed list, a zone named in the
// time-zone database (whose offset is looked up for that local time), and the Julian calendar.
#include "calendar/DateInput.h"

#include <benchmark/benchmark.h>

using namespace orbivex;

namespace {

void BM_InputDateToAJDate(benchmark::State& run) {
    const TimeZones zones = MakeTimeZones(0, false);
    DateSet dateSet;
    dateSet.yearText = QStringLiteral("1944");
    dateSet.monthIndex = 6;
    dateSet.dayIndex = 6;
    SetMinuteOfDay(dateSet, 6 * 60 + 30);
    SetZoneText(dateSet,
                run.range(0) == 1 ? QStringLiteral("Europe/Paris") : QStringLiteral("GMT+1:00"));
    dateSet.calendar = run.range(0) == 2 ? CalendarChoice::Julian : CalendarChoice::Gregorian;
    int day = 0;
    for (auto _ : run) {
        dateSet.dayIndex = 1 + day++ % 28;
        benchmark::DoNotOptimize(InputDateToAJDate(dateSet, zones));
    }
    run.SetLabel(run.range(0) == 1 ? "named zone" : run.range(0) == 2 ? "Julian" : "fixed zone");
}

} // namespace

BENCHMARK(BM_InputDateToAJDate)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
