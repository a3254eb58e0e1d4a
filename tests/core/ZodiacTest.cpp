#include "core/Zodiac.h"
#include "core/Bodies.h"

#include <gtest/gtest.h>

using namespace orbivex;
using namespace Qt::Literals::StringLiterals;

// The offset of the zodiac of date against the general precession in longitude of the IAU 2006
// model (Capitaine, Wallace and Chapront 2003) at a few epochs; the library's long-term model
// parts from it by a few arc seconds over centuries.
TEST(Zodiac, OfDateIsThePrecessionSinceJ2000) {
    const struct {
        double jd;
        double degrees;
        double tolerance;
    } cases[] = {
        {2451545.0, 0.0, 1e-6},       // J2000 itself
        {2461041.5, 0.36321, 0.0005}, // 1 January 2026
        {2469807.5, 0.69852, 0.0005}, // 1 January 2050
        {2305447.5, -5.5826, 0.005},  // 1 January 1600
        {2743373.5, 11.1805, 0.01},   // 1 January 2799
        {1721425.5, -27.80, 0.05},    // 1 January of the year 1
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.jd);
        EXPECT_NEAR(RadiansToDegrees(ZodiacOffset(ZodiacChoice::OfDate, c.jd)), c.degrees,
                    c.tolerance);
        EXPECT_EQ(ZodiacOffset(ZodiacChoice::J2000, c.jd), 0.0);
    }
}

TEST(Zodiac, NamesAndTheShiftedLongitude) {
    EXPECT_EQ(ZodiacOfName(u"DATE"_s), ZodiacChoice::OfDate);
    EXPECT_EQ(ZodiacOfName(ZodiacName(ZodiacChoice::J2000)), ZodiacChoice::J2000);
    EXPECT_EQ(ZodiacOfName(u"sidereal"_s), std::nullopt);
    // Shifting wraps into [0, full circle) both ways.
    EXPECT_NEAR(LongitudeInZodiac(FullCircle - 0.001, 0.002), 0.001, 1e-12);
    EXPECT_NEAR(LongitudeInZodiac(0.001, -0.002), FullCircle - 0.001, 1e-12);
}
