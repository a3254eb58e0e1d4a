#pragma once
// The modern chart wheel: an outer zodiac ring with the sign symbols in their element colours,
// 30° sector lines and 5° and 1° ticks; each body's symbol just inside the ring with its degree
// and minute in the sign, spread apart where bodies crowd, with a leader line to the true
// position; in personal transits and synastry a bi-wheel, the first set on the outer band and
// the second on the inner one; the aspect lines inside an inner circle, ending on it.
//
// The layout is computed first, in pixels of the picture (device-independent), and painted
// afterwards, so that what stands where can be checked without looking at pixels, and the same
// layout paints onto a screen image, a vector image, a PDF page or a printer.

#include "draw/ChartWheel.h"
#include "session/WheelAppearance.h"

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <array>
#include <vector>

class QPainter;

namespace orbivex {

class Canvas;

class ProgramTexts;

// The colours of a theme. Every text and symbol colour keeps a contrast of at least 4.5:1
// against the surface it stands on.
struct ModernTheme {
    QColor background;              // the picture and the disc inside the zodiac ring
    QColor ring;                    // the zodiac ring's fill
    QColor band;                    // the inner band of a bi-wheel
    QColor rule;                    // circles, sector lines, ticks, leader lines
    QColor text;                    // legends, degree labels
    std::array<QColor, 2> sets;     // the symbols of the first and the second set
    std::array<QColor, 4> elements; // fire, earth, air, water
};
const ModernTheme& ModernThemeOf(WheelTheme theme);

// WCAG contrast ratio of two opaque colours (1 to 21).
double ContrastRatio(const QColor& a, const QColor& b);

// The colour an aspect line takes in a theme: the configured colour, darkened on the light
// theme until it stands out from the background (3:1), so that the yellow and cyan chosen for
// the black grid stay visible on white.
QColor ModernLineColour(int colour, WheelTheme theme);

// The size of the modern wheel's picture, in device-independent pixels.
QSize ModernWheelSize(ChartMode mode);

// One text of the layout: its tight ink box, where its baseline starts, its colour and font.
struct WheelText {
    enum class Role { Sign, Body, Degree, Minute, Legend, Centre };
    Role role = Role::Legend;
    QString text;
    QRectF box;
    QPointF baseline;
    QColor colour;
    QFont font;
    int set = 0;                       // a body's symbol: its set
    BodyIndex body = BodyIndex::Earth; // and its body
};

// A body as placed: its symbol's angle on the picture may differ from its longitude where
// bodies crowd; the leader line then joins the true position to the symbol.
struct PlacedBody {
    int set = 0;
    BodyIndex body = BodyIndex::Earth;
    double longitude = 0.0;  // radians
    double shownAngle = 0.0; // radians, where the symbol and its labels stand
    QPointF tick;            // the true position on the band's outer circle
    QPointF leaderEnd;       // where the leader line ends (the tick itself when not moved)
};

struct ModernWheelLayout {
    QSizeF size;
    QPointF centre;
    double outerRadius = 0.0;          // the zodiac ring's outer circle
    double zodiacInner = 0.0;          // its inner circle
    std::array<double, 2> bandOuter{}; // each set's band
    std::array<double, 2> bandInner{};
    double aspectRadius = 0.0; // the circle the aspect lines end on
    bool twoSets = false;
    std::vector<WheelText> texts;
    std::vector<PlacedBody> bodies;
    std::vector<WheelLine> lines;
    // False when the bodies could not all be spread without overlapping (never for up to ten
    // bodies a band at the wheel's sizes).
    bool fits = true;
};

// Lays out the wheel of the input in a picture of the size (pixels). The legends (when the
// input asks for them), the ring labels of a bi-wheel and the input's keepClear boxes stay
// outside the zodiac ring.
ModernWheelLayout LayOutModernWheel(const WheelInput& input, QSizeF size,
                                    const ProgramTexts& texts);

// Paints a layout with its top-left corner at the painter's origin.
void PaintModernWheel(QPainter& painter, const ModernWheelLayout& layout, WheelTheme theme);
void PaintModernWheel(Canvas& canvas, const ModernWheelLayout& layout, WheelTheme theme);

} // namespace orbivex
