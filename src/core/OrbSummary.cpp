#include "core/OrbSummary.h"

namespace orbivex {

OrbSummary ComputeOrbSummary(const OrbTable& orbs) {
    OrbSummary summary;
    for (OrbColumn column = 0; column < 3; ++column) {
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
        summary.largest[column] = largest;
        summary.smallest[column] = smallest;
    }
    summary.allEqual = summary.largest[0] == summary.smallest[0];
    return summary;
}

} // namespace orbivex
