#include "present/GridText.h"

#include "present/Symbols.h"

#include <QStringList>

namespace orbivex {

QString GridText(const AspectGrid& grid) {
    QStringList lines;
    for (int row = 0; row < grid.rowCount; ++row) {
        QStringList cells;
        for (int column = 0; column < grid.columnCount; ++column) {
            const GridCell& cell = grid.Cell(row, column);
            QString text;
            if (cell.visible) {
                // The symbol font's letters become the bodies' own symbols.
                text = cell.font == CellFont::Symbol ? SymbolText(cell.text) : cell.text;
                text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
            }
            cells.append(text);
        }
        // No tabs after a row's last shown cell.
        while (!cells.isEmpty() && cells.last().isEmpty()) {
            cells.removeLast();
        }
        lines.append(cells.join(QLatin1Char('\t')));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace orbivex
