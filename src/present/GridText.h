#pragma once
// The aspect grid as plain text, for the clipboard: a line per row of the grid, its cells
// separated by tabs (a cell's lines joined by a space), hidden cells empty, so that a
// spreadsheet takes it cell for cell.

#include "present/Grid.h"

#include <QString>

namespace orbivex {

QString GridText(const AspectGrid& grid);

} // namespace orbivex
