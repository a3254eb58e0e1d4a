#pragma once
// The date, time and zone options shared by orbivex-cli commands:
//   a date  "YYYY-MM-DD" in the proleptic Gregorian calendar, years 1 to 2799;
//   a time  "HH:MM" on the hour or the half hour;
//   a zone  an entry of the program's time-zone list: "GMT", "GMT+5:30", "GMT-11:00", "+05:30",
//           "-11:00", "GMT+13:45" or a North American name such as "EST/CDT".

#include "cli/Commands.h"

#include <QString>

namespace orbivex::cli {

inline constexpr int FirstDayNumber = 1721426; // 1 January 1
inline constexpr int EndDayNumber = 2743739;   // 1 January 2800, the first day out of range

// A parsed option: its value, or the exit status and a message saying what is wrong.
struct OptionValue {
    int value = 0;
    int status = ExitSuccess;
    QString message;

    bool ok() const { return status == ExitSuccess; }
};

// "YYYY-MM-DD" to its day number. ExitUsage when the text is not written so; ExitDateError
// for a date before year 1, from year 2800 on, or one that does not exist.
OptionValue ParseDate(const QString& text);

// "HH:MM" to minutes after midnight; ExitUsage unless it is a time on a half hour.
OptionValue ParseTimeOfDay(const QString& text);

// The zones every command takes, as help texts and messages name them.
QString ZoneFormsText();

// A zone to its entry (1..54) of the time-zone list; ExitUsage for a zone the list lacks.
OptionValue ParseZoneEntry(const QString& text);

// A zone to minutes east of Greenwich; ExitUsage for a zone the time-zone list lacks.
OptionValue ParseZone(const QString& text);

// Month 1..12 of a number or an English month name (full or abbreviated, any case); 0 otherwise.
int MonthOfText(const QString& text);

// The day number of today's local date.
int TodayDayNumber();

// "YYYY-MM-DD" of a day number.
QString DateText(int dayNumber);

// The Julian date on Universal Time of a local date and time in a zone.
double JulianDateOf(int dayNumber, int minutes, int zoneMinutes);

} // namespace orbivex::cli
