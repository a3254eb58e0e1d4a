#include "core/Patterns.h"
#include "core/PatternTally.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

using namespace orbivex;

namespace {

double Deg(double degrees) {
    return DegreesToRadians(degrees);
}

// Bodies not named have no position, so they take part in nothing.
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

OrbTable WorldOrbs() {
    OrbTable orbs;
    const double degrees[] = {0, 8, 8, 6, 6, 4, 2, 2};
    for (AspectKind kind = 1; kind <= NumAspectKinds; ++kind) {
        orbs(kind, 0) = Deg(degrees[kind]);
        orbs(kind, 1) = 0.0; // other columns never count
        orbs(kind, 2) = 0.0;
    }
    return orbs;
}

struct RecordingHook : PatternRunHook {
    bool seeking = true;
    std::vector<std::pair<QString, std::vector<BodyIndex>>> calls;
    bool SeeksBodies() const override { return seeking; }
    void CheckSoughtBodies(const QString& name, std::span<const BodyIndex> bodies) override {
        calls.emplace_back(name, std::vector<BodyIndex>(bodies.begin(), bodies.end()));
    }
};

struct Fixture {
    BodyPositions positions;
    OrbTable orbs = WorldOrbs();
    PatternContext context{positions, orbs, MaxBodies, QStringLiteral("orb")};
    explicit Fixture(BodyPositions p) : positions(p) {}
};

} // namespace

TEST(Patterns, GrandTrineInBothFormsWithTheMeanOrb) {
    // Deviations 1°, 0° and 1°: mean 40'.
    Fixture f(Sky({{Jupiter, 10}, {Saturn, 131}, {Neptune, 250}}));
    RecordingHook hook;
    f.context.runHook = &hook;
    int count = -1;
    EXPECT_EQ(FindGrandTrines(f.context, PatternForm::Report, count),
              "Grand trine: Ju-Sa-Ne (orb 0°40')\r\n");
    EXPECT_EQ(count, 1);
    EXPECT_EQ(FindGrandTrines(f.context, PatternForm::Names, count), "Jupiter-Saturn-Neptune\r\n");
    EXPECT_EQ(count, 1);
    ASSERT_EQ(hook.calls.size(), 2u);
    EXPECT_EQ(hook.calls[0].first, "Grand trine");
    EXPECT_EQ(hook.calls[0].second, (std::vector<BodyIndex>{Jupiter, Saturn, Neptune}));

    // Once the run has found its bodies it hears nothing more.
    hook.seeking = false;
    FindGrandTrines(f.context, PatternForm::Report, count);
    EXPECT_EQ(hook.calls.size(), 2u);

    // Without Pluto's table, Pluto takes no part even with a position.
    Fixture g(Sky({{Jupiter, 10}, {Saturn, 130}, {Pluto, 250}}));
    g.context.numBodies = 8;
    EXPECT_EQ(FindGrandTrines(g.context, PatternForm::Names, count), "");
    EXPECT_EQ(count, 0);
    g.context.numBodies = 9;
    EXPECT_EQ(FindGrandTrines(g.context, PatternForm::Names, count), "Jupiter-Saturn-Pluto\r\n");
}

TEST(Patterns, KiteStartsWithTheVertexOppositeTheFourthBody) {
    Fixture f(Sky({{Jupiter, 10}, {Saturn, 130}, {Neptune, 250}, {Mars, 310}}));
    RecordingHook hook;
    f.context.runHook = &hook;
    int count = -1;
    EXPECT_EQ(FindKites(f.context, PatternForm::Report, count), "Kite: Sa-Ne-Ju-Ma (orb 0°0')\r\n");
    EXPECT_EQ(count, 1);
    EXPECT_EQ(FindKites(f.context, PatternForm::Names, count), "Saturn-Neptune-Jupiter-Mars\r\n");
    EXPECT_EQ(FindGrandTrines(f.context, PatternForm::Names, count), "Jupiter-Saturn-Neptune\r\n");
    ASSERT_FALSE(hook.calls.empty());
    EXPECT_EQ(hook.calls[0].first, "Kite");
    EXPECT_EQ(hook.calls[0].second, (std::vector<BodyIndex>{Saturn, Neptune, Jupiter, Mars}));
}

TEST(Patterns, TSquareAndYodPutTheApexInTheMiddle) {
    Fixture t(Sky({{Earth, 0}, {Venus, 181}, {Mars, 92}}));
    int count = -1;
    // Deviations 1°, 2°, 1°: mean 1°20'.
    EXPECT_EQ(FindTSquares(t.context, PatternForm::Report, count),
              "T-square: Ea-Ma-Ve (orb 1°20')\r\n");
    EXPECT_EQ(count, 1);

    Fixture y(Sky({{Jupiter, 0}, {Saturn, 60}, {Uranus, 210}}));
    EXPECT_EQ(FindYods(y.context, PatternForm::Names, count), "Jupiter-Uranus-Saturn\r\n");
    EXPECT_EQ(count, 1);
    EXPECT_EQ(FindYodKites(y.context, PatternForm::Names, count), "");
    EXPECT_EQ(count, 0);

    // A fourth body opposite the apex and semisextile to both ends makes a yod-kite.
    Fixture yk(Sky({{Jupiter, 0}, {Saturn, 60}, {Uranus, 210}, {Neptune, 30}}));
    EXPECT_EQ(FindYodKites(yk.context, PatternForm::Report, count),
              "Yod-kite: Ju-Ur-Sa-Ne (orb 0°0')\r\n");
    EXPECT_EQ(count, 1);
}

TEST(Patterns, EachSetOfFourBodiesIsOneRectangle) {
    const struct {
        BodyPositions sky;
        const char* names;
    } cases[] = {
        // Met first as Ea-Ma-Me-Ve, then again from its other opposition, Me-Ve.
        {Sky({{Earth, 0}, {Mars, 180}, {Mercury, 120}, {Venus, 300}}),
         "Earth-Mars-Mercury-Venus\r\n"},
        // Two rectangles sharing the opposition Ma-Sa: each is met again from Ma-Sa, and the
        // repeat of the first one does not follow it directly.
        {Sky({{Venus, 0}, {Jupiter, 180}, {Mars, 120}, {Saturn, 300}, {Uranus, 181}}),
         "Venus-Jupiter-Mars-Saturn\r\nVenus-Uranus-Mars-Saturn\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.names);
        Fixture f(c.sky);
        RecordingHook hook;
        f.context.runHook = &hook;
        const int expected = static_cast<int>(QString::fromUtf8(c.names).count(u'\n'));
        int count = -1;
        EXPECT_EQ(FindRectangles(f.context, PatternForm::Names, count), c.names);
        EXPECT_EQ(count, expected);
        EXPECT_EQ(FindRectangles(f.context, PatternForm::Report, count).count(u'\n'), expected);
        EXPECT_EQ(count, expected);
        EXPECT_EQ(hook.calls.size(), 2u * expected);
        hook.calls.clear();
        EXPECT_EQ(
            CountPattern(Rectangle, f.context, AspectPairTable(f.positions, f.orbs, MaxBodies)),
            expected);
        EXPECT_EQ(hook.calls.size(), static_cast<size_t>(expected));
    }
}

TEST(Patterns, GrandCrossAndItsTSquares) {
    Fixture f(Sky({{Earth, 0}, {Mercury, 90}, {Venus, 180}, {Mars, 270}}));
    int count = -1;
    EXPECT_EQ(FindGrandCrosses(f.context, PatternForm::Report, count),
              "Grand cross: Ea-Me-Ve-Ma (orb 0°0')\r\n");
    EXPECT_EQ(count, 1);
    EXPECT_EQ(FindTSquares(f.context, PatternForm::Names, count),
              "Earth-Mercury-Venus\r\nEarth-Mars-Venus\r\nMercury-Earth-Mars\r\n"
              "Mercury-Venus-Mars\r\n");
    EXPECT_EQ(count, 4);
}

TEST(Patterns, Trapezium) {
    Fixture f(Sky({{Earth, 0}, {Mercury, 180}, {Venus, 120}, {Mars, 60}}));
    int count = -1;
    EXPECT_EQ(FindTrapeziums(f.context, PatternForm::Report, count),
              "Trapezium: Ea-Me-Ve-Ma (orb 0°0')\r\n");
    EXPECT_EQ(count, 1);
}

TEST(Patterns, StelliumsOfEverySize) {
    Fixture f(Sky({{Earth, 10}, {Mercury, 12}, {Venus, 14}, {Mars, 16}}));
    RecordingHook hook;
    f.context.runHook = &hook;
    int count = -1;
    // Pair deviations 2, 4, 6, 2, 4, 2 degrees: mean 3°20'.
    EXPECT_EQ(FindStelliums(f.context, 4, PatternForm::Report, count),
              "4-Stellium: Ea-Me-Ve-Ma (orb 3°20')\r\n");
    EXPECT_EQ(count, 1);
    EXPECT_EQ(FindStelliums(f.context, 3, PatternForm::Names, count),
              "Earth-Mercury-Venus\r\nEarth-Mercury-Mars\r\nEarth-Venus-Mars\r\n"
              "Mercury-Venus-Mars\r\n");
    EXPECT_EQ(count, 4);
    EXPECT_EQ(FindStelliums(f.context, 5, PatternForm::Names, count), "");
    EXPECT_EQ(count, 0);
    EXPECT_EQ(FindStelliums(f.context, 7, PatternForm::Names, count), "");
    ASSERT_EQ(hook.calls.size(), 5u);
    EXPECT_EQ(hook.calls[0].first, "4-stellium");
    EXPECT_EQ(hook.calls[1].first, "3-stellium");
    EXPECT_EQ(PatternIndexOfName(hook.calls[1].first), ThreeStellium);

    // One body too far from the first spoils every cluster that holds both.
    Fixture six(Sky({{Earth, 0}, {Mercury, 1}, {Venus, 2}, {Mars, 3}, {Jupiter, 4}, {Saturn, 5}}));
    EXPECT_EQ(FindPattern(SixStellium, six.context, PatternForm::Names, count),
              "Earth-Mercury-Venus-Mars-Jupiter-Saturn\r\n");
    EXPECT_EQ(count, 1);
    EXPECT_EQ(FindPattern(FiveStellium, six.context, PatternForm::Names, count).count(u'\n'), 6);
    EXPECT_EQ(count, 6);
    six.positions(Saturn, 0) = Deg(8.5);
    EXPECT_EQ(FindStelliums(six.context, 6, PatternForm::Names, count), "");
    EXPECT_EQ(count, 0);
}

TEST(Patterns, ThreeStelliumSearchEndsAtOneLackingASoughtBody) {
    Fixture f(Sky({{Earth, 10}, {Mercury, 12}, {Venus, 14}, {Mars, 16}}));
    int count = -1;
    // The first one, Ea-Me-Ve, lacks Mars.
    f.context.soughtBodies = {0, Mars, 0};
    EXPECT_EQ(FindStelliums(f.context, 3, PatternForm::Report, count), "");
    EXPECT_EQ(count, 0);
    // Three hold Earth; the fourth, Me-Ve-Ma, does not: the three found are still counted.
    f.context.soughtBodies = {Earth, 0, 0};
    EXPECT_EQ(FindStelliums(f.context, 3, PatternForm::Report, count), "");
    EXPECT_EQ(count, 3);
    // The larger stelliums do not look at the sought bodies.
    EXPECT_EQ(FindStelliums(f.context, 4, PatternForm::Names, count),
              "Earth-Mercury-Venus-Mars\r\n");

    Fixture three(Sky({{Earth, 10}, {Venus, 14}, {Mars, 16}}));
    three.context.soughtBodies = {Mars, Earth, 0};
    EXPECT_EQ(FindStelliums(three.context, 3, PatternForm::Names, count), "Earth-Venus-Mars\r\n");
    EXPECT_EQ(count, 1);
}

TEST(Patterns, GrandSextileCountsOnceAndHasNoOrbPart) {
    Fixture f(
        Sky({{Earth, 0}, {Mercury, 60}, {Venus, 120}, {Mars, 180}, {Jupiter, 240}, {Saturn, 300}}));
    RecordingHook hook;
    f.context.runHook = &hook;
    int count = -1;
    EXPECT_EQ(FindGrandSextiles(f.context, PatternForm::Report, count),
              "Grand sextile: Ea-Ve-Ju-Me-Ma-Sa\r\n");
    EXPECT_EQ(count, 1);
    ASSERT_EQ(hook.calls.size(), 1u);
    EXPECT_EQ(hook.calls[0].second.size(), 6u);

    // Uranus beside Earth forms a second hexagon with the same bodies around it.
    f.positions(Uranus, 0) = Deg(0.5);
    const QString text = FindGrandSextiles(f.context, PatternForm::Names, count);
    EXPECT_EQ(text, "Earth-Venus-Jupiter-Mercury-Mars-Saturn\r\n"
                    "Mercury-Mars-Saturn-Venus-Jupiter-Uranus\r\n");
    EXPECT_EQ(count, 1);
}

TEST(Patterns, NothingFoundGivesEmptyTextAndZero) {
    // No two of these stand in any aspect; Neptune and Pluto have no position.
    Fixture f(Sky({{Earth, 64},
                   {Mercury, 268},
                   {Venus, 279},
                   {Mars, 295},
                   {Jupiter, 312},
                   {Saturn, 322},
                   {Uranus, 347}}));
    RecordingHook hook;
    f.context.runHook = &hook;
    for (PatternIndex pattern = GrandTrine; pattern <= MidpointPattern; ++pattern) {
        int count = -1;
        EXPECT_EQ(FindPattern(pattern, f.context, PatternForm::Report, count), "") << pattern;
        EXPECT_EQ(count, 0) << pattern;
    }
    EXPECT_TRUE(hook.calls.empty());
}
