#pragma once
// The Compute command without its window: converts the dates the mode needs, obtains the
// positions, fills the aspect grid, counts the aspects and writes the report with its
// patterns and midpoints. The window, orbivex-cli and the tests all call this one function.

#include "calendar/DateInput.h"
#include "navigation/ProgramState.h"

#include <array>
#include <optional>

namespace orbivex {

class Ephemeris;
class PatternRunHook;
class ProgramTexts;

struct ComputeContext {
    const Ephemeris& ephemeris;
    const ProgramTexts& texts;
    // While a pattern run seeks particular bodies, the finders report each pattern here.
    PatternRunHook* runHook = nullptr;
    std::array<BodyIndex, 3> soughtBodies{};
    // For a run at full speed, which reads nothing but the counts: ChartJulianDays, the
    // positions, AspectCounts, PatternCounts, the recorded mode and the run-hook calls come out
    // exactly as from a full Compute, while the title, the grid, the aspect list and the
    // report texts keep what the last full Compute left, and no motion sign is computed.
    bool countsOnly = false;
};

struct ComputeOutcome {
    // The first date set that did not convert, with its message; none on success. On a date
    // error only ChartJulianDays changes: the grid and the reports keep their contents.
    std::optional<int> failedDateSet;
    DateErrorText dateError;
    bool ok() const { return !failedDateSet.has_value(); }
};

ComputeOutcome Compute(ProgramState& state, const ComputeContext& context);

// The pattern lines of world transits and natal aspects from the first chart's positions, in
// report order (only the largest stellium; the midpoints last), writing every pattern count.
QString PatternReport(ProgramState& state, const ComputeContext& context);

// The report line of the aspect counts in world transits and natal aspects, and in the
// two-chart modes (without line breaks).
QString AspectCountReport(const AspectCounts& counts, const ProgramTexts& texts);
QString AspectCountReportTwoCharts(const AspectCounts& counts, const ProgramTexts& texts);

} // namespace orbivex
