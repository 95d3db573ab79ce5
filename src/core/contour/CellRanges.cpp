#include "contour/CellRanges.h"

#include <algorithm>

namespace kavrin {

CellRanges::CellRanges(const ContourGrid& g) : nx_(std::max(g.NX, 0))
{
    const std::size_t cells = static_cast<std::size_t>(nx_) * static_cast<std::size_t>(std::max(g.HalfRows - 1, 0));
    low_.resize(cells);
    high_.resize(cells);
    for (int j = 1; j < g.HalfRows; ++j) {
        for (int i = 1; i <= g.NX; ++i) {
            const double a = g.grid.at(i, j), b = g.grid.at(i + 1, j), c = g.grid.at(i + 1, j + 1), d = g.grid.at(i, j + 1);
            low_[index(i, j)] = std::min({a, b, c, d});
            high_[index(i, j)] = std::max({a, b, c, d});
        }
    }
}

}  // namespace kavrin
