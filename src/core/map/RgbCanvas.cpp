#include "map/RgbCanvas.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace kavrin {

Rgb RgbCanvas::at(int x, int y) const
{
    const std::uint8_t* p = bits_ + y * stride_ + 3 * x;
    return {p[0], p[1], p[2]};
}

void RgbCanvas::pixel(int x, int y, Rgb c)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    std::uint8_t* p = bits_ + y * stride_ + 3 * x;
    p[0] = c.r, p[1] = c.g, p[2] = c.b;
}

void RgbCanvas::span(int y, int x0, int x1, Rgb c)
{
    if (y < 0 || y >= height_) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, width_ - 1);
    std::uint8_t* p = bits_ + y * stride_ + 3 * x0;
    for (int x = x0; x <= x1; ++x, p += 3) p[0] = c.r, p[1] = c.g, p[2] = c.b;
}

void RgbCanvas::line(PixelPoint from, PixelPoint to, Rgb c)
{
    // Bresenham: the major axis steps by one, the minor one when the error
    // passes half a pixel.
    const long long dx = std::llabs(static_cast<long long>(to.x) - from.x), dy = std::llabs(static_cast<long long>(to.y) - from.y);
    const int sx = from.x < to.x ? 1 : -1, sy = from.y < to.y ? 1 : -1;
    long long x = from.x, y = from.y, error = dx - dy;
    while (x != to.x || y != to.y) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) pixel(static_cast<int>(x), static_cast<int>(y), c);
        const long long twice = 2 * error;
        if (twice > -dy) error -= dy, x += sx;
        if (twice < dx) error += dx, y += sy;
    }
}

void RgbCanvas::rectangle(int left, int top, int right, int bottom, Rgb pen, Rgb brush)
{
    if (right <= left || bottom <= top) return;
    for (int y = top; y < bottom; ++y) {
        if (y == top || y == bottom - 1) {
            span(y, left, right - 1, pen);
        } else {
            pixel(left, y, pen);
            span(y, left + 1, right - 2, brush);
            pixel(right - 1, y, pen);
        }
    }
}

namespace {

// The crossing of an edge with a row, as the exact fraction num / den (den > 0).
struct Crossing {
    long long num, den;
    bool operator<(const Crossing& o) const { return static_cast<__int128>(num) * o.den < static_cast<__int128>(o.num) * den; }
};

long long floorDiv(long long a, long long b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

long long ceilDiv(long long a, long long b)
{
    return -floorDiv(-a, b);
}

struct Edge {
    PixelPoint upper, lower;  // upper.y < lower.y
};

}  // namespace

void RgbCanvas::polygon(std::span<const PixelPoint> vertices, Rgb c)
{
    const std::size_t n = vertices.size();
    if (n == 0) return;
    // The inside: each row y crosses the edges with upper.y <= y < lower.y.
    std::vector<Edge> edges;
    edges.reserve(n);
    for (std::size_t k = 0; k < n; ++k) {
        const PixelPoint a = vertices[k], b = vertices[(k + 1) % n];
        if (a.y == b.y) continue;
        edges.push_back(a.y < b.y ? Edge{a, b} : Edge{b, a});
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.upper.y < b.upper.y; });
    std::vector<const Edge*> active;
    std::vector<Crossing> crossings;
    std::size_t next = 0;
    const int firstRow = edges.empty() ? 0 : std::max(edges.front().upper.y, 0);
    for (int y = firstRow; y < height_ && (next < edges.size() || !active.empty()); ++y) {
        while (next < edges.size() && edges[next].upper.y <= y) {
            if (edges[next].lower.y > y) active.push_back(&edges[next]);
            ++next;
        }
        std::erase_if(active, [y](const Edge* e) { return e->lower.y <= y; });
        crossings.clear();
        for (const Edge* e : active) {
            const long long den = static_cast<long long>(e->lower.y) - e->upper.y;
            crossings.push_back({static_cast<long long>(e->upper.x) * den + (static_cast<long long>(y) - e->upper.y) * (static_cast<long long>(e->lower.x) - e->upper.x), den});
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
            const long long x0 = ceilDiv(crossings[k].num, crossings[k].den), x1 = floorDiv(crossings[k + 1].num, crossings[k + 1].den);
            if (x0 <= x1 && x1 >= 0 && x0 < width_) span(y, static_cast<int>(std::max(x0, 0LL)), static_cast<int>(std::min<long long>(x1, width_ - 1)), c);
        }
    }
    // The outline in the pen: every vertex starts one of the lines.
    for (std::size_t k = 0; k < n; ++k) {
        pixel(vertices[k].x, vertices[k].y, c);
        line(vertices[k], vertices[(k + 1) % n], c);
    }
}

}  // namespace kavrin
