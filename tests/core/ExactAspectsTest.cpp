#include "core/ExactAspects.h"

#include "common/TestSupport.h"
#include "core/Ephemeris.h"
#include "core/Orbs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

using namespace orbivex;
using enum orbivex::BodyIndex;
using enum orbivex::AspectKind;

namespace {

constexpr double Minute = 1.0 / 1440.0;
constexpr double ArcSecond = FullCircle / 360.0 / 3600.0;
constexpr double Year2000 = 2451544.5; // 1 January 2000, 0 h UT
// Neptune and Pluto keep near a sextile from the 1940s to the 2030s.
constexpr double NeptunePlutoFrom = 2429629.5; // 1 January 1940
constexpr double NeptunePlutoTo = 2466154.5;   // 1 January 2040

AspectarianRequest Request(double from, double to, std::initializer_list<BodyIndex> bodies) {
    AspectarianRequest request{from, to, {}, {}};
    for (const BodyIndex body : bodies) {
        request.bodies[body] = true;
    }
    std::fill(request.kinds.begin() + 1, request.kinds.end(), true);
    return request;
}

class ExactAspectsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(MessageOf(ephemeris.LoadPlutoTable(QString::fromLatin1(PlutoTableFileName))),
                  u""_s);
    }

    // The separation minus the angle, signed, at the nearer of +angle and -angle.
    double Offset(const ExactAspect& event, double t, double target) const {
        const double d = ephemeris.PositionOfBody(event.first, t).Longitude() -
                         ephemeris.PositionOfBody(event.second, t).Longitude() - target;
        return d - FullCircle * std::floor(d / FullCircle + 0.5);
    }

    // An independent check of one event: plain bisection of a sign change found by sampling
    // every hour within two days of the reported moment, and the separation at that moment.
    void ExpectExact(const ExactAspect& event) const {
        SCOPED_TRACE(::testing::Message() << event.first << "-" << event.second << " kind "
                                          << event.kind << " at " << std::fixed << event.julianDay);
        const double angle = AspectAngles[static_cast<std::size_t>(event.kind)];
        const double tolerance = (event.second == Pluto ? 2.0 : 1.0) * ArcSecond;
        EXPECT_NEAR(
            AngularSeparation(ephemeris.PositionOfBody(event.first, event.julianDay).Longitude(),
                              ephemeris.PositionOfBody(event.second, event.julianDay).Longitude()),
            angle, tolerance);
        double best = 1e9;
        for (const double target : {angle, -angle}) {
            for (double t = event.julianDay - 2.0; t < event.julianDay + 2.0; t += 1.0 / 24.0) {
                double lo = t;
                double hi = t + 1.0 / 24.0;
                const double flo = Offset(event, lo, target);
                if (std::signbit(flo) == std::signbit(Offset(event, hi, target)) ||
                    std::fabs(flo) > 0.5) {
                    continue;
                }
                for (int i = 0; i < 50; ++i) {
                    const double mid = (lo + hi) / 2.0;
                    (std::signbit(Offset(event, mid, target)) == std::signbit(flo) ? lo : hi) = mid;
                }
                best = std::min(best, std::fabs(lo - event.julianDay));
            }
        }
        EXPECT_LT(best, Minute);
    }

    Ephemeris ephemeris{test::ProgramFolder()};
};

TEST_F(ExactAspectsTest, EveryEventAgreesWithAnIndependentBisection) {
    struct Case {
        const char* name;
        AspectarianRequest request;
        std::size_t atLeast;
    };
    const Case cases[] = {
        {"Mercury-Earth, 2024", Request(2460310.5, 2460676.5, {Mercury, Earth}), 30},
        {"Jupiter-Saturn, 2000-2040", Request(Year2000, Year2000 + 40 * 365.25, {Jupiter, Saturn}),
         5},
        {"Neptune-Pluto, 1940-2040", Request(NeptunePlutoFrom, NeptunePlutoTo, {Neptune, Pluto}),
         3},
        {"first days of year 1",
         Request(ExactSearchFirstJulianDay - 10.0, ExactSearchFirstJulianDay + 60.0,
                 {Mercury, Venus}),
         3},
        {"last days of 2799",
         Request(ExactSearchEndJulianDay - 60.0, ExactSearchEndJulianDay + 10.0, {Mercury, Venus}),
         3},
        {"start of Pluto's table",
         Request(PlutoTableFirstDay - 30.0, PlutoTableFirstDay + 120.0, {Mercury, Pluto}), 3},
        {"end of Pluto's table",
         Request(PlutoTableLastDay - 120.0, PlutoTableLastDay + 30.0, {Mercury, Pluto}), 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<ExactAspect> events = FindExactAspects(ephemeris, c.request);
        EXPECT_GE(events.size(), c.atLeast);
        for (const ExactAspect& event : events) {
            EXPECT_GE(event.julianDay, std::max(c.request.from, ExactSearchFirstJulianDay));
            EXPECT_LT(event.julianDay, std::min(c.request.to, ExactSearchEndJulianDay));
            if (event.second == Pluto) {
                EXPECT_GE(event.julianDay, PlutoTableFirstDay - 0.5);
                EXPECT_LT(event.julianDay, PlutoTableLastDay - 0.5);
            }
            ExpectExact(event);
        }
        EXPECT_TRUE(std::is_sorted(
            events.begin(), events.end(),
            [](const ExactAspect& x, const ExactAspect& y) { return x.julianDay < y.julianDay; }));
    }
}

TEST_F(ExactAspectsTest, NeptuneAndPlutoMeetTheSameAspectSeveralTimesInARow) {
    const auto events =
        FindExactAspects(ephemeris, Request(NeptunePlutoFrom, NeptunePlutoTo, {Neptune, Pluto}));
    ASSERT_EQ(events.size(), 3U);
    for (const ExactAspect& event : events) {
        EXPECT_EQ(event.kind, Sextile);
    }
}

TEST_F(ExactAspectsTest, EventsCrossTheZeroDegreeSeam) {
    // Events of a body within a few degrees of 0: the day's motion wraps round the circle.
    int nearSeam = 0;
    for (const ExactAspect& event :
         FindExactAspects(ephemeris, Request(Year2000, Year2000 + 730.0, {Mercury, Earth}))) {
        const double longitude =
            RadiansToDegrees(ephemeris.PositionOfBody(Mercury, event.julianDay).Longitude());
        if (longitude < 3.0 || longitude > 357.0) {
            ++nearSeam;
            ExpectExact(event);
        }
    }
    EXPECT_GT(nearSeam, 0);
}

TEST_F(ExactAspectsTest, SplitSpansListEveryEventOnceAndAKindSwitchedOffNever) {
    const AspectarianRequest year =
        Request(2460310.5, 2460676.5, {Earth, Mercury, Venus, Mars, Jupiter});
    const auto all = FindExactAspects(ephemeris, year);
    ASSERT_GT(all.size(), 100U);
    // Split at an event's own moment, at a midnight and at an odd hour.
    for (const double split : {all[all.size() / 2].julianDay, 2460500.5, 2460500.6}) {
        AspectarianRequest first = year;
        AspectarianRequest second = year;
        first.to = split;
        second.from = split;
        auto joined = FindExactAspects(ephemeris, first);
        const auto rest = FindExactAspects(ephemeris, second);
        joined.insert(joined.end(), rest.begin(), rest.end());
        EXPECT_EQ(joined, all) << "split at " << split;
    }

    AspectarianRequest noSquares = year;
    noSquares.kinds[Index(Square)] = false;
    std::vector<ExactAspect> expected;
    std::copy_if(all.begin(), all.end(), std::back_inserter(expected),
                 [](const ExactAspect& event) { return event.kind != Square; });
    EXPECT_EQ(FindExactAspects(ephemeris, noSquares), expected);
}

TEST_F(ExactAspectsTest, APassageGivesTheExactMomentNearestItsInstant) {
    const auto events = FindExactAspects(
        ephemeris, Request(Year2000, Year2000 + 40 * 365.25, {Mercury, Earth, Jupiter, Saturn}));
    const auto find = [&](BodyIndex first, BodyIndex second, AspectKind kind) {
        return *std::find_if(events.begin(), events.end(), [&](const ExactAspect& event) {
            return event.first == first && event.second == second && event.kind == kind;
        });
    };
    const ExactAspect jupiterSaturn = find(Jupiter, Saturn, Conjunction);
    const ExactAspect mercuryEarth = find(Mercury, Earth, Square);
    const double orb = DegreesToRadians(8.0);
    struct Case {
        const char* name;
        PassageSearch search;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {"slow pair, 100 days before",
         {Saturn, Jupiter, std::nullopt, Conjunction, orb, jupiterSaturn.julianDay - 100.0},
         jupiterSaturn.julianDay},
        {"fast pair, a day after",
         {Earth, Mercury, std::nullopt, Square, orb, mercuryEarth.julianDay + 1.0},
         mercuryEarth.julianDay},
        {"against a fixed longitude",
         {Mercury, Earth, ephemeris.PositionOfBody(Earth, mercuryEarth.julianDay).Longitude(),
          Square, orb, mercuryEarth.julianDay - 0.5},
         mercuryEarth.julianDay},
        {"not within orb", {Saturn, Jupiter, std::nullopt, Opposition, orb, 2451545.0}, {}},
        {"Pluto outside its table", {Saturn, Pluto, std::nullopt, Trine, orb, 2524600.0}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<double> found = ExactMomentOfPassage(ephemeris, c.search);
        ASSERT_EQ(found.has_value(), c.expected.has_value());
        if (found) {
            EXPECT_NEAR(*found, *c.expected, Minute);
        }
    }
}

} // namespace

TEST_F(ExactAspectsTest, ProgressFollowsTheSearchAndStopsIt) {
    const AspectarianRequest request =
        Request(Year2000, Year2000 + 40 * 365.25, {Mercury, Earth, Venus});
    const std::vector<ExactAspect> all = FindExactAspects(ephemeris, request);
    std::vector<double> reached;
    FindExactAspects(ephemeris, request, [&](double jd) {
        reached.push_back(jd);
        return true;
    });
    ASSERT_GE(reached.size(), 2U);
    EXPECT_TRUE(std::is_sorted(reached.begin(), reached.end()));
    EXPECT_GT(reached.front(), request.from);
    EXPECT_EQ(reached.back(), request.to);

    // Stopped after the first stretch: the events before the instant it reached, no more.
    double stoppedAt = 0.0;
    const std::vector<ExactAspect> first = FindExactAspects(ephemeris, request, [&](double jd) {
        stoppedAt = jd;
        return false;
    });
    ASSERT_FALSE(first.empty());
    ASSERT_LT(first.size(), all.size());
    EXPECT_TRUE(std::equal(first.begin(), first.end(), all.begin()));
    EXPECT_LT(first.back().julianDay, stoppedAt);
    EXPECT_GE(all[first.size()].julianDay, stoppedAt);
}

// The searches pass unsampled over the days the motion bounds say decide nothing: a pair that
// strayed beyond them would end a duration or an exact-moment walk on a wrong day.
TEST_F(ExactAspectsTest, NoPairStraysBeyondItsMotionBounds) {
    // Groups of instants a day, six days and thirty days apart, every 401 days of the span.
    constexpr std::array<double, 4> Offsets{0.0, 1.0, 6.0, 30.0};
    std::vector<double> times;
    for (double t = ExactSearchFirstJulianDay; t + 31.0 < ExactSearchEndJulianDay; t += 401.0) {
        for (const double offset : Offsets) {
            times.push_back(t + offset);
        }
    }
    const std::vector<PositionSet> samples = ephemeris.PositionsOfBodiesAt(times);
    // The relative longitude of body against other (against 0 without other) at times[i].
    const auto relative = [&](std::size_t i, BodyIndex body, std::optional<BodyIndex> other) {
        const Position& a = samples[i][body];
        const Position b = other ? samples[i][*other] : Position(0.0);
        return RelativeSample{times[i], a.Known() && b.Known() ? a.Longitude() - b.Longitude()
                                                               : std::nan("")};
    };
    const auto turn = [](double from, double to) { return std::remainder(to - from, FullCircle); };
    std::vector<std::optional<BodyIndex>> others{std::nullopt};
    others.insert(others.end(), AllBodies.begin(), AllBodies.end());
    int checked = 0;
    for (std::size_t g = 0; g + Offsets.size() <= samples.size(); g += Offsets.size()) {
        for (const BodyIndex body : AllBodies) {
            for (const std::optional<BodyIndex> other : others) {
                if (other == body) {
                    continue;
                }
                const RelativeMotion motion = RelativeMotionOf(body, other);
                const RelativeSample r0 = relative(g, body, other);
                const RelativeSample r1 = relative(g + 1, body, other);
                const RelativeSample r6 = relative(g + 2, body, other);
                const RelativeSample r30 = relative(g + 3, body, other);
                if (std::isnan(r0.relative) || std::isnan(r30.relative)) {
                    continue;
                }
                ++checked;
                const std::string pair = BodyName(body).toStdString() + "-" +
                                         (other ? BodyName(*other).toStdString() : "fixed") +
                                         " at " + std::to_string(r0.julianDay);
                // A day at full speed, and onwards from one or two samples.
                ASSERT_LT(std::fabs(turn(r0.relative, r1.relative)), motion.speed) << pair;
                const auto within = [&](const RelativeSample& from, const RelativeSample& to,
                                        const std::optional<RelativeSample>& before) {
                    const RelativeForecast forecast =
                        ForecastRelative(motion, from, before, to.julianDay);
                    return std::fabs(turn(from.relative, to.relative) - forecast.change) <=
                           forecast.error;
                };
                ASSERT_TRUE(within(r1, r6, std::nullopt)) << pair;
                ASSERT_TRUE(within(r1, r6, r0)) << pair;
                ASSERT_TRUE(within(r6, r30, r1)) << pair;
                ASSERT_TRUE(within(r1, r0, r6)) << pair; // backwards, as walks into the past go
            }
        }
    }
    EXPECT_GT(checked, 2500 * 64); // every pair without Pluto, and Pluto within its table
    EXPECT_TRUE(std::isinf(MaxRelativeMotion(static_cast<BodyIndex>(0), std::nullopt)));
}
