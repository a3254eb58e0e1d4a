#include "core/ExactAspects.h"

#include "core/Ephemeris.h"
#include "core/WorkerPool.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

namespace orbivex {
using enum BodyIndex;
using enum AspectKind;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// The aspect angles are the multiples of 30 degrees: a relative longitude of m steps is
// exact for the kind of step m (0 to 11).
constexpr double AngleStep = FullCircle / 12.0;
constexpr std::array<AspectKind, 12> KindOfStep{
    Conjunction, Semisextile, Sextile, Square, Trine,   Quincunx,
    Opposition,  Quincunx,    Trine,   Square, Sextile, Semisextile,
};

// Bodies by mean speed, fastest first.
constexpr ByBody<int> SpeedRank{{0, 3, 1, 2, 4, 5, 6, 7, 8, 9}};

// A refined moment is good enough when it is this close in time (a tenth of a second) ...
constexpr double TimeTolerance = 1e-6;
// ... or the separation this close to the angle, far below the ephemeris' own precision.
constexpr double AngleTolerance = 1e-12;

// An angle brought into [-pi, pi).
double Wrap(double angle) {
    return angle - FullCircle * std::floor((angle + FullCircle / 2.0) / FullCircle);
}

bool Opposite(double a, double b) {
    return (a < 0.0 && b > 0.0) || (a > 0.0 && b < 0.0);
}

// The root of a continuous f in [lo, hi], where f(lo) and f(hi) are of opposite signs (or one
// is 0), starting from `guess` with `slope` the estimated derivative (radians a day). Secant
// steps kept inside the bracket, bisection when they stall. NaN when f has no value somewhere.
template <class F>
double Refine(F f, double lo, double flo, double hi, double fhi, double guess, double slope) {
    if (flo == 0.0) {
        return lo;
    }
    if (fhi == 0.0) {
        return hi;
    }
    double t = std::isfinite(guess) ? std::clamp(guess, lo, hi) : (lo + hi) / 2.0;
    double previousT = NaN;
    double previousF = NaN;
    for (int iteration = 0; iteration < 100; ++iteration) {
        const double ft = f(t);
        if (std::isnan(ft)) {
            return NaN;
        }
        if (ft == 0.0 || std::fabs(ft) < AngleTolerance) {
            return t;
        }
        if (Opposite(ft, flo)) {
            hi = t;
            fhi = ft;
        } else {
            lo = t;
            flo = ft;
        }
        if (!std::isnan(previousT) && t != previousT && ft != previousF) {
            slope = (ft - previousF) / (t - previousT);
        }
        const double step = slope != 0.0 ? ft / slope : NaN;
        if (std::fabs(step) < TimeTolerance || hi - lo < TimeTolerance) {
            return std::clamp(t - (std::isnan(step) ? 0.0 : step), lo, hi);
        }
        previousT = t;
        previousF = ft;
        double next = t - step;
        // Outside the bracket, or a crawl at one end: halve the bracket instead.
        if (!(next > lo && next < hi) || iteration % 4 == 3) {
            next = (lo + hi) / 2.0;
        }
        t = next;
    }
    return (lo + hi) / 2.0;
}

// The relative longitude of a pair at an instant (radians), NaN without a position.
struct Relative {
    const Ephemeris& ephemeris;
    BodyIndex moving;
    BodyIndex other;
    std::optional<double> fixedLongitude;

    double operator()(double jd) const {
        const Position a = ephemeris.PositionOfBody(moving, jd);
        const Position b =
            fixedLongitude ? Position(*fixedLongitude) : ephemeris.PositionOfBody(other, jd);
        return a.Known() && b.Known() ? a.Longitude() - b.Longitude() : NaN;
    }
};

bool InSearchSpan(double jd) {
    return jd >= ExactSearchFirstJulianDay && jd < ExactSearchEndJulianDay;
}

// Bounds of each body's heliocentric motion in longitude, degrees a day: its speed at aphelion
// and at perihelion (Earth 0.953 to 1.019, Mercury 2.76 to 6.35, Venus 1.58 to 1.62, Mars 0.436
// to 0.635, Jupiter 0.0755 to 0.0917, Saturn 0.0300 to 0.0375, Uranus 0.0107 to 0.0129, Neptune
// 0.00588 to 0.00609, Pluto 0.00247 to 0.00682), a fifth lower and a quarter higher to spare
// for the perturbations and for the inclination of the orbits to the ecliptic.
struct MotionRange {
    double slowest;
    double fastest;
};
constexpr ByBody<MotionRange> MotionBounds{{{
    {0.0, 0.0},
    {0.8 * 0.953, 1.25 * 1.019},
    {0.8 * 2.76, 1.25 * 6.35},
    {0.8 * 1.58, 1.25 * 1.62},
    {0.8 * 0.436, 1.25 * 0.635},
    {0.8 * 0.0755, 1.25 * 0.0917},
    {0.8 * 0.0300, 1.25 * 0.0375},
    {0.8 * 0.0107, 1.25 * 0.0129},
    {0.8 * 0.00588, 1.25 * 0.00609},
    {0.8 * 0.00247, 1.25 * 0.00682},
}}};

// Bounds of each body's acceleration in longitude, degrees a day squared: twice the greatest of
// its orbit. And how far a position may stray from a smooth course: the Pluto table's whole
// arc seconds (twice their rounding), the library's rounding for the others, in radians.
constexpr ByBody<double> AccelerationBounds{
    {0.0, 1.2e-3, 0.33, 1.3e-3, 2.0e-3, 2.5e-5, 5.0e-6, 5.0e-7, 5.0e-8, 5.0e-7}};
constexpr double PlutoTableNoise = FullCircle / 360.0 / 3600.0;
constexpr double LibraryNoise = 1e-9;

// ---- The aspectarian -------------------------------------------------------------------------

struct Pair {
    BodyIndex first;
    BodyIndex second;
};

// The root in [0, 1] of the cubic through (-1, gm), (0, g0), (1, g1), (2, g2) nearest the
// linear guess, and the cubic's slope there (per day). Falls back to the line when a neighbour
// is missing.
std::pair<double, double> CubicRoot(double gm, double g0, double g1, double g2) {
    const double linearSlope = g1 - g0;
    double s = g0 / (g0 - g1);
    if (std::isnan(gm) || std::isnan(g2)) {
        return {s, linearSlope};
    }
    // Newton form of the interpolating polynomial.
    const auto value = [&](double x) {
        const double lm = -x * (x - 1.0) * (x - 2.0) / 6.0;
        const double l0 = (x + 1.0) * (x - 1.0) * (x - 2.0) / 2.0;
        const double l1 = -(x + 1.0) * x * (x - 2.0) / 2.0;
        const double l2 = (x + 1.0) * x * (x - 1.0) / 6.0;
        return gm * lm + g0 * l0 + g1 * l1 + g2 * l2;
    };
    double slope = linearSlope;
    for (int i = 0; i < 4; ++i) {
        constexpr double h = 1e-4;
        slope = (value(s + h) - value(s - h)) / (2.0 * h);
        if (slope == 0.0) {
            break;
        }
        const double next = s - value(s) / slope;
        if (!(next >= 0.0 && next <= 1.0)) {
            break;
        }
        s = next;
    }
    return {s, slope != 0.0 ? slope : linearSlope};
}

} // namespace

double MaxRelativeMotion(BodyIndex body, std::optional<BodyIndex> other) {
    if (!IsBody(body) || (other && !IsBody(*other))) {
        return std::numeric_limits<double>::infinity();
    }
    const MotionRange a = MotionBounds[body];
    const MotionRange b = other ? MotionBounds[*other] : MotionRange{0.0, 0.0};
    // Both move direct: the difference of their motions lies between these two.
    return std::max(a.fastest - b.slowest, b.fastest - a.slowest) * FullCircle / 360.0;
}

RelativeMotion RelativeMotionOf(BodyIndex body, std::optional<BodyIndex> other) {
    constexpr double Radians = FullCircle / 360.0;
    RelativeMotion motion;
    motion.speed = MaxRelativeMotion(body, other);
    if (!std::isfinite(motion.speed)) {
        motion.acceleration = motion.speed;
        return motion;
    }
    const auto noise = [](BodyIndex b) { return b == Pluto ? PlutoTableNoise : LibraryNoise; };
    motion.acceleration =
        (AccelerationBounds[body] + (other ? AccelerationBounds[*other] : 0.0)) * Radians;
    motion.noise = noise(body) + (other ? noise(*other) : 0.0);
    return motion;
}

RelativeForecast ForecastRelative(const RelativeMotion& motion, const RelativeSample& latest,
                                  const std::optional<RelativeSample>& earlier, double t) {
    const double since = std::fabs(t - latest.julianDay);
    // Rounding of the samples is covered by the speed bound's margin, beyond these few days.
    const RelativeForecast moving{0.0, since * motion.speed + 5e-9};
    const double gap = earlier ? latest.julianDay - earlier->julianDay : 0.0;
    if (gap == 0.0 || !(std::fabs(gap) * motion.speed < FullCircle / 2.0)) {
        return moving;
    }
    // The line through the two samples, off the course by no more than the acceleration allows
    // between and beyond them, and by the samples' own noise.
    const double slope = Wrap(latest.relative - earlier->relative) / gap;
    const double span = std::fabs(gap);
    return {slope * (t - latest.julianDay), motion.acceleration / 2.0 * since * (since + span) +
                                                motion.noise * (3.0 + 2.0 * since / span) + 5e-9};
}

namespace {

// The largest whole number of days up to 2^20 for which `holds` is true, given that it holds
// for every number below one for which it holds; 0 when it does not hold for one day.
template <class Holds> double LongestRun(Holds holds) {
    constexpr double Longest = 1 << 20;
    if (!holds(1.0)) {
        return 0.0;
    }
    double low = 1.0;
    double high = 2.0;
    while (high <= Longest && holds(high)) {
        low = high;
        high *= 2.0;
    }
    if (high > Longest) {
        return low;
    }
    while (high - low > 1.0) {
        const double middle = std::floor((low + high) / 2.0);
        (holds(middle) ? low : high) = middle;
    }
    return low;
}

// How many whole days from the latest sample, going `direction`, a relative longitude at
// deviation latest.relative from the aspect's angle surely stays on the same side of it and
// within the orb: the samples of those days decide nothing, so a walk may pass over them. A
// forecast's centre moves in a line and its error grows with the days, so its bounds are
// nearest the edges at the last day: the largest such number is found by doubling and halving,
// for the speed alone and for the line through the two samples.
double UndecidedDays(const RelativeMotion& motion, const RelativeSample& latest,
                     const std::optional<RelativeSample>& earlier, double direction, double orb) {
    const double g = latest.relative;
    const auto undecided = [&](const std::optional<RelativeSample>& before, double days) {
        const RelativeForecast forecast =
            ForecastRelative(motion, latest, before, latest.julianDay + direction * days);
        const double low = g + forecast.change - forecast.error;
        const double high = g + forecast.change + forecast.error;
        return g > 0.0 ? low > 0.0 && high < orb : high < 0.0 && low > -orb;
    };
    return std::max(LongestRun([&](double days) { return undecided(std::nullopt, days); }),
                    earlier ? LongestRun([&](double days) { return undecided(earlier, days); })
                            : 0.0);
}

} // namespace

bool IsFasterBody(BodyIndex body, BodyIndex other) {
    return IsBody(body) && IsBody(other) && SpeedRank[body] < SpeedRank[other];
}

namespace {

// What an aspectarian search looks for: the pairs of bodies and the steps of 30 degrees.
struct AspectarianPlan {
    std::vector<Pair> pairs;
    std::array<bool, 12> steps{};
    double from = 0.0;
    double to = 0.0;
    double firstMidnight = 0.0; // brackets run between consecutive midnights (0 h UT)
    long long brackets = 0;
};

std::optional<AspectarianPlan> PlanOf(const AspectarianRequest& request) {
    AspectarianPlan plan;
    plan.from = std::max(request.from, ExactSearchFirstJulianDay);
    plan.to = std::min(request.to, ExactSearchEndJulianDay);
    if (!(plan.from < plan.to)) {
        return std::nullopt;
    }
    for (BodyIndex a : AllBodies) {
        for (BodyIndex b : AllBodies) {
            if (request.bodies[a] && request.bodies[b] && IsFasterBody(a, b)) {
                plan.pairs.push_back({a, b});
            }
        }
    }
    for (std::size_t m = 0; m < plan.steps.size(); ++m) {
        plan.steps[m] = request.kinds[static_cast<std::size_t>(KindOfStep[m])];
    }
    if (plan.pairs.empty() ||
        std::none_of(plan.steps.begin(), plan.steps.end(), [](bool on) { return on; })) {
        return std::nullopt;
    }
    // The first bracket holds `from`.
    plan.firstMidnight = std::floor(plan.from + 0.5) - 0.5;
    plan.brackets = static_cast<long long>(std::ceil(plan.to - plan.firstMidnight));
    return plan;
}

// The events of the brackets [first, first + count) of the plan, in time order (ties by first
// body, second body, kind). Every event lies within its bracket's day, so windows of
// consecutive brackets give the events of the whole span in order.
std::vector<ExactAspect> FindInWindow(const Ephemeris& ephemeris, const AspectarianPlan& plan,
                                      long long first, long long count) {
    // Samples from one day before the window's first bracket to two days after its last, for
    // the cubic through each bracket's neighbours: every body's position once a day.
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(count + 3));
    for (long long i = -1; i <= count + 1; ++i) {
        times.push_back(plan.firstMidnight + static_cast<double>(first + i));
    }
    const std::vector<PositionSet> samples = ephemeris.PositionsOfBodiesAt(times, 1);
    std::vector<ExactAspect> events;
    // Day after day, every pair in turn: the refinements of a day read the same stretch of the
    // ephemeris files, which the library then still holds.
    for (std::size_t i = 1; i <= static_cast<std::size_t>(count); ++i) {
        for (const Pair& pair : plan.pairs) {
            const auto relative = [&](std::size_t at) {
                const Position& a = samples[at][pair.first];
                const Position& b = samples[at][pair.second];
                return a.Known() && b.Known() ? a.Longitude() - b.Longitude() : NaN;
            };
            const double r0 = relative(i);
            const double r1 = relative(i + 1);
            if (std::isnan(r0) || std::isnan(r1)) {
                continue;
            }
            // In steps of 30 degrees: u0 in [0, 12), u1 = u0 + the day's motion.
            const double u0 = Wrap(r0 - FullCircle / 2.0) / AngleStep + 6.0;
            const double u1 = u0 + Wrap(r1 - r0) / AngleStep;
            // A step m is crossed when u0 < m <= u1 going up, or u1 <= m < u0 going down, so
            // an exact moment on a midnight belongs to one bracket only.
            double low = 0.0;
            double high = 0.0;
            if (u1 > u0) {
                low = std::floor(u0) + 1.0;
                high = std::floor(u1);
            } else {
                low = std::ceil(u1);
                high = std::ceil(u0) - 1.0;
            }
            for (double m = low; m <= high; ++m) {
                const auto step = static_cast<std::size_t>(std::fmod(m + 24.0, 12.0));
                if (!plan.steps[step]) {
                    continue;
                }
                const double target = m * AngleStep;
                const auto g = [&](double value) { return Wrap(value - target); };
                const auto exact = [&](double t) {
                    const auto [a, b] = ephemeris.PositionsOfPair(pair.first, pair.second, t);
                    return a.Known() && b.Known() ? g(a.Longitude() - b.Longitude()) : NaN;
                };
                const double g0 = g(r0);
                const double g1 = g(r1);
                const auto [s, slope] = CubicRoot(g(relative(i - 1)), g0, g1, g(relative(i + 2)));
                const double t0 = times[i];
                const double jd = Refine(exact, t0, g0, t0 + 1.0, g1, t0 + s, slope);
                if (jd >= plan.from && jd < plan.to) {
                    events.push_back({jd, pair.first, pair.second, KindOfStep[step]});
                }
            }
        }
    }
    std::sort(events.begin(), events.end(), [](const ExactAspect& x, const ExactAspect& y) {
        if (x.julianDay != y.julianDay) {
            return x.julianDay < y.julianDay;
        }
        if (x.first != y.first) {
            return x.first < y.first;
        }
        return x.second != y.second ? x.second < y.second : x.kind < y.kind;
    });
    return events;
}

} // namespace

void StreamExactAspects(const Ephemeris& ephemeris, const AspectarianRequest& request,
                        const ExactAspectSink& take) {
    const std::optional<AspectarianPlan> plan = PlanOf(request);
    if (!plan) {
        return;
    }
    // Windows of a few years: many more than there are cores, so that the workers share the
    // span evenly, and each far longer than the three days of samples it adds at its ends.
    constexpr long long WindowDays = 1024;
    const auto windows = static_cast<std::size_t>((plan->brackets + WindowDays - 1) / WindowDays);
    const auto findWindow = [&](std::size_t window, const Ephemeris& worker) {
        const long long first = static_cast<long long>(window) * WindowDays;
        const long long count = std::min(WindowDays, plan->brackets - first);
        return ExactAspectWindow{
            std::min(plan->firstMidnight + static_cast<double>(first + count), plan->to),
            FindInWindow(worker, *plan, first, count)};
    };
    if (windows == 1) {
        // A worker would cost more than it spares.
        take(findWindow(0, ephemeris));
        return;
    }
    const auto cores = static_cast<std::size_t>(std::max(1U, std::thread::hardware_concurrency()));
    WorkerPool pool(ephemeris, static_cast<int>(std::min(windows, cores)));
    MakeInOrder<ExactAspectWindow>(
        pool, windows, 2 * cores, findWindow,
        [&](std::size_t, const ExactAspectWindow& window) { return take(window); });
}

std::vector<ExactAspect> FindExactAspects(const Ephemeris& ephemeris,
                                          const AspectarianRequest& request,
                                          const ExactSearchProgress& progress) {
    std::vector<ExactAspect> events;
    StreamExactAspects(ephemeris, request, [&](const ExactAspectWindow& window) {
        events.insert(events.end(), window.events.begin(), window.events.end());
        return !progress || progress(window.reached);
    });
    return events;
}

std::optional<double> ExactMomentOfPassage(const Ephemeris& ephemeris,
                                           const PassageSearch& search) {
    if (!IsBody(search.moving) || !IsAspectKind(search.kind) || !(search.orb > 0.0) ||
        (!search.fixedLongitude && !IsBody(search.other)) || !InSearchSpan(search.julianDay)) {
        return std::nullopt;
    }
    const Relative relative{ephemeris, search.moving, search.other, search.fixedLongitude};
    const double r = relative(search.julianDay);
    if (std::isnan(r)) {
        return std::nullopt;
    }
    // The aspect is exact at +angle or -angle; the passage is the one of the nearer.
    const double angle = AspectAngles[static_cast<std::size_t>(search.kind)];
    const double target = std::fabs(Wrap(r - angle)) <= std::fabs(Wrap(r + angle)) ? angle : -angle;
    const auto g = [&](double t) { return Wrap(relative(t) - target); };
    const double g0 = Wrap(r - target);
    if (!(std::fabs(g0) < search.orb)) {
        return std::nullopt;
    }
    if (g0 == 0.0) {
        return search.julianDay;
    }

    // Walks a day at a time back and forth from the instant, while the aspect stays within
    // orb, until the first sign change on each side; the far side goes no further than the
    // near side's find. Days on which the deviation surely neither changes sign nor reaches
    // the orb are passed over unsampled: the walk ends on the very day it would have ended on
    // sampling each of them, with the same samples around its sign change.
    const RelativeMotion motion = RelativeMotionOf(
        search.moving, search.fixedLongitude ? std::nullopt : std::optional(search.other));
    struct Walk {
        double t = 0.0;
        double gt = 0.0;
        double direction = 1.0;
        double distance = 0.0;                 // days walked
        std::optional<RelativeSample> earlier; // the sample before the one at t
        bool open = true;
        std::optional<std::pair<double, double>> bracket; // the day with the sign change
        double gOther = 0.0;
    };
    std::array<Walk, 2> walks{};
    for (std::size_t side = 0; side < walks.size(); ++side) {
        walks[side].t = search.julianDay;
        walks[side].gt = g0;
        walks[side].direction = side == 0 ? -1.0 : 1.0;
    }
    double limit = std::numeric_limits<double>::infinity();
    for (;;) {
        // The walk that has gone less far moves on (the backward one on a tie), as far as
        // the other one's find allows.
        Walk* walk = nullptr;
        for (Walk& candidate : walks) {
            if (candidate.open && candidate.distance < limit &&
                (walk == nullptr || candidate.distance < walk->distance)) {
                walk = &candidate;
            }
        }
        if (walk == nullptr) {
            break;
        }
        const RelativeSample latest{walk->t, walk->gt};
        const double skip =
            std::min(UndecidedDays(motion, latest, walk->earlier, walk->direction, search.orb),
                     limit - walk->distance - 1.0);
        if (skip > 1.0) {
            // Day by day, as a walk of single steps adds them up.
            double far = walk->t;
            for (double day = 0.0; day < skip; day += 1.0) {
                far += walk->direction;
            }
            const double gf = InSearchSpan(far) ? g(far) : NaN;
            if (!std::isnan(gf)) {
                walk->earlier = latest;
                walk->t = far;
                walk->gt = gf;
                walk->distance += skip;
                continue;
            }
        }
        const double next = walk->t + walk->direction;
        walk->distance += 1.0;
        const double gn = InSearchSpan(next) ? g(next) : NaN;
        if (std::isnan(gn)) {
            // No position or out of the span: the crossing may still lie within the last
            // day before it, sampled at its end.
            walk->open = false;
        } else if (Opposite(gn, walk->gt) || gn == 0.0) {
            walk->bracket = {walk->t, next};
            walk->gOther = gn;
            walk->open = false;
            limit = std::min(limit, walk->distance);
        } else if (!(std::fabs(gn) < search.orb)) {
            walk->open = false;
        } else {
            walk->earlier = latest;
            walk->t = next;
            walk->gt = gn;
        }
    }

    std::optional<double> nearest;
    for (const Walk& walk : walks) {
        if (!walk.bracket) {
            continue;
        }
        const auto [near, far] = *walk.bracket;
        const double lo = std::min(near, far);
        const double hi = std::max(near, far);
        const double flo = near < far ? walk.gt : walk.gOther;
        const double fhi = near < far ? walk.gOther : walk.gt;
        const double jd = Refine(g, lo, flo, hi, fhi, lo + flo / (flo - fhi) * (hi - lo),
                                 (fhi - flo) / (hi - lo));
        if (std::isnan(jd) || !InSearchSpan(jd)) {
            continue;
        }
        if (!nearest || std::fabs(jd - search.julianDay) < std::fabs(*nearest - search.julianDay)) {
            nearest = jd;
        }
    }
    return nearest;
}

} // namespace orbivex
