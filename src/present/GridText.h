#pragma once
// The aspect grid as plain text, for the clipboard: a line per row of the grid, its cells
// separated by tabs (a cell's lines joined by a space), hidden cells empty, so that a
// spreadsheet takes it cell for cell.

#include "present/Grid.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace orbivex {

// The text of each cell, row by row: hidden cells empty, a cell's lines joined by a space, and
// the symbol font's letters of a glyph cell given by `glyph`.
QList<QStringList> GridCellTexts(const AspectGrid& grid,
                                 const std::function<QString(const GridCell&)>& glyph);

QString GridText(const AspectGrid& grid);

} // namespace orbivex
