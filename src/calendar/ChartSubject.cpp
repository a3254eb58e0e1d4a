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
    const Expected<double, DateError> local = InputDateToLocalJD(DateSetOfSubject(subject));
    if (!local) {
        return Fail(local.error());
    }
    return LocalJulianDay{*local};
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
