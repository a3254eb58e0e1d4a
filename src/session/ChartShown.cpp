#include "session/ChartShown.h"

namespace orbivex {

bool ChartOutOfDate(const ProgramState& state) {
    if (!IsChartMode(state.recordedMode)) {
        return false;
    }
    if (state.mode != state.recordedMode) {
        return true;
    }
    const auto used = DateSetsOfMode(state.recordedMode);
    for (int s = 0; s < NumDateSets; ++s) {
        if (!used[s]) {
            continue;
        }
        // Another place may give another instant (its local mean time).
        if (state.places[s] != state.computedPlaces[s]) {
            return true;
        }
        DateSet entered = state.dateSets[s];
        DateSet shown = state.computedDateSets[s];
        if (InputDateToAJDate(entered, state.zones) !=
            InputDateToAJDate(shown, state.computedZones)) {
            return true;
        }
    }
    return false;
}

} // namespace orbivex
