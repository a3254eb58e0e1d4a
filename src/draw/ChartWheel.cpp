#include "draw/ChartWheel.h"

#include "core/AngleFormat.h"
#include "draw/Canvas.h"
#include "draw/Fonts.h"
#include "draw/ModernWheel.h"
#include "draw/PictureText.h"
#include "present/Symbols.h"
#include "support/ProgramTexts.h"
#include "support/TextNumbers.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <ranges>

namespace orbivex {
using enum ChartMode;

namespace {

const QString CrLf = QStringLiteral("\r\n");

// A symbol's text origin lies this far left of and above its place on the ring. A line ends
// at the middle of the symbol: 120 layout units right of its origin and, since the stand-in
// symbols stand lower in their line than the symbol font's letters, 160 below it.
constexpr int GlyphOriginOffset = 150;
constexpr QPoint LineEndOffset(120, 160);
// The glyph box is sampled every 10 layout units.
constexpr int SampleStep = 10;
// A symbol moves inwards by 1% per try and gives up below this radius.
constexpr double RadiusStep = 0.99;
constexpr double SmallestRadius = 100.0;
constexpr int SignRadius = 800;
constexpr int SignOriginOffset = 50;
constexpr int LegendLineHeight = 210;

QPointF Pixels(QPointF layoutUnits) {
    return {WheelPixels(layoutUnits.x()), WheelPixels(layoutUnits.y())};
}

// The point at a distance and angle (radians, counter-clockwise from the positive x axis) from
// a centre, in layout units; y grows downwards.
QPointF PolarPoint(double cx, double cy, double radius, double angle) {
    return {cx + radius * std::cos(angle), cy - radius * std::sin(angle)};
}

// Everything one drawing keeps: the picture, the record of what blocks a symbol's place (the
// rim and the symbols placed so far, the sector lines excepted) and the symbols' origins.
class WheelPainter {
  public:
    WheelPainter(const WheelInput& input, const ProgramTexts& texts, WheelDrawing& drawing)
        : input_(input), texts_(texts), drawing_(drawing), geometry_(WheelGeometryOf(input.mode)),
          twoSets_(IsTwoChartMode(input.mode)) {}

    void Draw() {
        drawing_.image = NewPicture(PictureSize(), QImage::Format_RGB32);
        drawing_.image.fill(QColorOf(WheelBackColour));
        QPainter painter(&drawing_.image);
        PainterCanvas canvas(painter);
        Draw(canvas);
    }

    // The same onto another canvas (a vector image, a page); the image stays null.
    void Draw(Canvas& canvas) {
        const QSize size = PictureSize();
        canvas.FillRect(QRectF(QRect(QPoint(), size)), QColorOf(WheelBackColour));
        occupied_ = NewPicture(size, QImage::Format_ARGB32_Premultiplied);
        occupied_.fill(Qt::transparent);

        QPainter blockerPainter(&occupied_);
        PainterCanvas blocker(blockerPainter);
        const QFont glyphFont = ProgramFont(QStringLiteral("Starfont Sans"), 14);
        PictureText glyphs(canvas, glyphFont);
        PictureText glyphBlocks(blocker, glyphFont);

        DrawRim(canvas, blocker);
        ReserveLegendPlaces(blocker);
        if (input_.displayZodiacSectors) {
            DrawZodiacSectors(canvas);
        }
        for (int set = 0; set < (twoSets_ ? 2 : 1); ++set) {
            if (!PlaceSet(set, glyphBlocks)) {
                DrawPlacedGlyphs(canvas, glyphs);
                drawing_.status = WheelStatus::NoRoomForGlyph;
                drawing_.messageTitle = texts_.ProgramText(text::ChartDrawingTitle);
                drawing_.message = texts_.ProgramText(text::NoFreePlaceForSymbol);
                return;
            }
        }
        DrawAspectLines(canvas);
        DrawPlacedGlyphs(canvas, glyphs);
        if (input_.displayZodiacSectors) {
            DrawSignGlyphs(canvas);
        }
        DrawCentreGlyph(glyphs);
        if (input_.legends) {
            DrawLegends(canvas);
        }
    }

  private:
    QSize PictureSize() const {
        return {qRound(WheelPixels(geometry_.width)), qRound(WheelPixels(geometry_.height))};
    }

    void DrawRim(Canvas& canvas, Canvas& blocker) {
        const QPointF centre = Pixels(QPointF(geometry_.cx, geometry_.cy));
        const double radius = WheelPixels(geometry_.rimRadius);
        canvas.SetRenderHint(QPainter::Antialiasing, true);
        canvas.DrawCircle(centre, radius, QPen(Qt::NoPen), QColorOf(WheelDiscColour));
        canvas.DrawCircle(centre, radius, QPen(QColorOf(WheelRimColour), 1.0), QColor());
        blocker.SetRenderHint(QPainter::Antialiasing, true);
        blocker.DrawCircle(centre, radius, QPen(Qt::black, 1.0), QColor());
    }

    // DrawZodiacSectors: twelve lines from the centre, one every 30°, beginning at 0° Aries.
    void DrawZodiacSectors(Canvas& canvas) {
        canvas.SetRenderHint(QPainter::Antialiasing, false);
        const QPen pen(QColorOf(ZodiacColour), 1.0);
        const QPointF centre(geometry_.cx, geometry_.cy);
        for (int k = 0; k < NumZodiacSigns; ++k) {
            const QPointF end = PolarPoint(geometry_.cx, geometry_.cy, geometry_.sectorLength,
                                           DegreesToRadians(30.0 * k));
            canvas.DrawLine(Pixels(centre), Pixels(end), pen);
        }
    }

    // PlaceGlyph: whether the box a symbol needs at this radius is clear of the rim and of
    // the symbols placed before. Sampled every 10 layout units; a sample off the picture counts
    // as blocked, since a symbol must stay on the picture.
    bool PlaceGlyph(double longitude, double radius) const {
        const int x0 = static_cast<int>(std::lround(geometry_.cx + radius * std::cos(longitude)));
        const int y0 = static_cast<int>(std::lround(geometry_.cy - radius * std::sin(longitude)));
        const int width = occupied_.width();
        const int height = occupied_.height();
        for (int i = 0; i <= geometry_.boxWidth; i += SampleStep) {
            const int px = static_cast<int>(std::floor(WheelPixels(x0 + i - GlyphOriginOffset)));
            if (px < 0 || px >= width) {
                return false;
            }
            for (int j = 0; j <= geometry_.boxHeight; j += SampleStep) {
                const int py =
                    static_cast<int>(std::floor(WheelPixels(y0 + j - GlyphOriginOffset)));
                if (py < 0 || py >= height) {
                    return false;
                }
                const auto* line = reinterpret_cast<const QRgb*>(occupied_.constScanLine(py));
                if (qAlpha(line[px]) != 0) {
                    return false;
                }
            }
        }
        return true;
    }

    // Places the symbols of one set, from the highest body number down, each starting at the
    // first radius and moving inwards until its box is free. False when one finds no place.
    bool PlaceSet(int set, PictureText& blocks) {
        const int column = set;
        for (BodyIndex body : BodiesInUse(input_.numBodies) | std::views::reverse) {
            const Position& position = input_.positions[column][body];
            if (!position.Known()) {
                continue;
            }
            const double longitude = position.Longitude();
            double radius = geometry_.firstRadius;
            while (!PlaceGlyph(longitude, radius)) {
                radius *= RadiusStep;
                if (radius < SmallestRadius) {
                    return false;
                }
            }
            const QPointF point = PolarPoint(geometry_.cx, geometry_.cy, radius, longitude);
            const QPoint origin(static_cast<int>(std::lround(point.x() - GlyphOriginOffset)),
                                static_cast<int>(std::lround(point.y() - GlyphOriginOffset)));
            drawing_.glyphOrigins[set][body] = origin;
            blocks.Write(Pixels(origin), BodySymbol(body), Rgb(0, 0, 0));
        }
        return true;
    }

    void DrawAspectLines(Canvas& canvas) {
        canvas.SetRenderHint(QPainter::Antialiasing, false);
        const int secondSet = twoSets_ ? 1 : 0;
        for (const WheelAspect& aspect : input_.aspects) {
            if (!IsAspectKind(aspect.kind) || !IsBody(aspect.body1) || !IsBody(aspect.body2)) {
                continue;
            }
            const int colour = input_.colours[Index(aspect.kind)];
            if (colour == 0 || !AspectShownInChart(aspect.body1, aspect.body2, input_.filters)) {
                continue;
            }
            const auto& from = drawing_.glyphOrigins[0][aspect.body1];
            const auto& to = drawing_.glyphOrigins[secondSet][aspect.body2];
            if (!from || !to) {
                continue; // a body without a position has no symbol and no lines
            }
            WheelLine line{aspect, colour, aspect.bold ? 2 : 1, Pixels(*from + LineEndOffset),
                           Pixels(*to + LineEndOffset)};
            canvas.BeginAspectLine(aspect);
            canvas.DrawLine(line.from, line.to,
                            QPen(QColorOf(colour), line.width, Qt::SolidLine, Qt::FlatCap));
            canvas.EndGroup();
            drawing_.lines.push_back(line);
        }
    }

    // The symbols again, above the lines: the first set white, the second lemon.
    void DrawPlacedGlyphs(Canvas& canvas, PictureText& glyphs) {
        for (int set = 0; set < 2; ++set) {
            const int colour = set == 0 ? FirstSetGlyphColour : SecondSetGlyphColour;
            for (BodyIndex body : AllBodies) {
                if (const auto& origin = drawing_.glyphOrigins[set][body]) {
                    canvas.BeginBodySymbol(set, body, twoSets_);
                    glyphs.Write(Pixels(*origin), BodySymbol(body), colour);
                    canvas.EndGroup();
                }
            }
        }
    }

    // DrawSignGlyphs: the twelve sign symbols in the middle of their sectors, near the centre.
    void DrawSignGlyphs(Canvas& canvas) {
        PictureText signs(canvas, ProgramFont(QStringLiteral("Starfont Sans"), 8));
        for (ZodiacSign sign = 0; sign < NumZodiacSigns; ++sign) {
            const QPointF point = PolarPoint(geometry_.cx, geometry_.cy, SignRadius,
                                             DegreesToRadians(30.0 * sign + 15.0));
            const QPointF origin(point.x() - SignOriginOffset, point.y() - SignOriginOffset);
            signs.Write(Pixels(origin), SignSymbol(sign), SignSymbolColour);
        }
    }

    void DrawCentreGlyph(PictureText& glyphs) {
        const int x = geometry_.width / 2 - 140;
        const int y = twoSets_ ? geometry_.height / 2 - 150 : x - 20;
        glyphs.Write(Pixels(QPointF(x, y)), CentreSymbol(), FirstSetGlyphColour);
    }

    struct Legend {
        QStringList lines;
        int x = 0;
    };

    // Legend 0 in every wheel, and the colour legend of personal transits or synastry.
    std::vector<Legend> Legends() const {
        std::vector<Legend> legends{{{texts_.ProgramText(text::WheelLegendTitle),
                                      texts_.ProgramText(text::WheelLegendFirst),
                                      texts_.ProgramText(text::WheelLegendSecond)},
                                     geometry_.legendX}};
        if (input_.mode == SynastryMode) {
            legends.push_back(
                {{QStringLiteral("White: 1st birthdate"), QStringLiteral("Lemon: 2nd birthdate")},
                 7300});
        } else if (twoSets_) {
            legends.push_back({{QStringLiteral("White: transiting planet"),
                                QStringLiteral("Lemon: natal planet")},
                               7050});
        }
        return legends;
    }

    // Calls write(text writer, top-left corner in pixels, line) for every legend line.
    template <typename Write> void ForEachLegendLine(Canvas& canvas, Write write) const {
        PictureText text(canvas, ProgramFont(QStringLiteral("Arial"), 8.25));
        for (const Legend& legend : Legends()) {
            for (int k = 0; k < legend.lines.size(); ++k) {
                if (!legend.lines[k].isEmpty()) {
                    write(text, Pixels(QPointF(legend.x, LegendLineHeight * k)), legend.lines[k]);
                }
            }
        }
    }

    // The legends are written last and on an opaque background, so their place is kept free
    // of symbols, which would otherwise vanish under them. The place is kept whether or not
    // the legends are shown, so that the saved image has every symbol where the screen has it.
    void ReserveLegendPlaces(Canvas& blocker) const {
        ForEachLegendLine(blocker, [&](PictureText& text, QPointF origin, const QString& line) {
            blocker.FillRect(text.Box(origin, line), QColor(Qt::black));
        });
    }

    // DrawLegend: each line on an opaque background of the picture's colour.
    void DrawLegends(Canvas& canvas) const {
        ForEachLegendLine(canvas, [](PictureText& text, QPointF origin, const QString& line) {
            text.WriteOpaque(origin, line, LegendColour, WheelBackColour);
        });
    }

    const WheelInput& input_;
    const ProgramTexts& texts_;
    WheelDrawing& drawing_;
    const WheelGeometry& geometry_;
    const bool twoSets_;
    QImage occupied_;
};

// The distance of a point from a segment, in pixels.
double DistanceToSegment(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    double t = length2 > 0.0 ? QPointF::dotProduct(p - a, ab) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const QPointF d = p - (a + t * ab);
    return std::sqrt(QPointF::dotProduct(d, d));
}

} // namespace

namespace {

// What a drawing of the modern layout keeps: its lines and where each body stands (in the
// picture's pixels, as the classic style keeps its symbols' places), and whether all fitted.
WheelDrawing ModernDrawing(const ModernWheelLayout& layout, const ProgramTexts& texts) {
    WheelDrawing drawing;
    drawing.lines = layout.lines;
    for (const PlacedBody& placed : layout.bodies) {
        if (placed.set >= 0 && placed.set < 2 && IsBody(placed.body)) {
            drawing.glyphOrigins[static_cast<std::size_t>(placed.set)][placed.body] =
                placed.leaderEnd.toPoint();
        }
    }
    if (!layout.fits) {
        drawing.status = WheelStatus::NoRoomForGlyph;
        drawing.messageTitle = texts.ProgramText(text::ChartDrawingTitle);
        drawing.message = texts.ProgramText(text::NoFreePlaceForSymbol);
    }
    return drawing;
}

WheelDrawing FiltersRefused() {
    WheelDrawing drawing;
    drawing.status = WheelStatus::FiltersRefused;
    drawing.message = BothChartFiltersRefusal();
    return drawing;
}

} // namespace

const WheelGeometry& WheelGeometryOf(ChartMode mode) {
    return IsTwoChartMode(mode) ? TwoSetGeometry : SingleSetGeometry;
}

QString BothChartFiltersRefusal() {
    return QStringLiteral("'Show only Earth aspects in chart' and") + CrLf +
           QStringLiteral("'Show only outer planet aspects in chart'") + CrLf +
           QStringLiteral("cannot both be checked in the Configuration panel.");
}

WheelDrawing DrawChartWheel(const WheelInput& input, const ProgramTexts& texts) {
    if (input.style != WheelStyle::Modern) {
        if (input.filters.showOnlyEarthAspects && input.filters.showOnlyOuterPlanetAspects) {
            return FiltersRefused();
        }
        WheelDrawing drawing;
        WheelPainter(input, texts, drawing).Draw();
        return drawing;
    }
    const QSize size = WheelPictureSize(input);
    const double ratio = std::clamp(input.devicePixelRatio, 1.0, 16.0);
    QImage image = NewPicture(QSize(qRound(size.width() * ratio), qRound(size.height() * ratio)),
                              QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(ModernThemeOf(input.theme).background);
    QPainter painter(&image);
    WheelDrawing drawing = PaintChartWheel(painter, QRectF(QPointF(0, 0), size), input, texts);
    painter.end();
    if (drawing.status != WheelStatus::FiltersRefused) {
        drawing.image = image;
    }
    return drawing;
}

QSize WheelPictureSize(const WheelInput& input) {
    if (input.style == WheelStyle::Modern) {
        return ModernWheelSize(input.mode);
    }
    const WheelGeometry& geometry = WheelGeometryOf(input.mode);
    return {qRound(WheelPixels(geometry.width)), qRound(WheelPixels(geometry.height))};
}

WheelDrawing PaintChartWheel(QPainter& painter, const QRectF& target, const WheelInput& input,
                             const ProgramTexts& texts) {
    if (input.filters.showOnlyEarthAspects && input.filters.showOnlyOuterPlanetAspects) {
        return FiltersRefused();
    }
    // The picture's own size, scaled uniformly into the target and centred there.
    const QSizeF size = WheelPictureSize(input);
    const double scale = std::min(target.width() / size.width(), target.height() / size.height());
    const QPointF offset = target.center() - QPointF(size.width(), size.height()) * scale / 2.0;
    const auto toTarget = [&](QPointF p) { return offset + p * scale; };
    WheelDrawing drawing;
    if (input.style == WheelStyle::Modern) {
        const ModernWheelLayout layout = LayOutModernWheel(input, size, texts);
        painter.save();
        painter.translate(offset);
        painter.scale(scale, scale);
        PaintModernWheel(painter, layout, input.theme);
        painter.restore();
        drawing = ModernDrawing(layout, texts);
    } else {
        drawing = DrawChartWheel(input, texts);
        if (!drawing.image.isNull()) {
            painter.save();
            painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
            painter.drawImage(QRectF(offset, size * scale), drawing.image);
            painter.restore();
        }
    }
    for (WheelLine& line : drawing.lines) {
        line.from = toTarget(line.from);
        line.to = toTarget(line.to);
    }
    return drawing;
}

WheelDrawing DrawChartWheel(const WheelInput& input, const ProgramTexts& texts, Canvas& canvas) {
    if (input.filters.showOnlyEarthAspects && input.filters.showOnlyOuterPlanetAspects) {
        return FiltersRefused();
    }
    if (input.style == WheelStyle::Modern) {
        const ModernWheelLayout layout = LayOutModernWheel(input, WheelPictureSize(input), texts);
        PaintModernWheel(canvas, layout, input.theme);
        return ModernDrawing(layout, texts);
    }
    WheelDrawing drawing;
    canvas.Save();
    WheelPainter(input, texts, drawing).Draw(canvas);
    canvas.Restore();
    return drawing;
}

QString LineNameTitle() {
    return QStringLiteral("Aspect line");
}

QString AspectLineName(const WheelAspect& aspect) {
    if (!IsAspectKind(aspect.kind) || !IsBody(aspect.body1) || !IsBody(aspect.body2)) {
        return {};
    }
    const AspectKindRecord& kind = AspectKinds[Index(aspect.kind)];
    return BodyName(aspect.body1) + QLatin1Char(' ') + QString::fromUtf8(kind.shortVerb) +
           QLatin1Char(' ') + BodyName(aspect.body2) + QStringLiteral(" (") +
           QString::number(kind.angleDegrees, 'f', 0) + QChar(0x00B0) + QStringLiteral("), ") +
           FormatDegreesMinutes(std::abs(aspect.deviation), false, false, false, true) +
           QStringLiteral(" from exact");
}

QString NameAspectsAt(const WheelDrawing& drawing, QPointF point) {
    // A line counts within 4 pixels of its edge, so that a thin line is easy to hit.
    constexpr double Reach = 4.0;
    QStringList names;
    for (const WheelLine& line : drawing.lines) {
        if (DistanceToSegment(point, line.from, line.to) <= line.width / 2.0 + Reach) {
            const QString name = AspectLineName(line.aspect);
            if (!name.isEmpty() && !names.contains(name)) {
                names.append(name);
            }
        }
    }
    return names.join(QLatin1Char('\n'));
}

} // namespace orbivex
