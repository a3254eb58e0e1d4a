#include "calendar/DateFormat.h"

namespace orbivex {

QString MonthName(int month, bool abbreviated) {
    if (month < 1 || month > 12) {
        return {};
    }
    const auto index = static_cast<std::size_t>(month);
    return QString::fromLatin1(abbreviated ? MonthNamesAbbreviated[index] : MonthNames[index]);
}

QString JDNToLongDate(std::int32_t jdn, bool abbreviated, CalendarChoice calendar) {
    EuroDateRecord record;
    record.jdn = jdn;
    record.calendar = CalendarLetterOfJdn(calendar, jdn);
    JDNToEuroDate(record);
    if (record.valid == 0) {
        return {};
    }
    return QStringLiteral("%1 %2, %3")
        .arg(MonthName(record.month, abbreviated))
        .arg(record.day)
        .arg(record.year);
}

QString FormatEuroDate(const EuroDateRecord& record) {
    return QStringLiteral("%1-%2-%3")
        .arg(record.year)
        .arg(record.month, 2, 10, QLatin1Char('0'))
        .arg(record.day, 2, 10, QLatin1Char('0'));
}

QString TimeOfDayText(double fraction) {
    if (!(fraction >= 0.0 && fraction < 1.0)) {
        return QStringLiteral("XX:XX:XX");
    }
    // Lifts a value that lies a rounding error below a whole second onto that second.
    if (fraction > 0.0 && fraction < 0.99999999) {
        fraction += 1e-8;
    }
    int seconds = static_cast<int>(fraction * 86400.0);
    if (seconds == 86400) {
        seconds = 86399;
    }
    return QStringLiteral("%1:%2")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'));
}

QString DayOfWeekName(int weekday) {
    if (weekday < 0 || weekday > 6) {
        return {};
    }
    return QString::fromLatin1(WeekdayNames[static_cast<std::size_t>(weekday)]);
}

} // namespace orbivex
