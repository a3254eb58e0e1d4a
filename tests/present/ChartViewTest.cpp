#include "present/ChartView.h"
#include "common/ChartFixture.h"
#include "core/Orbs.h"

#include <gtest/gtest.h>

using namespace orbivex;

using enum orbivex::BodyIndex;
using enum orbivex::AspectKind;
using enum orbivex::PatternIndex;
using enum orbivex::ChartMode;
using namespace Qt::StringLiterals;

namespace {

struct ChartViewTest : test::ChartFixture {
    ChartView View(ChartMode mode) {
        Run(mode);
        return BuildChartView(state.chart, ChartDisplayOf(state), texts);
    }
};

int CountAspectCells(const AspectGrid& grid) {
    int cells = 0;
    for (int i = 0; i < grid.cellCount; ++i) {
        for (const AspectKind kind : AllAspectKinds) {
            cells += grid.cells[i].text.startsWith(AspectAbbreviation(kind)) ? 1 : 0;
        }
    }
    return cells;
}

// The few texts the reports use, worded apart from the program's own so that a test shows
// which text a line comes from.
ProgramTexts ReportTexts() {
    return ProgramTexts::FromEntries({
        {126, u"No aspects."_s},
        {127, u"N aspects in all."_s},
        {154, u"orb"_s},
    });
}

} // namespace

TEST_F(ChartViewTest, WorldTransitsShowEveryAspectOfTheChartInItsCell) {
    const ChartView view = View(WorldTransits);
    EXPECT_EQ(view.mode, WorldTransits);
    EXPECT_EQ(view.title, TitleText(WorldTransits, true, state.orbSummary, texts));
    EXPECT_EQ(view.grid.cellCount, 90);
    // Earth at the March equinox stands at 180° heliocentric.
    EXPECT_EQ(view.grid.cells[TriangularPositionCell(Earth)].text, u"180°2'\r\n0Lib2"_s);
    ASSERT_FALSE(state.chart.aspects.empty());
    for (const ChartAspect& aspect : state.chart.aspects) {
        const GridCell& cell = view.grid.cells[TriangularAspectCell(aspect.first, aspect.second)];
        EXPECT_TRUE(cell.text.startsWith(AspectAbbreviation(aspect.kind)));
        EXPECT_TRUE(cell.text.endsWith(aspect.motion == Motion::Applying ? u" -"_s : u" +"_s));
        EXPECT_EQ(cell.bold, aspect.bold);
        EXPECT_EQ(cell.foreColour, state.settings.colours[Index(aspect.kind)]);
    }
    EXPECT_EQ(CountAspectCells(view.grid), static_cast<int>(state.chart.aspects.size()));
    EXPECT_TRUE(view.report.startsWith(u"3 conjunctions\r\n1 opposition\r\n"_s));
    EXPECT_TRUE(view.report.contains(u"13 aspects in all.\r\n\r\n"_s));
}

TEST_F(ChartViewTest, TwoChartModesShowTheSquareGridAndAOneLineReport) {
    for (ChartMode mode : {PersonalFirst, SynastryMode}) {
        const ChartView view = View(mode);
        EXPECT_EQ(view.grid.cellCount, 121);
        ASSERT_FALSE(state.chart.aspects.empty());
        for (const ChartAspect& aspect : state.chart.aspects) {
            const QString& text =
                view.grid.cells[SquareAspectCell(aspect.first, aspect.second)].text;
            EXPECT_TRUE(text.startsWith(AspectAbbreviation(aspect.kind)));
            // Synastry cells carry no motion sign.
            EXPECT_EQ(text.endsWith(u" +"_s) || text.endsWith(u" -"_s), mode != SynastryMode);
        }
        EXPECT_EQ(CountAspectCells(view.grid), static_cast<int>(state.chart.aspects.size()));
        EXPECT_TRUE(view.report.endsWith(u"aspects in all."_s));
        EXPECT_FALSE(view.report.contains(u"\r\n"_s));
    }
}

TEST_F(ChartViewTest, PlutoOutsideItsTableShowsItsMarker) {
    state.dateSets[WorldDate].yearText = u"1500"_s;
    EXPECT_EQ(View(WorldTransits).grid.cells[TriangularPositionCell(Pluto)].text, u"<"_s);
}

TEST(PatternReport, OnlyTheLargestStelliumAndNoWithheldOnes) {
    const ProgramTexts texts = ReportTexts();
    ChartRequest request;
    request.orbs(Conjunction, OrbColumn::OneChart) = DegreesToRadians(8.0);
    std::array<PositionSet, 2> positions{};
    for (BodyIndex body : AllBodies) {
        const int n = BodyNumber(body);
        positions[0][body] = Position(DegreesToRadians(n <= 6 ? 100.0 + n : 40.0 * n));
    }
    const Chart six = ChartOfPositions(request, positions);
    EXPECT_EQ(PatternReport(six, texts), u"6-Stellium: Ea-Me-Ve-Ma-Ju-Sa (orb 2°20')\r\n\r\n"_s);

    // Ea-Me-Ve and Me-Ve-Ma: a run seeking Earth ends the search at the second, and the
    // report lists none.
    request.orbs(Conjunction, OrbColumn::OneChart) = DegreesToRadians(5.0);
    for (BodyIndex body : AllBodies) {
        const int n = BodyNumber(body);
        positions[0][body] = Position(DegreesToRadians(n <= 4 ? 8.0 + 2 * n : 40.0 * n));
    }
    EXPECT_EQ(PatternReport(ChartOfPositions(request, positions), texts),
              u"3-Stellium: Ea-Me-Ve (orb 2°40')\r\n3-Stellium: Me-Ve-Ma (orb 2°40')\r\n\r\n"_s);
    request.soughtBodies = {Earth, {}, {}};
    const Chart withheld = ChartOfPositions(request, positions);
    EXPECT_EQ(withheld.patternCounts[ThreeStellium], 1);
    EXPECT_EQ(PatternReport(withheld, texts), QString());
}

TEST(AspectCountReport, LinesTotalsAndPlurals) {
    struct Case {
        std::array<int, 8> count;
        const char16_t* oneChart;
        const char16_t* twoCharts;
    };
    const Case cases[] = {
        {{}, u"No aspects.\r\n\r\n", u"No aspects."},
        {{0, 0, 0, 1}, u"1 square\r\n\r\n", u"1 square"},
        {{0, 0, 0, 0, 0, 0, 0, 2},
         u"2 quincunxes\r\n2 aspects in all.\r\n\r\n",
         u"2 quincunxes. 2 aspects in all."},
        {{0, 1, 0, 1},
         u"1 conjunction\r\n1 square\r\n2 aspects in all.\r\n\r\n",
         u"1 conjunction, 1 square. 2 aspects in all."},
    };
    const ProgramTexts texts = ReportTexts();
    for (const Case& c : cases) {
        AspectCounts counts;
        counts.count = c.count;
        EXPECT_EQ(AspectCountReport(counts, texts), QString::fromUtf16(c.oneChart));
        EXPECT_EQ(AspectCountReportTwoCharts(counts, texts), QString::fromUtf16(c.twoCharts));
    }
}
