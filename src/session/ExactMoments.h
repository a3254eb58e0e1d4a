#pragma once
// Exact moments as the durations show them: the zone they are told in (the world date's) and
// their text, "December 9, 2026 at 14:23 GMT".

#include "session/ProgramState.h"

#include <QString>
#include <cstdint>

namespace orbivex {

// The zone moments are told in: a fixed zone, its offset east of Greenwich and its name in the
// time-zone list, or a zone of the time-zone database by its name ("Europe/Paris"), whose
// offset is the one in force there at each moment; and the calendar the moments are written
// in (the world date's).
struct MomentZone {
    int offsetMinutes = 0;
    QString name = QStringLiteral("GMT");
    CalendarChoice calendar = CalendarChoice::Gregorian;
    bool named = false; // name is a zone of the database; offsetMinutes is not used
};

// The zone a date set converts with: its named zone, else its entry of the list (the default
// entry when it has none); Greenwich when neither applies.
MomentZone MomentZoneOf(const DateSet& dateSet, const TimeZones& zones);

// The zone of the chart on display's world date, as its conversion chose it (the computer's
// zone when none was chosen).
MomentZone WorldMomentZone(const ProgramState& state);

// The offset east of Greenwich, in minutes, in force in the zone at the instant jd (UT).
double MomentOffsetMinutes(const MomentZone& zone, double jd);

// The instant (UT) at which the civil day `day` begins in the zone (its local midnight).
double LocalDayStart(std::int32_t day, const MomentZone& zone);

// "December 9, 2026 at 14:23 GMT": the instant jd (UT) in the zone, to the nearest minute;
// "" for an instant the calendar cannot convert.
QString ExactMomentText(double jd, const MomentZone& zone);

// Sets the world date set to the instant jd (UT) in its zone (a named zone's offset at that
// instant; the computer's entry of the list when none is chosen, which it then selects), to the
// nearest minute, written in the date set's calendar. False, with the date set unchanged, for
// an instant outside years 1-2799.
bool SetWorldDateToMoment(DateSet& world, const TimeZones& zones, double jd);

} // namespace orbivex
