#include "cli/CliDates.h"

#include "calendar/Calendar.h"
#include "calendar/DateFormat.h"
#include "support/ProgramTexts.h"

#include <QDate>
#include <QRegularExpression>

#include <cmath>

namespace orbivex::cli {

QString ZoneFormsText() {
    return QStringLiteral("GMT, GMT+H:MM, GMT-H:MM, +HH:MM or -HH:MM on a whole or half hour up "
                          "to 11:30 either side, GMT+12:00, GMT+13:00, GMT+14:00, GMT+5:45, "
                          "GMT+8:45, GMT+12:45, GMT+13:45, or a North American zone name such as "
                          "EST/CDT");
}

QString ReadDayText(const QString& text, DateSet& dateSet) {
    static const QRegularExpression form(
        QStringLiteral("^(-?)([0-9]+)-([0-9]{1,2})-([0-9]{1,2})$"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch()) {
        return QStringLiteral("'%1' is not a date written as YYYY-MM-DD.").arg(text);
    }
    const int month = match.captured(3).toInt();
    const int day = match.captured(4).toInt();
    if (month < 1 || month > 12) {
        return QStringLiteral("'%1': the month must be 01 to 12.").arg(text);
    }
    if (day < 1 || day >= DayEntryCount) {
        return QStringLiteral("'%1': the day must be 01 to 31.").arg(text);
    }
    // The year box takes digits only; every year with a minus sign lies before year 1, and so
    // does year 0, which the conversion then reports as it does for the window.
    dateSet.yearText = match.captured(1).isEmpty() ? match.captured(2) : QStringLiteral("0");
    dateSet.monthIndex = month;
    dateSet.dayIndex = day;
    return {};
}

QString ReadTimeText(const QString& text, DateSet& dateSet) {
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,2}):([0-9]{2})$"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch()) {
        return QStringLiteral("'%1' is not a time written as HH:MM.").arg(text);
    }
    if (match.captured(1).toInt() > 23 || match.captured(2).toInt() > 59) {
        return QStringLiteral("The time %1 does not exist.").arg(text);
    }
    const int entry = HourEntryOfText(text);
    if (entry < 1) {
        return QStringLiteral("The time %1 is not on the hour or the half hour.").arg(text);
    }
    dateSet.hourIndex = entry;
    return {};
}

QString ReadZoneText(const QString& text, DateSet& dateSet) {
    const int entry = TimezoneEntryOfText(text);
    if (entry < 1) {
        return QStringLiteral("'%1' is not a zone; write %2.").arg(text, ZoneFormsText());
    }
    dateSet.timezoneIndex = entry;
    return {};
}

QString ReadDateText(const QString& text, DateSet& dateSet) {
    static const QRegularExpression form(
        QStringLiteral(R"(^\s*(-?\d+-\d+-\d+)(?:[ T]+(\d+:\d+))?(?:\s+(\S+))?\s*$)"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch()) {
        return QStringLiteral("'%1' is not a date written as YYYY-MM-DD[ HH:MM][ ZONE].").arg(text);
    }
    DateSet read;
    QString error = ReadDayText(match.captured(1), read);
    if (error.isEmpty() && match.hasCaptured(2)) {
        error = ReadTimeText(match.captured(2), read);
    }
    if (error.isEmpty() && match.hasCaptured(3)) {
        error = ReadZoneText(match.captured(3), read);
    }
    if (!error.isEmpty()) {
        return error;
    }
    dateSet = read;
    return {};
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

DateSet TodayDateSet() {
    const QDate today = QDate::currentDate();
    DateSet dateSet;
    dateSet.yearText = QString::number(today.year());
    dateSet.monthIndex = today.month();
    dateSet.dayIndex = today.day();
    return dateSet;
}

DateSet DateSetOfDay(int dayNumber, const DateSet& like) {
    EuroDateRecord record;
    record.jdn = dayNumber;
    JDNToEuroDate(record);
    DateSet dateSet = like;
    dateSet.yearText = record.year > 0 ? QString::number(record.year) : QStringLiteral("0");
    dateSet.monthIndex = record.month;
    dateSet.dayIndex = record.day;
    return dateSet;
}

QString DateSetText(const DateSet& dateSet, const TimeZones& zones) {
    DateSet converted = dateSet;
    const double local = InputDateToLocalJD(converted);
    if (local < 0) {
        return {};
    }
    EuroDateRecord record;
    record.jdn = static_cast<std::int32_t>(std::floor(local));
    JDNToEuroDate(record);
    const bool zoneChosen =
        converted.timezoneIndex >= 1 && converted.timezoneIndex < TimezoneEntryCount;
    return QStringLiteral("%1-%2-%3 %4 %5")
        .arg(record.year, 4, 10, QLatin1Char('0'))
        .arg(record.month, 2, 10, QLatin1Char('0'))
        .arg(record.day, 2, 10, QLatin1Char('0'))
        .arg(HourEntryText(converted.hourIndex),
             zoneChosen ? zones.list[static_cast<std::size_t>(converted.timezoneIndex)].text
                        : QStringLiteral("GMT"));
}

std::optional<double> ConvertDateSet(Context& context, DateSet& dateSet, const TimeZones& zones,
                                     int index, int& status, const QString& note) {
    const double julianDay = InputDateToAJDate(dateSet, zones);
    if (julianDay >= 0) {
        return julianDay;
    }
    // The texts are read only now: a date that converts does not need them.
    ProgramTexts texts;
    if (texts.Load(context.programFolder + QStringLiteral("/orbx.dat")) <= 0) {
        context.err << texts.LastLoadFailure() << '\n';
        status = ExitFailure;
        return std::nullopt;
    }
    context.err << ReportDateError(texts, index, julianDay).message;
    if (!note.isEmpty()) {
        context.err << ' ' << note;
    }
    context.err << '\n';
    status = ExitDateError;
    return std::nullopt;
}

} // namespace orbivex::cli
