#pragma once
// Moving the world date forward or back by one step unit and recomputing, the Clear command of
// a date set, and the once-a-second refresh of which date and step controls are usable. The
// main window and the pattern run both step through StepWorldDate; the window only copies the
// date set back into its controls and applies the control state it is given.

#include "calendar/ChartSubject.h"
#include "calendar/DateInput.h"
#include "session/Compute.h"
#include "session/ProgramState.h"

#include <QString>
#include <QStringList>
#include <array>

namespace orbivex {

class ProgramTexts;

// The entries of cboForwardBack.
enum StepUnit : int {
    HalfHourStep = 0,
    DayStep = 1,
    WeekStep = 2,
    MonthStep = 3,
    YearStep = 4,
};
inline constexpr int NumStepUnits = 5;

// The texts of the step-unit list in entry order: language texts 170 to 174.
QStringList StepUnitTexts(const ProgramTexts& texts);

struct DateStep {
    bool applied = false;     // the date set was moved
    bool yearChanged = false; // the year text was rewritten
};

// Moves the subject by one unit (a StepUnit index) forward or back on its calendar: half hours
// roll over midnight, days and weeks over month and year ends, and a month or year step that
// lands on a day the month does not have (31 April, 29 February of a common year, or any day of
// year 2800) falls back a day at a time, but not below the 28th. The zone is never touched.
// Nothing changes, and applied is false, for an index that is not a unit, for a subject whose
// year is not from 0 to 32767, whose month or day is outside the lists or that has no time, and
// for a step that would take the year below 0.
DateStep StepSubject(ChartSubject& subject, const TimeZones& zones, int unitIndex, bool forward);

// The same for the window's date set, whose year text must be a number from 0 to 32767; the
// year text is rewritten only when the year changed.
DateStep StepDateSet(DateSet& dateSet, const TimeZones& zones, int unitIndex, bool forward);

struct WorldStepOutcome {
    bool stepped = false;   // a step was tried: the mode shows the world date
    DateStep step;          // what the unit arithmetic did
    bool undone = false;    // the stepped date did not convert; the world date is back as it was
    ComputeOutcome compute; // Compute's outcome; its date error is for the window to show
};

// One Forward (forward true) or Back step of the world date: remembers the world date's hour,
// month, day and year text, applies the unit, computes, and puts
// the remembered values back when the world date then does not convert. In natal aspects and
// synastry, which do not show the world date, nothing happens.
WorldStepOutcome StepWorldDate(ProgramState& state, const ComputeContext& context, int unitIndex,
                               bool forward);

// ---- Clear ----------------------------------------------------------------------------------

// The question of the Clear command of date set 0, 1 or 2: language text 342, a space, and
// 343, 344 or 345; "" for another index. Its title is the caption of the pressed command.
QString ClearQuestionText(const ProgramTexts& texts, int dateSet);

// What Yes does: the month, day, hour and time-zone lists go to their empty entry and the year
// text is emptied.
void ClearDateSet(DateSet& dateSet);

// ---- Control-state refresh --------------------------------------------------------------------

// What the refresh reads besides the program state: the window's own view of things.
struct ControlStateInputs {
    bool running = false;          // a run is going
    bool courseGraphShown = false; // the course graph is on show
    bool chartVisible = false;     // picGraphic is visible
    bool toggleVisible = false;    // cmdToggleGraphic is visible
    bool minimized = false;        // the main window is minimized
    bool configurationVisible = false;
    bool justSaved = false; // a state file was just written or read
    int justSavedTicks = 0; // ticks counted since then
    bool runWindowVisible = false;
    bool runPatternChosen = false; // the run window's pattern list has a choice
};

// What the window applies after a tick.
struct ControlState {
    std::array<bool, NumDateSets> clearVisible{}; // cmdClear(s)
    std::array<QString, NumDateSets> dayTips;     // weekday tip of each day list
    bool forwardEnabled = false;                  // also Back and cboForwardBack
    bool runVisible = false;                      // cmdRun
    QString toggleCaption;                        // cmdToggleGraphic
    bool hideConfiguration = false;               // run the configuration window's Hide
    bool justSaved = false;                       // the just-saved flag after the tick
    int justSavedTicks = 0;
    bool runBodyListsEnabled = false; // the run window's sought-body lists and their label
};

// Timer1's refresh: brings each year text to its digits (no sign) and decides the state of the
// controls from the program state and the window's view.
ControlState RefreshControlState(ProgramState& state, const ControlStateInputs& inputs,
                                 const ProgramTexts& texts);

// Whether the world date can be stepped in this mode: world transits and personal transits.
bool ModeSteps(ChartMode mode);

} // namespace orbivex
