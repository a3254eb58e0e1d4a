#pragma once
// The Compute command without its window: converts the dates the mode needs and computes the
// chart into the program state. Its owner builds what it shows from that chart (the window and
// orbivex-cli a ChartView). The window, orbivex-cli and the tests all call this one function.

#include "calendar/DateInput.h"
#include "session/ProgramState.h"

#include "support/Expected.h"

#include <array>
#include <optional>
#include <vector>

namespace orbivex {

class Ephemeris;

struct ComputeContext {
    const Ephemeris& ephemeris;
    // The bodies a pattern run seeks while it has not found them (see ChartRequest).
    SoughtBodies soughtBodies{};
    // For a run at full speed, which reads nothing but the chart: ChartJulianDays, the chart
    // (without motion) and the recorded mode come out as from a full Compute, while the dates
    // of the chart on display (computedDateSets, computedZones) keep what the last full
    // Compute left.
    bool chartOnly = false;
};

// The first date set of a Compute that did not convert, and why.
struct DateFailure {
    int dateSet = WorldDate;
    DateError error = DateError::Incomplete;
};

// How a date of a Compute was read, when its owner should be told: at a local time that its
// named zone skipped or had twice (localTime), or in the local mean time of its place (place,
// meanTimeSeconds east of Greenwich; a place without a name when only its longitude is known).
struct ComputeNote {
    int dateSet = WorldDate;
    std::optional<UnusualLocalTime> localTime;
    std::optional<Place> place;
    int meanTimeSeconds = 0;
};

// On success the notes, in date-set order. On a date error nothing changes but the date sets'
// converted form (the year in digits, 12:00 or the default zone filled in): ChartJulianDays, the
// chart and the recorded mode keep theirs.
using ComputeOutcome = Expected<std::vector<ComputeNote>, DateFailure>;

ComputeOutcome Compute(ProgramState& state, const ComputeContext& context);

// The request of the state's mode, dates (ChartJulianDays, converted), orbs and settings.
ChartRequest ChartRequestOf(const ProgramState& state, const ComputeContext& context);

} // namespace orbivex
