#include "contour/CellSegments.h"

#include <cmath>

namespace kavrin {

namespace {

// (h2·a1 − h1·a2) / (h2 − h1): in double as the map has always drawn it, and
// in extended precision when a product or the difference overflows, so that
// a finite grid and level always give a point between the edge's ends.
double crossing(const CellVertices& v, const double* a, int p1, int p2)
{
    const double numerator = v.h[p2] * a[p1] - v.h[p1] * a[p2], denominator = v.h[p2] - v.h[p1];
    if (std::isfinite(numerator) && std::isfinite(denominator)) return numerator / denominator;
    const long double e1 = v.exact[p1], e2 = v.exact[p2];
    return static_cast<double>((e2 * a[p1] - e1 * a[p2]) / (e2 - e1));
}

}  // namespace

double CruzaX(const CellVertices& v, int p1, int p2)
{
    return crossing(v, v.xh, p1, p2);
}

double CruzaY(const CellVertices& v, int p1, int p2)
{
    return crossing(v, v.yh, p1, p2);
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

PixelPoint vertex(const CellVertices& v, int p)
{
    return {RoundPixel(v.xh[p]), RoundPixel(v.yh[p])};
}

PixelPoint crossing(const CellVertices& v, int p, int q)
{
    return {RoundPixel(CruzaX(v, p, q)), RoundPixel(CruzaY(v, p, q))};
}

}  // namespace

void CellSegments(const CellVertices& v, std::vector<PixelPoint>& points)
{
    int s[5];
    for (int m = 0; m < 5; ++m) s[m] = sign(v.h[m]);
    for (int m = 1; m <= 4; ++m) {
        const int m1 = m, m2 = 0, m3 = m == 4 ? 1 : m + 1;
        switch (kCases[s[m1] + 1][s[m2] + 1][s[m3] + 1]) {
        case 0:
            break;
        case 1:
            points.push_back(vertex(v, m1));
            points.push_back(vertex(v, m2));
            break;
        case 2:
            points.push_back(vertex(v, m2));
            points.push_back(vertex(v, m3));
            break;
        case 3:
            points.push_back(vertex(v, m3));
            points.push_back(vertex(v, m1));
            break;
        case 4:
            points.push_back(vertex(v, m1));
            points.push_back(crossing(v, m2, m3));
            break;
        case 5:
            points.push_back(vertex(v, m2));
            points.push_back(crossing(v, m3, m1));
            break;
        case 6:
            points.push_back(vertex(v, m3));
            points.push_back(crossing(v, m1, m2));
            break;
        case 7:
            points.push_back(crossing(v, m1, m2));
            points.push_back(crossing(v, m2, m3));
            break;
        case 8:
            points.push_back(crossing(v, m2, m3));
            points.push_back(crossing(v, m3, m1));
            break;
        case 9:
            points.push_back(crossing(v, m3, m1));
            points.push_back(crossing(v, m1, m2));
            break;
        }
    }
}

CellVertices CellAt(const ContourGrid& g, int i, int j, double z)
{
    CellVertices v;
    const int column[5] = {0, i, i + 1, i + 1, i};
    const int row[5] = {0, j, j, j + 1, j + 1};
    double value[5] = {};
    for (int m = 4; m >= 1; --m) {
        value[m] = g.grid.at(column[m], row[m]);
        v.h[m] = value[m] - z;
        v.xh[m] = g.PixelX[static_cast<std::size_t>(column[m] - 1)];
        v.yh[m] = g.PixelY[static_cast<std::size_t>(row[m] - 1)];
    }
    v.h[0] = (v.h[1] + v.h[2] + v.h[3] + v.h[4]) / 4;
    v.xh[0] = (g.PixelX[static_cast<std::size_t>(i - 1)] + g.PixelX[static_cast<std::size_t>(i)]) / 2.0;
    v.yh[0] = (g.PixelY[static_cast<std::size_t>(j - 1)] + g.PixelY[static_cast<std::size_t>(j)]) / 2.0;
    if (std::isfinite(v.h[0])) {
        for (int m = 0; m < 5; ++m) v.exact[m] = v.h[m];
        return v;
    }
    // A difference or the corners' sum overflowed: the signs come from the
    // extended values (an overflowed difference keeps its sign, a sum of
    // opposite infinities has none).
    for (int m = 1; m <= 4; ++m) v.exact[m] = static_cast<long double>(value[m]) - z;
    v.exact[0] = (v.exact[1] + v.exact[2] + v.exact[3] + v.exact[4]) / 4;
    if (std::isnan(v.h[0])) v.h[0] = static_cast<double>(v.exact[0]);
    return v;
}

}  // namespace kavrin
