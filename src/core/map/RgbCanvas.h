// A raster canvas over 24-bit RGB pixels (three bytes per pixel, rows
// `stride` bytes apart): lines, rectangles and filled polygons drawn without
// antialiasing by one fixed pixel rule, clipped to the canvas.
#pragma once

#include "contour/PixelPoint.h"
#include "map/MapColours.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kavrin {

class RgbCanvas {
public:
    RgbCanvas(std::uint8_t* bits, int width, int height, std::ptrdiff_t stride)
        : bits_(bits), width_(width), height_(height), stride_(stride)
    {
    }

    int width() const { return width_; }
    int height() const { return height_; }
    Rgb at(int x, int y) const;

    void pixel(int x, int y, Rgb c);
    // Pixels x0 … x1 of row y.
    void span(int y, int x0, int x1, Rgb c);
    // A line of the pen: every pixel from `from` up to, not including, `to`.
    void line(PixelPoint from, PixelPoint to, Rgb c);
    // The same pixels, each painted as a `width` × `width` square: from
    // (width − 1) / 2 left of and above the pixel to width / 2 right of and below it.
    void line(PixelPoint from, PixelPoint to, Rgb c, int width);
    // Outline in `pen` on the border pixels, inside in `brush`; the right
    // and bottom coordinates lie just outside.
    void rectangle(int left, int top, int right, int bottom, Rgb pen, Rgb brush);
    // Pen and brush of one colour: the lines between successive vertices
    // (the last back to the first) and every pixel inside by the even-odd rule.
    void polygon(std::span<const PixelPoint> vertices, Rgb c);

private:
    // The polygon fill's working lists, kept from polygon to polygon.
    struct Edge {
        PixelPoint upper, lower;  // upper.y < lower.y
    };
    struct Crossing {  // of an edge with a row: the exact fraction num / den (den > 0)
        long long num, den;
    };

    static constexpr std::size_t kSmallPolygon = 8;
    static Crossing crossingAt(const Edge& e, int y);
    static bool before(const Crossing& a, const Crossing& b);
    void fillRow(int y, std::span<Crossing> sorted, Rgb c);
    void smallPolygonInside(std::span<const PixelPoint> vertices, Rgb c);
    void sweptPolygonInside(std::span<const PixelPoint> vertices, Rgb c);

    std::uint8_t* bits_;
    int width_, height_;
    std::ptrdiff_t stride_;
    std::vector<Edge> edges_;
    std::vector<const Edge*> active_;
    std::vector<Crossing> crossings_;
};

}  // namespace kavrin
