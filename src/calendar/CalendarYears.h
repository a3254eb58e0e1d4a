#pragma once
// The years the program converts: 1 to 2799 of the calendar a date is written in. The Julian
// calendar's year 1 begins two days before the Gregorian one, and its year 2800 nineteen days
// after, so the day numbers of the range depend on the calendar.

#include "calendar/Calendar.h"

#include <cstdint>

namespace orbivex {

inline constexpr std::int32_t JdnOfJulianYearOne = 1721424;  // Julian 1 January 1
inline constexpr std::int32_t JdnOfJulianYear2800 = 2743758; // Julian 1 January 2800

// The first day of year 1 and the first day of year 2800 in the choice (with Auto, year 1 is
// Julian and year 2800 Gregorian).
constexpr std::int32_t FirstDayOfCalendar(CalendarChoice choice) {
    return choice == CalendarChoice::Gregorian ? JdnOfYearOne : JdnOfJulianYearOne;
}
constexpr std::int32_t EndDayOfCalendar(CalendarChoice choice) {
    return choice == CalendarChoice::Julian ? JdnOfJulianYear2800 : JdnOfYear2800;
}

// Whether the day lies in the years 1 to 2799 of the choice.
constexpr bool DayInCalendarYears(CalendarChoice choice, std::int32_t jdn) {
    return jdn >= FirstDayOfCalendar(choice) && jdn < EndDayOfCalendar(choice);
}

} // namespace orbivex
