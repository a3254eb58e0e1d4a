#pragma once
// How orbivex-cli reads its dates. Every date, time and zone it is given is read into a date
// set of the program, the entries a user picks in the window, and converted by the window's own
// code (InputDateToAJDate), so that a date that does not convert gets the window's message.
// The readers here only check how a text is written; a text not written as asked is a usage
// error. The forms:
//   a day   "YYYY-MM-DD"; a leading minus gives a year before year 1
//   DATE    a day, then optionally " HH:MM" and " ZONE"
//   a time  "HH:MM", any minute
//   a zone  an entry of the program's time-zone list: "GMT", "GMT+5:30", "GMT-11:00",
//           "+05:30", "-11:00", "GMT+13:45" or a North American name such as "EST/CDT"

#include "calendar/DateInput.h"
#include "cli/Commands.h"
#include "core/Zodiac.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <optional>
#include <span>

namespace orbivex::cli {

// The zones every command takes, as help texts and messages name them.
QString ZoneFormsText();

// Each reader fills its entries of dateSet from text, or returns the message of a usage error
// and leaves dateSet as it was.
Status ReadDayText(const QString& text, DateSet& dateSet);  // year, month, day
Status ReadTimeText(const QString& text, DateSet& dateSet); // hour entry
Status ReadZoneText(const QString& text, DateSet& dateSet); // time-zone entry
// A DATE: a time or a zone it does not give leaves its entry empty, for the conversion to
// choose as the window does (12:00, the computer's zone).
Status ReadDateText(const QString& text, DateSet& dateSet);

// --calendar CALENDAR: gregorian, julian or auto, for every command that reads dates.
QCommandLineOption CalendarOption();
// When the parser has --calendar, sets the calendar of the date sets; the message of a usage
// error for a name it does not know. Without the option nothing changes.
Status ApplyCalendarOption(const QCommandLineParser& parser, const QCommandLineOption& option,
                           std::span<DateSet> dateSets);

// Month 1..12 of a number or an English month name (full or abbreviated, any case); 0 otherwise.
int MonthOfText(const QString& text);

// --zodiac ZODIAC: j2000 or date, for the commands that write signs.
QCommandLineOption ZodiacOption();
// When the parser has --zodiac, sets the zodiac; the message otherwise.
Status ApplyZodiacOption(const QCommandLineParser& parser, const QCommandLineOption& option,
                         ZodiacChoice& zodiac);
// The date set of today's date on the computer's clock, written in the calendar, with no hour
// and no zone chosen.
DateSet TodayDateSet(CalendarChoice calendar = CalendarChoice::Gregorian);
// The date set of the civil day dayNumber with the hour and zone entries of `like`.
DateSet DateSetOfDay(int dayNumber, const DateSet& like);

// A converted date set as a DATE that reads back to the same instant: "2024-03-20 12:00 GMT",
// the zone as the list names it ("GMT" when no zone was chosen and none was preselected, as the
// conversion then counts the time at Greenwich).
QString DateSetText(const DateSet& dateSet, const TimeZones& zones);

// Converts dateSet as the window converts its date set `index` (0 world date, 1 and 2 the
// birthdates), choosing the hour and zone as the window does. Returns the Julian date (UT); or
// writes the window's message for a date that does not convert (and after it `note`, when
// given) and returns nothing, with `status` set to ExitDateError (ExitFailure when the program
// texts that hold the message cannot be read).
std::optional<double> ConvertDateSet(Context& context, DateSet& dateSet, const TimeZones& zones,
                                     int index, int& status, const QString& note = {});

} // namespace orbivex::cli
