#include "core/Orbs.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace orbivex;

namespace {

double Deg(double degrees) {
    return DegreesToRadians(degrees);
}

OrbTable UniformOrbs(double degrees) {
    OrbTable orbs;
    for (const AspectKind kind : AllAspectKinds) {
        for (OrbColumn column = 0; column <= 2; ++column) {
            orbs(kind, column) = Deg(degrees);
        }
    }
    return orbs;
}

constexpr double Tolerance = 1e-12;

} // namespace

TEST(AngularSeparation, ShorterArcAndDirectionAcrossZero) {
    int direction = 7;
    EXPECT_NEAR(AngularSeparation(Deg(350), Deg(10), direction), Deg(20), Tolerance);
    EXPECT_EQ(direction, -1); // 10° lies ahead of 350°
    EXPECT_NEAR(AngularSeparation(Deg(10), Deg(350), direction), Deg(20), Tolerance);
    EXPECT_EQ(direction, 1);
    EXPECT_NEAR(SignedSeparation(Deg(350), Deg(10)), -Deg(20), Tolerance);
    EXPECT_NEAR(SignedSeparation(Deg(10), Deg(350)), Deg(20), Tolerance);

    // Equal longitudes: no separation.
    EXPECT_EQ(AngularSeparation(Deg(42), Deg(42), direction), 0.0);
    EXPECT_EQ(SignedSeparation(Deg(42), Deg(42)), 0.0);

    // An exact opposition is measured as b ahead of a, so the signed value is -pi.
    EXPECT_NEAR(AngularSeparation(0.0, AspectAngles[Opposition], direction),
                AspectAngles[Opposition], Tolerance);
    EXPECT_EQ(direction, -1);
    EXPECT_NEAR(SignedSeparation(Deg(100), Deg(280)), -AspectAngles[Opposition], 1e-9);
    EXPECT_NEAR(SignedSeparation(Deg(280), Deg(100)), -AspectAngles[Opposition], 1e-9);
}

TEST(AngularSeparation, NanLongitudeHasNoDirection) {
    int direction = 7;
    const double separation =
        AngularSeparation(std::numeric_limits<double>::quiet_NaN(), Deg(10), direction);
    EXPECT_TRUE(std::isnan(separation));
    EXPECT_EQ(direction, 0);
}

TEST(NormalizeAngle, BringsAnglesIntoOneCircle) {
    EXPECT_NEAR(NormalizeAngle(-Deg(10)), Deg(350), Tolerance);
    EXPECT_EQ(NormalizeAngle(FullCircle), 0.0);
    EXPECT_NEAR(NormalizeAngle(Deg(370)), Deg(10), Tolerance);
    EXPECT_NEAR(NormalizeAngle(-3 * FullCircle + Deg(5)), Deg(5), 1e-9);
    const double far = NormalizeAngle(1e9 * FullCircle + 1.0);
    EXPECT_GE(far, 0.0);
    EXPECT_LT(far, FullCircle);
    // Infinite angles would never come into range; they take part in nothing instead.
    EXPECT_TRUE(std::isnan(NormalizeAngle(std::numeric_limits<double>::infinity())));
    EXPECT_TRUE(std::isnan(NormalizeAngle(-std::numeric_limits<double>::infinity())));
}

TEST(FindAspect, LowerKindWinsWhenTwoOrbsOverlap) {
    const OrbTable orbs = UniformOrbs(16.0);
    // 75° is 15° from the square and from the sextile.
    const AspectMatch match = FindAspect(Deg(10), Deg(85), orbs, 0);
    EXPECT_EQ(match.kind, Square);
    EXPECT_NEAR(match.deviation, Deg(15), 1e-9);

    // Only the column asked for counts.
    OrbTable narrow = orbs;
    narrow(Square, 1) = Deg(1);
    EXPECT_EQ(FindAspect(Deg(10), Deg(85), narrow, 1).kind, Sextile);
    EXPECT_EQ(FindAspect(Deg(10), Deg(85), narrow, 0).kind, Square);
}

TEST(FindAspect, OrbTestIsStrict) {
    OrbTable orbs;
    const double a = Deg(20);
    const double b = Deg(112);
    // The orb set to exactly the deviation: no aspect; the next larger double: an aspect.
    const double deviation = AspectDeviation(AngularSeparation(a, b), Square);
    orbs(Square, 0) = deviation;
    EXPECT_EQ(FindAspect(a, b, orbs, 0).kind, NoAspect);
    orbs(Square, 0) = std::nextafter(deviation, 1.0);
    EXPECT_EQ(FindAspect(a, b, orbs, 0).kind, Square);

    // A kind whose orb is 0 is never found, not even when exact.
    orbs(Square, 0) = 0.0;
    EXPECT_EQ(FindAspect(0.0, AspectAngles[Square], orbs, 0).kind, NoAspect);
}

TEST(FindAspect, NoPositionOrBadColumnGivesNoAspect) {
    const OrbTable orbs = UniformOrbs(10.0);
    EXPECT_EQ(FindAspect(-1.0, Deg(0), orbs, 0).kind, NoAspect);
    EXPECT_EQ(FindAspect(Deg(0), -99.0, orbs, 0).kind, NoAspect);
    EXPECT_EQ(FindAspect(std::numeric_limits<double>::quiet_NaN(), Deg(0), orbs, 0).kind, NoAspect);
    EXPECT_EQ(FindAspect(Deg(0), Deg(1), orbs, 3).kind, NoAspect);
    EXPECT_EQ(FindAspect(Deg(0), Deg(1), orbs, -1).kind, NoAspect);
    EXPECT_EQ(FindAspect(Deg(0), Deg(1), orbs, 2).kind, Conjunction);
}

TEST(AspectExactness, ScalesFromOneAtExactnessToZeroAtTheEdge) {
    const OrbTable orbs = UniformOrbs(8.0);
    double exactness = 5.0;
    EXPECT_TRUE(AspectExactness(Deg(10), Deg(130), Trine, orbs, 1, exactness));
    EXPECT_NEAR(exactness, 1.0, 1e-9);
    EXPECT_TRUE(AspectExactness(Deg(10), Deg(134), Trine, orbs, 1, exactness));
    EXPECT_NEAR(exactness, 0.5, 1e-9);
    EXPECT_FALSE(AspectExactness(Deg(10), Deg(139), Trine, orbs, 1, exactness));
    EXPECT_EQ(exactness, -1.0);

    OrbTable zero;
    exactness = 5.0;
    EXPECT_FALSE(AspectExactness(Deg(10), Deg(130), Trine, zero, 0, exactness));
    EXPECT_EQ(exactness, -1.0);

    // Without a position, or with a bad kind, exactness stays as it was.
    exactness = 5.0;
    EXPECT_FALSE(AspectExactness(-1.0, Deg(130), Trine, orbs, 0, exactness));
    EXPECT_FALSE(AspectExactness(Deg(10), -100.0, Trine, orbs, 0, exactness));
    EXPECT_FALSE(AspectExactness(Deg(10), Deg(130), NoAspect, orbs, 0, exactness));
    EXPECT_EQ(exactness, 5.0);
}

TEST(ChartFilters, OuterAndEarthOptions) {
    struct Case {
        bool outerOnly;
        bool earthOnly;
        BodyIndex a;
        BodyIndex b;
        bool shown;
    };
    const Case cases[] = {
        {false, false, Earth, Mars, true},   {false, false, Jupiter, Pluto, true},
        {true, false, Jupiter, Pluto, true}, {true, false, Mars, Jupiter, false},
        {true, false, Saturn, Earth, false}, {false, true, Saturn, Earth, true},
        {false, true, Earth, Earth, true},   {false, true, Saturn, Uranus, false},
        {true, true, Earth, Mercury, true},  {true, true, Jupiter, Saturn, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AspectShownInChart(c.a, c.b, {c.outerOnly, c.earthOnly}), c.shown)
            << c.outerOnly << c.earthOnly << " " << c.a << "-" << c.b;
    }
}
