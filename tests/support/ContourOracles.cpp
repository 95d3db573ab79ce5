#include "support/ContourOracles.h"

#include "contour/CellSegments.h"
#include "contour/OutlineWalk.h"

namespace kavrin::test {

std::vector<PixelPoint> TracaContornoByScan(double z, const ContourGrid& g)
{
    std::vector<PixelPoint> points;
    for (int j = g.HalfRows - 1; j >= 1; --j)
        for (int i = 1; i <= g.NX; ++i) CellSegments(CellAt(g, i, j, z), points);
    return points;
}

PixelPolygon MontaPoligonoByScan(const std::vector<PixelPoint>& E, int TopRow, int PlotCentre)
{
    const OutlineWalk walk = PrepareWalk(E, TopRow);
    std::vector<char> used(walk.candidates.size(), 0);
    std::vector<PixelPoint> walked;
    PixelPoint P = walk.start();
    for (int q; (q = NearestByScan(walk, P, used)) >= 0;) {
        used[static_cast<std::size_t>(q)] = 1;
        P = walk.candidates[static_cast<std::size_t>(q)];
        walked.push_back(P);
    }
    return CloseWithMirror(walk.start(), walked, PlotCentre);
}

}  // namespace kavrin::test
