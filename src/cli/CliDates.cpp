#include "cli/CliDates.h"

#include "calendar/DateFormat.h"
#include "calendar/DateInput.h"

#include <QDate>
#include <QRegularExpression>

#include <chrono>

namespace orbivex::cli {

namespace {

// Day number of 1 January 1970, the epoch of std::chrono::sys_days.
constexpr int UnixEpochDayNumber = 2440588;

OptionValue Value(int value) {
    return {value, ExitSuccess, {}};
}

OptionValue Failure(int status, const QString& message) {
    return {0, status, message};
}

} // namespace

OptionValue ParseDate(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^(-?)([0-9]+)-([0-9]{1,2})-([0-9]{1,2})$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch()) {
        return Failure(ExitUsage,
                       QStringLiteral("'%1' is not a date written as YYYY-MM-DD.").arg(text));
    }
    // Leading zeros aside, a year of more than four digits is at or after 2800 anyway.
    QString digits = match.captured(2);
    while (digits.size() > 1 && digits.startsWith(QLatin1Char('0'))) {
        digits.remove(0, 1);
    }
    const bool negative = !match.captured(1).isEmpty();
    const int year = digits.size() > 4 ? 9999 : digits.toInt();
    if (negative || year <= 0) {
        return Failure(ExitDateError,
                       QStringLiteral("The date %1 lies before year 1; dates run from year 1 "
                                      "to 2799.")
                           .arg(text));
    }
    if (year >= 2800) {
        return Failure(ExitDateError,
                       QStringLiteral("The date %1 lies at or after year 2800; dates run from "
                                      "year 1 to 2799.")
                           .arg(text));
    }
    const std::chrono::year_month_day date{std::chrono::year{year},
                                           std::chrono::month{match.captured(3).toUInt()},
                                           std::chrono::day{match.captured(4).toUInt()}};
    if (!date.ok()) {
        return Failure(ExitDateError, QStringLiteral("The date %1 does not exist.").arg(text));
    }
    const int days = std::chrono::sys_days{date}.time_since_epoch().count();
    return Value(days + UnixEpochDayNumber);
}

OptionValue ParseTimeOfDay(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,2}):([0-9]{2})$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch()) {
        return Failure(ExitUsage, QStringLiteral("'%1' is not a time written as HH:MM.").arg(text));
    }
    const int hours = match.captured(1).toInt();
    const int minutes = match.captured(2).toInt();
    if (hours > 23 || minutes > 59) {
        return Failure(ExitUsage, QStringLiteral("The time %1 does not exist.").arg(text));
    }
    if (minutes % 30 != 0) {
        return Failure(
            ExitUsage,
            QStringLiteral("The time %1 is not on the hour or the half hour.").arg(text));
    }
    return Value(hours * 60 + minutes);
}

QString ZoneFormsText() {
    return QStringLiteral("GMT, GMT+H:MM, GMT-H:MM, +HH:MM or -HH:MM on a whole or half hour up "
                          "to 11:30 either side, GMT+12:00, GMT+13:00, GMT+14:00, GMT+5:45, "
                          "GMT+8:45, GMT+12:45, GMT+13:45, or a North American zone name such as "
                          "EST/CDT");
}

OptionValue ParseZoneEntry(const QString& text) {
    const int entry = TimezoneEntryOfText(text);
    if (entry < 1) {
        return Failure(ExitUsage,
                       QStringLiteral("'%1' is not a zone; write %2.").arg(text, ZoneFormsText()));
    }
    return Value(entry);
}

OptionValue ParseZone(const QString& text) {
    OptionValue zone = ParseZoneEntry(text);
    if (zone.ok()) {
        zone.value = TimezoneEntryOffset(zone.value);
    }
    return zone;
}

int MonthOfText(const QString& text) {
    const QString trimmed = text.trimmed();
    bool isNumber = false;
    const int number = trimmed.toInt(&isNumber);
    if (isNumber) {
        return number >= 1 && number <= 12 ? number : 0;
    }
    for (int month = 1; month <= 12; ++month) {
        for (const bool abbreviated : {false, true}) {
            const QString name = MonthName(month, abbreviated);
            if (trimmed.compare(name, Qt::CaseInsensitive) == 0 ||
                (name.endsWith(QLatin1Char('.')) &&
                 trimmed.compare(name.chopped(1), Qt::CaseInsensitive) == 0)) {
                return month;
            }
        }
    }
    return 0;
}

bool ParseDateSetText(const QString& text, DateSet& dateSet, QString& error) {
    static const QRegularExpression form(QStringLiteral(
        R"(^\s*(-?\d+)-(\d{1,2})-(\d{1,2})(?:[ T]+(\d{1,2}:\d{2}))?(?:\s+(\S+))?\s*$)"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch()) {
        error =
            QStringLiteral("'%1' is not a date of the form YYYY-MM-DD[ HH:MM][ ZONE]").arg(text);
        return false;
    }
    DateSet result;
    result.yearText = match.captured(1);
    result.monthIndex = match.captured(2).toInt();
    result.dayIndex = match.captured(3).toInt();
    if (result.monthIndex < 1 || result.monthIndex > 12) {
        error = QStringLiteral("'%1': the month must be 01 to 12").arg(text);
        return false;
    }
    if (result.dayIndex < 1 || result.dayIndex > 31) {
        error = QStringLiteral("'%1': the day must be 01 to 31").arg(text);
        return false;
    }
    if (match.hasCaptured(4)) {
        result.hourIndex = HourEntryOfText(match.captured(4));
        if (result.hourIndex < 1) {
            error = QStringLiteral("'%1': the time must be a whole or half hour, 00:00 to 23:30")
                        .arg(text);
            return false;
        }
    }
    if (match.hasCaptured(5)) {
        result.timezoneIndex = TimezoneEntryOfText(match.captured(5));
        if (result.timezoneIndex < 1) {
            error = QStringLiteral("'%1': the zone must be %2").arg(text, ZoneFormsText());
            return false;
        }
    }
    dateSet = result;
    return true;
}

int TodayDayNumber() {
    return static_cast<int>(QDate::currentDate().toJulianDay());
}

QString DateText(int dayNumber) {
    const std::chrono::year_month_day date{
        std::chrono::sys_days{std::chrono::days{dayNumber - UnixEpochDayNumber}}};
    return QStringLiteral("%1-%2-%3")
        .arg(static_cast<int>(date.year()), 4, 10, QLatin1Char('0'))
        .arg(static_cast<unsigned>(date.month()), 2, 10, QLatin1Char('0'))
        .arg(static_cast<unsigned>(date.day()), 2, 10, QLatin1Char('0'));
}

double JulianDateOf(int dayNumber, int minutes, int zoneMinutes) {
    const double local = dayNumber + minutes / 1440.0;
    return local - zoneMinutes / 1440.0 - 0.5;
}

} // namespace orbivex::cli
