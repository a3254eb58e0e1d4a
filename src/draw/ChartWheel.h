#pragma once
// The heliocentric chart wheel, drawn into an image without any window: the rim, the twelve
// zodiac sectors with their sign symbols, the bodies' symbols at their longitudes (pushed
// inwards until they find a free place), a line for every aspect of the chart, the Sun at the
// centre and the legends. One set of bodies for world transits and natal aspects, two sets
// sharing the ring for personal transits and synastry. The main window shows the image; the
// image export and orbivex-cli draw the same wheel.
//
// Measures are in layout units (1/1440 inch, 15 to a pixel) as the window places its picture;
// the image has one pixel per 15 layout units.

#include "core/Bodies.h"
#include "core/Chart.h"
#include "core/ChartMode.h"
#include "core/ChartTables.h"
#include "core/Orbs.h"
#include "present/Grid.h"

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace orbivex {

class ProgramTexts;
struct ConfigurationSettings;

// The fixed measures of a layout, in layout units.
struct WheelGeometry {
    int width = 0; // the picture
    int height = 0;
    int cx = 0; // centre
    int cy = 0;
    int rimRadius = 0;
    int sectorLength = 0; // zodiac sector lines, from the centre
    int firstRadius = 0;  // where a body's symbol first tries to stand
    int boxWidth = 0;     // the box a symbol needs, from its text origin
    int boxHeight = 0;
    int legendX = 0; // legend 0 (the heliocentric chart legend)
};

inline constexpr WheelGeometry SingleSetGeometry{6000, 6000, 3000, 3000, 2950,
                                                 2880, 2900, 250,  300,  0};
inline constexpr WheelGeometry TwoSetGeometry{9900, 6600, 4950, 3300, 3250,
                                              3200, 3200, 250,  350,  1700};

// The two-set layout for personal transits and synastry, the single-set one otherwise.
const WheelGeometry& WheelGeometryOf(ChartMode mode);

// Pixels of a length or position in layout units.
inline constexpr double WheelPixels(double layoutUnits) {
    return layoutUnits / 15.0;
}

inline constexpr int WheelBackColour = Rgb(255, 255, 192);
// The disc inside the rim: dark, so that the white symbols and the bright aspect colours, which
// were chosen for the black grid cells, read as well on the wheel as in the grid.
inline constexpr int WheelDiscColour = Rgb(24, 28, 48);
inline constexpr int WheelRimColour = Rgb(255, 255, 255);
inline constexpr int FirstSetGlyphColour = Rgb(255, 255, 255);
inline constexpr int SecondSetGlyphColour = Rgb(184, 191, 80); // "lemon"
inline constexpr int ZodiacColour = Rgb(64, 64, 64);           // sector lines and sign symbols
// The sign symbols stand on the dark disc; they are drawn a lighter grey than the sector lines
// so that they stay readable at their small size.
inline constexpr int SignSymbolColour = Rgb(150, 150, 160);
inline constexpr int LegendColour = Rgb(0, 0, 0);

// One line of the wheel. Single set: body1 < body2, both of the one chart. Two sets: body1
// belongs to the first set (transiting bodies, or the first birthdate's) and body2 to the
// second (the natal bodies, or the second birthdate's).
struct WheelAspect {
    BodyIndex body1 = 0;
    BodyIndex body2 = 0;
    AspectKind kind = NoAspect;
    bool bold = false; // an emphasised aspect: a line of width 2
    bool operator==(const WheelAspect&) const = default;
};

struct WheelInput {
    ChartMode mode = WorldTransits;
    // [0] the first set, [1] the second (two-set modes); a body without a position has no
    // symbol and no lines.
    std::array<PositionSet, 2> positions{};
    int numBodies = MaxBodies;
    std::vector<WheelAspect> aspects;
    std::array<int, 8> colours{}; // per aspect kind 1..7; 0 switches the kind's lines off
    ChartFilters filters;
    bool displayZodiacSectors = true;
    bool legends = true; // the on-screen legends; the image export leaves them out
};

// The input for a computed chart: its positions and aspects with the colours, filters and
// sector switch of the configuration.
WheelInput MakeWheelInput(const Chart& chart, const ConfigurationSettings& settings);

// A line as drawn, in pixels of the image.
struct WheelLine {
    WheelAspect aspect;
    int colour = 0;
    int width = 1;
    QPointF from;
    QPointF to;
};

enum class WheelStatus {
    Drawn,
    FiltersRefused, // both chart filters are set: nothing is drawn
    NoRoomForGlyph, // a symbol found no free place: the drawing stopped there
};

struct WheelDrawing {
    WheelStatus status = WheelStatus::Drawn;
    // The picture; null when refused, drawn up to the symbol that found no place otherwise.
    QImage image;
    // Text origin (layout units) of every placed symbol, per set 0 or 1 and body 1..9.
    std::array<std::array<std::optional<QPoint>, 11>, 2> glyphOrigins{};
    std::vector<WheelLine> lines; // in drawing order
    // What the window shows when the status is not Drawn: the refusal (titled with the main
    // window's caption, so messageTitle is empty) or the warning with its title.
    QString messageTitle;
    QString message;

    bool drawn() const { return status == WheelStatus::Drawn; }
};

// Draws the wheel of the input's mode: DrawSingleSetChart for world transits and natal
// aspects, DrawTwoSetChart for personal transits and synastry.
WheelDrawing DrawChartWheel(const WheelInput& input, const ProgramTexts& texts);

// Both chart filters cannot be honoured at once; the wheel refuses with this message (three
// lines), titled with the main window's caption.
QString BothChartFiltersRefusal();

// The title of the message that names a line.
QString LineNameTitle();

// What a right-button release at a pixel of the wheel says: the aspect of the line under the
// pointer ("Trine (120°)"), or "" when the pointer is not on an aspect line (background, rim,
// symbols, sector lines, legends). The pixel's colour names the kinds drawn in that colour;
// when several kinds share the colour, the lines passing under the pointer decide, and only
// lines that really cross there are named together ("Trine (120°) or sextile (60°)").
QString NameLineAt(const WheelDrawing& drawing, QPoint pixel, const std::array<int, 8>& colours);

} // namespace orbivex
