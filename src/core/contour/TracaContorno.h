// The contour end points of one concentration level over the drawn half of
// the grid, in the order the outline's walk depends on.
#pragma once

#include "contour/CellRanges.h"
#include "contour/ContourGrid.h"
#include "contour/PixelPoint.h"

#include <vector>

namespace kavrin {

// The end points of the level's segments, rows HalfRows − 1 down to 1, each
// row's cells left to right, in place of what E held (its room is kept for
// the next level); cells whose range the level misses are skipped.
void TracaContorno(double z, const ContourGrid& g, const CellRanges& ranges, std::vector<PixelPoint>& E);

}  // namespace kavrin
