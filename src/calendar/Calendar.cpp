#include "calendar/Calendar.h"

#include "calendar/CalendarYears.h"
#include "support/Rounding.h"

#include <chrono>
#include <cmath>
#include <limits>
#include <tuple>

namespace orbivex {

namespace {

namespace chr = std::chrono;

// The years that std::chrono::year can hold, and the day numbers of their first and last day.
constexpr int FirstChronoYear = static_cast<int>(chr::year::min());
constexpr int LastChronoYear = static_cast<int>(chr::year::max());

constexpr std::int64_t JdnOf(const chr::year_month_day& date) {
    return chr::sys_days{date}.time_since_epoch().count() + JdnOfUnixEpoch;
}

constexpr std::int64_t FirstConvertibleJdn = JdnOf(chr::year{FirstChronoYear} / chr::January / 1);
constexpr std::int64_t LastConvertibleJdn = JdnOf(chr::year{LastChronoYear} / chr::December / 31);

static_assert(JdnOf(chr::year{1} / chr::January / 1) == JdnOfYearOne);
static_assert(JdnOf(chr::year{2800} / chr::January / 1) == JdnOfYear2800);

constexpr chr::sys_days DaysOfJdn(std::int32_t jdn) {
    return chr::sys_days{chr::days{static_cast<std::int64_t>(jdn) - JdnOfUnixEpoch}};
}

} // namespace

namespace {

// The Julian calendar's day numbers, by whole-number arithmetic that holds for every year from
// -4700 on (all the values it divides are then positive).
constexpr int FirstJulianYear = -4700;

constexpr std::int64_t JulianJdn(int year, int month, int day) {
    const int a = (14 - month) / 12;
    const std::int64_t y = static_cast<std::int64_t>(year) + 4800 - a;
    const int m = month + 12 * a - 3;
    return day + (153 * m + 2) / 5 + 365 * y + y / 4 - 32083;
}

static_assert(JulianJdn(1, 1, 1) == JdnOfJulianYearOne);
static_assert(JulianJdn(2800, 1, 1) == JdnOfJulianYear2800);

constexpr std::int64_t FirstJulianJdn =
    1 + (153 * 10 + 2) / 5 + 365 * static_cast<std::int64_t>(FirstJulianYear - 1 + 4800) +
    (FirstJulianYear - 1 + 4800) / 4 - 32083;

void JulianDate(std::int64_t jdn, EuroDateRecord& record) {
    const std::int64_t c = jdn + 32082;
    const std::int64_t d = (4 * c + 3) / 1461;
    const std::int64_t e = c - 1461 * d / 4;
    const std::int64_t m = (5 * e + 2) / 153;
    record.day = static_cast<std::int32_t>(e - (153 * m + 2) / 5 + 1);
    record.month = static_cast<std::int32_t>(m + 3 - 12 * (m / 10));
    record.year = static_cast<std::int32_t>(d - 4800 + m / 10);
}

} // namespace

std::int32_t CalendarLetterOfDate(CalendarChoice choice, int year, int month, int day) {
    switch (choice) {
    case CalendarChoice::Julian:
        return JulianCalendar;
    case CalendarChoice::Auto:
        return std::make_tuple(year, month, day) < std::make_tuple(1582, 10, 15)
                   ? JulianCalendar
                   : GregorianCalendar;
    case CalendarChoice::Gregorian:
        break;
    }
    return GregorianCalendar;
}

std::int32_t CalendarLetterOfJdn(CalendarChoice choice, std::int32_t jdn) {
    switch (choice) {
    case CalendarChoice::Julian:
        return JulianCalendar;
    case CalendarChoice::Auto:
        return jdn < JdnOfGregorianReform ? JulianCalendar : GregorianCalendar;
    case CalendarChoice::Gregorian:
        break;
    }
    return GregorianCalendar;
}

bool SkippedByTheReform(CalendarChoice choice, int year, int month, int day) {
    return choice == CalendarChoice::Auto && year == 1582 && month == 10 && day >= 5 && day <= 14;
}

std::int32_t EuroDateToJDN(EuroDateRecord& record) {
    record.valid = 0;
    record.jdn = 0;
    if (record.calendar == JulianCalendar) {
        if (record.year < FirstJulianYear || record.year > LastChronoYear || record.month < 1 ||
            record.month > 12 || record.day < 1 ||
            record.day > DaysInMonth(record.month, record.year, JulianCalendar)) {
            return 0;
        }
        record.jdn = static_cast<std::int32_t>(JulianJdn(record.year, record.month, record.day));
        record.valid = 1;
        return record.jdn;
    }
    if (record.calendar != GregorianCalendar || record.year < FirstChronoYear ||
        record.year > LastChronoYear || record.month < 1 || record.month > 12 || record.day < 1 ||
        record.day > 31) {
        return 0;
    }
    const chr::year_month_day date{chr::year{record.year},
                                   chr::month{static_cast<unsigned>(record.month)},
                                   chr::day{static_cast<unsigned>(record.day)}};
    if (!date.ok()) {
        return 0;
    }
    record.jdn = static_cast<std::int32_t>(JdnOf(date));
    record.valid = 1;
    return record.jdn;
}

void JDNToEuroDate(EuroDateRecord& record) {
    record.year = 0;
    record.month = 0;
    record.day = 0;
    record.valid = 0;
    if (record.calendar == JulianCalendar) {
        if (record.jdn < FirstJulianJdn || record.jdn > LastConvertibleJdn) {
            return;
        }
        JulianDate(record.jdn, record);
        record.valid = 1;
        return;
    }
    if (record.calendar != GregorianCalendar || record.jdn < FirstConvertibleJdn ||
        record.jdn > LastConvertibleJdn) {
        return;
    }
    const chr::year_month_day date{DaysOfJdn(record.jdn)};
    record.year = static_cast<int>(date.year());
    record.month = static_cast<std::int32_t>(static_cast<unsigned>(date.month()));
    record.day = static_cast<std::int32_t>(static_cast<unsigned>(date.day()));
    record.valid = 1;
}

int DayOfWeekOfJDN(std::int32_t jdn) {
    return static_cast<int>(chr::weekday{DaysOfJdn(jdn)}.c_encoding());
}

int TimezoneOffsetMinutes(const QDateTime& moment) {
    return static_cast<int>(std::lround(moment.offsetFromUtc() / 60.0));
}

int TimezoneOffsetMinutes() {
    return TimezoneOffsetMinutes(QDateTime::currentDateTime());
}

double NowAsJulianDate(const QDateTime& localDateTime, int offsetMinutes) {
    const QDate date = localDateTime.date();
    const QTime time = localDateTime.time();
    if (!date.isValid() || !time.isValid()) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    EuroDateRecord record;
    record.year = date.year();
    record.month = date.month();
    record.day = date.day();
    const std::int32_t jdn = EuroDateToJDN(record);
    if (record.valid == 0) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const int seconds = time.hour() * 3600 + time.minute() * 60 + time.second();
    return jdn + (seconds - offsetMinutes * 60) / 86400.0 - 0.5;
}

double NowAsJulianDate() {
    const QDateTime now = QDateTime::currentDateTime();
    return NowAsJulianDate(now, TimezoneOffsetMinutes(now));
}

void RoundToHalfHour(double& jd) {
    if (!std::isfinite(jd)) {
        return;
    }
    double day = std::floor(jd);
    const double fraction = jd - day;
    if (fraction == 0.0) {
        return;
    }
    const int minutes = static_cast<int>(RoundHalfEven(fraction * 1440.0));
    int halfHours = minutes / 30;
    if (minutes % 30 > 15) {
        if (halfHours == 47) {
            halfHours = 0;
            day += 1.0;
        } else {
            ++halfHours;
        }
    }
    jd = day + halfHours / 48.0;
}

bool IsLeapYear(int year, std::int32_t calendar) {
    if (calendar == JulianCalendar) {
        return year % 4 == 0;
    }
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int month, int year, std::int32_t calendar) {
    switch (month) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
        return 31;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return IsLeapYear(year, calendar) ? 29 : 28;
    default:
        return 0;
    }
}

} // namespace orbivex
