// The aspectarian's times and years: written and read in the calendar of the zone.
#include "present/Aspectarian.h"

#include "calendar/CalendarYears.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace orbivex {
namespace {

constexpr double Noon2024 = 2460311.0; // 1 January 2024 (Gregorian), 12:00 UT

TEST(AspectarianTimeText, IsTheMomentInTheZoneAndItsCalendar) {
    const struct {
        double julianDay;
        MomentZone zone;
        const char* text;
    } cases[] = {
        {Noon2024, {}, "2024-01-01 12:00 GMT"},
        {Noon2024 + 0.5,
         {-300, u"EST/CDT"_s, CalendarChoice::Gregorian},
         "2024-01-01 19:00 EST/CDT"},
        {Noon2024, {0, u"GMT"_s, CalendarChoice::Julian}, "2023-12-19 12:00 GMT"},
        {Noon2024, {0, u"GMT"_s, CalendarChoice::Auto}, "2024-01-01 12:00 GMT"},
        // Julian before the reform: 4 October 1582 is followed by 15 October.
        {2299160.0, {0, u"GMT"_s, CalendarChoice::Auto}, "1582-10-04 12:00 GMT"},
        {2299161.0, {0, u"GMT"_s, CalendarChoice::Auto}, "1582-10-15 12:00 GMT"},
        {2299160.0, {0, u"GMT"_s, CalendarChoice::Gregorian}, "1582-10-14 12:00 GMT"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AspectarianTimeText(c.julianDay, c.zone), QString::fromUtf8(c.text));
    }
}

TEST(AspectarianYearDays, AreTheFirstAndLastDayOfTheYearInTheCalendar) {
    const struct {
        int year;
        CalendarChoice calendar;
        std::int32_t first;
        std::int32_t last;
    } cases[] = {
        {2024, CalendarChoice::Gregorian, 2460311, 2460676},
        {2024, CalendarChoice::Julian, 2460324, 2460689},
        {1582, CalendarChoice::Auto, 2298884, 2299238}, // 355 days: ten were skipped
        {1, CalendarChoice::Julian, JdnOfJulianYearOne, 1721788},
        {2799, CalendarChoice::Julian, 2743393, JdnOfJulianYear2800 - 1},
        {1, CalendarChoice::Auto, JdnOfJulianYearOne, 1721788},
        {2799, CalendarChoice::Auto, 2743374, JdnOfYear2800 - 1},
    };
    for (const auto& c : cases) {
        const auto [first, last] = AspectarianYearDays(c.year, c.calendar);
        EXPECT_EQ(first, c.first) << c.year;
        EXPECT_EQ(last, c.last) << c.year;
    }
}

} // namespace
} // namespace orbivex
