#pragma once
// The numbering of the aspect grid's cells, row by row: where the grid shows each body's
// longitude and each pair's aspect. The grid model writes these cells, and a double-click on
// one of them names the pair it asks about.

#include "core/ChartTables.h"

namespace orbivex {

// In the triangular grid the longitude of body b is in row 0, column b - 1, and the aspect of
// bodies k < j in cell (k + 1, j - 1). In the square grid the first set's body m has its
// longitude in row 0, column m + 1, the second set's body l in column 0, row l + 1, and their
// aspect is in cell (l + 1, m + 1).
inline constexpr int TriangularPositionCell(BodyIndex body) {
    return BodyNumber(body) - 1;
}
inline constexpr int TriangularAspectCell(BodyIndex k, BodyIndex j) {
    return (BodyNumber(k) + 1) * 9 + (BodyNumber(j) - 1);
}
inline constexpr int SquareFirstSetPositionCell(BodyIndex m) {
    return BodyNumber(m) + 1;
}
inline constexpr int SquareSecondSetPositionCell(BodyIndex l) {
    return (BodyNumber(l) + 1) * 11;
}
inline constexpr int SquareAspectCell(BodyIndex m, BodyIndex l) {
    return (BodyNumber(l) + 1) * 11 + (BodyNumber(m) + 1);
}

} // namespace orbivex
