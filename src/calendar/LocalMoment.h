#pragma once
// Instants as the clocks of a zone show them: the zone moments are told in, its offset at an
// instant, and the one conversion of an instant (UT) to a local date and minute.

#include "calendar/Calendar.h"
#include "calendar/DateInput.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace orbivex {

// The zone moments are told in: a fixed zone, its offset east of Greenwich and its name in the
// time-zone list, or a zone of the time-zone database by its name ("Europe/Paris"), whose
// offset is the one in force there at each moment; and the calendar the moments are written
// in.
struct MomentZone {
    int offsetMinutes = 0;
    QString name = QStringLiteral("GMT");
    CalendarChoice calendar = CalendarChoice::Gregorian;
    bool named = false; // name is a zone of the database; offsetMinutes is not used
    // A named zone told at a place: while the zone kept its own local mean time, the local
    // mean time of this longitude (degrees east), as DateSet::placeLongitude.
    std::optional<double> placeLongitude{};
};

// The zone a date set converts with: its named zone, else its entry of the list (the default
// entry when it has none); Greenwich when neither applies.
MomentZone MomentZoneOf(const DateSet& dateSet, const TimeZones& zones);

// The offset east of Greenwich, in minutes, in force in the zone at the instant jd (UT).
double MomentOffsetMinutes(const MomentZone& zone, double jd);

// The instant (UT) at which the civil day `day` begins in the zone (its local midnight).
double LocalDayStart(std::int32_t day, const MomentZone& zone);

// An instant as the zone's clocks show it, to the nearest minute.
struct LocalMoment {
    EuroDateRecord date; // the civil date, in the zone's calendar; its jdn the day number
    int minuteOfDay = 0; // 0 to 1439
};

// The instant jd (UT) in the zone, rounded to the nearest minute, its date written in the
// zone's calendar; nothing for an instant the calendar cannot convert.
std::optional<LocalMoment> LocalMomentOf(double jd, const MomentZone& zone);

} // namespace orbivex
