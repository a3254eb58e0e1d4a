#pragma once
// Exact moments as the durations show them: the zone they are told in (the world date's) and
// their text, "December 9, 2026 at 14:23 GMT".

#include "calendar/LocalMoment.h"
#include "session/ProgramState.h"

#include <QString>
#include <cstdint>

namespace orbivex {

// The zone of the chart on display's world date, as its conversion chose it (the computer's
// zone when none was chosen).
MomentZone WorldMomentZone(const ProgramState& state);

// "December 9, 2026 at 14:23 GMT": the instant jd (UT) in the zone, to the nearest minute;
// "" for an instant the calendar cannot convert.
QString ExactMomentText(double jd, const MomentZone& zone);

// The day of the instant jd (UT) in the zone, as the progress of a search shows the day it has
// reached: "March 5, 2024"; "" for an instant the calendar cannot convert.
QString ProgressDateText(double jd, const MomentZone& zone);

// Sets the world date set to the instant jd (UT) in its zone (a named zone's offset at that
// instant; the computer's entry of the list when none is chosen, which it then selects), to the
// nearest minute, written in the date set's calendar. False, with the date set unchanged, for
// an instant outside years 1-2799.
bool SetWorldDateToMoment(DateSet& world, const TimeZones& zones, double jd);

} // namespace orbivex
