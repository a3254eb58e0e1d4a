#include "session/Stepping.h"
#include "common/TestSupport.h"
#include "core/Ephemeris.h"
#include "support/ProgramTexts.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace orbivex;
using enum orbivex::BodyIndex;
using enum orbivex::ChartMode;

namespace {

// Hour entry of a time of day: 00:00 is entry 1, 23:30 entry 48.
int Hour(int hours, int minutes) {
    return hours * 2 + minutes / 30 + 1;
}

DateSet Date(int year, int month, int day, int hourEntry = Hour(12, 0)) {
    return {QString::number(year), month, day, hourEntry, GreenwichTimezoneEntry};
}

DateSet Typed(int year, int month, int day, int minute) {
    DateSet date = Date(year, month, day);
    SetMinuteOfDay(date, minute);
    return date;
}

// A date written in the calendar in force (Julian before 15 October 1582).
DateSet Reform(int year, int month, int day) {
    DateSet date = Date(year, month, day);
    date.calendar = CalendarChoice::Auto;
    return date;
}

struct StepCase {
    const char* what;
    DateSet from;
    int unit;
    bool forward;
    DateSet to;
};

} // namespace

TEST(StepDateSet, MovesByEachUnitAcrossMonthAndYearEnds) {
    const TimeZones zones = MakeTimeZones(0, false);
    const StepCase cases[] = {
        {"half hour back over new year", Date(2000, 1, 1, Hour(0, 0)), HalfHourStep, false,
         Date(1999, 12, 31, Hour(23, 30))},
        {"half hour into March", Date(2001, 2, 28, Hour(23, 30)), HalfHourStep, true,
         Date(2001, 3, 1, Hour(0, 0))},
        {"half hour into a leap day", Date(2000, 2, 28, Hour(23, 30)), HalfHourStep, true,
         Date(2000, 2, 29, Hour(0, 0))},
        {"half hour within a day", Date(2000, 5, 5, Hour(10, 0)), HalfHourStep, true,
         Date(2000, 5, 5, Hour(10, 30))},
        {"day over the year end", Date(2000, 12, 31), DayStep, true, Date(2001, 1, 1)},
        {"day back into February", Date(2004, 3, 1), DayStep, false, Date(2004, 2, 29)},
        {"day back into December", Date(2004, 1, 1), DayStep, false, Date(2003, 12, 31)},
        {"week over the year end", Date(2000, 12, 27), WeekStep, true, Date(2001, 1, 3)},
        {"week back into February", Date(2001, 3, 3), WeekStep, false, Date(2001, 2, 24)},
        {"week back from the 7th", Date(2001, 3, 7), WeekStep, false, Date(2001, 2, 28)},
        {"week back within the month", Date(2001, 3, 8), WeekStep, false, Date(2001, 3, 1)},
        {"31 January plus a month", Date(2001, 1, 31), MonthStep, true, Date(2001, 2, 28)},
        {"31 January plus a month, leap", Date(2000, 1, 31), MonthStep, true, Date(2000, 2, 29)},
        {"31 March plus a month", Date(2001, 3, 31), MonthStep, true, Date(2001, 4, 30)},
        {"month back over the year end", Date(2001, 1, 15), MonthStep, false, Date(2000, 12, 15)},
        {"29 February plus a year", Date(2000, 2, 29), YearStep, true, Date(2001, 2, 28)},
        {"29 February back a year", Date(2000, 2, 29), YearStep, false, Date(1999, 2, 28)},
        {"typed minute over midnight", Typed(2000, 12, 31, 23 * 60 + 47), HalfHourStep, true,
         Typed(2001, 1, 1, 17)},
        {"typed minute back over midnight", Typed(2000, 3, 1, 10), HalfHourStep, false,
         Typed(2000, 2, 29, 23 * 60 + 40)},
        {"typed minute keeps its minute by the month", Typed(2001, 1, 31, 9 * 60 + 5), MonthStep,
         true, Typed(2001, 2, 28, 9 * 60 + 5)},
        {"a day over the calendar reform", Reform(1582, 10, 4), DayStep, true,
         Reform(1582, 10, 15)},
        {"a week back over the calendar reform", Reform(1582, 10, 18), WeekStep, false,
         Reform(1582, 10, 1)},
        {"29 February of a Julian leap year", Reform(1500, 2, 28), DayStep, true,
         Reform(1500, 2, 29)},
    };
    for (const StepCase& c : cases) {
        SCOPED_TRACE(c.what);
        DateSet date = c.from;
        const DateStep step = StepDateSet(date, zones, c.unit, c.forward);
        EXPECT_TRUE(step.applied);
        EXPECT_EQ(step.yearChanged, c.from.yearText != c.to.yearText);
        EXPECT_EQ(date.yearText, c.to.yearText);
        EXPECT_EQ(date.monthIndex, c.to.monthIndex);
        EXPECT_EQ(date.dayIndex, c.to.dayIndex);
        EXPECT_EQ(date.hourIndex, c.to.hourIndex);
        EXPECT_EQ(date.typedMinute, c.to.typedMinute);
        EXPECT_EQ(date.timezoneIndex, GreenwichTimezoneEntry);
    }
}

TEST(StepDateSet, RefusesWhatItCannotStep) {
    const TimeZones zones = MakeTimeZones(0, false);
    const DateSet cases[] = {
        {QString(), 1, 1, Hour(12, 0), GreenwichTimezoneEntry},
        {QStringLiteral("2000"), 0, 1, Hour(12, 0), GreenwichTimezoneEntry},
        {QStringLiteral("2000"), 1, 0, Hour(12, 0), GreenwichTimezoneEntry},
        {QStringLiteral("2000"), 1, 1, 0, GreenwichTimezoneEntry},
        {QStringLiteral("99999"), 1, 1, Hour(12, 0), GreenwichTimezoneEntry},
    };
    for (const DateSet& original : cases) {
        DateSet date = original;
        EXPECT_FALSE(StepDateSet(date, zones, DayStep, true).applied);
        EXPECT_EQ(date.yearText, original.yearText);
        EXPECT_EQ(date.monthIndex, original.monthIndex);
    }
    DateSet date = Date(2000, 6, 6);
    EXPECT_FALSE(StepDateSet(date, zones, 5, true).applied);
    EXPECT_FALSE(StepDateSet(date, zones, -1, true).applied);
    EXPECT_EQ(date.dayIndex, 6);
    // Year 0 back would become "-1", which the year box reads as year 1.
    DateSet yearZero = Date(0, 1, 1);
    yearZero.yearText = QStringLiteral("0");
    EXPECT_FALSE(StepDateSet(yearZero, zones, DayStep, false).applied);
    EXPECT_EQ(yearZero.yearText, u"0"_s);
    EXPECT_TRUE(StepDateSet(yearZero, zones, YearStep, true).applied);
    EXPECT_EQ(yearZero.yearText, u"1"_s);
}

TEST(StepDateSet, YearStepBeyondTheCalendarKeepsTheDayAtTheTwentyEighth) {
    const TimeZones zones = MakeTimeZones(0, false);
    DateSet date = Date(2799, 5, 31);
    EXPECT_TRUE(StepDateSet(date, zones, YearStep, true).applied);
    EXPECT_EQ(date.yearText, u"2800"_s);
    EXPECT_EQ(date.dayIndex, 28);
}

TEST(StepSubject, MovesTheSubjectAndKeepsItsZoneMinuteAndCalendar) {
    const TimeZones zones = MakeTimeZones(0, false);
    struct Case {
        ChartSubject from;
        int unit;
        bool forward;
        ChartSubject to; // the same as `from` when the step is refused
    };
    const auto subject = [](int year, int month, int day, std::optional<int> minute,
                            CalendarChoice calendar = CalendarChoice::Gregorian) {
        return ChartSubject{{}, year, month, day, minute, u"Europe/Paris"_s, calendar, {}};
    };
    const Case cases[] = {
        {subject(2024, 1, 31, 557), MonthStep, true, subject(2024, 2, 29, 557)},
        {subject(2024, 2, 29, 557), YearStep, true, subject(2025, 2, 28, 557)},
        {subject(2024, 12, 31, 1430), HalfHourStep, true, subject(2025, 1, 1, 20)},
        {subject(1582, 10, 4, 720, CalendarChoice::Auto), DayStep, true,
         subject(1582, 10, 15, 720, CalendarChoice::Auto)},
        {subject(2024, 3, 1, std::nullopt), DayStep, true, subject(2024, 3, 1, std::nullopt)},
        {subject(0, 1, 1, 720), DayStep, false, subject(0, 1, 1, 720)},
    };
    for (const Case& c : cases) {
        ChartSubject moved = c.from;
        EXPECT_EQ(StepSubject(moved, zones, c.unit, c.forward).applied, c.to != c.from);
        EXPECT_EQ(moved, c.to) << SubjectDateText(c.from).toStdString();
    }
}

namespace {

struct WorldStep : ::testing::Test {
    Ephemeris ephemeris{test::ProgramFolder()};
    ProgramTexts texts = ProgramTexts::FromEntries({
        {4, QStringLiteral("World date")},
        {148, QStringLiteral("must be before the year 2800.")},
        {153, QStringLiteral("Date error")},
    });
    ProgramState state;

    void SetUp() override {
        ASSERT_EQ(MessageOf(ephemeris.LoadPlutoTable(QString::fromLatin1(PlutoTableFileName))),
                  u""_s);
        state.zones = MakeTimeZones(0, false);
        state.mode = WorldTransits;
    }
    WorldStepOutcome Step(int unit, bool forward) {
        return StepWorldDate(state, {ephemeris}, unit, forward);
    }
};

} // namespace

TEST_F(WorldStep, StepsAndComputes) {
    state.dateSets[WorldDate] = Date(2024, 3, 20);
    const WorldStepOutcome outcome = Step(DayStep, true);
    EXPECT_TRUE(outcome.stepped);
    EXPECT_TRUE(outcome.step.applied);
    EXPECT_FALSE(outcome.undone);
    EXPECT_TRUE(outcome.compute.has_value());
    EXPECT_EQ(state.dateSets[WorldDate].dayIndex, 21);
    EXPECT_DOUBLE_EQ(state.ChartJulianDays[WorldDate].julianDay, 2460391.0);
    EXPECT_EQ(state.chart.firstJulianDay, 2460391.0);
}

TEST_F(WorldStep, AStepTo2800IsUndoneAfterComputeReportsIt) {
    state.dateSets[WorldDate] = Date(2799, 8, 31, Hour(6, 30));
    ASSERT_TRUE(Compute(state, {ephemeris}));
    const WorldStepOutcome outcome = Step(YearStep, true);
    EXPECT_TRUE(outcome.undone);
    EXPECT_FALSE(outcome.compute.has_value());
    EXPECT_EQ(outcome.compute.error().dateSet, WorldDate);
    EXPECT_EQ(outcome.compute.error().error, DateError::FromYear2800);
    const DateSet& world = state.dateSets[WorldDate];
    EXPECT_EQ(world.yearText, u"2799"_s);
    EXPECT_EQ(world.monthIndex, 8);
    EXPECT_EQ(world.dayIndex, 31);
    EXPECT_EQ(world.hourIndex, Hour(6, 30));
}

TEST_F(WorldStep, AStepToADateWithoutPlutoStands) {
    state.dateSets[WorldDate] = Date(2199, 12, 31);
    const WorldStepOutcome outcome = Step(DayStep, true);
    EXPECT_FALSE(outcome.undone);
    EXPECT_TRUE(outcome.compute.has_value());
    EXPECT_EQ(state.dateSets[WorldDate].yearText, u"2200"_s);
    EXPECT_EQ(state.chart.positions[0][Pluto].Status(), PositionStatus::AfterTable);
}

TEST_F(WorldStep, NatalChartsAndSynastryDoNotStep) {
    state.dateSets[WorldDate] = Date(2024, 3, 20);
    for (ChartMode mode : {NatalFirst, NatalSecond, SynastryMode}) {
        state.mode = mode;
        EXPECT_FALSE(Step(DayStep, true).stepped);
        EXPECT_EQ(state.dateSets[WorldDate].dayIndex, 20);
    }
}

TEST(ClearCommand, AsksWithTheDateSetsNameAndEmptiesOnlyThatSet) {
    const ProgramTexts texts = ProgramTexts::FromEntries({
        {342, QStringLiteral("Clear all entries of the")},
        {343, QStringLiteral("world date?")},
        {344, QStringLiteral("1st birthdate?")},
        {345, QStringLiteral("2nd birthdate?")},
    });
    EXPECT_EQ(ClearQuestionText(texts, 0), u"Clear all entries of the world date?"_s);
    EXPECT_EQ(ClearQuestionText(texts, 2), u"Clear all entries of the 2nd birthdate?"_s);
    EXPECT_EQ(ClearQuestionText(texts, 3), u""_s);

    DateSets sets{Date(2000, 1, 2), Date(1970, 6, 15), Date(1985, 11, 2)};
    ClearDateSet(sets[FirstBirthdate]);
    EXPECT_EQ(sets[FirstBirthdate].yearText, u""_s);
    EXPECT_EQ(sets[FirstBirthdate].monthIndex + sets[FirstBirthdate].dayIndex +
                  sets[FirstBirthdate].hourIndex + sets[FirstBirthdate].timezoneIndex,
              0);
    EXPECT_EQ(sets[WorldDate].yearText, u"2000"_s);
    EXPECT_EQ(sets[SecondBirthdate].monthIndex, 11);
}

TEST(ControlStateRefresh, DecidesClearForwardRunAndToggle) {
    const ProgramTexts texts = ProgramTexts::FromEntries(
        {{37, QStringLiteral("Display chart")}, {41, QStringLiteral("Display grid")}});
    ProgramState state;
    state.mode = WorldTransits;
    state.stepUnitIndex = DayStep;
    state.dateSets[WorldDate] = Date(2024, 3, 20);
    state.dateSets[WorldDate].yearText = QStringLiteral("20x24");
    state.dateSets[SecondBirthdate].hourIndex = 3;

    ControlStateInputs inputs;
    ControlState control = RefreshControlState(state, inputs, texts);
    EXPECT_EQ(state.dateSets[WorldDate].yearText, u"2024"_s);
    EXPECT_EQ(control.clearVisible, (std::array<bool, 3>{true, false, true}));
    EXPECT_EQ(control.dayTips[WorldDate], u"Wednesday"_s);
    EXPECT_EQ(control.dayTips[FirstBirthdate], u""_s);
    EXPECT_TRUE(control.forwardEnabled);
    EXPECT_FALSE(control.runVisible);
    EXPECT_EQ(control.toggleCaption, u"Display chart"_s);

    inputs.chartVisible = true;
    inputs.toggleVisible = true;
    control = RefreshControlState(state, inputs, texts);
    EXPECT_TRUE(control.runVisible);
    EXPECT_EQ(control.toggleCaption, u"Display grid"_s);
    state.stepUnitIndex = HalfHourStep;
    EXPECT_FALSE(RefreshControlState(state, inputs, texts).runVisible);
    state.stepUnitIndex = DayStep;

    inputs.courseGraphShown = true;
    control = RefreshControlState(state, inputs, texts);
    EXPECT_FALSE(control.runVisible);
    EXPECT_FALSE(control.forwardEnabled);
    EXPECT_EQ(control.toggleCaption, u"Display grid"_s);
    inputs.courseGraphShown = false;

    inputs.running = true;
    EXPECT_FALSE(RefreshControlState(state, inputs, texts).forwardEnabled);
    inputs.running = false;
    state.mode = SynastryMode;
    control = RefreshControlState(state, inputs, texts);
    EXPECT_FALSE(control.forwardEnabled);
    EXPECT_FALSE(control.runVisible);
    state.mode = PersonalSecond;
    state.dateSets[WorldDate].timezoneIndex = 0;
    EXPECT_FALSE(RefreshControlState(state, inputs, texts).forwardEnabled);
}

TEST(ControlStateRefresh, CountsTheJustSavedTicksAndHidesConfigurationWhenMinimized) {
    const ProgramTexts texts;
    ProgramState state;
    ControlStateInputs inputs;
    inputs.justSaved = true;
    for (int tick = 1; tick <= 5; ++tick) {
        const ControlState control = RefreshControlState(state, inputs, texts);
        EXPECT_TRUE(control.justSaved);
        EXPECT_EQ(control.justSavedTicks, tick);
        inputs.justSavedTicks = control.justSavedTicks;
    }
    EXPECT_FALSE(RefreshControlState(state, inputs, texts).justSaved);

    inputs.minimized = true;
    EXPECT_FALSE(RefreshControlState(state, inputs, texts).hideConfiguration);
    inputs.configurationVisible = true;
    EXPECT_TRUE(RefreshControlState(state, inputs, texts).hideConfiguration);

    inputs.runWindowVisible = true;
    EXPECT_FALSE(RefreshControlState(state, inputs, texts).runBodyListsEnabled);
    inputs.runPatternChosen = true;
    EXPECT_TRUE(RefreshControlState(state, inputs, texts).runBodyListsEnabled);
}
