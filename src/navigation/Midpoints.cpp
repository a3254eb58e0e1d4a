#include "navigation/Midpoints.h"

#include "core/Aspects.h"

#include <algorithm>
#include <array>

namespace orbivex {

namespace {

// Whether longitude x lies within the orb of the midpoint of y and z, measured from their
// plain mean or from the point opposite it, so that either arc between y and z counts.
bool AtMidpoint(double x, double y, double z, double orb) {
    const double mean = (y + z) / 2.0;
    if (AngularSeparation(mean, x) < orb) {
        return true;
    }
    return AngularSeparation(NormalizeAngle(mean + FullCircle / 2.0), x) < orb;
}

QString BodyLabel(BodyIndex body, bool longNames) {
    return longNames ? BodyName(body) : BodyAbbreviation(body);
}

} // namespace

QString MidpointOfTriple(const BodyPositions& positions, double midpointOrb, BodyIndex a,
                         BodyIndex b, BodyIndex c, bool longNames) {
    if (!IsBody(a) || !IsBody(b) || !IsBody(c)) {
        return {};
    }
    const double pa = positions(a, 0);
    const double pb = positions(b, 0);
    const double pc = positions(c, 0);
    // NaN counts as no position as well.
    if (!(pa >= 0.0 && pb >= 0.0 && pc >= 0.0) || pa == pb || pa == pc || pb == pc) {
        return {};
    }
    // The body at the midpoint first, then the two around it.
    std::array<BodyIndex, 3> roles{};
    if (AtMidpoint(pa, pb, pc, midpointOrb)) {
        roles = {a, b, c};
    } else if (AtMidpoint(pb, pa, pc, midpointOrb)) {
        roles = {b, a, c};
    } else if (AtMidpoint(pc, pa, pb, midpointOrb)) {
        roles = {c, a, b};
    } else {
        return {};
    }
    const BodyIndex middle = roles[0];
    const BodyIndex p = std::min(roles[1], roles[2]);
    const BodyIndex q = std::max(roles[1], roles[2]);
    return BodyLabel(p, longNames) + QLatin1Char('-') + BodyLabel(middle, longNames) +
           QLatin1Char('-') + BodyLabel(q, longNames);
}

QString CheckForMidpoint(const PatternContext& context, double midpointOrb, bool blnNatalReport,
                         int& intNum) {
    const int n = std::clamp(context.numBodies, 0, MaxBodies);
    const auto conjunct = [&](BodyIndex x, BodyIndex y) {
        double deviation = 0.0;
        return AspectWithinOrb(context.positions, context.orbs, x, y, Conjunction, deviation);
    };
    QString text;
    intNum = 0;
    for (BodyIndex i = 1; i < n; ++i) {
        for (BodyIndex j = i + 1; j <= n; ++j) {
            if (conjunct(i, j)) {
                continue;
            }
            for (BodyIndex k = 1; k <= n; ++k) {
                if (k == i || k == j || conjunct(k, j) || conjunct(k, i)) {
                    continue;
                }
                const QString s =
                    MidpointOfTriple(context.positions, midpointOrb, i, k, j, blnNatalReport);
                // The same triple is met from several orders and gives the same text each time.
                if (s.isEmpty() || text.contains(s)) {
                    continue;
                }
                if (context.runHook != nullptr && context.runHook->SeeksBodies()) {
                    const std::array<BodyIndex, 3> bodies{i, k, j};
                    context.runHook->CheckSoughtBodies(PatternName(MidpointPattern), bodies);
                }
                ++intNum;
                if (!blnNatalReport) {
                    text += PatternName(MidpointPattern) + QStringLiteral(": ");
                }
                text += s + QStringLiteral("\r\n");
            }
        }
    }
    return text;
}

} // namespace orbivex
