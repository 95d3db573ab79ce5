// What the contouring reads: the grid, its drawn cells and their pixels.
#pragma once

#include "workspace/ResultGrid.h"

#include <vector>

namespace kavrin {

struct ContourGrid {
    const ResultGrid& grid;
    int NX;                          // cells along X: columns 1 … NX + 1
    int HalfRows;                    // rows 1 … HalfRows
    const std::vector<int>& PixelX;  // [i - 1]: pixel x of column i
    const std::vector<int>& PixelY;  // [k - 1]: pixel y of row k
};

}  // namespace kavrin
