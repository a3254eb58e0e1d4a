#pragma once
// When an aspect of the grid began and when it will end, walking day by day (for slow pairs by
// up to eleven days) from the local midnights around the world date; the list of every aspect
// of the grid with its deviation, beginning, end and duration as fixed-width records; and what
// a double-click on a grid cell leads to.
//
// Day numbers are Julian day numbers of civil dates; Julian dates are on Universal Time.

#include "calendar/ChartSubject.h"
#include "calendar/LocalMoment.h"
#include "core/ChartMode.h"
#include "core/ChartTables.h"
#include "session/GridCells.h"
#include "session/ProgramState.h"

#include <QString>
#include <optional>
#include <utility>
#include <vector>

namespace orbivex {

class Ephemeris;
class ProgramTexts;

// One search: in world transits `first` is the lower-numbered body and both move; in personal
// transits `first` is the natal body (fixed at the birthdate) and `second` the transiting body.
struct AspectSearch {
    BodyIndex first = BodyIndex::Earth;
    BodyIndex second = BodyIndex::Earth;
    AspectKind aspect = AspectKind::NoAspect;
    bool personal = false; // personal transits (their orbs), else world transits
    int zoneMinutes = 0;   // the world date's offset, minutes east of Greenwich
};

// The dates a search starts from.
struct SearchDates {
    std::optional<LocalJulianDay> worldLocal; // the world date's local day and time
    std::optional<Instant> natal;             // personal transits: the birthdate's moment
    // The calendar of the world date: a walk stays within its years 1 to 2799.
    CalendarChoice calendar = CalendarChoice::Gregorian;
};

// The search dates of the chart on display: the world date and, in personal transits, the
// mode's birthdate, as the last full Compute converted them (not the date controls).
// Nothing for a date that does not convert.
SearchDates SearchDatesOf(const ProgramState& state);

// The time-zone offset in minutes of the chart on display's world date, as its conversion
// chose it (the computer's zone when none was chosen).
int WorldTimeZoneOffset(const ProgramState& state);

// World transits and personal transits have beginnings, ends and durations; natal aspects and
// synastry are fixed charts and have none.
inline constexpr bool ModeHasDurations(ChartMode mode) {
    return mode == ChartMode::WorldTransits || mode == ChartMode::PersonalFirst ||
           mode == ChartMode::PersonalSecond;
}

// A search finds no day when a body has no position at a sampled date, a date does not
// convert, or the walk leaves the years 1 to 2799.

// The day during which the aspect entered its orb: the first day, walking back from the world
// date, at whose local midnight it did not yet hold; the world date itself when it did not hold
// at that day's midnight.
std::optional<double> BeginningOfAspect(const Ephemeris& ephemeris, const OrbTable& orbs,
                                        const SearchDates& dates, const AspectSearch& search);

// The day during which the aspect leaves its orb: the day before the first local midnight after
// the world date at which it no longer holds.
std::optional<double> EndOfAspect(const Ephemeris& ephemeris, const OrbTable& orbs,
                                  const SearchDates& dates, const AspectSearch& search);

// The step of a search while the aspect holds with exactness e (1 exact, towards 0 at the
// orb's edge): one day, or for a pair of Uranus, Neptune and Pluto 1 + the integer part of
// 10 e days (1 to 11).
int SearchStepDays(BodyIndex first, BodyIndex second, double exactness);

// The exact moment (UT) of the aspect of the search that is within orb at the world date
// worldJD (UT): the one nearest to it when the aspect is exact more than once in its passage;
// nothing when it does not become exact in that passage or the moment lies outside the years
// 1-2799 of the world date's calendar (in its zone) or Pluto's table.
std::optional<double> ExactMomentOfAspect(const Ephemeris& ephemeris, const OrbTable& orbs,
                                          const SearchDates& dates, double worldJD,
                                          const AspectSearch& search);

// ---- The grid's aspects ------------------------------------------------------------------------

// The two bodies of a grid cell in a mode: world transits and natal aspects (row - 1, column
// + 1); personal transits (natal row - 1, transiting column - 1); synastry (first birthdate
// column - 1, second birthdate row - 1). None for a cell that holds no pair.
std::optional<std::pair<BodyIndex, BodyIndex>> CellBodies(ChartMode mode, int cellIndex);

// The bodies (first, second) of an aspect of a chart of the mode: in personal transits the natal
// body and the transiting one, otherwise the chart's first and second body.
std::pair<BodyIndex, BodyIndex> AspectBodies(ChartMode mode, const ChartAspect& aspect);

// The aspect of the chart that grid cell cellIndex shows in the chart's mode; null for a cell
// that holds no pair or a pair without an aspect.
const ChartAspect* AspectOfCell(const Chart& chart, int cellIndex);

// One line of DurationRecords, positions counted from 1:
//   1-2 the first body, 3-4 the second, 5-6 the first again, 7-8 the kind (each right-aligned), 9 a
//   space, 10-17 the deviation in radians with 6 decimals ("0.012345"), 18-25 the beginning day,
//   26-33 the end day (each right-aligned, -1 when unknown), 34-39 the duration in days
//   (blank when a day is unknown). Natal charts and synastry have 22 "-" from position 18.
//   A transit that becomes exact within its passage goes on with 40-54 the Julian date (UT) of
//   the exact moment, right-aligned with 6 decimals; the others end at position 39.
// The text from any field's first position to the end is the sort key of that field.
using DurationRecords = std::vector<QString>;

inline constexpr int RecordKeyStartBody1 = 1;
inline constexpr int RecordKeyStartBody2 = 3;
inline constexpr int RecordKeyStartKind = 7;
inline constexpr int RecordKeyStartDeviation = 9;
inline constexpr int RecordKeyStartBeginning = 18;
inline constexpr int RecordKeyStartEnd = 26;
inline constexpr int RecordKeyStartDuration = 34;
inline constexpr int RecordLength = 39;
inline constexpr int RecordKeyStartExact = 40;
inline constexpr int RecordExactWidth = 15;

// A record with its days, each known or not, and the exact moment when there is one.
QString DurationRecord(BodyIndex first, BodyIndex second, AspectKind kind, double deviation,
                       std::optional<double> beginning, std::optional<double> end,
                       std::optional<double> exact = std::nullopt);
// A record of a natal chart or synastry: no days, 22 dashes.
QString NatalDurationRecord(BodyIndex first, BodyIndex second, AspectKind kind, double deviation);

// The fields of a record read back; days are absent when unknown or in a natal record.
struct DurationFields {
    BodyIndex body1 = BodyIndex::Earth;
    BodyIndex body2 = BodyIndex::Earth;
    AspectKind kind = AspectKind::NoAspect;
    double deviation = 0.0;
    std::optional<int> beginning;
    std::optional<int> end;
    std::optional<int> duration;
    std::optional<double> exact; // Julian date (UT)
};
// False (fields untouched) for a text that is not a record.
bool ReadDurationRecord(const QString& record, DurationFields& fields);

// The records of every aspect of the chart of the last Compute, in the grid's cell order;
// deviations from positions at the dates of that Compute; beginnings, ends and exact moments
// in world and personal transits, unless searchDays is false: the days are then unknown and
// no record has an exact moment.
DurationRecords GetDurations(const ProgramState& state, const Ephemeris& ephemeris,
                             bool searchDays = true);

// ---- Double-click on a grid cell
// -----------------------------------------------------------------

// What the course graph of a personal transit needs.
struct CourseGraphRequest {
    BodyIndex natalBody = BodyIndex::Earth;
    BodyIndex transitingBody = BodyIndex::Earth;
    AspectKind kind = AspectKind::NoAspect;
    int timeZone = 0; // minutes east of Greenwich
    int beginning = 0;
    int end = 0;
    QString title; // with an "X" where the birthdate goes
};

struct CellDoubleClick {
    enum class Action {
        None,           // not an aspect cell: nothing happens
        FocusCompute,   // natal aspects or synastry: the focus moves to Compute
        ClearSelection, // the aspect is switched off (colour 0): only the selection is cleared
        CourseGraph,    // personal transit with both days known: draw the course graph
        AskForReport,   // ask whether to show the report (Yes/No, default No, titled `title`)
    };
    Action action = Action::None;
    BodyIndex first = BodyIndex::Earth;
    BodyIndex second = BodyIndex::Earth;
    AspectKind kind = AspectKind::NoAspect;
    std::optional<double> beginning;
    std::optional<double> end;
    std::optional<double> exact; // UT
    QString title;         // "Mars square to Jupiter", "Transiting Mars square to natal Venus"
    bool personal = false; // personal transits, not world transits
    double orb = 0.0;      // the aspect's orb, radians
    CalendarChoice calendar = CalendarChoice::Gregorian; // the world date's
    bool beginsBeforeYearOne = false; // the beginning lies before the calendar's first day
    MomentZone zone;                  // of the world date: the exact moment is told in it
    CourseGraphRequest graph;         // CourseGraph
    QString chartTip;                 // CourseGraph: the chart picture's tip (language text 351)
};

// Decides what a double-click on grid cell cellIndex does in the state's recorded mode, running
// the two searches when the cell holds an active aspect of world or personal transits.
CellDoubleClick DecideCellDoubleClick(const ProgramState& state, const Ephemeris& ephemeris,
                                      const ProgramTexts& texts, int cellIndex);

} // namespace orbivex
