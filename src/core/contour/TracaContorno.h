// The contour segments of one concentration level over the drawn half of the
// grid: each cell split into four triangles around its centre, each triangle
// given at most one segment by the signs of its corners.
#pragma once

#include "contour/PixelPoint.h"
#include "workspace/ResultGrid.h"

#include <vector>

namespace kavrin {

// What the contouring reads: the grid, its drawn cells and their pixels.
struct ContourGrid {
    const ResultGrid& grid;
    int NX;        // cells along X: columns 1 … NX + 1
    int HalfRows;  // rows 1 … HalfRows
    const std::vector<int>& PixelX;  // [i - 1]: pixel x of column i
    const std::vector<int>& PixelY;  // [k - 1]: pixel y of row k
};

// One cell: index 0 its centre, 1 … 4 the corners (i, j), (i + 1, j),
// (i + 1, j + 1), (i, j + 1); h is the value minus the level.
struct CellVertices {
    double h[5], xh[5], yh[5];
};

// The crossing of the level on the edge p1–p2 (h of different signs).
double CruzaX(const CellVertices& v, int p1, int p2);
double CruzaY(const CellVertices& v, int p1, int p2);

// Appends the segments of one cell (corners and centre filled) to `points`,
// two end points per segment, rounded halves to even.
void CellSegments(const CellVertices& v, std::vector<PixelPoint>& points);

// The smallest and largest corner value of every drawn cell, found once
// for all levels of a map: a level outside a cell's range cannot cross it.
class CellRanges {
public:
    explicit CellRanges(const ContourGrid& g);
    double low(int i, int j) const { return low_[index(i, j)]; }
    double high(int i, int j) const { return high_[index(i, j)]; }

private:
    std::size_t index(int i, int j) const { return static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(nx_) + static_cast<std::size_t>(i - 1); }
    int nx_;
    std::vector<double> low_, high_;
};

// The end points of the level's segments, rows HalfRows − 1 down to 1, each
// row's cells left to right: the order the outline's walk depends on.
std::vector<PixelPoint> TracaContorno(double z, const ContourGrid& g, const CellRanges& ranges);
std::vector<PixelPoint> TracaContorno(double z, const ContourGrid& g);

// TracaContorno of every level in one pass over the cells:
// each cell adds its segments to the levels within its range, in the same
// order as the level's own pass.
std::vector<std::vector<PixelPoint>> TracaContornos(const std::vector<double>& levels, const ContourGrid& g);

// The corners and centre of cell (i, j) for the level z.
CellVertices CellAt(const ContourGrid& g, int i, int j, double z);

}  // namespace kavrin
