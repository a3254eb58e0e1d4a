#pragma once
// What the user is told about the chart on display: the window title that names it, and
// whether the dates or the mode entered since differ from it, so that Compute would show
// another chart.

#include "session/ProgramState.h"

#include <QString>

namespace orbivex {

class ProgramTexts;

// "Orbivex — World transits, December 7, 2026, 12:00 GMT": the program, the mode of the chart
// on display and its date, or both its dates in the two-chart modes (the world date or the 1st
// birthdate first), each after the name of its person or event when it has one ("Ada Lovelace,
// December 10, 1815, ..."); the program's name alone before the first chart.
QString WindowTitleText(const ProgramState& state, const ProgramTexts& texts);

// True while the mode chosen, or a date the chart on display was computed from, differs from
// that chart. Dates are compared by the moment they stand for, so that "2024" and " 2024", or
// an empty time and 12:00, count as the same date; a place changed since counts as another
// date. False before the first chart.
bool ChartOutOfDate(const ProgramState& state);

} // namespace orbivex
