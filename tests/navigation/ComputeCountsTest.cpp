// The counting Compute of a fast run against the full one: the same dates, positions, counts
// and calls to the run's hook, day after day.
#include "common/RecordingRunHook.h"
#include "common/TestSupport.h"
#include "core/Ephemeris.h"
#include "core/Orbs.h"
#include "core/PatternTally.h"
#include "navigation/Compute.h"
#include "navigation/Midpoints.h"
#include "navigation/Stepping.h"
#include "support/ProgramTexts.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace orbivex;
using orbivex::test::RecordingRunHook;

namespace {

struct ComputeCounts : ::testing::Test {
    Ephemeris ephemeris{test::ProgramFolder()};
    ProgramTexts texts;

    void SetUp() override {
        ASSERT_EQ(ephemeris.LoadPlutoTable(QString::fromLatin1(PlutoTableFileName)), "");
        ASSERT_GT(texts.Load(test::ProgramFolder() + QStringLiteral("/orbx.dat")), 0);
    }

    ProgramState StartingAt(const QString& year, int month, int day) const {
        ProgramState state;
        state.zones = MakeTimeZones(0, false);
        state.dateSets[WorldDate] = {year, month, day, 25, GreenwichTimezoneEntry};
        state.dateSets[FirstBirthdate] = {QStringLiteral("1970"), 6, 15, 14, 26};
        state.dateSets[SecondBirthdate] = {QStringLiteral("1985"), 11, 2, 40, 14};
        return state;
    }

    // Walks `days` days from the state's world date, computing each day both ways, and
    // compares everything a run reads. Returns the pattern counts summed over the days.
    PatternCounts CompareDays(ProgramState full, int days, std::array<BodyIndex, 3> sought = {},
                              int budget = 1 << 30) {
        ProgramState fast = full;
        PatternCounts seen;
        for (int day = 0; day < days; ++day) {
            RecordingRunHook fullHook(budget);
            RecordingRunHook fastHook(budget);
            ComputeContext fullContext{ephemeris, texts, &fullHook, sought};
            ComputeContext fastContext{ephemeris, texts, &fastHook, sought};
            fastContext.countsOnly = true;
            full.patternCounts = {};
            fast.patternCounts = {};
            const ComputeOutcome fullOutcome = Compute(full, fullContext);
            const ComputeOutcome fastOutcome = Compute(fast, fastContext);
            const QString at = full.dateSets[WorldDate].yearText + QLatin1Char('-') +
                               QString::number(full.dateSets[WorldDate].monthIndex) +
                               QLatin1Char('-') +
                               QString::number(full.dateSets[WorldDate].dayIndex);
            EXPECT_EQ(fastOutcome.ok(), fullOutcome.ok()) << at.toStdString();
            EXPECT_EQ(fast.ChartJulianDays, full.ChartJulianDays) << at.toStdString();
            EXPECT_EQ(fast.positions.longitude, full.positions.longitude) << at.toStdString();
            EXPECT_EQ(fast.aspectCounts.count, full.aspectCounts.count) << at.toStdString();
            EXPECT_EQ(fast.patternCounts.count, full.patternCounts.count) << at.toStdString();
            EXPECT_EQ(fast.recordedMode, full.recordedMode);
            EXPECT_EQ(fastHook.calls, fullHook.calls) << at.toStdString();
            if (::testing::Test::HasFailure()) {
                return seen;
            }
            for (int p = 0; p < NumPatterns; ++p) {
                seen.count[static_cast<size_t>(p)] +=
                    full.patternCounts.count[static_cast<size_t>(p)];
            }
            StepDateSet(full.dateSets[WorldDate], full.zones, DayStep, true);
            fast.dateSets[WorldDate] = full.dateSets[WorldDate];
        }
        return seen;
    }
};

} // namespace

TEST_F(ComputeCounts, WorldTransitsAgreeDayAfterDay) {
    const PatternCounts seen = CompareDays(StartingAt(QStringLiteral("1980"), 1, 1), 3000);
    // Three thousand days of default orbs show a good part of the patterns.
    int kinds = 0;
    for (int count : seen.count) {
        kinds += count > 0 ? 1 : 0;
    }
    EXPECT_GE(kinds, 8);
}

TEST_F(ComputeCounts, WideOrbsManyMidpointsAndARunSeekingBodies) {
    ProgramState state = StartingAt(QStringLiteral("2150"), 3, 1); // Pluto leaves its table
    state.settings.orbPositions = {15, 15, 12, 12, 10, 6, 6, 1};
    state.settings.midpointOrbPosition = 7; // 3 degrees
    const PatternCounts seen = CompareDays(state, 1500);
    EXPECT_GT(seen.count[GrandSextile], 0);
    EXPECT_GT(seen.count[MidpointPattern], 0);
    EXPECT_GT(seen.count[FourStellium], 0);
    // Seeking Jupiter and Saturn: the 3-stellium search stops at a stellium without them, and
    // a run that has heard enough stops listening.
    CompareDays(state, 800, {Jupiter, Saturn, 0});
    CompareDays(state, 800, {Mars, 0, 0}, 3);
}

TEST_F(ComputeCounts, OtherModesAndDateErrorsAgree) {
    for (ChartMode mode : {NatalFirst, PersonalFirst, PersonalSecond, SynastryMode}) {
        ProgramState state = StartingAt(QStringLiteral("2001"), 1, 1);
        state.mode = mode;
        CompareDays(state, 40);
    }
    CompareDays(StartingAt(QStringLiteral("2800"), 1, 1), 1);
}

TEST_F(ComputeCounts, CountsOnlyLeavesTheDisplayAsItWas) {
    ProgramState state = StartingAt(QStringLiteral("2024"), 3, 20);
    ASSERT_TRUE(Compute(state, {ephemeris, texts}).ok());
    const QString report = state.report;
    const QString cell = state.grid.cells[TriangularAspectCell(Earth, Mars)].text;
    StepDateSet(state.dateSets[WorldDate], state.zones, YearStep, true);
    ComputeContext context{ephemeris, texts};
    context.countsOnly = true;
    ASSERT_TRUE(Compute(state, context).ok());
    EXPECT_EQ(state.report, report);
    EXPECT_EQ(state.grid.cells[TriangularAspectCell(Earth, Mars)].text, cell);
}

// The counting midpoint search against the text search, over skies with many midpoints.
TEST(CountMidpoints, MatchesTheTextSearchWithItsHookCalls) {
    std::mt19937 random(31);
    std::uniform_real_distribution<double> degrees(0.0, 360.0);
    std::uniform_int_distribution<int> orbPosition(0, 7);
    int found = 0;
    for (int sky = 0; sky < 3000; ++sky) {
        BodyPositions positions;
        for (BodyIndex body = 1; body <= MaxBodies; ++body) {
            // Whole degrees make exact midpoints and equal longitudes common.
            positions(body, 0) = DegreesToRadians(std::floor(degrees(random) / 10.0) * 10.0);
        }
        if (sky % 7 == 0) {
            positions(Pluto, 0) = -100.0;
        }
        OrbTable orbs;
        orbs(Conjunction, 0) = DegreesToRadians(sky % 11);
        const double orb = MidpointOrbRadians(orbPosition(random));
        RecordingRunHook textHook(sky % 3 == 0 ? 2 : 1 << 30);
        RecordingRunHook countHook(sky % 3 == 0 ? 2 : 1 << 30);
        const PatternContext text{positions, orbs, MaxBodies, QString(), &textHook};
        const PatternContext count{positions, orbs, MaxBodies, QString(), &countHook};
        int expected = 0;
        CheckForMidpoint(text, orb, false, expected);
        ASSERT_EQ(CountMidpoints(count, AspectPairTable(positions, orbs, MaxBodies), orb), expected)
            << "sky " << sky;
        ASSERT_EQ(countHook.calls, textHook.calls) << "sky " << sky;
        found += expected;
    }
    EXPECT_GT(found, 1000);
}
