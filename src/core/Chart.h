#pragma once
// A chart as a value: what one computation finds for a mode and its dates (positions, aspects
// with their motion and emphasis, patterns, midpoints and counts), with no text, cell or colour
// in it. The grid, the reports, the wheel, the run's stop test and the command-line output are
// all built from a Chart.

#include "core/Bodies.h"
#include "core/ChartMode.h"
#include "core/ChartTables.h"
#include "core/Orbs.h"
#include "core/PatternSearch.h"
#include "core/Position.h"
#include "core/Zodiac.h"

#include <array>
#include <cstdint>
#include <vector>

namespace orbivex {

class Ephemeris;

struct ChartRequest {
    ChartMode mode = ChartMode::WorldTransits; // another value counts as world transits
    // Julian dates (UT) of the first set (the world date in world and personal transits, the
    // birthdate in natal aspects, the first birthdate in synastry) and of the second (the
    // birthdate in personal transits, the second birthdate in synastry; unused otherwise).
    double firstJulianDay = 0.0;
    double secondJulianDay = 0.0;
    OrbTable orbs;            // radians per kind and orb column
    double midpointOrb = 0.0; // radians
    BoldfaceRule boldface;
    int numBodies = MaxBodies; // bodies 1..numBodies take part
    // Whether each aspect is found applying or separating; a chart read only for its counts
    // does without, which halves its cost.
    bool motion = true;
    // The bodies a pattern run seeks while it has not found them: the 3-stellium search then
    // ends at the first 3-stellium lacking one of them.
    SoughtBodies soughtBodies{};
    // The zodiac the signs are counted in; positions and aspects stay in J2000.
    ZodiacChoice zodiac = ZodiacChoice::J2000;
};

enum class Motion : std::uint8_t {
    None,       // synastry, motion not asked for, the same deviation half an hour later, or a
                // body without a position then
    Applying,   // the deviation is smaller half an hour later
    Separating, // the deviation is larger half an hour later
};

struct ChartAspect {
    // World transits and natal aspects: first < second. Two-chart modes: first is the body of
    // the first set (transiting, or the first birthdate's) and second that of the second set.
    BodyIndex first = BodyIndex::Earth;
    BodyIndex second = BodyIndex::Earth;
    AspectKind kind = AspectKind::NoAspect;
    double deviation = 0.0; // radians from the exact aspect
    Motion motion = Motion::None;
    bool bold = false;
    bool operator==(const ChartAspect&) const = default;
};

struct Chart {
    ChartMode mode = ChartMode::NoChartMode;
    double firstJulianDay = 0.0;
    double secondJulianDay = 0.0;
    int numBodies = MaxBodies;
    // [0] the first set, [1] the second (two-chart modes; every entry unavailable otherwise).
    // Bodies above numBodies are unavailable.
    std::array<PositionSet, 2> positions{};
    // World transits and natal aspects: pairs k < j in the order k, then j. Two-chart modes:
    // the second set's bodies in order, each against the first set's in order.
    std::vector<ChartAspect> aspects;
    AspectCounts aspectCounts; // the aspects by kind
    // World transits and natal aspects only: the patterns of the first set in report order
    // (see FindPatterns) and the midpoint configurations in the order they were met.
    std::vector<FoundPattern> patterns;
    std::vector<MidpointConfiguration> midpoints;
    PatternCounts patternCounts; // index 13 counts the midpoints
    // A pattern run seeking bodies ended the 3-stellium search early: the 3-stelliums found
    // before that still count and take part in the run, but the report lists none.
    bool threeStelliumsWithheld = false;
    ZodiacChoice zodiac = ZodiacChoice::J2000;
    // Per set, what to add to its J2000 longitudes to count their signs (ZodiacOffset at the
    // set's instant): 0 in the zodiac of J2000.
    std::array<double, 2> zodiacOffset{};

    bool TwoSets() const { return IsTwoChartMode(mode); }
};

// Computes the chart of the request: the positions of the sets the mode uses, every pair's
// aspect in the mode's orb column, its motion (the first set moved half an hour on; in personal
// transits against the fixed natal longitude; none in synastry) and its emphasis, and in world
// transits and natal aspects the patterns and midpoints of the first set.
// previous, a chart computed before with the same ephemeris, lends its second set when that
// set's instant is the same: the natal chart stays put while the world date steps, and the
// ephemeris spends most of a chart's time when it has to read a far-away date.
Chart ComputeChart(const ChartRequest& request, const Ephemeris& ephemeris,
                   const Chart* previous = nullptr);

// The chart of positions already known, without motion (the Julian dates of the request are
// only recorded): positions[0] the first set, positions[1] the second.
Chart ChartOfPositions(const ChartRequest& request, const std::array<PositionSet, 2>& positions);

} // namespace orbivex
