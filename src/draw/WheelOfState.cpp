#include "draw/WheelOfState.h"

#include "present/Grid.h"
#include "support/ProgramTexts.h"

namespace orbivex {

ChartMode WheelModeOf(const ProgramState& state) {
    return IsChartMode(state.recordedMode) ? state.recordedMode : state.mode;
}

WheelInput WheelInputOf(const ProgramState& state) {
    WheelInput input = MakeWheelInput(state.chart, state.settings);
    input.mode = WheelModeOf(state);
    return input;
}

ExportInput ExportInputOf(const ProgramState& state, const ProgramTexts& texts) {
    ExportInput input;
    input.wheel = WheelInputOf(state);
    // The dates of the wheel on display, whatever the date controls hold now.
    for (int set = 0; set < NumDateSets; ++set) {
        input.dates[set] = ExportDateTextOf(state.computedDateSets[set], state.computedZones.list);
    }
    const ChartMode mode = input.wheel.mode;
    if (IsTwoChartMode(mode)) {
        const QString summary =
            AddOrbToTitle(QString(), true, false, mode, state.orbSummary, texts);
        qsizetype start = 0;
        while (start < summary.size() && summary[start] == QLatin1Char(' ')) {
            ++start;
        }
        input.orbSummary = summary.mid(start);
    }
    return input;
}

} // namespace orbivex
