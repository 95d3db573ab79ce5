#include "map/RgbCanvas.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace kavrin;

namespace {

struct Picture {
    std::vector<std::uint8_t> bits = std::vector<std::uint8_t>(40 * 30 * 3, 0);
    RgbCanvas canvas() { return RgbCanvas(bits.data(), 40, 30, 40 * 3); }
};

}  // namespace

TEST(RgbCanvas, APolygonOfAFewVerticesCoversThePixelsOfTheSweep)
{
    // The same polygon with its last vertex repeated (an edge of no length)
    // is too long for the few-vertex fill and goes through the sweep.
    std::mt19937 random(99);
    std::uniform_int_distribution<int> x(-6, 45), y(-6, 35), count(1, 8);
    for (int trial = 0; trial < 3000; ++trial) {
        PixelPolygon polygon(static_cast<std::size_t>(count(random)));
        for (PixelPoint& p : polygon) p = {x(random), y(random)};
        PixelPolygon padded = polygon;
        padded.resize(9, polygon.back());
        Picture few, swept;
        RgbCanvas a = few.canvas(), b = swept.canvas();
        a.polygon(polygon, {255, 0, 0});
        b.polygon(padded, {255, 0, 0});
        ASSERT_EQ(few.bits, swept.bits) << "trial " << trial;
    }
}

TEST(RgbCanvas, AWideLinePaintsASquareAtEachOfItsPixels)
{
    std::vector<std::uint8_t> bits(30 * 20 * 3, 0);
    RgbCanvas canvas(bits.data(), 30, 20, 30 * 3);
    const Rgb c{9, 8, 7};
    canvas.line({10, 10}, {20, 10}, c, 3);
    for (int x = 9; x <= 20; ++x)
        for (int y = 9; y <= 11; ++y) EXPECT_EQ(canvas.at(x, y), c) << x << "," << y;
    for (auto [x, y] : {std::pair{8, 10}, {21, 10}, {15, 8}, {15, 12}}) EXPECT_EQ(canvas.at(x, y), (Rgb{})) << x << "," << y;
    // Width 2 reaches one pixel right and below; a line on the canvas's edge is clipped.
    canvas.line({0, 0}, {0, 5}, c, 2);
    EXPECT_EQ(canvas.at(1, 4), c);
    EXPECT_EQ(canvas.at(2, 4), (Rgb{}));
    canvas.line({29, 19}, {40, 30}, c, 3);
    EXPECT_EQ(canvas.at(28, 18), c);
}
