#include "session/Stepping.h"

#include "calendar/Calendar.h"
#include "session/Durations.h"
#include "support/ProgramTexts.h"
#include "support/StrProc.h"
#include "support/TextNumbers.h"

#include <limits>

namespace orbivex {

namespace {

constexpr int LargestYear = std::numeric_limits<qint16>::max();

// The world date's four stepping fields as numbers; the time in minutes after midnight.
struct Fields {
    int year = 0;
    int month = 0;
    int day = 0;
    int minute = 0;
    CalendarChoice calendar = CalendarChoice::Gregorian;
};

// The length of a month in the calendar the fields are written in.
int MonthLength(const Fields& f, int month, int year) {
    return DaysInMonth(month, year, CalendarLetterOfDate(f.calendar, year, month, 1));
}

void MonthForward(Fields& f) {
    if (++f.month > 12) {
        f.month = 1;
        ++f.year;
    }
}

void MonthBack(Fields& f) {
    if (--f.month < 1) {
        f.month = 12;
        --f.year;
    }
}

void DayForward(Fields& f) {
    if (++f.day > MonthLength(f, f.month, f.year)) {
        f.day = 1;
        MonthForward(f);
    }
}

void DayBack(Fields& f) {
    if (f.day > 1) {
        --f.day;
        return;
    }
    const int yearBefore = f.year;
    MonthBack(f);
    f.day = MonthLength(f, f.month, yearBefore);
}

void WeekForward(Fields& f) {
    const int length = MonthLength(f, f.month, f.year);
    f.day += 7;
    if (f.day > length) {
        f.day -= length;
        MonthForward(f);
    }
}

void WeekBack(Fields& f) {
    if (f.day > 7) {
        f.day -= 7;
        return;
    }
    const int yearBefore = f.year;
    const int dayBefore = f.day;
    MonthBack(f);
    f.day = MonthLength(f, f.month, yearBefore) - (7 - dayBefore);
}

void Apply(Fields& f, int unit, bool forward) {
    switch (unit) {
    case HalfHourStep:
        f.minute += forward ? 30 : -30;
        if (f.minute >= MinutesPerDay) {
            f.minute -= MinutesPerDay;
            DayForward(f);
        } else if (f.minute < 0) {
            f.minute += MinutesPerDay;
            DayBack(f);
        }
        break;
    case DayStep:
        forward ? DayForward(f) : DayBack(f);
        break;
    case WeekStep:
        if (f.calendar == CalendarChoice::Auto) {
            // A week across the calendar reform is seven days, not seven day numbers.
            for (int day = 0; day < 7; ++day) {
                forward ? DayForward(f) : DayBack(f);
                if (SkippedByTheReform(f.calendar, f.year, f.month, f.day)) {
                    f.day = forward ? 15 : 4;
                }
            }
        } else {
            forward ? WeekForward(f) : WeekBack(f);
        }
        break;
    case MonthStep:
        forward ? MonthForward(f) : MonthBack(f);
        break;
    case YearStep:
        forward ? ++f.year : --f.year;
        break;
    default:
        break;
    }
}

// After a month or year step the day may not exist in the new month (or the year may lie
// beyond the calendar): walk back from the 31st, 30th or 29th until the date converts.
void CorrectDay(ChartSubject& subject, const TimeZones& zones) {
    while (subject.day >= 29 && !InstantOfSubject(subject, zones)) {
        --subject.day;
    }
}

} // namespace

QStringList StepUnitTexts(const ProgramTexts& texts) {
    QStringList list;
    for (int unit = 0; unit < NumStepUnits; ++unit) {
        list.append(texts.ProgramText(text::FirstStepUnit + unit));
    }
    return list;
}

DateStep StepSubject(ChartSubject& subject, const TimeZones& zones, int unitIndex, bool forward) {
    if (unitIndex < 0 || unitIndex >= NumStepUnits || subject.year < 0 ||
        subject.year > LargestYear || subject.month < 1 || subject.month > 12 || subject.day < 1 ||
        subject.day >= DayEntryCount || !subject.minute || *subject.minute < 0 ||
        *subject.minute >= MinutesPerDay) {
        return {};
    }
    Fields f{subject.year, subject.month, subject.day, *subject.minute, subject.calendar};
    Apply(f, unitIndex, forward);
    // The days the calendar reform skipped are passed over in the direction of the step.
    if (SkippedByTheReform(f.calendar, f.year, f.month, f.day)) {
        f.day = forward ? 15 : 4;
    }
    // A negative year would lose its sign in the year box and pass for a year of the era.
    if (f.year < 0 || f.year > LargestYear) {
        return {};
    }

    DateStep step;
    step.applied = true;
    step.yearChanged = f.year != subject.year;
    subject.year = f.year;
    subject.month = f.month;
    subject.day = f.day;
    subject.minute = f.minute;
    if (unitIndex == MonthStep || unitIndex == YearStep) {
        CorrectDay(subject, zones);
    }
    return step;
}

DateStep StepDateSet(DateSet& dateSet, const TimeZones& zones, int unitIndex, bool forward) {
    bool isNumber = false;
    ChartSubject subject = SubjectOfDateSet(dateSet);
    subject.year = DigitsOnly(dateSet.yearText, false, false).toInt(&isNumber);
    if (!isNumber) {
        return {};
    }
    const DateStep step = StepSubject(subject, zones, unitIndex, forward);
    if (!step.applied) {
        return step;
    }
    if (step.yearChanged) {
        dateSet.yearText = QString::number(subject.year);
    }
    dateSet.monthIndex = subject.month;
    dateSet.dayIndex = subject.day;
    SetMinuteOfDay(dateSet, *subject.minute);
    return step;
}

bool ModeSteps(ChartMode mode) {
    return ModeHasDurations(mode);
}

WorldStepOutcome StepWorldDate(ProgramState& state, const ComputeContext& context, int unitIndex,
                               bool forward) {
    WorldStepOutcome outcome;
    if (!ModeSteps(state.mode)) {
        return outcome;
    }
    outcome.stepped = true;
    DateSet& world = state.dateSets[WorldDate];
    const DateSet remembered = world;
    outcome.step = StepDateSet(world, state.zones, unitIndex, forward);
    outcome.compute = Compute(state, context);
    if (!outcome.compute && outcome.compute.error().dateSet == WorldDate) {
        world.hourIndex = remembered.hourIndex;
        world.typedMinute = remembered.typedMinute;
        world.monthIndex = remembered.monthIndex;
        world.dayIndex = remembered.dayIndex;
        world.yearText = remembered.yearText;
        outcome.undone = true;
    }
    return outcome;
}

QString ClearQuestionText(const ProgramTexts& texts, int dateSet) {
    if (dateSet < 0 || dateSet >= NumDateSets) {
        return {};
    }
    return texts.ProgramText(text::ClearAllEntriesOfThe) + QLatin1Char(' ') +
           texts.ProgramText(text::ClearWorldDateQuestion + dateSet);
}

void ClearDateSet(DateSet& dateSet) {
    dateSet.monthIndex = 0;
    dateSet.dayIndex = 0;
    dateSet.hourIndex = 0;
    dateSet.typedMinute = -1;
    dateSet.timezoneIndex = 0;
    dateSet.zoneName.clear();
    dateSet.yearText.clear();
}

ControlState RefreshControlState(ProgramState& state, const ControlStateInputs& inputs,
                                 const ProgramTexts& texts) {
    ControlState result;
    for (int s = 0; s < NumDateSets; ++s) {
        DateSet& dateSet = state.dateSets[s];
        dateSet.yearText = DigitsOnly(dateSet.yearText, false, false);
        result.clearVisible[s] = !dateSet.yearText.isEmpty() || dateSet.monthIndex > 0 ||
                                 dateSet.dayIndex > 0 || dateSet.hourIndex > 0 ||
                                 dateSet.timezoneIndex > 0 || !dateSet.zoneName.isEmpty();
        DateSet copy = dateSet; // the tip reads the date without choosing an hour for it
        result.dayTips[s] = UpdateDayOfWeekTip(copy);
    }

    const DateSet& world = state.dateSets[WorldDate];
    result.forwardEnabled = !world.yearText.isEmpty() && ModeSteps(state.mode) &&
                            ZoneChosen(world) && world.hourIndex > 0 && world.dayIndex > 0 &&
                            world.monthIndex > 0 && !inputs.running && !inputs.courseGraphShown;

    if (inputs.courseGraphShown) {
        result.runVisible = false;
        result.toggleCaption = texts.ProgramText(text::DisplayGrid);
    } else if (inputs.chartVisible) {
        result.toggleCaption = texts.ProgramText(text::DisplayGrid);
        result.runVisible =
            state.stepUnitIndex >= DayStep && ModeSteps(state.mode) && inputs.toggleVisible;
    } else {
        result.toggleCaption = texts.ProgramText(text::DisplayChart);
        result.runVisible = false;
    }

    result.hideConfiguration = inputs.minimized && inputs.configurationVisible;

    result.justSaved = inputs.justSaved;
    result.justSavedTicks = inputs.justSavedTicks;
    if (inputs.justSaved) {
        ++result.justSavedTicks;
        if (result.justSavedTicks > 5) {
            result.justSaved = false;
            result.justSavedTicks = 0;
        }
    }

    result.runBodyListsEnabled = inputs.runWindowVisible && inputs.runPatternChosen;
    return result;
}

} // namespace orbivex
