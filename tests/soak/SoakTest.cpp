// The long run: the world date steps forward a day at a time from 1 January 1 to 31 December
// 2799, as the Forward command and the pattern run do, with the whole Compute (every pattern
// finder and the midpoints) and the chart's view (grid, report) at each step. No step may fail,
// each must land on the next day, every body must have its position (Pluto only within its table,
// 1600 to 2199), and the memory the process holds must stay where it was after the first years.
#include "calendar/Calendar.h"
#include "common/TestSupport.h"
#include "core/Ephemeris.h"
#include "present/ChartView.h"
#include "session/Compute.h"
#include "session/Stepping.h"
#include "support/ProgramTexts.h"

#include <QFile>
#include <QString>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

namespace orbivex {

using enum BodyIndex;
using enum ChartMode;
namespace {

struct Memory {
    long residentKb = -1; // VmRSS
    long peakKb = -1;     // VmHWM, the largest resident size so far
};

Memory ReadMemory() {
    Memory memory;
    const QList<QByteArray> lines = test::ReadAll(QStringLiteral("/proc/self/status")).split('\n');
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 2 && fields[0] == "VmRSS:") {
            memory.residentKb = fields[1].toLong();
        } else if (fields.size() >= 2 && fields[0] == "VmHWM:") {
            memory.peakKb = fields[1].toLong();
        }
    }
    return memory;
}

void Print(const char* when, const Memory& memory) {
    std::printf("soak: %-28s resident %7ld kB, peak resident %7ld kB\n", when, memory.residentKb,
                memory.peakKb);
    std::fflush(stdout);
}

// The steps of the first years fill what lives as long as the process (the ephemeris files
// opened, the allocator's pools); growth is measured from there.
constexpr int SettlingSteps = 20000;
// Far less than a leak of a few bytes a step over a million steps would add.
constexpr long AllowedGrowthKb = 4096;

// What a step found wrong, for the first few faults.
QString StepFault(const WorldStepOutcome& outcome, const ProgramState& state,
                  const ProgramTexts& texts, std::int32_t jdn) {
    if (!outcome.stepped || !outcome.step.applied || outcome.undone) {
        return QStringLiteral("the step was not applied");
    }
    if (!outcome.compute.has_value()) {
        return QStringLiteral("Compute failed: date error %1")
            .arg(static_cast<int>(outcome.compute.error().error));
    }
    if (state.ChartJulianDays[WorldDate].julianDay != jdn) {
        return QStringLiteral("the chart is of Julian date %1")
            .arg(state.ChartJulianDays[WorldDate].julianDay, 0, 'f', 2);
    }
    EuroDateRecord date;
    date.jdn = jdn;
    JDNToEuroDate(date);
    const DateSet& world = state.dateSets[WorldDate];
    if (world.yearText != QString::number(date.year) || world.monthIndex != date.month ||
        world.dayIndex != date.day || world.hourIndex != NoonHourEntry) {
        return QStringLiteral("the date set reads %1-%2-%3 hour entry %4")
            .arg(world.yearText)
            .arg(world.monthIndex)
            .arg(world.dayIndex)
            .arg(world.hourIndex);
    }
    for (BodyIndex body : AllBodies) {
        const Position& position = state.chart.positions[0][body];
        const double longitude = position.Longitude();
        if (body == Pluto && date.year < 1600) {
            if (position.Status() != PositionStatus::BeforeTable) {
                return QStringLiteral("Pluto has a position before its table");
            }
        } else if (body == Pluto && date.year > 2199) {
            if (position.Status() != PositionStatus::AfterTable) {
                return QStringLiteral("Pluto has a position after its table");
            }
        } else if (!(longitude >= 0.0 && longitude < FullCircle)) {
            return QStringLiteral("body %1 is at %2").arg(BodyNumber(body)).arg(longitude);
        }
    }
    const ChartView view = BuildChartView(state.chart, ChartDisplayOf(state), texts);
    if (view.report.isEmpty() || view.title.isEmpty()) {
        return QStringLiteral("the chart has no title or report");
    }
    return {};
}

TEST(Soak, StepsEveryDayFromYearOneTo2799) {
    Ephemeris ephemeris(test::ProgramFolder());
    ASSERT_EQ(MessageOf(ephemeris.LoadPlutoTable(QString::fromLatin1(PlutoTableFileName))),
              QString());
    ProgramTexts texts;
    ASSERT_GT(texts.Load(test::ProgramFolder() + QStringLiteral("/orbx.dat")), 0);
    const ComputeContext context{ephemeris};

    ProgramState state;
    state.zones = MakeTimeZones(0, false);
    state.mode = WorldTransits;
    state.dateSets[WorldDate] = {QStringLiteral("1"), 1, 1, NoonHourEntry, GreenwichTimezoneEntry};
    ASSERT_TRUE(Compute(state, context));
    ASSERT_EQ(state.ChartJulianDays[WorldDate].julianDay, JdnOfYearOne);
    ASSERT_FALSE(ephemeris.UsesBuiltInTheory()) << "the ephemeris files were not found";

    const Memory start = ReadMemory();
    Print("at 1 January 1:", start);
    Memory settled;
    int faults = 0;
    QStringList firstFaults;
    const auto begun = std::chrono::steady_clock::now();
    for (std::int32_t jdn = JdnOfYearOne + 1; jdn < JdnOfYear2800; ++jdn) {
        const WorldStepOutcome outcome = StepWorldDate(state, context, DayStep, true);
        const QString fault = StepFault(outcome, state, texts, jdn);
        if (!fault.isEmpty()) {
            if (++faults <= 5) {
                firstFaults.append(QStringLiteral("day %1: %2").arg(jdn).arg(fault));
            }
            // Put the world date where it should be, so that one fault does not hide the rest.
            EuroDateRecord date;
            date.jdn = jdn;
            JDNToEuroDate(date);
            state.dateSets[WorldDate] = {QString::number(date.year), date.month, date.day,
                                         NoonHourEntry, GreenwichTimezoneEntry};
        }
        if (jdn == JdnOfYearOne + SettlingSteps) {
            settled = ReadMemory();
            Print("after the first years:", settled);
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
    const Memory end = ReadMemory();
    Print("at 31 December 2799:", end);
    const int steps = JdnOfYear2800 - JdnOfYearOne - 1;
    std::printf("soak: %d steps in %.1f s, %.1f microseconds a step\n", steps, seconds,
                seconds * 1e6 / steps);

    EXPECT_EQ(faults, 0) << firstFaults.join(QLatin1Char('\n')).toStdString();
    EXPECT_LE(end.residentKb - settled.residentKb, AllowedGrowthKb)
        << "resident memory grew from " << settled.residentKb << " kB to " << end.residentKb
        << " kB";

    // One more day lies beyond the calendar: the step is refused and the date stays.
    const WorldStepOutcome beyond = StepWorldDate(state, context, DayStep, true);
    EXPECT_TRUE(beyond.undone);
    EXPECT_EQ(beyond.compute.error().dateSet, WorldDate);
    EXPECT_EQ(state.dateSets[WorldDate].yearText, QStringLiteral("2799"));
    EXPECT_EQ(state.dateSets[WorldDate].monthIndex, 12);
    EXPECT_EQ(state.dateSets[WorldDate].dayIndex, 31);
}

} // namespace
} // namespace orbivex
