#include "contour/CellRanges.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kavrin {

CellRanges::CellRanges(const ContourGrid& g)
    : nx_(std::max(g.NX, 0)), blocks_(static_cast<std::size_t>((nx_ + kBlock - 1) / kBlock))
{
    const std::size_t rows = static_cast<std::size_t>(std::max(g.HalfRows - 1, 0));
    const std::size_t cells = static_cast<std::size_t>(nx_) * rows;
    low_.resize(cells);
    high_.resize(cells);
    constexpr double infinity = std::numeric_limits<double>::infinity();
    blockLow_.assign(blocks_ * rows, infinity);
    blockHigh_.assign(blocks_ * rows, -infinity);
    for (int j = 1; j < g.HalfRows; ++j) {
        for (int i = 1; i <= g.NX; ++i) {
            const double a = g.grid.at(i, j), b = g.grid.at(i + 1, j), c = g.grid.at(i + 1, j + 1), d = g.grid.at(i, j + 1);
            const double low = std::min({a, b, c, d}), high = std::max({a, b, c, d});
            low_[index(i, j)] = low;
            high_[index(i, j)] = high;
            // A block is outside a level only when each of its cells is; a
            // cell whose range is not a number is tested on its own.
            const std::size_t block = static_cast<std::size_t>(j - 1) * blocks_ + static_cast<std::size_t>((i - 1) / kBlock);
            blockLow_[block] = std::isnan(low) ? -infinity : std::min(blockLow_[block], low);
            blockHigh_[block] = std::isnan(high) ? infinity : std::max(blockHigh_[block], high);
        }
    }
}

}  // namespace kavrin
