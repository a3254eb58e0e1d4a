#pragma once
// The aspect grid as a model: a table of text cells with one row and one column per body.
// Row 0 (and in the square layout column 0) shows longitudes, the glyph cells name the
// bodies, and the cells between them show the aspect each pair forms. The main window draws
// exactly these cells; nothing here touches a widget.

#include "core/Chart.h"
#include "core/ChartMode.h"
#include "core/ChartTables.h"
#include "session/Configuration.h"
#include "session/GridCells.h"
#include "support/ProgramTexts.h"

#include <QString>
#include <array>

namespace orbivex {

// The two cell fonts: the text font ("Arial", 10 point) and the astrological symbol font
// ("Starfont Sans", 14 point). Which real fonts stand for them is the window's business.
enum class CellFont { Text, Symbol };

inline constexpr int CellFontPointSize(CellFont font) {
    return font == CellFont::Symbol ? 14 : 10;
}

inline constexpr int HeaderBackColour = Rgb(200, 200, 220);   // glyph and caption cells
inline constexpr int PositionBackColour = Rgb(230, 255, 230); // longitude cells

struct GridCell {
    QString text; // lines separated by CR LF
    bool visible = false;
    int backColour = PositionBackColour;
    int foreColour = 0;
    CellFont font = CellFont::Text;
    bool bold = false;
    bool centred = true;
    int left = 0; // layout units (1/1440 inch) from the table's top-left corner
    int top = 0;
};

struct GridPosition {
    int row = 0;
    int column = 0;
};

// Row and column of cell index cellIndex in a grid of columnCount columns; cells run row by row.
inline constexpr GridPosition GetRowCol(int cellIndex, int columnCount) {
    return {cellIndex / columnCount, cellIndex % columnCount};
}

struct AspectGrid {
    static constexpr int MaxCells = 144;   // enough for 12 x 12
    static constexpr int CellWidth = 1080; // layout units
    static constexpr int CellHeight = 570;

    // The current layout: 10 x 9 = 90 (triangular) or 11 x 11 = 121 (square); 0 before the
    // first layout.
    int rowCount = 0;
    int columnCount = 0;
    int cellCount = 0;
    std::array<GridCell, MaxCells> cells;

    int TableWidth() const { return columnCount * CellWidth; }
    int TableHeight() const { return rowCount * CellHeight; }
    bool IsCell(int index) const { return index >= 0 && index < cellCount; }
    GridCell& Cell(int row, int col) { return cells[row * columnCount + col]; }
    const GridCell& Cell(int row, int col) const { return cells[row * columnCount + col]; }
};

// Every one of the 144 cells: empty, hidden, black on black, not bold.
void ClearGridCells(AspectGrid& grid);

// The cells of the current layout: not bold, text font.
void ResetCellFonts(AspectGrid& grid);

// 10 rows x 9 columns for world transits and natal aspects: row 0 longitudes, row 1 the
// column glyphs of bodies 1..9, rows 2..9 a row glyph (body r - 1 in column r - 2) with the
// aspect cells to its right; the cells left of the row glyph are hidden.
void SetUpTriangularGrid(AspectGrid& grid);

// 11 x 11 for personal transits and synastry (mode 4, 5 or 6): row 1 and column 1 carry the
// glyphs, the four corner cells the captions of the two body sets.
void SetUpSquareGrid(AspectGrid& grid, ChartMode mode, const ProgramTexts& texts);

// The text of a longitude cell of `body`: empty when the body is not in use (body >
// numBodies); "<" before the Pluto table, ">" after it, "?" for another missing position;
// otherwise the longitude in radians with 4 decimals, or degrees and minutes, CR LF and the
// short zodiac form ("123°45'" CR LF "3Leo45"). zodiacOffset moves only the sign text (the
// zodiac of date); the degrees stay J2000.
QString PositionCellText(BodyIndex body, const Position& position, int numBodies, bool radians,
                         double zodiacOffset = 0.0);

// The text of an aspect cell: the kind's abbreviation, CR LF, the deviation (radians with 4
// decimals, or degrees and minutes) and the motion sign (" -" applying, " +" separating).
QString AspectCellText(AspectKind kind, double deviation, bool radians, Motion motion);

// Lays the grid out for the chart's mode (the square one with texts' captions in the two-chart
// modes) and writes it: the longitudes of the bodies, black on the position background, and
// one cell per aspect, bold when the chart says so and in its kind's colour (colours per kind
// 1..7).
void FillGrid(AspectGrid& grid, const Chart& chart, bool radians,
              const std::array<int, 8>& aspectColours, const ProgramTexts& texts);

// baseTitle, two spaces and the orbs of the title's orb column (0, or for a personal title 1,
// or 2 in synastry): "<text 33> 8°" (and a full stop when addPeriod) when all orbs are
// equal, else "<text 34>: 4° <text 35> 10°".
QString AddOrbToTitle(const QString& baseTitle, bool personal, bool addPeriod, ChartMode mode,
                      const OrbSummary& summary, const ProgramTexts& texts);

// The names of the world date and the birthdates ("" for a date set without one).
using DateSetNames = std::array<QString, 3>;

// The title line above the grid or chart (what the main window's UpdateTitle shows): the
// mode's title text followed by the orbs; "" without a mode. A date set of the mode that has
// a name is called by it: "Heliocentric personal transits for Ada Lovelace."
QString TitleText(ChartMode mode, bool gridShown, const OrbSummary& summary,
                  const ProgramTexts& texts, const DateSetNames& names = {});

// The hint under the title (what UpdateClickHint shows): text 32 while the grid is shown in
// the modes whose cells give aspect durations on a double-click, else "".
QString ClickHintText(ChartMode mode, bool gridShown, const ProgramTexts& texts);

} // namespace orbivex
