#pragma once
// Exact moments as the durations show them: the zone they are told in (the world date's) and
// their text, "December 9, 2026 at 14:23 GMT".

#include "session/ProgramState.h"

#include <QString>

namespace orbivex {

// A fixed zone: its offset east of Greenwich and its name in the time-zone list.
struct MomentZone {
    int offsetMinutes = 0;
    QString name = QStringLiteral("GMT");
};

// The zone of the chart on display's world date, as its conversion chose it (the computer's
// zone when none was chosen).
MomentZone WorldMomentZone(const ProgramState& state);

// "December 9, 2026 at 14:23 GMT": the instant jd (UT) in the zone, to the nearest minute;
// "" for an instant the calendar cannot convert.
QString ExactMomentText(double jd, const MomentZone& zone);

} // namespace orbivex
