#pragma once
// What the pictures of a chart are drawn from: the wheel's input (positions, aspect lines,
// colours, filters, style), the export image's composition (the wheel with the dates and the
// orbs) and the chart sheet's content (title, dates, wheel, grid, reports). Plain values built
// from the program state with Qt Core alone, so that orbivex-cli computes them with its own
// code and hands them to its drawing module, which only draws.

#include "calendar/DateInput.h"
#include "core/Bodies.h"
#include "core/Chart.h"
#include "core/ChartMode.h"
#include "core/ChartTables.h"
#include "core/Orbs.h"
#include "present/Grid.h"
#include "session/WheelAppearance.h"
#include "support/Version.h"

#include <QRectF>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace orbivex {

class Ephemeris;
class ProgramTexts;
struct ConfigurationSettings;
struct ProgramState;

// One line of the wheel. Single set: body1 < body2, both of the one chart. Two sets: body1
// belongs to the first set (transiting bodies, or the first birthdate's) and body2 to the
// second (the natal bodies, or the second birthdate's).
struct WheelAspect {
    BodyIndex body1 = BodyIndex::Earth;
    BodyIndex body2 = BodyIndex::Earth;
    AspectKind kind = AspectKind::NoAspect;
    bool bold = false;      // an emphasised aspect: a line of width 2
    double deviation = 0.0; // radians from the exact aspect
    bool operator==(const WheelAspect&) const = default;
};

struct WheelInput {
    ChartMode mode = ChartMode::WorldTransits;
    // [0] the first set, [1] the second (two-set modes); a body without a position has no
    // symbol and no lines.
    std::array<PositionSet, 2> positions{};
    int numBodies = MaxBodies;
    std::vector<WheelAspect> aspects;
    std::array<int, 8> colours{}; // per aspect kind 1..7; 0 switches the kind's lines off
    ChartFilters filters;
    bool displayZodiacSectors = true;
    bool legends = true; // the on-screen legends; the image export leaves them out
    WheelStyle style = WheelStyle::Classic;
    WheelTheme theme = WheelTheme::Light;
    // The modern style draws its image with this many device pixels to a picture pixel, so
    // that it stays crisp on a high-density screen; the classic image has one.
    double devicePixelRatio = 1.0;
    // Boxes (pixels of the picture) the modern wheel keeps clear of: the texts an export
    // composes around it.
    std::vector<QRectF> keepClear;
};

// The input for a computed chart: its positions (in the chart's zodiac) and aspects with the
// colours, filters and sector switch of the configuration.
WheelInput MakeWheelInput(const Chart& chart, const ConfigurationSettings& settings);

// A date set as the exported image shows it: the year as typed, month and day with two digits
// ("1950-03-07"), and the hour entry and zone entry ("14:30 GMT+1:00").
struct ExportDateText {
    QString date;
    QString hourAndZone;
};
ExportDateText ExportDateTextOf(const DateSet& dateSet, const TimezoneList& zones);

// The version shown under the title: major version, ".", minor version and "6" ("2.1.0" gives
// "2.16").
QString ExportVersionText(const QString& version);

struct ExportInput {
    WheelInput wheel; // its legends are left out
    std::array<ExportDateText, NumDateSets> dates;
    // Two-set modes: the orb summary of the title (AddOrbToTitle of an empty title, personal,
    // without full stop), without its leading spaces.
    QString orbSummary;
    QString productName = QStringLiteral("Orbivex");
    QString version = ExportVersionText(QString::fromLatin1(ProgramVersion()));
};

struct SheetInput {
    QString title;         // the chart's title: the mode and the orbs
    QStringList dateLines; // "World date: 2024-03-20 12:00 GMT+0:00", one per date set used
    WheelInput wheel;      // drawn without its on-screen legends
    QString setKey;        // two sets: which colour is which set
    AspectGrid grid;
    QString report;       // beside the grid: aspect counts and patterns (CR LF lines)
    QString listingTitle; // the Report command's title
    QString listing;      // and its text (CR LF lines)
};

// The mode of the last Compute (whose chart the wheel draws), or the selected mode before any.
ChartMode WheelModeOf(const ProgramState& state);

// The wheel of the last Compute: its chart's positions and aspects with the colours, filters
// and sector switch of the configuration.
WheelInput WheelInputOf(const ProgramState& state);

// The same wheel with the dates of the date sets and, for two sets, the orb summary, as the
// image export composes it.
ExportInput ExportInputOf(const ProgramState& state, const ProgramTexts& texts);

// The sheet of the last Compute: its dates, wheel, grid and report, and the Report command's
// text for the same chart.
SheetInput SheetInputOf(const ProgramState& state, const Ephemeris& ephemeris,
                        const ProgramTexts& texts);

} // namespace orbivex
