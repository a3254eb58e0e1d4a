#pragma once
// The texts of dates and times: long dates (January 5, 2024), their abbreviated form
// (Sept. 30, 1999), the numeric date of the chart (2024-01-05), the time of day (14:30) and
// weekday names. The names are built-in English, not program texts.

#include "calendar/Calendar.h"

#include <QString>
#include <array>
#include <cstdint>

namespace orbivex {

// Month names indexed 1 to 12 (index 0 is empty), full and abbreviated.
inline constexpr std::array<const char*, 13> MonthNames{
    "",     "January", "February",  "March",   "April",    "May",     "June",
    "July", "August",  "September", "October", "November", "December"};
inline constexpr std::array<const char*, 13> MonthNamesAbbreviated{
    "",     "Jan.", "Feb.",  "Mar.", "Apr.", "May", "June",
    "July", "Aug.", "Sept.", "Oct.", "Nov.", "Dec."};

// Weekday names indexed 0 Sunday to 6 Saturday.
inline constexpr std::array<const char*, 7> WeekdayNames{
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

// The name of month 1 to 12; "" for any other value.
QString MonthName(int month, bool abbreviated);

// "January 5, 2024" (abbreviated: "Jan. 5, 2024") for a day number, written in the calendar
// chosen; "" for a day number the calendar cannot convert.
QString JDNToLongDate(std::int32_t jdn, bool abbreviated,
                      CalendarChoice calendar = CalendarChoice::Gregorian);

// The numeric date of a record: year (minus sign when negative, no leading zeros), "-", month
// and day as two digits each: "2024-01-05", "812-03-05".
QString FormatEuroDate(const EuroDateRecord& record);

// The time of day of a fraction of a day as "HH:MM" ("15:00" for 0.625); "XX:XX:XX" for a
// fraction outside [0, 1). A value a hair below a whole second is not cut down to the second
// before.
QString TimeOfDayText(double fraction);

// The name of weekday 0 (Sunday) to 6 (Saturday); "" for any other value.
QString DayOfWeekName(int weekday);

} // namespace orbivex
