#include "session/Compute.h"
#include "common/TestSupport.h"
#include "core/Ephemeris.h"
#include "core/Orbs.h"
#include "session/Stepping.h"
#include "support/ProgramTexts.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace orbivex;
using enum orbivex::ChartMode;

namespace {

ProgramTexts Texts() {
    return ProgramTexts::FromEntries({
        {4, QStringLiteral("World date")},
        {5, QStringLiteral("1st birthdate")},
        {6, QStringLiteral("2nd birthdate")},
        {14, QStringLiteral("Synastry")},
        {23, QStringLiteral("World transits.")},
        {29, QStringLiteral("Personal transits.")},
        {31, QStringLiteral("Synastry.")},
        {33, QStringLiteral("Orb")},
        {34, QStringLiteral("Orbs")},
        {35, QStringLiteral("to")},
        {126, QStringLiteral("No aspects.")},
        {127, QStringLiteral("N aspects in all.")},
        {145, QStringLiteral("is incomplete.")},
        {153, QStringLiteral("Date error")},
        {154, QStringLiteral("orb")},
    });
}

struct Fixture : ::testing::Test {
    Ephemeris ephemeris{test::ProgramFolder()};
    ProgramTexts texts = Texts();
    ProgramState state;

    void SetUp() override {
        ASSERT_EQ(MessageOf(ephemeris.LoadPlutoTable(QString::fromLatin1(PlutoTableFileName))),
                  u""_s);
        state.zones = MakeTimeZones(0, false);
        state.dateSets[WorldDate] = {QStringLiteral("2024"), 3, 20, 25, GreenwichTimezoneEntry};
        state.dateSets[FirstBirthdate] = {QStringLiteral("1970"), 6, 15, 14, 26};
        state.dateSets[SecondBirthdate] = {QStringLiteral("1985"), 11, 2, 40, 14};
    }
    ComputeOutcome Run(ChartMode mode) {
        state.mode = mode;
        return Compute(state, {ephemeris});
    }
};

} // namespace

TEST_F(Fixture, ComputeRecordsTheChartOfTheModesDates) {
    ASSERT_TRUE(Run(WorldTransits));
    EXPECT_EQ(state.recordedMode, WorldTransits);
    EXPECT_EQ(state.chart.mode, WorldTransits);
    EXPECT_NEAR(state.ChartJulianDays[WorldDate].julianDay, 2460390.0, 1e-9);
    EXPECT_EQ(state.chart.firstJulianDay, state.ChartJulianDays[WorldDate].julianDay);
    EXPECT_EQ(state.chart.aspectCounts.Total(), 13);
}

TEST_F(Fixture, ADateErrorStopsComputeAndKeepsTheLastResult) {
    ASSERT_TRUE(Run(WorldTransits));
    const std::vector<ChartAspect> aspects = state.chart.aspects;
    const auto julianDays = state.ChartJulianDays;

    state.dateSets[FirstBirthdate].dayIndex = 0;
    const ComputeOutcome outcome = Run(PersonalFirst);
    ASSERT_FALSE(outcome);
    EXPECT_EQ(outcome.error().dateSet, FirstBirthdate);
    EXPECT_EQ(outcome.error().error, DateError::Incomplete);
    EXPECT_EQ(state.ChartJulianDays, julianDays);
    EXPECT_EQ(state.recordedMode, WorldTransits);
    EXPECT_EQ(state.chart.mode, WorldTransits);
    EXPECT_EQ(state.chart.aspects, aspects);
}

// A run at full speed computes the chart without motion and leaves the dates of the chart on
// display as they were.
TEST_F(Fixture, ChartOnlyLeavesTheDisplayedDatesAsTheyWere) {
    ASSERT_TRUE(Run(WorldTransits));
    const DateSet shown = state.computedDateSets[WorldDate];
    StepDateSet(state.dateSets[WorldDate], state.zones, YearStep, true);
    ComputeContext context{ephemeris};
    context.chartOnly = true;
    ASSERT_TRUE(Compute(state, context));
    EXPECT_EQ(state.computedDateSets[WorldDate].yearText, shown.yearText);
    const Chart fast = state.chart;
    EXPECT_NEAR(fast.firstJulianDay, 2460755.0, 1e-9);

    ASSERT_TRUE(Compute(state, {ephemeris}));
    Chart full = state.chart;
    for (ChartAspect& aspect : full.aspects) {
        EXPECT_NE(aspect.motion, Motion::None);
        aspect.motion = Motion::None;
    }
    EXPECT_EQ(fast.aspects, full.aspects);
    EXPECT_EQ(fast.patternCounts.count, full.patternCounts.count);
}
