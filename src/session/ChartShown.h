#pragma once
// Whether the dates or the mode entered since the chart on display differ from it, so that
// Compute would show another chart.

#include "session/ProgramState.h"

#include <QString>

namespace orbivex {

// True while the mode chosen, or a date the chart on display was computed from, differs from
// that chart. Dates are compared by the moment they stand for, so that "2024" and " 2024", or
// an empty time and 12:00, count as the same date; a place changed since counts as another
// date. False before the first chart.
bool ChartOutOfDate(const ProgramState& state);

} // namespace orbivex
