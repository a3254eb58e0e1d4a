#include "navigation/WheelOfState.h"

#include "display/Grid.h"
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
    for (int set = 0; set < NumDateSets; ++set) {
        input.dates[set] = ExportDateTextOf(state.dateSets[set], state.zones.list);
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
