#include "present/ConfigurationTexts.h"

#include "support/ProgramTexts.h"

#include <functional>
#include <gtest/gtest.h>
#include <limits>

using namespace Qt::StringLiterals;

using namespace orbivex;
using enum orbivex::AspectKind;

TEST(SettingsFaultMessage, NamesTheValueAndItsList) {
    const struct {
        std::function<void(ConfigurationSettings&)> change;
        QString message;
    } cases[] = {
        {[](ConfigurationSettings& s) { s.orbs.degrees[6] = 16; },
         u"The orb of the Quincunx is entry 16 of a list with entries 0 to 15."_s},
        // No entry of the lists shows 2.5°.
        {[](ConfigurationSettings& s) { s.orbs.degrees[1] = 2.5; },
         u"The orb of the Opposition is 2.5°, not a whole number of degrees."_s},
        {[](ConfigurationSettings& s) { s.orbs.degrees[SetAllOrbList] = -3; },
         u"The \"Set all\" orb is entry -3 of a list with entries 0 to 15."_s},
        {[](ConfigurationSettings& s) { s.orbs.degrees[0] = 1e12; },
         u"The orb of the Conjunction is entry 1000000000 of a list with entries 0 to 15."_s},
        {[](ConfigurationSettings& s) {
             s.orbs.degrees[0] = std::numeric_limits<double>::infinity();
         },
         u"The orb of the Conjunction is inf°, not a whole number of degrees."_s},
        {[](ConfigurationSettings& s) { s.personalDivisorPosition = -1; },
         u"The proportion for personal transits is entry -1 of a list with entries 0 to 4."_s},
        {[](ConfigurationSettings& s) { s.synastryDivisorPosition = 5; },
         u"The proportion for synastry is entry 5 of a list with entries 0 to 4."_s},
        {[](ConfigurationSettings& s) { s.boldfaceFactorPosition = 12; },
         u"The boldface factor is entry 12 of a list with entries 0 to 8."_s},
        {[](ConfigurationSettings& s) { s.midpointOrbPosition = 8; },
         u"The orb for midpoints is entry 8 of a list with entries 0 to 7."_s},
        {[](ConfigurationSettings& s) { s.colours[Index(Trine)] = 0x1000000; },
         u"The colour 16777216 of the Trine is not an RGB colour."_s},
    };
    for (const auto& c : cases) {
        ConfigurationSettings settings = ConfigurationSettings::Defaults();
        c.change(settings);
        const std::optional<SettingsFault> fault = CheckSettings(settings);
        ASSERT_TRUE(fault) << c.message.toStdString();
        EXPECT_EQ(SettingsFaultMessage(*fault), c.message);
    }
    EXPECT_EQ(SettingsFaultMessage({.field = SettingsField::ChartFilters}),
              u"'Show only Earth aspects in chart' and\r\n"
              "'Show only outer planet aspects in chart'\r\n"
              "cannot both be checked."_s);
}

TEST(ConfigurationNotices, QuestionsAndTheRefusalOfZero) {
    const ProgramTexts texts = ProgramTexts::FromEntries({
        {390, u"Set all orbs"_s},
        {391, u"Set every non-zero orb to NEW_ORB?"_s},
        {395, u"Reset?"_s},
        {396, u"Settings will be lost."_s},
    });
    const ConfigurationNotice question = SetAllQuestion(texts, 3);
    EXPECT_EQ(question.title, u"Set all orbs"_s);
    EXPECT_EQ(question.message, QStringLiteral("Set every non-zero orb to 3°?"));
    const ConfigurationNotice reset = ResetQuestion(texts, u"Reset to default"_s);
    EXPECT_EQ(reset.title, u"Reset to default"_s);
    EXPECT_EQ(reset.message, u"Reset?\r\nSettings will be lost."_s);
    const ConfigurationNotice refusal = SetAllZeroRefusal();
    EXPECT_EQ(refusal.title, u"Set all"_s);
    EXPECT_EQ(refusal.message, u"Cannot set all non-zero orbs to zero."_s);
}
