#include "calendar/DateInput.h"
#include "calendar/ChartSubject.h"

#include "calendar/Calendar.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

using namespace Qt::StringLiterals;

using namespace orbivex;

namespace {

DateSet Entered(const char* year, int month, int day, int hour = 0, int zone = 0) {
    DateSet set;
    set.yearText = QString::fromUtf8(year);
    set.monthIndex = month;
    set.dayIndex = day;
    set.hourIndex = hour;
    set.timezoneIndex = zone;
    return set;
}

constexpr int Hour(int hours, int minutes = 0) {
    return 2 * hours + 1 + (minutes == 30 ? 1 : 0);
}

constexpr int Zone(int offsetMinutes) {
    return GreenwichTimezoneEntry + offsetMinutes / 30;
}

} // namespace

TEST(HourList, FortyNineEntriesOfHalfHours) {
    const QStringList texts = HourListTexts();
    ASSERT_EQ(texts.size(), HourEntryCount);
    EXPECT_EQ(texts[0], u""_s);
    EXPECT_EQ(texts[1], u"00:00"_s);
    EXPECT_EQ(texts[2], u"00:30"_s);
    EXPECT_EQ(texts[NoonHourEntry], u"12:00"_s);
    EXPECT_EQ(texts[48], u"23:30"_s);
    for (int entry = 1; entry < HourEntryCount; ++entry) {
        EXPECT_EQ(HourEntryOfText(texts[entry]), entry) << entry;
    }
    EXPECT_EQ(HourEntryOfText(QStringLiteral("9:30")), Hour(9, 30));
    for (const char* bad : {"", "24:00", "10:15", "10", "1030", "-1:00", "10:00:00", "ab:00", "1:5",
                            ":30", "123:00", "1:300", "１0:00"}) {
        EXPECT_EQ(HourEntryOfText(QString::fromUtf8(bad)), -1) << bad;
    }
}

TEST(TimezoneList, TextsAndOffsets) {
    const TimezoneList list = BuildTimezoneList(false);
    const std::pair<int, const char*> texts[] = {
        {0, ""},           {1, "GMT-11:30"},  {2, "GMT-11:00"}, {3, "GMT-10:30"}, {22, "GMT-1:00"},
        {23, "GMT-0:30"},  {24, "GMT"},       {25, "GMT+0:30"}, {26, "GMT+1:00"}, {35, "GMT+5:30"},
        {46, "GMT+11:00"}, {47, "GMT+11:30"}, {14, "GMT-5:00"},
    };
    for (const auto& [entry, text] : texts) {
        EXPECT_EQ(list[entry].text, QString::fromUtf8(text)) << entry;
    }
    EXPECT_EQ(list[0].offsetMinutes, 0);
    for (int j = 1; j < 48; ++j) {
        EXPECT_EQ(list[j].offsetMinutes, (j - 24) * 30) << j;
    }
    // The zones beyond +11:30 and on a quarter hour follow, so stored indices keep their zone.
    const std::tuple<int, const char*, int> appended[] = {
        {48, "GMT+12:00", 720}, {49, "GMT+13:00", 780}, {50, "GMT+14:00", 840},
        {51, "GMT+5:45", 345},  {52, "GMT+8:45", 525},  {53, "GMT+12:45", 765},
        {54, "GMT+13:45", 825},
    };
    ASSERT_EQ(TimezoneEntryCount, 55);
    for (const auto& [entry, text, offset] : appended) {
        EXPECT_EQ(list[entry].text, QString::fromUtf8(text)) << entry;
        EXPECT_EQ(list[entry].offsetMinutes, offset) << entry;
    }
    for (int j = 0; j < TimezoneEntryCount; ++j) {
        EXPECT_EQ(TimezoneEntryOffset(j), list[j].offsetMinutes) << j;
        if (j > 0) {
            EXPECT_EQ(TimezoneEntryOfText(list[j].text), j) << j;
        }
    }
}

TEST(TimezoneList, NorthAmericanNamesReplaceTenTexts) {
    const TimezoneList plain = BuildTimezoneList(false);
    const TimezoneList named = BuildTimezoneList(true);
    const std::pair<int, const char*> names[] = {
        {4, "HAST"},     {6, "AKST/HADT"}, {8, "PST/AKDT"}, {10, "MST/PDT"}, {12, "CST/MDT"},
        {14, "EST/CDT"}, {16, "AST/EDT"},  {17, "NST"},     {18, "ADT"},     {19, "NDT"},
    };
    int replaced = 0;
    for (int j = 0; j < TimezoneEntryCount; ++j) {
        EXPECT_EQ(named[j].offsetMinutes, plain[j].offsetMinutes);
        replaced += named[j].text != plain[j].text ? 1 : 0;
    }
    EXPECT_EQ(replaced, 10);
    for (const auto& [entry, name] : names) {
        EXPECT_EQ(named[entry].text, QString::fromUtf8(name)) << entry;
        EXPECT_EQ(TimezoneEntryOfText(QString::fromUtf8(name)), entry) << name;
    }
    EXPECT_EQ(named[14].offsetMinutes, -300);
    EXPECT_TRUE(IsNorthAmericanZoneName(QStringLiteral(" pst/akdt")));
    EXPECT_FALSE(IsNorthAmericanZoneName(QStringLiteral("GMT-8:00")));
}

TEST(TimezoneList, EntryOfAnOffsetText) {
    EXPECT_EQ(TimezoneEntryOfText(QStringLiteral("+05:30")), Zone(330));
    EXPECT_EQ(TimezoneEntryOfText(QStringLiteral("-11:30")), 1);
    EXPECT_EQ(TimezoneEntryOfText(QStringLiteral("+00:00")), GreenwichTimezoneEntry);
    EXPECT_EQ(TimezoneEntryOfText(QStringLiteral("-0:00")), GreenwichTimezoneEntry);
    EXPECT_EQ(TimezoneEntryOfText(QStringLiteral("gmt+1:00")), Zone(60));
    EXPECT_EQ(TimezoneEntryOfText(QStringLiteral("est/cdt")), Zone(-300));
    EXPECT_EQ(TimezoneEntryOfText(QStringLiteral("+05:45")), 51);
    EXPECT_EQ(TimezoneEntryOfText(QStringLiteral("+14:00")), 50);
    EXPECT_EQ(TimezoneEntryOfText(QStringLiteral("gmt+13:45")), 54);
    for (const char* bad : {"", "-12:00", "+14:30", "+5:15", "+5:60", "-5:45", "05:30", "GMT5:30",
                            "UTC", "+5", "GMT+", "GMT 5:30", "+5:3", "GMTGMT+1:00", "+-1:00"}) {
        EXPECT_EQ(TimezoneEntryOfText(QString::fromUtf8(bad)), -1) << bad;
    }
}

TEST(TimezoneList, DefaultEntryForTheComputersOffset) {
    const TimezoneList list = BuildTimezoneList(false);
    const std::pair<int, int> cases[] = {
        {0, GreenwichTimezoneEntry},
        {60, 26},
        {690, 47},
        {-690, 1},
        {720, 48},
        {840, 50},
        {345, 51}, // Nepal keeps its quarter hour
        {765, 53},
        {-720, 0}, // no entry
        {315, 0},
    };
    for (const auto& [offset, entry] : cases) {
        EXPECT_EQ(DefaultTimezoneIndex(list, offset), entry) << offset;
        const TimeZones zones = MakeTimeZones(offset, false);
        EXPECT_EQ(zones.localOffsetMinutes, offset);
        EXPECT_EQ(zones.defaultIndex, entry) << offset;
    }
}

TEST(TimezoneList, SetUpKeepsOrResetsTheSelections) {
    TimeZones zones = MakeTimeZones(60, false);
    DateSets sets{Entered("2000", 1, 1, 0, 14), Entered("2000", 1, 1, 0, 30),
                  Entered("2000", 1, 1, 0, 99)};
    SetUpTimezoneComboBoxes(zones, sets, true, true);
    EXPECT_TRUE(zones.northAmericanNames);
    EXPECT_EQ(zones.list[14].text, u"EST/CDT"_s);
    EXPECT_EQ(sets[0].timezoneIndex, 14);
    EXPECT_EQ(sets[1].timezoneIndex, 30);
    EXPECT_EQ(sets[2].timezoneIndex, 0); // was outside the list
    EXPECT_EQ(zones.defaultIndex, 26);
    SetUpTimezoneComboBoxes(zones, sets, false, false);
    EXPECT_EQ(zones.list[14].text, u"GMT-5:00"_s);
    for (const DateSet& set : sets) {
        EXPECT_EQ(set.timezoneIndex, 0);
    }
}

TEST(DateConversion, WorldDateExamples) {
    const TimeZones zones = MakeTimeZones(0, false);
    DateSet set = Entered("2000", 1, 1, Hour(0), Zone(60));
    EXPECT_NEAR(InputDateToAJDate(set, zones).value(), 2451544.458333333, 1e-9);
    set = Entered("2000", 1, 1, Hour(0), GreenwichTimezoneEntry);
    EXPECT_DOUBLE_EQ(InputDateToAJDate(set, zones).value(), 2451544.5);
    set = Entered("2000", 1, 1, Hour(13, 30), Zone(-330));
    EXPECT_NEAR(InputDateToAJDate(set, zones).value(), 2451544.5 + (13.5 + 5.5) / 24.0, 1e-9);
    EXPECT_NEAR(InputDateToLocalJD(set).value(), 2451545.0 + 13.5 / 24.0, 1e-9);

    // North American names convert as the plain entries at the same offsets.
    TimeZones named = MakeTimeZones(0, true);
    DateSet est = Entered("2024", 3, 1, Hour(8), TimezoneEntryOfText(QStringLiteral("EST/CDT")));
    DateSet gmt = Entered("2024", 3, 1, Hour(8), TimezoneEntryOfText(QStringLiteral("GMT-5:00")));
    EXPECT_DOUBLE_EQ(InputDateToAJDate(est, named).value(), InputDateToAJDate(gmt, zones).value());
    EXPECT_EQ(InputDateToString(est, named, false), u"March 1, 2024, 08:00 (EST/CDT)"_s);
}

TEST(DateConversion, YearTextIsReadByItsDigitsAndShownCleaned) {
    const TimeZones zones = MakeTimeZones(0, false);
    const DateSet set = Entered(" 2,024 ", 1, 5, Hour(12), GreenwichTimezoneEntry);
    EXPECT_DOUBLE_EQ(InputDateToLocalJD(set).value(), 2460315.5);
    EXPECT_EQ(set.yearText, QStringLiteral(" 2,024 ")); // the conversion leaves its input alone
    EXPECT_EQ(DateSetAsConverted(set, zones).yearText, QStringLiteral("2024"));
    // A failed conversion shows the cleaned year too, and nothing else changes.
    const DateSet bad = Entered("20x23", 2, 29);
    EXPECT_EQ(InputDateToAJDate(bad, zones), Fail(DateError::DoesNotExist));
    DateSet expected = bad;
    expected.yearText = QStringLiteral("2023");
    EXPECT_EQ(DateSetAsConverted(bad, zones), expected);
}

TEST(DateConversion, ErrorCodes) {
    const TimeZones zones = MakeTimeZones(0, false);
    struct Case {
        const char* year;
        int month;
        int day;
        DateError expected;
    };
    const Case cases[] = {
        {"", 1, 1, DateError::Incomplete},
        {"abc", 1, 1, DateError::Incomplete},
        {"2000", 0, 1, DateError::Incomplete},
        {"2000", 1, 0, DateError::Incomplete},
        {"2000", -1, 1, DateError::Incomplete},
        {"2023", 2, 29, DateError::DoesNotExist},
        {"2024", 4, 31, DateError::DoesNotExist},
        {"2024", 13, 1, DateError::DoesNotExist},
        {"2024", 1, 32, DateError::DoesNotExist},
        {"0", 1, 1, DateError::BeforeYearOne},
        {"0000", 1, 1, DateError::BeforeYearOne},
        {"2800", 1, 1, DateError::FromYear2800},
        {"9999", 12, 31, DateError::FromYear2800},
        {"12345678901234567890", 1, 1, DateError::FromYear2800},
        {"99999999999999999999999999999999999999", 1, 1, DateError::FromYear2800},
        // A year of nothing but zeros, however long, is year 0.
        {"00000000000000000000", 1, 1, DateError::BeforeYearOne},
    };
    for (const Case& c : cases) {
        DateSet set = Entered(c.year, c.month, c.day);
        EXPECT_EQ(InputDateToAJDate(set, zones), Fail(c.expected))
            << c.year << '-' << c.month << '-' << c.day;
        EXPECT_EQ(set.hourIndex, 0) << c.year;
        DateSet local = Entered(c.year, c.month, c.day);
        EXPECT_EQ(InputDateToLocalJD(local), Fail(c.expected)) << c.year;
        // A subject of the same numbers gives the same error.
        bool number = false;
        const int year = QString::fromUtf8(c.year).toInt(&number);
        if (number) {
            ChartSubject subject;
            subject.year = year;
            subject.month = c.month;
            subject.day = c.day;
            EXPECT_EQ(LocalDayOfSubject(subject), Fail(c.expected)) << c.year;
        }
    }
    // A minus sign is not kept: "-5" is year 5.
    DateSet signedYear = Entered("-5", 1, 1);
    EXPECT_GT(InputDateToAJDate(signedYear, zones).value(), 0.0);
    EXPECT_EQ(DateSetAsConverted(signedYear, zones).yearText, QStringLiteral("5"));
}

TEST(DateConversion, EdgesOfTheYearRange) {
    const TimeZones zones = MakeTimeZones(0, false);
    DateSet last = Entered("2799", 12, 31, Hour(23, 30), GreenwichTimezoneEntry);
    EXPECT_NEAR(InputDateToAJDate(last, zones).value(), 2743738.0 + 23.5 / 24.0 - 0.5, 1e-9);
    DateSet first = Entered("1", 1, 1, Hour(0), GreenwichTimezoneEntry);
    EXPECT_DOUBLE_EQ(InputDateToAJDate(first, zones).value(), 1721425.5);
    DateSet leap = Entered("2024", 2, 29, Hour(0), GreenwichTimezoneEntry);
    EXPECT_GT(InputDateToAJDate(leap, zones).value(), 0.0);
    DateSet leadingZeros = Entered("0002024", 2, 29, Hour(0), GreenwichTimezoneEntry);
    EXPECT_EQ(InputDateToAJDate(leadingZeros, zones), InputDateToAJDate(leap, zones));
}

TEST(DateConversion, EmptyHourAndZoneTakeTheirDefaults) {
    // A computer at +1:00: the empty zone becomes GMT+1:00, the empty hour 12:00.
    const TimeZones zones = MakeTimeZones(60, false);
    DateSet set = Entered("2000", 1, 1);
    EXPECT_NEAR(InputDateToAJDate(set, zones).value(), 2451545.0 - 1.0 / 24.0, 1e-9);
    set = DateSetAsConverted(set, zones);
    EXPECT_EQ(set.hourIndex, NoonHourEntry);
    EXPECT_EQ(set.timezoneIndex, 26);
    EXPECT_EQ(InputDateToString(set, zones, false), u"January 1, 2000, 12:00 (GMT+1:00)"_s);

    // An empty zone takes the computer's offset, also east of +11:30 and on a quarter hour.
    for (const int offset : {345, 780, 825}) {
        const TimeZones local = MakeTimeZones(offset, false);
        set = Entered("2000", 1, 1, Hour(0));
        EXPECT_NEAR(InputDateToAJDate(set, local).value(), 2451544.5 - offset / 1440.0, 1e-9)
            << offset;
        EXPECT_EQ(TimezoneEntryOffset(DateSetAsConverted(set, local).timezoneIndex), offset);
    }

    // An offset no entry has leaves the zone empty, and it counts as Greenwich.
    const TimeZones farWest = MakeTimeZones(-720, false);
    set = Entered("2000", 1, 1, Hour(0));
    EXPECT_DOUBLE_EQ(InputDateToAJDate(set, farWest).value(), 2451544.5);
    EXPECT_EQ(set.timezoneIndex, 0);
    EXPECT_EQ(InputDateToString(set, farWest, false), u"January 1, 2000, 00:00 ()"_s);

    // Entries outside the lists count as empty.
    set = Entered("2000", 1, 1, 77, 99);
    EXPECT_NEAR(InputDateToAJDate(set, zones).value(), 2451545.0 - 1.0 / 24.0, 1e-9);
    set = DateSetAsConverted(set, zones);
    EXPECT_EQ(set.hourIndex, NoonHourEntry);
    EXPECT_EQ(set.timezoneIndex, 26);
}

TEST(DateConversion, TextOfADateSet) {
    const TimeZones zones = MakeTimeZones(0, false);
    DateSet set = Entered("2024", 1, 5, Hour(12), Zone(60));
    EXPECT_EQ(InputDateToString(set, zones, false), u"January 5, 2024, 12:00 (GMT+1:00)"_s);
    set = Entered("1999", 9, 30, Hour(23, 30), Zone(-570));
    EXPECT_EQ(InputDateToString(set, zones, true), u"Sept. 30, 1999, 23:30 (GMT-9:30)"_s);
    set = Entered("1999", 9, 31, Hour(23, 30), Zone(-570));
    EXPECT_EQ(InputDateToString(set, zones, true), u""_s);
}

TEST(WorldDateNow, RoundsToTheHalfHourInTheLocalZone) {
    const TimeZones zones = MakeTimeZones(60, false);
    DateSet world;
    ASSERT_TRUE(SetWorldDateToNow(world, zones, QDateTime(QDate(2023, 12, 31), QTime(23, 50)), 60));
    EXPECT_EQ(world.yearText, u"2024"_s);
    EXPECT_EQ(world.monthIndex, 1);
    EXPECT_EQ(world.dayIndex, 1);
    EXPECT_EQ(world.hourIndex, Hour(0));
    EXPECT_EQ(world.timezoneIndex, 26);

    ASSERT_TRUE(
        SetWorldDateToNow(world, zones, QDateTime(QDate(2024, 2, 29), QTime(14, 16, 5)), 60));
    EXPECT_EQ(world.yearText, u"2024"_s);
    EXPECT_EQ(world.monthIndex, 2);
    EXPECT_EQ(world.dayIndex, 29);
    EXPECT_EQ(world.hourIndex, Hour(14, 30));

    // East of +11:30 and on a quarter hour the clock's own zone is chosen: the date and time
    // are the clock's, and they convert back to the same instant.
    for (const int offset : {345, 780, 840, 765}) {
        const TimeZones local = MakeTimeZones(offset, false);
        const QDateTime clock(QDate(2024, 5, 1), QTime(10, 0));
        ASSERT_TRUE(SetWorldDateToNow(world, local, clock, offset));
        EXPECT_EQ(world.dayIndex, 1);
        EXPECT_EQ(world.hourIndex, Hour(10));
        EXPECT_EQ(TimezoneEntryOffset(world.timezoneIndex), offset);
        EXPECT_DOUBLE_EQ(InputDateToAJDate(world, local).value(), NowAsJulianDate(clock, offset));
    }

    const DateSet before = world;
    EXPECT_FALSE(SetWorldDateToNow(world, zones, QDateTime(), 0));
    EXPECT_EQ(world.yearText, before.yearText);
    EXPECT_EQ(world.hourIndex, before.hourIndex);

    // The present moment converts back to within a quarter hour of now.
    DateSet now;
    const TimeZones here = MakeTimeZones(TimezoneOffsetMinutes(), false);
    ASSERT_TRUE(SetWorldDateToNow(now, here));
    const double jd = InputDateToAJDate(now, here).value();
    EXPECT_NEAR(jd, NowAsJulianDate(), 31.0 / 1440.0);
}

TEST(WorldDateNow, DayOfWeekTip) {
    DateSet set = Entered("2000", 1, 1);
    EXPECT_EQ(UpdateDayOfWeekTip(set), u"Saturday"_s);
    set = Entered("2000", 2, 30);
    EXPECT_EQ(UpdateDayOfWeekTip(set), u""_s);
    set = Entered("", 1, 1);
    EXPECT_EQ(UpdateDayOfWeekTip(set), u""_s);
}

TEST(TypedMinute, ConvertsShowsAndKeepsTheNearestHalfHourBesideIt) {
    const TimeZones zones = MakeTimeZones(0, false);
    struct Case {
        int minute;
        int hourEntry; // the list entry kept beside it
        int typed;     // what typedMinute holds
        const char* text;
    };
    const Case cases[] = {
        {9 * 60 + 17, Hour(9), 9 * 60 + 17, "09:17"},
        {9 * 60 + 30, Hour(9, 30), -1, "09:30"}, // on the list: the entry alone
        {0, Hour(0), -1, "00:00"},
        {23 * 60 + 59, Hour(23, 30), 23 * 60 + 59, "23:59"},
        {-1, 0, -1, ""},
        {MinutesPerDay, 0, -1, ""},
    };
    for (const Case& c : cases) {
        DateSet set = Entered("2000", 1, 1, Hour(5), GreenwichTimezoneEntry);
        SetMinuteOfDay(set, c.minute);
        EXPECT_EQ(set.hourIndex, c.hourEntry) << c.text;
        EXPECT_EQ(set.typedMinute, c.typed) << c.text;
        EXPECT_EQ(TimeOfDayOfDateSet(set), QString::fromUtf8(c.text));
        EXPECT_EQ(MinuteOfText(QString::fromUtf8(c.text)),
                  c.text[0] ? std::optional(c.minute) : std::nullopt);
        const int used = c.text[0] ? c.minute : 12 * 60; // no time counts as noon
        EXPECT_NEAR(InputDateToAJDate(set, zones).value(), 2451544.5 + used / 1440.0, 1e-9)
            << c.text;
    }
    DateSet typed = Entered("2024", 1, 5, 0, Zone(60));
    SetMinuteOfDay(typed, 14 * 60 + 7);
    EXPECT_EQ(InputDateToString(typed, zones, false),
              QStringLiteral("January 5, 2024, 14:07 (GMT+1:00)"));
    EXPECT_EQ(MinuteOfText(u"24:00"), std::nullopt);
    EXPECT_EQ(MinuteOfText(u"7:5"), std::nullopt);
}

TEST(TypedMinute, NowKeepsTheMinuteWhenOneIsTyped) {
    const TimeZones zones = MakeTimeZones(60, false);
    DateSet world = Entered("2000", 1, 1);
    SetMinuteOfDay(world, 8 * 60 + 1);
    ASSERT_TRUE(
        SetWorldDateToNow(world, zones, QDateTime(QDate(2024, 2, 29), QTime(14, 16, 5)), 60));
    EXPECT_EQ(TimeOfDayOfDateSet(world), QStringLiteral("14:16"));
    EXPECT_EQ(world.dayIndex, 29);
}
