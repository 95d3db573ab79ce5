// The smallest and largest corner value of every drawn cell, found once
// for all levels of a map: a level outside a cell's range cannot cross it.
#pragma once

#include "contour/ContourGrid.h"

#include <cstddef>
#include <vector>

namespace kavrin {

class CellRanges {
public:
    explicit CellRanges(const ContourGrid& g);
    double low(int i, int j) const { return low_[index(i, j)]; }
    double high(int i, int j) const { return high_[index(i, j)]; }

private:
    std::size_t index(int i, int j) const
    {
        return static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(nx_) + static_cast<std::size_t>(i - 1);
    }
    int nx_;
    std::vector<double> low_, high_;
};

}  // namespace kavrin
