#include "present/PatternTexts.h"

#include "common/TestSupport.h"
#include "support/ProgramTexts.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace orbivex;
using enum orbivex::BodyIndex;
using enum orbivex::PatternIndex;

namespace {

FoundPattern Pattern(PatternIndex pattern, std::initializer_list<BodyIndex> bodies,
                     std::optional<double> meanOrb) {
    FoundPattern found{pattern, {}, static_cast<int>(bodies.size()), meanOrb};
    std::copy(bodies.begin(), bodies.end(), found.members.begin());
    return found;
}

} // namespace

TEST(PatternTexts, ReportAndNameForms) {
    const QString orb = QStringLiteral("orb");
    struct Case {
        FoundPattern pattern;
        const char* report;
        const char* names;
    };
    const Case cases[] = {
        {Pattern(GrandTrine, {Jupiter, Saturn, Neptune}, DegreesToRadians(40.0 / 60)),
         "Grand trine: Ju-Sa-Ne (orb 0°40')", "Jupiter-Saturn-Neptune"},
        {Pattern(FourStellium, {Earth, Mercury, Venus, Mars}, DegreesToRadians(3 + 1.0 / 3)),
         "4-Stellium: Ea-Me-Ve-Ma (orb 3°20')", "Earth-Mercury-Venus-Mars"},
        {Pattern(GrandSextile, {Earth, Venus, Jupiter, Mercury, Mars, Saturn}, std::nullopt),
         "Grand sextile: Ea-Ve-Ju-Me-Ma-Sa", "Earth-Venus-Jupiter-Mercury-Mars-Saturn"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PatternLine(c.pattern, PatternForm::Report, orb), QString::fromUtf8(c.report));
        EXPECT_EQ(PatternLine(c.pattern, PatternForm::Names, orb), QString::fromUtf8(c.names));
    }

    Chart chart;
    chart.patterns = {cases[0].pattern, Pattern(ThreeStellium, {Earth, Mercury, Venus}, 0.0),
                      Pattern(GrandTrine, {Mars, Jupiter, Uranus}, 0.0)};
    EXPECT_EQ(PatternLines(chart, GrandTrine, PatternForm::Names, orb),
              u"Jupiter-Saturn-Neptune\r\nMars-Jupiter-Uranus\r\n"_s);
    EXPECT_EQ(PatternLines(chart, ThreeStellium, PatternForm::Report, orb),
              u"3-Stellium: Ea-Me-Ve (orb 0°0')\r\n"_s);
    EXPECT_EQ(PatternLines(chart, Kite, PatternForm::Report, orb), u""_s);
    chart.threeStelliumsWithheld = true;
    EXPECT_EQ(PatternLines(chart, ThreeStellium, PatternForm::Report, orb), u""_s);

    chart.midpoints = {{{Mercury, Earth, Mars}}, {{Earth, Jupiter, Saturn}}};
    int count = -1;
    EXPECT_EQ(CheckForMidpoint(chart, false, count),
              u"Midpoint: Me-Ea-Ma\r\nMidpoint: Ea-Ju-Sa\r\n"_s);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(CheckForMidpoint(chart, true, count),
              u"Mercury-Earth-Mars\r\nEarth-Jupiter-Saturn\r\n"_s);
    chart.midpoints.clear();
    EXPECT_EQ(CheckForMidpoint(chart, true, count), u""_s);
    EXPECT_EQ(count, 0);
}

TEST(RunStopMessage, AFindNamesThePatternItsCountAndTheSoughtBodies) {
    const ProgramTexts texts = ProgramTexts::FromEntries(
        {{7, u"found"_s}, {122, u"Pattern found"_s}, {442, u"Not found"_s}});
    const struct {
        PatternIndex pattern;
        bool atLeast;
        int count;
        std::array<int, 3> bodies;
        const char* message;
    } cases[] = {
        {Kite, false, 1, {0, 0, 0}, "Kite found."},
        {GrandTrine,
         false,
         1,
         {BodyNumber(Jupiter), 0, BodyNumber(Saturn)},
         "Grand trine found\r\ninvolving Jupiter Saturn."},
        {Kite, true, 3, {0, 0, 0}, "Three kites found."},
        {TSquare, true, 2, {0, 0, 0}, "Two T-squares found."},
        {GrandCross, true, 2, {0, 0, 0}, "Two grand crosses found."},
        {ThreeStellium, true, 4, {0, 0, 0}, "Four 3-stelliums found."},
        {YodKite, true, 9, {0, 0, 0}, "Nine yod-kites found."},
        {MidpointPattern, true, 21, {0, 0, 0}, "Twenty one midpoints found."},
    };
    for (const auto& c : cases) {
        RunStopResult stop{.found = true, .notFound = false, .count = c.count, .run = {}};
        stop.run.findAtLeast = c.atLeast;
        stop.run.AcceptChoices(c.pattern, c.bodies);
        EXPECT_EQ(RunStopMessage(stop, texts), QString::fromUtf8(c.message));
        EXPECT_EQ(RunStopTitle(stop, texts), u"Pattern found"_s);
    }
    const RunStopResult neither;
    EXPECT_EQ(RunStopMessage(neither, texts), QString());
    EXPECT_EQ(RunStopTitle(neither, texts), QString());
}

TEST(RunStopMessage, TheEndOfTheCalendarNamesWhatWasSought) {
    const ProgramTexts texts = ProgramTexts::FromEntries(
        {{441, u"No [r1] found up to the end of the year 2799."_s}, {442, u"Not found"_s}});
    const struct {
        PatternIndex pattern;
        int atLeastIndex; // -1: "Find at least" not set
        std::array<int, 3> bodies;
        const char* sought;
    } cases[] = {
        {GrandTrine, -1, {0, 0, 0}, "grand trine"},
        {TSquare, 1, {0, 0, 0}, "chart with at least three T-squares"},
        {GrandCross,
         0,
         {0, BodyNumber(Mars), 0},
         "chart with at least two grand crosses involving Mars"},
        {Yod, -1, {BodyNumber(Jupiter), 0, BodyNumber(Saturn)}, "yod involving Jupiter and Saturn"},
        {Kite,
         -1,
         {BodyNumber(Mars), BodyNumber(Jupiter), BodyNumber(Saturn)},
         "kite involving Mars, Jupiter and Saturn"},
    };
    for (const auto& c : cases) {
        RunStopResult stop{.found = false, .notFound = true, .count = 0, .run = {}};
        stop.run.findAtLeast = c.atLeastIndex >= 0;
        stop.run.numToFindIndex = std::max(c.atLeastIndex, 0);
        stop.run.AcceptChoices(c.pattern, c.bodies);
        EXPECT_EQ(RunStopMessage(stop, texts), u"No "_s + QString::fromUtf8(c.sought) +
                                                   u" found up to the end of the year 2799."_s);
        EXPECT_EQ(RunStopTitle(stop, texts), u"Not found"_s);
    }
    PatternRun none;
    none.AcceptChoices(NoPattern, {BodyNumber(Mars), 0, 0});
    EXPECT_EQ(PatternNotFoundMessage(none, texts), QString());
}
