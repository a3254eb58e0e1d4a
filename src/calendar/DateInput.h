#pragma once
// The three date sets of the main window (world date, first and second birthdate) as plain
// data, the hour and time-zone lists they choose from, and their conversion into Julian dates
// and texts. The window binds its year box and lists to a DateSet; every rule lives here.

#include "calendar/Calendar.h"
#include "calendar/NamedZones.h"
#include "support/Expected.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace orbivex {

// Date-set indices.
inline constexpr int WorldDate = 0;
inline constexpr int FirstBirthdate = 1;
inline constexpr int SecondBirthdate = 2;
inline constexpr int NumDateSets = 3;

// Why a date set does not convert.
enum class DateError {
    Incomplete,    // year empty, or month or day not chosen
    DoesNotExist,  // no such day in that month and year
    BeforeYearOne, // year 0 or less
    FromYear2800,  // year 2800 or later
    UnknownZone,   // a zone name the time-zone database lacks
};

// Entries of the lists, the empty entry 0 included.
inline constexpr int MonthEntryCount = 13; // 1..12: January ... December
inline constexpr int DayEntryCount = 32;   // 1..31
inline constexpr int HourEntryCount = 49;  // entry k: (k - 1) * 30 minutes after midnight
// Entries 1..47 of the time-zone list are (j - 24) * 30 minutes east of Greenwich; the zones
// beyond +11:30 and those on a quarter hour follow them, so that the indices that state files
// store keep their meaning.
inline constexpr int TimezoneEntryCount = 55;
// The hour entry chosen when none is: 12:00.
inline constexpr int NoonHourEntry = HourEntryCount / 2 + 1;
// The time-zone entry of Greenwich.
inline constexpr int GreenwichTimezoneEntry = 24;

// One date set as the user entered it: the year exactly as typed, and the selected entry of
// each list (0 is the empty entry).
struct DateSet {
    QString yearText;
    int monthIndex = 0;
    int dayIndex = 0;
    int hourIndex = 0;
    int timezoneIndex = 0;
    // A time typed into the hour box that its list does not hold, in minutes after midnight
    // (0..1439); -1 while the hour list's entry is the time. With a typed minute, hourIndex is
    // the list entry at or before it, so that everything reading only the list still finds
    // the nearest half hour.
    int typedMinute = -1;
    // A zone named as in the time-zone database ("Europe/Paris"), typed into the zone box; ""
    // while the zone list's entry is the zone. A named zone has no list entry: timezoneIndex
    // is then 0.
    QString zoneName{};
    // The calendar the date is written in (the program's calendar option).
    CalendarChoice calendar = CalendarChoice::Gregorian;
    // Set when the date is read in the zone of its place of birth: the place's longitude
    // (degrees east). Where that zone kept its own local mean time, before its first change of
    // offset, the time is the local mean time of this longitude instead. Typing another zone
    // (SetZoneText with a zone other than this one) clears it.
    std::optional<double> placeLongitude{};

    bool operator==(const DateSet&) const = default;
};

using DateSets = std::array<DateSet, NumDateSets>;

// The text of hour entry 0..48: "" for entry 0, then "00:00", "00:30" ... "23:30"; "" for an
// index outside the list.
QString HourEntryText(int index);
// All 49 texts of the hour list.
QStringList HourListTexts();
// The hours and minutes of a clock text, one or two digits, a colon and two digits ("9:30",
// "23:59", also "99:99"); nothing for any other text, white space included.
struct ClockTime {
    int hours = 0;
    int minutes = 0;
};
std::optional<ClockTime> ClockTimeOfText(QStringView text);

// The hour entry (1..48) of a time "HH:MM" (or "H:MM") on a whole or half hour; -1 otherwise.
int HourEntryOfText(const QString& text);

inline constexpr int MinutesPerDay = 1440;

// The minute of the day (0..1439) of a time "HH:MM" or "H:MM"; nothing for any other text.
std::optional<int> MinuteOfText(QStringView text);
// "HH:MM" of a minute of the day 0..1439; "" for any other value.
QString MinuteText(int minute);

// The time of day the date set holds, in minutes after midnight: the typed minute, else the
// hour entry's; -1 when no time is chosen.
int MinuteOfDay(const DateSet& dateSet);
// Sets the time of day: a time on the half hour selects its hour entry, any other the typed
// minute with the entry before it. A value outside 0..1439 chooses no time.
void SetMinuteOfDay(DateSet& dateSet, int minute);
// The time of day as the hour box shows it: "09:17", "12:30"; "" when none is chosen.
QString TimeOfDayOfDateSet(const DateSet& dateSet);

struct TimezoneEntry {
    QString text;
    int offsetMinutes = 0; // east of Greenwich
};
using TimezoneList = std::array<TimezoneEntry, TimezoneEntryCount>;

// The time-zone list: entry 0 empty (offset 0), then "GMT-11:30" ... "GMT-0:30", "GMT",
// "GMT+0:30" ... "GMT+11:30" (entries 1..47), then "GMT+12:00", "GMT+13:00", "GMT+14:00",
// "GMT+5:45", "GMT+8:45", "GMT+12:45" and "GMT+13:45" (entries 48..54). With
// northAmericanNames, ten entries show a North American zone name ("EST/CDT" for -300 ...) in
// place of their text; offsets are the same.
TimezoneList BuildTimezoneList(bool northAmericanNames);
// The texts of a list, in entry order.
QStringList TimezoneListTexts(const TimezoneList& list);
// The offset in minutes east of Greenwich of entry 0..54; 0 for entry 0 and outside the list.
int TimezoneEntryOffset(int entry);
// The entry (1..54) of a zone text: "GMT", "GMT+5:30", "GMT-11:00", "GMT+5:45", a North
// American name ("EST/CDT"), or an offset "+HH:MM" / "-HH:MM" (also "GMT+05:30"); -1 when no
// entry has it.
int TimezoneEntryOfText(const QString& text);
// True for one of the ten North American zone names (any case).
bool IsNorthAmericanZoneName(const QString& text);

// What the main window keeps about the time-zone lists: the current list, the computer's
// offset and the entry preselected for it.
struct TimeZones {
    TimezoneList list = BuildTimezoneList(false);
    bool northAmericanNames = false;
    int localOffsetMinutes = 0; // LocalOffsetMinutes
    int defaultIndex = 0;       // DefaultTimezoneIndex; 0 when no entry has the local offset
};

// The first entry from 1 to 54 whose offset equals localOffsetMinutes; 0 when none does.
int DefaultTimezoneIndex(const TimezoneList& list, int localOffsetMinutes);
// The time-zone state for a computer whose offset is timezoneOffsetMinutes.
TimeZones MakeTimeZones(int timezoneOffsetMinutes, bool northAmericanNames);

// Rebuilds the time-zone list (with or without the North American names). With
// preserveIndices each date set keeps its time-zone entry (one outside the list becomes 0);
// without, every date set goes back to entry 0.
void SetUpTimezoneComboBoxes(TimeZones& zones, std::span<DateSet> dateSets, bool northAmericanNames,
                             bool preserveIndices);

// The local day number of the entered date plus the time of day as a fraction, or why it does
// not convert. The year is read from the digits of its text; no time chosen counts as 12:00 (an
// hour entry outside 1..48 counts as none).
Expected<double, DateError> InputDateToLocalJD(const DateSet& dateSet);

// The Julian date (UT) of the date set, or why it does not convert. A named zone gives the offset
// in force there at that local date and time (a skipped local time is read with the offset before
// the change, a doubled one as its first occurrence), or the local mean time of the date set's
// place (PlaceMeanTimeOffset). No zone chosen counts as the default zone (the computer's offset,
// when the list has it). A time-zone entry outside 1..54 counts as none.
Expected<double, DateError> InputDateToAJDate(const DateSet& dateSet, const TimeZones& zones);

// The offset in seconds east of Greenwich of the local mean time of the date set's place, when
// the date set is read in it: it has a place's longitude and its named zone kept its own local
// mean time at that date. Nothing otherwise.
std::optional<int> PlaceMeanTimeOffset(const DateSet& dateSet);

// The date set as the window shows it after a conversion: the year text in its digits and,
// when the date converts, 12:00 for no time and the default zone for no zone.
DateSet DateSetAsConverted(const DateSet& dateSet, const TimeZones& zones);

// Sets the calendar the date sets are written in; their year, month and day stay as entered.
void SetCalendar(std::span<DateSet> dateSets, CalendarChoice calendar);
// "gregorian", "julian" or "auto": the calendar's name in state files and on the command line.
QString CalendarName(CalendarChoice calendar);
// The calendar of a name (any case); nothing for another text.
std::optional<CalendarChoice> CalendarOfName(const QString& name);

// True when the date set has a zone: a named one or an entry of the list.
bool ZoneChosen(const DateSet& dateSet);
// The zone as the zone box shows it: the name, or the text of the list entry; "" for none.
QString ZoneTextOf(const DateSet& dateSet, const TimezoneList& list);
// Sets the zone from a text typed into the zone box or given to the CLI: a text of the list
// ("GMT+5:30", "+05:30", "EST/CDT") selects its entry, any other text that is not blank names
// a zone (which the conversion then looks up), a blank text chooses none.
void SetZoneText(DateSet& dateSet, const QString& text);

// How the date set's local date and time reads in its named zone; `known` is false when the
// date set has no named zone, its zone is not in the database or its date does not convert.
ZoneReading ReadLocalTimeOf(const DateSet& dateSet);

// The offset in minutes east of Greenwich (rounded) with which the date set converts; 0 when
// it does not convert or no zone applies.
int ZoneOffsetMinutes(const DateSet& dateSet, const TimeZones& zones);

// A local time that the date set's named zone skipped or had twice: the local day and minute as
// entered, the zone, and the reading the conversion chose.
struct UnusualLocalTime {
    std::int32_t day = 0; // the local day number
    int minute = 0;       // after midnight
    QString zone;
    ZoneReading reading;
};
// Nothing for a date set without a named zone, one whose zone the database lacks, one that does
// not convert or one whose local time happened once.
std::optional<UnusualLocalTime> UnusualLocalTimeOf(const DateSet& dateSet);

// "January 5, 2024, 12:00 (GMT+1:00)" (the month abbreviated when asked); "" when the date
// set does not convert.
QString InputDateToString(const DateSet& dateSet, const TimeZones& zones, bool abbreviated);

// Fills the world date with the local date and half hour of the instant whose local date-time
// is localNow in a zone timezoneOffsetMinutes east of Greenwich, shown in the zone of
// zones.localOffsetMinutes: year, month, day, the hour rounded to the half hour (23:50 becomes
// 00:00 of the next day) and the default zone. When the world date holds a typed minute, the
// time is the minute itself, not rounded. Returns false and changes nothing for an
// invalid date-time.
bool SetWorldDateToNow(DateSet& world, const TimeZones& zones, const QDateTime& localNow,
                       int timezoneOffsetMinutes);
// The same for the present instant of the computer's clock.
bool SetWorldDateToNow(DateSet& world, const TimeZones& zones);

// The tip of the day list: the weekday name of the entered date, "" when it does not convert.
QString UpdateDayOfWeekTip(const DateSet& dateSet);

} // namespace orbivex
