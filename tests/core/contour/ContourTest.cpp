#include "contour/CellSegments.h"
#include "contour/LevelRegion.h"
#include "contour/MontaPoligono.h"
#include "contour/TracaContorno.h"
#include "core/map/MapTestSupport.h"
#include "map/MapColours.h"
#include "map/MapGeometry.h"
#include "support/ContourOracles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>

using namespace kavrin;
using kavrin::test::MontaPoligonoByScan;
using kavrin::test::TracaContornoByScan;

namespace {

// A small grid drawn on a regular pixel lattice: column i at 50 + 10 (i − 1),
// row k at 100 + 10 (k − 1).
struct SmallGrid {
    ResultGrid grid;
    int NX, HalfRows;
    std::vector<int> PixelX, PixelY;
    SmallGrid(int nx, int rows) : NX(nx), HalfRows(rows)
    {
        for (int i = 1; i <= nx + 1; ++i) PixelX.push_back(50 + 10 * (i - 1));
        for (int k = 1; k <= rows; ++k) PixelY.push_back(100 + 10 * (k - 1));
    }
    ContourGrid contour() const { return {grid, NX, HalfRows, PixelX, PixelY}; }
};

// The contour as the map makes it, the cells' ranges found for the one level.
std::vector<PixelPoint> TracaContorno(double z, const ContourGrid& g)
{
    std::vector<PixelPoint> E;
    kavrin::TracaContorno(z, g, CellRanges(g), E);
    return E;
}

// The polygons of a level's region, in the order they are handed over.
std::vector<PixelPolygon> LevelRegion(double z, const ContourGrid& g, std::optional<int> PlotCentre)
{
    std::vector<PixelPolygon> region;
    kavrin::LevelRegion(z, g, PlotCentre, [&](std::span<const PixelPoint> p) { region.emplace_back(p.begin(), p.end()); });
    return region;
}

CellVertices cell(std::array<double, 5> h, std::array<double, 5> x, std::array<double, 5> y)
{
    CellVertices v;
    for (int m = 0; m < 5; ++m) v.h[m] = v.exact[m] = h[m], v.xh[m] = x[m], v.yh[m] = y[m];
    return v;
}

}  // namespace

TEST(Contour, CrossingAQuarterOfTheWay)
{
    const CellVertices v = cell({0, -0.5, 1.5, 0, 0}, {0, 40, 80, 0, 0}, {0, 100, 180, 0, 0});
    EXPECT_EQ(CruzaX(v, 1, 2), (1.5 * 40 + 0.5 * 80) / 2);
    EXPECT_EQ(CruzaY(v, 1, 2), (1.5 * 100 + 0.5 * 180) / 2);
}

TEST(Contour, CrossingsOfExtremeValuesStayOnTheirEdge)
{
    // Differences near the largest double: their products with a pixel
    // coordinate, or the difference of two of them, overflow in double.
    SmallGrid g(1, 2);
    struct Case {
        double a, b, z;  // column 1 and column 2 of both rows, the level
        int x;           // where the crossing lies
    };
    for (const Case& c : {Case{-1.7e308, 1.7e308, 0, 55}, Case{0, 1.7e308, 0.85e308, 55}, Case{-1e308, 1.5e308, -1e308, 50},
                          Case{1e308, -0.5e308, 0.25e308, 55}, Case{5e306, -5e306, 0, 55}}) {
        for (int j = 1; j <= 2; ++j) g.grid.set(1, j, c.a), g.grid.set(2, j, c.b);
        const std::vector<PixelPoint> E = TracaContorno(c.z, g.contour());
        ASSERT_FALSE(E.empty()) << c.a << " " << c.b;
        for (const PixelPoint& p : E) {
            EXPECT_TRUE(50 <= p.x && p.x <= 60 && 100 <= p.y && p.y <= 110) << p.x << "," << p.y << " for " << c.a << " " << c.b;
            if (p.y != 100 && p.y != 110) continue;
            EXPECT_EQ(p.x, c.x) << c.a << " " << c.b;  // on a row the level crosses at its own place
        }
    }
}

TEST(Contour, NoSegmentWhenTheLevelMissesTheGrid)
{
    SmallGrid g(3, 3);
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 3; ++j) g.grid.set(i, j, 1 + i * j);
    EXPECT_TRUE(TracaContorno(0.5, g.contour()).empty());  // all above
    EXPECT_TRUE(TracaContorno(100, g.contour()).empty());  // all below
}

TEST(Contour, AnAllEqualCellGivesItsFourEdges)
{
    SmallGrid g(1, 2);
    for (int i = 1; i <= 2; ++i)
        for (int j = 1; j <= 2; ++j) g.grid.set(i, j, 0.25);
    const std::vector<PixelPoint> expected = {
        {60, 100}, {50, 100},  // triangle 1: corner 2 to corner 1
        {60, 110}, {60, 100},  // triangle 2
        {50, 110}, {60, 110},  // triangle 3
        {50, 100}, {50, 110},  // triangle 4: back to corner 1
    };
    EXPECT_EQ(TracaContorno(0.25, g.contour()), expected);
}

TEST(Contour, CasesOfOneCellRoundedHalvesToEven)
{
    // Corners 0, 2, 2, 0 around a centre of 1 at (55, 105); at the level 0.5
    // every crossing lies a quarter of the way from the low end, on a half pixel.
    SmallGrid g(1, 2);
    g.grid.set(1, 1, 0), g.grid.set(2, 1, 2), g.grid.set(2, 2, 2), g.grid.set(1, 2, 0);
    const std::vector<PixelPoint> expected = {
        {52, 100}, {52, 102},  // triangle 1 (−, +, +), case 9: 52.5 → 52, 102.5 → 102
        {52, 108}, {52, 110},  // triangle 2 (+, +, +) has none; triangle 3 (+, +, −), case 8: 107.5 → 108
        {52, 108}, {52, 102},  // triangle 4 (−, +, −), case 7
    };
    EXPECT_EQ(TracaContorno(0.5, g.contour()), expected);
}

namespace {

// End points with many duplicates and every special place: the left edge,
// the top row, the right edge x = 600 and beyond it.
std::vector<PixelPoint> randomPoints(std::mt19937& random, int count, int topRow)
{
    std::uniform_int_distribution<int> xs(50, 602), ys(topRow, topRow + 30), pick(0, 9);
    std::vector<PixelPoint> points;
    for (int n = 0; n < count; ++n) {
        PixelPoint p{xs(random), ys(random)};
        switch (pick(random)) {
        case 0:
            p.x = 50;
            break;
        case 1:
            p.y = topRow;
            break;
        case 2:
            p.x = 600;
            break;
        case 3:
            if (!points.empty()) p = points[random() % points.size()];
            break;
        default:
            break;
        }
        points.push_back(p);
    }
    return points;
}

}  // namespace

TEST(Contour, TheIndexedWalkIsTheScanningWalkOnRandomPoints)
{
    std::mt19937 random(12345);
    for (int trial = 0; trial < 400; ++trial) {
        const int count = 1 + trial % 97;
        const std::vector<PixelPoint> E = randomPoints(random, count, 100);
        ASSERT_EQ(MontaPoligono(E, 100, 200), MontaPoligonoByScan(E, 100, 200)) << "trial " << trial;
    }
}

TEST(Contour, TheIndexedWalkIsTheScanningWalkOnGrids)
{
    // Coarse integer values give ties, vertices on the level and plumes that
    // reach the top row; a real run gives the ordinary case.
    std::mt19937 random(777);
    for (int trial = 0; trial < 40; ++trial) {
        SmallGrid g(20 + trial % 7, 12);
        std::uniform_int_distribution<int> value(0, 3);
        for (int i = 1; i <= g.NX + 1; ++i)
            for (int j = 1; j <= g.HalfRows; ++j) g.grid.set(i, j, value(random));
        for (double z : {0.5, 1.0, 2.0, 2.5}) {
            const std::vector<PixelPoint> E = TracaContorno(z, g.contour());
            ASSERT_EQ(MontaPoligono(E, 100, 220), MontaPoligonoByScan(E, 100, 220)) << trial << " " << z;
        }
    }
    const ModelState m = kavrin::test::DesignModel({{"T1", "20000"}, {"Y0", "-12"}});
    const ResultGrid grid = kavrin::test::GridAtTime(m, 20000);  // wider than the grid: it reaches the top row
    const MapGeometry geometry = DefineMapGeometry(m);
    const ContourGrid contour{grid, geometry.NX, geometry.HalfRows, geometry.PixelX, geometry.PixelY};
    const auto levels = MapLevels(m.C0);
    for (double z : levels) {
        const std::vector<PixelPoint> E = TracaContorno(z, contour);
        ASSERT_EQ(MontaPoligono(E, geometry.PixelY[0], geometry.PlotCentre),
                  MontaPoligonoByScan(E, geometry.PixelY[0], geometry.PlotCentre))
            << z;
    }
}

TEST(Contour, SkippingCellsOutsideTheLevelGivesTheLevelsOwnPoints)
{
    const ModelState m = kavrin::test::DesignModel();
    const ResultGrid grid = kavrin::test::GridAtTime(m, 2500);
    const MapGeometry geometry = DefineMapGeometry(m);
    const ContourGrid contour{grid, geometry.NX, geometry.HalfRows, geometry.PixelX, geometry.PixelY};
    const auto map = MapLevels(m.C0);
    // The map's levels, and levels out of order with repeats and values on nodes.
    for (const std::vector<double>& levels :
         {std::vector<double>(map.begin(), map.end()), std::vector<double>{0.3, 0.001, 0.3, 0.5, 0, 1}}) {
        const CellRanges ranges(contour);
        std::vector<PixelPoint> E{{1, 2}};  // what a level before left
        for (double z : levels) {
            kavrin::TracaContorno(z, contour, ranges, E);
            EXPECT_EQ(E, TracaContornoByScan(z, contour)) << z;
        }
    }
}

TEST(Contour, RowBlocksAreSkippedOnlyWhenEachOfTheirCellsIs)
{
    // 37 cells a row (blocks of 16, 16 and 5), values of a few decades with
    // a level on nodes and cells far above every level.
    SmallGrid g(37, 7);
    std::mt19937 random(27);
    std::uniform_real_distribution<double> exponent(-4, 0);
    for (int i = 1; i <= 38; ++i)
        for (int k = 1; k <= 7; ++k) g.grid.set(i, k, std::pow(10.0, exponent(random)));
    g.grid.set(3, 2, 0.05);
    g.grid.set(35, 5, 1e300);
    g.grid.set(17, 6, 1e300);
    g.grid.set(38, 7, 1e300);
    const ContourGrid contour = g.contour();
    const CellRanges ranges(contour);
    std::vector<PixelPoint> E;
    for (double z : {0.0, 1e-5, 1e-3, 0.05, 0.5, 0.99, 2.0}) {
        kavrin::TracaContorno(z, contour, ranges, E);
        EXPECT_EQ(E, TracaContornoByScan(z, contour)) << z;
    }
}

TEST(Contour, TheWalkFollowsTheTopEdgeToTheCornerAndClosesWithItsMirror)
{
    // A band that leaves the left edge at y 120, reaches the top row at x 300
    // and ends there: the corner (600, 100) joins and is reached along the top.
    const std::vector<PixelPoint> E = {{50, 120}, {200, 110}, {200, 110}, {300, 100}, {250, 100}};
    const PixelPolygon outline = MontaPoligono(E, 100, 150);
    const PixelPolygon expected = {{50, 120},  {50, 120},  {200, 110}, {200, 110}, {250, 100}, {300, 100}, {600, 100},
                                   {600, 200}, {300, 200}, {250, 200}, {200, 190}, {200, 190}, {50, 180}};
    EXPECT_EQ(outline, expected);
    EXPECT_EQ(MontaPoligonoByScan(E, 100, 150), expected);
}

TEST(Contour, RegionOfALevelAboveOrBelowEveryNode)
{
    SmallGrid g(4, 3);
    for (int i = 1; i <= 5; ++i)
        for (int j = 1; j <= 3; ++j) g.grid.set(i, j, 0.2 + 0.1 * i);
    EXPECT_TRUE(LevelRegion(5, g.contour(), 120).empty());
    // Every node at or above: the cells of each row as one rectangle, and its mirror.
    const std::vector<PixelPolygon> all = LevelRegion(0.3, g.contour(), 120);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[1], (PixelPolygon{{50, 110}, {90, 110}, {90, 120}, {50, 120}}));
    EXPECT_EQ(all[0], (PixelPolygon{{50, 130}, {90, 130}, {90, 120}, {50, 120}}));
}

TEST(Contour, RegionOfAGridDrawnWholeHasNoMirrorImages)
{
    SmallGrid g(4, 3);
    for (int i = 1; i <= 5; ++i)
        for (int j = 1; j <= 3; ++j) g.grid.set(i, j, j == 3 ? 0 : 1);
    // Rows 1 and 2 at or above the level; the cells of row 2 are crossed.
    const std::vector<PixelPolygon> whole = LevelRegion(0.5, g.contour(), std::nullopt);
    const std::vector<PixelPolygon> mirrored = LevelRegion(0.5, g.contour(), 120);
    ASSERT_EQ(mirrored.size(), 2 * whole.size());
    for (std::size_t k = 0; k < whole.size(); ++k) EXPECT_EQ(whole[k], mirrored[2 * k + 1]) << k;
    for (const PixelPolygon& part : whole)
        for (const PixelPoint& p : part) EXPECT_TRUE(p.y >= 100 && p.y <= 120) << p.x << "," << p.y;
}
