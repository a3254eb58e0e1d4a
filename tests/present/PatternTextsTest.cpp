#include "present/PatternTexts.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace orbivex;

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
