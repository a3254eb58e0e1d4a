#pragma once

#include "core/ChartTables.h"

namespace orbivex {

// The smallest-orb search starts from this value (radians), far above any real orb; a column
// whose orbs are all 0 keeps it as its smallest orb.
inline constexpr double NoSmallestOrb = 20.0;

// Largest orb and smallest orb above 0 of each orb column over aspect kinds 1..7. allEqual is
// set when column 0's largest and smallest orb are the same, so that one orb describes them
// all (kinds with orb 0 are switched off and do not count).
OrbSummary ComputeOrbSummary(const OrbTable& orbs);

} // namespace orbivex
