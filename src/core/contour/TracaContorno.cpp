#include "contour/TracaContorno.h"

#include <algorithm>
#include <cmath>

namespace kavrin {

double CruzaX(const CellVertices& v, int p1, int p2)
{
    return (v.h[p2] * v.xh[p1] - v.h[p1] * v.xh[p2]) / (v.h[p2] - v.h[p1]);
}

double CruzaY(const CellVertices& v, int p1, int p2)
{
    return (v.h[p2] * v.yh[p1] - v.h[p1] * v.yh[p2]) / (v.h[p2] - v.h[p1]);
}

namespace {

int sign(double h)
{
    return h > 0 ? 1 : (h < 0 ? -1 : 0);
}

// Case of a triangle by the signs of (m1, m2, m3), m2 the centre.
constexpr int kCases[3][3][3] = {
    {{0, 0, 8}, {0, 2, 5}, {7, 6, 9}},
    {{0, 3, 4}, {1, 3, 1}, {4, 3, 0}},
    {{9, 6, 7}, {5, 2, 0}, {8, 0, 0}},
};

int round(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

PixelPoint vertex(const CellVertices& v, int p)
{
    return {round(v.xh[p]), round(v.yh[p])};
}

PixelPoint crossing(const CellVertices& v, int p, int q)
{
    return {round(CruzaX(v, p, q)), round(CruzaY(v, p, q))};
}

}  // namespace

void CellSegments(const CellVertices& v, std::vector<PixelPoint>& points)
{
    int s[5];
    for (int m = 0; m < 5; ++m) s[m] = sign(v.h[m]);
    for (int m = 1; m <= 4; ++m) {
        const int m1 = m, m2 = 0, m3 = m == 4 ? 1 : m + 1;
        switch (kCases[s[m1] + 1][s[m2] + 1][s[m3] + 1]) {
        case 0: break;
        case 1: points.push_back(vertex(v, m1)); points.push_back(vertex(v, m2)); break;
        case 2: points.push_back(vertex(v, m2)); points.push_back(vertex(v, m3)); break;
        case 3: points.push_back(vertex(v, m3)); points.push_back(vertex(v, m1)); break;
        case 4: points.push_back(vertex(v, m1)); points.push_back(crossing(v, m2, m3)); break;
        case 5: points.push_back(vertex(v, m2)); points.push_back(crossing(v, m3, m1)); break;
        case 6: points.push_back(vertex(v, m3)); points.push_back(crossing(v, m1, m2)); break;
        case 7: points.push_back(crossing(v, m1, m2)); points.push_back(crossing(v, m2, m3)); break;
        case 8: points.push_back(crossing(v, m2, m3)); points.push_back(crossing(v, m3, m1)); break;
        case 9: points.push_back(crossing(v, m3, m1)); points.push_back(crossing(v, m1, m2)); break;
        }
    }
}

CellVertices CellAt(const ContourGrid& g, int i, int j, double z)
{
    CellVertices v;
    const int column[5] = {0, i, i + 1, i + 1, i};
    const int row[5] = {0, j, j, j + 1, j + 1};
    for (int m = 4; m >= 1; --m) {
        v.h[m] = g.grid.at(column[m], row[m]) - z;
        v.xh[m] = g.PixelX[static_cast<std::size_t>(column[m] - 1)];
        v.yh[m] = g.PixelY[static_cast<std::size_t>(row[m] - 1)];
    }
    v.h[0] = (v.h[1] + v.h[2] + v.h[3] + v.h[4]) / 4;
    v.xh[0] = (g.PixelX[static_cast<std::size_t>(i - 1)] + g.PixelX[static_cast<std::size_t>(i)]) / 2.0;
    v.yh[0] = (g.PixelY[static_cast<std::size_t>(j - 1)] + g.PixelY[static_cast<std::size_t>(j)]) / 2.0;
    return v;
}

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

std::vector<PixelPoint> TracaContorno(double z, const ContourGrid& g, const CellRanges& ranges)
{
    std::vector<PixelPoint> points;
    for (int j = g.HalfRows - 1; j >= 1; --j) {
        for (int i = 1; i <= g.NX; ++i) {
            // A triangle whose two outer corners lie on the same side of the
            // level gives no segment whatever its centre (the mean of the
            // corners cannot lie on the other side), so such cells are skipped.
            if (ranges.low(i, j) > z || ranges.high(i, j) < z) continue;
            CellSegments(CellAt(g, i, j, z), points);
        }
    }
    return points;
}

std::vector<std::vector<PixelPoint>> TracaContornos(const std::vector<double>& levels, const ContourGrid& g)
{
    std::vector<std::pair<double, std::size_t>> sorted;  // (level, its place in `levels`)
    for (std::size_t k = 0; k < levels.size(); ++k) sorted.emplace_back(levels[k], k);
    std::sort(sorted.begin(), sorted.end());
    std::vector<std::vector<PixelPoint>> points(levels.size());
    const CellRanges ranges(g);
    for (int j = g.HalfRows - 1; j >= 1; --j) {
        for (int i = 1; i <= g.NX; ++i) {
            const double low = ranges.low(i, j), high = ranges.high(i, j);
            auto z = std::lower_bound(sorted.begin(), sorted.end(), low, [](const auto& level, double v) { return level.first < v; });
            for (; z != sorted.end() && z->first <= high; ++z) CellSegments(CellAt(g, i, j, z->first), points[z->second]);
        }
    }
    return points;
}

std::vector<PixelPoint> TracaContorno(double z, const ContourGrid& g)
{
    return TracaContorno(z, g, CellRanges(g));
}

}  // namespace kavrin
