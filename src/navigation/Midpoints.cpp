#include "navigation/Midpoints.h"

#include "core/Orbs.h"
#include "core/PatternTally.h"

#include <algorithm>
#include <array>
#include <bit>
#include <bitset>
#include <cmath>
#include <cstdint>
#include <optional>

namespace orbivex {

namespace {

// Whether longitude x lies within the orb of the midpoint of y and z, measured from their
// plain mean or from the point opposite it, so that either arc between y and z counts.
// Longitudes lie in [0, full circle).
bool AtMidpoint(double x, double y, double z, double orb) {
    const double mean = (y + z) / 2.0;
    // Most triples are nowhere near: x lies more than the orb from the mean, from the point
    // opposite it and from the mean's image a circle away. The margin dwarfs every rounding
    // of the exact test below, so this never turns away what that test would accept.
    constexpr double Margin = 1e-9;
    const double apart = std::fabs(x - mean);
    const double reach = orb + Margin;
    if (apart >= reach && std::fabs(apart - FullCircle / 2.0) >= reach &&
        FullCircle - apart >= reach) {
        return false;
    }
    if (AngularSeparation(mean, x) < orb) {
        return true;
    }
    return AngularSeparation(NormalizeAngle(mean + FullCircle / 2.0), x) < orb;
}

QString BodyLabel(BodyIndex body, bool longNames) {
    return longNames ? BodyName(body) : BodyAbbreviation(body);
}

// The roles in a midpoint triple: the body at the midpoint and the other two in ascending
// order; none when no body of a, b, c stands at the midpoint of the other two.
struct MidpointRoles {
    BodyIndex middle = 0;
    BodyIndex p = 0;
    BodyIndex q = 0;
};

// atMidpoint(x, y, z): whether body x stands at the midpoint of bodies y and z.
template <typename AtMidpointOf>
std::optional<MidpointRoles> FindMidpointRoles(const BodyPositions& positions, BodyIndex a,
                                               BodyIndex b, BodyIndex c, AtMidpointOf atMidpoint) {
    if (!IsBody(a) || !IsBody(b) || !IsBody(c)) {
        return std::nullopt;
    }
    const double pa = positions(a, 0);
    const double pb = positions(b, 0);
    const double pc = positions(c, 0);
    // NaN counts as no position as well.
    if (!(pa >= 0.0 && pb >= 0.0 && pc >= 0.0) || pa == pb || pa == pc || pb == pc) {
        return std::nullopt;
    }
    // The body at the midpoint first, then the two around it.
    std::array<BodyIndex, 3> roles{};
    if (atMidpoint(a, b, c)) {
        roles = {a, b, c};
    } else if (atMidpoint(b, a, c)) {
        roles = {b, a, c};
    } else if (atMidpoint(c, a, b)) {
        roles = {c, a, b};
    } else {
        return std::nullopt;
    }
    return MidpointRoles{roles[0], std::min(roles[1], roles[2]), std::max(roles[1], roles[2])};
}

std::optional<MidpointRoles> FindMidpointRoles(const BodyPositions& positions, double midpointOrb,
                                               BodyIndex a, BodyIndex b, BodyIndex c) {
    return FindMidpointRoles(positions, a, b, c, [&](BodyIndex x, BodyIndex y, BodyIndex z) {
        return AtMidpoint(positions(x, 0), positions(y, 0), positions(z, 0), midpointOrb);
    });
}

} // namespace

QString MidpointOfTriple(const BodyPositions& positions, double midpointOrb, BodyIndex a,
                         BodyIndex b, BodyIndex c, bool longNames) {
    const std::optional<MidpointRoles> roles = FindMidpointRoles(positions, midpointOrb, a, b, c);
    if (!roles) {
        return {};
    }
    return BodyLabel(roles->p, longNames) + QLatin1Char('-') + BodyLabel(roles->middle, longNames) +
           QLatin1Char('-') + BodyLabel(roles->q, longNames);
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

int CountMidpoints(const PatternContext& context, const AspectPairTable& pairs,
                   double midpointOrb) {
    const int n = pairs.NumBodies();
    constexpr int Bodies = MaxBodies + 1;
    const BodyPositions& p = context.positions;
    // Which bodies of each triple a < b < c stand at the midpoint of the other two (bit 0 a,
    // bit 1 b, bit 2 c), each tested once although the search meets the triple in several
    // orders. Most charts have no such triple at all, and then there is nothing to search.
    std::array<std::uint8_t, Bodies * Bodies * Bodies> triples{};
    const auto code = [](BodyIndex a, BodyIndex b, BodyIndex c) {
        return static_cast<size_t>((a * Bodies + b) * Bodies + c);
    };
    // For each pair, the third bodies that make a triple with a midpoint.
    std::array<std::array<BodySet, Bodies>, Bodies> thirds{};
    bool anyMidpoint = false;
    for (BodyIndex a = 1; a <= n; ++a) {
        for (BodyIndex b = a + 1; b <= n; ++b) {
            for (BodyIndex c = b + 1; c <= n; ++c) {
                const double pa = p(a, 0);
                const double pb = p(b, 0);
                const double pc = p(c, 0);
                if (!(pa >= 0.0 && pb >= 0.0 && pc >= 0.0)) {
                    continue;
                }
                const auto bits =
                    static_cast<std::uint8_t>((AtMidpoint(pa, pb, pc, midpointOrb) ? 1U : 0U) |
                                              (AtMidpoint(pb, pa, pc, midpointOrb) ? 2U : 0U) |
                                              (AtMidpoint(pc, pa, pb, midpointOrb) ? 4U : 0U));
                if (bits == 0) {
                    continue;
                }
                triples[code(a, b, c)] = bits;
                thirds[a][b] = static_cast<BodySet>(thirds[a][b] | 1U << c);
                thirds[a][c] = static_cast<BodySet>(thirds[a][c] | 1U << b);
                thirds[b][c] = static_cast<BodySet>(thirds[b][c] | 1U << a);
                anyMidpoint = true;
            }
        }
    }
    if (!anyMidpoint) {
        return 0;
    }
    const auto atMidpointOf = [&](BodyIndex x, BodyIndex y, BodyIndex z) {
        const BodyIndex low = std::min(y, z);
        const BodyIndex high = std::max(y, z);
        if (x < low) {
            return (triples[code(x, low, high)] & 1U) != 0;
        }
        if (x < high) {
            return (triples[code(low, x, high)] & 2U) != 0;
        }
        return (triples[code(low, high, x)] & 4U) != 0;
    };
    // The text search skips a configuration whose text it holds already; one text stands for
    // exactly one set of roles, so the roles are what is remembered here.
    std::bitset<Bodies * Bodies * Bodies> seen;
    std::optional<QString> runName;
    int intNum = 0;
    for (BodyIndex i = 1; i < n; ++i) {
        for (BodyIndex j = i + 1; j <= n; ++j) {
            if (pairs.Holds(i, j, Conjunction)) {
                continue;
            }
            // The third bodies in increasing order, as the text search meets them, leaving out
            // those conjunct with either of the pair and those that make no midpoint.
            BodySet ks = static_cast<BodySet>(thirds[i][j] & ~pairs.Partners(i, Conjunction) &
                                              ~pairs.Partners(j, Conjunction));
            for (; ks != 0; ks = static_cast<BodySet>(ks & (ks - 1U))) {
                const auto k = static_cast<BodyIndex>(std::countr_zero(ks));
                const std::optional<MidpointRoles> roles =
                    FindMidpointRoles(context.positions, i, k, j, atMidpointOf);
                if (!roles) {
                    continue;
                }
                const auto key =
                    static_cast<size_t>((roles->middle * Bodies + roles->p) * Bodies + roles->q);
                if (seen.test(key)) {
                    continue;
                }
                seen.set(key);
                if (context.runHook != nullptr && context.runHook->SeeksBodies()) {
                    if (!runName) {
                        runName = PatternName(MidpointPattern);
                    }
                    const std::array<BodyIndex, 3> bodies{i, k, j};
                    context.runHook->CheckSoughtBodies(*runName, bodies);
                }
                ++intNum;
            }
        }
    }
    return intNum;
}

} // namespace orbivex
