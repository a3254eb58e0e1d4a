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
#include "present/PictureInput.h"
#include "session/WheelAppearance.h"

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <array>
#include <optional>
#include <vector>

class QPainter;

namespace orbivex {

class Canvas;

class ProgramTexts;

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
// The legend of the two-set layout starts near the left edge, in the corner the disc leaves
// free, rather than over the disc.
inline constexpr WheelGeometry TwoSetGeometry{9900, 6600, 4950, 3300, 3250,
                                              3200, 3200, 250,  350,  60};

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
    // Text origin (layout units) of every placed symbol, per set 0 or 1 and body.
    std::array<ByBody<std::optional<QPoint>>, 2> glyphOrigins{};
    std::vector<WheelLine> lines; // in drawing order
    // What the window shows when the status is not Drawn: the refusal (titled with the main
    // window's caption, so messageTitle is empty) or the warning with its title.
    QString messageTitle;
    QString message;

    bool drawn() const { return status == WheelStatus::Drawn; }
};

// Draws the wheel of the input's mode: DrawSingleSetChart for world transits and natal
// aspects, DrawTwoSetChart for personal transits and synastry. The modern style's image has
// the input's device pixel ratio; its lines are in device-independent pixels.
WheelDrawing DrawChartWheel(const WheelInput& input, const ProgramTexts& texts);

// The same wheel drawn on a canvas instead of an image (an SVG document), in the image's
// pixels: the canvas should measure texts at 96 dots per inch, as the image does, so that they
// keep their sizes. The drawing's image stays null; its lines and symbol places are those of
// the image.
WheelDrawing DrawChartWheel(const WheelInput& input, const ProgramTexts& texts, Canvas& canvas);

// Both chart filters cannot be honoured at once; the wheel refuses with this message (three
// lines), titled with the main window's caption.
QString BothChartFiltersRefusal();

// The title of the message that names a line.
QString LineNameTitle();

// What a right-button release at a point of the wheel (pixels of the picture) says: every
// aspect line within 4 pixels of it, one a line, with its bodies and its distance from exact
// ("Mars trine Neptune (120°), 1°12' from exact"); "" when no line is that near.
QString NameAspectsAt(const WheelDrawing& drawing, QPointF point);

// The name of one line's aspect as NameAspectsAt gives it.
QString AspectLineName(const WheelAspect& aspect);

// Paints the wheel of the input, in its style and theme, scaled to fit the target rectangle
// of any paint device (a screen image, a vector image, a PDF page, a printer) and centred in
// it. The lines of the drawing are in the painter's coordinates; the classic style also keeps
// its image.
WheelDrawing PaintChartWheel(QPainter& painter, const QRectF& target, const WheelInput& input,
                             const ProgramTexts& texts);

// The size of the wheel's picture in the input's style and mode, in device-independent pixels.
QSize WheelPictureSize(const WheelInput& input);

} // namespace orbivex
