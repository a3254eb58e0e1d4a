#include "core/Chart.h"

#include "common/TestSupport.h"
#include "core/Ephemeris.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::StringLiterals;

using namespace orbivex;
using enum orbivex::BodyIndex;
using enum orbivex::AspectKind;
using enum orbivex::PatternIndex;
using enum orbivex::ChartMode;

namespace {

constexpr double World = 2460390.0;                // 20 March 2024, 12:00 UT
constexpr double FirstBirth = 2440752.7291666665;  // 15 June 1970, 05:30 UT
constexpr double SecondBirth = 2446372.5208333335; // 3 November 1985, 00:30 UT

// Orbs in degrees of column 0; columns 1 and 2 a third of them.
OrbTable Orbs() {
    OrbTable orbs;
    const double degrees[] = {0, 10, 9, 6, 7, 5, 4, 5};
    for (const AspectKind kind : AllAspectKinds) {
        orbs(kind, OrbColumn::OneChart) = DegreesToRadians(degrees[Index(kind)]);
        orbs(kind, OrbColumn::PersonalTransits) = orbs(kind, OrbColumn::OneChart) / 3;
        orbs(kind, OrbColumn::Synastry) = orbs(kind, OrbColumn::OneChart) / 3;
    }
    return orbs;
}

class ChartTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(MessageOf(ephemeris.LoadPlutoTable(QString::fromLatin1(PlutoTableFileName))),
                  u""_s);
    }

    ChartRequest Request(ChartMode mode) const {
        ChartRequest request;
        request.mode = mode;
        request.firstJulianDay = mode == NatalFirst || mode == SynastryMode ? FirstBirth
                                 : mode == NatalSecond                      ? SecondBirth
                                                                            : World;
        request.secondJulianDay = mode == PersonalFirst ? FirstBirth : SecondBirth;
        request.orbs = Orbs();
        request.midpointOrb = DegreesToRadians(0.5);
        request.boldface = {true, true, 4};
        return request;
    }

    Ephemeris ephemeris{test::ProgramFolder()};
};

} // namespace

TEST_F(ChartTest, EveryModeFindsEachPairsAspectInOrderWithItsMotionAndEmphasis) {
    for (const ChartMode mode : AllChartModes) {
        SCOPED_TRACE(mode);
        const ChartRequest request = Request(mode);
        const Chart chart = ComputeChart(request, ephemeris);
        ASSERT_FALSE(chart.aspects.empty());
        const OrbColumn column = OrbColumnOfMode(mode);
        AspectCounts counts;
        for (std::size_t i = 0; i < chart.aspects.size(); ++i) {
            const ChartAspect& a = chart.aspects[i];
            // The grid's cell order: pairs k < j row by row, or the second set's rows.
            if (i > 0) {
                const ChartAspect& b = chart.aspects[i - 1];
                EXPECT_LT(
                    chart.TwoSets() ? std::pair(b.second, b.first) : std::pair(b.first, b.second),
                    chart.TwoSets() ? std::pair(a.second, a.first) : std::pair(a.first, a.second));
            }
            if (!chart.TwoSets()) {
                EXPECT_LT(a.first, a.second);
            }
            const Position& first = chart.positions[0][a.first];
            const Position& second = chart.positions[chart.TwoSets() ? 1 : 0][a.second];
            const AspectMatch match = FindAspect(second, first, request.orbs, column);
            EXPECT_EQ(a.kind, match.kind);
            EXPECT_EQ(a.deviation, match.deviation);
            EXPECT_EQ(a.bold, a.deviation < DegreesToRadians(1));
            EXPECT_EQ(a.motion == Motion::None, mode == SynastryMode);
            ++counts.count[Index(a.kind)];
        }
        EXPECT_EQ(chart.aspectCounts.count, counts.count);
        // Only the charts of one set have patterns; their counts are the numbers found.
        PatternCounts found;
        for (const FoundPattern& pattern : chart.patterns) {
            ++found[pattern.pattern];
        }
        found[MidpointPattern] = static_cast<int>(chart.midpoints.size());
        EXPECT_EQ(chart.patternCounts.count, found.count);
        if (chart.TwoSets()) {
            EXPECT_TRUE(chart.patterns.empty() && chart.midpoints.empty());
        }
        EXPECT_EQ(chart.positions[1][Earth].Known(), chart.TwoSets());

        // Without motion the chart is the same but for it.
        ChartRequest still = request;
        still.motion = false;
        Chart without = ComputeChart(still, ephemeris);
        for (ChartAspect& aspect : without.aspects) {
            EXPECT_EQ(aspect.motion, Motion::None);
        }
        Chart expected = chart;
        for (ChartAspect& aspect : expected.aspects) {
            aspect.motion = Motion::None;
        }
        EXPECT_EQ(without.aspects, expected.aspects);
        EXPECT_EQ(without.patterns, expected.patterns);
    }
}

TEST_F(ChartTest, ATransitAtTheNatalInstantSeparatesFromEveryNatalPlace) {
    // Each transiting body stands exactly on its natal place and moves on from it.
    ChartRequest request = Request(PersonalFirst);
    request.secondJulianDay = request.firstJulianDay;
    const Chart chart = ComputeChart(request, ephemeris);
    int selves = 0;
    for (const ChartAspect& aspect : chart.aspects) {
        if (aspect.first == aspect.second) {
            ++selves;
            EXPECT_EQ(aspect.kind, Conjunction);
            EXPECT_EQ(aspect.deviation, 0.0);
            EXPECT_TRUE(aspect.bold);
            EXPECT_EQ(aspect.motion, Motion::Separating) << aspect.first;
        }
    }
    EXPECT_EQ(selves, MaxBodies);
}

TEST_F(ChartTest, PlutoOutsideItsTableSaysWhyAndTakesPartInNothing) {
    struct Case {
        double jd;
        int numBodies;
        PositionStatus pluto;
    };
    const Case cases[] = {
        {2268923.0, 9, PositionStatus::BeforeTable}, // 1500
        {2542868.0, 9, PositionStatus::AfterTable},  // 2250
        {World, 8, PositionStatus::Unavailable},     // no table in use
        {World, 9, PositionStatus::Known},
    };
    for (const Case& c : cases) {
        ChartRequest request = Request(WorldTransits);
        request.firstJulianDay = c.jd;
        request.numBodies = c.numBodies;
        const Chart chart = ComputeChart(request, ephemeris);
        EXPECT_EQ(chart.positions[0][Pluto].Status(), c.pluto) << c.jd;
        EXPECT_TRUE(chart.positions[0][Neptune].Known());
        const bool plutoAspects =
            std::any_of(chart.aspects.begin(), chart.aspects.end(),
                        [](const ChartAspect& a) { return a.second == Pluto; });
        EXPECT_EQ(plutoAspects, c.pluto == PositionStatus::Known) << c.jd;
    }

    // Pluto leaves its table within the half hour: its aspects have no motion.
    ChartRequest edge = Request(WorldTransits);
    edge.firstJulianDay = 2524593.5 - 1.0 / 96; // 31 December 2199, 23:45 UT
    const Chart chart = ComputeChart(edge, ephemeris);
    ASSERT_TRUE(chart.positions[0][Pluto].Known());
    for (const ChartAspect& aspect : chart.aspects) {
        EXPECT_EQ(aspect.motion == Motion::None, aspect.second == Pluto);
    }
}

TEST_F(ChartTest, BoldUsesTheOrbOfTheModesColumn) {
    // With the proportion rule an aspect is bold below a quarter of its orb; personal transits
    // use the narrower orbs of column 1.
    for (ChartMode mode : {WorldTransits, PersonalFirst}) {
        ChartRequest request = Request(mode);
        request.boldface = {true, false, 4};
        const Chart chart = ComputeChart(request, ephemeris);
        int bold = 0;
        for (const ChartAspect& aspect : chart.aspects) {
            const double orb = request.orbs(aspect.kind, OrbColumnOfMode(mode));
            EXPECT_EQ(aspect.bold, aspect.deviation < orb / 4) << mode;
            bold += aspect.bold ? 1 : 0;
        }
        request.boldface.useBoldface = false;
        for (const ChartAspect& aspect : ComputeChart(request, ephemeris).aspects) {
            EXPECT_FALSE(aspect.bold);
        }
        EXPECT_GT(bold, 0) << mode;
    }
}

TEST_F(ChartTest, APreviousChartLendsOnlyASecondSetOfTheSameInstant) {
    ChartRequest request = Request(PersonalFirst);
    const Chart before = ComputeChart(request, ephemeris);
    request.firstJulianDay += 1.0;
    const Chart fresh = ComputeChart(request, ephemeris);
    const Chart lent = ComputeChart(request, ephemeris, &before);
    EXPECT_EQ(lent.positions, fresh.positions);
    EXPECT_EQ(lent.aspects, fresh.aspects);

    // Another birthdate, or Pluto's table out of use, is computed afresh.
    request.secondJulianDay = SecondBirth;
    EXPECT_EQ(ComputeChart(request, ephemeris, &before).positions[1],
              ComputeChart(request, ephemeris).positions[1]);
    request.secondJulianDay = FirstBirth;
    request.numBodies = 8;
    EXPECT_FALSE(ComputeChart(request, ephemeris, &before).positions[1][Pluto].Known());
}

TEST_F(ChartTest, InAWorldChartTheFasterBodyNearsOrLeavesTheSlowerOne) {
    // With a conjunction orb of half the circle every pair is a conjunction whose deviation is
    // the separation: Mercury runs towards Pluto when Pluto lies ahead of it.
    ChartRequest request = Request(WorldTransits);
    request.firstJulianDay = 2451545.0;
    request.orbs = {};
    request.orbs(Conjunction, OrbColumn::OneChart) = Pi;
    const Chart chart = ComputeChart(request, ephemeris);
    const auto found =
        std::find_if(chart.aspects.begin(), chart.aspects.end(),
                     [](const ChartAspect& a) { return a.first == Mercury && a.second == Pluto; });
    ASSERT_NE(found, chart.aspects.end());
    int direction = 0;
    AngularSeparation(chart.positions[0][Mercury].Longitude(),
                      chart.positions[0][Pluto].Longitude(), direction);
    EXPECT_EQ(found->motion, direction == -1 ? Motion::Applying : Motion::Separating);
}
