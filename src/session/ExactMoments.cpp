#include "session/ExactMoments.h"

#include "calendar/Calendar.h"
#include "calendar/DateFormat.h"

#include <cmath>

namespace orbivex {

MomentZone WorldMomentZone(const ProgramState& state) {
    return MomentZoneOf(state.computedDateSets[WorldDate], state.computedZones);
}

QString ExactMomentText(double jd, const MomentZone& zone) {
    const std::optional<LocalMoment> moment = LocalMomentOf(jd, zone);
    if (!moment) {
        return {};
    }
    return QStringLiteral("%1 at %2:%3 %4")
        .arg(JDNToLongDate(moment->date.jdn, false, zone.calendar))
        .arg(moment->minuteOfDay / 60, 2, 10, QLatin1Char('0'))
        .arg(moment->minuteOfDay % 60, 2, 10, QLatin1Char('0'))
        .arg(zone.name);
}

QString ProgressDateText(double jd, const MomentZone& zone) {
    const std::optional<LocalMoment> moment = LocalMomentOf(jd, zone);
    return moment ? JDNToLongDate(moment->date.jdn, false, zone.calendar) : QString();
}

bool SetWorldDateToMoment(DateSet& world, const TimeZones& zones, double jd) {
    const bool named = !world.zoneName.isEmpty();
    int entry = world.timezoneIndex;
    if (!named && (entry < 1 || entry >= TimezoneEntryCount)) {
        entry = zones.defaultIndex;
    }
    MomentZone zone;
    zone.calendar = world.calendar;
    if (named) {
        zone.name = world.zoneName;
        zone.named = true;
    } else if (entry >= 1 && entry < TimezoneEntryCount) {
        zone.offsetMinutes = zones.list[static_cast<std::size_t>(entry)].offsetMinutes;
    }
    const std::optional<LocalMoment> moment = LocalMomentOf(jd, zone);
    if (!moment || moment->date.year < 1 || moment->date.year > 2799) {
        return false;
    }
    world.yearText = QString::number(moment->date.year);
    world.monthIndex = moment->date.month;
    world.dayIndex = moment->date.day;
    SetMinuteOfDay(world, moment->minuteOfDay);
    if (!named) {
        world.timezoneIndex = entry;
    }
    return true;
}

} // namespace orbivex
