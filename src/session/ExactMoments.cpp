#include "session/ExactMoments.h"

#include "calendar/Calendar.h"
#include "calendar/DateFormat.h"

#include <cmath>

namespace orbivex {

MomentZone WorldMomentZone(const ProgramState& state) {
    // Compute filled in the default zone where none was chosen.
    const DateSet& world = state.computedDateSets[WorldDate];
    if (world.timezoneIndex < 1 || world.timezoneIndex >= TimezoneEntryCount) {
        MomentZone greenwich;
        greenwich.calendar = world.calendar;
        return greenwich;
    }
    const TimezoneEntry& entry =
        state.computedZones.list[static_cast<std::size_t>(world.timezoneIndex)];
    return {entry.offsetMinutes, entry.text, world.calendar};
}

QString ExactMomentText(double jd, const MomentZone& zone) {
    // Far beyond any date the calendar converts; keeps the day number within its type.
    if (!std::isfinite(jd) || std::fabs(jd) > 1e8) {
        return {};
    }
    // Minutes since the local midnight that begins day number 0.
    const double minutes = std::round((jd + 0.5) * 1440.0 + zone.offsetMinutes);
    const double day = std::floor(minutes / 1440.0);
    const QString date = JDNToLongDate(static_cast<std::int32_t>(day), false, zone.calendar);
    if (date.isEmpty()) {
        return {};
    }
    const int minuteOfDay = static_cast<int>(minutes - day * 1440.0);
    return QStringLiteral("%1 at %2:%3 %4")
        .arg(date)
        .arg(minuteOfDay / 60, 2, 10, QLatin1Char('0'))
        .arg(minuteOfDay % 60, 2, 10, QLatin1Char('0'))
        .arg(zone.name);
}

bool SetWorldDateToMoment(DateSet& world, const TimeZones& zones, double jd) {
    if (!std::isfinite(jd) || std::fabs(jd) > 1e8) {
        return false;
    }
    const bool named = !world.zoneName.isEmpty();
    int entry = world.timezoneIndex;
    if (!named && (entry < 1 || entry >= TimezoneEntryCount)) {
        entry = zones.defaultIndex;
    }
    const double offsetMinutes = named ? ZoneOffsetAt(world.zoneName, jd) / 60.0
                                 : entry >= 1 && entry < TimezoneEntryCount
                                     ? zones.list[static_cast<std::size_t>(entry)].offsetMinutes
                                     : 0.0;
    // Minutes since the local midnight that begins day number 0.
    const double minutes = std::round((jd + 0.5) * 1440.0 + offsetMinutes);
    const double day = std::floor(minutes / 1440.0);
    EuroDateRecord record;
    record.jdn = static_cast<std::int32_t>(day);
    record.calendar = CalendarLetterOfJdn(world.calendar, record.jdn);
    JDNToEuroDate(record);
    if (record.valid == 0 || record.year < 1 || record.year > 2799) {
        return false;
    }
    world.yearText = QString::number(record.year);
    world.monthIndex = record.month;
    world.dayIndex = record.day;
    SetMinuteOfDay(world, static_cast<int>(minutes - day * 1440.0));
    if (!named) {
        world.timezoneIndex = entry;
    }
    return true;
}

} // namespace orbivex
