#include "core/Orbs.h"

#include "support/Rounding.h"

#include <cmath>
#include <limits>

namespace orbivex {
using enum BodyIndex;

namespace {

// Beyond this many circles the remainder is taken at once instead of circle by circle.
constexpr double StepwiseLimit = 16.0 * FullCircle;

// Longitudes compared as they would be shown with 6 decimals.
bool AgreeAtSixDecimals(double x, double y) {
    return RoundHalfEven(x * 1e6) == RoundHalfEven(y * 1e6);
}

} // namespace

double NormalizeAngle(double angle) {
    if (!std::isfinite(angle)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    if (std::fabs(angle) > StepwiseLimit) {
        angle = std::fmod(angle, FullCircle);
    }
    while (angle < 0.0) {
        angle += FullCircle;
    }
    while (angle >= FullCircle) {
        angle -= FullCircle;
    }
    return angle;
}

double AngularSeparation(double a, double b) {
    double d1 = a - b;
    if (d1 < 0.0) {
        d1 += FullCircle;
    }
    double d2 = b - a;
    if (d2 < 0.0) {
        d2 += FullCircle;
    }
    return d1 > d2 ? d2 : d1;
}

double AngularSeparation(double a, double b, int& direction) {
    const double separation = AngularSeparation(a, b);
    // Which of the two lies ahead; in an exact opposition both do and the first test wins.
    if (AgreeAtSixDecimals(NormalizeAngle(a + separation), b)) {
        direction = -1;
    } else if (AgreeAtSixDecimals(NormalizeAngle(b + separation), a)) {
        direction = 1;
    } else {
        direction = 0;
    }
    return separation;
}

double SignedSeparation(double a, double b) {
    int direction = 0;
    const double separation = AngularSeparation(a, b, direction);
    return separation * direction;
}

double AspectDeviation(double separation, AspectKind kind) {
    if (!IsAspectKind(kind)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return std::fabs(separation - AspectAngles[kind]);
}

AspectMatch FindAspect(const Position& a, const Position& b, const OrbTable& orbs,
                       OrbColumn column) {
    if (!a.Known() || !b.Known()) {
        return {};
    }
    const double separation = AngularSeparation(a.Longitude(), b.Longitude());
    for (const AspectKind kind : AllAspectKinds) {
        if (WithinOrb(separation, kind, orbs(kind, column))) {
            return {kind, AspectDeviation(separation, kind)};
        }
    }
    return {};
}

std::optional<double> AspectExactness(const Position& a, const Position& b, AspectKind kind,
                                      const OrbTable& orbs, OrbColumn column) {
    if (!a.Known() || !b.Known() || !IsAspectKind(kind)) {
        return std::nullopt;
    }
    const double orb = orbs(kind, column);
    const double separation = AngularSeparation(a.Longitude(), b.Longitude());
    if (!WithinOrb(separation, kind, orb)) {
        return std::nullopt;
    }
    return (orb - AspectDeviation(separation, kind)) / orb;
}

bool BoldfaceRule::IsBold(double orb, double deviation) const {
    if (!useBoldface) {
        return false;
    }
    if (oneDegree) {
        return deviation < FullCircle / 360.0;
    }
    return factor > 0 && deviation < orb / factor;
}

bool AspectShownInChart(BodyIndex a, BodyIndex b, const ChartFilters& filters) {
    if (filters.showOnlyEarthAspects) {
        return a == Earth || b == Earth;
    }
    if (filters.showOnlyOuterPlanetAspects) {
        const auto inner = [](BodyIndex body) { return IsBody(body) && Bodies[body].inner; };
        return !inner(a) && !inner(b);
    }
    return true;
}

} // namespace orbivex
