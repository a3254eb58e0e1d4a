#include "present/Grid.h"
#include "present/GridText.h"
#include "present/Symbols.h"

#include "common/TestSupport.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace orbivex {

using enum BodyIndex;
using enum AspectKind;
using enum ChartMode;
namespace {

// Pins the number format for the radians texts and puts the previous one back afterwards.
class LocaleScope {
  public:
    explicit LocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(saved_); }

  private:
    QLocale saved_;
};

ProgramTexts Texts() {
    return ProgramTexts::FromEntries({
        {14, QStringLiteral("syn corner")},
        {23, QStringLiteral("World grid")},
        {24, QStringLiteral("Natal 1 grid")},
        {25, QStringLiteral("Natal 2 grid")},
        {26, QStringLiteral("World wheel, orbs in degrees")},
        {27, QStringLiteral("Natal 1 wheel")},
        {28, QStringLiteral("Natal 2 wheel")},
        {29, QStringLiteral("Personal 1")},
        {30, QStringLiteral("Personal 2")},
        {31, QStringLiteral("Synastry")},
        {32, QStringLiteral("Double-click")},
        {33, QStringLiteral("Orb")},
        {34, QStringLiteral("Orbs")},
        {35, QStringLiteral("to")},
        {68, QStringLiteral("transiting")},
        {69, QStringLiteral("natal 1")},
        {70, QStringLiteral("natal 2")},
        {71, QStringLiteral("natal")},
        {75, QStringLiteral("first")},
        {76, QStringLiteral("second")},
        {420, QStringLiteral("None on")},
    });
}

QString Glyph(BodyIndex body) {
    return QString::fromLatin1(Bodies[body].symbolLetter);
}

bool IsGlyphCell(const GridCell& cell, BodyIndex body) {
    return cell.visible && cell.text == Glyph(body) && cell.font == CellFont::Symbol &&
           !cell.bold && cell.backColour == HeaderBackColour;
}

TEST(Grid, TriangularLayout) {
    AspectGrid grid;
    SetUpTriangularGrid(grid);
    EXPECT_EQ(grid.rowCount, 10);
    EXPECT_EQ(grid.columnCount, 9);
    EXPECT_EQ(grid.cellCount, 90);

    const GridPosition p10 = GetRowCol(10, grid.columnCount);
    EXPECT_EQ(p10.row, 1);
    EXPECT_EQ(p10.column, 1);
    EXPECT_TRUE(IsGlyphCell(grid.cells[10], Mercury));
    EXPECT_TRUE(IsGlyphCell(grid.cells[18], Earth)); // (2, 0): the row glyph of body 1
    EXPECT_FALSE(grid.cells[27].visible);            // (3, 0): left of the row glyph
    EXPECT_EQ(TriangularAspectCell(Earth, Mercury), 19);
    const GridCell& aspect = grid.cells[19]; // (2, 1): Earth with Mercury, still empty
    EXPECT_TRUE(aspect.visible);
    EXPECT_TRUE(aspect.text.isEmpty());
    EXPECT_EQ(aspect.backColour, 0);
    EXPECT_EQ(aspect.font, CellFont::Text);
    EXPECT_EQ(aspect.left, 1080);
    EXPECT_EQ(aspect.top, 2 * 570);

    for (BodyIndex body : AllBodies) {
        const int n = BodyNumber(body);
        EXPECT_TRUE(IsGlyphCell(grid.Cell(1, n - 1), body)) << body;
        EXPECT_TRUE(grid.cells[TriangularPositionCell(body)].visible);
        if (body < Pluto) { // the last body has no row: it pairs only with lower numbers
            EXPECT_TRUE(IsGlyphCell(grid.Cell(n + 1, n - 1), body)) << body;
        }
    }
    EXPECT_TRUE(grid.cells[TriangularAspectCell(Neptune, Pluto)].visible);
    for (int i = 90; i < AspectGrid::MaxCells; ++i) {
        EXPECT_FALSE(grid.cells[i].visible) << i;
    }
}

TEST(Grid, SquareLayoutAndCornerCaptions) {
    const ProgramTexts texts = Texts();
    AspectGrid grid;
    SetUpSquareGrid(grid, PersonalFirst, texts);
    EXPECT_EQ(grid.cellCount, 121);
    EXPECT_EQ(GetRowCol(24, 11).row, 2);
    EXPECT_EQ(GetRowCol(24, 11).column, 2);
    EXPECT_EQ(SquareAspectCell(Earth, Earth), 24);
    for (BodyIndex body : AllBodies) {
        const int n = BodyNumber(body);
        EXPECT_TRUE(IsGlyphCell(grid.Cell(1, n + 1), body)) << body;
        EXPECT_TRUE(IsGlyphCell(grid.Cell(n + 1, 1), body)) << body;
    }
    for (int i = 0; i < grid.cellCount; ++i) {
        EXPECT_TRUE(grid.cells[i].visible) << i;
    }
    EXPECT_EQ(grid.cells[24].backColour, 0);
    EXPECT_EQ(grid.Cell(0, 0).backColour, HeaderBackColour);
    EXPECT_TRUE(grid.Cell(0, 0).text.isEmpty());

    const struct {
        ChartMode mode;
        const char* top;
        const char* left;
        const char* inner;
    } corners[] = {
        {PersonalFirst, "transiting", "natal", "natal 1"},
        {PersonalSecond, "transiting", "natal", "natal 2"},
        {SynastryMode, "first", "second", "syn corner"},
    };
    for (const auto& c : corners) {
        SetUpSquareGrid(grid, c.mode, texts);
        EXPECT_EQ(grid.Cell(0, 1).text, QString::fromUtf8(c.top)) << c.mode;
        EXPECT_EQ(grid.Cell(1, 0).text, QString::fromUtf8(c.left)) << c.mode;
        EXPECT_EQ(grid.Cell(1, 1).text, QString::fromUtf8(c.inner)) << c.mode;
        EXPECT_EQ(grid.Cell(1, 1).font, CellFont::Text);
        EXPECT_EQ(grid.Cell(1, 1).backColour, HeaderBackColour);
    }
}

TEST(Grid, RelayoutLeavesNothingOfThePreviousResult) {
    const ProgramTexts texts = Texts();
    AspectGrid grid;
    SetUpSquareGrid(grid, SynastryMode, texts);
    grid.cells[24].text = QStringLiteral("Con");
    grid.cells[24].bold = true;
    grid.cells[24].foreColour = 255;
    SetUpTriangularGrid(grid);
    // Cell 23 was the glyph of Earth's row in the square; now it is Earth-Saturn, blank.
    EXPECT_TRUE(grid.cells[23].visible);
    EXPECT_EQ(grid.cells[23].font, CellFont::Text);
    EXPECT_TRUE(grid.cells[23].text.isEmpty());
    EXPECT_EQ(grid.cells[23].backColour, 0);
    EXPECT_TRUE(grid.cells[24].text.isEmpty());
    EXPECT_FALSE(grid.cells[24].bold);
    EXPECT_EQ(grid.cells[24].foreColour, 0);
    EXPECT_FALSE(grid.cells[100].visible);
    EXPECT_TRUE(grid.cells[100].text.isEmpty());

    SetUpSquareGrid(grid, PersonalFirst, texts);
    EXPECT_EQ(grid.cells[28].font, CellFont::Text); // Mercury's row glyph in the triangle
    EXPECT_TRUE(grid.cells[28].text.isEmpty());
    EXPECT_TRUE(IsGlyphCell(grid.cells[100], Neptune)); // (9, 1)
}

TEST(Grid, PositionAndAspectCellTexts) {
    const LocaleScope c(QLocale::c());
    const Position leo(DegreesToRadians(123.75));
    EXPECT_EQ(PositionCellText(Mars, leo, 9, false), QStringLiteral("123°45'\r\n3Leo45"));
    EXPECT_EQ(PositionCellText(Mars, Position(Pi), 9, true), QStringLiteral("3.1416"));
    EXPECT_EQ(PositionCellText(Mars, Position(0.0), 9, true), QStringLiteral("0.0000"));
    EXPECT_EQ(PositionCellText(Pluto, Position(PositionStatus::BeforeTable), 9, false), u"<"_s);
    EXPECT_EQ(PositionCellText(Pluto, Position(PositionStatus::AfterTable), 9, true), u">"_s);
    EXPECT_EQ(PositionCellText(Pluto, Position(), 9, false), QStringLiteral("?"));
    // Without the Pluto table the ninth body is out of use: empty, whatever its position.
    EXPECT_EQ(PositionCellText(Pluto, leo, 8, false), QString());
    EXPECT_EQ(PositionCellText(Pluto, Position(PositionStatus::BeforeTable), 8, false), u""_s);
    EXPECT_EQ(PositionCellText(Neptune, leo, 8, true), QStringLiteral("2.1598"));

    const double deviation = DegreesToRadians(2.0 + 5.0 / 60.0);
    EXPECT_EQ(AspectCellText(Conjunction, deviation, false, Motion::Applying), u"Con\r\n2°5' -"_s);
    EXPECT_EQ(AspectCellText(Square, deviation, true, Motion::Separating), u"Sqr\r\n0.0364 +"_s);
    EXPECT_EQ(AspectCellText(Quincunx, 0.0, false, Motion::None), QStringLiteral("Qui\r\n0°0'"));

    const LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(PositionCellText(Mars, Position(Pi), 9, true), QStringLiteral("3,1416"));
}

TEST(Grid, FillGridWritesTheChartsPositionsAndAspects) {
    const LocaleScope c(QLocale::c());
    ChartRequest request;
    request.mode = PersonalFirst;
    request.orbs(Trine, OrbColumn::PersonalTransits) = DegreesToRadians(3.0);
    request.boldface = {true, true, 4};
    std::array<PositionSet, 2> positions{};
    positions[0][Mars] = Position(DegreesToRadians(123.75));
    positions[0][Pluto] = Position(PositionStatus::BeforeTable);
    positions[1][Earth] = Position(DegreesToRadians(4.25)); // transiting Mars trine, 30' off
    positions[1][Pluto] = Position(PositionStatus::AfterTable);
    Chart chart = ChartOfPositions(request, positions);
    ASSERT_EQ(chart.aspects.size(), 1u);
    chart.aspects[0].motion = Motion::Applying;
    std::array<int, 8> colours{};
    colours[Index(Trine)] = Rgb(0, 255, 0);

    AspectGrid grid;
    FillGrid(grid, chart, false, colours, Texts());
    EXPECT_EQ(grid.cellCount, 121);
    const GridCell& mars = grid.cells[SquareFirstSetPositionCell(Mars)];
    EXPECT_EQ(mars.text, QStringLiteral("123°45'\r\n3Leo45"));
    EXPECT_EQ(mars.backColour, PositionBackColour);
    EXPECT_EQ(grid.cells[SquareFirstSetPositionCell(Pluto)].text, u"<"_s);
    EXPECT_EQ(grid.cells[SquareSecondSetPositionCell(Pluto)].text, u">"_s);
    EXPECT_EQ(grid.cells[SquareSecondSetPositionCell(Venus)].text, u"?"_s);
    const GridCell& trine = grid.cells[SquareAspectCell(Mars, Earth)];
    EXPECT_EQ(trine.text, QStringLiteral("Tri\r\n0°30' -"));
    EXPECT_TRUE(trine.bold);
    EXPECT_EQ(trine.foreColour, Rgb(0, 255, 0));

    // A kind switched off stays black; one chart lays out the triangle.
    colours[Index(Trine)] = 0;
    FillGrid(grid, chart, false, colours, Texts());
    EXPECT_EQ(grid.cells[SquareAspectCell(Mars, Earth)].foreColour, 0);
    request.mode = NatalFirst;
    positions[0][Earth] = positions[1][Earth];
    FillGrid(grid, ChartOfPositions(request, positions), false, colours, Texts());
    EXPECT_EQ(grid.cellCount, 90);
    EXPECT_EQ(grid.cells[TriangularPositionCell(Pluto)].text, u"<"_s);
    EXPECT_EQ(grid.cells[TriangularAspectCell(Earth, Mars)].text, QString());
}

TEST(Grid, AddOrbToTitle) {
    const ProgramTexts texts = Texts();
    OrbSummary summary;
    summary.largest = {DegreesToRadians(8.0), DegreesToRadians(4.0), DegreesToRadians(2.0)};
    summary.smallest = summary.largest;
    summary.allEqual = true;
    EXPECT_EQ(AddOrbToTitle(QStringLiteral("T"), false, true, WorldTransits, summary, texts),
              QStringLiteral("T  Orb 8°."));
    EXPECT_EQ(AddOrbToTitle(QStringLiteral("T"), true, false, PersonalSecond, summary, texts),
              QStringLiteral("T  Orb 4°"));
    EXPECT_EQ(AddOrbToTitle(QStringLiteral("T"), true, true, SynastryMode, summary, texts),
              QStringLiteral("T  Orb 2°."));

    summary.allEqual = false;
    summary.smallest = {DegreesToRadians(4.0), DegreesToRadians(4.0 / 3.0), 1.0};
    summary.largest = {DegreesToRadians(10.0), DegreesToRadians(10.0 / 3.0), 2.0};
    EXPECT_EQ(AddOrbToTitle(QStringLiteral("T"), false, true, WorldTransits, summary, texts),
              QStringLiteral("T  Orbs: 4° to 10°"));
    EXPECT_EQ(AddOrbToTitle(QStringLiteral("T"), true, true, PersonalFirst, summary, texts),
              QStringLiteral("T  Orbs: 1°20' to 3°20'"));

    summary.smallest = {20.0, 20.0, 20.0}; // every orb zero
    summary.largest = {0.0, 0.0, 0.0};
    EXPECT_EQ(AddOrbToTitle(QStringLiteral("T"), false, true, WorldTransits, summary, texts),
              QStringLiteral("T  None on."));
    EXPECT_EQ(AddOrbToTitle(QString(), true, false, SynastryMode, summary, texts),
              QStringLiteral("  None on"));
}

TEST(Grid, TitleAndClickHint) {
    const ProgramTexts texts = Texts();
    OrbSummary summary;
    summary.largest = {DegreesToRadians(6.0), DegreesToRadians(2.0), DegreesToRadians(3.0)};
    summary.smallest = summary.largest;
    summary.allEqual = true;
    const struct {
        ChartMode mode;
        bool gridShown;
        const char* title;
    } cases[] = {
        {WorldTransits, true, "World grid  Orb 6°."},
        {WorldTransits, false, "World wheel, orbs in°  Orb 6°."},
        {NatalFirst, true, "Natal 1 grid  Orb 6°."},
        {NatalFirst, false, "Natal 1 wheel  Orb 6°."},
        {NatalSecond, true, "Natal 2 grid  Orb 6°."},
        {NatalSecond, false, "Natal 2 wheel  Orb 6°."},
        {PersonalFirst, true, "Personal 1  Orb 2°."},
        {PersonalFirst, false, "Personal 1  Orb 2°."},
        {PersonalSecond, false, "Personal 2  Orb 2°."},
        {SynastryMode, true, "Synastry  Orb 3°."},
        {NoChartMode, true, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TitleText(c.mode, c.gridShown, summary, texts), QString::fromUtf8(c.title))
            << c.mode << " " << c.gridShown;
    }

    // Date sets with names are called by them; a title without the phrase gets them after it.
    const ProgramTexts english = ProgramTexts::FromEntries({
        {24, u"Natal aspects of the 1st birthdate."_s},
        {29, u"Personal transits to the 1st birthdate."_s},
        {23, u"Heliocentric world transits."_s},
        {25, u"Natal aspects, second."_s},
        {31, u"Synastry of the 1st and 2nd birthdates."_s},
        {33, u"Orb"_s},
    });
    const struct {
        ChartMode mode;
        DateSetNames names;
        const char* title;
    } named[] = {
        {NatalFirst, DateSetNames{u"Ev"_s, u"Ada"_s, QString()}, "Natal aspects of Ada.  Orb 6°."},
        {PersonalFirst, DateSetNames{u"Ev"_s, u"Ada"_s, QString()},
         "Personal transits for Ada.  Orb 2°."},
        {PersonalFirst, DateSetNames{u"Ev"_s, QString(), u"Bo"_s},
         "Personal transits to the 1st birthdate.  Orb 2°."},
        {WorldTransits, DateSetNames{u"Eclipse"_s, u"Ada"_s, QString()},
         "Heliocentric world transits of Eclipse.  Orb 6°."},
        {NatalSecond, DateSetNames{QString(), QString(), u"Bo"_s},
         "Natal aspects, second (Bo).  Orb 6°."},
        {SynastryMode, DateSetNames{QString(), QString(), u"Bo"_s},
         "Synastry of the 1st birthdate and Bo.  Orb 3°."},
        {SynastryMode, DateSetNames{QString(), u"Ada"_s, u"Bo"_s},
         "Synastry of Ada and Bo.  Orb 3°."},
    };
    for (const auto& c : named) {
        EXPECT_EQ(TitleText(c.mode, true, summary, english, c.names), QString::fromUtf8(c.title));
    }

    for (const ChartMode mode : AllChartModes) {
        const bool hint = mode == WorldTransits || mode == PersonalFirst || mode == PersonalSecond;
        EXPECT_EQ(ClickHintText(mode, true, texts),
                  hint ? QStringLiteral("Double-click") : QString())
            << mode;
        EXPECT_EQ(ClickHintText(mode, false, texts), QString()) << mode;
    }
}

TEST(Grid, AsTextARowALineCellsByTabsSymbolsAsSymbols) {
    AspectGrid grid;
    SetUpTriangularGrid(grid);
    grid.Cell(0, 0).text = u"75°35'\r\n15Gem35"_s;
    grid.Cell(1, 1).text = u"d"_s; // a body's letter of the symbol font
    grid.Cell(2, 2).text = u"Sqr\r\n2°35' +"_s;
    const QStringList lines = GridText(grid).split(u'\n');
    ASSERT_EQ(lines.size(), grid.rowCount + 1); // and the final line break
    EXPECT_EQ(lines[0].split(u'\t')[0], u"75°35' 15Gem35"_s);
    EXPECT_EQ(lines[1].split(u'\t')[1], SymbolText(u"d"));
    // A row ends with its last cell that says something; hidden cells are empty.
    EXPECT_TRUE(lines[2].endsWith(u"\tSqr 2°35' +"_s)) << lines[2].toStdString();
    EXPECT_TRUE(lines[3].startsWith(u'\t'));
    EXPECT_TRUE(lines.last().isEmpty());
}

} // namespace
} // namespace orbivex
