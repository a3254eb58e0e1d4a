#pragma once
// The Compute command without its window: converts the dates the mode needs and computes the
// chart into the program state. Its owner builds what it shows from that chart (the window and
// orbivex-cli a ChartView). The window, orbivex-cli and the tests all call this one function.

#include "calendar/DateInput.h"
#include "session/ProgramState.h"

#include "support/Expected.h"

#include <array>

namespace orbivex {

class Ephemeris;
class ProgramTexts;

struct ComputeContext {
    const Ephemeris& ephemeris;
    const ProgramTexts& texts;
    // The bodies a pattern run seeks while it has not found them (see ChartRequest).
    SoughtBodies soughtBodies{};
    // For a run at full speed, which reads nothing but the chart: ChartJulianDays, the chart
    // (without motion) and the recorded mode come out as from a full Compute, while the dates
    // of the chart on display (computedDateSets, computedZones) keep what the last full
    // Compute left.
    bool chartOnly = false;
};

// The first date set of a Compute that did not convert: which, why, and the message shown.
struct DateFailure {
    int dateSet = WorldDate;
    DateError error = DateError::Incomplete;
    QString message;
    QString title;
};

// On success the notes on local times that a named zone skipped or had twice, and the reading
// chosen. On a date error nothing changes but the date sets' converted form (the year in digits,
// 12:00 or the default zone filled in): ChartJulianDays, the chart and the recorded mode keep
// theirs.
using ComputeOutcome = Expected<QStringList, DateFailure>;

ComputeOutcome Compute(ProgramState& state, const ComputeContext& context);

// The note of a date read in the local mean time of its place: "1st birthdate: the local mean
// time of Lyon (4.85° E), UT+00:19:23."
QString LocalMeanTimeNote(const ProgramTexts& texts, int dateSet, const Place& place,
                          int offsetSeconds);

// The request of the state's mode, dates (ChartJulianDays, converted), orbs and settings.
ChartRequest ChartRequestOf(const ProgramState& state, const ComputeContext& context);

} // namespace orbivex
