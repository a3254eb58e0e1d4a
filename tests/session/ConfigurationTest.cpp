#include "session/Configuration.h"

#include "common/TestSupport.h"
#include "core/AngleFormat.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace orbivex;
using enum orbivex::BodyIndex;
using enum orbivex::AspectKind;

namespace {

ConfigurationSettings WithOrbs(std::array<double, NumOrbLists> positions) {
    ConfigurationSettings settings = ConfigurationSettings::Defaults();
    settings.orbs.degrees = positions;
    return settings;
}

} // namespace

TEST(ConfigurationLists, EntriesAndTheirData) {
    const QList<ListEntry> orbs = OrbListEntries();
    ASSERT_EQ(orbs.size(), 16);
    EXPECT_EQ(orbs[0], (ListEntry{QStringLiteral("0°"), 0}));
    EXPECT_EQ(orbs[15], (ListEntry{QStringLiteral("15°"), 900}));

    QStringList texts;
    for (const ListEntry& entry : DivisorListEntries()) {
        texts << entry.text + QLatin1Char('=') + QString::number(entry.data);
    }
    EXPECT_EQ(texts.join(QLatin1Char(' ')), u"1=1 1/2=2 1/3=3 1/4=4 1/5=5"_s);
    texts.clear();
    for (const ListEntry& entry : BoldfaceFactorEntries()) {
        texts << entry.text + QLatin1Char('=') + QString::number(entry.data);
    }
    EXPECT_EQ(texts.join(QLatin1Char(' ')),
              u"1/2=2 1/3=3 1/4=4 1/5=5 1/6=6 1/8=8 1/10=10 1/15=15 1/20=20"_s);
    texts.clear();
    for (const ListEntry& entry : MidpointOrbEntries()) {
        texts << entry.text;
    }
    EXPECT_EQ(texts.join(QLatin1Char('|')),
              QStringLiteral("0° 5'|0° 15'|0° 30'|1° 0'|1° 30'|2° 0'|2° 30'|3° 0'"));

    EXPECT_DOUBLE_EQ(MidpointOrbRadians(0), DegreesToRadians(5.0 / 60.0));
    EXPECT_DOUBLE_EQ(MidpointOrbRadians(2), DegreesToRadians(0.5));
    EXPECT_DOUBLE_EQ(MidpointOrbRadians(7), DegreesToRadians(3.0));
    EXPECT_EQ(MidpointOrbRadians(8), 0.0);
    EXPECT_EQ(MidpointOrbRadians(-1), 0.0);
}

TEST(ConfigurationOrbs, SetOrbsFillsTheThreeColumnsAndTheSummary) {
    ConfigurationSettings settings = ConfigurationSettings::Defaults(); // both divisors 1/3
    settings.synastryDivisorPosition = 4;                               // 1/5
    OrbTable orbs;
    OrbSummary summary;
    SetOrbs(settings, orbs, summary);
    EXPECT_DOUBLE_EQ(orbs(Conjunction, OrbColumn::OneChart),
                     600.0 / 60.0 / 360.0 * 6.28318530717959);
    EXPECT_EQ(FormatDegreesMinutes(orbs(Conjunction, OrbColumn::PersonalTransits)),
              QStringLiteral("3°20'"));
    EXPECT_EQ(FormatDegreesMinutes(orbs(Conjunction, OrbColumn::Synastry)), QStringLiteral("2°0'"));
    EXPECT_EQ(FormatDegreesMinutes(orbs(Semisextile, OrbColumn::OneChart)), QStringLiteral("4°0'"));
    EXPECT_DOUBLE_EQ(summary.largest[0], DegreesToRadians(10));
    EXPECT_DOUBLE_EQ(summary.smallest[0], DegreesToRadians(4));
    EXPECT_DOUBLE_EQ(summary.largest[1], DegreesToRadians(10) / 3);
    EXPECT_FALSE(summary.allEqual);

    // Values outside their lists never reach the table as orbs: off, and divisor 1.
    settings = WithOrbs({20, -1, 6, 6, 6, 6, 6, 1});
    settings.personalDivisorPosition = 9;
    SetOrbs(settings, orbs, summary);
    EXPECT_EQ(orbs(Conjunction, OrbColumn::OneChart), 0.0);
    EXPECT_EQ(orbs(Opposition, OrbColumn::OneChart), 0.0);
    EXPECT_DOUBLE_EQ(orbs(Square, OrbColumn::PersonalTransits), DegreesToRadians(6));
    EXPECT_TRUE(summary.allEqual);
}

TEST(ConfigurationOrbs, SetAllNonZeroOrbsKeepsSwitchedOffOrbs) {
    ConfigurationEdit edit;
    edit.Activate(WithOrbs({10, 0, 6, 7, 5, 4, 5, 1}));
    EXPECT_FALSE(edit.SelectOrb(SetAllOrbList, 3));
    EXPECT_FALSE(edit.SetAllNonZeroOrbs());
    const std::array<double, NumOrbLists> expected{3, 0, 3, 3, 3, 3, 3, 3};
    EXPECT_EQ(edit.controls.orbs.degrees, expected);

    // 0° in the "Set all" list is refused and the list goes back to 1°.
    EXPECT_TRUE(edit.SelectOrb(SetAllOrbList, 0));
    EXPECT_EQ(edit.controls.orbs.degrees[SetAllOrbList], 1);
    // A 0 that came in another way (a state file) is refused by the command itself.
    edit.controls.orbs.degrees[SetAllOrbList] = 0;
    EXPECT_TRUE(edit.SetAllNonZeroOrbs());
    EXPECT_EQ(edit.controls.orbs.degrees[Index(Conjunction) - 1], 3);
    // Other lists accept 0°; positions outside the lists change nothing.
    EXPECT_FALSE(edit.SelectOrb(0, 0));
    EXPECT_EQ(edit.controls.orbs.degrees[0], 0);
    EXPECT_FALSE(edit.SelectOrb(1, 16));
    EXPECT_FALSE(edit.SelectOrb(8, 2));
    EXPECT_EQ(edit.controls.orbs.degrees[1], 0);
}

TEST(ConfigurationColours, LeftClickCyclesThroughTheTwelveColours) {
    ConfigurationEdit edit;
    edit.Activate(ConfigurationSettings::Defaults());
    EXPECT_EQ(edit.controls.colours[Index(Conjunction)], Rgb(255, 255, 0));
    const int expected[] = {
        Rgb(255, 0, 255),   Rgb(255, 0, 0),     Rgb(0, 255, 0),  Rgb(0, 255, 255),
        Rgb(128, 128, 128), Rgb(128, 128, 255), Rgb(0, 0, 255),  Rgb(0, 192, 255),
        Rgb(192, 0, 255),   Rgb(255, 192, 0),   Rgb(128, 64, 0), Rgb(255, 255, 0),
    };
    for (const int colour : expected) {
        edit.CycleColour(Conjunction);
        EXPECT_EQ(edit.controls.colours[Index(Conjunction)], colour);
    }
    // A colour that is not in the cycle stays.
    edit.controls.colours[Index(Square)] = Rgb(1, 2, 3);
    edit.CycleColour(Square);
    EXPECT_EQ(edit.controls.colours[Index(Square)], Rgb(1, 2, 3));
    edit.CycleColour(NoAspect);
}

TEST(ConfigurationColours, RightClickSwitchesOffAndBackOn) {
    ConfigurationEdit edit;
    ConfigurationSettings committed = ConfigurationSettings::Defaults();
    committed.colours[Index(Quincunx)] = 0; // off before this run
    edit.Activate(committed);

    edit.ToggleColour(Trine);
    EXPECT_EQ(edit.controls.colours[Index(Trine)], 0);
    EXPECT_EQ(edit.SavedColour(Trine), Rgb(0, 255, 0));
    edit.CycleColour(Trine); // a left click on a switched-off line does nothing
    EXPECT_EQ(edit.controls.colours[Index(Trine)], 0);
    edit.ToggleColour(Trine);
    EXPECT_EQ(edit.controls.colours[Index(Trine)], Rgb(0, 255, 0));

    edit.ToggleColour(Quincunx); // nothing saved for it: stays off
    EXPECT_EQ(edit.controls.colours[Index(Quincunx)], 0);

    // The saved colour outlives the window's showing.
    edit.ToggleColour(Sextile);
    edit.Activate(committed);
    EXPECT_EQ(edit.controls.colours[Index(Sextile)], Rgb(0, 255, 255));
    edit.controls.colours[Index(Sextile)] = 0;
    edit.ToggleColour(Sextile);
    EXPECT_EQ(edit.controls.colours[Index(Sextile)], Rgb(0, 255, 255));
}

TEST(ConfigurationEditing, AcceptCommitsAndCancelKeepsTheCommittedValues) {
    ConfigurationSettings committed = ConfigurationSettings::Defaults();
    committed.displayZodiacSectors = false;
    const ConfigurationSettings before = committed;
    OrbTable orbs;
    OrbSummary summary;
    ConfigurationEdit edit;

    edit.Activate(committed);
    EXPECT_FALSE(edit.SelectOrb(Index(Conjunction) - 1, 12));
    edit.CycleColour(Square);
    edit.controls.midpointOrbPosition = 7;
    edit.controls.boldfaceOneDegree = false;
    edit.Cancel(committed);
    EXPECT_EQ(committed, before);
    EXPECT_EQ(edit.controls, committed);
    EXPECT_FALSE(edit.accepted());

    edit.Activate(committed);
    edit.controls.showOnlyOuter = true;
    edit.controls.showOnlyEarth = true;
    EXPECT_FALSE(edit.SelectOrb(Index(Conjunction) - 1, 12));
    EXPECT_EQ(edit.Accept(committed, orbs, summary),
              SettingsFault{.field = SettingsField::ChartFilters});
    EXPECT_EQ(committed, before);
    EXPECT_FALSE(edit.accepted());

    edit.controls.showOnlyEarth = false;
    edit.controls.boldfaceFactorPosition = 12; // not in the list
    EXPECT_EQ(edit.Accept(committed, orbs, summary),
              (SettingsFault{.field = SettingsField::BoldfaceFactor, .value = 12, .entries = 9}));
    EXPECT_EQ(committed, before);

    edit.controls.boldfaceFactorPosition = 0;
    EXPECT_EQ(edit.Accept(committed, orbs, summary), std::nullopt);
    EXPECT_TRUE(edit.accepted());
    EXPECT_EQ(committed.orbs.degrees[0], 12);
    EXPECT_TRUE(committed.showOnlyOuter);
    EXPECT_TRUE(committed.displayZodiacSectors);
    EXPECT_DOUBLE_EQ(orbs(Conjunction, OrbColumn::OneChart), DegreesToRadians(12));
    EXPECT_DOUBLE_EQ(summary.largest[0], DegreesToRadians(12));
    edit.Activate(committed);
    EXPECT_FALSE(edit.accepted());
}

TEST(ConfigurationEditing, HideAppliesOnlyTheSettingsThatActAtOnce) {
    ConfigurationSettings committed = ConfigurationSettings::Defaults();
    ConfigurationEdit edit;
    edit.Activate(committed);
    edit.controls.useBoldface = false;
    edit.controls.boldfaceOneDegree = false;
    edit.controls.boldfaceFactorPosition = 8;
    edit.controls.personalDivisorPosition = 0;
    edit.controls.synastryDivisorPosition = 4;
    edit.controls.midpointOrbPosition = 5;
    edit.controls.orbs.degrees[0] = 2;
    edit.controls.colours[Index(Trine)] = 0;
    edit.controls.showOnlyEarth = true;
    edit.controls.northAmericanZones = false;
    edit.ApplyImmediateSettings(committed);

    ConfigurationSettings expected = ConfigurationSettings::Defaults();
    expected.useBoldface = false;
    expected.boldfaceOneDegree = false;
    expected.boldfaceFactorPosition = 8;
    expected.personalDivisorPosition = 0;
    expected.synastryDivisorPosition = 4;
    expected.midpointOrbPosition = 5;
    EXPECT_EQ(committed, expected);
}

TEST(ConfigurationEditing, ResetToDefaultRestoresEveryControl) {
    ConfigurationEdit edit;
    ConfigurationSettings changed = WithOrbs({1, 1, 1, 1, 1, 1, 1, 1});
    changed.colours[Index(Conjunction)] = 0;
    changed.useBoldface = false;
    changed.showOnlyOuter = true;
    changed.northAmericanZones = false;
    edit.Activate(changed);
    edit.ResetToDefault();
    EXPECT_EQ(edit.controls, ConfigurationSettings::Defaults());
    const ConfigurationSettings defaults = ConfigurationSettings::Defaults();
    const std::array<double, NumOrbLists> orbs{10, 9, 6, 7, 5, 4, 5, 1};
    EXPECT_EQ(defaults.orbs.degrees, orbs);
    EXPECT_EQ(defaults.colours[Index(Semisextile)], Rgb(128, 128, 255));
    EXPECT_EQ(defaults.colours[Index(Quincunx)], Rgb(128, 128, 128));
    EXPECT_EQ(DivisorListEntries()[defaults.personalDivisorPosition].text, u"1/3"_s);
    EXPECT_EQ(BoldfaceFactorEntries()[defaults.boldfaceFactorPosition].text, u"1/4"_s);
    EXPECT_EQ(MidpointOrbEntries()[defaults.midpointOrbPosition].text, QStringLiteral("0° 30'"));
    EXPECT_TRUE(defaults.useBoldface && defaults.boldfaceOneDegree && defaults.northAmericanZones);
    EXPECT_FALSE(defaults.showOnlyOuter || defaults.showOnlyEarth);
    EXPECT_EQ(CheckSettings(defaults), std::nullopt);
}

TEST(ConfigurationRules, BoldfaceAndChartFilters) {
    const double oneDegree = DegreesToRadians(1.0);
    BoldfaceRule rule = BoldfaceRuleOf(ConfigurationSettings::Defaults());
    EXPECT_TRUE(rule.IsBold(DegreesToRadians(10), oneDegree * 0.999));
    EXPECT_FALSE(rule.IsBold(DegreesToRadians(10), oneDegree));

    ConfigurationSettings settings = ConfigurationSettings::Defaults();
    settings.boldfaceOneDegree = false; // 1/4 of the orb
    rule = BoldfaceRuleOf(settings);
    EXPECT_EQ(rule.factor, 4);
    EXPECT_TRUE(rule.IsBold(DegreesToRadians(6), DegreesToRadians(1.49)));
    EXPECT_FALSE(rule.IsBold(DegreesToRadians(6), DegreesToRadians(1.5)));
    settings.useBoldface = false;
    EXPECT_FALSE(BoldfaceRuleOf(settings).IsBold(DegreesToRadians(6), 0.0));

    settings = ConfigurationSettings::Defaults();
    EXPECT_TRUE(ChartShowsAspect(settings, Mercury, Venus));
    settings.showOnlyOuter = true;
    EXPECT_FALSE(ChartShowsAspect(settings, Mars, Jupiter));
    EXPECT_TRUE(ChartShowsAspect(settings, Jupiter, Pluto));
    settings.showOnlyEarth = true; // decides when both are set
    EXPECT_TRUE(ChartShowsAspect(settings, Venus, Earth));
    EXPECT_FALSE(ChartShowsAspect(settings, Jupiter, Pluto));
}

TEST(ConfigurationRules, OrbListPositions) {
    for (const auto& [degrees, position] :
         {std::pair{0.0, 0}, {15.0, 15}, {15.5, -1}, {16.0, -1}, {-1.0, -1}, {7.25, -1}}) {
        EXPECT_EQ(OrbListPosition(degrees), position) << degrees;
    }
}
