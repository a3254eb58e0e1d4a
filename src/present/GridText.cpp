#include "present/GridText.h"

#include "present/Symbols.h"

#include <QStringList>

namespace orbivex {

QList<QStringList> GridCellTexts(const AspectGrid& grid,
                                 const std::function<QString(const GridCell&)>& glyph) {
    QList<QStringList> rows;
    for (int row = 0; row < grid.rowCount; ++row) {
        QStringList& cells = rows.emplace_back();
        for (int column = 0; column < grid.columnCount; ++column) {
            const GridCell& cell = grid.Cell(row, column);
            QString text;
            if (cell.visible) {
                text = cell.font == CellFont::Symbol ? glyph(cell) : cell.text;
                text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
            }
            cells.append(text);
        }
    }
    return rows;
}

QString GridText(const AspectGrid& grid) {
    QStringList lines;
    // The symbol font's letters become the bodies' own symbols.
    for (QStringList cells :
         GridCellTexts(grid, [](const GridCell& cell) { return SymbolText(cell.text); })) {
        // No tabs after a row's last shown cell.
        while (!cells.isEmpty() && cells.last().isEmpty()) {
            cells.removeLast();
        }
        lines.append(cells.join(QLatin1Char('\t')));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace orbivex
