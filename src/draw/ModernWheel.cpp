#include "draw/ModernWheel.h"

#include "draw/Canvas.h"
#include "draw/Fonts.h"
#include "present/Symbols.h"
#include "support/ProgramTexts.h"
#include "support/TextNumbers.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace orbivex {
using enum BodyIndex;
using enum ChartMode;

namespace {

constexpr double Margin = 4.0;      // between the picture's edge or a legend and the ring
constexpr double LeaderSpace = 9.0; // from a band's outer circle to its symbols' boxes
constexpr double TickLength = 4.0;  // the mark of a body's true position
constexpr double LabelGap = 1.5;    // between the boxes stacked on one ray
constexpr double BandGap = 5.0;     // below a band's innermost labels

const ModernTheme LightTheme{
    QColor(255, 255, 255),
    QColor(243, 240, 232),
    QColor(246, 246, 250),
    QColor(107, 107, 120),
    QColor(28, 28, 40),
    {QColor(28, 28, 40), QColor(122, 46, 142)},
    {QColor(176, 42, 30), QColor(47, 107, 34), QColor(122, 90, 0), QColor(30, 79, 156)},
};

const ModernTheme DarkTheme{
    QColor(20, 22, 30),
    QColor(30, 34, 48),
    QColor(26, 29, 40),
    QColor(138, 144, 166),
    QColor(236, 238, 244),
    {QColor(236, 238, 244), QColor(242, 193, 78)},
    {QColor(255, 138, 122), QColor(155, 214, 122), QColor(245, 215, 110), QColor(124, 192, 255)},
};

double Luminance(const QColor& colour) {
    const auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

QPointF Polar(QPointF centre, double radius, double angle) {
    return {centre.x() + radius * std::cos(angle), centre.y() - radius * std::sin(angle)};
}

double Diagonal(const QRectF& box) {
    return std::hypot(box.width(), box.height());
}

// The distance from a point to the nearest point of a box (0 inside it).
double DistanceToBox(QPointF point, const QRectF& box) {
    const double dx = std::max({box.left() - point.x(), 0.0, point.x() - box.right()});
    const double dy = std::max({box.top() - point.y(), 0.0, point.y() - box.bottom()});
    return std::hypot(dx, dy);
}

QFont PixelFont(const QString& family, int pixels, bool bold = false) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// The degree and the minute of a longitude within its sign ("12°", "34'"), the minutes rounded
// but never up into the next sign, which the symbol's place would contradict.
std::pair<QString, QString> DegreeAndMinute(double longitude) {
    const double degrees = RadiansToDegrees(longitude);
    const double inSign = degrees - 30.0 * std::floor(degrees / 30.0);
    const long minutes = std::min(std::lround(inSign * 60.0), 30L * 60L - 1L);
    return {QString::number(minutes / 60) + QChar(0x00B0),
            QString::number(minutes % 60).rightJustified(2, QLatin1Char('0')) + QLatin1Char('\'')};
}

// Spreads angles (radians, ascending in [0, 2π)) so that neighbours stand at least `separation`
// apart: crowded neighbours form a cluster centred on the mean of its members' angles, and
// clusters that meet merge, until none overlap. The result is in the order of the input.
std::vector<double> SpreadAngles(const std::vector<double>& angles, double separation, bool& fits) {
    const std::size_t n = angles.size();
    if (n == 0) {
        return {};
    }
    if (static_cast<double>(n) * separation > FullCircle) {
        fits = false;
        separation = FullCircle / static_cast<double>(n);
    }
    // Unwrap the circle at its largest gap, so that a cluster never straddles the cut.
    std::size_t start = 0;
    double largest = -1.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double next = i + 1 < n ? angles[i + 1] : angles[0] + FullCircle;
        if (next - angles[i] > largest) {
            largest = next - angles[i];
            start = (i + 1) % n;
        }
    }
    std::vector<double> unwrapped(n);
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t i = (start + k) % n;
        unwrapped[k] = angles[i] + (i < start ? FullCircle : 0.0);
    }
    struct Cluster {
        std::size_t first;
        std::size_t count;
        double centre;
        double Begin(double sep) const { return centre - (count - 1) * sep / 2.0; }
        double End(double sep) const { return centre + (count - 1) * sep / 2.0; }
    };
    const auto mean = [&](std::size_t first, std::size_t count) {
        return std::accumulate(unwrapped.begin() + static_cast<std::ptrdiff_t>(first),
                               unwrapped.begin() + static_cast<std::ptrdiff_t>(first + count),
                               0.0) /
               static_cast<double>(count);
    };
    std::vector<Cluster> clusters;
    for (std::size_t k = 0; k < n; ++k) {
        clusters.push_back({k, 1, unwrapped[k]});
    }
    constexpr double Slack = 1e-9;
    bool merged = true;
    while (merged && clusters.size() > 1) {
        merged = false;
        for (std::size_t i = 0; i + 1 < clusters.size(); ++i) {
            if (clusters[i + 1].Begin(separation) - clusters[i].End(separation) <
                separation - Slack) {
                Cluster& a = clusters[i];
                a.count += clusters[i + 1].count;
                a.centre = mean(a.first, a.count);
                clusters.erase(clusters.begin() + static_cast<std::ptrdiff_t>(i) + 1);
                merged = true;
                break;
            }
        }
        if (!merged && clusters.size() > 1 &&
            clusters.front().Begin(separation) + FullCircle - clusters.back().End(separation) <
                separation - Slack) {
            clusters = {{0, n, mean(0, n)}};
        }
    }
    std::vector<double> spread(n);
    for (const Cluster& cluster : clusters) {
        for (std::size_t m = 0; m < cluster.count; ++m) {
            const std::size_t k = cluster.first + m;
            const double angle = cluster.Begin(separation) + static_cast<double>(m) * separation;
            spread[(start + k) % n] = angle - FullCircle * std::floor(angle / FullCircle);
        }
    }
    return spread;
}

class Layout {
  public:
    Layout(const WheelInput& input, QSizeF size, const ProgramTexts& texts)
        : input_(input), texts_(texts), theme_(ModernThemeOf(input.theme)),
          twoSets_(IsTwoChartMode(input.mode)) {
        layout_.size = size;
        layout_.centre = QPointF(size.width() / 2.0, size.height() / 2.0);
        layout_.twoSets = twoSets_;
    }

    ModernWheelLayout Run() {
        std::vector<QRectF> clear = input_.keepClear;
        PlaceLegends(clear);
        PlaceRings(clear);
        PlaceSigns();
        const int sets = twoSets_ ? 2 : 1;
        for (int set = 0; set < sets; ++set) {
            PlaceSet(set);
            if (set + 1 < sets) {
                layout_.bandOuter[set + 1] = layout_.bandInner[set];
            }
        }
        layout_.aspectRadius = layout_.bandInner[sets - 1];
        PlaceCentre();
        PlaceLines();
        return std::move(layout_);
    }

  private:
    int GlyphPixels() const { return twoSets_ ? 14 : 17; }
    int LabelPixels() const { return twoSets_ ? 10 : 11; }

    // A text centred on a point.
    WheelText Centred(WheelText::Role role, const QString& text, const QFont& font, QPointF centre,
                      const QColor& colour) const {
        const QRectF tight = QFontMetricsF(font).tightBoundingRect(text);
        const QPointF baseline = centre - tight.center();
        return {role, text, tight.translated(baseline), baseline, colour, font};
    }

    // A text with the top-left corner of its line at a point.
    WheelText AtTopLeft(const QString& text, const QFont& font, QPointF topLeft,
                        const QColor& colour) const {
        const QFontMetricsF metrics(font);
        const QPointF baseline = topLeft + QPointF(0.0, metrics.ascent());
        return {WheelText::Role::Legend,
                text,
                metrics.tightBoundingRect(text).translated(baseline),
                baseline,
                colour,
                font};
    }

    // The on-screen legend in the top-left corner and a bi-wheel's ring labels in the top-right
    // corner; their line boxes join what the ring keeps clear of.
    void PlaceLegends(std::vector<QRectF>& clear) {
        const QFont font = PixelFont(InstalledFontFamily(QStringLiteral("Arial")), 12);
        const QFontMetricsF metrics(font);
        const double lineHeight = metrics.height();
        if (input_.legends) {
            double y = Margin;
            for (const int number : {104, 105, 106}) {
                const QString line = texts_.ProgramText(number);
                if (!line.isEmpty()) {
                    layout_.texts.push_back(AtTopLeft(line, font, QPointF(Margin, y), theme_.text));
                    clear.push_back(QRectF(Margin, y, metrics.horizontalAdvance(line), lineHeight));
                }
                y += lineHeight;
            }
        }
        if (twoSets_) {
            const bool synastry = input_.mode == SynastryMode;
            const std::array<QString, 2> lines{
                texts_.ProgramText(synastry ? text::OuterRingFirstBirthdate
                                            : text::OuterRingTransiting),
                texts_.ProgramText(synastry ? text::InnerRingSecondBirthdate
                                            : text::InnerRingNatal)};
            double y = Margin;
            for (int set = 0; set < 2; ++set) {
                if (lines[set].isEmpty()) {
                    continue;
                }
                const double width = metrics.horizontalAdvance(lines[set]);
                const QPointF topLeft(layout_.size.width() - Margin - width, y);
                layout_.texts.push_back(AtTopLeft(lines[set], font, topLeft, theme_.sets[set]));
                clear.push_back(QRectF(topLeft, QSizeF(width, lineHeight)));
                y += lineHeight;
            }
        }
    }

    // The outer radius: as large as the picture allows, short of every box kept clear, but
    // never below four fifths of that: the bands and the aspect circle need the room, and a
    // composed text that reaches further in is written with a halo over the ring.
    void PlaceRings(const std::vector<QRectF>& clear) {
        const double largest = std::min(layout_.size.width(), layout_.size.height()) / 2.0 - Margin;
        double radius = largest;
        for (const QRectF& box : clear) {
            radius = std::min(radius, DistanceToBox(layout_.centre, box) - Margin);
        }
        layout_.outerRadius = std::max(radius, largest * 0.8);
        // A bi-wheel gives its two bands more of the room.
        const double ringWidth =
            std::clamp(layout_.outerRadius * (twoSets_ ? 0.12 : 0.15), 22.0, 40.0);
        layout_.zodiacInner = layout_.outerRadius - ringWidth;
        layout_.bandOuter[0] = layout_.zodiacInner;
    }

    // The sign symbols, in their element's colour, in the outer part of each sector so that
    // the 5° ticks below them stay clear.
    void PlaceSigns() {
        const double ringWidth = layout_.outerRadius - layout_.zodiacInner;
        const QFont font =
            PixelFont(SymbolFontFamily(), static_cast<int>(std::lround(ringWidth * 0.6)));
        const double radius = layout_.outerRadius - ringWidth * 0.42;
        for (ZodiacSign sign = 0; sign < NumZodiacSigns; ++sign) {
            const QPointF centre =
                Polar(layout_.centre, radius, DegreesToRadians(30.0 * sign + 15.0));
            layout_.texts.push_back(Centred(WheelText::Role::Sign, SignSymbol(sign), font, centre,
                                            theme_.elements[static_cast<std::size_t>(sign % 4)]));
        }
    }

    // One set's band: each symbol on a ray at its (spread) angle, its degree and minute below
    // it on the same ray. Boxes on one ray stand their half diagonals apart, and neighbouring
    // rays are spread so that the chord between them at the innermost box is at least the
    // largest diagonal: no two boxes can meet.
    void PlaceSet(int set) {
        const QFont glyphFont = PixelFont(SymbolFontFamily(), GlyphPixels());
        const QFont labelFont =
            PixelFont(InstalledFontFamily(QStringLiteral("Arial")), LabelPixels());
        const QFontMetricsF glyphMetrics(glyphFont);
        const QFontMetricsF labelMetrics(labelFont);
        struct Entry {
            BodyIndex body;
            double longitude;
        };
        std::vector<Entry> entries;
        double glyphDiagonal = 0.0;
        for (BodyIndex body : BodiesInUse(input_.numBodies)) {
            const Position& position = input_.positions[static_cast<std::size_t>(set)][body];
            if (!position.Known()) {
                continue;
            }
            entries.push_back({body, position.Longitude()});
            glyphDiagonal =
                std::max(glyphDiagonal, Diagonal(glyphMetrics.tightBoundingRect(BodySymbol(body))));
        }
        if (glyphDiagonal == 0.0) {
            glyphDiagonal = Diagonal(glyphMetrics.tightBoundingRect(BodySymbol(Jupiter)));
        }
        // The widest labels any body can have.
        const double labelDiagonal =
            std::max(Diagonal(labelMetrics.tightBoundingRect(QStringLiteral("28°"))),
                     Diagonal(labelMetrics.tightBoundingRect(QStringLiteral("00'"))));
        const double outer = layout_.bandOuter[static_cast<std::size_t>(set)];
        const double glyphRadius = outer - LeaderSpace - glyphDiagonal / 2.0;
        const double degreeRadius = glyphRadius - (glyphDiagonal + labelDiagonal) / 2.0 - LabelGap;
        const double minuteRadius = degreeRadius - labelDiagonal - LabelGap;
        // The last band keeps a wider gap to the aspect circle, whose lines end there.
        const bool last = set == (twoSets_ ? 1 : 0);
        layout_.bandInner[static_cast<std::size_t>(set)] =
            minuteRadius - labelDiagonal / 2.0 - (last ? BandGap : LabelGap);

        std::sort(entries.begin(), entries.end(),
                  [](const Entry& a, const Entry& b) { return a.longitude < b.longitude; });
        std::vector<double> angles;
        for (const Entry& entry : entries) {
            angles.push_back(entry.longitude);
        }
        const double largest = std::max(glyphDiagonal, labelDiagonal) + 1.0;
        const double separation = 2.0 * std::asin(std::min(1.0, largest / (2.0 * minuteRadius)));
        const std::vector<double> shown = SpreadAngles(angles, separation, layout_.fits);

        const QColor& colour = theme_.sets[static_cast<std::size_t>(set)];
        for (std::size_t k = 0; k < entries.size(); ++k) {
            const double angle = shown[k];
            const auto [degree, minute] = DegreeAndMinute(entries[k].longitude);
            layout_.texts.push_back(Centred(WheelText::Role::Body, BodySymbol(entries[k].body),
                                            glyphFont, Polar(layout_.centre, glyphRadius, angle),
                                            colour));
            layout_.texts.back().set = set;
            layout_.texts.back().body = entries[k].body;
            layout_.texts.push_back(Centred(WheelText::Role::Degree, degree, labelFont,
                                            Polar(layout_.centre, degreeRadius, angle),
                                            theme_.text));
            layout_.texts.push_back(Centred(WheelText::Role::Minute, minute, labelFont,
                                            Polar(layout_.centre, minuteRadius, angle),
                                            theme_.text));
            PlacedBody placed;
            placed.set = set;
            placed.body = entries[k].body;
            placed.longitude = entries[k].longitude;
            placed.shownAngle = angle;
            placed.tick = Polar(layout_.centre, outer, entries[k].longitude);
            placed.leaderEnd =
                std::abs(angle - entries[k].longitude) < 1e-6
                    ? placed.tick
                    : Polar(layout_.centre, glyphRadius + glyphDiagonal / 2.0 + 1.0, angle);
            layout_.bodies.push_back(placed);
        }
    }

    void PlaceCentre() {
        const QFont font = PixelFont(SymbolFontFamily(), twoSets_ ? 12 : 14);
        layout_.texts.push_back(
            Centred(WheelText::Role::Centre, CentreSymbol(), font, layout_.centre, theme_.text));
    }

    // A line for every aspect the colours and filters let through, from one body's longitude
    // on the inner circle to the other's.
    void PlaceLines() {
        const std::size_t second = twoSets_ ? 1 : 0;
        for (const WheelAspect& aspect : input_.aspects) {
            if (!IsAspectKind(aspect.kind) || !IsBody(aspect.body1) || !IsBody(aspect.body2)) {
                continue;
            }
            const int colour = input_.colours[static_cast<std::size_t>(aspect.kind)];
            if (colour == 0 || !AspectShownInChart(aspect.body1, aspect.body2, input_.filters)) {
                continue;
            }
            const Position& from = input_.positions[0][aspect.body1];
            const Position& to = input_.positions[second][aspect.body2];
            if (!from.Known() || !to.Known() || BodyNumber(aspect.body1) > input_.numBodies ||
                BodyNumber(aspect.body2) > input_.numBodies) {
                continue;
            }
            layout_.lines.push_back({aspect, colour, aspect.bold ? 3 : 2,
                                     Polar(layout_.centre, layout_.aspectRadius, from.Longitude()),
                                     Polar(layout_.centre, layout_.aspectRadius, to.Longitude())});
        }
    }

    const WheelInput& input_;
    const ProgramTexts& texts_;
    const ModernTheme& theme_;
    const bool twoSets_;
    ModernWheelLayout layout_;
};

} // namespace

const ModernTheme& ModernThemeOf(WheelTheme theme) {
    return theme == WheelTheme::Dark ? DarkTheme : LightTheme;
}

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ModernLineColour(int colour, WheelTheme theme) {
    QColor line(RedOf(colour), GreenOf(colour), BlueOf(colour));
    if (theme == WheelTheme::Light) {
        const QColor& background = ModernThemeOf(theme).background;
        for (int step = 0; step < 20 && ContrastRatio(line, background) < 3.0; ++step) {
            line = line.darker(115);
        }
    }
    return line;
}

QSize ModernWheelSize(ChartMode mode) {
    return IsTwoChartMode(mode) ? QSize(660, 440) : QSize(440, 440);
}

ModernWheelLayout LayOutModernWheel(const WheelInput& input, QSizeF size,
                                    const ProgramTexts& texts) {
    return Layout(input, size, texts).Run();
}

void PaintModernWheel(QPainter& painter, const ModernWheelLayout& layout, WheelTheme theme) {
    PainterCanvas canvas(painter);
    PaintModernWheel(canvas, layout, theme);
}

void PaintModernWheel(Canvas& canvas, const ModernWheelLayout& layout, WheelTheme theme) {
    const ModernTheme& colours = ModernThemeOf(theme);
    const QPointF centre = layout.centre;
    canvas.Save();
    canvas.SetRenderHint(QPainter::Antialiasing, true);
    canvas.SetRenderHint(QPainter::TextAntialiasing, true);
    canvas.FillRect(QRectF(QPointF(0, 0), layout.size), colours.background);
    canvas.FillAnnulus(centre, layout.outerRadius, layout.zodiacInner, colours.ring);
    if (layout.twoSets) {
        canvas.FillAnnulus(centre, layout.bandOuter[1], layout.bandInner[1], colours.band);
    }

    // Circles, sector lines and ticks.
    std::vector<double> circles{layout.outerRadius, layout.zodiacInner, layout.aspectRadius};
    if (layout.twoSets) {
        circles.push_back(layout.bandOuter[1]);
    }
    for (const double radius : circles) {
        canvas.DrawCircle(centre, radius, QPen(colours.rule, 1.2), QColor());
    }
    const double ringWidth = layout.outerRadius - layout.zodiacInner;
    for (int degree = 0; degree < 360; ++degree) {
        const double angle = DegreesToRadians(degree);
        double length = ringWidth * 0.1;
        double width = 0.8;
        if (degree % 30 == 0) {
            length = ringWidth;
            width = 1.2;
        } else if (degree % 5 == 0) {
            length = ringWidth * 0.22;
            width = 1.0;
        }
        canvas.DrawLine(Polar(centre, layout.zodiacInner, angle),
                        Polar(centre, layout.zodiacInner + length, angle),
                        QPen(colours.rule, width, Qt::SolidLine, Qt::FlatCap));
    }

    // The aspect lines, under the symbols.
    for (const WheelLine& line : layout.lines) {
        canvas.BeginAspectLine(line.aspect);
        canvas.DrawLine(
            line.from, line.to,
            QPen(ModernLineColour(line.colour, theme), line.width, Qt::SolidLine, Qt::RoundCap));
        canvas.EndGroup();
    }

    // The true positions and the leader lines of the symbols moved aside.
    const QPen leader(colours.rule, 1.0, Qt::SolidLine, Qt::FlatCap);
    for (const PlacedBody& body : layout.bodies) {
        const double outer = layout.bandOuter[static_cast<std::size_t>(body.set)];
        const QPointF inner = Polar(centre, outer - TickLength, body.longitude);
        canvas.DrawLine(body.tick, inner, leader);
        if (body.leaderEnd != body.tick) {
            canvas.DrawLine(inner, body.leaderEnd, leader);
        }
    }

    for (const WheelText& text : layout.texts) {
        const bool symbol = text.role == WheelText::Role::Body;
        if (symbol) {
            canvas.BeginBodySymbol(text.set, text.body, layout.twoSets);
        }
        canvas.DrawText(text.baseline, text.text, text.font, text.colour);
        if (symbol) {
            canvas.EndGroup();
        }
    }
    canvas.Restore();
}

} // namespace orbivex
