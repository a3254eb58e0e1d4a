#pragma once
// The main window's title, which names the chart on display.

#include "session/ProgramState.h"

#include <QString>

namespace orbivex {

class ProgramTexts;

// "Orbivex — World transits, December 7, 2026, 12:00 GMT": the program, the mode of the chart
// on display and its date, or both its dates in the two-chart modes (the world date or the 1st
// birthdate first), each after the name of its person or event when it has one ("Ada Lovelace,
// December 10, 1815, ..."); the program's name alone before the first chart.
QString WindowTitleText(const ProgramState& state, const ProgramTexts& texts);

} // namespace orbivex
