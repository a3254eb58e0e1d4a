#include "draw/ChartWheel.h"

#include "common/TestSupport.h"
#include "draw/Fonts.h"
#include "draw/PictureText.h"
#include "present/Symbols.h"
#include "session/Configuration.h"
#include "support/ProgramTexts.h"

#include <QPainter>

#include <QSet>
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
        {346, QStringLiteral("Chart drawing")},
        {347, QStringLiteral("No free place")},
    });
}

int ColourOfPixel(const QImage& image, int x, int y) {
    return ColourOf(image.pixel(x, y));
}

// Where two segments cross.
QPointF Crossing(const WheelLine& a, const WheelLine& b) {
    const QPointF r = a.to - a.from;
    const QPointF s = b.to - b.from;
    const double denominator = r.x() * s.y() - r.y() * s.x();
    const QPointF d = b.from - a.from;
    const double t = (d.x() * s.y() - d.y() * s.x()) / denominator;
    return a.from + t * r;
}

// A wheel with no body placed and the default colours.
WheelInput EmptyInput(ChartMode mode) {
    WheelInput input;
    input.mode = mode;
    input.colours = ConfigurationSettings().colours;
    return input;
}

void Place(WheelInput& input, BodyIndex body, double degrees, int set = 0) {
    input.positions[set][body] = Position(DegreesToRadians(degrees));
}

QPoint Origin(const WheelDrawing& drawing, BodyIndex body, int set = 0) {
    const auto& origin = drawing.glyphOrigins[set][body];
    EXPECT_TRUE(origin.has_value()) << "body " << body << " set " << set;
    return origin.value_or(QPoint());
}

// The distance from the centre of the ring point a symbol stands at.
double RadiusOf(QPoint origin, const WheelGeometry& geometry) {
    return std::hypot(origin.x() + 150 - geometry.cx, origin.y() + 150 - geometry.cy);
}

int CountPixels(const QImage& image, int colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += ColourOfPixel(image, x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

TEST(ChartWheel, PictureSizeAndBackgroundOfEachLayout) {
    const ProgramTexts texts = Texts();
    const WheelDrawing single = DrawChartWheel(EmptyInput(NatalFirst), texts);
    const WheelDrawing two = DrawChartWheel(EmptyInput(SynastryMode), texts);
    ASSERT_TRUE(single.drawn());
    ASSERT_TRUE(two.drawn());
    EXPECT_EQ(single.image.size(), QSize(400, 400));
    EXPECT_EQ(two.image.size(), QSize(660, 440));
    for (const WheelDrawing* drawing : {&single, &two}) {
        const QImage& image = drawing->image;
        EXPECT_EQ(ColourOfPixel(image, image.width() - 1, image.height() - 1), WheelBackColour);
        EXPECT_EQ(ColourOfPixel(image, image.width() / 2 + 30, image.height() / 2 + 50),
                  WheelDiscColour);
    }
}

TEST(ChartWheel, SymbolsStandAtTheirLongitudesCountedCounterClockwiseFromTheRight) {
    const ProgramTexts texts = Texts();
    const WheelGeometry& g = SingleSetGeometry;
    struct Case {
        double degrees;
        int dx; // sign of the ring point's offset from the centre
        int dy;
    };
    for (const Case c : {Case{0, 1, 0}, Case{90, 0, -1}, Case{180, -1, 0}, Case{270, 0, 1}}) {
        WheelInput input = EmptyInput(WorldTransits);
        Place(input, Jupiter, c.degrees);
        const WheelDrawing drawing = DrawChartWheel(input, texts);
        ASSERT_TRUE(drawing.drawn());
        const QPoint origin = Origin(drawing, Jupiter);
        const QPoint offset(origin.x() + 150 - g.cx, origin.y() + 150 - g.cy);
        const auto matches = [](int value, int sign) {
            return sign == 0 ? std::abs(value) <= 1 : value * sign > 2000;
        };
        EXPECT_TRUE(matches(offset.x(), c.dx) && matches(offset.y(), c.dy))
            << c.degrees << "°: offset " << offset.x() << ", " << offset.y();
        // Inside the rim, with its whole box.
        for (const QPoint corner :
             {QPoint(0, 0), QPoint(250, 0), QPoint(0, 300), QPoint(250, 300)}) {
            const QPoint p = origin + corner;
            EXPECT_LT(std::hypot(p.x() - g.cx, p.y() - g.cy), g.rimRadius) << c.degrees;
        }
        EXPECT_GT(RadiusOf(origin, g), 0.9 * g.firstRadius) << c.degrees;
        // The symbol is drawn there in white.
        bool white = false;
        for (int x = 0; x < 17 && !white; ++x) {
            for (int y = 0; y < 20 && !white; ++y) {
                white = ColourOfPixel(drawing.image, origin.x() / 15 + x, origin.y() / 15 + y) ==
                        FirstSetGlyphColour;
            }
        }
        EXPECT_TRUE(white) << c.degrees;
        for (BodyIndex other : AllBodies) {
            EXPECT_EQ(drawing.glyphOrigins[0][other].has_value(), other == Jupiter);
        }
    }
}

TEST(ChartWheel, ConjunctionPushesTheLowerNumberedSymbolInwards) {
    const ProgramTexts texts = Texts();
    WheelInput alone = EmptyInput(WorldTransits);
    Place(alone, Venus, 20);
    const double venusAlone =
        RadiusOf(Origin(DrawChartWheel(alone, texts), Venus), SingleSetGeometry);

    WheelInput input = alone;
    Place(input, Mercury, 20);
    const WheelDrawing drawing = DrawChartWheel(input, texts);
    ASSERT_TRUE(drawing.drawn());
    const double venus = RadiusOf(Origin(drawing, Venus), SingleSetGeometry);
    const double mercury = RadiusOf(Origin(drawing, Mercury), SingleSetGeometry);
    // Venus is placed first and keeps its place; Mercury moves in until its box is clear of
    // Venus's symbol, by about a symbol's height and not much more.
    EXPECT_NEAR(venus, venusAlone, 1.0);
    EXPECT_LT(mercury, venus - 150);
    EXPECT_GT(mercury, venus - 450);

    // In the two-set wheel the second set is pushed in by the first.
    WheelInput two = EmptyInput(PersonalFirst);
    Place(two, Saturn, 200, 0);
    Place(two, Saturn, 200, 1);
    const WheelDrawing twoDrawing = DrawChartWheel(two, texts);
    EXPECT_LT(RadiusOf(Origin(twoDrawing, Saturn, 1), TwoSetGeometry),
              RadiusOf(Origin(twoDrawing, Saturn, 0), TwoSetGeometry) - 150);
}

TEST(ChartWheel, SwitchedOffAspectsAndBodiesWithoutPositionDrawNoLine) {
    const ProgramTexts texts = Texts();
    WheelInput input = EmptyInput(WorldTransits);
    Place(input, Earth, 10);
    Place(input, Jupiter, 130);
    Place(input, Mercury, 250);
    input.aspects = {{Earth, Jupiter, Trine, false}, {Earth, Mercury, Conjunction, true}};

    const WheelDrawing on = DrawChartWheel(input, texts);
    ASSERT_EQ(on.lines.size(), 2u);
    EXPECT_EQ(on.lines[0].colour, input.colours[Index(Trine)]);
    EXPECT_EQ(on.lines[0].width, 1);
    EXPECT_EQ(on.lines[1].width, 2); // a bold cell
    EXPECT_GT(CountPixels(on.image, input.colours[Index(Trine)]), 50);

    input.colours[Index(Trine)] = 0;
    input.positions[0][Mercury] = Position(PositionStatus::BeforeTable); // no symbol, no line
    const WheelDrawing off = DrawChartWheel(input, texts);
    EXPECT_TRUE(off.lines.empty());
    EXPECT_EQ(CountPixels(off.image, on.lines[0].colour), 0);
    EXPECT_FALSE(off.glyphOrigins[0][Mercury].has_value());
}

TEST(ChartWheel, ChartFiltersKeepEarthOrOuterPlanetLines) {
    const ProgramTexts texts = Texts();
    WheelInput input = EmptyInput(WorldTransits);
    for (BodyIndex body : AllBodies) {
        Place(input, body, 40.0 * BodyNumber(body));
    }
    input.aspects = {{Earth, Mars, Square, false},
                     {Mercury, Venus, Trine, false},
                     {Earth, Pluto, Sextile, false},
                     {Mars, Jupiter, Opposition, false},
                     {Saturn, Neptune, Quincunx, false}};
    const auto drawn = [&](ChartFilters filters) {
        WheelInput filtered = input;
        filtered.filters = filters;
        std::vector<std::pair<BodyIndex, BodyIndex>> pairs;
        for (const WheelLine& line : DrawChartWheel(filtered, texts).lines) {
            pairs.emplace_back(line.aspect.body1, line.aspect.body2);
        }
        return pairs;
    };
    using Pairs = std::vector<std::pair<BodyIndex, BodyIndex>>;
    EXPECT_EQ(drawn({}).size(), 5u);
    EXPECT_EQ(drawn({.showOnlyEarthAspects = true}), (Pairs{{Earth, Mars}, {Earth, Pluto}}));
    EXPECT_EQ(drawn({.showOnlyOuterPlanetAspects = true}), (Pairs{{Saturn, Neptune}}));

    // Two sets: the Earth of either set counts.
    WheelInput two = EmptyInput(SynastryMode);
    for (BodyIndex body : AllBodies) {
        Place(two, body, 40.0 * BodyNumber(body), 0);
        Place(two, body, 40.0 * BodyNumber(body) + 20, 1);
    }
    two.aspects = {{Earth, Mars, Square, false},
                   {Mars, Earth, Trine, false},
                   {Mars, Mars, Conjunction, false}};
    two.filters.showOnlyEarthAspects = true;
    EXPECT_EQ(DrawChartWheel(two, texts).lines.size(), 2u);
}

TEST(ChartWheel, TwoSetLinesJoinAFirstSetSymbolWithASecondSetSymbol) {
    const ProgramTexts texts = Texts();
    WheelInput input = EmptyInput(PersonalSecond);
    for (BodyIndex body : AllBodies) {
        Place(input, body, 40.0 * BodyNumber(body), 0);
        Place(input, body, 40.0 * BodyNumber(body) + 180, 1);
    }
    input.aspects = {{Earth, Earth, Opposition, false},
                     {Jupiter, Mars, Trine, true},
                     {Pluto, Venus, Sextile, false}};
    const WheelDrawing drawing = DrawChartWheel(input, texts);
    ASSERT_EQ(drawing.lines.size(), 3u);
    // A point lies in a symbol's box when it is within the box from the symbol's origin.
    const auto inBox = [](QPointF pixel, QPoint origin) {
        const QRectF box(origin.x() / 15.0, origin.y() / 15.0, 250 / 15.0, 350 / 15.0);
        return box.contains(pixel);
    };
    for (const WheelLine& line : drawing.lines) {
        EXPECT_TRUE(inBox(line.from, Origin(drawing, line.aspect.body1, 0)));
        EXPECT_TRUE(inBox(line.to, Origin(drawing, line.aspect.body2, 1)));
        EXPECT_FALSE(inBox(line.to, Origin(drawing, line.aspect.body2, 0)));
    }
    // The second set is drawn in lemon, the first in white.
    EXPECT_GT(CountPixels(drawing.image, SecondSetGlyphColour), 20);
}

TEST(ChartWheel, RightClickNamesTheLinesNearThePointerWithTheirBodies) {
    const ProgramTexts texts = Texts();
    WheelInput input = EmptyInput(WorldTransits);
    // A horizontal chord (30° to 150°) and a vertical one (60° to 300°) that cross off-centre.
    Place(input, Earth, 30);
    Place(input, Mars, 150);
    Place(input, Jupiter, 60);
    Place(input, Saturn, 300);
    Place(input, Uranus, 200);
    input.aspects = {{Earth, Mars, Trine, false, DegreesToRadians(1.2)},
                     {Jupiter, Saturn, Sextile, false, -DegreesToRadians(0.5)},
                     {Earth, Uranus, Square, true, DegreesToRadians(2.0 + 59.9 / 60.0)}};
    const QString trine = QStringLiteral("Earth trine Mars (120°), 1°12' from exact");
    const QString sextile = QStringLiteral("Jupiter sextile Saturn (60°), 0°30' from exact");
    const QString square = QStringLiteral("Earth square Uranus (90°), 3°0' from exact");

    for (const WheelStyle style : {WheelStyle::Classic, WheelStyle::Modern}) {
        input.style = style;
        const WheelDrawing drawing = DrawChartWheel(input, texts);
        ASSERT_EQ(drawing.lines.size(), 3u);
        const auto along = [&](const WheelLine& line, double t, QPointF aside = {}) {
            return NameAspectsAt(drawing, line.from + t * (line.to - line.from) + aside);
        };
        const auto normal = [](const WheelLine& line) {
            const QPointF d = line.to - line.from;
            return QPointF(-d.y(), d.x()) / std::hypot(d.x(), d.y());
        };
        EXPECT_EQ(along(drawing.lines[2], 0.5), square);
        EXPECT_EQ(along(drawing.lines[0], 0.8), trine);
        // Within 4 pixels of the pen's edge counts, further away does not.
        const WheelLine& sextileLine = drawing.lines[1];
        const double edge = sextileLine.width / 2.0;
        EXPECT_EQ(along(sextileLine, 0.8, normal(sextileLine) * (edge + 3.9)), sextile);
        EXPECT_EQ(along(sextileLine, 0.8, normal(sextileLine) * (edge + 4.5)), QString());

        // Where two lines cross, both are named.
        const QPointF crossing = Crossing(drawing.lines[0], drawing.lines[1]);
        EXPECT_EQ(NameAspectsAt(drawing, crossing), trine + QLatin1Char('\n') + sextile);
        // Far from every line (a corner) nothing is named.
        EXPECT_EQ(NameAspectsAt(drawing, QPointF(2, 2)), QString());
    }
    EXPECT_EQ(LineNameTitle(), QStringLiteral("Aspect line"));
}

TEST(ChartWheel, BothFiltersAreRefusedAndNothingIsDrawn) {
    WheelInput input = EmptyInput(WorldTransits);
    Place(input, Earth, 10);
    input.filters = {true, true};
    for (ChartMode mode : {WorldTransits, SynastryMode}) {
        input.mode = mode;
        const WheelDrawing drawing = DrawChartWheel(input, Texts());
        EXPECT_EQ(drawing.status, WheelStatus::FiltersRefused);
        EXPECT_TRUE(drawing.image.isNull());
        EXPECT_EQ(drawing.message,
                  QStringLiteral("'Show only Earth aspects in chart' and\r\n"
                                 "'Show only outer planet aspects in chart'\r\n"
                                 "cannot both be checked in the Configuration panel."));
        EXPECT_TRUE(drawing.messageTitle.isEmpty());
    }
}

TEST(ChartWheel, SymbolsWithNoPlaceLeftStopTheDrawingWithAWarning) {
    WheelInput input = EmptyInput(SynastryMode);
    for (BodyIndex body : AllBodies) {
        Place(input, body, 45, 0);
        Place(input, body, 45, 1);
    }
    input.aspects = {{Earth, Mars, Conjunction, false}};
    const WheelDrawing drawing = DrawChartWheel(input, Texts());
    EXPECT_EQ(drawing.status, WheelStatus::NoRoomForGlyph);
    EXPECT_EQ(drawing.messageTitle, QStringLiteral("Chart drawing"));
    EXPECT_EQ(drawing.message, QStringLiteral("No free place"));
    EXPECT_FALSE(drawing.image.isNull());
    EXPECT_TRUE(drawing.glyphOrigins[0][Pluto].has_value());
    EXPECT_FALSE(drawing.glyphOrigins[1][Earth].has_value());
    EXPECT_TRUE(drawing.lines.empty());
}

TEST(ChartWheel, LegendsOfEachLayout) {
    const ProgramTexts texts = Texts();
    // Legend text is black; without legends no dark pixel is left there.
    for (ChartMode mode : {WorldTransits, PersonalFirst, SynastryMode}) {
        WheelInput input = EmptyInput(mode);
        const WheelDrawing shown = DrawChartWheel(input, texts);
        input.legends = false;
        const WheelDrawing hidden = DrawChartWheel(input, texts);
        const int legend0X = WheelGeometryOf(mode).legendX / 15;
        const QImage& image = shown.image;
        const auto blackIn = [](const QImage& picture, QRect area) {
            area &= picture.rect();
            int count = 0;
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x) {
                    const QRgb pixel = picture.pixel(x, y);
                    count += qRed(pixel) < 80 && qGreen(pixel) < 80 && qBlue(pixel) < 20 ? 1 : 0;
                }
            }
            return count;
        };
        const QRect legend0(legend0X, 0, 90, 42);
        EXPECT_GT(blackIn(image, legend0), 20) << mode;
        EXPECT_EQ(blackIn(hidden.image, legend0), 0) << mode;
        const QRect legend12(470, 0, 120, 28);
        EXPECT_EQ(blackIn(image, legend12) > 20, IsTwoChartMode(mode)) << mode;
    }
}

TEST(ChartWheel, TheLegendsOfTwoSetsStayOffTheDisc) {
    const ProgramTexts texts = Texts();
    QImage probe = NewPicture(QSize(700, 450), QImage::Format_RGB32);
    QPainter painter(&probe);
    PictureText legend(painter, ProgramFont(QStringLiteral("Arial"), 8.25));
    const WheelGeometry& g = TwoSetGeometry;
    const QPointF centre(g.cx / 15.0, g.cy / 15.0);
    for (int k = 0; k < 3; ++k) {
        const QRectF box =
            legend.Box(QPointF(g.legendX / 15.0, 14 * k), texts.ProgramText(104 + k));
        const QPointF corner = box.bottomRight() - centre; // the corner nearest the disc
        EXPECT_GT(std::hypot(corner.x(), corner.y()), g.rimRadius / 15.0) << k;
    }
}

TEST(ChartWheel, SymbolsKeepClearOfTheLegends) {
    const ProgramTexts texts = Texts();
    // The legend lines' boxes, as the wheel writes them.
    QImage probe = NewPicture(QSize(400, 400), QImage::Format_RGB32);
    QPainter painter(&probe);
    PictureText legend(painter, ProgramFont(QStringLiteral("Arial"), 8.25));
    QRectF legendBox;
    for (int k = 0; k < 3; ++k) {
        legendBox |= legend.Box(QPointF(0, 14 * k), texts.ProgramText(104 + k));
    }
    painter.end();
    // Near 120° the ring runs under the legend's last lines.
    for (const bool shown : {true, false}) {
        WheelInput input = EmptyInput(NatalFirst);
        Place(input, Neptune, 120);
        input.legends = shown;
        const QPoint origin = Origin(DrawChartWheel(input, texts), Neptune);
        const QRectF box(origin.x() / 15.0, origin.y() / 15.0, 250 / 15.0, 300 / 15.0);
        EXPECT_FALSE(box.intersects(legendBox)) << shown;
        EXPECT_LT(RadiusOf(origin, SingleSetGeometry), 2700) << shown;
    }
}

TEST(Symbols, LettersBecomeAstrologicalSymbols) {
    EXPECT_EQ(BodySymbol(Earth), QStringLiteral("♁"));
    EXPECT_EQ(BodySymbol(Pluto), QStringLiteral("♇"));
    EXPECT_EQ(CentreSymbol(), QStringLiteral("☉"));
    EXPECT_EQ(SignSymbol(0), QStringLiteral("♈"));
    EXPECT_EQ(SignSymbol(11), QStringLiteral("♓"));
    EXPECT_EQ(SymbolText("j"), QStringLiteral("♃"));
    EXPECT_EQ(SymbolText("Earth"), QStringLiteral("Earth"));
    EXPECT_EQ(SignSymbol(12), QString());
    // Every symbol is one distinct character.
    QSet<QString> seen;
    for (BodyIndex body : AllBodies) {
        seen.insert(BodySymbol(body));
    }
    seen.insert(CentreSymbol());
    for (ZodiacSign sign = 0; sign < NumZodiacSigns; ++sign) {
        seen.insert(SignSymbol(sign));
    }
    EXPECT_EQ(seen.size(), 22);
}

} // namespace
} // namespace orbivex

namespace orbivex {
namespace {

// Both wheel styles draw from the input's positions: in the zodiac of date each set stands in
// its signs of date, and a position that is missing stays missing.
TEST(ChartWheel, TheZodiacOfDateMovesEachSetByItsOwnPrecession) {
    Chart chart;
    chart.mode = PersonalFirst;
    chart.zodiac = ZodiacChoice::OfDate;
    chart.zodiacOffset = {0.01, -0.1};
    chart.positions[0][Earth] = Position(FullCircle - 0.005);
    chart.positions[1][Earth] = Position(1.0);
    chart.positions[1][Pluto] = Position(PositionStatus::BeforeTable);
    const WheelInput input = MakeWheelInput(chart, ConfigurationSettings::Defaults());
    EXPECT_NEAR(input.positions[0][Earth].Longitude(), 0.005, 1e-12);
    EXPECT_NEAR(input.positions[1][Earth].Longitude(), 0.9, 1e-12);
    EXPECT_EQ(input.positions[1][Pluto].Status(), PositionStatus::BeforeTable);
}

} // namespace
} // namespace orbivex
