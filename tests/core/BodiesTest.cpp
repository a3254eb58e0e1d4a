#include "core/Bodies.h"

#include "common/TestSupport.h"
#include "support/Rounding.h"

#include <gtest/gtest.h>

using namespace orbivex;

using enum orbivex::BodyIndex;
using enum orbivex::AspectKind;
using enum orbivex::PatternIndex;
using namespace Qt::StringLiterals;

namespace {
double Deg(double degrees, double minutes = 0.0) {
    return DegreesToRadians(degrees + minutes / 60.0);
}
} // namespace

TEST(ZodiacPosition, ShortFormAtSignBoundariesAndRounding) {
    EXPECT_EQ(FormatZodiacPosition(0.0, false), u"0Ari0"_s);
    EXPECT_EQ(FormatZodiacPosition(Deg(15, 7), false), u"15Ari7"_s);
    EXPECT_EQ(FormatZodiacPosition(Deg(123, 45), false), u"3Leo45"_s);
    // 359°59.7' rounds up to a whole degree, which would be 360: it stays in Pisces.
    EXPECT_EQ(FormatZodiacPosition(Deg(359, 59.7), false), u"29Pis59"_s);
    // 29°59.7' of Taurus carries into Gemini in the short form.
    EXPECT_EQ(FormatZodiacPosition(Deg(59, 59.7), false), u"0Gem0"_s);
    EXPECT_EQ(FormatZodiacPosition(FullCircle, false), u"0Ari0"_s);
}

TEST(ZodiacPosition, LongFormRoundsMinutesIntoTheDegreeButNotIntoTheNextSign) {
    EXPECT_EQ(FormatZodiacPosition(Deg(15, 40), true), u"16° in Aries"_s);
    EXPECT_EQ(FormatZodiacPosition(Deg(15, 30), true), u"15° in Aries"_s);
    EXPECT_EQ(FormatZodiacPosition(Deg(59, 50), true), u"29° in Taurus"_s);
    EXPECT_EQ(FormatZodiacPosition(Deg(345), true), u"15° in Pisces"_s);
}

TEST(ZodiacPosition, NoPositionGivesEmptyText) {
    EXPECT_EQ(FormatZodiacPosition(-99.0, false), u""_s);
    EXPECT_EQ(FormatZodiacPosition(-0.0001, true), u""_s);
    EXPECT_EQ(FormatZodiacPosition(std::nan(""), false), u""_s);
    EXPECT_EQ(FormatZodiacPosition(FullCircle + 1e-9, false), u""_s);
}

TEST(FixedTables, AngleConstantsUseTheFullCircleConstant) {
    EXPECT_DOUBLE_EQ(AspectAngles[Opposition], 3.141592653589795);
    EXPECT_DOUBLE_EQ(AspectAngles[Trine], 120.0 / 360.0 * 6.28318530717959);
    EXPECT_GT(FullCircle, 6.283185307179586);
    EXPECT_EQ(AspectDescription(Conjunction), u"conjunction (0°)"_s);
    EXPECT_EQ(AspectPluralLower(Quincunx), u"quincunxes"_s);
    EXPECT_EQ(AspectPluralLower(Square), u"squares"_s);
}

TEST(FixedTables, PatternNamesAreFoundWithoutRegardToCase) {
    EXPECT_EQ(PatternIndexOfName(u"3-stellium"), ThreeStellium);
    EXPECT_EQ(PatternIndexOfName(u"GRAND SEXTILE"), GrandSextile);
    EXPECT_EQ(PatternIndexOfName(u"Midpoint"), MidpointPattern);
    EXPECT_EQ(PatternIndexOfName(u"Grand"), NoPattern);
}

TEST(FixedTables, PatternNumbersOutsideTheListAreNoPattern) {
    for (PatternIndex pattern : AllPatterns) {
        EXPECT_EQ(PatternOfNumber(PatternNumber(pattern)), pattern);
    }
    for (int number : {-2, -1, NumPatterns, 99}) {
        EXPECT_EQ(PatternOfNumber(number), NoPattern) << number;
    }
    EXPECT_EQ(PatternName(NoPattern), QString());
}

TEST(FixedTables, BodyNumbersAndTheBodiesInUse) {
    for (BodyIndex body : AllBodies) {
        EXPECT_EQ(BodyOfNumber(BodyNumber(body)), body);
    }
    for (int number : {-1, 0, MaxBodies + 1}) {
        EXPECT_EQ(BodyOfNumber(number), std::nullopt) << number;
    }
    // Pluto is in use only with its table; counts outside 0..9 are clamped.
    const struct {
        std::span<const BodyIndex> bodies;
        std::vector<BodyIndex> expected;
    } cases[] = {
        {BodiesInUse(8), {Earth, Mercury, Venus, Mars, Jupiter, Saturn, Uranus, Neptune}},
        {BodiesInUse(-3), {}},
        {BodiesInUse(12), {AllBodies.begin(), AllBodies.end()}},
        {BodiesAfter(Uranus, 9), {Neptune, Pluto}},
        {BodiesAfter(Neptune, 8), {}},
        {BodiesAfter(Pluto, 9), {}},
        {BodyRange(Mars, Saturn), {Mars, Jupiter, Saturn}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::vector<BodyIndex>(c.bodies.begin(), c.bodies.end()), c.expected);
    }
}

#include "core/AngleFormat.h"

TEST(DegreesMinutes, FormsOfTheOptions) {
    EXPECT_EQ(FormatDegreesMinutes(0.1), u"5°44'"_s);
    EXPECT_EQ(FormatDegreesMinutes(Deg(10), true), u"10°"_s);
    EXPECT_EQ(FormatDegreesMinutes(Deg(10)), u"10°0'"_s);
    EXPECT_EQ(FormatDegreesMinutes(Deg(12, 5), false, true), u"12° 5'"_s);
    EXPECT_EQ(FormatDegreesMinutes(-Deg(2, 30)), u""_s);
    EXPECT_EQ(FormatDegreesMinutes(-Deg(2, 30), false, false, true), u"-2°30'"_s);
}

TEST(DegreesMinutes, SixtyMinutesCarryIntoTheDegreeExceptAt359) {
    EXPECT_EQ(FormatDegreesMinutes(Deg(0, 59.99)), u"1°0'"_s);
    EXPECT_EQ(FormatDegreesMinutes(Deg(359, 59.5)), u"359°59'"_s);
    EXPECT_EQ(FormatDegreesMinutes(Deg(359, 59.5), false, false, false, true), u"360°0'"_s);
    EXPECT_EQ(FormatDegreesMinutes(FullCircle + 1e-6), u""_s);
}

TEST(DegreesMinutes, ExactHalvesRoundToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(2.5), 2.0);
    EXPECT_EQ(RoundHalfEven(3.5), 4.0);
    EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
    EXPECT_EQ(RoundHalfEven(2.5000001), 3.0);
}
