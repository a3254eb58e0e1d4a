#include "draw/ChartWheel.h"
#include "present/PictureInput.h"

#include "common/TestSupport.h"
#include "core/Ephemeris.h"
#include "present/ChartView.h"
#include "session/Compute.h"
#include "support/ProgramTexts.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace orbivex;
using enum orbivex::ChartMode;

namespace {

struct WheelOfStateTest : ::testing::Test {
    Ephemeris ephemeris{test::ProgramFolder()};
    ProgramTexts texts = ProgramTexts::FromEntries({
        {33, QStringLiteral("Orb")},
        {34, QStringLiteral("Orbs")},
        {35, QStringLiteral("to")},
    });
    ProgramState state;

    void SetUp() override {
        ASSERT_EQ(MessageOf(ephemeris.LoadPlutoTable(QString::fromLatin1(PlutoTableFileName))),
                  u""_s);
        state.zones = MakeTimeZones(60, false);
        state.dateSets[WorldDate] = {QStringLiteral("2024"), 3, 20, 25, GreenwichTimezoneEntry};
        state.dateSets[FirstBirthdate] = {QStringLiteral("1970"), 6, 15, 14, 26};
        state.dateSets[SecondBirthdate] = {QStringLiteral("1985"), 11, 2, 40, 14};
    }
};

TEST_F(WheelOfStateTest, WheelDrawsTheAspectsComputeFound) {
    for (const ChartMode mode : AllChartModes) {
        state.mode = mode;
        ASSERT_TRUE(Compute(state, {ephemeris})) << mode;
        const WheelInput input = WheelInputOf(state);
        const ChartView view = BuildChartView(state.chart, ChartDisplayOf(state), texts);
        EXPECT_EQ(input.mode, mode);
        std::vector<WheelAspect> found;
        for (const ChartAspect& aspect : state.chart.aspects) {
            const int cell = IsTwoChartMode(mode)
                                 ? SquareAspectCell(aspect.first, aspect.second)
                                 : TriangularAspectCell(aspect.first, aspect.second);
            // The wheel's thick lines are the grid's bold cells.
            found.push_back({aspect.first, aspect.second, aspect.kind, view.grid.cells[cell].bold,
                             aspect.deviation});
        }
        EXPECT_FALSE(found.empty()) << mode;
        EXPECT_EQ(input.aspects, found) << mode;
        EXPECT_EQ(input.colours, state.settings.colours);
        EXPECT_EQ(DrawChartWheel(input, texts).lines.size(), found.size()) << mode;
    }
    // A mode chosen after the last Compute does not change the chart the wheel draws.
    state.mode = WorldTransits;
    EXPECT_EQ(WheelModeOf(state), SynastryMode);
}

TEST_F(WheelOfStateTest, ExportShowsTheDatesAndTheOrbsOfTwoSets) {
    state.mode = PersonalFirst;
    ASSERT_TRUE(Compute(state, {ephemeris}));
    const ExportInput input = ExportInputOf(state, texts);
    EXPECT_EQ(input.dates[WorldDate].date, QStringLiteral("2024-03-20"));
    EXPECT_EQ(input.dates[WorldDate].hourAndZone, QStringLiteral("12:00 GMT"));
    EXPECT_EQ(input.dates[FirstBirthdate].date, QStringLiteral("1970-06-15"));
    EXPECT_EQ(input.dates[FirstBirthdate].hourAndZone, QStringLiteral("06:30 GMT+1:00"));
    EXPECT_EQ(input.orbSummary, QStringLiteral("Orbs: 1°20' to 3°20'"));
    // The dates are the wheel's: one entered since its Compute is not among them.
    state.dateSets[WorldDate].yearText = QStringLiteral("2030");
    EXPECT_EQ(ExportInputOf(state, texts).dates[WorldDate].date, QStringLiteral("2024-03-20"));

    state.mode = NatalFirst;
    ASSERT_TRUE(Compute(state, {ephemeris}));
    EXPECT_EQ(ExportInputOf(state, texts).orbSummary, QString());
}

} // namespace
