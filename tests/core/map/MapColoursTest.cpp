#include "map/MapColours.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace kavrin;

TEST(MapColours, LevelsOfHalfAMilligramAndTheirColours)
{
    const auto L = MapLevels(0.5);
    EXPECT_DOUBLE_EQ(L[0], 0.001);
    EXPECT_NEAR(L[1], 0.0028867513, 1e-10);
    EXPECT_DOUBLE_EQ(L[2], 0.5 / 60);
    EXPECT_DOUBLE_EQ(L[3], 0.5 * 2 / 60);
    EXPECT_EQ(L[61], 0.5);
    const struct {
        int k;
        std::int64_t index;
        Rgb colour;
    } cases[] = {
        {0, 1018, {212, 214, 255}}, {1, 1014, {141, 147, 255}}, {2, 1003, {70, 87, 255}},
        {3, 986, {0, 34, 255}},     {31, 510, {0, 255, 0}},     {61, 0, {255, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IndiceCor(L[c.k], 0.5, 0), c.index) << c.k;
        EXPECT_EQ(LevelColour(L, c.k, 0.5), c.colour) << c.k;
    }
}

TEST(MapColours, ScaleCellsRunFromPaleBlueToRed)
{
    const struct {
        int n;
        Rgb colour;
    } cases[] = {
        {1, {212, 238, 255}},  // index 994.5 rounds to the even 994
        {2, {141, 192, 255}}, {3, {70, 146, 255}}, {4, {0, 102, 255}}, {20, {0, 255, 0}}, {40, {255, 0, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(ScaleCellColour(c.n, 0.5), c.colour) << c.n;
    EXPECT_EQ(IndiceCor(0.5 * 39 / 40, 0, 0.5), 994);
    EXPECT_EQ(IndiceCor(0.5 * 38 / 40, 0, 0.5), 969);
    EXPECT_EQ(IndiceCor(0.5 * 37 / 40, 0, 0.5), 944);
    EXPECT_EQ(IndiceCor(0.5 * 36 / 40, 0, 0.5), 918);
}

TEST(MapColours, RainbowSegmentsAndTheWrapOfTheLowEightBits)
{
    const struct {
        std::int64_t inc;
        int brightening;
        Rgb colour;
    } cases[] = {
        {0, 0, {255, 0, 0}},          {255, 0, {255, 255, 0}},
        {510, 0, {0, 255, 0}},        {765, 0, {0, 255, 255}},
        {1020, 0, {0, 0, 255}},       {1275, 0, {255, 0, 255}},
        {1530, 0, {255, 0, 0}},       {300, 0, {210, 255, 0}},
        {-10, 0, {255, 246, 0}},      {1600, 0, {255, 0, 186}},
        {1020, 212, {212, 212, 255}}, {100, 212, {211, 56, 0}},  // 255 + 212 and 100 + 212 keep their low eight bits
    };
    for (const auto& c : cases) EXPECT_EQ(IndexColour(c.inc, c.brightening), c.colour) << c.inc;
    EXPECT_EQ(Brightening(0), 212);
    EXPECT_EQ(Brightening(1), 141);
    EXPECT_EQ(Brightening(2), 70);
    EXPECT_EQ(Brightening(3), 0);
}

TEST(MapColours, SmallSourcesShareTheLowestLevelAndZeroFails)
{
    const auto L = MapLevels(0.03);
    EXPECT_EQ(L[2], 0.001);
    EXPECT_EQ(L[3], 0.001);
    EXPECT_DOUBLE_EQ(L[1], 0.001);
    EXPECT_GT(L[4], 0.001);
    EXPECT_THROW(LevelColour(MapLevels(0), 5, 0), FloatError);
    EXPECT_THROW(ScaleCellColour(5, 0), FloatError);
}

TEST(MapColours, ASourceNearTheLargestNumberKeepsTheScalesColours)
{
    // (c − a) × 1020 overflows for c beyond 1.7e305, C0 × k for C0 beyond
    // 4e306: the indices are those of the same fractions of a source of
    // 1 mg/L, within the rounding of a half, and every level is finite.
    for (double C0 : {5e306, 1.7e308}) {
        for (int n = 1; n <= kScaleCells; ++n) {
            const std::int64_t index = IndiceCor(FractionOf(C0, kScaleCells - n, kScaleCells), 0, C0);
            EXPECT_LE(std::llabs(index - IndiceCor(1.0 * (kScaleCells - n) / kScaleCells, 0, 1)), 1) << C0 << " " << n;
        }
        const auto levels = MapLevels(C0);
        for (int k = 2; k < kLevelCount; ++k) {
            ASSERT_TRUE(std::isfinite(levels[static_cast<std::size_t>(k)])) << C0 << " " << k;
            const std::int64_t index = IndiceCor(levels[static_cast<std::size_t>(k)], C0, 0);
            EXPECT_LE(std::llabs(index - IndiceCor(1.0 * (k - 1) / 60, 1, 0)), 1) << C0 << " " << k;
        }
    }
}
