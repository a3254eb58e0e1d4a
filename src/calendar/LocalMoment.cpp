#include "calendar/LocalMoment.h"

#include "calendar/NamedZones.h"

#include <cmath>

namespace orbivex {

MomentZone MomentZoneOf(const DateSet& dateSet, const TimeZones& zones) {
    if (IsZoneName(dateSet.zoneName)) {
        return {0, dateSet.zoneName, dateSet.calendar, true, dateSet.placeLongitude};
    }
    // The entry the conversion uses: the default one when none is chosen.
    const int entry = DateSetAsConverted(dateSet, zones).timezoneIndex;
    if (entry < 1 || entry >= TimezoneEntryCount) {
        MomentZone greenwich;
        greenwich.calendar = dateSet.calendar;
        return greenwich;
    }
    const TimezoneEntry& chosen = zones.list[static_cast<std::size_t>(entry)];
    return {chosen.offsetMinutes, chosen.text, dateSet.calendar};
}

namespace {

// The offset of the place's local mean time when the named zone kept its own at jd.
std::optional<double> PlaceMeanTimeMinutes(const MomentZone& zone, double jd) {
    if (!zone.named || !zone.placeLongitude || !IsZoneLocalMeanTime(zone.name, jd)) {
        return std::nullopt;
    }
    return LocalMeanTimeSeconds(*zone.placeLongitude) / 60.0;
}

} // namespace

double MomentOffsetMinutes(const MomentZone& zone, double jd) {
    if (const std::optional<double> meanTime = PlaceMeanTimeMinutes(zone, jd)) {
        return *meanTime;
    }
    return zone.named ? ZoneOffsetAt(zone.name, jd) / 60.0 : zone.offsetMinutes;
}

double LocalDayStart(std::int32_t day, const MomentZone& zone) {
    // Day number N begins at N - 0.5 at Greenwich.
    const double offsetMinutes =
        zone.named ? ReadLocalTime(zone.name, day, 0).offsetSeconds / 60.0 : zone.offsetMinutes;
    const double start = static_cast<double>(day) - 0.5 - offsetMinutes / 1440.0;
    const std::optional<double> meanTime = PlaceMeanTimeMinutes(zone, start);
    return meanTime ? static_cast<double>(day) - 0.5 - *meanTime / 1440.0 : start;
}

std::optional<LocalMoment> LocalMomentOf(double jd, const MomentZone& zone) {
    // Far beyond any date the calendar converts; keeps the day number within its type.
    if (!std::isfinite(jd) || std::fabs(jd) > 1e8) {
        return std::nullopt;
    }
    // Minutes since the local midnight that begins day number 0.
    const double minutes = std::round((jd + 0.5) * 1440.0 + MomentOffsetMinutes(zone, jd));
    const double day = std::floor(minutes / 1440.0);
    LocalMoment moment;
    moment.date.jdn = static_cast<std::int32_t>(day);
    moment.date.calendar = CalendarLetterOfJdn(zone.calendar, moment.date.jdn);
    JDNToEuroDate(moment.date);
    if (moment.date.valid == 0) {
        return std::nullopt;
    }
    moment.minuteOfDay = static_cast<int>(minutes - day * 1440.0);
    return moment;
}

} // namespace orbivex
