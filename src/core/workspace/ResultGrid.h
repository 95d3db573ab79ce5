// The one in-memory grid of concentrations (mg/L) of one time.
#pragma once

#include "solution/LargeBuffer.h"

namespace kavrin {

// Cells (ix, iy), each from 1 to 451: ix along X, iy along Y. Room for the
// 451 points of a 450-cell grid. Zero at start; writes outside are ignored,
// reads outside give 0. The cells lie on huge pages where the system allows:
// a fresh grid is 1.6 MB that would otherwise be touched a 4 KB page at a time.
class ResultGrid {
public:
    static constexpr int kSize = 451;

    ResultGrid() : cells_(kSize * kSize, 0.0) {}

    static bool contains(int ix, int iy) { return ix >= 1 && ix <= kSize && iy >= 1 && iy <= kSize; }
    double at(int ix, int iy) const { return contains(ix, iy) ? cells_[index(ix, iy)] : 0.0; }
    void set(int ix, int iy, double value)
    {
        if (contains(ix, iy)) cells_[index(ix, iy)] = value;
    }

private:
    static std::size_t index(int ix, int iy)
    {
        return static_cast<std::size_t>(iy - 1) * kSize + static_cast<std::size_t>(ix - 1);
    }
    LargeBuffer<double> cells_;
};

}  // namespace kavrin
