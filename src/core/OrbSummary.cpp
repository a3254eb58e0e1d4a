#include "core/OrbSummary.h"

namespace orbivex {

OrbSummary ComputeOrbSummary(const OrbTable& orbs) {
    OrbSummary summary;
    for (const OrbColumn column : AllOrbColumns) {
        double largest = 0.0;
        double smallest = NoSmallestOrb;
        for (const AspectKind kind : AllAspectKinds) {
            const double orb = orbs(kind, column);
            if (orb > largest) {
                largest = orb;
            }
            if (orb > 0.0 && orb < smallest) {
                smallest = orb;
            }
        }
        summary.largest[Index(column)] = largest;
        summary.smallest[Index(column)] = smallest;
    }
    const std::size_t oneChart = Index(OrbColumn::OneChart);
    summary.allEqual = summary.largest[oneChart] == summary.smallest[oneChart];
    return summary;
}

} // namespace orbivex
