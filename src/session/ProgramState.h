#pragma once
// Everything the user has entered and everything the last Compute left behind. The main
// window owns one of these for the life of the program; the command-line program and the
// tests build their own. Nothing in it is global.

#include "calendar/ChartSubject.h"
#include "calendar/DateInput.h"
#include "core/Chart.h"
#include "core/ChartMode.h"
#include "core/ChartTables.h"
#include "places/Place.h"
#include "session/Configuration.h"

#include <QString>
#include <array>
#include <optional>

namespace orbivex {

// Whose chart a date set holds, beyond its date: the name of the person or event and the chart
// library's id, when the date came from the library or was added to it. A name belongs to the
// date it came with: it names the date set while the date set converts to `instant`.
struct DateSetName {
    QString name;
    qint64 libraryId = 0;
    Instant instant;
    bool operator==(const DateSetName&) const = default;
};

struct ProgramState {
    // What the user enters.
    DateSets dateSets;
    // The place of birth (or of the event) of each date set, when one was given. A date set
    // read at its place (ReadAtPlace) has the place's zone and longitude; one whose zone was
    // typed keeps that zone and only names the place.
    std::array<std::optional<Place>, NumDateSets> places;
    TimeZones zones;
    ChartMode mode = ChartMode::WorldTransits; // the selected mode option
    bool radians = false;                      // optRadians rather than optDegrees
    int stepUnitIndex = 1;                     // cboForwardBack: half hour, day, week, month, year
    bool chartShown = false;                   // the chart wheel rather than the grid is on display
    ConfigurationSettings settings;
    std::array<DateSetName, NumDateSets> names;

    // What Compute leaves behind.
    ChartMode recordedMode = ChartMode::NoChartMode;    // the mode of the last successful Compute
    std::array<Instant, NumDateSets> ChartJulianDays{}; // the moments of the three dates (UT)
    // The date sets as the last full Compute converted them (the year in digits, an empty
    // hour or zone filled in) and the zone list it read them with: the dates of the chart on
    // display. The double-click, the durations, the course graph and the saved wheel describe
    // that chart, so they take its dates from here and not from dateSets, which the user may
    // have changed since.
    DateSets computedDateSets;
    TimeZones computedZones;
    std::array<std::optional<Place>, NumDateSets> computedPlaces;
    OrbTable orbs;
    OrbSummary orbSummary;
    Chart chart; // what the last successful Compute found
};

// The name of a date set while it holds the date it was named with, "" otherwise: of the date
// set as entered, or (computed) as the chart on display converted it.
QString NameOfDateSet(const ProgramState& state, int dateSet, bool computed);
// The names of the three date sets, as NameOfDateSet gives them.
std::array<QString, NumDateSets> NamesOfDateSets(const ProgramState& state, bool computed);
// Names date set `dateSet` with the date it holds now; a date that does not convert takes no
// name.
void NameDateSet(ProgramState& state, int dateSet, const QString& name, qint64 libraryId);

// The date sets a mode uses, in index order: world transits the world date, natal aspects
// their birthdate, personal transits the world date and the birthdate, synastry both
// birthdates.
std::array<bool, NumDateSets> DateSetsOfMode(ChartMode mode);

// The date set whose Enter key or change concerns the mode (the same rule both ways).
bool ModeUsesDateSet(ChartMode mode, int dateSet);

// The mode in which a date set just loaded is seen: `mode` when it uses the date set, else
// world transits for the world date, and for a birthdate its personal transits when `mode` is
// the other birthdate's, otherwise its natal aspects.
ChartMode ModeShowingDateSet(ChartMode mode, int dateSet);

} // namespace orbivex
