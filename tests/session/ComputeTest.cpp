#include "session/Compute.h"
#include "common/TestSupport.h"
#include "core/Ephemeris.h"
#include "core/Orbs.h"
#include "session/Stepping.h"
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

TEST_F(Fixture, WorldTransitsFillTheGridAndTheReportFromTheChart) {
    ASSERT_TRUE(Run(WorldTransits).ok());
    EXPECT_EQ(state.recordedMode, WorldTransits);
    EXPECT_EQ(state.chart.mode, WorldTransits);
    EXPECT_NEAR(state.ChartJulianDays[WorldDate], 2460390.0, 1e-9);
    EXPECT_EQ(state.chart.firstJulianDay, state.ChartJulianDays[WorldDate]);
    EXPECT_EQ(state.grid.intNumCells, 90);
    // Earth at the March equinox stands at 180° heliocentric.
    EXPECT_EQ(state.grid.cells[TriangularPositionCell(Earth)].text, "180°2'\r\n0Lib2");
    ASSERT_FALSE(state.chart.aspects.empty());
    for (const ChartAspect& aspect : state.chart.aspects) {
        const GridCell& cell = state.grid.cells[TriangularAspectCell(aspect.first, aspect.second)];
        EXPECT_TRUE(cell.text.startsWith(AspectAbbreviation(aspect.kind)));
        EXPECT_TRUE(cell.text.endsWith(aspect.motion == Motion::Applying ? " -" : " +"));
        EXPECT_EQ(cell.bold, aspect.bold);
        EXPECT_EQ(cell.foreColour, state.settings.colours[aspect.kind]);
    }
    EXPECT_EQ(CountAspectCells(state), static_cast<int>(state.chart.aspects.size()));
    EXPECT_TRUE(state.report.startsWith(QStringLiteral("3 conjunctions\r\n1 opposition\r\n")));
    EXPECT_TRUE(state.report.contains(QStringLiteral("13 aspects in all.\r\n\r\n")));
}

TEST_F(Fixture, TwoChartModesFillTheSquareGrid) {
    for (ChartMode mode : {PersonalFirst, SynastryMode}) {
        ASSERT_TRUE(Run(mode).ok());
        EXPECT_EQ(state.grid.intNumCells, 121);
        ASSERT_FALSE(state.chart.aspects.empty());
        for (const ChartAspect& aspect : state.chart.aspects) {
            const QString& text =
                state.grid.cells[SquareAspectCell(aspect.first, aspect.second)].text;
            EXPECT_TRUE(text.startsWith(AspectAbbreviation(aspect.kind)));
            // Synastry cells carry no motion sign.
            EXPECT_EQ(text.endsWith(QStringLiteral(" +")) || text.endsWith(QStringLiteral(" -")),
                      mode != SynastryMode);
        }
        EXPECT_EQ(CountAspectCells(state), static_cast<int>(state.chart.aspects.size()));
        EXPECT_TRUE(state.report1.endsWith(QStringLiteral("aspects in all.")));
        EXPECT_FALSE(state.report1.contains(QStringLiteral("\r\n")));
    }
}

TEST_F(Fixture, ADateErrorStopsComputeAndKeepsTheLastResult) {
    ASSERT_TRUE(Run(WorldTransits).ok());
    const QString report = state.report;
    const QString firstCell = state.grid.cells[0].text;
    const std::vector<ChartAspect> aspects = state.chart.aspects;

    state.dateSets[FirstBirthdate].dayIndex = 0;
    const ComputeOutcome outcome = Run(PersonalFirst);
    ASSERT_FALSE(outcome.ok());
    EXPECT_EQ(*outcome.failedDateSet, FirstBirthdate);
    EXPECT_EQ(outcome.dateError.message, "1st birthdate is incomplete.");
    EXPECT_EQ(outcome.dateError.title, "Date error");
    EXPECT_EQ(state.ChartJulianDays[FirstBirthdate], DateIncomplete);
    EXPECT_EQ(state.recordedMode, WorldTransits);
    EXPECT_EQ(state.chart.mode, WorldTransits);
    EXPECT_EQ(state.chart.aspects, aspects);
    EXPECT_EQ(state.grid.intNumCells, 90);
    EXPECT_EQ(state.grid.cells[0].text, firstCell);
    EXPECT_EQ(state.report, report);
}

TEST_F(Fixture, PlutoOutsideItsTableShowsItsMarker) {
    state.dateSets[WorldDate].yearText = QStringLiteral("1500");
    ASSERT_TRUE(Run(WorldTransits).ok());
    EXPECT_EQ(state.grid.cells[TriangularPositionCell(Pluto)].text, "<");
}

// A run at full speed computes the chart without motion and leaves what is shown as it was.
TEST_F(Fixture, ChartOnlyLeavesTheDisplayAsItWas) {
    ASSERT_TRUE(Run(WorldTransits).ok());
    const QString report = state.report;
    const AspectGrid grid = state.grid;
    StepDateSet(state.dateSets[WorldDate], state.zones, YearStep, true);
    ComputeContext context{ephemeris, texts};
    context.chartOnly = true;
    ASSERT_TRUE(Compute(state, context).ok());
    EXPECT_EQ(state.report, report);
    for (int cell = 0; cell < grid.intNumCells; ++cell) {
        EXPECT_EQ(state.grid.cells[cell].text, grid.cells[cell].text);
    }
    const Chart fast = state.chart;
    EXPECT_NEAR(fast.firstJulianDay, 2460755.0, 1e-9);

    ASSERT_TRUE(Compute(state, {ephemeris, texts}).ok());
    Chart full = state.chart;
    for (ChartAspect& aspect : full.aspects) {
        EXPECT_NE(aspect.motion, Motion::None);
        aspect.motion = Motion::None;
    }
    EXPECT_EQ(fast.aspects, full.aspects);
    EXPECT_EQ(fast.patternCounts.count, full.patternCounts.count);
}

TEST(PatternReport, OnlyTheLargestStelliumAndNoWithheldOnes) {
    const ProgramTexts texts = Texts();
    ChartRequest request;
    request.orbs(Conjunction, 0) = DegreesToRadians(8.0);
    std::array<PositionSet, 2> positions{};
    for (BodyIndex body = 1; body <= MaxBodies; ++body) {
        positions[0][body] = Position(DegreesToRadians(body <= 6 ? 100.0 + body : 40.0 * body));
    }
    const Chart six = ChartOfPositions(request, positions);
    EXPECT_EQ(PatternReport(six, texts), "6-Stellium: Ea-Me-Ve-Ma-Ju-Sa (orb 2°20')\r\n\r\n");

    // Ea-Me-Ve and Me-Ve-Ma: a run seeking Earth ends the search at the second, and the
    // report lists none.
    request.orbs(Conjunction, 0) = DegreesToRadians(5.0);
    for (BodyIndex body = 1; body <= MaxBodies; ++body) {
        positions[0][body] = Position(DegreesToRadians(body <= 4 ? 8.0 + 2 * body : 40.0 * body));
    }
    EXPECT_EQ(PatternReport(ChartOfPositions(request, positions), texts),
              "3-Stellium: Ea-Me-Ve (orb 2°40')\r\n3-Stellium: Me-Ve-Ma (orb 2°40')\r\n\r\n");
    request.soughtBodies = {Earth, 0, 0};
    const Chart withheld = ChartOfPositions(request, positions);
    EXPECT_EQ(withheld.patternCounts.count[ThreeStellium], 1);
    EXPECT_EQ(PatternReport(withheld, texts), "");
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
