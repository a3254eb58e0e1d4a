#pragma once
// Exact aspects: the instants (Julian dates on Universal Time) at which the heliocentric
// separation of two bodies, or of a body and a fixed longitude, equals an aspect's angle.
//
// Every body moves direct, and for all pairs but Neptune-Pluto the relative longitude turns in
// one direction; near Pluto's perihelion it turns back, so the same aspect can be exact several
// times in a row. The searches therefore never assume one exact moment per passage: they sample
// the relative longitude every day at 0 h UT (the fastest pair, Mercury and Earth, moves less
// than 7 degrees a day, far below the 30 degrees between aspect angles), and each crossing of an
// aspect's angle between two samples is refined on the ephemeris to a fraction of a second.

#include "core/Bodies.h"

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace orbivex {

class Ephemeris;

// The span in which exact moments are sought: every local day of the years 1 to 2799 in any
// zone, in the Gregorian calendar and in the Julian one (which begins two days earlier and ends
// nineteen days later): 0 h UT of the day before the Julian 1 January of year 1 to 0 h UT of
// the day after the Julian 1 January 2800 (exclusive). Callers keep to their own calendar's
// days.
inline constexpr double ExactSearchFirstJulianDay = 1721422.5;
inline constexpr double ExactSearchEndJulianDay = 2743758.5;

// An upper bound, radians a day, of how fast the heliocentric longitude of `body` moves away
// from that of `other` (or from a fixed longitude without `other`): an aspect's deviation
// changes by no more a day, so a search may pass over the days on which it surely decides
// nothing. Infinite for a value that is not a body.
double MaxRelativeMotion(BodyIndex body, std::optional<BodyIndex> other);

// What bounds the course of a relative longitude: its speed (as MaxRelativeMotion), its
// acceleration (radians a day squared) and how far a sampled value may stray from a smooth
// course (radians).
struct RelativeMotion {
    double speed = 0.0;
    double acceleration = 0.0;
    double noise = 0.0;
};
RelativeMotion RelativeMotionOf(BodyIndex body, std::optional<BodyIndex> other);

// A relative longitude (radians) sampled at an instant.
struct RelativeSample {
    double julianDay = 0.0;
    double relative = 0.0;
};

// Where the relative longitude at instant t lies: within `error` of the latest sample's value
// plus `change`. From the speed alone (change 0), or, given an earlier sample, from the line
// through both, the acceleration and the samples' noise; a caller may hold a value to both.
struct RelativeForecast {
    double change = 0.0;
    double error = 0.0;
};
RelativeForecast ForecastRelative(const RelativeMotion& motion, const RelativeSample& latest,
                                  const std::optional<RelativeSample>& earlier, double t);

// Whether a body is faster than another in the mean (shorter period): Mercury, Venus, Earth,
// Mars, Jupiter ... Pluto.
bool IsFasterBody(BodyIndex body, BodyIndex other);

struct ExactAspect {
    double julianDay = 0.0;              // UT
    BodyIndex first = BodyIndex::Earth;  // the body with the shorter period (faster on average)
    BodyIndex second = BodyIndex::Earth; // the body with the longer period
    AspectKind kind = AspectKind::NoAspect;
    bool operator==(const ExactAspect&) const = default;
};

struct AspectarianRequest {
    double from = 0.0; // UT; events with from <= julianDay < to
    double to = 0.0;
    ByBody<bool> bodies{};                        // the bodies taking part
    std::array<bool, NumAspectKinds + 1> kinds{}; // the aspect kinds listed, by AspectKind
};

// Told, after each stretch of days searched, the instant (UT) up to which the search is done;
// returns false to stop the search there.
using ExactSearchProgress = std::function<bool(double reachedJulianDay)>;

// The events found in one window of time, in time order, and the instant (UT) up to which the
// search is done with it.
struct ExactAspectWindow {
    double reached = 0.0;
    std::vector<ExactAspect> events;
};
// Takes the windows of a search in time order; returns false to stop the search there.
using ExactAspectSink = std::function<bool(const ExactAspectWindow& window)>;

// The events of FindExactAspects, found in windows of a few years on the cores of the machine
// and handed to `take` in time order on the calling thread: only a few windows are held at a
// time, whatever the span.
void StreamExactAspects(const Ephemeris& ephemeris, const AspectarianRequest& request,
                        const ExactAspectSink& take);

// Every exact aspect between two bodies of the request, of a kind of the request, in time
// order (ties by first body, second body, kind); each event once. Nothing outside years
// 1-2799, and for Pluto nothing outside its table. When `progress` stops the search, the
// events found up to then.
std::vector<ExactAspect> FindExactAspects(const Ephemeris& ephemeris,
                                          const AspectarianRequest& request,
                                          const ExactSearchProgress& progress = {});

// One aspect in orb at an instant: body `moving` against body `other` (both moving), or
// against the fixed longitude `fixedLongitude` (radians) when that is given.
struct PassageSearch {
    BodyIndex moving = BodyIndex::Earth;
    BodyIndex other = BodyIndex::Earth;
    std::optional<double> fixedLongitude;
    AspectKind kind = AspectKind::NoAspect;
    double orb = 0.0;       // radians: the passage lasts while the deviation is below it
    double julianDay = 0.0; // UT, an instant within the passage
};

// The exact moment of the passage through the aspect's orb that contains search.julianDay: the
// one nearest to that instant when the aspect is exact several times in the passage. Nothing
// when the aspect is not within orb at that instant, when it leaves its orb without becoming
// exact (Neptune and Pluto can turn back), or when the exact moment lies outside years
// 1-2799 or, for Pluto, outside its table.
std::optional<double> ExactMomentOfPassage(const Ephemeris& ephemeris, const PassageSearch& search);

} // namespace orbivex
