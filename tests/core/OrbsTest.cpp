#include "core/Orbs.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace orbivex;
using enum orbivex::BodyIndex;
using enum orbivex::AspectKind;

namespace {

double Deg(double degrees) {
    return DegreesToRadians(degrees);
}

Position At(double degrees) {
    return Position(Deg(degrees));
}

constexpr OrbColumn OneChart = OrbColumn::OneChart;

OrbTable UniformOrbs(double degrees) {
    OrbTable orbs;
    for (const AspectKind kind : AllAspectKinds) {
        for (const OrbColumn column : AllOrbColumns) {
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
    const AspectMatch match = FindAspect(At(10), At(85), orbs, OneChart);
    EXPECT_EQ(match.kind, Square);
    EXPECT_NEAR(match.deviation, Deg(15), 1e-9);

    // Only the column asked for counts.
    OrbTable narrow = orbs;
    narrow(Square, OrbColumn::PersonalTransits) = Deg(1);
    EXPECT_EQ(FindAspect(At(10), At(85), narrow, OrbColumn::PersonalTransits).kind, Sextile);
    EXPECT_EQ(FindAspect(At(10), At(85), narrow, OneChart).kind, Square);
}

TEST(FindAspect, OrbTestIsStrict) {
    OrbTable orbs;
    const Position a = At(20);
    const Position b = At(112);
    // The orb set to exactly the deviation: no aspect; the next larger double: an aspect.
    const double deviation =
        AspectDeviation(AngularSeparation(a.Longitude(), b.Longitude()), Square);
    orbs(Square, OneChart) = deviation;
    EXPECT_EQ(FindAspect(a, b, orbs, OneChart).kind, NoAspect);
    orbs(Square, OneChart) = std::nextafter(deviation, 1.0);
    EXPECT_EQ(FindAspect(a, b, orbs, OneChart).kind, Square);

    // A kind whose orb is 0 is never found, not even when exact.
    orbs(Square, OneChart) = 0.0;
    EXPECT_EQ(FindAspect(At(0), Position(AspectAngles[Square]), orbs, OneChart).kind, NoAspect);
}

TEST(FindAspect, NoPositionGivesNoAspect) {
    const OrbTable orbs = UniformOrbs(10.0);
    const Position nan(std::numeric_limits<double>::quiet_NaN());
    for (const Position& missing : {Position(PositionStatus::BeforeTable), Position(), nan}) {
        EXPECT_EQ(FindAspect(missing, At(0), orbs, OneChart).kind, NoAspect);
        EXPECT_EQ(FindAspect(At(0), missing, orbs, OneChart).kind, NoAspect);
        EXPECT_EQ(AspectExactness(missing, At(120), Trine, orbs, OneChart), std::nullopt);
        EXPECT_EQ(AspectExactness(At(0), missing, Trine, orbs, OneChart), std::nullopt);
    }
    EXPECT_EQ(FindAspect(At(0), At(1), orbs, OrbColumn::Synastry).kind, Conjunction);
}

TEST(AspectExactness, ScalesFromOneAtExactnessToZeroAtTheEdge) {
    const OrbTable orbs = UniformOrbs(8.0);
    const OrbColumn personal = OrbColumn::PersonalTransits;
    EXPECT_NEAR(AspectExactness(At(10), At(130), Trine, orbs, personal).value_or(0), 1.0, 1e-9);
    EXPECT_NEAR(AspectExactness(At(10), At(134), Trine, orbs, personal).value_or(0), 0.5, 1e-9);
    EXPECT_EQ(AspectExactness(At(10), At(139), Trine, orbs, personal), std::nullopt);
    EXPECT_EQ(AspectExactness(At(10), At(130), Trine, OrbTable{}, OneChart), std::nullopt);
    EXPECT_EQ(AspectExactness(At(10), At(130), NoAspect, orbs, OneChart), std::nullopt);
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
