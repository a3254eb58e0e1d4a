#pragma once
// The Compute command without its window: converts the dates the mode needs and computes the
// chart into the program state. Its owner builds what it shows from that chart (the window and
// orbivex-cli a ChartView). The window, orbivex-cli and the tests all call this one function.

#include "calendar/DateInput.h"
#include "session/ProgramState.h"

#include <array>
#include <optional>

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

struct ComputeOutcome {
    // The first date set that did not convert, with its message; none on success. On a date
    // error only ChartJulianDays changes: the chart and the recorded mode keep theirs.
    std::optional<int> failedDateSet;
    DateErrorText dateError;
    // Notes on local times that a named zone skipped or had twice, and the reading chosen.
    QStringList notes;
    bool ok() const { return !failedDateSet.has_value(); }
};

ComputeOutcome Compute(ProgramState& state, const ComputeContext& context);

// The request of the state's mode, dates (ChartJulianDays, converted), orbs and settings.
ChartRequest ChartRequestOf(const ProgramState& state, const ComputeContext& context);

} // namespace orbivex
