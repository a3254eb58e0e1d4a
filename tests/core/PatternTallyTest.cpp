#include "core/PatternTally.h"
#include "common/RecordingRunHook.h"
#include "common/TestSupport.h"
#include "core/Orbs.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace orbivex;
using orbivex::test::RecordingRunHook;

namespace {

// Longitudes bunched near multiples of 30 degrees (kind 0), within a few signs (kind 1, for
// the stelliums) or near multiples of 60 degrees (kind 2, for the grand sextiles), so that
// every pattern turns up now and then; sometimes a body has no position.
BodyPositions RandomSky(std::mt19937& random, int kind = 0) {
    std::uniform_int_distribution<int> signs(1, 12);
    std::uniform_int_distribution<int> sector(0, kind == 1 ? signs(random) - 1 : 11);
    std::uniform_real_distribution<double> scatter(-9.0, 9.0);
    std::uniform_int_distribution<int> percent(0, 99);
    BodyPositions positions;
    for (BodyIndex body = 1; body <= MaxBodies; ++body) {
        const int s = kind == 2 ? sector(random) / 2 * 2 : sector(random);
        positions(body, 0) = NormalizeAngle(DegreesToRadians(s * 30.0 + scatter(random)));
        if (percent(random) < 3) {
            positions(body, 0) = -99.0;
        }
    }
    return positions;
}

OrbTable RandomOrbs(std::mt19937& random) {
    std::uniform_int_distribution<int> degrees(0, 15);
    OrbTable orbs;
    for (AspectKind kind = 1; kind <= NumAspectKinds; ++kind) {
        orbs(kind, 0) = DegreesToRadians(degrees(random));
    }
    return orbs;
}

} // namespace

// The counting searches must agree with the finders in every count and in every call to a
// run's hook, in order, over many skies rich in patterns.
TEST(PatternTally, CountsAndHookCallsMatchTheFinders) {
    std::mt19937 random(20240501);
    std::uniform_int_distribution<int> body(0, MaxBodies);
    std::uniform_int_distribution<int> budget(0, 6);
    std::array<int, NumPatterns> seen{};
    for (int sky = 0; sky < 4000; ++sky) {
        const BodyPositions positions = RandomSky(random, sky % 3);
        const OrbTable orbs = RandomOrbs(random);
        const int numBodies = sky % 5 == 0 ? MaxBodies - 1 : MaxBodies;
        const std::array<BodyIndex, 3> sought{body(random), body(random) / 2, 0};
        const int calls = sky % 2 == 0 ? 1000 : budget(random);
        const AspectPairTable pairs(positions, orbs, numBodies);
        for (PatternIndex pattern = GrandTrine; pattern <= GrandSextile; ++pattern) {
            RecordingRunHook findersHook(calls);
            RecordingRunHook tallyHook(calls);
            const PatternContext finders{positions, orbs,         numBodies,
                                         QString(), &findersHook, sought};
            const PatternContext tally{positions, orbs, numBodies, QString(), &tallyHook, sought};
            int expected = 0;
            FindPattern(pattern, finders, PatternForm::Report, expected);
            ASSERT_EQ(CountPattern(pattern, tally, pairs), expected)
                << "pattern " << pattern << ", sky " << sky;
            ASSERT_EQ(tallyHook.calls, findersHook.calls)
                << "pattern " << pattern << ", sky " << sky;
            seen[static_cast<size_t>(pattern)] += expected > 0 ? 1 : 0;
        }
    }
    // The skies did hold every pattern, or the comparison proves little.
    for (PatternIndex pattern = GrandTrine; pattern <= GrandSextile; ++pattern) {
        EXPECT_GT(seen[static_cast<size_t>(pattern)], 0) << "pattern " << pattern;
    }
}

TEST(PatternTally, PairTableAgreesWithTheAspectTest) {
    std::mt19937 random(7);
    for (int sky = 0; sky < 500; ++sky) {
        const BodyPositions positions = RandomSky(random);
        const OrbTable orbs = RandomOrbs(random);
        const AspectPairTable pairs(positions, orbs, MaxBodies);
        for (BodyIndex a = 1; a <= MaxBodies; ++a) {
            for (BodyIndex b = 1; b <= MaxBodies; ++b) {
                for (AspectKind kind = 1; kind <= NumAspectKinds; ++kind) {
                    double deviation = 0.0;
                    ASSERT_EQ(pairs.Holds(a, b, kind),
                              AspectWithinOrb(positions, orbs, a, b, kind, deviation));
                }
                ASSERT_EQ(pairs.FirstKind(a, b),
                          FindAspect(positions(a, 0), positions(b, 0), orbs, 0).kind);
            }
        }
    }
}

TEST(PatternTally, BodiesBeyondNumBodiesTakePartInNothing) {
    // Jupiter, Neptune and Pluto in a grand trine; the others have no position.
    BodyPositions positions;
    for (BodyIndex body = Earth; body <= MaxBodies; ++body) {
        positions(body, 0) = -1.0;
    }
    positions(Jupiter, 0) = DegreesToRadians(10.0);
    positions(Neptune, 0) = DegreesToRadians(130.0);
    positions(Pluto, 0) = DegreesToRadians(250.0);
    OrbTable orbs;
    orbs(Trine, 0) = DegreesToRadians(5.0);
    const PatternContext context{positions, orbs, MaxBodies};
    EXPECT_EQ(CountPattern(GrandTrine, context, AspectPairTable(positions, orbs, MaxBodies)), 1);
    EXPECT_EQ(CountPattern(GrandTrine, context, AspectPairTable(positions, orbs, MaxBodies - 1)),
              0);
    EXPECT_EQ(CountPattern(MidpointPattern, context, AspectPairTable(positions, orbs, MaxBodies)),
              0);
}
