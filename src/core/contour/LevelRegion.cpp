#include "contour/LevelRegion.h"

#include "contour/CellSegments.h"

namespace kavrin {

namespace {

// The part of triangle (a, b, c) of the cell where h >= 0.
PixelPolygon triangleAbove(const CellVertices& v, int a, int b, int c)
{
    PixelPolygon part;
    const int corner[3] = {a, b, c};
    for (int e = 0; e < 3; ++e) {
        const int p = corner[e], q = corner[(e + 1) % 3];
        if (v.h[p] >= 0) part.push_back({RoundPixel(v.xh[p]), RoundPixel(v.yh[p])});
        if ((v.h[p] > 0 && v.h[q] < 0) || (v.h[p] < 0 && v.h[q] > 0)) part.push_back({RoundPixel(CruzaX(v, p, q)), RoundPixel(CruzaY(v, p, q))});
    }
    return part;
}

PixelPolygon mirrored(const PixelPolygon& polygon, int PlotCentre)
{
    PixelPolygon image;
    image.reserve(polygon.size());
    for (const PixelPoint& p : polygon) image.push_back({p.x, 2 * PlotCentre - p.y});
    return image;
}

}  // namespace

PolygonSet LevelRegion(double z, const ContourGrid& g, int PlotCentre)
{
    PolygonSet region;
    auto add = [&](const PixelPolygon& polygon) {
        if (polygon.empty()) return;
        region.add(mirrored(polygon, PlotCentre));
        region.add(polygon);
    };
    auto px = [&](int i) { return g.PixelX[static_cast<std::size_t>(i - 1)]; };
    auto py = [&](int j) { return g.PixelY[static_cast<std::size_t>(j - 1)]; };
    for (int j = g.HalfRows - 1; j >= 1; --j) {
        int runStart = 0;  // first column of a run of cells wholly at or above the level
        for (int i = 1; i <= g.NX + 1; ++i) {
            const bool whole = i <= g.NX && g.grid.at(i, j) >= z && g.grid.at(i + 1, j) >= z && g.grid.at(i + 1, j + 1) >= z &&
                               g.grid.at(i, j + 1) >= z;
            if (whole) {
                if (runStart == 0) runStart = i;
                continue;
            }
            if (runStart != 0) {
                add({{px(runStart), py(j)}, {px(i), py(j)}, {px(i), py(j + 1)}, {px(runStart), py(j + 1)}});
                runStart = 0;
            }
            if (i > g.NX) break;
            const CellVertices v = CellAt(g, i, j, z);
            for (int m = 1; m <= 4; ++m) add(triangleAbove(v, m, 0, m == 4 ? 1 : m + 1));
        }
    }
    return region;
}

}  // namespace kavrin
