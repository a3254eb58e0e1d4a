#include "core/Ephemeris.h"
#include "core/Orbs.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

using namespace orbivex;

namespace {

constexpr double HalfHour = 1.0 / 48.0;
constexpr double J2000 = 2451545.0;

double Deg(double degrees) {
    return DegreesToRadians(degrees);
}

class MotionSignTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(ephemeris.LoadPlutoTable(QString::fromLatin1(PlutoTableFileName)), "");
    }
    Ephemeris ephemeris{test::ProgramFolder()};
};

} // namespace

TEST_F(MotionSignTest, PersonalTransitMovesOnlyTheTransitingBody) {
    // Mercury always moves forward: it nears a natal point just ahead of it and leaves one just
    // behind it. The second body is not consulted.
    const double mercury = ephemeris.PositionOfBody(Mercury, J2000);
    MotionQuery query{ChartMotion::PersonalTransits,    J2000,       Mercury, Pluto,
                      NormalizeAngle(mercury + Deg(1)), Conjunction, Deg(1)};
    EXPECT_EQ(MotionSign(ephemeris, query), " -");
    query.natalLongitude = NormalizeAngle(mercury - Deg(1));
    EXPECT_EQ(MotionSign(ephemeris, query), " +");
    query.second = 0;
    EXPECT_EQ(MotionSign(ephemeris, query), " +");

    query.natalLongitude = -1.0;
    EXPECT_EQ(MotionSign(ephemeris, query), "");
}

TEST_F(MotionSignTest, WorldChartMovesBothBodies) {
    // Pluto barely moves in half an hour while Mercury runs: the separation shrinks when Pluto
    // lies ahead of Mercury and grows when it lies behind.
    const double mercury = ephemeris.PositionOfBody(Mercury, J2000);
    const double pluto = ephemeris.PositionOfBody(Pluto, J2000);
    int direction = 0;
    const double separation = AngularSeparation(mercury, pluto, direction);
    ASSERT_GT(separation, Deg(1));
    ASSERT_LT(separation, Deg(179));
    const QString expected = direction == -1 ? QStringLiteral(" -") : QStringLiteral(" +");

    MotionQuery query{ChartMotion::WorldOrNatal,
                      J2000,
                      Mercury,
                      Pluto,
                      -1.0,
                      Conjunction,
                      AspectDeviation(separation, Conjunction)};
    EXPECT_EQ(MotionSign(ephemeris, query), expected);
    std::swap(query.first, query.second);
    EXPECT_EQ(MotionSign(ephemeris, query), expected);

    // The same deviation half an hour later: neither applying nor separating.
    query.deviation =
        AspectDeviation(AngularSeparation(ephemeris.PositionOfBody(Mercury, J2000 + HalfHour),
                                          ephemeris.PositionOfBody(Pluto, J2000 + HalfHour)),
                        Conjunction);
    EXPECT_EQ(MotionSign(ephemeris, query), "");

    query.chart = ChartMotion::Synastry;
    query.deviation = Deg(100);
    EXPECT_EQ(MotionSign(ephemeris, query), "");
    query.chart = ChartMotion::WorldOrNatal;
    query.kind = 0;
    EXPECT_EQ(MotionSign(ephemeris, query), "");
}

TEST_F(MotionSignTest, NoSignWhenPlutoLeavesItsTableWithinTheHalfHour) {
    double jd = PlutoTableLastDay - 2.0;
    while (ephemeris.PositionOfBody(Pluto, jd + HalfHour) >= 0.0 && jd < PlutoTableLastDay + 1.0) {
        jd += 0.005;
    }
    ASSERT_GE(ephemeris.PositionOfBody(Pluto, jd), 0.0);
    const MotionQuery query{
        ChartMotion::WorldOrNatal, jd, Mercury, Pluto, -1.0, Conjunction, Deg(100)};
    EXPECT_EQ(MotionSign(ephemeris, query), "");
}
