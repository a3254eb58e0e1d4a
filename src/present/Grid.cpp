#include "present/Grid.h"

#include "core/AngleFormat.h"
#include "core/Zodiac.h"
#include "support/Mnemonic.h"
#include "support/TextNumbers.h"

#include <QLocale>
#include <cmath>

namespace orbivex {
using enum ChartMode;

namespace {

const QString LineBreak = QStringLiteral("\r\n");

// Radians as the user's regional format writes them, always with 4 decimals.
QString FormatRadians(double angle) {
    return QLocale().toString(angle, 'f', 4);
}

// A header cell of the body with the given number (row or column of the layout); empty when the
// number names no body.
void MakeGlyphCell(GridCell& cell, int bodyNumber) {
    const std::optional<BodyIndex> body = BodyOfNumber(bodyNumber);
    cell.backColour = HeaderBackColour;
    cell.bold = false;
    cell.font = CellFont::Symbol;
    cell.text = body ? QString::fromLatin1(Bodies[*body].symbolLetter) : QString();
}

// Resets the fonts of the old layout, then clears and places every cell of the new one.
void StartLayout(AspectGrid& grid, int rows, int cols) {
    ResetCellFonts(grid);
    grid.rowCount = rows;
    grid.columnCount = cols;
    grid.cellCount = rows * cols;
    ClearGridCells(grid);
    for (int i = 0; i < grid.cellCount; ++i) {
        const GridPosition p = GetRowCol(i, cols);
        GridCell& cell = grid.cells[i];
        cell.left = p.column * AspectGrid::CellWidth;
        cell.top = p.row * AspectGrid::CellHeight;
        cell.visible = true;
    }
}

} // namespace

void ClearGridCells(AspectGrid& grid) {
    for (GridCell& cell : grid.cells) {
        cell.text.clear();
        cell.visible = false;
        cell.backColour = 0;
        cell.foreColour = 0;
        cell.bold = false;
    }
}

void ResetCellFonts(AspectGrid& grid) {
    for (int i = 0; i < grid.cellCount; ++i) {
        grid.cells[i].bold = false;
        grid.cells[i].font = CellFont::Text;
    }
}

void SetUpTriangularGrid(AspectGrid& grid) {
    StartLayout(grid, 10, 9);
    for (int c = 0; c < grid.columnCount; ++c) {
        MakeGlyphCell(grid.Cell(1, c), c + 1);
    }
    for (int i = 0; i < grid.cellCount; ++i) {
        const GridPosition p = GetRowCol(i, grid.columnCount);
        if (p.column + 2 < p.row) {
            grid.cells[i].visible = false;
        } else if (p.row == p.column + 2) {
            MakeGlyphCell(grid.cells[i], p.row - 1);
        }
    }
}

void SetUpSquareGrid(AspectGrid& grid, ChartMode mode, const ProgramTexts& texts) {
    StartLayout(grid, 11, 11);
    for (int i = 0; i < grid.cellCount; ++i) {
        const GridPosition p = GetRowCol(i, grid.columnCount);
        GridCell& cell = grid.cells[i];
        if (p.row == 1 || p.column == 1) {
            cell.backColour = HeaderBackColour;
        }
        if (p.row == 1 && p.column > 1) {
            MakeGlyphCell(cell, p.column - 1);
        } else if (p.column == 1 && p.row > 1) {
            MakeGlyphCell(cell, p.row - 1);
        }
    }
    const bool synastry = mode == SynastryMode;
    for (int row = 0; row <= 1; ++row) {
        for (int col = 0; col <= 1; ++col) {
            grid.Cell(row, col).backColour = HeaderBackColour;
        }
    }
    // The captions of the first set (over the columns) and the second set (beside the rows).
    grid.Cell(0, 1).text =
        texts.ProgramText(synastry ? text::SynastryColumnFirst : text::ColumnTransiting);
    grid.Cell(1, 0).text = texts.ProgramText(synastry ? text::SynastryRowSecond : text::RowNatal);
    grid.Cell(1, 1).text =
        synastry ? WithoutMnemonic(texts.ProgramText(text::SynastryOption))
                 : texts.ProgramText(mode == PersonalFirst ? text::ColumnFirstBirthdate
                                                           : text::ColumnSecondBirthdate);
}

QString PositionCellText(BodyIndex body, const Position& position, int numBodies, bool radians,
                         double zodiacOffset) {
    if (BodyNumber(body) > numBodies) {
        return {};
    }
    switch (position.Status()) {
    case PositionStatus::Known:
        break;
    case PositionStatus::BeforeTable:
        return QStringLiteral("<");
    case PositionStatus::AfterTable:
        return QStringLiteral(">");
    case PositionStatus::Unavailable:
        return QStringLiteral("?");
    }
    const double longitude = position.Longitude();
    if (radians) {
        return FormatRadians(longitude);
    }
    return FormatDegreesMinutes(longitude) + LineBreak +
           FormatZodiacPosition(LongitudeInZodiac(longitude, zodiacOffset), false);
}

QString AspectCellText(AspectKind kind, double deviation, bool radians, Motion motion) {
    const QString amount = radians ? FormatRadians(deviation) : FormatDegreesMinutes(deviation);
    const QString sign = motion == Motion::Applying     ? QStringLiteral(" -")
                         : motion == Motion::Separating ? QStringLiteral(" +")
                                                        : QString();
    return AspectAbbreviation(kind) + LineBreak + amount + sign;
}

void FillGrid(AspectGrid& grid, const Chart& chart, bool radians,
              const std::array<int, 8>& aspectColours, const ProgramTexts& texts) {
    const bool twoSets = chart.TwoSets();
    if (twoSets) {
        SetUpSquareGrid(grid, chart.mode, texts);
    } else {
        SetUpTriangularGrid(grid);
    }
    const auto writePosition = [&](int index, BodyIndex body, const Position& position, int set) {
        GridCell& cell = grid.cells[static_cast<std::size_t>(index)];
        cell.backColour = PositionBackColour;
        cell.foreColour = 0;
        cell.text = PositionCellText(body, position, chart.numBodies, radians,
                                     chart.zodiacOffset[static_cast<std::size_t>(set)]);
    };
    for (BodyIndex body : AllBodies) {
        if (twoSets) {
            writePosition(SquareFirstSetPositionCell(body), body, chart.positions[0][body], 0);
            writePosition(SquareSecondSetPositionCell(body), body, chart.positions[1][body], 1);
        } else {
            writePosition(TriangularPositionCell(body), body, chart.positions[0][body], 0);
        }
    }
    for (const ChartAspect& aspect : chart.aspects) {
        const int index = twoSets ? SquareAspectCell(aspect.first, aspect.second)
                                  : TriangularAspectCell(aspect.first, aspect.second);
        GridCell& cell = grid.cells[static_cast<std::size_t>(index)];
        cell.text = AspectCellText(aspect.kind, aspect.deviation, radians, aspect.motion);
        cell.bold = aspect.bold;
        cell.foreColour = aspectColours[Index(aspect.kind)];
    }
}

QString AddOrbToTitle(const QString& baseTitle, bool personal, bool addPeriod, ChartMode mode,
                      const OrbSummary& summary, const ProgramTexts& texts) {
    const QString title = baseTitle + QStringLiteral("  ");
    const std::size_t column = Index(!personal              ? OrbColumn::OneChart
                                     : mode == SynastryMode ? OrbColumn::Synastry
                                                            : OrbColumn::PersonalTransits);
    // With every orb at 0 no aspect can be found, and there is no range to show.
    if (!(summary.largest[column] > 0.0)) {
        return title + texts.ProgramText(text::NoAspectSwitchedOn) +
               (addPeriod ? QStringLiteral(".") : QString());
    }
    const QString largest = FormatDegreesMinutes(summary.largest[column], true);
    if (summary.allEqual) {
        return title + texts.ProgramText(text::AllOrbs) + QLatin1Char(' ') + largest +
               (addPeriod ? QStringLiteral(".") : QString());
    }
    return title + texts.ProgramText(text::Orbs) + QStringLiteral(": ") +
           FormatDegreesMinutes(summary.smallest[column], true) + QLatin1Char(' ') +
           texts.ProgramText(text::OrbsTo) + QLatin1Char(' ') + largest;
}

namespace {

// The mode's title with the date sets called by their names. The titles say "the 1st
// birthdate" and the like; a title that does not (another language) gets the names after it.
QString NamedTitle(QString title, ChartMode mode, const DateSetNames& names) {
    const QString& world = names[0];
    const QString& first = names[1];
    const QString& second = names[2];
    QStringList unplaced;
    // The phrase becomes `named` when the date set has a name.
    const auto replace = [&](const QString& phrase, const QString& name, const QString& named) {
        if (name.isEmpty()) {
            return;
        }
        if (title.contains(phrase)) {
            title.replace(phrase, named);
        } else {
            unplaced.append(name);
        }
    };
    switch (mode) {
    case WorldTransits:
        replace(QStringLiteral("world transits"), world,
                QStringLiteral("world transits of ") + world);
        break;
    case NatalFirst:
        replace(QStringLiteral("the 1st birthdate"), first, first);
        break;
    case NatalSecond:
        replace(QStringLiteral("the 2nd birthdate"), second, second);
        break;
    case PersonalFirst:
        replace(QStringLiteral("transits to the 1st birthdate"), first,
                QStringLiteral("transits for ") + first);
        break;
    case PersonalSecond:
        replace(QStringLiteral("transits to the 2nd birthdate"), second,
                QStringLiteral("transits for ") + second);
        break;
    case SynastryMode: {
        const QString both = (first.isEmpty() ? QStringLiteral("the 1st birthdate") : first) +
                             QStringLiteral(" and ") +
                             (second.isEmpty() ? QStringLiteral("the 2nd birthdate") : second);
        QStringList given{first, second};
        given.removeAll(QString());
        replace(QStringLiteral("the 1st and 2nd birthdates"), given.join(QStringLiteral(" and ")),
                both);
        break;
    }
    default:
        break;
    }
    if (!unplaced.isEmpty()) {
        const bool period = title.endsWith(QLatin1Char('.'));
        if (period) {
            title.chop(1);
        }
        title += QStringLiteral(" (") + unplaced.join(QStringLiteral(", ")) + QLatin1Char(')') +
                 (period ? QStringLiteral(".") : QString());
    }
    return title;
}

} // namespace

QString TitleText(ChartMode mode, bool gridShown, const OrbSummary& summary,
                  const ProgramTexts& texts, const DateSetNames& names) {
    QString title;
    switch (mode) {
    case WorldTransits:
        title = gridShown ? texts.ProgramText(text::WorldTransitsTitle)
                          : texts.ProgramText(text::WorldTransitsWheelTitle)
                                .replace(QStringLiteral(" degrees"), QStringLiteral("°"));
        break;
    case NatalFirst:
        title = texts.ProgramText(gridShown ? text::NatalFirstTitle : text::NatalFirstWheelTitle);
        break;
    case NatalSecond:
        title = texts.ProgramText(gridShown ? text::NatalSecondTitle : text::NatalSecondWheelTitle);
        break;
    case PersonalFirst:
        title = texts.ProgramText(text::PersonalTransitsFirstTitle);
        break;
    case PersonalSecond:
        title = texts.ProgramText(text::PersonalTransitsSecondTitle);
        break;
    case SynastryMode:
        title = texts.ProgramText(text::SynastryTitle);
        break;
    default:
        return {};
    }
    return AddOrbToTitle(NamedTitle(title, mode, names), IsTwoChartMode(mode), true, mode, summary,
                         texts);
}

QString ClickHintText(ChartMode mode, bool gridShown, const ProgramTexts& texts) {
    const bool durationsOnDoubleClick =
        mode == WorldTransits || mode == PersonalFirst || mode == PersonalSecond;
    return gridShown && durationsOnDoubleClick ? texts.ProgramText(text::DoubleClickHint)
                                               : QString();
}

} // namespace orbivex
