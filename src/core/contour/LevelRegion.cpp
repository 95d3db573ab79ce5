#include "contour/LevelRegion.h"

#include "contour/CellSegments.h"

#include <array>

namespace kavrin {

namespace {

// A polygon of at most six vertices: a triangle's part or a run of cells.
struct SmallPolygon {
    std::array<PixelPoint, 6> points;
    std::size_t size = 0;
    void push_back(PixelPoint p) { points[size++] = p; }
    std::span<const PixelPoint> span() const { return {points.data(), size}; }
};

// The part of triangle (a, b, c) of the cell where h >= 0.
SmallPolygon triangleAbove(const CellVertices& v, int a, int b, int c)
{
    SmallPolygon part;
    const int corner[3] = {a, b, c};
    for (int e = 0; e < 3; ++e) {
        const int p = corner[e], q = corner[(e + 1) % 3];
        if (v.h[p] >= 0) part.push_back({RoundPixel(v.xh[p]), RoundPixel(v.yh[p])});
        if ((v.h[p] > 0 && v.h[q] < 0) || (v.h[p] < 0 && v.h[q] > 0))
            part.push_back({RoundPixel(CruzaX(v, p, q)), RoundPixel(CruzaY(v, p, q))});
    }
    return part;
}

}  // namespace

void LevelRegion(double z, const ContourGrid& g, std::optional<int> PlotCentre,
                 const std::function<void(std::span<const PixelPoint>)>& polygon)
{
    auto add = [&](const SmallPolygon& part) {
        if (part.size == 0) return;
        if (PlotCentre) {
            SmallPolygon image;
            for (std::size_t k = 0; k < part.size; ++k) image.push_back({part.points[k].x, 2 * *PlotCentre - part.points[k].y});
            polygon(image.span());
        }
        polygon(part.span());
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
                SmallPolygon run;
                for (PixelPoint p : {PixelPoint{px(runStart), py(j)}, PixelPoint{px(i), py(j)}, PixelPoint{px(i), py(j + 1)},
                                     PixelPoint{px(runStart), py(j + 1)}})
                    run.push_back(p);
                add(run);
                runStart = 0;
            }
            if (i > g.NX) break;
            // A cell wholly below the level has no part above it.
            if (g.grid.at(i, j) < z && g.grid.at(i + 1, j) < z && g.grid.at(i + 1, j + 1) < z && g.grid.at(i, j + 1) < z)
                continue;
            const CellVertices v = CellAt(g, i, j, z);
            for (int m = 1; m <= 4; ++m) add(triangleAbove(v, m, 0, m == 4 ? 1 : m + 1));
        }
    }
}

}  // namespace kavrin
