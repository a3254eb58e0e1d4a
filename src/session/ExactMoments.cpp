#include "session/ExactMoments.h"

#include "calendar/Calendar.h"
#include "calendar/DateFormat.h"

#include <cmath>

namespace orbivex {

MomentZone WorldMomentZone(const ProgramState& state) {
    DateSet world = state.computedDateSets[WorldDate];
    // Chooses the computer's zone when none is chosen.
    InputDateToAJDate(world, state.computedZones);
    if (world.timezoneIndex < 1 || world.timezoneIndex >= TimezoneEntryCount) {
        return {};
    }
    const TimezoneEntry& entry =
        state.computedZones.list[static_cast<std::size_t>(world.timezoneIndex)];
    return {entry.offsetMinutes, entry.text};
}

QString ExactMomentText(double jd, const MomentZone& zone) {
    // Far beyond any date the calendar converts; keeps the day number within its type.
    if (!std::isfinite(jd) || std::fabs(jd) > 1e8) {
        return {};
    }
    // Minutes since the local midnight that begins day number 0.
    const double minutes = std::round((jd + 0.5) * 1440.0 + zone.offsetMinutes);
    const double day = std::floor(minutes / 1440.0);
    const QString date = JDNToLongDate(static_cast<std::int32_t>(day), false);
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
    int entry = world.timezoneIndex;
    if (entry < 1 || entry >= TimezoneEntryCount) {
        entry = zones.defaultIndex;
    }
    const int offset = entry >= 1 && entry < TimezoneEntryCount
                           ? zones.list[static_cast<std::size_t>(entry)].offsetMinutes
                           : 0;
    // Half hours since the local midnight that begins day number 0.
    const double halfHours = std::round(((jd + 0.5) * 1440.0 + offset) / 30.0);
    const double day = std::floor(halfHours / 48.0);
    EuroDateRecord record;
    record.jdn = static_cast<std::int32_t>(day);
    JDNToEuroDate(record);
    if (record.valid == 0 || record.year < 1 || record.year > 2799) {
        return false;
    }
    world.yearText = QString::number(record.year);
    world.monthIndex = record.month;
    world.dayIndex = record.day;
    world.hourIndex = static_cast<int>(halfHours - day * 48.0) + 1;
    world.timezoneIndex = entry;
    return true;
}

} // namespace orbivex
