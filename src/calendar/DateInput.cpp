#include "calendar/DateInput.h"

#include "calendar/Calendar.h"
#include "calendar/ChartSubject.h"
#include "calendar/DateFormat.h"
#include "calendar/NamedZones.h"
#include "support/StrProc.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace orbivex {

namespace {

struct NorthAmericanZone {
    int entry;
    const char* name;
};

// Entries that show a North American zone name when that option is on.
constexpr std::array<NorthAmericanZone, 10> NorthAmericanZones{{
    {4, "HAST"},
    {6, "AKST/HADT"},
    {8, "PST/AKDT"},
    {10, "MST/PDT"},
    {12, "CST/MDT"},
    {14, "EST/CDT"},
    {16, "AST/EDT"},
    {17, "NST"},
    {18, "ADT"},
    {19, "NDT"},
}};

// The entry whose North American name is text (any case); -1 when none has it.
int NorthAmericanEntryOfText(const QString& text) {
    const QString trimmed = text.trimmed();
    for (const NorthAmericanZone& zone : NorthAmericanZones) {
        if (trimmed.compare(QLatin1String(zone.name), Qt::CaseInsensitive) == 0) {
            return zone.entry;
        }
    }
    return -1;
}

// The offset of every entry, minutes east of Greenwich: the half hours from -11:30 to +11:30,
// then the zones in use beyond them and on a quarter hour, appended in the order they were
// added to the list.
constexpr std::array<int, TimezoneEntryCount> TimezoneOffsets = [] {
    std::array<int, TimezoneEntryCount> offsets{};
    constexpr int HalfHourEntries = 48;
    for (int j = 1; j < HalfHourEntries; ++j) {
        offsets[static_cast<std::size_t>(j)] = (j - GreenwichTimezoneEntry) * 30;
    }
    constexpr std::array<int, TimezoneEntryCount - HalfHourEntries> appended{720, 780, 840, 345,
                                                                             525, 765, 825};
    for (std::size_t k = 0; k < appended.size(); ++k) {
        offsets[HalfHourEntries + k] = appended[k];
    }
    return offsets;
}();

// "GMT", or "GMT+" / "GMT-" with the hours without a leading zero and two-digit minutes.
QString ZoneText(int offsetMinutes) {
    if (offsetMinutes == 0) {
        return QStringLiteral("GMT");
    }
    // Written character by character: the zone lists are built at every start.
    const int magnitude = std::abs(offsetMinutes);
    QString text = QStringLiteral("GMT");
    text += offsetMinutes < 0 ? QLatin1Char('-') : QLatin1Char('+');
    text += QString::number(magnitude / 60);
    text += QLatin1Char(':');
    text += QLatin1Char(static_cast<char>('0' + magnitude % 60 / 10));
    text += QLatin1Char(static_cast<char>('0' + magnitude % 10));
    return text;
}

// The year of a digits-only text, or why it is not a year of the calendar. A text of any length
// is read without overflow: after the leading zeros, more than four digits is always year 2800
// or later.
Expected<int, DateError> YearOfDigits(const QString& digits) {
    qsizetype first = 0;
    while (first < digits.size() && digits.at(first) == QLatin1Char('0')) {
        ++first;
    }
    const QStringView significant = QStringView(digits).mid(first);
    if (significant.size() > 4) {
        return Fail(DateError::FromYear2800);
    }
    const int year = significant.isEmpty() ? 0 : significant.toInt();
    if (year <= 0) {
        return Fail(DateError::BeforeYearOne);
    }
    if (year >= 2800) {
        return Fail(DateError::FromYear2800);
    }
    return year;
}

} // namespace

QString HourEntryText(int index) {
    if (index < 1 || index >= HourEntryCount) {
        return {};
    }
    const int minutes = (index - 1) * 30;
    return QStringLiteral("%1:%2")
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QStringList HourListTexts() {
    QStringList texts;
    texts.reserve(HourEntryCount);
    for (int index = 0; index < HourEntryCount; ++index) {
        texts.append(HourEntryText(index));
    }
    return texts;
}

std::optional<ClockTime> ClockTimeOfText(QStringView text) {
    // Plain parsing rather than a regular expression: compiling one costs more than the whole
    // conversion of a date.
    const auto digit = [&](qsizetype at) {
        return at < text.size() && text[at] >= QLatin1Char('0') && text[at] <= QLatin1Char('9')
                   ? text[at].unicode() - u'0'
                   : -1;
    };
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if ((colon != 1 && colon != 2) || text.size() != colon + 3 || digit(0) < 0 ||
        (colon == 2 && digit(1) < 0) || digit(colon + 1) < 0 || digit(colon + 2) < 0) {
        return std::nullopt;
    }
    return ClockTime{colon == 2 ? digit(0) * 10 + digit(1) : digit(0),
                     digit(colon + 1) * 10 + digit(colon + 2)};
}

int HourEntryOfText(const QString& text) {
    const std::optional<ClockTime> time = ClockTimeOfText(QStringView(text).trimmed());
    if (!time || time->hours > 23 || (time->minutes != 0 && time->minutes != 30)) {
        return -1;
    }
    return 2 * time->hours + 1 + (time->minutes == 30 ? 1 : 0);
}

std::optional<int> MinuteOfText(QStringView text) {
    const std::optional<ClockTime> time = ClockTimeOfText(text.trimmed());
    if (!time || time->hours > 23 || time->minutes > 59) {
        return std::nullopt;
    }
    return time->hours * 60 + time->minutes;
}

QString MinuteText(int minute) {
    if (minute < 0 || minute >= MinutesPerDay) {
        return {};
    }
    // Written digit by digit: every chart of a batch writes its times.
    const std::array<char16_t, 5> text{static_cast<char16_t>(u'0' + minute / 600),
                                       static_cast<char16_t>(u'0' + minute / 60 % 10), u':',
                                       static_cast<char16_t>(u'0' + minute % 60 / 10),
                                       static_cast<char16_t>(u'0' + minute % 10)};
    return QString(reinterpret_cast<const QChar*>(text.data()), text.size());
}

int MinuteOfDay(const DateSet& dateSet) {
    if (dateSet.typedMinute >= 0 && dateSet.typedMinute < MinutesPerDay) {
        return dateSet.typedMinute;
    }
    if (dateSet.hourIndex >= 1 && dateSet.hourIndex < HourEntryCount) {
        return (dateSet.hourIndex - 1) * 30;
    }
    return -1;
}

void SetMinuteOfDay(DateSet& dateSet, int minute) {
    if (minute < 0 || minute >= MinutesPerDay) {
        dateSet.hourIndex = 0;
        dateSet.typedMinute = -1;
        return;
    }
    dateSet.hourIndex = minute / 30 + 1;
    dateSet.typedMinute = minute % 30 == 0 ? -1 : minute;
}

QString TimeOfDayOfDateSet(const DateSet& dateSet) {
    return MinuteText(MinuteOfDay(dateSet));
}

namespace {

TimezoneList MakeTimezoneList(bool northAmericanNames) {
    TimezoneList list;
    for (int j = 1; j < TimezoneEntryCount; ++j) {
        const int offset = TimezoneOffsets[static_cast<std::size_t>(j)];
        list[static_cast<std::size_t>(j)] = {ZoneText(offset), offset};
    }
    if (northAmericanNames) {
        for (const NorthAmericanZone& zone : NorthAmericanZones) {
            list[static_cast<std::size_t>(zone.entry)].text = QString::fromLatin1(zone.name);
        }
    }
    return list;
}

} // namespace

TimezoneList BuildTimezoneList(bool northAmericanNames) {
    // Every program state and every date read needs a list: the two are written once, and the
    // copies share their texts.
    if (northAmericanNames) {
        static const TimezoneList northAmerican = MakeTimezoneList(true);
        return northAmerican;
    }
    static const TimezoneList plain = MakeTimezoneList(false);
    return plain;
}

QStringList TimezoneListTexts(const TimezoneList& list) {
    QStringList texts;
    texts.reserve(TimezoneEntryCount);
    for (const TimezoneEntry& entry : list) {
        texts.append(entry.text);
    }
    return texts;
}

bool IsNorthAmericanZoneName(const QString& text) {
    return NorthAmericanEntryOfText(text) > 0;
}

int TimezoneEntryOfText(const QString& text) {
    if (const int entry = NorthAmericanEntryOfText(text); entry > 0) {
        return entry;
    }
    QStringView trimmed = QStringView(text).trimmed();
    if (trimmed.startsWith(QLatin1String("GMT"), Qt::CaseInsensitive)) {
        trimmed = trimmed.mid(3);
        if (trimmed.isEmpty()) {
            return GreenwichTimezoneEntry;
        }
    }
    const bool east = trimmed.startsWith(QLatin1Char('+'));
    if (!east && !trimmed.startsWith(QLatin1Char('-'))) {
        return -1;
    }
    const std::optional<ClockTime> time = ClockTimeOfText(trimmed.mid(1));
    if (!time || time->minutes > 59) {
        return -1;
    }
    const int magnitude = time->hours * 60 + time->minutes;
    const int offset = east ? magnitude : -magnitude;
    const auto found = std::find(TimezoneOffsets.begin() + 1, TimezoneOffsets.end(), offset);
    return found == TimezoneOffsets.end() ? -1 : static_cast<int>(found - TimezoneOffsets.begin());
}

int TimezoneEntryOffset(int entry) {
    return entry >= 0 && entry < TimezoneEntryCount
               ? TimezoneOffsets[static_cast<std::size_t>(entry)]
               : 0;
}

int DefaultTimezoneIndex(const TimezoneList& list, int localOffsetMinutes) {
    for (int j = 1; j < TimezoneEntryCount; ++j) {
        if (list[static_cast<std::size_t>(j)].offsetMinutes == localOffsetMinutes) {
            return j;
        }
    }
    return 0;
}

TimeZones MakeTimeZones(int timezoneOffsetMinutes, bool northAmericanNames) {
    TimeZones zones;
    zones.list = BuildTimezoneList(northAmericanNames);
    zones.northAmericanNames = northAmericanNames;
    zones.localOffsetMinutes = timezoneOffsetMinutes;
    zones.defaultIndex = DefaultTimezoneIndex(zones.list, zones.localOffsetMinutes);
    return zones;
}

void SetUpTimezoneComboBoxes(TimeZones& zones, std::span<DateSet> dateSets, bool northAmericanNames,
                             bool preserveIndices) {
    zones.list = BuildTimezoneList(northAmericanNames);
    zones.northAmericanNames = northAmericanNames;
    for (DateSet& dateSet : dateSets) {
        if (!preserveIndices || dateSet.timezoneIndex < 0 ||
            dateSet.timezoneIndex >= TimezoneEntryCount) {
            dateSet.timezoneIndex = 0;
        }
        if (!preserveIndices) {
            dateSet.zoneName.clear();
        }
    }
}

Expected<double, DateError> InputDateToLocalJD(const DateSet& dateSet) {
    const QString digits = DigitsOnly(dateSet.yearText, false, false);
    if (digits.isEmpty() || dateSet.monthIndex <= 0 || dateSet.dayIndex <= 0) {
        return Fail(DateError::Incomplete);
    }
    const Expected<int, DateError> year = YearOfDigits(digits);
    if (!year) {
        return Fail(year.error());
    }
    ChartSubject subject;
    subject.year = *year;
    subject.month = dateSet.monthIndex;
    subject.day = dateSet.dayIndex;
    if (const int minute = MinuteOfDay(dateSet); minute >= 0) {
        subject.minute = minute;
    }
    subject.calendar = dateSet.calendar;
    const Expected<LocalJulianDay, DateError> local = LocalDayOfSubject(subject);
    if (!local) {
        return Fail(local.error());
    }
    return local->value;
}

namespace {

// How the local date and time `local` (InputDateToLocalJD) reads in the date set's named zone.
ZoneReading ReadLocalTimeAt(const DateSet& dateSet, double local) {
    const double day = std::floor(local);
    const int minute = static_cast<int>(std::lround((local - day) * MinutesPerDay));
    return ReadLocalTime(dateSet.zoneName, static_cast<std::int32_t>(day), minute);
}

// The zone entry a conversion reads: the chosen one, else the default; 0 when neither exists.
int ZoneEntryInUse(const DateSet& dateSet, const TimeZones& zones) {
    if (dateSet.timezoneIndex >= 1 && dateSet.timezoneIndex < TimezoneEntryCount) {
        return dateSet.timezoneIndex;
    }
    if (zones.defaultIndex > 0 && zones.defaultIndex < TimezoneEntryCount) {
        return zones.defaultIndex;
    }
    return 0;
}

// The offset of the place's local mean time when the date set, read in its zone with
// zoneSeconds at the local date and time `local`, falls in the zone's own local mean time.
std::optional<int> PlaceMeanTimeAt(const DateSet& dateSet, double local, int zoneSeconds) {
    if (!dateSet.placeLongitude ||
        !IsZoneLocalMeanTime(dateSet.zoneName, local - zoneSeconds / 86400.0 - 0.5)) {
        return std::nullopt;
    }
    return LocalMeanTimeSeconds(*dateSet.placeLongitude);
}

} // namespace

std::optional<int> PlaceMeanTimeOffset(const DateSet& dateSet) {
    const Expected<double, DateError> local = InputDateToLocalJD(dateSet);
    if (!dateSet.placeLongitude || dateSet.zoneName.isEmpty() || !local) {
        return std::nullopt;
    }
    const ZoneReading reading = ReadLocalTimeAt(dateSet, *local);
    return reading.known ? PlaceMeanTimeAt(dateSet, *local, reading.offsetSeconds) : std::nullopt;
}

Expected<double, DateError> InputDateToAJDate(const DateSet& dateSet, const TimeZones& zones) {
    const Expected<double, DateError> local = InputDateToLocalJD(dateSet);
    if (!local) {
        return local;
    }
    if (!dateSet.zoneName.isEmpty()) {
        const ZoneReading reading = ReadLocalTimeAt(dateSet, *local);
        if (!reading.known) {
            return Fail(DateError::UnknownZone);
        }
        const int offset =
            PlaceMeanTimeAt(dateSet, *local, reading.offsetSeconds).value_or(reading.offsetSeconds);
        return *local - offset / 86400.0 - 0.5;
    }
    const int entry = ZoneEntryInUse(dateSet, zones);
    const int offset = entry > 0 ? zones.list[static_cast<std::size_t>(entry)].offsetMinutes : 0;
    return *local - offset / static_cast<double>(MinutesPerDay) - 0.5;
}

DateSet DateSetAsConverted(const DateSet& dateSet, const TimeZones& zones) {
    DateSet converted = dateSet;
    converted.yearText = DigitsOnly(dateSet.yearText, false, false);
    if (!InputDateToLocalJD(converted)) {
        return converted;
    }
    if (MinuteOfDay(converted) < 0) {
        converted.hourIndex = NoonHourEntry;
        converted.typedMinute = -1;
    }
    if (converted.zoneName.isEmpty()) {
        if (const int entry = ZoneEntryInUse(converted, zones); entry > 0) {
            converted.timezoneIndex = entry;
        }
    }
    return converted;
}

ZoneReading ReadLocalTimeOf(const DateSet& dateSet) {
    const Expected<double, DateError> local = InputDateToLocalJD(dateSet);
    if (dateSet.zoneName.isEmpty() || !local) {
        return {};
    }
    return ReadLocalTimeAt(dateSet, *local);
}

std::optional<UnusualLocalTime> UnusualLocalTimeOf(const DateSet& dateSet) {
    const ZoneReading reading = ReadLocalTimeOf(dateSet);
    const Expected<double, DateError> local = InputDateToLocalJD(dateSet);
    if (!reading.known || reading.kind == LocalTimeKind::Unique || !local) {
        return std::nullopt;
    }
    const double day = std::floor(*local);
    return UnusualLocalTime{static_cast<std::int32_t>(day),
                            static_cast<int>(std::lround((*local - day) * MinutesPerDay)),
                            dateSet.zoneName, reading};
}

void SetCalendar(std::span<DateSet> dateSets, CalendarChoice calendar) {
    for (DateSet& dateSet : dateSets) {
        dateSet.calendar = calendar;
    }
}

QString CalendarName(CalendarChoice calendar) {
    switch (calendar) {
    case CalendarChoice::Julian:
        return QStringLiteral("julian");
    case CalendarChoice::Auto:
        return QStringLiteral("auto");
    case CalendarChoice::Gregorian:
        break;
    }
    return QStringLiteral("gregorian");
}

std::optional<CalendarChoice> CalendarOfName(const QString& name) {
    for (const CalendarChoice calendar :
         {CalendarChoice::Gregorian, CalendarChoice::Julian, CalendarChoice::Auto}) {
        if (name.trimmed().compare(CalendarName(calendar), Qt::CaseInsensitive) == 0) {
            return calendar;
        }
    }
    return std::nullopt;
}

bool ZoneChosen(const DateSet& dateSet) {
    return !dateSet.zoneName.isEmpty() ||
           (dateSet.timezoneIndex > 0 && dateSet.timezoneIndex < TimezoneEntryCount);
}

QString ZoneTextOf(const DateSet& dateSet, const TimezoneList& list) {
    if (!dateSet.zoneName.isEmpty()) {
        return dateSet.zoneName;
    }
    if (dateSet.timezoneIndex >= 0 && dateSet.timezoneIndex < TimezoneEntryCount) {
        return list[static_cast<std::size_t>(dateSet.timezoneIndex)].text;
    }
    return {};
}

void SetZoneText(DateSet& dateSet, const QString& text) {
    const QString trimmed = text.trimmed();
    // The zone box is read again on every Compute: the place's zone written again is still the
    // place's, any other zone ends the reading at the place.
    // The database is asked only when the reading was at a place: a listed name is looked up
    // in the database's whole list, a good part of what a command for one chart costs.
    if (dateSet.zoneName.isEmpty() || ZoneNameAsListed(trimmed) != dateSet.zoneName) {
        dateSet.placeLongitude.reset();
    }
    if (const int entry = TimezoneEntryOfText(trimmed); entry > 0) {
        dateSet.timezoneIndex = entry;
        dateSet.zoneName.clear();
    } else {
        // A known zone as the database spells it, whatever letter case it was typed in.
        const QString listed = ZoneNameAsListed(trimmed);
        dateSet.timezoneIndex = 0;
        dateSet.zoneName = listed.isEmpty() ? trimmed : listed;
    }
}

int ZoneOffsetMinutes(const DateSet& dateSet, const TimeZones& zones) {
    const Expected<double, DateError> local = InputDateToLocalJD(dateSet);
    const Expected<double, DateError> universal = InputDateToAJDate(dateSet, zones);
    if (!local || !universal) {
        return 0;
    }
    return static_cast<int>(std::lround((*local - 0.5 - *universal) * MinutesPerDay));
}

QString InputDateToString(const DateSet& dateSet, const TimeZones& zones, bool abbreviated) {
    const Expected<double, DateError> local = InputDateToLocalJD(dateSet);
    if (!local) {
        return {};
    }
    const DateSet shown = DateSetAsConverted(dateSet, zones);
    // The zone the user chose, or none: the text names what the date set holds, as before.
    const QString zoneText = ZoneTextOf(dateSet, zones.list);
    return QStringLiteral("%1, %2 (%3)")
        .arg(JDNToLongDate(static_cast<std::int32_t>(std::floor(*local)), abbreviated,
                           dateSet.calendar),
             TimeOfDayOfDateSet(shown), zoneText);
}

bool SetWorldDateToNow(DateSet& world, const TimeZones& zones, const QDateTime& localNow,
                       int timezoneOffsetMinutes) {
    double local = NowAsJulianDate(localNow, timezoneOffsetMinutes);
    if (!std::isfinite(local)) {
        return false;
    }
    // A named zone stays, with the present offset there; any other zone becomes the default.
    const bool named = IsZoneName(world.zoneName);
    local += 0.5 + (named ? ZoneOffsetAt(world.zoneName, local) / 86400.0
                          : zones.localOffsetMinutes / 1440.0);
    // A typed minute asks for the minute itself; a list entry keeps to the list's half hours.
    if (world.typedMinute < 0) {
        RoundToHalfHour(local);
    }
    EuroDateRecord record;
    record.jdn = static_cast<std::int32_t>(std::floor(local));
    record.calendar = CalendarLetterOfJdn(world.calendar, record.jdn);
    JDNToEuroDate(record);
    if (record.valid == 0) {
        return false;
    }
    world.monthIndex = record.month;
    world.dayIndex = record.day;
    world.yearText = QString::number(record.year);
    SetMinuteOfDay(world, MinuteOfText(TimeOfDayText(local - std::floor(local))).value_or(-1));
    if (named) {
        world.timezoneIndex = 0;
    } else {
        world.timezoneIndex = zones.defaultIndex;
        world.zoneName.clear();
    }
    return true;
}

bool SetWorldDateToNow(DateSet& world, const TimeZones& zones) {
    const QDateTime now = QDateTime::currentDateTime();
    return SetWorldDateToNow(world, zones, now, TimezoneOffsetMinutes(now));
}

QString UpdateDayOfWeekTip(const DateSet& dateSet) {
    const Expected<double, DateError> local = InputDateToLocalJD(dateSet);
    if (!local) {
        return {};
    }
    return DayOfWeekName(DayOfWeekOfJDN(static_cast<std::int32_t>(std::floor(*local))));
}

} // namespace orbivex
