#pragma once
// Two state files that differ in every line, shared by the tests of saving and the helper
// program they run as a separate process.

#include "session/StateFile.h"

namespace orbivex::test {

// variant 0 or 1; variant 1 has year texts of the longest kept length, so its file is the
// largest a state file gets.
inline StateFileContents SampleState(int variant) {
    StateFileContents c;
    const bool large = variant == 1;
    for (int set = 0; set < 3; ++set) {
        c.dateSets[set] = {large ? 12 - set : 1 + set, large ? 31 - set : 10 + set,
                           large ? QString(StateFileContents::MaxYearTextLength, QChar(u'9'))
                                 : QStringLiteral("19\u00e9%1").arg(set),
                           large ? 48 - set : 5 + set, large ? 47 - set : 20 + set};
    }
    c.SelectMode(large ? ChartMode::SynastryMode : ChartMode::WorldTransits);
    c.stepUnitIndex = large ? 4 : 1;
    c.useBoldface = large;
    c.boldfaceFactorIndex = large ? 8 : 2;
    c.oneDegreeOfOrb = !large;
    c.proportionOfOrb = large;
    c.divisorIndex = large ? std::array<int, 2>{4, 3} : std::array<int, 2>{1, 2};
    for (int list = 0; list < 8; ++list) {
        c.orbPosition[list] = large ? 15 - list : list;
    }
    for (const AspectKind kind : AllAspectKinds) {
        c.aspectColour[Index(kind)] = large ? 0xffffff - KindNumber(kind) : KindNumber(kind) * 1000;
    }
    c.midpointOrbIndex = large ? 7 : 1;
    return c;
}

} // namespace orbivex::test
