#pragma once
// Julian day numbers and the calendar rules. Dates are proleptic Gregorian unless a record or
// a date set asks for the Julian calendar, or for the calendar in force ("auto": Julian before
// 15 October 1582, Gregorian from then on).
//
// Julian day number (JDN): a civil day count; 1721426 is 1 January of year 1.
// Julian date (JD): a day count on Universal Time; civil day N begins at Greenwich at N - 0.5.

#include <QDateTime>
#include <cstdint>

namespace orbivex {

// The calendar letter of a record: 'G' the Gregorian calendar, 'J' the Julian calendar.
inline constexpr std::int32_t GregorianCalendar = 'G';
inline constexpr std::int32_t JulianCalendar = 'J';

// The calendar in which date texts and lists are read and written.
enum class CalendarChoice {
    Gregorian, // every year, also before 1582 (the default)
    Julian,    // every year, also after 1582
    Auto,      // Julian before 15 October 1582, Gregorian from then on
};
inline constexpr std::int32_t JdnOfGregorianReform = 2299161; // 15 October 1582

// The calendar letter in which a date (year, month, day) of the choice is read; for Auto a
// date before 15 October 1582 is Julian.
std::int32_t CalendarLetterOfDate(CalendarChoice choice, int year, int month, int day);
// The calendar letter in which a day number is written.
std::int32_t CalendarLetterOfJdn(CalendarChoice choice, std::int32_t jdn);
// True for a date that the choice does not have: with Auto, 5 to 14 October 1582, which the
// reform skipped.
bool SkippedByTheReform(CalendarChoice choice, int year, int month, int day);

inline constexpr std::int32_t JdnOfYearOne = 1721426;   // 1 January 1
inline constexpr std::int32_t JdnOfYear2800 = 2743739;  // 1 January 2800
inline constexpr std::int32_t JdnOfUnixEpoch = 2440588; // 1 January 1970

// The date record the conversions read and write.
struct EuroDateRecord {
    std::int32_t year = 0;  // 1 = year 1 of the common era
    std::int32_t month = 0; // 1 to 12
    std::int32_t day = 0;   // 1 to 31
    std::int32_t calendar = GregorianCalendar;
    std::int32_t jdn = 0;   // the Julian day number
    std::int32_t valid = 0; // non-zero when year, month and day form an existing date
};

// Converts the record's year, month and day to a day number in the record's calendar: stores it
// in jdn, sets valid (0 for a date that does not exist, such as 31 April, for a calendar letter
// other than 'G' or 'J', or for a year beyond +-32767, or before -4700 in the Julian calendar)
// and returns the day number (0 when not valid).
std::int32_t EuroDateToJDN(EuroDateRecord& record);

// Fills year, month and day from the record's jdn in the record's calendar. valid becomes
// non-zero on success; it is 0 (and the date fields 0) for a calendar letter other than 'G' or
// 'J' or a day number whose year lies beyond the calendar's range.
void JDNToEuroDate(EuroDateRecord& record);

// Weekday of a day number: 0 Sunday, 1 Monday ... 6 Saturday.
int DayOfWeekOfJDN(std::int32_t jdn);

// The offset of local time from Universal Time in minutes, positive east of Greenwich, at the
// instant `moment` in the time zone that `moment` carries (daylight-saving time included as the
// operating system reports it), rounded to the nearest minute. New York in winter gives -300.
int TimezoneOffsetMinutes(const QDateTime& moment);
// The same for the computer's time zone at the present instant.
int TimezoneOffsetMinutes();

// The instant whose local calendar date and time of day (whole seconds) are those of
// `localDateTime`, in a zone offsetMinutes east of Greenwich, as a Julian date (UT). Only the
// date and the time fields of localDateTime are read. NaN for an invalid date-time.
double NowAsJulianDate(const QDateTime& localDateTime, int offsetMinutes);
// The present instant as a Julian date (UT), read from the system clock and time zone.
double NowAsJulianDate();

// Rounds jd in place to the nearest half hour of its day fraction (a remainder of exactly 15
// minutes rounds down); 23:45:01 and later go to 00:00 of the next day. A whole jd is left as
// it is, and so is a value that is not finite.
void RoundToHalfHour(double& jd);

// The Gregorian leap-year rule; with calendar 'J', the Julian one (every fourth year).
bool IsLeapYear(int year, std::int32_t calendar = GregorianCalendar);

// Days in the month (1 to 12) of the year in the calendar; 0 for any other month value.
int DaysInMonth(int month, int year, std::int32_t calendar = GregorianCalendar);

} // namespace orbivex
