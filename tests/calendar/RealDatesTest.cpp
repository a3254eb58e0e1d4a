// Birth data as the records give it: named zones with their history, checked against what
// happened on those days.

#include "calendar/DateFormat.h"
#include "calendar/DateInput.h"
#include "calendar/NamedZones.h"

#include <QDate>
#include <gtest/gtest.h>

#include <tuple>

using namespace orbivex;

namespace {

struct ZoneCase {
    const char* what;
    const char* zone;
    int year, month, day, hours, minutes;
    int offsetSeconds; // the offset the local time is read with
    LocalTimeKind kind;
};

const ZoneCase ZoneCases[] = {
    {"D-Day in Paris: German summer time", "Europe/Paris", 1944, 6, 6, 6, 30, 7200,
     LocalTimeKind::Unique},
    {"Paris before standard time: local mean time", "Europe/Paris", 1850, 1, 1, 12, 0, 561,
     LocalTimeKind::Unique},
    {"British double summer time, 1941", "Europe/London", 1941, 6, 21, 12, 0, 7200,
     LocalTimeKind::Unique},
    {"British double summer time, 1944", "Europe/London", 1944, 6, 6, 12, 0, 7200,
     LocalTimeKind::Unique},
    {"British summer time kept through the war's winter", "Europe/London", 1941, 12, 25, 12, 0,
     3600, LocalTimeKind::Unique},
    {"New York in summer", "America/New_York", 2024, 7, 4, 12, 0, -14400, LocalTimeKind::Unique},
    {"New York in winter", "America/New_York", 2024, 1, 15, 12, 0, -18000, LocalTimeKind::Unique},
    {"India before its railway time: Calcutta local mean time", "Asia/Kolkata", 1800, 1, 1, 12, 0,
     21208, LocalTimeKind::Unique},
    {"India on Madras time", "Asia/Kolkata", 1880, 1, 1, 12, 0, 19270, LocalTimeKind::Unique},
    {"India's war time", "Asia/Kolkata", 1944, 6, 6, 12, 0, 23400, LocalTimeKind::Unique},
    {"India on +5:30", "Asia/Kolkata", 1950, 1, 26, 12, 0, 19800, LocalTimeKind::Unique},
    {"skipped: Paris, spring 2024", "Europe/Paris", 2024, 3, 31, 2, 30, 3600,
     LocalTimeKind::Skipped},
    {"doubled: Paris, autumn 2024", "Europe/Paris", 2024, 10, 27, 2, 30, 7200,
     LocalTimeKind::Doubled},
    {"skipped: New York, spring 2024", "America/New_York", 2024, 3, 10, 2, 30, -18000,
     LocalTimeKind::Skipped},
};

DateSet DateSetOf(const ZoneCase& c) {
    DateSet set;
    set.yearText = QString::number(c.year);
    set.monthIndex = c.month;
    set.dayIndex = c.day;
    SetMinuteOfDay(set, c.hours * 60 + c.minutes);
    SetZoneText(set, QString::fromUtf8(c.zone));
    return set;
}

} // namespace

TEST(NamedZones, RealHistoricalOffsets) {
    const TimeZones zones = MakeTimeZones(0, false);
    for (const ZoneCase& c : ZoneCases) {
        SCOPED_TRACE(c.what);
        const DateSet set = DateSetOf(c);
        ASSERT_TRUE(set.zoneName == QString::fromUtf8(c.zone));
        const ZoneReading reading = ReadLocalTimeOf(set);
        ASSERT_TRUE(reading.known);
        EXPECT_EQ(reading.offsetSeconds, c.offsetSeconds);
        EXPECT_EQ(reading.kind, c.kind);
        const double universal = static_cast<double>(QDate(c.year, c.month, c.day).toJulianDay()) -
                                 0.5 +
                                 (c.hours * 3600 + c.minutes * 60 - c.offsetSeconds) / 86400.0;
        EXPECT_NEAR(InputDateToAJDate(set, zones).value(), universal, 1e-9);
    }
}

TEST(NamedZones, UnusualLocalTimesAreToldAndUnknownZonesAreDateErrors) {
    const std::optional<UnusualLocalTime> skipped = UnusualLocalTimeOf(DateSetOf(ZoneCases[11]));
    ASSERT_TRUE(skipped);
    EXPECT_EQ(skipped->minute, 150);
    EXPECT_EQ(skipped->zone, QStringLiteral("Europe/Paris"));
    EXPECT_EQ(skipped->reading.kind, LocalTimeKind::Skipped);
    EXPECT_EQ(UnusualLocalTimeOf(DateSetOf(ZoneCases[12]))->reading.kind, LocalTimeKind::Doubled);
    EXPECT_FALSE(UnusualLocalTimeOf(DateSetOf(ZoneCases[0])));

    DateSet unknown = DateSetOf(ZoneCases[0]);
    SetZoneText(unknown, QStringLiteral("Mars/Olympus_Mons"));
    EXPECT_EQ(InputDateToAJDate(unknown, MakeTimeZones(0, false)), Fail(DateError::UnknownZone));
    EXPECT_FALSE(IsZoneName(QStringLiteral("Mars")));
    EXPECT_TRUE(IsZoneName(QStringLiteral("Asia/Kolkata")));
    // A name in another letter case is the database's zone, and is kept as the database spells it.
    for (const char* typed : {"europe/paris", " EUROPE/PARIS", "Europe/Paris"}) {
        SetZoneText(unknown, QString::fromLatin1(typed));
        EXPECT_EQ(unknown.zoneName, QStringLiteral("Europe/Paris")) << typed;
    }
    EXPECT_EQ(ZoneNameAsListed(QStringLiteral("america/new_york")), u"America/New_York");
    EXPECT_EQ(ZoneNameAsListed(QStringLiteral("Mars")), QString());
    // A text of the list is an entry, not a name.
    SetZoneText(unknown, QStringLiteral("+05:30"));
    EXPECT_EQ(unknown.zoneName, QString());
    EXPECT_EQ(TimezoneEntryOffset(unknown.timezoneIndex), 330);
    EXPECT_EQ(OffsetText(-(4 * 3600 + 56 * 60 + 2)), QStringLiteral("-04:56:02"));
}

// Julian dates against their day numbers, both ways, and the calendar in force.
TEST(JulianCalendar, DayNumbersOfRecordedDates) {
    struct Case {
        const char* what;
        CalendarChoice calendar;
        int year, month, day;
        std::int32_t jdn; // 0: the date does not exist in that calendar
    };
    const Case cases[] = {
        {"the last Julian day", CalendarChoice::Julian, 1582, 10, 4, 2299160},
        {"followed by the first Gregorian day", CalendarChoice::Gregorian, 1582, 10, 15, 2299161},
        {"auto: the last Julian day", CalendarChoice::Auto, 1582, 10, 4, 2299160},
        {"auto: the reform's first day", CalendarChoice::Auto, 1582, 10, 15, 2299161},
        {"auto: a day the reform skipped", CalendarChoice::Auto, 1582, 10, 10, 0},
        {"1500-02-29 exists in Julian", CalendarChoice::Julian, 1500, 2, 29, 2268992},
        {"and not in Gregorian", CalendarChoice::Gregorian, 1500, 2, 29, 0},
        {"1 January of year 1, Julian", CalendarChoice::Julian, 1, 1, 1, 1721424},
        {"auto: year 1 is Julian", CalendarChoice::Auto, 1, 1, 2, 1721425},
        {"31 December 2799, Julian", CalendarChoice::Julian, 2799, 12, 31, 2743757},
        {"31 December 2799, Gregorian", CalendarChoice::Gregorian, 2799, 12, 31, 2743738},
        {"Julian 2000-01-01 is Gregorian 14 January", CalendarChoice::Julian, 2000, 1, 1, 2451558},
        {"Julian 1900-02-29 exists", CalendarChoice::Julian, 1900, 2, 29, 2415092},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DateSet set;
        set.yearText = QString::number(c.year);
        set.monthIndex = c.month;
        set.dayIndex = c.day;
        set.calendar = c.calendar;
        SetMinuteOfDay(set, 0);
        const Expected<double, DateError> local = InputDateToLocalJD(set);
        if (c.jdn == 0) {
            EXPECT_EQ(local, Fail(DateError::DoesNotExist));
            continue;
        }
        EXPECT_EQ(local, c.jdn);
        EuroDateRecord back;
        back.jdn = c.jdn;
        back.calendar = CalendarLetterOfJdn(c.calendar, c.jdn);
        JDNToEuroDate(back);
        EXPECT_EQ(std::tuple(back.year, back.month, back.day), std::tuple(c.year, c.month, c.day));
    }
    EXPECT_EQ(JDNToLongDate(2299160, false, CalendarChoice::Auto),
              QStringLiteral("October 4, 1582"));
    EXPECT_EQ(JDNToLongDate(2299160, false), QStringLiteral("October 14, 1582"));
}
