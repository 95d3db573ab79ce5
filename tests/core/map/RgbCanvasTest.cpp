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
