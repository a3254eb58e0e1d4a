#include "draw/CourseGraph.h"
#include "common/ChartFixture.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace orbivex;

using enum orbivex::BodyIndex;
using enum orbivex::AspectKind;
using enum orbivex::ChartMode;
using orbivex::test::ChartFixture;

namespace {

double Degrees(double degrees) {
    return DegreesToRadians(degrees);
}

int CountPixels(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += (image.pixel(x, y) & 0xffffff) == (colour & 0xffffff) ? 1 : 0;
        }
    }
    return count;
}

} // namespace

TEST(ExactAspectPoint, TakesTheNearerSideOfTheNatalBody) {
    EXPECT_NEAR(ExactAspectPoint(Degrees(359.0), Degrees(1.0), Conjunction), Degrees(359.0), 1e-12);
    EXPECT_NEAR(ExactAspectPoint(Degrees(10.0), Degrees(1.0), Opposition), Degrees(190.0), 1e-12);
    // Trine to natal 100°: the points are 220° and 340°.
    EXPECT_NEAR(ExactAspectPoint(Degrees(100.0), Degrees(330.0), Trine), Degrees(340.0), 1e-12);
    EXPECT_NEAR(ExactAspectPoint(Degrees(100.0), Degrees(215.0), Trine), Degrees(220.0), 1e-12);
    EXPECT_NEAR(ExactAspectPoint(Degrees(100.0), Degrees(279.9), Trine), Degrees(220.0), 1e-12);
    EXPECT_NEAR(ExactAspectPoint(Degrees(100.0), Degrees(280.1), Trine), Degrees(340.0), 1e-12);
    EXPECT_NEAR(ExactAspectPoint(Degrees(350.0), Degrees(75.0), Square), Degrees(80.0), 1e-12);
}

TEST(CurrentDateRow, IsTheFirstRowLaterThanHalfARowBeforeTheWorldDate) {
    EXPECT_EQ(CurrentDateRow(100, 1.0 / 28, LocalJulianDay{100.5}), 14);
    EXPECT_EQ(CurrentDateRow(100, 1.0, LocalJulianDay{100.0}), 0);
    EXPECT_EQ(CurrentDateRow(100, 1.0, LocalJulianDay{102.49}), 2);
    EXPECT_EQ(CurrentDateRow(100, 1.0, LocalJulianDay{102.51}), 3);
    EXPECT_EQ(CurrentDateRow(100, 1.0, LocalJulianDay{200.0}), -1);
}

TEST_F(ChartFixture, CourseGraphDrawsTheCurveInTheAspectsColourAndTheWorldDatesRow) {
    Run(PersonalFirst);
    const CellDoubleClick click =
        DecideCellDoubleClick(state, ephemeris, texts, SquareAspectCell(Saturn, Mercury));
    ASSERT_EQ(click.action, CellDoubleClick::Action::CourseGraph);
    CourseGraphInputs inputs = CourseGraphInputsOf(state, click.graph);
    EXPECT_EQ(inputs.colour, Rgb(255, 255, 0));
    EXPECT_NEAR(inputs.orb, Degrees(10.0) / 3.0, 1e-12);
    inputs.colour = Rgb(0, 128, 255); // the curve follows the configured colour
    const CourseGraph graph = DrawCourseGraph(ephemeris, inputs);
    ASSERT_FALSE(graph.image.isNull());
    EXPECT_EQ(graph.image.size(), QSize(CourseGraphWidth, CourseGraphHeight));
    EXPECT_EQ(graph.title,
              u"Transiting Saturn in conjunction to natal Mercury (1970-06-15), orb 3°20'"_s);
    EXPECT_DOUBLE_EQ(graph.sampleStep, (2460587 + 1 - 2460382) / 392.0);

    // The curve: one dot per pixel row across the whole span, inside the plot.
    const QRgb curve = qRgb(0, 128, 255);
    EXPECT_GE(CountPixels(graph.image, curve), CourseGraphSamples);
    for (int y = 0; y < graph.image.height(); ++y) {
        for (int x = 0; x < graph.image.width(); ++x) {
            if ((graph.image.pixel(x, y) & 0xffffff) == (curve & 0xffffff)) {
                ASSERT_GE(x, CourseGraphLeftMargin - 1);
                ASSERT_LE(x, CourseGraphCentre + CourseGraphHalfWidth + 1);
                ASSERT_GE(y, CourseGraphFirstRow - 1);
                ASSERT_LE(y, CourseGraphLastRow + 1);
            }
        }
    }
    // Saturn came into orb on the first day and left it on the last: the curve runs from
    // the left edge to the right one.
    const auto curveInRows = [&](int fromY, int toY, int fromX, int toX) {
        for (int y = fromY; y <= toY; ++y) {
            for (int x = fromX; x <= toX; ++x) {
                if ((graph.image.pixel(x, y) & 0xffffff) == (curve & 0xffffff)) {
                    return true;
                }
            }
        }
        return false;
    };
    EXPECT_TRUE(curveInRows(CourseGraphFirstRow, CourseGraphFirstRow + 2, 118, 140));
    EXPECT_TRUE(curveInRows(CourseGraphLastRow - 3, CourseGraphLastRow, 700, 721));
    EXPECT_FALSE(curveInRows(CourseGraphFirstRow, CourseGraphFirstRow + 2, 200, 721));

    // 20 March 12:00 lies in row 1 (19 March 08:34 onwards, rows 7.3 days apart): its line is
    // white, the others dark grey.
    EXPECT_EQ(graph.currentRow, 1);
    EXPECT_EQ(graph.image.pixel(690, 14 * 1 + 21) & 0xffffff, 0xffffffu);
    EXPECT_EQ(graph.image.pixel(690, 14 * 5 + 21) & 0xffffff, qRgb(64, 64, 64) & 0xffffff);
    // The centre axis is white, the scale lines dark grey, the rest black.
    EXPECT_EQ(graph.image.pixel(CourseGraphCentre, 300) & 0xffffff, 0xffffffu);
    EXPECT_EQ(graph.image.pixel(CourseGraphCentre + 40, 30) & 0xffffff,
              qRgb(64, 64, 64) & 0xffffff);
    EXPECT_EQ(graph.image.pixel(CourseGraphCentre + 20, 30) & 0xffffff, 0u);
}

TEST_F(ChartFixture, RightClickReadsDateTimeAndDistanceOffThePlot) {
    Run(PersonalFirst);
    const CellDoubleClick click =
        DecideCellDoubleClick(state, ephemeris, texts, SquareAspectCell(Saturn, Mercury));
    const CourseGraph graph = DrawCourseGraph(ephemeris, CourseGraphInputsOf(state, click.graph));
    ASSERT_FALSE(graph.image.isNull());

    // The foot of the centre axis: the midnight that ends the last day, exact.
    auto note = CourseGraphRightClick(graph, {CourseGraphCentre, CourseGraphLastRow}, texts);
    ASSERT_TRUE(note.has_value());
    EXPECT_EQ(note->title, u"Course of the transit"_s);
    EXPECT_EQ(note->text, u"The transit at this point of the curve:\r\n"
                          "On 2024-10-04 at 00:00 it is 0°0' from exact."_s);
    // Half way to the right on the first row line: the first midnight, half the orb.
    note = CourseGraphRightClick(graph, {570, CourseGraphFirstRow}, texts);
    ASSERT_TRUE(note.has_value());
    EXPECT_EQ(note->text, u"The transit at this point of the curve:\r\n"
                          "On 2024-03-12 at 00:00 it is 1°40' from exact."_s);
    // Left of the centre the distance is told without a sign.
    note = CourseGraphRightClick(graph, {270, CourseGraphFirstRow}, texts);
    ASSERT_TRUE(note.has_value());
    EXPECT_TRUE(note->text.endsWith(QStringLiteral("it is 1°40' from exact.")));

    // Black background, the date column, above the plot, outside the image: nothing.
    EXPECT_FALSE(CourseGraphRightClick(graph, {430, 28}, texts).has_value());
    EXPECT_FALSE(CourseGraphRightClick(graph, {40, 35}, texts).has_value());
    EXPECT_FALSE(CourseGraphRightClick(graph, {CourseGraphCentre, 10}, texts).has_value());
    EXPECT_FALSE(CourseGraphRightClick(graph, {-5, 100}, texts).has_value());
    EXPECT_FALSE(CourseGraphRightClick(CourseGraph{}, {420, 100}, texts).has_value());
}

TEST_F(ChartFixture, AnAspectOfOneDaySpreadsTheDayOverThePlot) {
    Run(PersonalFirst);
    CourseGraphRequest request;
    request.natalBody = Jupiter;
    request.transitingBody = Mercury;
    request.kind = Trine;
    request.beginning = request.end = 2460390;
    request.title = QStringLiteral("TitleX");
    const CourseGraph graph = DrawCourseGraph(ephemeris, CourseGraphInputsOf(state, request));
    ASSERT_FALSE(graph.image.isNull());
    EXPECT_DOUBLE_EQ(graph.sampleStep, 1.0 / 392);
    EXPECT_EQ(graph.currentRow, 14); // 12:00 of the day
    EXPECT_EQ(graph.title, u"Title (1970-06-15)"_s);
    const auto note = CourseGraphRightClick(graph, {CourseGraphCentre, 21 + 196}, texts);
    ASSERT_TRUE(note.has_value());
    EXPECT_TRUE(note->text.contains(QStringLiteral("On 2024-03-20 at 12:00")));

    // A request that cannot be drawn gives no image.
    request.kind = NoAspect;
    EXPECT_TRUE(DrawCourseGraph(ephemeris, CourseGraphInputsOf(state, request)).image.isNull());
    request.kind = Trine;
    request.end = request.beginning - 1;
    EXPECT_TRUE(DrawCourseGraph(ephemeris, CourseGraphInputsOf(state, request)).image.isNull());
    // Nor does one whose natal body has no position: there is no exact point to draw around.
    request.end = request.beginning;
    request.natalBody = Pluto;
    const Ephemeris withoutPlutoTable(test::ProgramFolder());
    EXPECT_TRUE(
        DrawCourseGraph(withoutPlutoTable, CourseGraphInputsOf(state, request)).image.isNull());
}
