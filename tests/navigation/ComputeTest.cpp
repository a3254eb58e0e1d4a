#include "navigation/Compute.h"
#include "common/TestSupport.h"
#include "core/Ephemeris.h"
#include "core/Orbs.h"
#include "support/ProgramTexts.h"

#include <gtest/gtest.h>

using namespace orbivex;

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
        ASSERT_EQ(ephemeris.LoadPlutoTable(QString::fromLatin1(PlutoTableFileName)), "");
        state.zones = MakeTimeZones(0, false);
        state.dateSets[WorldDate] = {QStringLiteral("2024"), 3, 20, 25, GreenwichTimezoneEntry};
        state.dateSets[FirstBirthdate] = {QStringLiteral("1970"), 6, 15, 14, 26};
        state.dateSets[SecondBirthdate] = {QStringLiteral("1985"), 11, 2, 40, 14};
    }
    ComputeOutcome Run(ChartMode mode) {
        state.mode = mode;
        return Compute(state, {ephemeris, texts});
    }
};

int CountAspectCells(const ProgramState& state) {
    int cells = 0;
    for (int i = 0; i < state.grid.intNumCells; ++i) {
        for (AspectKind kind = 1; kind <= NumAspectKinds; ++kind) {
            cells += state.grid.cells[i].text.startsWith(AspectAbbreviation(kind)) ? 1 : 0;
        }
    }
    return cells;
}

} // namespace

TEST_F(Fixture, WorldTransitsFillTheTriangularGridInLoopOrder) {
    ASSERT_TRUE(Run(WorldTransits).ok());
    EXPECT_EQ(state.recordedMode, WorldTransits);
    EXPECT_NEAR(state.ChartJulianDays[WorldDate], 2460390.0, 1e-9);
    EXPECT_EQ(state.grid.intNumCells, 90);
    // Earth at the March equinox stands at 180° heliocentric.
    EXPECT_EQ(state.grid.cells[TriangularPositionCell(Earth)].text, "180°2'\r\n0Lib2");
    ASSERT_FALSE(state.aspects.empty());
    for (size_t i = 0; i < state.aspects.size(); ++i) {
        const FoundAspect& aspect = state.aspects[i];
        EXPECT_LT(aspect.body1, aspect.body2);
        EXPECT_EQ(aspect.cell, TriangularAspectCell(aspect.body1, aspect.body2));
        EXPECT_TRUE(state.grid.cells[aspect.cell].text.startsWith(AspectAbbreviation(aspect.kind)));
        EXPECT_TRUE(aspect.motion == " +" || aspect.motion == " -");
        if (i > 0) { // row by row, then column by column
            const FoundAspect& previous = state.aspects[i - 1];
            EXPECT_LT(previous.cell, aspect.cell);
        }
    }
    EXPECT_EQ(CountAspectCells(state), state.aspectCounts.Total());
    EXPECT_EQ(static_cast<int>(state.aspects.size()), state.aspectCounts.Total());
    EXPECT_TRUE(state.report.startsWith(QStringLiteral("3 conjunctions\r\n1 opposition\r\n")));
    EXPECT_TRUE(state.report.contains(QStringLiteral("13 aspects in all.\r\n\r\n")));
}

TEST_F(Fixture, PersonalTransitsPutTheTransitingBodyFirstAndMoveOnlyIt) {
    ASSERT_TRUE(Run(PersonalFirst).ok());
    EXPECT_EQ(state.grid.intNumCells, 121);
    ASSERT_FALSE(state.aspects.empty());
    for (const FoundAspect& aspect : state.aspects) {
        EXPECT_EQ(aspect.cell, SquareAspectCell(aspect.body1, aspect.body2));
        const double natal = state.positions(aspect.body2, 1);
        const double transiting = state.positions(aspect.body1, 0);
        EXPECT_NEAR(AspectDeviation(AngularSeparation(natal, transiting), aspect.kind),
                    aspect.deviation, 1e-12);
    }
    EXPECT_TRUE(state.report1.endsWith(QStringLiteral("aspects in all.")));
    EXPECT_FALSE(state.report1.contains(QStringLiteral("\r\n")));
}

TEST_F(Fixture, SynastryCellsCarryNoMotionSign) {
    ASSERT_TRUE(Run(SynastryMode).ok());
    ASSERT_FALSE(state.aspects.empty());
    for (const FoundAspect& aspect : state.aspects) {
        EXPECT_EQ(aspect.motion, "");
        EXPECT_FALSE(state.grid.cells[aspect.cell].text.endsWith(QStringLiteral(" +")));
        EXPECT_FALSE(state.grid.cells[aspect.cell].text.endsWith(QStringLiteral(" -")));
    }
}

TEST_F(Fixture, ADateErrorStopsComputeAndKeepsTheLastResult) {
    ASSERT_TRUE(Run(WorldTransits).ok());
    const QString report = state.report;
    const QString firstCell = state.grid.cells[0].text;

    state.dateSets[FirstBirthdate].dayIndex = 0;
    const ComputeOutcome outcome = Run(PersonalFirst);
    ASSERT_FALSE(outcome.ok());
    EXPECT_EQ(*outcome.failedDateSet, FirstBirthdate);
    EXPECT_EQ(outcome.dateError.message, "1st birthdate is incomplete.");
    EXPECT_EQ(outcome.dateError.title, "Date error");
    EXPECT_EQ(state.ChartJulianDays[FirstBirthdate], DateIncomplete);
    EXPECT_EQ(state.recordedMode, WorldTransits);
    EXPECT_EQ(state.grid.intNumCells, 90);
    EXPECT_EQ(state.grid.cells[0].text, firstCell);
    EXPECT_EQ(state.report, report);
}

TEST_F(Fixture, PlutoOutsideItsTableShowsItsMarkerAndHasNoAspects) {
    state.dateSets[WorldDate].yearText = QStringLiteral("1500");
    ASSERT_TRUE(Run(WorldTransits).ok());
    EXPECT_EQ(state.grid.cells[TriangularPositionCell(Pluto)].text, "<");
    for (const FoundAspect& aspect : state.aspects) {
        EXPECT_NE(aspect.body2, Pluto);
    }
}

TEST_F(Fixture, OnlyTheLargestStelliumIsReported) {
    SetOrbs(state.settings, state.orbs, state.orbSummary);
    state.numBodies = MaxBodies;
    for (BodyIndex body = 1; body <= MaxBodies; ++body) {
        state.positions(body, 0) = DegreesToRadians(body <= 6 ? 100.0 + body : 40.0 * body);
    }
    state.patternCounts.count.fill(7);
    const QString report = PatternReport(state, {ephemeris, texts});
    EXPECT_EQ(state.patternCounts.count[SixStellium], 1);
    EXPECT_EQ(state.patternCounts.count[FiveStellium], 0);
    EXPECT_EQ(state.patternCounts.count[FourStellium], 0);
    EXPECT_EQ(state.patternCounts.count[ThreeStellium], 0);
    EXPECT_TRUE(report.contains(QStringLiteral("6-Stellium: Ea-Me-Ve-Ma-Ju-Sa (orb ")));
    EXPECT_FALSE(report.contains(QStringLiteral("5-Stellium")));
}

TEST(AspectCountReport, LinesTotalsAndPlurals) {
    const ProgramTexts texts = Texts();
    AspectCounts counts;
    EXPECT_EQ(AspectCountReport(counts, texts), "No aspects.\r\n\r\n");
    EXPECT_EQ(AspectCountReportTwoCharts(counts, texts), "No aspects.");

    counts.count[Square] = 1;
    EXPECT_EQ(AspectCountReport(counts, texts), "1 square\r\n\r\n");
    EXPECT_EQ(AspectCountReportTwoCharts(counts, texts), "1 square");

    counts.count[Square] = 0;
    counts.count[Quincunx] = 2;
    EXPECT_EQ(AspectCountReport(counts, texts), "2 quincunxes\r\n2 aspects in all.\r\n\r\n");

    counts.count[Quincunx] = 0;
    counts.count[Conjunction] = 1;
    counts.count[Square] = 1;
    EXPECT_EQ(AspectCountReportTwoCharts(counts, texts),
              "1 conjunction, 1 square. 2 aspects in all.");
}
