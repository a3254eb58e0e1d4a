#include "session/Durations.h"
#include "common/ChartFixture.h"
#include "core/Orbs.h"
#include "session/ExactMoments.h"

#include <gtest/gtest.h>
#include <map>

using namespace Qt::StringLiterals;

using namespace orbivex;

using enum orbivex::BodyIndex;
using enum orbivex::AspectKind;
using enum orbivex::ChartMode;
using namespace Qt::Literals::StringLiterals;
using orbivex::test::ChartFixture;

namespace {

constexpr int WorldDay = 2460390; // 20 March 2024

const DurationRecords::value_type* FindRecord(const DurationRecords& records, BodyIndex p1,
                                              BodyIndex p2) {
    for (const QString& record : records) {
        DurationFields f;
        if (ReadDurationRecord(record, f) && f.body1 == p1 && f.body2 == p2) {
            return &record;
        }
    }
    return nullptr;
}

DurationFields Fields(const QString* record) {
    DurationFields f;
    EXPECT_NE(record, nullptr);
    if (record != nullptr) {
        EXPECT_TRUE(ReadDurationRecord(*record, f));
    }
    return f;
}

} // namespace

TEST(DurationRecord, HasTheFixedWidthLayout) {
    EXPECT_EQ(DurationRecord(Venus, Jupiter, Square, 0.012345, 2451500, 2451560),
              u" 3 5 3 3 0.012345 2451500 2451560    61"_s);
    EXPECT_EQ(DurationRecord(Pluto, Neptune, Sextile, 0.1, std::nullopt, 2451560),
              u" 9 8 9 5 0.100000      -1 2451560      "_s);
    EXPECT_EQ(DurationRecord(Earth, Mercury, Conjunction, 0.0000004, 2451500, std::nullopt),
              u" 1 2 1 1 0.000000 2451500      -1      "_s);
    EXPECT_EQ(NatalDurationRecord(Mercury, Uranus, Quincunx, 0.0871586),
              u" 2 7 2 7 0.087159----------------------"_s);
    EXPECT_EQ(DurationRecord(Venus, Jupiter, Square, 0.012345, 2451500, 2451560).size(),
              RecordLength);
    EXPECT_EQ(NatalDurationRecord(Venus, Jupiter, Square, 0.012345).size(), RecordLength);
    // An exact moment follows at the end, so that every other field keeps its place.
    EXPECT_EQ(DurationRecord(Venus, Jupiter, Square, 0.012345, 2451500, 2451560, 2451530.25),
              u" 3 5 3 3 0.012345 2451500 2451560    61 2451530.250000"_s);
}

TEST(ExactMomentText, TellsTheNearestMinuteInTheZone) {
    const struct {
        double jd;
        MomentZone zone;
        const char* text;
    } cases[] = {
        {2460389.0, {}, "March 19, 2024 at 12:00 GMT"},
        {2460389.0, {60, QStringLiteral("GMT+1:00")}, "March 19, 2024 at 13:00 GMT+1:00"},
        {2460388.6, {-300, QStringLiteral("EST/CDT")}, "March 18, 2024 at 21:24 EST/CDT"},
        {2460389.4999, {}, "March 20, 2024 at 00:00 GMT"}, // 23:59:51 rounds to midnight
        {1e300, {}, ""},
        // Written in the world date's calendar: the Julian date is 13 days behind.
        {2460389.0, {0, u"GMT"_s, CalendarChoice::Julian}, "March 6, 2024 at 12:00 GMT"},
        // A named zone: the offset in force at each moment, summer time included.
        {2460389.0,
         {0, u"Europe/Paris"_s, CalendarChoice::Gregorian, true},
         "March 19, 2024 at 13:00 Europe/Paris"},
        {2460500.0,
         {0, u"Europe/Paris"_s, CalendarChoice::Gregorian, true},
         "July 8, 2024 at 14:00 Europe/Paris"},
        {2460500.0,
         {0, u"Asia/Kolkata"_s, CalendarChoice::Gregorian, true},
         "July 8, 2024 at 17:30 Asia/Kolkata"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExactMomentText(c.jd, c.zone), QString::fromUtf8(c.text)) << c.jd;
    }
}

// The zone a date set converts with, and the local midnights in it.
TEST(MomentZoneOf, IsTheZoneTheDateSetConvertsWith) {
    const TimeZones zones = MakeTimeZones(-300, true); // a computer on Eastern time
    DateSet date{u"2024"_s, 7, 8, NoonHourEntry, 0};
    date.calendar = CalendarChoice::Julian;
    const struct {
        int entry;
        const char* zoneName;
        const char* name;
        int offsetMinutes;
        bool named;
        double july8Start; // the instant (UT) at which 8 July 2024 begins there
    } cases[] = {
        {GreenwichTimezoneEntry + 2, "", "GMT+1:00", 60, false, 2460499.5 - 1.0 / 24.0},
        {0, "", "EST/CDT", -300, false, 2460499.5 + 5.0 / 24.0}, // the computer's
        {0, "Europe/Paris", "Europe/Paris", 0, true, 2460499.5 - 2.0 / 24.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        date.timezoneIndex = c.entry;
        date.zoneName = QString::fromUtf8(c.zoneName);
        const MomentZone zone = MomentZoneOf(date, zones);
        EXPECT_EQ(zone.name, QString::fromUtf8(c.name));
        EXPECT_EQ(zone.offsetMinutes, c.offsetMinutes);
        EXPECT_EQ(zone.named, c.named);
        EXPECT_EQ(zone.calendar, CalendarChoice::Julian);
        EXPECT_NEAR(LocalDayStart(2460500, zone), c.july8Start, 1e-9);
    }
}

// The world date takes the moment to the minute, in its zone and its calendar.
TEST(SetWorldDateToMoment, TakesTheMinuteInTheZoneAndTheCalendar) {
    const TimeZones zones = MakeTimeZones(0, false);
    const double moment = 2460389.0 + 17.0 / 1440.0; // 19 March 2024, 12:17 UT
    const struct {
        CalendarChoice calendar;
        const char* zoneName;
        double jd;
        bool set;
        int day;
        int minute;
    } cases[] = {
        {CalendarChoice::Gregorian, "", moment, true, 19, 12 * 60 + 17},
        {CalendarChoice::Julian, "", moment, true, 6, 12 * 60 + 17},
        {CalendarChoice::Gregorian, "Europe/Paris", moment, true, 19, 13 * 60 + 17},
        {CalendarChoice::Gregorian, "", 2816787.5, false, 1, -1}, // year 3000
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zoneName);
        DateSet world;
        world.calendar = c.calendar;
        world.zoneName = QString::fromUtf8(c.zoneName);
        world.dayIndex = 1;
        EXPECT_EQ(SetWorldDateToMoment(world, zones, c.jd), c.set);
        EXPECT_EQ(world.dayIndex, c.day);
        EXPECT_EQ(MinuteOfDay(world), c.minute);
        EXPECT_EQ(world.zoneName, QString::fromUtf8(c.zoneName));
    }
}

TEST(DurationRecord, ReadsItsFieldsBack) {
    DurationFields f;
    ASSERT_TRUE(
        ReadDurationRecord(DurationRecord(Venus, Jupiter, Square, 0.012345, 2451500, 2451560), f));
    EXPECT_EQ(f.body1, Venus);
    EXPECT_EQ(f.body2, Jupiter);
    EXPECT_EQ(f.kind, Square);
    EXPECT_DOUBLE_EQ(f.deviation, 0.012345);
    EXPECT_EQ(f.beginning, 2451500);
    EXPECT_EQ(f.end, 2451560);
    EXPECT_EQ(f.duration, 61);

    EXPECT_FALSE(f.exact.has_value());
    ASSERT_TRUE(ReadDurationRecord(
        DurationRecord(Venus, Jupiter, Square, 0.012345, 2451500, 2451560, 2451530.25), f));
    EXPECT_EQ(f.exact, 2451530.25);

    ASSERT_TRUE(
        ReadDurationRecord(DurationRecord(Pluto, Neptune, Sextile, 0.1, std::nullopt, 2451560), f));
    EXPECT_FALSE(f.beginning.has_value());
    EXPECT_EQ(f.end, 2451560);
    EXPECT_FALSE(f.duration.has_value());

    ASSERT_TRUE(ReadDurationRecord(NatalDurationRecord(Mercury, Uranus, Quincunx, 0.5), f));
    EXPECT_EQ(f.kind, Quincunx);
    EXPECT_FALSE(f.beginning || f.end || f.duration);

    const DurationFields before = f;
    EXPECT_FALSE(ReadDurationRecord(QStringLiteral(" 3 5 3 3 0.01"), f));
    EXPECT_FALSE(
        ReadDurationRecord(QStringLiteral("xx 5 3 3 0.012345------------------------"), f));
    EXPECT_EQ(f.kind, before.kind);
}

TEST(SearchStepDays, SlowPairsStepUpToElevenDaysNearExactness) {
    EXPECT_EQ(SearchStepDays(Neptune, Pluto, 1.0), 11);
    EXPECT_EQ(SearchStepDays(Neptune, Pluto, 0.05), 1);
    EXPECT_EQ(SearchStepDays(Pluto, Uranus, 0.55), 6);
    EXPECT_EQ(SearchStepDays(Uranus, Uranus, 0.99), 10);
    EXPECT_EQ(SearchStepDays(Saturn, Pluto, 1.0), 1);
    EXPECT_EQ(SearchStepDays(Neptune, Earth, 1.0), 1);
}

TEST(CellBodies, FollowTheGridLayoutOfEachMode) {
    // Triangular: bodies (row - 1, column + 1); glyph, position and hidden cells hold no pair.
    EXPECT_EQ(CellBodies(WorldTransits, 19), std::make_pair(Earth, Mercury));
    EXPECT_EQ(CellBodies(NatalSecond, TriangularAspectCell(Neptune, Pluto)),
              std::make_pair(Neptune, Pluto));
    for (int cell : {0, 10, 18, 27, 89 + 1}) {
        EXPECT_EQ(CellBodies(WorldTransits, cell), std::nullopt) << cell;
    }
    // Square, row 3 column 5: natal body 2 and transiting body 4; in synastry the first
    // birthdate's body 4 and the second's body 2.
    EXPECT_EQ(CellBodies(PersonalFirst, 38), std::make_pair(Mercury, Mars));
    EXPECT_EQ(CellBodies(PersonalSecond, 24), std::make_pair(Earth, Earth));
    EXPECT_EQ(CellBodies(SynastryMode, 38), std::make_pair(Mars, Mercury));
    for (int cell : {0, 12, 13, 22, 121}) {
        EXPECT_EQ(CellBodies(PersonalFirst, cell), std::nullopt) << cell;
    }
    EXPECT_EQ(CellBodies(NoChartMode, 19), std::nullopt);
}

// Each aspect of the chart is found in its own cell, and no other cell holds one.
TEST_F(ChartFixture, AspectOfCellFindsEachAspectInItsCell) {
    for (ChartMode mode : {WorldTransits, PersonalSecond, SynastryMode}) {
        Run(mode);
        const Chart& chart = state.chart;
        for (const ChartAspect& aspect : chart.aspects) {
            const int cell = IsTwoChartMode(mode)
                                 ? SquareAspectCell(aspect.first, aspect.second)
                                 : TriangularAspectCell(aspect.first, aspect.second);
            EXPECT_EQ(AspectOfCell(chart, cell), &aspect) << mode << ' ' << cell;
        }
        std::size_t cells = 0;
        for (int cell = -1; cell <= 144; ++cell) {
            cells += AspectOfCell(chart, cell) != nullptr ? 1 : 0;
        }
        EXPECT_EQ(cells, chart.aspects.size()) << mode;
    }
}

TEST_F(ChartFixture, WorldTransitRecordsFollowTheGridWithTheirDays) {
    Run(WorldTransits);
    const DurationRecords records = GetDurations(state, ephemeris);
    ASSERT_EQ(records.size(), state.chart.aspects.size());
    for (size_t i = 0; i < records.size(); ++i) {
        DurationFields f;
        ASSERT_TRUE(ReadDurationRecord(records[i], f));
        const ChartAspect& aspect = state.chart.aspects[i];
        EXPECT_EQ(f.body1, aspect.first);
        EXPECT_EQ(f.body2, aspect.second);
        EXPECT_EQ(f.kind, aspect.kind);
        EXPECT_NEAR(f.deviation, aspect.deviation, 5e-7);
        ASSERT_TRUE(f.beginning && f.end && f.duration);
        EXPECT_LE(*f.beginning, WorldDay);
        EXPECT_GE(*f.end, WorldDay);
        EXPECT_EQ(*f.duration, *f.end - *f.beginning + 1);
    }
    // Earth square Mercury ends during the world date, Mercury trine Saturn begins during it.
    EXPECT_EQ(Fields(FindRecord(records, Earth, Mercury)).end, WorldDay);
    EXPECT_EQ(Fields(FindRecord(records, Mercury, Saturn)).beginning, WorldDay);
    // The slow Neptune-Pluto sextile, found with steps of up to eleven days.
    const DurationFields sextile = Fields(FindRecord(records, Neptune, Pluto));
    EXPECT_EQ(sextile.kind, Sextile);
    EXPECT_EQ(sextile.beginning, 2458612); // 8 May 2019
    EXPECT_EQ(sextile.end, 2464965);       // 28 September 2036
}

// At the local midnight that begins the first day the aspect did not hold yet, at the next one
// it did; at the midnight that ends the last day it no longer holds, at the one before it did.
TEST_F(ChartFixture, BeginningsAndEndsLieAtLocalMidnightsOfTheWorldDatesZone) {
    std::map<std::pair<int, int>, std::pair<int, int>> daysAtGreenwich;
    for (int zoneEntry : {GreenwichTimezoneEntry, GreenwichTimezoneEntry + 22}) {
        state.dateSets[WorldDate].timezoneIndex = zoneEntry;
        for (ChartMode mode : {WorldTransits, PersonalFirst}) {
            Run(mode);
            const bool personal = mode == PersonalFirst;
            const double zone = WorldTimeZoneOffset(state) / 1440.0;
            EXPECT_EQ(WorldTimeZoneOffset(state), zoneEntry == GreenwichTimezoneEntry ? 0 : 660);
            const double natalJD = SearchDatesOf(state).natal.value_or(Instant{}).julianDay;
            const auto holds = [&](const DurationFields& f, double jd) {
                return AspectExactness(ephemeris.PositionOfBody(f.body1, personal ? natalJD : jd),
                                       ephemeris.PositionOfBody(f.body2, jd), f.kind, state.orbs,
                                       personal ? OrbColumn::PersonalTransits : OrbColumn::OneChart)
                    .has_value();
            };
            for (const QString& record : GetDurations(state, ephemeris)) {
                DurationFields f;
                ASSERT_TRUE(ReadDurationRecord(record, f));
                ASSERT_TRUE(f.beginning && f.end);
                const bool slow = f.body1 >= Uranus && f.body2 >= Uranus;
                const double first = *f.beginning - zone - 0.5;
                const double after = *f.end + 1 - zone - 0.5;
                EXPECT_FALSE(holds(f, first)) << record.toStdString();
                EXPECT_FALSE(holds(f, after)) << record.toStdString();
                if (!slow && *f.beginning < WorldDay) {
                    EXPECT_TRUE(holds(f, first + 1.0)) << record.toStdString();
                }
                if (!slow && *f.end > WorldDay) {
                    EXPECT_TRUE(holds(f, after - 1.0)) << record.toStdString();
                }
                const std::pair<int, int> key{ModeNumber(mode) * 100 + BodyNumber(f.body1),
                                              BodyNumber(f.body2)};
                if (zoneEntry == GreenwichTimezoneEntry) {
                    daysAtGreenwich[key] = {*f.beginning, *f.end};
                } else if (daysAtGreenwich.count(key) != 0) {
                    daysAtGreenwich[key].first -= *f.beginning;
                    daysAtGreenwich[key].second -= *f.end;
                }
            }
        }
    }
    // Eleven hours east moves some of the fast aspects' days.
    int moved = 0;
    for (const auto& [key, difference] : daysAtGreenwich) {
        moved += difference.first != 0 || difference.second != 0 ? 1 : 0;
    }
    EXPECT_GT(moved, 0);
}

TEST_F(ChartFixture, PlutoOutsideItsTableGivesUnknownDays) {
    state.dateSets[WorldDate].yearText = QStringLiteral("2199");
    state.dateSets[WorldDate].monthIndex = 6;
    state.dateSets[WorldDate].dayIndex = 15;
    Run(WorldTransits);
    const DurationRecords records = GetDurations(state, ephemeris);
    const QString* trine = FindRecord(records, Neptune, Pluto);
    ASSERT_NE(trine, nullptr);
    EXPECT_EQ(trine->mid(RecordKeyStartEnd - 1, 14), QStringLiteral("      -1      "));
    const DurationFields f = Fields(trine);
    // The trine becomes exact before Pluto's table ends, though it leaves its orb after.
    EXPECT_NEAR(f.exact.value_or(0.0), 2524260.82, 0.01);
    EXPECT_EQ(f.beginning, 2520559); // 14 December 2188
    EXPECT_FALSE(f.end.has_value());
    EXPECT_FALSE(f.duration.has_value());

    const CellDoubleClick click =
        DecideCellDoubleClick(state, ephemeris, texts, TriangularAspectCell(Neptune, Pluto));
    EXPECT_EQ(click.action, CellDoubleClick::Action::AskForReport);
    EXPECT_EQ(click.end, std::nullopt);

    // Searches that cannot start: no world date, no natal date.
    const AspectSearch search{Earth, Mars, Trine, true, 0};
    EXPECT_EQ(BeginningOfAspect(ephemeris, state.orbs, {std::nullopt, Instant{2440000.0}}, search),
              std::nullopt);
    EXPECT_EQ(EndOfAspect(ephemeris, state.orbs, {LocalJulianDay{2460390.5}, std::nullopt}, search),
              std::nullopt);
}

TEST_F(ChartFixture, TransitsAreExactWithinTheirPassage) {
    for (ChartMode mode : {WorldTransits, PersonalFirst}) {
        Run(mode);
        const double natalJD = SearchDatesOf(state).natal.value_or(Instant{}).julianDay;
        int exact = 0;
        for (const QString& record : GetDurations(state, ephemeris)) {
            const DurationFields f = Fields(&record);
            if (!f.exact) {
                continue;
            }
            ++exact;
            SCOPED_TRACE(record.toStdString());
            // Day numbers begin at noon: the passage's days hold the moment.
            EXPECT_GE(*f.exact + 0.5, f.beginning.value_or(0) - 1);
            EXPECT_LE(*f.exact + 0.5, f.end.value_or(0) + 2);
            const double first =
                ephemeris.PositionOfBody(f.body1, mode == WorldTransits ? *f.exact : natalJD)
                    .Longitude();
            const double second = ephemeris.PositionOfBody(f.body2, *f.exact).Longitude();
            EXPECT_NEAR(AngularSeparation(first, second), AspectAngles[f.kind],
                        DegreesToRadians(2.0 / 3600.0));
        }
        EXPECT_EQ(exact, static_cast<int>(state.chart.aspects.size()));
    }
}

TEST_F(ChartFixture, NatalAndSynastryRecordsHaveNoDays) {
    for (ChartMode mode : {NatalFirst, SynastryMode}) {
        Run(mode);
        const DurationRecords records = GetDurations(state, ephemeris);
        ASSERT_EQ(records.size(), state.chart.aspects.size());
        for (size_t i = 0; i < records.size(); ++i) {
            EXPECT_TRUE(records[i].endsWith(QString(22, QLatin1Char('-'))));
            DurationFields f;
            ASSERT_TRUE(ReadDurationRecord(records[i], f));
            EXPECT_NEAR(f.deviation, state.chart.aspects[i].deviation, 5e-7);
            // Synastry names the first birthdate's body first, as the chart does.
            EXPECT_EQ(f.body1, state.chart.aspects[i].first);
            EXPECT_EQ(f.body2, state.chart.aspects[i].second);
        }
    }
}

TEST_F(ChartFixture, DoubleClickInWorldTransitsAsksForTheReport) {
    Run(WorldTransits);
    const CellDoubleClick click =
        DecideCellDoubleClick(state, ephemeris, texts, TriangularAspectCell(Earth, Mercury));
    EXPECT_EQ(click.action, CellDoubleClick::Action::AskForReport);
    EXPECT_EQ(click.title, u"Earth square to Mercury"_s);
    EXPECT_FALSE(click.personal);
    EXPECT_DOUBLE_EQ(click.orb, DegreesToRadians(6.0));
    EXPECT_FALSE(click.beginsBeforeYearOne);

    // An aspect that entered its orb on the last day of the year 0.
    state.dateSets[WorldDate] = {QStringLiteral("1"), 1, 5, 25, GreenwichTimezoneEntry};
    Run(WorldTransits);
    EXPECT_TRUE(DecideCellDoubleClick(state, ephemeris, texts, TriangularAspectCell(Earth, Neptune))
                    .beginsBeforeYearOne);
}

TEST_F(ChartFixture, DoubleClickInPersonalTransitsDrawsTheCourse) {
    Run(PersonalFirst);
    const int cell = SquareAspectCell(Saturn, Mercury); // transiting Saturn, natal Mercury
    const CellDoubleClick click = DecideCellDoubleClick(state, ephemeris, texts, cell);
    EXPECT_EQ(click.action, CellDoubleClick::Action::CourseGraph);
    EXPECT_EQ(click.title, u"Transiting Saturn conjunct natal Mercury"_s);
    EXPECT_TRUE(click.personal);
    EXPECT_EQ(click.graph.natalBody, Mercury);
    EXPECT_EQ(click.graph.transitingBody, Saturn);
    EXPECT_EQ(click.graph.kind, Conjunction);
    EXPECT_EQ(click.graph.beginning, 2460382);
    EXPECT_EQ(click.graph.end, 2460587);
    EXPECT_EQ(click.graph.timeZone, 0);
    EXPECT_EQ(click.graph.title,
              u"Transiting Saturn in conjunction to natal MercuryX, orb 3°20'"_s);
    EXPECT_EQ(click.chartTip, texts.ProgramText(351));
}

TEST_F(ChartFixture, DoubleClickElsewhereDoesLittleOrNothing) {
    Run(WorldTransits);
    EXPECT_EQ(DecideCellDoubleClick(state, ephemeris, texts, TriangularPositionCell(Earth)).action,
              CellDoubleClick::Action::None);
    EXPECT_EQ(DecideCellDoubleClick(state, ephemeris, texts, 200).action,
              CellDoubleClick::Action::None);
    state.settings.colours[Index(Square)] = 0; // switched off in the configuration
    EXPECT_EQ(
        DecideCellDoubleClick(state, ephemeris, texts, TriangularAspectCell(Earth, Mercury)).action,
        CellDoubleClick::Action::ClearSelection);
    Run(NatalFirst);
    const ChartAspect& first = state.chart.aspects.front();
    EXPECT_EQ(DecideCellDoubleClick(state, ephemeris, texts,
                                    TriangularAspectCell(first.first, first.second))
                  .action,
              CellDoubleClick::Action::FocusCompute);
}
