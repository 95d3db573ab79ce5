#include "core/map/MapTestSupport.h"
#include "map/MapGeometry.h"
#include "map/MapPicture.h"
#include "map/MapReadout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace kavrin;
using kavrin::test::BandOf;
using kavrin::test::BandShown;
using kavrin::test::DesignModel;
using kavrin::test::GridAtTime;
using kavrin::test::PaintShapes;
using kavrin::test::ZonesGridAtTime;

namespace {

MapPicture drawn(const ModelState& m, const ResultGrid& grid, const std::string& time)
{
    return DesenhaMapa({m, grid, time, true, true, '.'});
}

// The design model with three zones side by side, none on the axis: the
// first (C0 = 1 mg/L, 6 m wide, 3 m high) at y = -15, then 4 m at y = 5 with 0.6 mg/L
// and 5 m at y = 18 with 0.8 mg/L, both 2 m high.
ModelState ThreeZones(const std::vector<std::pair<std::string, std::string>>& changes = {})
{
    std::vector<std::pair<std::string, std::string>> all{{"C0", "1"}, {"SourceWidth", "6"}};
    all.insert(all.end(), changes.begin(), changes.end());
    ModelState m = DesignModel(all);
    m.Y0 = -m.Y1;
    m.source.firstZoneY = -15;
    m.source.moreZones = {{5, 0, 4, 2, 0.6}, {18, 0, 5, 2, 0.8}};
    return m;
}

}  // namespace

TEST(MapWholeRange, AFieldOffTheAxisIsDrawnWholeWithY0AtTheBottom)
{
    ModelState m = DesignModel();
    m.source.firstZoneY = 10;
    const MapGeometry g = DefineMapGeometry(m);
    EXPECT_TRUE(g.WholeYRange);
    EXPECT_FALSE(g.CentreRowRepeated);
    EXPECT_EQ(g.PlotTop, 155);
    EXPECT_EQ(g.PlotHeight, 330);
    ASSERT_EQ(g.HalfRows, 61);  // every row of the time files
    ASSERT_EQ(g.PixelY.size(), 61u);
    EXPECT_EQ(g.PixelY[0], 485);  // y = -30 on the bottom edge
    EXPECT_EQ(g.PixelY[1], 479);  // 5.5 pixels a metre, halves to even
    EXPECT_EQ(g.PixelY[2], 474);
    EXPECT_EQ(g.PixelY[30], 320);  // y = 0 on the centre line
    EXPECT_EQ(g.PixelY[60], 155);  // y = 30 on the top edge
    EXPECT_EQ(g.PixelX, DefineMapGeometry(DesignModel()).PixelX);

    // Only another zone off the axis also breaks the symmetry; a zone moved in Z keeps it.
    ModelState second = DesignModel();
    second.source.moreZones = {{0, 0, 4, 2, 1}, {-3, 0, 4, 2, 1}};
    EXPECT_TRUE(DefineMapGeometry(second).WholeYRange);
    ModelState deeper = DesignModel();
    deeper.source.firstZoneZ = 1;
    deeper.source.moreZones = {{0, -2, 40, 1, 5}};
    const MapGeometry mirrored = DefineMapGeometry(deeper);
    EXPECT_FALSE(mirrored.WholeYRange);
    EXPECT_EQ(mirrored.HalfRows, 30);
    EXPECT_EQ(mirrored.PixelY, DefineMapGeometry(DesignModel()).PixelY);
}

TEST(MapWholeRange, RowCountsOfTheTimeFilesAndTheLastRowInsideThePlot)
{
    struct Case {
        const char* DY;
        int rows;
        int lastPixel;
    };
    // Y from -30 to 30 on 330 pixels from 155.
    for (const Case& c : {Case{"10", 7, 155}, Case{"7", 10, 155}, Case{"4", 16, 155}, Case{"60", 2, 155}, Case{"50", 2, 210}}) {
        ModelState m = DesignModel({{"DY", c.DY}});
        m.source.firstZoneY = 5;
        const MapGeometry g = DefineMapGeometry(m);
        ASSERT_EQ(g.HalfRows, c.rows) << c.DY;
        EXPECT_EQ(g.PixelY.front(), 485) << c.DY;
        EXPECT_EQ(g.PixelY.back(), c.lastPixel) << c.DY;
        EXPECT_TRUE(std::is_sorted(g.PixelY.rbegin(), g.PixelY.rend())) << c.DY;
    }
    ModelState m = DesignModel();
    m.source.firstZoneY = 5;
    m.DY = 60.0 / 451;  // 451 cells, one row more than a result grid holds
    EXPECT_THROW(DefineMapGeometry(m), MapGridTooLarge);
    m.DY = 60.0 / 450;
    EXPECT_EQ(DefineMapGeometry(m).HalfRows, 451);
}

TEST(MapWholeRange, ThreeZonesAreDrawnWhereTheReadoutReadsThem)
{
    struct Case {
        const char *what, *DX, *DY;
    };
    for (const Case& c : {Case{"61 rows", "1", "1"}, Case{"31 rows", "2", "2"}, Case{"21 rows", "2", "3"},
                          Case{"13 rows", "5", "5"}, Case{"10 rows, the last beyond Y1", "4", "7"}}) {
        const ModelState m = ThreeZones({{"DX", c.DX}, {"DY", c.DY}});
        // The run's field of the zones, which is the sum of each zone's own field.
        const ResultGrid grid = GridAtTime(m, 500), summed = ZonesGridAtTime(m, 500);
        for (int i = 1; i <= 101; i += 5)
            for (int j = 1; j <= 61; j += 3) ASSERT_NEAR(grid.at(i, j), summed.at(i, j), 1e-12) << c.what << " " << i << "," << j;
        const MapPicture map = drawn(m, grid, "500");
        auto picture = PaintShapes(map);
        const MapGeometry& g = map.geometry;
        ASSERT_TRUE(g.WholeYRange) << c.what;
        int checked = 0, same = 0, plume = 0;
        // Every node's pixel off the frame and the source's own column (where
        // the field jumps at the zones' edges).
        for (int j = 1; j <= g.HalfRows; ++j) {
            const int y = g.PixelY[static_cast<std::size_t>(j - 1)];
            if (y == g.PlotTop || y == g.PlotTop + g.PlotHeight) continue;
            for (int i = 2; i <= g.NX + 1; ++i) {
                const int x = g.PixelX[static_cast<std::size_t>(i - 1)];
                if (x >= kPlotRight) continue;
                const std::optional<MapReadout> read = MostraValor(x, y, g, m, grid, '.');
                ASSERT_TRUE(read);
                const int band = BandOf(std::stod(read->concentration), 1), shown = BandShown(picture.at(x, y), 1);
                // A contour rounded to the node's pixel may give it the band of a
                // neighbour, never one beyond its neighbours' (a mirror image would).
                double low = grid.at(i, j), high = low;
                for (int a = i - 1; a <= i + 1; ++a)
                    for (int b = std::max(j - 1, 1); b <= std::min(j + 1, g.HalfRows); ++b)
                        low = std::min(low, grid.at(a, b)), high = std::max(high, grid.at(a, b));
                EXPECT_TRUE(BandOf(low, 1) <= shown && shown <= BandOf(high, 1))
                    << c.what << ": node " << i << "," << j << " pixel " << x << "," << y << " reads " << read->concentration
                    << ", shows band " << shown;
                ++checked;
                if (shown == band) ++same;
                if (band > 10) ++plume;
            }
        }
        EXPECT_GT(checked, 20) << c.what;
        EXPECT_GT(plume, 3) << c.what;
        EXPECT_GE(same, checked * 9 / 10) << c.what;
    }
}

TEST(MapWholeRange, APlumeLiesOnItsOwnSideOfTheAxis)
{
    ModelState m = DesignModel({{"C0", "1"}, {"SourceWidth", "6"}});
    m.source.firstZoneY = 12;
    const ResultGrid grid = ZonesGridAtTime(m, 500);
    const MapPicture map = drawn(m, grid, "500");
    auto picture = PaintShapes(map);
    const MapGeometry& g = map.geometry;
    // Where a row holds the plume and its mirror row about y = 0 holds none,
    // the plume is painted and its mirror image is not.
    int rows = 0;
    for (int i : {3, 6, 11, 16}) {
        const int x = g.PixelX[static_cast<std::size_t>(i - 1)];
        for (int j = 2; j <= 60; ++j) {
            if (BandOf(grid.at(i, j), 1) < 20 || BandOf(grid.at(i, 62 - j), 1) >= 0) continue;
            const int y = g.PixelY[static_cast<std::size_t>(j - 1)], image = g.PixelY[static_cast<std::size_t>(61 - j)];
            EXPECT_EQ(image, 2 * g.PlotCentre - y);
            EXPECT_GE(BandShown(picture.at(x, y), 1), 20) << i << "," << j;
            EXPECT_EQ(picture.at(x, image), kWhite) << i << "," << j;
            ++rows;
        }
    }
    EXPECT_GT(rows, 10);
}

TEST(MapWholeRange, TimeZeroDrawsEachZoneAtItsOwnYInItsBandsColour)
{
    const ModelState m = ThreeZones();
    ResultGrid grid;
    auto picture = PaintShapes(drawn(m, grid, "0"));
    const auto levels = MapLevels(1);
    // 5.5 pixels a metre from the bottom edge (485): -18 … -12 is 419 … 386,
    // 3 … 7 is 303 … 281 and 15.5 … 20.5 is 235 … 207.
    // The larger zones first: 6 × 3 m, then 5 × 2 m, then 4 × 2 m.
    const std::pair<int, int> extent[] = {{386, 419}, {207, 235}, {281, 303}};
    const Rgb colour[] = {LevelColour(levels, 61, 1), LevelColour(levels, 49, 1), LevelColour(levels, 37, 1)};
    const MapGeometry g = DefineMapGeometry(m);
    const auto bars = SourceZoneBars(m, g);
    ASSERT_EQ(bars.size(), 3u);
    for (int z = 0; z < 3; ++z) {
        const auto [top, bottom] = extent[z];
        EXPECT_EQ(bars[static_cast<std::size_t>(z)].first, (PixelPolygon{{50, top}, {56, top}, {56, bottom}, {50, bottom}})) << z;
        EXPECT_EQ(picture.at(53, top), colour[z]) << z;
        EXPECT_EQ(picture.at(53, bottom), colour[z]) << z;
        EXPECT_EQ(picture.at(53, top - 1), kWhite) << z;
        EXPECT_EQ(picture.at(53, bottom + 1), kWhite) << z;
    }
    // A zone inside a larger one keeps its own colour; a zone away from the
    // plane z = PlaneZ or outside the Y range draws nothing.
    ModelState nested = m;
    nested.source.moreZones = {{10, 0, 2, 2, 2}, {10, 0, 10, 2, 0.5}, {0, 5, 4, 2, 1}, {40, 0, 4, 2, 1}};
    auto inside = PaintShapes(drawn(nested, grid, "0"));
    const auto topLevels = MapLevels(2);
    EXPECT_EQ(inside.at(53, 265), LevelColour(topLevels, 61, 2));  // y = 10
    EXPECT_EQ(inside.at(53, 250), LevelColour(topLevels, 16, 2));  // y = 13: 0.5 = 2 × 15 / 60
    EXPECT_EQ(inside.at(53, 320), kWhite);                         // the zone at z = 5
    EXPECT_EQ(SourceZoneBars(nested, DefineMapGeometry(nested)).size(), 3u);
}

TEST(MapWholeRange, TheScaleRunsToTheHighestZone)
{
    ModelState m = ThreeZones();
    m.source.moreZones[1].concentration = 2;
    ResultGrid grid;
    std::vector<std::string> texts;
    for (const MapShape& s : drawn(m, grid, "500").shapes)
        if (s.kind == MapShape::Kind::Text)
            texts.push_back(std::to_string(s.points[0].x) + "," + std::to_string(s.points[0].y) + " " + s.text);
    for (const char* expected : {"730,175 0", "730,245 0.5", "730,315 1", "730,385 1.5", "730,457 2", "20,478 -30", "20,148 30"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end()) << expected;
    EXPECT_EQ(MapScaleTop(DesignModel()), DesignModel().C0);
}
