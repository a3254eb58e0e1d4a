#include "support/FixedDecimal.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>

using namespace orbivex;

namespace {

std::string Fast(double value, int decimals) {
    std::string text;
    AppendFixedDecimal(text, value, decimals);
    return text;
}

std::string Exact(double value, int decimals) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

} // namespace

TEST(FixedDecimal, SameTextAsTheExactConversion) {
    struct Case {
        double value;
        int decimals;
        const char* text;
    };
    const std::vector<Case> cases{
        {0.0, 7, "0.0000000"},
        {0.0734122, 7, "0.0734122"},
        {359.99999999, 7, "360.0000000"},
        {2451545.0, 6, "2451545.000000"},
        {2451544.958333333, 6, "2451544.958333"},
        {12.5, 0, "12"}, // an exact tie goes to the even neighbour
        {13.5, 0, "14"},
        {0.125, 2, "0.12"},
        {-1.25, 1, "-1.2"},
        {1e20, 2, "100000000000000000000.00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Fast(c.value, c.decimals), c.text) << c.value;
        EXPECT_EQ(Fast(c.value, c.decimals), Exact(c.value, c.decimals)) << c.value;
    }
    EXPECT_EQ(Fast(std::numeric_limits<double>::quiet_NaN(), 3), "nan");
    EXPECT_EQ(Fast(1.5, 12), Exact(1.5, 12));
}

TEST(FixedDecimal, RandomLongitudesAndJulianDatesAgreeWithTheExactConversion) {
    std::mt19937_64 random(20240101);
    std::uniform_real_distribution<double> degrees(0.0, 360.0);
    std::uniform_real_distribution<double> julianDates(1721425.5, 2743738.5);
    for (int i = 0; i < 200000; ++i) {
        const double longitude = degrees(random);
        ASSERT_EQ(Fast(longitude, 7), Exact(longitude, 7)) << longitude;
        const double jd = julianDates(random);
        ASSERT_EQ(Fast(jd, 6), Exact(jd, 6)) << jd;
        // Values a hair from a rounding half, where a careless product goes wrong.
        const double nearTie = (std::floor(longitude * 1e7) + 0.5) / 1e7;
        ASSERT_EQ(Fast(nearTie, 7), Exact(nearTie, 7)) << nearTie;
    }
}
