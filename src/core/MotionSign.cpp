// The applying/separating sign lives apart from the rest of the aspect test because it is the
// only part that needs the position component.

#include "core/Ephemeris.h"
#include "core/Orbs.h"

namespace orbivex {

namespace {

// The deviation is compared with the one half an hour later.
constexpr double MotionStep = 1.0 / 48.0;

} // namespace

QString MotionSign(const Ephemeris& ephemeris, const MotionQuery& query) {
    if (query.chart == ChartMotion::Synastry || !IsAspectKind(query.kind)) {
        return {};
    }
    const double later = query.julianDay + MotionStep;
    const double first = ephemeris.PositionOfBody(query.first, later);
    const double second = query.chart == ChartMotion::PersonalTransits
                              ? query.natalLongitude
                              : ephemeris.PositionOfBody(query.second, later);
    // A body that leaves its table within the half hour gives no sign rather than a deviation
    // measured from a marker value.
    if (first < 0.0 || second < 0.0) {
        return {};
    }
    const double deviation = AspectDeviation(AngularSeparation(first, second), query.kind);
    if (deviation > query.deviation) {
        return QStringLiteral(" +");
    }
    if (deviation < query.deviation) {
        return QStringLiteral(" -");
    }
    return {};
}

} // namespace orbivex
