#include "draw/ModernWheel.h"

#include "draw/ImageExport.h"
#include "session/Configuration.h"
#include "support/ProgramTexts.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>

namespace orbivex {

using enum BodyIndex;
using enum AspectKind;
using enum ChartMode;
namespace {

ProgramTexts Texts() {
    return ProgramTexts::FromEntries({
        {104, QStringLiteral("Heliocentric chart")},
        {105, QStringLiteral("Right-click on an aspect line")},
        {106, QStringLiteral("to see which aspect it is.")},
        {540, QStringLiteral("Outer ring: transiting planets")},
        {541, QStringLiteral("Inner ring: natal planets")},
        {542, QStringLiteral("Outer ring: 1st birthdate")},
        {543, QStringLiteral("Inner ring: 2nd birthdate")},
    });
}

struct Case {
    const char* name;
    ChartMode mode;
    std::array<double, 10> first;  // degrees per body 1..9; index 0 unused
    std::array<double, 10> second; // the second set (two-chart modes)
    bool withExportTexts = false;
};

// Every aspect between consecutive bodies of the first set and, in a bi-wheel, against the
// second set, so that lines exist wherever bodies crowd.
WheelInput InputOf(const Case& c, WheelTheme theme = WheelTheme::Light) {
    WheelInput input;
    input.mode = c.mode;
    input.style = WheelStyle::Modern;
    input.theme = theme;
    input.colours = ConfigurationSettings().colours;
    for (BodyIndex body : AllBodies) {
        input.positions[0][body] = Position(DegreesToRadians(c.first[Index(body)]));
        if (IsTwoChartMode(c.mode)) {
            input.positions[1][body] = Position(DegreesToRadians(c.second[Index(body)]));
        }
    }
    for (BodyIndex body : BodyRange(Earth, Neptune)) {
        const BodyIndex next = AllBodies[Index(body)];
        input.aspects.push_back({body, IsTwoChartMode(c.mode) ? body : next, Conjunction,
                                 BodyNumber(body) % 2 == 0, 0.01});
    }
    if (c.withExportTexts) {
        input.legends = false;
        ExportInput composition;
        composition.wheel = input;
        for (const ExportText& text :
             ExportTexts(composition, Texts(), ModernWheelSize(input.mode))) {
            input.keepClear.push_back(text.box);
        }
    }
    return input;
}

const Case Cases[] = {
    {"six-stellium", WorldTransits, {0, 100, 101, 101.5, 102, 103, 104.5, 250, 300, 20}, {}},
    {"stellium across 0 Aries", NatalFirst, {0, 357, 358, 359, 0.5, 1, 2, 3, 180, 90}, {}},
    {"spread out", WorldTransits, {0, 0, 40, 80, 120, 160, 200, 240, 280, 320}, {}},
    {"bi-wheel, both sets conjunct",
     PersonalFirst,
     {0, 10, 11, 12, 13, 14, 15, 16, 17, 18},
     {0, 10.5, 11.5, 12.5, 13.5, 14.5, 15.5, 16.5, 17.5, 18.5}},
    {"synastry for export",
     SynastryMode,
     {0, 200, 201, 202, 90, 91, 92, 300, 301, 302},
     {0, 200, 201, 202, 90, 91, 92, 300, 301, 302},
     true},
    {"world transits for export",
     WorldTransits,
     {0, 45, 46, 47, 48, 225, 226, 227, 228, 229},
     {},
     true},
};

double Radius(const ModernWheelLayout& layout, QPointF p) {
    return std::hypot(p.x() - layout.centre.x(), p.y() - layout.centre.y());
}

// The farthest and nearest points of a box from the centre.
std::pair<double, double> RadialExtent(const ModernWheelLayout& layout, const QRectF& box) {
    double far = 0.0;
    for (const QPointF corner :
         {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()}) {
        far = std::max(far, Radius(layout, corner));
    }
    const QPointF nearest(std::clamp(layout.centre.x(), box.left(), box.right()),
                          std::clamp(layout.centre.y(), box.top(), box.bottom()));
    return {Radius(layout, nearest), far};
}

TEST(ModernWheel, NothingOverlapsAndLinesEndOnTheInnerCircle) {
    const ProgramTexts texts = Texts();
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.name);
        const WheelInput input = InputOf(c);
        const ModernWheelLayout layout = LayOutModernWheel(input, ModernWheelSize(c.mode), texts);
        ASSERT_TRUE(layout.fits);
        const int sets = IsTwoChartMode(c.mode) ? 2 : 1;
        EXPECT_EQ(layout.bodies.size(), static_cast<std::size_t>(MaxBodies * sets));

        const QRectF picture(QPointF(0, 0), layout.size);
        for (std::size_t i = 0; i < layout.texts.size(); ++i) {
            const WheelText& a = layout.texts[i];
            EXPECT_TRUE(picture.contains(a.box)) << a.text.toStdString();
            for (std::size_t j = i + 1; j < layout.texts.size(); ++j) {
                EXPECT_FALSE(a.box.intersects(layout.texts[j].box))
                    << a.text.toStdString() << " meets " << layout.texts[j].text.toStdString();
            }
            const auto [nearest, farthest] = RadialExtent(layout, a.box);
            switch (a.role) {
            case WheelText::Role::Legend:
                EXPECT_GT(nearest, layout.outerRadius) << a.text.toStdString();
                break;
            case WheelText::Role::Sign:
                EXPECT_GT(nearest, layout.zodiacInner);
                EXPECT_LT(farthest, layout.outerRadius);
                break;
            case WheelText::Role::Body:
            case WheelText::Role::Degree:
            case WheelText::Role::Minute:
                // Inside the bands, clear of the ring and of the aspect circle.
                EXPECT_LT(farthest, layout.zodiacInner) << a.text.toStdString();
                EXPECT_GT(nearest, layout.aspectRadius) << a.text.toStdString();
                break;
            case WheelText::Role::Centre:
                break;
            }
        }
        // Composed texts push the ring in, down to four fifths of its full size.
        const double full = std::min(layout.size.width(), layout.size.height()) / 2.0 - 4.0;
        EXPECT_GE(layout.outerRadius, full * 0.8 - 1e-9);
        EXPECT_GT(layout.aspectRadius, 0.2 * layout.outerRadius);
        // A body far from every other keeps its longitude; a crowded one stays near it.
        for (const PlacedBody& body : layout.bodies) {
            EXPECT_LT(std::abs(std::remainder(body.shownAngle - body.longitude, FullCircle)),
                      DegreesToRadians(90.0));
        }
        if (std::string(c.name) == "spread out") {
            for (const PlacedBody& body : layout.bodies) {
                EXPECT_DOUBLE_EQ(body.shownAngle, body.longitude);
            }
        }

        ASSERT_EQ(layout.lines.size(), input.aspects.size());
        for (const WheelLine& line : layout.lines) {
            EXPECT_NEAR(Radius(layout, line.from), layout.aspectRadius, 1e-9);
            EXPECT_NEAR(Radius(layout, line.to), layout.aspectRadius, 1e-9);
            EXPECT_GE(line.width, 2);
        }
    }
}

// Each text's colour against what the drawn image shows around it: the background is the
// colour most of the box's outer corners show, the text's colour the pixel inside that stands
// out most from it.
TEST(ModernWheel, EveryTextAndSymbolReadsOnBothThemes) {
    const ProgramTexts texts = Texts();
    for (const WheelTheme theme : {WheelTheme::Light, WheelTheme::Dark}) {
        for (const Case& c : {Cases[0], Cases[3]}) {
            SCOPED_TRACE(c.name);
            const WheelInput input = InputOf(c, theme);
            const WheelDrawing drawing = DrawChartWheel(input, texts);
            const ModernWheelLayout layout =
                LayOutModernWheel(input, ModernWheelSize(c.mode), texts);
            ASSERT_EQ(drawing.image.deviceIndependentSize(), layout.size);
            const QImage& image = drawing.image;
            for (const WheelText& text : layout.texts) {
                const QRect box = text.box.toAlignedRect();
                std::map<QRgb, int> corners;
                for (const QPoint p :
                     {box.topLeft() + QPoint(-2, -2), box.topRight() + QPoint(2, -2),
                      box.bottomLeft() + QPoint(-2, 2), box.bottomRight() + QPoint(2, 2)}) {
                    ++corners[image.pixel(p)];
                }
                const QColor background(
                    std::max_element(corners.begin(), corners.end(), [](auto a, auto b) {
                        return a.second < b.second;
                    })->first);
                double best = 1.0;
                for (int y = box.top(); y <= box.bottom(); ++y) {
                    for (int x = box.left(); x <= box.right(); ++x) {
                        best = std::max(best, ContrastRatio(QColor(image.pixel(x, y)), background));
                    }
                }
                EXPECT_GE(best, 4.5)
                    << text.text.toStdString() << " theme " << static_cast<int>(theme);
            }
        }
    }
}

TEST(ModernWheel, DrawsAtTheDevicePixelRatioAndClassicStaysAsItWas) {
    const ProgramTexts texts = Texts();
    WheelInput input = InputOf(Cases[0]);
    input.devicePixelRatio = 2.0;
    const WheelDrawing sharp = DrawChartWheel(input, texts);
    EXPECT_EQ(sharp.image.size(), ModernWheelSize(input.mode) * 2);
    EXPECT_EQ(sharp.image.deviceIndependentSize(), QSizeF(ModernWheelSize(input.mode)));
    // The lines are where the layout puts them, in device-independent pixels.
    input.devicePixelRatio = 1.0;
    EXPECT_EQ(sharp.lines.size(), DrawChartWheel(input, texts).lines.size());

    // The classic style ignores the ratio and the theme.
    input.style = WheelStyle::Classic;
    const QImage classic = DrawChartWheel(input, texts).image;
    input.devicePixelRatio = 2.0;
    input.theme = WheelTheme::Dark;
    EXPECT_EQ(DrawChartWheel(input, texts).image, classic);
}

TEST(ModernWheel, PaintsIntoAnyTargetScaledAndCentred) {
    const ProgramTexts texts = Texts();
    const WheelInput input = InputOf(Cases[3], WheelTheme::Dark);
    QImage target(1000, 1000, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    const WheelDrawing drawing = PaintChartWheel(painter, QRectF(0, 0, 1000, 1000), input, texts);
    painter.end();
    const ModernWheelLayout layout = LayOutModernWheel(input, ModernWheelSize(input.mode), texts);
    ASSERT_EQ(drawing.lines.size(), layout.lines.size());
    // 660 x 440 scaled to 1000 wide, centred vertically: the line ends scale with it.
    const double scale = 1000.0 / 660.0;
    const QPointF offset(0.0, (1000.0 - 440.0 * scale) / 2.0);
    EXPECT_NEAR(drawing.lines[0].from.x(), offset.x() + layout.lines[0].from.x() * scale, 1e-9);
    EXPECT_NEAR(drawing.lines[0].from.y(), offset.y() + layout.lines[0].from.y() * scale, 1e-9);
    EXPECT_EQ(target.pixelColor(500, 50), QColor(Qt::white)); // above the picture
    EXPECT_EQ(target.pixelColor(20, 400), ModernThemeOf(WheelTheme::Dark).background);
}

} // namespace
} // namespace orbivex
