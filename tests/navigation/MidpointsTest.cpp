#include "navigation/Midpoints.h"

#include "core/Orbs.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <utility>
#include <vector>

using namespace orbivex;

namespace {

double Deg(double degrees, double minutes = 0.0) {
    return DegreesToRadians(degrees + minutes / 60.0);
}

const double FiveMinutes = Deg(0, 5);

BodyPositions Sky(std::initializer_list<std::pair<BodyIndex, double>> degrees) {
    BodyPositions positions;
    for (BodyIndex body = 1; body <= MaxBodies; ++body) {
        positions(body, 0) = -1.0;
    }
    for (const auto& [body, longitude] : degrees) {
        positions(body, 0) = Deg(longitude);
    }
    return positions;
}

OrbTable ConjunctionOrb(double degrees) {
    OrbTable orbs;
    orbs(Conjunction, 0) = Deg(degrees);
    return orbs;
}

struct RecordingHook : PatternRunHook {
    std::vector<std::pair<QString, std::vector<BodyIndex>>> calls;
    bool SeeksBodies() const override { return true; }
    void CheckSoughtBodies(const QString& name, std::span<const BodyIndex> bodies) override {
        calls.emplace_back(name, std::vector<BodyIndex>(bodies.begin(), bodies.end()));
    }
};

} // namespace

TEST(MidpointOfTriple, NamesTheMiddleBodyBetweenTheOthersInAnyOrder) {
    const BodyPositions sky = Sky({{Mercury, 10}, {Mars, 50}, {Jupiter, 90}});
    const BodyIndex orders[][3] = {{Mercury, Mars, Jupiter},
                                   {Jupiter, Mercury, Mars},
                                   {Mars, Jupiter, Mercury},
                                   {Jupiter, Mars, Mercury}};
    for (const auto& o : orders) {
        EXPECT_EQ(MidpointOfTriple(sky, FiveMinutes, o[0], o[1], o[2], true),
                  "Mercury-Mars-Jupiter");
        EXPECT_EQ(MidpointOfTriple(sky, FiveMinutes, o[0], o[1], o[2], false), "Me-Ma-Ju");
    }
}

TEST(MidpointOfTriple, FoundThroughThePointOppositeThePlainMean) {
    // The plain mean of 350° and 30° is 190°; the midpoint of the short arc is 10°.
    const BodyPositions sky = Sky({{Earth, 350}, {Venus, 30}, {Mercury, 10}});
    EXPECT_EQ(MidpointOfTriple(sky, FiveMinutes, Earth, Venus, Mercury, false), "Ea-Me-Ve");
}

TEST(MidpointOfTriple, OrbIsStrict) {
    BodyPositions sky = Sky({{Mercury, 10}, {Jupiter, 90}});
    sky(Mars, 0) = Deg(50, 4);
    EXPECT_EQ(MidpointOfTriple(sky, FiveMinutes, Mercury, Mars, Jupiter, false), "Me-Ma-Ju");
    sky(Mars, 0) = Deg(50, 6);
    EXPECT_EQ(MidpointOfTriple(sky, FiveMinutes, Mercury, Mars, Jupiter, false), "");

    // An orb exactly equal to the distance from the midpoint does not reach it.
    sky(Mars, 0) = Deg(50, 5);
    const double distance =
        AngularSeparation((sky(Mercury, 0) + sky(Jupiter, 0)) / 2.0, sky(Mars, 0));
    EXPECT_EQ(MidpointOfTriple(sky, distance, Mercury, Mars, Jupiter, false), "");
    EXPECT_EQ(MidpointOfTriple(sky, std::nextafter(distance, 1.0), Mercury, Mars, Jupiter, false),
              "Me-Ma-Ju");
}

TEST(MidpointOfTriple, NoPositionEqualLongitudesOrNoBodyGiveNothing) {
    BodyPositions sky = Sky({{Mercury, 10}, {Jupiter, 90}});
    // Mars has no position.
    EXPECT_EQ(MidpointOfTriple(sky, Deg(3), Mercury, Mars, Jupiter, false), "");
    sky(Mars, 0) = std::nan("");
    EXPECT_EQ(MidpointOfTriple(sky, Deg(3), Mercury, Mars, Jupiter, false), "");

    // Mars stands exactly on Mercury: Jupiter would be at the point opposite their midpoint.
    sky = Sky({{Mercury, 100}, {Mars, 100}, {Jupiter, 280}});
    EXPECT_EQ(MidpointOfTriple(sky, Deg(3), Mercury, Mars, Jupiter, false), "");
    EXPECT_EQ(MidpointOfTriple(sky, Deg(3), Jupiter, Mercury, Mars, true), "");

    sky = Sky({{Mercury, 10}, {Mars, 50}, {Jupiter, 90}});
    EXPECT_EQ(MidpointOfTriple(sky, Deg(3), Mercury, 0, Jupiter, false), "");
    EXPECT_EQ(MidpointOfTriple(sky, Deg(3), Mercury, Mars, 10, false), "");
    EXPECT_EQ(MidpointOfTriple(sky, Deg(3), Mercury, Mars, Mars, false), "");
}

TEST(CheckForMidpoint, ListsEachConfigurationOnceInBothForms) {
    const BodyPositions sky = Sky({{Mercury, 10}, {Mars, 50}, {Jupiter, 90}});
    const OrbTable orbs = ConjunctionOrb(8);
    RecordingHook hook;
    const PatternContext context{sky, orbs, MaxBodies, QString(), &hook};
    int count = -1;
    EXPECT_EQ(CheckForMidpoint(context, FiveMinutes, false, count), "Midpoint: Me-Ma-Ju\r\n");
    EXPECT_EQ(count, 1);
    EXPECT_EQ(CheckForMidpoint(context, FiveMinutes, true, count), "Mercury-Mars-Jupiter\r\n");
    EXPECT_EQ(count, 1);
    // Met first as i = Mercury, j = Mars, k = Jupiter; reported as i, k, j.
    ASSERT_EQ(hook.calls.size(), 2u);
    EXPECT_EQ(hook.calls[0].first, "Midpoint");
    EXPECT_EQ(hook.calls[0].second, (std::vector<BodyIndex>{Mercury, Jupiter, Mars}));

    // Jupiter also stands halfway between Earth and Saturn; that triple is met first.
    const BodyPositions two =
        Sky({{Earth, 0}, {Mercury, 10}, {Mars, 50}, {Jupiter, 90}, {Saturn, 180}});
    const PatternContext both{two, orbs};
    EXPECT_EQ(CheckForMidpoint(both, FiveMinutes, false, count),
              "Midpoint: Ea-Ju-Sa\r\nMidpoint: Me-Ma-Ju\r\n");
    EXPECT_EQ(count, 2);
}

TEST(CheckForMidpoint, ConjunctBodiesNeverFormAMidpoint) {
    // Earth and Venus are 14° apart with Mercury halfway: with an 8° conjunction orb Mercury is
    // conjunct both, with a 5° orb none of them is.
    const BodyPositions sky = Sky({{Earth, 0}, {Mercury, 7}, {Venus, 14}});
    OrbTable orbs = ConjunctionOrb(8);
    int count = -1;
    EXPECT_EQ(CheckForMidpoint({sky, orbs}, Deg(1), false, count), "");
    EXPECT_EQ(count, 0);
    orbs = ConjunctionOrb(5);
    EXPECT_EQ(CheckForMidpoint({sky, orbs}, Deg(1), false, count), "Midpoint: Ea-Me-Ve\r\n");
    EXPECT_EQ(count, 1);

    // The two ends conjunct, the third body opposite their midpoint.
    const BodyPositions ends = Sky({{Earth, 0}, {Mercury, 4}, {Venus, 182}});
    orbs = ConjunctionOrb(5);
    EXPECT_EQ(MidpointOfTriple(ends, Deg(1), Earth, Venus, Mercury, false), "Ea-Ve-Me");
    EXPECT_EQ(CheckForMidpoint({ends, orbs}, Deg(1), false, count), "");
    EXPECT_EQ(count, 0);
}

TEST(CheckForMidpoint, OnlyBodiesInUseTakePart) {
    const BodyPositions sky = Sky({{Mercury, 10}, {Mars, 50}, {Pluto, 90}});
    const OrbTable orbs = ConjunctionOrb(8);
    int count = -1;
    EXPECT_EQ(CheckForMidpoint({sky, orbs, 9}, Deg(1), false, count), "Midpoint: Me-Ma-Pl\r\n");
    EXPECT_EQ(CheckForMidpoint({sky, orbs, 8}, Deg(1), false, count), "");
    EXPECT_EQ(count, 0);
}
