#pragma once
// What a date set means, said in its own terms: whose chart it is, the civil date and time as
// written (any minute), the zone as typed, the calendar and the place. An Instant is a moment
// on Universal Time; a LocalJulianDay is a count of local days. The two are distinct types so
// that neither can be passed where the other is meant.

#include "calendar/Calendar.h"
#include "calendar/DateInput.h"
#include "support/Expected.h"

#include <QString>
#include <optional>

namespace orbivex {

// A moment: the Julian date on Universal Time (civil day N begins at Greenwich at N - 0.5).
struct Instant {
    double julianDay = 0.0;
    bool operator==(const Instant&) const = default;
};

// A local date and time as a day count: the local day number plus the time as a fraction.
struct LocalJulianDay {
    double value = 0.0;
    bool operator==(const LocalJulianDay&) const = default;
};

struct ChartSubject {
    QString name;
    int year = 0;  // 1 = year 1 of the common era, in `calendar`
    int month = 0; // 1..12
    int day = 0;   // 1..31
    // Minutes after midnight (0..1439); none when the time is unknown, which converts as 12:00.
    std::optional<int> minute;
    // The zone as typed: a fixed offset ("GMT+5:30", "+05:30"), a North American name
    // ("EST/CDT") or a zone of the time-zone database ("Europe/Paris"); "" for the computer's.
    QString zone;
    CalendarChoice calendar = CalendarChoice::Gregorian;
    QString place; // the place's name; "" when not known

    bool operator==(const ChartSubject&) const = default;
};

// The date set that holds the subject's date, time, zone and calendar, as if typed.
DateSet DateSetOfSubject(const ChartSubject& subject);
// The subject of a date set's date, time, zone and calendar (the name and the place empty);
// the year is read from the digits of its text.
ChartSubject SubjectOfDateSet(const DateSet& dateSet);

// The moment of the subject, converted by the window's own rules (no time is 12:00, no zone the
// default zone of `zones`, a named zone's offset in force at that local time), or why not.
Expected<Instant, DateError> InstantOfSubject(const ChartSubject& subject, const TimeZones& zones);
// The local date and time of the subject as a day count (no time counts as 12:00), or why it
// does not convert: no month or day is Incomplete, a month or day its calendar lacks
// DoesNotExist, a year outside 1 to 2799 BeforeYearOne or FromYear2800.
Expected<LocalJulianDay, DateError> LocalDayOfSubject(const ChartSubject& subject);

// "YYYY-MM-DD" and, when known, " HH:MM": the date and time as written.
QString SubjectDateText(const ChartSubject& subject);
// The same followed by " ZONE" when the subject has one: a DATE that the command line reads
// back to the same subject.
QString SubjectDateZoneText(const ChartSubject& subject);

} // namespace orbivex
