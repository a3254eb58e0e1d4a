#include "calendar/ChartSubject.h"

#include "support/StrProc.h"

namespace orbivex {

DateSet DateSetOfSubject(const ChartSubject& subject) {
    DateSet dateSet;
    // A year before 1 has no text of the year box; "0" converts to the window's message.
    dateSet.yearText = subject.year > 0 ? QString::number(subject.year) : QStringLiteral("0");
    dateSet.monthIndex = subject.month >= 1 && subject.month < MonthEntryCount ? subject.month : 0;
    dateSet.dayIndex = subject.day >= 1 && subject.day < DayEntryCount ? subject.day : 0;
    SetMinuteOfDay(dateSet, subject.minute.value_or(-1));
    SetZoneText(dateSet, subject.zone);
    dateSet.calendar = subject.calendar;
    return dateSet;
}

ChartSubject SubjectOfDateSet(const DateSet& dateSet) {
    ChartSubject subject;
    subject.year = DigitsOnly(dateSet.yearText, false, false).toInt();
    subject.month = dateSet.monthIndex;
    subject.day = dateSet.dayIndex;
    if (const int minute = MinuteOfDay(dateSet); minute >= 0) {
        subject.minute = minute;
    }
    static const TimezoneList list = BuildTimezoneList(false);
    subject.zone = ZoneTextOf(dateSet, list);
    subject.calendar = dateSet.calendar;
    return subject;
}

Expected<Instant, DateError> InstantOfSubject(const ChartSubject& subject, const TimeZones& zones) {
    const Expected<double, DateError> julianDay =
        InputDateToAJDate(DateSetOfSubject(subject), zones);
    if (!julianDay) {
        return Fail(julianDay.error());
    }
    return Instant{*julianDay};
}

Expected<LocalJulianDay, DateError> LocalDayOfSubject(const ChartSubject& subject) {
    if (subject.month <= 0 || subject.day <= 0) {
        return Fail(DateError::Incomplete);
    }
    if (subject.year <= 0) {
        return Fail(DateError::BeforeYearOne);
    }
    if (subject.year >= 2800) {
        return Fail(DateError::FromYear2800);
    }
    EuroDateRecord record;
    record.year = subject.year;
    record.month = subject.month;
    record.day = subject.day;
    record.calendar =
        CalendarLetterOfDate(subject.calendar, subject.year, subject.month, subject.day);
    const std::int32_t jdn = EuroDateToJDN(record);
    if (record.valid == 0 ||
        SkippedByTheReform(subject.calendar, subject.year, subject.month, subject.day)) {
        return Fail(DateError::DoesNotExist);
    }
    // The year was checked as written: years 1 to 2799 of the date's own calendar convert,
    // whatever day numbers they span. No time, or none of the day, counts as 12:00.
    const int minute = subject.minute && *subject.minute >= 0 && *subject.minute < MinutesPerDay
                           ? *subject.minute
                           : (NoonHourEntry - 1) * 30;
    return LocalJulianDay{jdn + minute / static_cast<double>(MinutesPerDay)};
}

QString SubjectDateText(const ChartSubject& subject) {
    QString text = QStringLiteral("%1-%2-%3")
                       .arg(subject.year, 4, 10, QLatin1Char('0'))
                       .arg(subject.month, 2, 10, QLatin1Char('0'))
                       .arg(subject.day, 2, 10, QLatin1Char('0'));
    if (subject.minute) {
        text += QLatin1Char(' ') + MinuteText(*subject.minute);
    }
    return text;
}

QString SubjectDateZoneText(const ChartSubject& subject) {
    const QString zone = subject.zone.trimmed();
    return zone.isEmpty() ? SubjectDateText(subject)
                          : SubjectDateText(subject) + QLatin1Char(' ') + zone;
}

} // namespace orbivex
