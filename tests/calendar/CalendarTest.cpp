#include "calendar/Calendar.h"

#include "common/TestSupport.h"

#include <QTimeZone>
#include <gtest/gtest.h>

#include <cmath>

using namespace orbivex;

namespace {

EuroDateRecord Date(int year, int month, int day) {
    EuroDateRecord record;
    record.year = year;
    record.month = month;
    record.day = day;
    return record;
}

int JdnOf(int year, int month, int day) {
    EuroDateRecord record = Date(year, month, day);
    return EuroDateToJDN(record);
}

// Minutes after midnight of jd's day fraction, to the nearest minute.
long MinutesOfDay(double jd) {
    return std::lround((jd - std::floor(jd)) * 1440.0);
}

double At(int dayNumber, int hours, int minutes, int seconds = 0) {
    return dayNumber + (hours * 3600 + minutes * 60 + seconds) / 86400.0;
}

} // namespace

TEST(JulianDayNumber, KnownDays) {
    EXPECT_EQ(JdnOf(1, 1, 1), 1721426);
    EXPECT_EQ(JdnOf(2000, 1, 1), 2451545);
    EXPECT_EQ(JdnOf(2800, 1, 1), 2743739);
    EXPECT_EQ(JdnOf(1970, 1, 1), 2440588);
    // Before 1582 the calendar stays Gregorian: 15 October 1582 follows 14 October directly.
    EXPECT_EQ(JdnOf(1582, 10, 15), 2299161);
    EXPECT_EQ(JdnOf(1582, 10, 14), 2299160);
    EXPECT_EQ(JdnOf(1582, 10, 4) + 10, JdnOf(1582, 10, 14));

    EuroDateRecord record = Date(2000, 1, 1);
    EXPECT_EQ(EuroDateToJDN(record), 2451545);
    EXPECT_EQ(record.jdn, 2451545);
    EXPECT_NE(record.valid, 0);
}

TEST(JulianDayNumber, RoundTripsEveryDayOfYearsOneTo2799) {
    int expected = JdnOfYearOne;
    int failures = 0;
    for (int year = 1; year <= 2799 && failures < 5; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= DaysInMonth(month, year); ++day) {
                EuroDateRecord record = Date(year, month, day);
                const int jdn = EuroDateToJDN(record);
                EuroDateRecord back;
                back.jdn = jdn;
                JDNToEuroDate(back);
                if (record.valid == 0 || jdn != expected || back.year != year ||
                    back.month != month || back.day != day || back.valid == 0) {
                    ADD_FAILURE() << year << '-' << month << '-' << day << " gave " << jdn
                                  << ", expected " << expected << ", back " << back.year << '-'
                                  << back.month << '-' << back.day;
                    ++failures;
                }
                ++expected;
            }
        }
    }
    EXPECT_EQ(expected, JdnOfYear2800);
}

TEST(JulianDayNumber, DatesThatDoNotExistAreNotValid) {
    const EuroDateRecord invalid[] = {
        Date(1900, 2, 29), Date(2023, 2, 29), Date(2024, 4, 31),  Date(2024, 13, 1),
        Date(2024, 0, 1),  Date(2024, 1, 0),  Date(2024, 1, 32),  Date(2024, -1, 1),
        Date(2024, 1, -5), Date(40000, 1, 1), Date(-40000, 1, 1), Date(2024, 1 << 20, 1),
    };
    for (EuroDateRecord record : invalid) {
        record.jdn = 12345;
        record.valid = 7;
        EuroDateToJDN(record);
        EXPECT_EQ(record.valid, 0) << record.year << '-' << record.month << '-' << record.day;
    }
    EuroDateRecord leapDay = Date(2000, 2, 29);
    EuroDateToJDN(leapDay);
    EXPECT_NE(leapDay.valid, 0);

    // Only the Gregorian and Julian letters are known.
    EuroDateRecord unknown = Date(2000, 1, 1);
    unknown.calendar = 'X';
    EuroDateToJDN(unknown);
    EXPECT_EQ(unknown.valid, 0);
    unknown.jdn = 2451545;
    JDNToEuroDate(unknown);
    EXPECT_EQ(unknown.valid, 0);
}

TEST(JulianDayNumber, ExtremeDayNumbersDoNotConvertToGarbage) {
    for (const std::int32_t jdn : {INT32_MIN, INT32_MAX, -20000000, 20000000}) {
        EuroDateRecord record;
        record.jdn = jdn;
        JDNToEuroDate(record);
        EXPECT_EQ(record.valid, 0) << jdn;
        EXPECT_EQ(record.year, 0) << jdn;
        const int weekday = DayOfWeekOfJDN(jdn);
        EXPECT_TRUE(weekday >= 0 && weekday <= 6) << jdn;
    }
    EuroDateRecord yearZero;
    yearZero.jdn = JdnOfYearOne - 1;
    JDNToEuroDate(yearZero);
    EXPECT_EQ(yearZero.year, 0);
    EXPECT_EQ(yearZero.month, 12);
    EXPECT_EQ(yearZero.day, 31);
}

TEST(Weekday, FollowsTheDayNumber) {
    EXPECT_EQ(DayOfWeekOfJDN(2451545), 6); // 1 January 2000, a Saturday
    EXPECT_EQ(DayOfWeekOfJDN(2451546), 0);
    EXPECT_EQ(DayOfWeekOfJDN(JdnOf(2024, 1, 5)), 5);
    for (int jdn = JdnOfYearOne - 10; jdn < JdnOfYearOne + 10; ++jdn) {
        EXPECT_EQ(DayOfWeekOfJDN(jdn), (jdn + 1) % 7) << jdn;
    }
}

TEST(LeapYears, GregorianRuleAndMonthLengths) {
    for (const int year : {1900, 2100, 2023, 1, 2799}) {
        EXPECT_FALSE(IsLeapYear(year)) << year;
    }
    for (const int year : {1600, 2000, 2400, 2024, 4, 0}) {
        EXPECT_TRUE(IsLeapYear(year)) << year;
    }
    EXPECT_EQ(DaysInMonth(2, 2100), 28);
    EXPECT_EQ(DaysInMonth(2, 2000), 29);
    EXPECT_EQ(DaysInMonth(4, 2024), 30);
    EXPECT_EQ(DaysInMonth(12, 2024), 31);
    EXPECT_EQ(DaysInMonth(13, 2024), 0);
    EXPECT_EQ(DaysInMonth(0, 2024), 0);
}

TEST(RoundToHalfHour, RoundsToTheNearestHalfHourWithQuarterPastDown) {
    const int day = 2451545;
    struct Case {
        double in;
        double out;
    };
    const Case cases[] = {
        {At(day, 10, 14, 59), At(day, 10, 0)}, {At(day, 10, 15), At(day, 10, 0)},
        {At(day, 10, 16), At(day, 10, 30)},    {At(day, 10, 45), At(day, 10, 30)},
        {At(day, 10, 46), At(day, 11, 0)},     {At(day, 23, 46), At(day + 1, 0, 0)},
        {At(day, 23, 45), At(day, 23, 30)},    {At(day, 23, 59, 59), At(day + 1, 0, 0)},
        {At(day, 0, 10), At(day, 0, 0)},       {At(day, 0, 0), At(day, 0, 0)},
        {At(-5, 6, 20), At(-5, 6, 30)},
    };
    for (const Case& c : cases) {
        double jd = c.in;
        RoundToHalfHour(jd);
        EXPECT_EQ(std::floor(jd), std::floor(c.out)) << std::fixed << c.in;
        EXPECT_EQ(MinutesOfDay(jd), MinutesOfDay(c.out)) << std::fixed << c.in;
    }
    double notANumber = std::nan("");
    RoundToHalfHour(notANumber);
    EXPECT_TRUE(std::isnan(notANumber));
}

TEST(Now, JulianDateOfALocalDateTimeAndOffset) {
    const QDateTime local(QDate(2000, 1, 1), QTime(12, 0, 0));
    EXPECT_DOUBLE_EQ(NowAsJulianDate(local, 0), 2451545.0);
    EXPECT_DOUBLE_EQ(NowAsJulianDate(local, 60), 2451545.0 - 1.0 / 24.0);
    EXPECT_DOUBLE_EQ(NowAsJulianDate(QDateTime(QDate(2000, 1, 1), QTime(0, 0, 30)), -300),
                     2451544.5 + (30 + 300 * 60) / 86400.0);
    // Milliseconds are not read: the clock is taken to whole seconds.
    EXPECT_DOUBLE_EQ(NowAsJulianDate(QDateTime(QDate(2000, 1, 1), QTime(12, 0, 0, 999)), 0),
                     2451545.0);
    EXPECT_TRUE(std::isnan(NowAsJulianDate(QDateTime(), 0)));

    // The present instant, to within a few seconds of Qt's own clock.
    const double expected =
        QDateTime::currentDateTimeUtc().toMSecsSinceEpoch() / 86400000.0 + 2440587.5;
    EXPECT_NEAR(NowAsJulianDate(), expected, 5.0 / 86400.0);
}

TEST(Now, TimezoneOffsetOfKnownZones) {
    const auto offsetIn = [](const char* zone, QDate date) {
        return TimezoneOffsetMinutes(QDateTime(date, QTime(12, 0), QTimeZone(zone)));
    };
    EXPECT_EQ(offsetIn("Asia/Kolkata", QDate(2024, 1, 15)), 330);
    EXPECT_EQ(offsetIn("America/New_York", QDate(2024, 1, 15)), -300);
    EXPECT_EQ(offsetIn("America/New_York", QDate(2024, 7, 15)), -240);
    EXPECT_EQ(offsetIn("Asia/Kathmandu", QDate(2024, 1, 15)), 345);
    EXPECT_EQ(offsetIn("UTC", QDate(2024, 1, 15)), 0);
    const QDateTime now = QDateTime::currentDateTime();
    EXPECT_EQ(TimezoneOffsetMinutes(), now.offsetFromUtc() / 60);
}
