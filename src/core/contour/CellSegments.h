// The contour segments of one cell for one concentration level: the cell
// split into four triangles around its centre, each triangle given at most
// one segment by the signs of its corners.
#pragma once

#include "contour/ContourGrid.h"
#include "contour/PixelPoint.h"

#include <vector>

namespace kavrin {

// One cell: index 0 its centre, 1 … 4 the corners (i, j), (i + 1, j),
// (i + 1, j + 1), (i, j + 1); h is the value minus the level. `exact` holds
// the same differences in extended precision, where no finite value and
// level can overflow; the crossings fall back on it when h overflows.
struct CellVertices {
    double h[5], xh[5], yh[5];
    long double exact[5];
};

// The crossing of the level on the edge p1–p2 (h of different signs).
double CruzaX(const CellVertices& v, int p1, int p2);
double CruzaY(const CellVertices& v, int p1, int p2);

// Appends the segments of one cell (corners and centre filled) to `points`,
// two end points per segment, rounded halves to even.
void CellSegments(const CellVertices& v, std::vector<PixelPoint>& points);

// The corners and centre of cell (i, j) for the level z.
CellVertices CellAt(const ContourGrid& g, int i, int j, double z);

}  // namespace kavrin
