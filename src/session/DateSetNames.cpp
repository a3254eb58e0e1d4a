// The names that date sets take from the chart library.
#include "session/ProgramState.h"

namespace orbivex {
using enum ChartMode;

QString NameOfDateSet(const ProgramState& state, int dateSet, bool computed) {
    if (dateSet < 0 || dateSet >= NumDateSets) {
        return {};
    }
    const DateSetName& named = state.names[dateSet];
    if (named.name.isEmpty()) {
        return {};
    }
    const Expected<double, DateError> instant =
        computed ? InputDateToAJDate(state.computedDateSets[dateSet], state.computedZones)
                 : InputDateToAJDate(state.dateSets[dateSet], state.zones);
    return instant && *instant == named.instant.julianDay ? named.name : QString();
}

std::array<QString, NumDateSets> NamesOfDateSets(const ProgramState& state, bool computed) {
    std::array<QString, NumDateSets> names;
    for (int s = 0; s < NumDateSets; ++s) {
        names[s] = NameOfDateSet(state, s, computed);
    }
    return names;
}

void NameDateSet(ProgramState& state, int dateSet, const QString& name, qint64 libraryId) {
    if (dateSet < 0 || dateSet >= NumDateSets) {
        return;
    }
    const Expected<double, DateError> instant =
        InputDateToAJDate(state.dateSets[dateSet], state.zones);
    state.names[dateSet] =
        instant ? DateSetName{name, libraryId, Instant{*instant}} : DateSetName{};
}

ChartMode ModeShowingDateSet(ChartMode mode, int dateSet) {
    if (ModeUsesDateSet(mode, dateSet)) {
        return mode;
    }
    switch (dateSet) {
    case WorldDate:
        return WorldTransits;
    case FirstBirthdate:
        return mode == PersonalSecond ? PersonalFirst : NatalFirst;
    case SecondBirthdate:
        return mode == PersonalFirst ? PersonalSecond : NatalSecond;
    default:
        return mode;
    }
}

} // namespace orbivex
