#include "plume/AxisReach.h"

#include <algorithm>
#include <cmath>

namespace kavrin {

AxisReach ReachAlongRow(std::span<const double> row, double X0, double DX, double standard)
{
    const int columns = static_cast<int>(row.size());
    int last = -1;
    for (int j = 0; j < columns; ++j)
        if (j * DX + X0 >= 0 && row[static_cast<std::size_t>(j)] > standard) last = j;
    if (last < 0) return {};
    const double x = last * DX + X0;
    if (last == columns - 1) return {x, true};
    const double here = row[static_cast<std::size_t>(last)], next = row[static_cast<std::size_t>(last) + 1];
    return {x + (here - standard) / (here - next) * DX, false};
}

int AxisRowOf(const ModelState& m, int rows)
{
    return std::clamp(static_cast<int>(std::lround((m.source.firstZoneY - m.Y0) / m.DY)), 0, std::max(rows - 1, 0));
}

}  // namespace kavrin
