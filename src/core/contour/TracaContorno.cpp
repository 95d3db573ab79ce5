#include "contour/TracaContorno.h"

#include "contour/CellSegments.h"

#include <algorithm>

namespace kavrin {

void TracaContorno(double z, const ContourGrid& g, const CellRanges& ranges, std::vector<PixelPoint>& points)
{
    points.clear();
    for (int j = g.HalfRows - 1; j >= 1; --j) {
        for (int first = 1; first <= g.NX; first += CellRanges::kBlock) {
            if (ranges.blockOutside(first, j, z)) continue;
            for (int i = first; i <= std::min(first + CellRanges::kBlock - 1, g.NX); ++i) {
                // A triangle whose two outer corners lie on the same side of the
                // level gives no segment whatever its centre (the mean of the
                // corners cannot lie on the other side), so such cells are skipped.
                if (ranges.low(i, j) > z || ranges.high(i, j) < z) continue;
                CellSegments(CellAt(g, i, j, z), points);
            }
        }
    }
}

}  // namespace kavrin
