#include "core/PatternSearch.h"

#include "core/Orbs.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

using namespace orbivex;
using enum orbivex::BodyIndex;
using enum orbivex::AspectKind;
using enum orbivex::PatternIndex;

namespace {

double Deg(double degrees) {
    return DegreesToRadians(degrees);
}

// Bodies not named have no position, so they take part in nothing.
PositionSet Sky(std::initializer_list<std::pair<BodyIndex, double>> degrees) {
    PositionSet positions{};
    for (const auto& [body, longitude] : degrees) {
        positions[body] = Position(Deg(longitude));
    }
    return positions;
}

OrbTable WorldOrbs() {
    OrbTable orbs;
    const double degrees[] = {0, 8, 8, 6, 6, 4, 2, 2};
    for (const AspectKind kind : AllAspectKinds) {
        orbs(kind, OrbColumn::OneChart) = Deg(degrees[Index(kind)]);
    }
    return orbs;
}

std::vector<FoundPattern> Find(PatternIndex pattern, const PositionSet& sky,
                               const SoughtBodies& sought = {}, bool* withheld = nullptr) {
    std::vector<FoundPattern> found;
    const bool cut = FindPattern(pattern, AspectPairs(sky, WorldOrbs(), MaxBodies), sought, found);
    if (withheld != nullptr) {
        *withheld = cut;
    }
    return found;
}

// A pattern as its bodies and mean orb in whole minutes of arc (-1: none).
struct Expected {
    std::vector<BodyIndex> bodies;
    int meanMinutes;
};

struct PatternCase {
    const char* name;
    PatternIndex pattern;
    PositionSet sky;
    std::vector<Expected> expected;
};

const PositionSet SixNearby =
    Sky({{Earth, 0}, {Mercury, 1}, {Venus, 2}, {Mars, 3}, {Jupiter, 4}, {Saturn, 5}});
const PositionSet FourNearby = Sky({{Earth, 10}, {Mercury, 12}, {Venus, 14}, {Mars, 16}});
const PositionSet Hexagon =
    Sky({{Earth, 0}, {Mercury, 60}, {Venus, 120}, {Mars, 180}, {Jupiter, 240}, {Saturn, 300}});

std::vector<PatternCase> PatternCases() {
    PositionSet hexagonWithUranus = Hexagon;
    hexagonWithUranus[Uranus] = Position(Deg(0.5));
    return {
        // Deviations 1°, 0° and 1°: mean 40'.
        {"grand trine",
         GrandTrine,
         Sky({{Jupiter, 10}, {Saturn, 131}, {Neptune, 250}}),
         {{{Jupiter, Saturn, Neptune}, 40}}},
        {"kite from the vertex opposite the fourth body",
         Kite,
         Sky({{Jupiter, 10}, {Saturn, 130}, {Neptune, 250}, {Mars, 310}}),
         {{{Saturn, Neptune, Jupiter, Mars}, 0}}},
        // Deviations 1°, 2°, 1°: mean 1°20'.
        {"T-square with the apex in the middle",
         TSquare,
         Sky({{Earth, 0}, {Venus, 181}, {Mars, 92}}),
         {{{Earth, Mars, Venus}, 80}}},
        {"yod with the apex in the middle",
         Yod,
         Sky({{Jupiter, 0}, {Saturn, 60}, {Uranus, 210}}),
         {{{Jupiter, Uranus, Saturn}, 0}}},
        {"yod without a fourth body",
         YodKite,
         Sky({{Jupiter, 0}, {Saturn, 60}, {Uranus, 210}}),
         {}},
        {"yod-kite",
         YodKite,
         Sky({{Jupiter, 0}, {Saturn, 60}, {Uranus, 210}, {Neptune, 30}}),
         {{{Jupiter, Uranus, Saturn, Neptune}, 0}}},
        // Met first as Ea-Ma-Me-Ve, then again with the other opposition first.
        {"rectangle met twice",
         Rectangle,
         Sky({{Earth, 0}, {Mars, 180}, {Mercury, 120}, {Venus, 300}}),
         {{{Earth, Mars, Mercury, Venus}, 0}}},
        // Jupiter and Uranus both opposite Venus: two rectangles sharing the Mars-Saturn
        // opposition, each met twice.
        {"rectangles sharing an opposition",
         Rectangle,
         Sky({{Venus, 0}, {Jupiter, 180}, {Uranus, 182}, {Mars, 120}, {Saturn, 300}}),
         {{{Venus, Jupiter, Mars, Saturn}, 0}, {{Venus, Uranus, Mars, Saturn}, 60}}},
        {"grand cross",
         GrandCross,
         Sky({{Earth, 0}, {Mercury, 90}, {Venus, 180}, {Mars, 270}}),
         {{{Earth, Mercury, Venus, Mars}, 0}}},
        {"the T-squares of a grand cross",
         TSquare,
         Sky({{Earth, 0}, {Mercury, 90}, {Venus, 180}, {Mars, 270}}),
         {{{Earth, Mercury, Venus}, 0},
          {{Earth, Mars, Venus}, 0},
          {{Mercury, Earth, Mars}, 0},
          {{Mercury, Venus, Mars}, 0}}},
        {"trapezium",
         Trapezium,
         Sky({{Earth, 0}, {Mercury, 180}, {Venus, 120}, {Mars, 60}}),
         {{{Earth, Mercury, Venus, Mars}, 0}}},
        // Pair deviations 2, 4, 6, 2, 4, 2 degrees: mean 3°20'.
        {"4-stellium", FourStellium, FourNearby, {{{Earth, Mercury, Venus, Mars}, 200}}},
        {"the 3-stelliums inside a 4-stellium",
         ThreeStellium,
         FourNearby,
         {{{Earth, Mercury, Venus}, 160},
          {{Earth, Mercury, Mars}, 240},
          {{Earth, Venus, Mars}, 240},
          {{Mercury, Venus, Mars}, 160}}},
        {"no 5-stellium in four bodies", FiveStellium, FourNearby, {}},
        {"6-stellium",
         SixStellium,
         SixNearby,
         {{{Earth, Mercury, Venus, Mars, Jupiter, Saturn}, 140}}},
        {"grand sextile, without an orb",
         GrandSextile,
         Hexagon,
         {{{Earth, Venus, Jupiter, Mercury, Mars, Saturn}, -1}}},
        // Uranus beside Earth forms a second hexagon with the same bodies around it.
        {"grand sextile repeated by a near-conjunct body",
         GrandSextile,
         hexagonWithUranus,
         {{{Earth, Venus, Jupiter, Mercury, Mars, Saturn}, -1},
          {{Mercury, Mars, Saturn, Venus, Jupiter, Uranus}, -1}}},
    };
}

class PatternFinders : public ::testing::TestWithParam<PatternCase> {};

} // namespace

TEST_P(PatternFinders, FindTheBodiesInReportOrderWithTheMeanOrb) {
    const PatternCase& c = GetParam();
    const std::vector<FoundPattern> found = Find(c.pattern, c.sky);
    ASSERT_EQ(found.size(), c.expected.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].pattern, c.pattern);
        EXPECT_EQ(std::vector<BodyIndex>(found[i].Bodies().begin(), found[i].Bodies().end()),
                  c.expected[i].bodies)
            << i;
        if (c.expected[i].meanMinutes < 0) {
            EXPECT_FALSE(found[i].meanOrb.has_value());
        } else {
            ASSERT_TRUE(found[i].meanOrb.has_value());
            EXPECT_NEAR(RadiansToDegrees(*found[i].meanOrb) * 60.0, c.expected[i].meanMinutes, 1e-6)
                << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Skies, PatternFinders, ::testing::ValuesIn(PatternCases()),
                         [](const ::testing::TestParamInfo<PatternCase>& testCase) {
                             std::string name = testCase.param.name;
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
                             }
                             return name;
                         });

TEST(PatternSearch, BodiesWithoutAPositionOrNotInUseTakePartInNothing) {
    const PositionSet plutoTrine = Sky({{Jupiter, 10}, {Saturn, 130}, {Pluto, 250}});
    for (const auto& [numBodies, expected] : {std::pair{9, 1u}, std::pair{8, 0u}}) {
        std::vector<FoundPattern> found;
        FindPattern(GrandTrine, AspectPairs(plutoTrine, WorldOrbs(), numBodies), {}, found);
        EXPECT_EQ(found.size(), expected) << numBodies;
    }
    // No two of these stand in any aspect; Neptune and Pluto have no position.
    const PositionSet apart = Sky({{Earth, 64},
                                   {Mercury, 268},
                                   {Venus, 279},
                                   {Mars, 295},
                                   {Jupiter, 312},
                                   {Saturn, 322},
                                   {Uranus, 347}});
    std::vector<FoundPattern> found;
    PatternCounts counts;
    counts.count.fill(7);
    EXPECT_FALSE(FindPatterns(AspectPairs(apart, WorldOrbs(), MaxBodies), {}, found, counts));
    EXPECT_TRUE(found.empty());
    for (PatternIndex pattern : PatternRange(GrandTrine, GrandSextile)) {
        EXPECT_EQ(counts[pattern], 0) << PatternNumber(pattern);
    }
}

TEST(PatternSearch, ThreeStelliumSearchEndsAtOneLackingASoughtBody) {
    struct Case {
        SoughtBodies sought;
        std::size_t kept;
        bool withheld;
    };
    // The 3-stelliums come as Ea-Me-Ve, Ea-Me-Ma, Ea-Ve-Ma, Me-Ve-Ma.
    const Case cases[] = {
        {{std::nullopt, Mars, {}}, 0, true}, // the first lacks Mars
        {{Earth, {}, {}}, 3, true},          // the fourth lacks Earth
        {{Mars, Earth, {}}, 0, true},        // Ea-Me-Ve lacks Mars
        {SoughtBodies{}, 4, false},          // nothing sought
        {{Pluto, {}, {}}, 0, true},          // a body in none of them
    };
    for (const Case& c : cases) {
        bool withheld = false;
        EXPECT_EQ(Find(ThreeStellium, FourNearby, c.sought, &withheld).size(), c.kept)
            << c.sought[0] << c.sought[1];
        EXPECT_EQ(withheld, c.withheld);
        // The larger stelliums do not look at the sought bodies.
        EXPECT_EQ(Find(FourStellium, FourNearby, c.sought, &withheld).size(), 1u);
        EXPECT_FALSE(withheld);
    }
}

TEST(PatternSearch, AllPatternsComeInReportOrderWithOnlyTheLargestStellium) {
    // Six bodies within 5°, and Uranus opposite Earth: the 6-stellium hides the smaller ones.
    PositionSet sky = SixNearby;
    sky[Uranus] = Position(Deg(180));
    std::vector<FoundPattern> found;
    PatternCounts counts;
    counts.count.fill(7);
    EXPECT_FALSE(
        FindPatterns(AspectPairs(sky, WorldOrbs(), MaxBodies), {Uranus, {}, {}}, found, counts));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].pattern, SixStellium);
    for (PatternIndex pattern : PatternRange(GrandTrine, GrandSextile)) {
        EXPECT_EQ(counts[pattern], pattern == SixStellium ? 1 : 0) << PatternNumber(pattern);
    }

    // The kinds come in report order, and two grand sextiles count as one.
    PositionSet hexagon = Hexagon;
    hexagon[Uranus] = Position(Deg(0.5));
    found.clear();
    FindPatterns(AspectPairs(hexagon, WorldOrbs(), MaxBodies), {}, found, counts);
    std::vector<PatternIndex> order;
    for (const FoundPattern& pattern : found) {
        if (order.empty() || order.back() != pattern.pattern) {
            order.push_back(pattern.pattern);
        }
    }
    EXPECT_EQ(order,
              (std::vector<PatternIndex>{GrandTrine, Kite, Rectangle, Trapezium, GrandSextile}));
    EXPECT_EQ(counts[GrandSextile], 1);
    EXPECT_EQ(counts[ThreeStellium], 0);
}

TEST(MidpointOfTriple, TheBodyAtTheMidpointStandsBetweenTheOthers) {
    using Triple = std::array<BodyIndex, 3>;
    struct Case {
        const char* what;
        PositionSet sky;
        double orb;
        Triple asked;
        std::optional<Triple> found;
    };
    PositionSet nearOrb = Sky({{Mercury, 10}, {Jupiter, 90}});
    nearOrb[Mars] = Position(Deg(50 + 4.0 / 60));
    PositionSet beyondOrb = nearOrb;
    beyondOrb[Mars] = Position(Deg(50 + 6.0 / 60));
    const double fiveMinutes = Deg(5.0 / 60);
    const PositionSet even = Sky({{Mercury, 10}, {Mars, 50}, {Jupiter, 90}});
    const Triple meMaJu{Mercury, Mars, Jupiter};
    const Case cases[] = {
        {"in order", even, fiveMinutes, meMaJu, meMaJu},
        {"asked in another order", even, fiveMinutes, {Jupiter, Mercury, Mars}, meMaJu},
        {"asked middle last", even, fiveMinutes, {Jupiter, Mars, Mercury}, meMaJu},
        // The plain mean of 350° and 30° is 190°; the midpoint of the short arc is 10°.
        {"through the opposite point",
         Sky({{Earth, 350}, {Venus, 30}, {Mercury, 10}}),
         fiveMinutes,
         {Earth, Venus, Mercury},
         Triple{Earth, Mercury, Venus}},
        {"4' within a 5' orb", nearOrb, fiveMinutes, meMaJu, meMaJu},
        {"6' beyond a 5' orb", beyondOrb, fiveMinutes, meMaJu, std::nullopt},
        {"a body without a position", Sky({{Mercury, 10}, {Jupiter, 90}}), Deg(3), meMaJu,
         std::nullopt},
        // Mars exactly on Mercury: Jupiter would stand opposite their midpoint.
        {"equal longitudes",
         Sky({{Mercury, 100}, {Mars, 100}, {Jupiter, 280}}),
         Deg(3),
         {Jupiter, Mercury, Mars},
         std::nullopt},
        {"a body twice", even, Deg(3), {Mercury, Mars, Mars}, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto found = MidpointOfTriple(c.sky, c.orb, c.asked[0], c.asked[1], c.asked[2]);
        ASSERT_EQ(found.has_value(), c.found.has_value()) << c.what;
        if (found) {
            EXPECT_EQ(found->bodies, *c.found) << c.what;
        }
    }

    // The orb is strict: exactly the distance from the midpoint does not reach it.
    const PositionSet sky = Sky({{Mercury, 10}, {Mars, 50 + 5.0 / 60}, {Jupiter, 90}});
    const double distance = AngularSeparation(
        (sky[Mercury].Longitude() + sky[Jupiter].Longitude()) / 2.0, sky[Mars].Longitude());
    EXPECT_FALSE(MidpointOfTriple(sky, distance, Mercury, Mars, Jupiter));
    EXPECT_TRUE(MidpointOfTriple(sky, std::nextafter(distance, 1.0), Mercury, Mars, Jupiter));
}

TEST(FindMidpoints, EachConfigurationOnceAmongUnconjunctBodiesInUse) {
    using Triple = std::array<BodyIndex, 3>;
    struct Case {
        const char* what;
        PositionSet sky;
        double conjunctionOrb;
        double midpointOrb;
        int numBodies;
        std::vector<Triple> found;
    };
    const Case cases[] = {
        {"one",
         Sky({{Mercury, 10}, {Mars, 50}, {Jupiter, 90}}),
         8,
         5.0 / 60,
         9,
         {{Mercury, Mars, Jupiter}}},
        // Jupiter also stands halfway between Earth and Saturn; that triple is met first.
        {"in the order met",
         Sky({{Earth, 0}, {Mercury, 10}, {Mars, 50}, {Jupiter, 90}, {Saturn, 180}}),
         8,
         5.0 / 60,
         9,
         {{Earth, Jupiter, Saturn}, {Mercury, Mars, Jupiter}}},
        // Mercury halfway between Earth and Venus, 14° apart: conjunct both with an 8° orb.
        {"conjunct within 8°", Sky({{Earth, 0}, {Mercury, 7}, {Venus, 14}}), 8, 1, 9, {}},
        {"apart with 5°",
         Sky({{Earth, 0}, {Mercury, 7}, {Venus, 14}}),
         5,
         1,
         9,
         {{Earth, Mercury, Venus}}},
        // The two ends conjunct, the third body opposite their midpoint.
        {"conjunct ends", Sky({{Earth, 0}, {Mercury, 4}, {Venus, 182}}), 5, 1, 9, {}},
        {"Pluto in use",
         Sky({{Mercury, 10}, {Mars, 50}, {Pluto, 90}}),
         8,
         1,
         9,
         {{Mercury, Mars, Pluto}}},
        {"Pluto not in use", Sky({{Mercury, 10}, {Mars, 50}, {Pluto, 90}}), 8, 1, 8, {}},
    };
    for (const Case& c : cases) {
        OrbTable orbs;
        orbs(Conjunction, OrbColumn::OneChart) = Deg(c.conjunctionOrb);
        std::vector<Triple> found;
        for (const MidpointConfiguration& midpoint :
             FindMidpoints(c.sky, AspectPairs(c.sky, orbs, c.numBodies), Deg(c.midpointOrb))) {
            found.push_back(midpoint.bodies);
        }
        EXPECT_EQ(found, c.found) << c.what;
    }
}
