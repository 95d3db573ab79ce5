// The smallest and largest corner value of every drawn cell, found once
// for all levels of a map: a level outside a cell's range cannot cross it.
#pragma once

#include "contour/ContourGrid.h"
#include "solution/LargeBuffer.h"

#include <cstddef>
#include <vector>

namespace kavrin {

class CellRanges {
public:
    // Cells kBlock at a time along a row share one range too, so that a level
    // passes over the wide parts of a row that it cannot cross at once.
    static constexpr int kBlock = 16;

    explicit CellRanges(const ContourGrid& g);
    double low(int i, int j) const { return low_[index(i, j)]; }
    double high(int i, int j) const { return high_[index(i, j)]; }
    // Whether level z lies outside the range of each cell of row j in the
    // block that starts at cell `first` (1 + kBlock·b): cells first … first +
    // kBlock − 1, or to the row's end. A cell whose range is not a number
    // keeps its block from counting as outside.
    bool blockOutside(int first, int j, double z) const
    {
        const std::size_t b = static_cast<std::size_t>(j - 1) * blocks_ + static_cast<std::size_t>((first - 1) / kBlock);
        return blockLow_[b] > z || blockHigh_[b] < z;
    }

private:
    std::size_t index(int i, int j) const
    {
        return static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(nx_) + static_cast<std::size_t>(i - 1);
    }
    int nx_;
    std::size_t blocks_;              // per row
    LargeBuffer<double> low_, high_;  // 0.8 MB each for a full grid
    std::vector<double> blockLow_, blockHigh_;
};

}  // namespace kavrin
