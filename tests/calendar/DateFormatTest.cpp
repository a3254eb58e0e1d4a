#include "calendar/DateFormat.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace orbivex;

TEST(LongDate, FullAndAbbreviatedForms) {
    EXPECT_EQ(JDNToLongDate(2451545, false), u"January 1, 2000"_s);
    EXPECT_EQ(JDNToLongDate(2451604, true), u"Feb. 29, 2000"_s);
    EXPECT_EQ(JDNToLongDate(2451604, false), u"February 29, 2000"_s);
    EXPECT_EQ(JDNToLongDate(2451452, true), u"Sept. 30, 1999"_s);
    EXPECT_EQ(JDNToLongDate(2451666, true), u"May 1, 2000"_s);
    EXPECT_EQ(JDNToLongDate(2451697, true), u"June 1, 2000"_s);
    EXPECT_EQ(JDNToLongDate(2451727, true), u"July 1, 2000"_s);
    EXPECT_EQ(JDNToLongDate(JdnOfYearOne, false), u"January 1, 1"_s);
    EXPECT_EQ(JDNToLongDate(INT32_MAX, false), u""_s);
}

TEST(LongDate, MonthNamesOutsideTheYearAreEmpty) {
    EXPECT_EQ(MonthName(12, false), u"December"_s);
    EXPECT_EQ(MonthName(12, true), u"Dec."_s);
    EXPECT_EQ(MonthName(0, false), u""_s);
    EXPECT_EQ(MonthName(13, true), u""_s);
}

TEST(NumericDate, YearMonthDayWithTwoDigitMonthAndDay) {
    EuroDateRecord record;
    record.year = 812;
    record.month = 3;
    record.day = 5;
    EXPECT_EQ(FormatEuroDate(record), u"812-03-05"_s);
    record.year = 2024;
    record.month = 12;
    record.day = 31;
    EXPECT_EQ(FormatEuroDate(record), u"2024-12-31"_s);
    record.year = -44;
    record.month = 3;
    record.day = 15;
    EXPECT_EQ(FormatEuroDate(record), u"-44-03-15"_s);
}

TEST(TimeOfDay, HoursAndMinutesOfADayFraction) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "00:00"},
        {0.5, "12:00"},
        {0.625, "15:00"},
        {0.9999999, "23:59"},
        {1.0 / 48.0, "00:30"},
        {47.0 / 48.0, "23:30"},
        // A hair below a whole minute is that minute, not the one before.
        {(10 * 60 + 30) / 1440.0 - 1e-12, "10:30"},
        {1.0, "XX:XX:XX"},
        {-0.001, "XX:XX:XX"},
        {std::nan(""), "XX:XX:XX"},
    };
    for (const auto& [fraction, text] : cases) {
        EXPECT_EQ(TimeOfDayText(fraction), QString::fromUtf8(text)) << fraction;
    }
}

TEST(Weekday, Names) {
    EXPECT_EQ(DayOfWeekName(DayOfWeekOfJDN(2451545)), u"Saturday"_s);
    EXPECT_EQ(DayOfWeekName(0), u"Sunday"_s);
    EXPECT_EQ(DayOfWeekName(7), u""_s);
    EXPECT_EQ(DayOfWeekName(-1), u""_s);
}
