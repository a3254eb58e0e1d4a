#pragma once
// The chart wheel and its export image for what the last Compute left in the program state.

#include "draw/ChartWheel.h"
#include "draw/ImageExport.h"
#include "session/ProgramState.h"

namespace orbivex {

class ProgramTexts;

// The mode of the last Compute (whose chart the wheel draws), or the selected mode before any.
ChartMode WheelModeOf(const ProgramState& state);

// The wheel of the last Compute: its chart's positions and aspects with the colours, filters
// and sector switch of the configuration.
WheelInput WheelInputOf(const ProgramState& state);

// The same wheel with the dates of the date sets and, for two sets, the orb summary, as the
// image export composes it.
ExportInput ExportInputOf(const ProgramState& state, const ProgramTexts& texts);

} // namespace orbivex
