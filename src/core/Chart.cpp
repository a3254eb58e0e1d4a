#include "core/Chart.h"

#include "core/Ephemeris.h"

#include <algorithm>

namespace orbivex {
using enum AspectKind;
using enum PatternIndex;
using enum ChartMode;

namespace {

// The motion of an aspect is read from the deviation half an hour later.
constexpr double MotionStep = 1.0 / 48.0;

// The bodies beyond numBodies are unavailable.
PositionSet PositionsAt(const Ephemeris& ephemeris, double jd, int numBodies) {
    const PositionSet all = ephemeris.PositionsOfBodies(jd);
    PositionSet positions{};
    for (BodyIndex body : BodiesInUse(numBodies)) {
        positions[body] = all[body];
    }
    return positions;
}

Motion MotionOf(double later, double deviation) {
    if (later > deviation) {
        return Motion::Separating;
    }
    if (later < deviation) {
        return Motion::Applying;
    }
    return Motion::None;
}

// later: the positions half an hour after the first set's instant. In personal transits (the
// only two-set mode with motion) the natal set stays where it is.
void FindMotion(Chart& chart, const PositionSet& later) {
    const bool natalFixed = chart.TwoSets();
    for (ChartAspect& aspect : chart.aspects) {
        const Position& first = later[aspect.first];
        const Position& second =
            natalFixed ? chart.positions[1][aspect.second] : later[aspect.second];
        // A body that leaves its table within the half hour gives no motion.
        if (!first.Known() || !second.Known()) {
            continue;
        }
        aspect.motion = MotionOf(
            AspectDeviation(AngularSeparation(first.Longitude(), second.Longitude()), aspect.kind),
            aspect.deviation);
    }
}

} // namespace

Chart ChartOfPositions(const ChartRequest& request, const std::array<PositionSet, 2>& positions) {
    Chart chart;
    chart.mode = IsChartMode(request.mode) ? request.mode : WorldTransits;
    chart.firstJulianDay = request.firstJulianDay;
    chart.numBodies = std::clamp(request.numBodies, 0, MaxBodies);
    chart.zodiac = request.zodiac;
    chart.zodiacOffset[0] = ZodiacOffset(request.zodiac, request.firstJulianDay);
    const int n = chart.numBodies;
    const int sets = chart.TwoSets() ? 2 : 1;
    for (int set = 0; set < sets; ++set) {
        std::copy(positions[set].begin() + 1, positions[set].begin() + 1 + n,
                  chart.positions[set].begin() + 1);
    }
    const PositionSet& first = chart.positions[0];
    const OrbColumn column = OrbColumnOfMode(chart.mode);
    chart.aspects.reserve(static_cast<std::size_t>(n * n));
    const auto add = [&](BodyIndex a, BodyIndex b, AspectKind kind, double deviation) {
        chart.aspects.push_back({a, b, kind, deviation, Motion::None,
                                 request.boldface.IsBold(request.orbs(kind, column), deviation)});
        ++chart.aspectCounts.count[Index(kind)];
    };

    if (chart.TwoSets()) {
        chart.secondJulianDay = request.secondJulianDay;
        chart.zodiacOffset[1] = ZodiacOffset(request.zodiac, request.secondJulianDay);
        const PositionSet& second = chart.positions[1];
        for (BodyIndex l : BodiesInUse(n)) {
            const Position& natal = second[l];
            if (!natal.Known()) {
                continue;
            }
            for (BodyIndex m : BodiesInUse(n)) {
                const Position& moving = first[m];
                if (!moving.Known()) {
                    continue;
                }
                const AspectMatch match = FindAspect(natal, moving, request.orbs, column);
                if (match.kind != NoAspect) {
                    add(m, l, match.kind, match.deviation);
                }
            }
        }
        return chart;
    }

    // One set: the pair table decides every pair's aspect once, for the grid and the patterns.
    const AspectPairs pairs(first, request.orbs, n);
    for (BodyIndex k : BodiesInUse(n)) {
        for (BodyIndex j : BodiesAfter(k, n)) {
            const AspectKind kind = pairs.FirstKind(k, j);
            if (kind != NoAspect) {
                add(k, j, kind, pairs.Deviation(k, j, kind));
            }
        }
    }
    chart.threeStelliumsWithheld =
        FindPatterns(pairs, request.soughtBodies, chart.patterns, chart.patternCounts);
    chart.midpoints = FindMidpoints(first, pairs, request.midpointOrb);
    chart.patternCounts[MidpointPattern] = static_cast<int>(chart.midpoints.size());
    return chart;
}

Chart ComputeChart(const ChartRequest& request, const Ephemeris& ephemeris, const Chart* previous) {
    const int n = std::clamp(request.numBodies, 0, MaxBodies);
    const bool twoSets = IsTwoChartMode(request.mode);
    const bool motion = request.motion && request.mode != SynastryMode;
    std::array<PositionSet, 2> positions{};
    positions[0] = PositionsAt(ephemeris, request.firstJulianDay, n);
    // The half hour later is asked for next to the instant itself: the ephemeris keeps the
    // stretch of its files it read last, and the second set's date may lie far away.
    PositionSet later{};
    if (motion) {
        later = ephemeris.PositionsOfBodies(request.firstJulianDay + MotionStep);
    }
    if (twoSets) {
        const bool unchanged = previous != nullptr && previous->TwoSets() &&
                               previous->secondJulianDay == request.secondJulianDay &&
                               previous->numBodies == n;
        positions[1] =
            unchanged ? previous->positions[1] : PositionsAt(ephemeris, request.secondJulianDay, n);
    }
    Chart chart = ChartOfPositions(request, positions);
    if (motion) {
        FindMotion(chart, later);
    }
    return chart;
}

} // namespace orbivex
