#pragma once
// State files: the user state file and the *.pat files that the user saves and loads. A state
// file keeps what the user entered in the main window and the aspect configuration: the three
// date sets, the chart mode, the step unit, the boldface rule, the orbs and the aspect colours.
//
// The format is 44 lines of 8-bit text (Latin-1), each ended by CR LF, one value a line:
//   1-15  three date sets (world date, first and second birthdate), five lines each:
//         month index, day index, year text, hour index, time-zone index
//   16-21 the six mode flags, in chart-mode order 1..6
//   22    step-unit index          23 boldface check box (0/1)   24 boldface factor index
//   25    "1 degree" option flag   26 "proportion of orb" option flag
//   27    personal-transits divisor index
//   28-35 the eight orb list positions (bare integers)
//   36-42 the colours of aspect kinds 1..7 (bare integers, R + 256 G + 65536 B)
//   43    midpoint orb index       44 synastry divisor index
// Indices and flags are written as " 5 " / "-1 " and "#TRUE#" / "#FALSE#".
//
// What those lines cannot hold follows them as keyed lines "key=value", written only when
// used, so that a file without them is exactly what older versions wrote and read:
//   world.time, birth1.time, birth2.time   a time typed off the half hours, "HH:MM"
//   world.zone, birth1.zone, birth2.zone   a zone of the time-zone database, "Europe/Paris"
//   world.place, birth1.place, birth2.place
//                                          the place: name|region|country|country code|zone|
//                                          latitude|longitude|population, each part of text
//                                          percent-encoded UTF-8 ("Auvergne-Rh%C3%B4ne-Alpes")
//   world.atplace, birth1.atplace, birth2.atplace
//                                          "1": the date is read at its place (the place's zone,
//                                          and its own local mean time while the zone kept one)
//   calendar                               "julian" or "auto" (the dates' calendar)
//   zodiac                                 "date" (signs from the mean equinox of date)
// The classic lines then hold the nearest value they can (the half hour before a typed time,
// the list entry of a named zone's offset at that date).
// A reader skips keys it does not know and lines without a key. docs/state-files.md
// describes the format.

#include "calendar/DateInput.h"
#include "core/Bodies.h"
#include "core/ChartMode.h"
#include "core/Zodiac.h"
#include "places/Place.h"

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <array>
#include <functional>
#include <optional>

namespace orbivex {

// One date set as its controls read: entry indices of the month, day, hour and time-zone
// lists and the year box's text.
struct StateDateSet {
    int monthIndex = 0;           // 0 none, 1..12
    int dayIndex = 0;             // 0 none, 1..31
    QString yearText;             // as typed
    int hourIndex = 0;            // 0 none, 1..48
    int timezoneIndex = 0;        // 0..54
    int typedMinute = -1;         // keyed: a typed time of day off the half hours, or -1
    QString zoneName{};           // keyed: a zone of the time-zone database, or ""
    std::optional<Place> place{}; // keyed: the place of the date
    bool atPlace = false;         // keyed: the date is read at its place (ReadAtPlace)

    bool operator==(const StateDateSet&) const = default;
};

struct StateFileContents {
    // Number of entries of each list whose selection the file stores.
    static constexpr int MonthEntries = 13;
    static constexpr int DayEntries = 32;
    static constexpr int HourEntries = 49;
    static constexpr int TimezoneEntries = TimezoneEntryCount;
    static constexpr int StepUnitEntries = 5;
    static constexpr int BoldfaceFactorEntries = 9;
    static constexpr int DivisorEntries = 5;
    static constexpr int OrbEntries = 16;
    static constexpr int MidpointOrbEntries = 8;
    static constexpr int MaxColour = 0xffffff;
    // Longest year text the file keeps; the year box holds a year, not prose.
    static constexpr int MaxYearTextLength = 256;
    // Longest zone name the file keeps; the database's longest is about 30 characters.
    static constexpr int MaxZoneNameLength = 64;

    std::array<StateDateSet, 3> dateSets; // index 0 world date, 1 and 2 the birthdates

    // The six mode options, index = chart mode 1..6 (index 0 unused).
    std::array<bool, 7> modeOption{};

    int stepUnitIndex = 0;        // cboForwardBack
    bool useBoldface = false;     // chkUseBoldface
    int boldfaceFactorIndex = 0;  // cboBoldfaceFactor
    bool oneDegreeOfOrb = false;  // opt1DegOfOrb
    bool proportionOfOrb = false; // optProportionOfOrb
    // cboPersonalOrbsProportion: 0 personal transits, 1 synastry.
    std::array<int, 2> divisorIndex{};
    // cboOrb 0..7: aspect kinds 1..7, then the "set all" list.
    std::array<int, 8> orbPosition{};
    // Colour of aspect kinds 1..7 (index 0 unused). 0 stands for "keep the colour the program
    // has": a switched-off aspect is saved as 0 and comes back with its current colour.
    std::array<int, 8> aspectColour{};
    int midpointOrbIndex = 0; // cboOrbForMidpoints
    // Keyed: the calendar the dates are written in.
    CalendarChoice calendar = CalendarChoice::Gregorian;
    // Keyed: the zodiac the signs are counted in.
    ZodiacChoice zodiac = ZodiacChoice::J2000;

    // The mode the options select: the last of them that is on, as setting the options one
    // after another in file order leaves it; NoChartMode when none is on.
    ChartMode SelectedMode() const;
    // Turns on exactly the option of `mode` (none for NoChartMode).
    void SelectMode(ChartMode mode);
    // The colour aspect `kind` takes when these contents are applied: the stored one, or
    // `current` when the file keeps it.
    int ColourOr(AspectKind kind, int current) const;

    bool operator==(const StateFileContents&) const = default;
};

// Checks that every value lies in its list's range and every year text can be stored, or
// describes the first value that does not.
Status CheckStateFileContents(const StateFileContents& contents);

// The 44 lines of the file as bytes. Call only with contents that pass the check.
// Characters a year text cannot carry in the file (outside Latin-1, line breaks and other
// control characters) are left out; a year text that would not read back as itself (a comma,
// a leading quote, spaces at its ends) is written in double quotes.
QByteArray FormatStateFile(const StateFileContents& contents);

// Reads file bytes: the contents when the whole file is valid, otherwise a description of the
// first fault.
Expected<StateFileContents> ParseStateFile(const QByteArray& bytes);

// Writes the file, replacing an existing one only once the new one is complete, or describes
// the failure; on failure the old file is untouched.
Status WriteStateFile(const QString& path, const StateFileContents& contents);

// How the bytes go into the temporary file that replaces the old one once complete: success
// when all of them were written, otherwise why not. WriteStateFile writes them at once; tests put
// in a writer that fails part-way, as a full disk does, or stops there, as a killed program
// does.
using StateFileWriter = std::function<Status(QFileDevice& file, const QByteArray& bytes)>;
Status WriteStateFile(const QString& path, const StateFileContents& contents,
                      const StateFileWriter& writer);

// Reads the file: its contents, or a description of the failure.
Expected<StateFileContents> ReadStateFile(const QString& path);

} // namespace orbivex
