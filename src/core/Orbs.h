#pragma once
// The aspect test: angular separations between heliocentric longitudes (radians), the match
// of a separation against the seven aspect kinds within their orbs, exactness, the emphasis
// rule and the chart filters. Everything works on the tables passed in; nothing here keeps
// state.

#include "core/Bodies.h"
#include "core/ChartTables.h"
#include "core/Position.h"

#include <cmath>
#include <optional>

namespace orbivex {

// The angle brought into [0, full circle). A non-finite angle gives NaN, which takes part in
// no aspect.
double NormalizeAngle(double angle);

// The shorter arc between longitudes a and b, in [0, pi]. direction becomes -1 when b lies
// ahead of a (a + separation reaches b), +1 when a lies ahead of b, 0 when neither matches at
// 6 decimals (for example a NaN longitude). An exact opposition gives -1.
double AngularSeparation(double a, double b, int& direction);
double AngularSeparation(double a, double b);

// a - b brought into [-pi, pi): the separation with its direction; exact opposition gives -pi.
double SignedSeparation(double a, double b);

// |separation - angle of the kind|: how far a separation is from the exact aspect. This is
// what the grid shows as the aspect's orb. NaN for an index that is not a kind.
double AspectDeviation(double separation, AspectKind kind);

// Whether the aspect of the kind holds at the separation: its deviation strictly below the orb.
// The one test of every aspect found; an orb of 0 holds nothing, not even an exact aspect.
inline bool WithinOrb(double separation, AspectKind kind, double orb) {
    return std::fabs(separation - AspectAngles[kind]) < orb;
}

struct AspectMatch {
    AspectKind kind = AspectKind::NoAspect; // 0 when the pair has no aspect
    double deviation = 0.0;                 // deviation from the kind found; 0 when none
};

// The aspect of two positions: the first kind 1..7 whose deviation is strictly below its orb
// in the given orb column. No aspect when either position is not known.
AspectMatch FindAspect(const Position& a, const Position& b, const OrbTable& orbs,
                       OrbColumn column);

// How close positions a and b are to an exact aspect of the kind: (orb - deviation) / orb, 1
// when exact and towards 0 at the edge, when the deviation is below the orb; nothing when it
// is not, when a position is not known or when the kind is not one.
std::optional<double> AspectExactness(const Position& a, const Position& b, AspectKind kind,
                                      const OrbTable& orbs, OrbColumn column);

// When an aspect is emphasised (the grid's bold cells, the wheel's thick lines): with boldface
// on, when its deviation is below 1 degree, or, with the proportion chosen, below its orb
// divided by the factor.
struct BoldfaceRule {
    bool useBoldface = false;
    bool oneDegree = true;
    int factor = 4;

    bool IsBold(double orb, double deviation) const;
    bool operator==(const BoldfaceRule&) const = default;
};

// The two display options that thin out the aspect lines of the chart wheel.
struct ChartFilters {
    bool showOnlyOuterPlanetAspects = false;
    bool showOnlyEarthAspects = false; // decides when both are set
};

// Whether the aspect between bodies a and b is drawn. In two-chart modes the bodies come from
// either chart; Earth of either chart counts as Earth.
bool AspectShownInChart(BodyIndex a, BodyIndex b, const ChartFilters& filters);

} // namespace orbivex
