#pragma once
// Everything the user has entered and everything the last Compute left behind. The main
// window owns one of these for the life of the program; the command-line program and the
// tests build their own. Nothing in it is global.

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

struct ProgramState {
    // What the user enters.
    DateSets dateSets;
    // The place of birth (or of the event) of each date set, when one was given. A date set
    // read at its place (ReadAtPlace) has the place's zone and longitude; one whose zone was
    // typed keeps that zone and only names the place.
    std::array<std::optional<Place>, NumDateSets> places;
    TimeZones zones;
    ChartMode mode = WorldTransits; // the selected mode option
    bool radians = false;           // optRadians rather than optDegrees
    int stepUnitIndex = 1;          // cboForwardBack: half hour, day, week, month, year
    bool chartShown = false;        // the chart wheel rather than the grid is on display
    ConfigurationSettings settings;

    // What Compute leaves behind.
    ChartMode recordedMode = NoChartMode; // the mode of the last successful Compute
    std::array<double, 3> ChartJulianDays{};
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

// The date sets a mode uses, in index order: world transits the world date, natal aspects
// their birthdate, personal transits the world date and the birthdate, synastry both
// birthdates.
std::array<bool, NumDateSets> DateSetsOfMode(ChartMode mode);

// The date set whose Enter key or change concerns the mode (the same rule both ways).
bool ModeUsesDateSet(ChartMode mode, int dateSet);

} // namespace orbivex
