#pragma once
// Midpoint configurations: three bodies of the first chart of which one stands at the
// midpoint of the other two (or at the point opposite it), within the midpoint orb.

#include "core/ChartTables.h"
#include "core/Patterns.h"

#include <QString>

namespace orbivex {

class AspectPairTable;

// The midpoint text of bodies a, b and c: the other two in ascending order around the body at
// the midpoint ("Mercury-Earth-Mars", or "Me-Ea-Ma" without long names); "" when none of the
// three stands within midpointOrb (radians, strictly) of the midpoint of the other two, when
// one has no position or is not a body, or when two stand at exactly the same longitude.
// Positions are column 0.
QString MidpointOfTriple(const BodyPositions& positions, double midpointOrb, BodyIndex a,
                         BodyIndex b, BodyIndex c, bool longNames);

// All midpoint configurations among bodies 1..context.numBodies whose three bodies are
// mutually unconjunct (world/natal conjunction orb), each once, in the order the search meets
// them. blnNatalReport: one line of long names per configuration; otherwise lines
// "Midpoint: Me-Ea-Ma". Every line ends with CR LF. intNum receives the number found. A run
// seeking bodies hears of each configuration as pattern "Midpoint".
QString CheckForMidpoint(const PatternContext& context, double midpointOrb, bool blnNatalReport,
                         int& intNum);

// The number CheckForMidpoint gives in intNum, with the same run-hook calls in the same order,
// without writing text. pairs must describe context.positions and context.orbs.
int CountMidpoints(const PatternContext& context, const AspectPairTable& pairs, double midpointOrb);

} // namespace orbivex
