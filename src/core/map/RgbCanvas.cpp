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

namespace {

// Bresenham: the major axis steps by one, the minor one when the error passes
// half a pixel; every pixel from `from` up to, not including, `to`.
template <class Paint>
void walkLine(PixelPoint from, PixelPoint to, Paint paint)
{
    const long long dx = std::llabs(static_cast<long long>(to.x) - from.x),
                    dy = std::llabs(static_cast<long long>(to.y) - from.y);
    const int sx = from.x < to.x ? 1 : -1, sy = from.y < to.y ? 1 : -1;
    long long x = from.x, y = from.y, error = dx - dy;
    while (x != to.x || y != to.y) {
        paint(x, y);
        const long long twice = 2 * error;
        if (twice > -dy) error -= dy, x += sx;
        if (twice < dx) error += dx, y += sy;
    }
}

}  // namespace

void RgbCanvas::line(PixelPoint from, PixelPoint to, Rgb c)
{
    walkLine(from, to, [&](long long x, long long y) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) pixel(static_cast<int>(x), static_cast<int>(y), c);
    });
}

void RgbCanvas::line(PixelPoint from, PixelPoint to, Rgb c, int width)
{
    const int before = (width - 1) / 2, after = width / 2;
    walkLine(from, to, [&](long long x, long long y) {
        if (x + after < 0 || y + after < 0 || x - before >= width_ || y - before >= height_) return;
        for (long long row = y - before; row <= y + after; ++row)
            span(static_cast<int>(row), static_cast<int>(std::max(x - before, 0LL)), static_cast<int>(x + after), c);
    });
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

long long floorDiv(long long a, long long b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

long long ceilDiv(long long a, long long b)
{
    return -floorDiv(-a, b);
}

}  // namespace

void RgbCanvas::polygon(std::span<const PixelPoint> vertices, Rgb c)
{
    const std::size_t n = vertices.size();
    if (n == 0) return;
    // The inside: each row y crosses the edges with upper.y <= y < lower.y.
    if (n <= kSmallPolygon) {
        smallPolygonInside(vertices, c);
    } else {
        sweptPolygonInside(vertices, c);
    }
    // The outline in the pen: every vertex starts one of the lines.
    for (std::size_t k = 0; k < n; ++k) {
        pixel(vertices[k].x, vertices[k].y, c);
        line(vertices[k], vertices[(k + 1) % n], c);
    }
}

void RgbCanvas::fillRow(int y, std::span<Crossing> crossings, Rgb c)
{
    for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
        const long long x0 = ceilDiv(crossings[k].num, crossings[k].den),
                        x1 = floorDiv(crossings[k + 1].num, crossings[k + 1].den);
        if (x0 <= x1 && x1 >= 0 && x0 < width_)
            span(y, static_cast<int>(std::max(x0, 0LL)), static_cast<int>(std::min<long long>(x1, width_ - 1)), c);
    }
}

RgbCanvas::Crossing RgbCanvas::crossingAt(const Edge& e, int y)
{
    const long long den = static_cast<long long>(e.lower.y) - e.upper.y;
    return {static_cast<long long>(e.upper.x) * den +
                (static_cast<long long>(y) - e.upper.y) * (static_cast<long long>(e.lower.x) - e.upper.x),
            den};
}

bool RgbCanvas::before(const Crossing& a, const Crossing& b)
{
    return static_cast<__int128>(a.num) * b.den < static_cast<__int128>(b.num) * a.den;
}

// A few vertices (the parts of a cell): every edge looked at on every row,
// in fixed room; the same rows and crossings as the sweep.
void RgbCanvas::smallPolygonInside(std::span<const PixelPoint> vertices, Rgb c)
{
    const std::size_t n = vertices.size();
    Edge edges[kSmallPolygon];
    std::size_t count = 0;
    int top = height_, bottom = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const PixelPoint a = vertices[k], b = vertices[(k + 1) % n];
        if (a.y == b.y) continue;
        edges[count++] = a.y < b.y ? Edge{a, b} : Edge{b, a};
        top = std::min(top, std::min(a.y, b.y));
        bottom = std::max(bottom, std::max(a.y, b.y));
    }
    Crossing crossings[kSmallPolygon];
    for (int y = std::max(top, 0); y < std::min(bottom, height_); ++y) {
        std::size_t m = 0;
        for (std::size_t k = 0; k < count; ++k) {
            if (edges[k].upper.y > y || edges[k].lower.y <= y) continue;
            // Insertion into the sorted crossings.
            const Crossing x = crossingAt(edges[k], y);
            std::size_t at = m++;
            for (; at > 0 && before(x, crossings[at - 1]); --at) crossings[at] = crossings[at - 1];
            crossings[at] = x;
        }
        fillRow(y, {crossings, m}, c);
    }
}

void RgbCanvas::sweptPolygonInside(std::span<const PixelPoint> vertices, Rgb c)
{
    const std::size_t n = vertices.size();
    std::vector<Edge>& edges = edges_;
    edges.clear();
    for (std::size_t k = 0; k < n; ++k) {
        const PixelPoint a = vertices[k], b = vertices[(k + 1) % n];
        if (a.y == b.y) continue;
        edges.push_back(a.y < b.y ? Edge{a, b} : Edge{b, a});
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.upper.y < b.upper.y; });
    std::vector<const Edge*>& active = active_;
    std::vector<Crossing>& crossings = crossings_;
    active.clear();
    std::size_t next = 0;
    const int firstRow = edges.empty() ? 0 : std::max(edges.front().upper.y, 0);
    for (int y = firstRow; y < height_ && (next < edges.size() || !active.empty()); ++y) {
        while (next < edges.size() && edges[next].upper.y <= y) {
            if (edges[next].lower.y > y) active.push_back(&edges[next]);
            ++next;
        }
        std::erase_if(active, [y](const Edge* e) { return e->lower.y <= y; });
        crossings.clear();
        for (const Edge* e : active) crossings.push_back(crossingAt(*e, y));
        std::sort(crossings.begin(), crossings.end(), before);
        fillRow(y, crossings, c);
    }
}

}  // namespace kavrin
