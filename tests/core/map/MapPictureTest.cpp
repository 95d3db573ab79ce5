#include "map/MapPicture.h"
#include "contour/CellRanges.h"
#include "contour/LevelRegion.h"
#include "contour/MontaPoligono.h"
#include "contour/TracaContorno.h"
#include "core/map/MapTestSupport.h"
#include "map/MapReadout.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

#include <random>

using namespace kavrin;
using kavrin::test::BandOf;
using kavrin::test::BandShown;
using kavrin::test::DesignModel;
using kavrin::test::GridAtTime;
using kavrin::test::PaintShapes;

namespace {

MapPicture drawn(const ModelState& m, const ResultGrid& grid, const std::string& time)
{
    return DesenhaMapa({m, grid, time, true, true, ','});
}

const Rgb kRed{255, 0, 0};

}  // namespace

TEST(MapPicture, SourceBarOfTimeZeroFrameAndScale)
{
    const ModelState m = DesignModel();
    ResultGrid grid;
    auto picture = PaintShapes(drawn(m, grid, "0"));
    EXPECT_EQ(SourceBar(m, DefineMapGeometry(m)), (PixelPolygon{{50, 265}, {56, 265}, {56, 375}, {50, 375}}));
    for (auto [x, y] : {std::pair{51, 265}, {56, 265}, {56, 375}, {51, 375}, {53, 320}})
        EXPECT_EQ(picture.at(x, y), kRed) << x << "," << y;
    for (auto [x, y] : {std::pair{57, 320}, {53, 264}, {53, 376}, {300, 320}})
        EXPECT_EQ(picture.at(x, y), kWhite) << x << "," << y;
    // The frame is drawn over the bar; a line stops one pixel short of its end.
    EXPECT_EQ(picture.at(50, 300), kBlack);
    EXPECT_EQ(picture.at(50, 145), kBlack);
    EXPECT_EQ(picture.at(50, 494), kBlack);
    EXPECT_EQ(picture.at(50, 495), kWhite);
    EXPECT_EQ(picture.at(45, 155), kBlack);
    EXPECT_EQ(picture.at(604, 485), kBlack);
    EXPECT_EQ(picture.at(160, 145), kBlack);  // an X tick
    EXPECT_EQ(picture.at(47, 430), kBlack);   // the first Y tick, 55 pixels above the bottom
    // Scale: box, cells 7 pixels high from y 187, the white gap under the box's top.
    EXPECT_EQ(picture.at(699, 300), kBlack);
    EXPECT_EQ(picture.at(720, 300), kBlack);
    EXPECT_EQ(picture.at(710, 179), kBlack);
    EXPECT_EQ(picture.at(710, 467), kBlack);
    EXPECT_EQ(picture.at(710, 183), kWhite);
    EXPECT_EQ(picture.at(700, 187), (Rgb{212, 238, 255}));
    EXPECT_EQ(picture.at(719, 193), (Rgb{212, 238, 255}));
    EXPECT_EQ(picture.at(710, 194), (Rgb{141, 192, 255}));
    EXPECT_EQ(picture.at(710, 320), (Rgb{0, 255, 0}));  // cell 20: 320 … 326
    EXPECT_EQ(picture.at(710, 466), kRed);              // cell 40
}

TEST(MapPicture, SourceOutsideThePlaneDrawsNoBar)
{
    const ModelState m = DesignModel({{"PlaneZ", "5"}});
    ResultGrid grid;
    auto picture = PaintShapes(drawn(m, grid, "0"));
    EXPECT_EQ(picture.at(53, 320), kWhite);
}

TEST(MapPicture, PlumePixelsTakeTheColourOfTheirBand)
{
    const ModelState m = DesignModel();
    const ResultGrid grid = GridAtTime(m, 2500);
    const MapPicture map = drawn(m, grid, "2500");
    auto picture = PaintShapes(map);
    const MapGeometry& g = map.geometry;
    const auto levels = MapLevels(m.C0);
    // Nodes on the plume's axis and off it; each pixel and its mirror image.
    for (auto [i, j] : {std::pair{11, 30}, {21, 30}, {31, 30}, {41, 28}, {21, 25}, {61, 30}, {91, 2}}) {
        const int band = BandOf(grid.at(i, j), m.C0);
        const Rgb expected = band < 0 ? kWhite : LevelColour(levels, band, m.C0);
        const int x = g.PixelX[static_cast<std::size_t>(i - 1)], y = g.PixelY[static_cast<std::size_t>(j - 1)];
        EXPECT_EQ(picture.at(x, y), expected) << i << "," << j << " c=" << grid.at(i, j);
        EXPECT_EQ(picture.at(x, 2 * g.PlotCentre - y), expected) << i << "," << j;
    }
    // Only the grid line of the source itself holds C0: next to it lies the band below.
    EXPECT_EQ(picture.at(52, 320), LevelColour(levels, 60, m.C0));
}

TEST(MapPicture, CoarseOddAndEvenRowCountsDrawWhatTheReadoutReads)
{
    struct Case {
        const char *what, *Y1, *DX, *DY;
    };
    const Case cases[] = {
        {"7 rows of 10 m", "30", "1", "10"},  // y = 0 is a row
        {"3 x 3", "10", "50", "10"},          // three columns, rows y = -10, 0, 10
        {"8 rows of 10 m", "35", "5", "10"},  // y = ±5 around the axis
        {"4 rows of 20 m", "30", "2", "20"},  // y = ±10 around the axis
    };
    for (const Case& c : cases) {
        ModelState m = DesignModel({{"Y1", c.Y1}, {"DX", c.DX}, {"DY", c.DY}, {"SourceWidth", "5"}});
        m.Y0 = -m.Y1;
        const ResultGrid grid = GridAtTime(m, 2500);
        const MapPicture map = drawn(m, grid, "2500");
        auto picture = PaintShapes(map);
        const MapGeometry& g = map.geometry;
        // Every node off the frame, above the axis, on it and its mirror image below.
        int checked = 0;
        for (int j = 1; j <= g.HalfRows; ++j) {
            const int y = g.PixelY[static_cast<std::size_t>(j - 1)];
            if (y == g.PlotTop) continue;
            for (int i = 1; i <= g.NX + 1; ++i) {
                const int x = g.PixelX[static_cast<std::size_t>(i - 1)] + (i == 1 ? 1 : 0);
                if (x >= kPlotRight) continue;
                for (const int at : {y, 2 * g.PlotCentre - y}) {
                    const std::optional<MapReadout> read = MostraValor(x, at, g, m, grid, '.');
                    ASSERT_TRUE(read);
                    const double value = std::stod(read->concentration);
                    // The lowest levels lie close together (0.001, 0.0029, C0/60,
                    // …): on a coarse grid their contours may all pass within
                    // a pixel of a node and give it a band a few above its own.
                    const int band = BandOf(value, m.C0), shown = BandShown(picture.at(x, at), m.C0);
                    EXPECT_LE(std::abs(shown - band), 3) << c.what << ": node " << i << "," << j << " pixel " << x << "," << at
                                                         << " reads " << read->concentration << ", shows band " << shown;
                    ++checked;
                }
            }
        }
        EXPECT_GT(checked, 2) << c.what;
    }
}

TEST(MapPicture, AGridDownstreamOfTheSourcePaintsOnlyWhatItHolds)
{
    // From x = 20 on no level reaches the plot's left edge at the source's
    // height; nothing may be painted above the plot or from a far point.
    const ModelState m = DesignModel({{"X0", "20"}, {"X1", "120"}});
    const ResultGrid grid = GridAtTime(m, 2500);
    const MapPicture map = drawn(m, grid, "2500");
    auto picture = PaintShapes(map);
    const MapGeometry& g = map.geometry;
    for (int y = 0; y < g.PlotTop - 25; ++y) EXPECT_EQ(picture.at(300, y), kWhite) << y;
    const auto levels = MapLevels(m.C0);
    for (auto [i, j] : {std::pair{1, 30}, {11, 30}, {21, 29}, {31, 30}}) {
        const int band = BandOf(grid.at(i, j), m.C0);
        ASSERT_GE(band, 0);
        const int x = g.PixelX[static_cast<std::size_t>(i - 1)] + (i == 1 ? 1 : 0), y = g.PixelY[static_cast<std::size_t>(j - 1)];
        EXPECT_EQ(picture.at(x, y), LevelColour(levels, band, m.C0)) << i << "," << j;
    }
}

TEST(MapPicture, ASourceNearTheLargestNumberDrawsInsideThePlot)
{
    // Concentrations of 5e306 mg/L: value minus level times a pixel
    // coordinate is beyond the largest double.
    ModelState m = DesignModel();
    ResultGrid grid = GridAtTime(m, 2500);
    const double scale = 5e306 / m.C0;
    m.C0 = 5e306;
    for (int i = 1; i <= 61; ++i)
        for (int j = 1; j <= 41; ++j) grid.set(i, j, grid.at(i, j) * scale);
    const MapPicture picture = drawn(m, grid, "2500");
    const MapGeometry& g = picture.geometry;
    int polygons = 0;
    for (const MapShape& s : picture.shapes) {
        if (s.kind != MapShape::Kind::Polygon) continue;
        ++polygons;
        for (const PixelPoint& p : s.points)
            ASSERT_TRUE(kPlotLeft <= p.x && p.x <= kPlotRight && g.PlotTop <= p.y && p.y <= g.PlotTop + g.PlotHeight)
                << p.x << "," << p.y;
    }
    EXPECT_GT(polygons, 30);  // most levels cross the plume
}

TEST(MapPicture, ARegionKeptAsPixelsPaintsWhatItsPolygonsWould)
{
    // Random values under a left edge above every level: most levels are
    // regions of many small, overlapping polygons.
    const ModelState m = DesignModel({{"DX", "2"}, {"DY", "2"}});
    ResultGrid grid;
    std::mt19937 random(5);
    std::uniform_real_distribution<double> value(0, m.C0);
    for (int i = 1; i <= 51; ++i)
        for (int j = 1; j <= 31; ++j) grid.set(i, j, i == 1 ? 2 * m.C0 : value(random));
    const MapPicture picture = drawn(m, grid, "2500");

    // The same map with every polygon painted on the picture itself.
    kavrin::test::RgbPicture expected;
    RgbCanvas canvas = expected.canvas();
    canvas.rectangle(0, 0, kMapWidth, kMapHeight, kWhite, kWhite);
    const MapGeometry& g = picture.geometry;
    const ContourGrid contour{grid, g.NX, g.HalfRows, g.PixelX, g.PixelY};
    const auto levels = MapLevels(m.C0);
    int regions = 0;
    for (int k = 0; k < kLevelCount; ++k) {
        const double z = levels[static_cast<std::size_t>(k)];
        const Rgb colour = LevelColour(levels, k, m.C0);
        std::vector<PixelPoint> E;
        TracaContorno(z, contour, CellRanges(contour), E);
        if (std::any_of(E.begin(), E.end(), [](PixelPoint p) { return p.x == kPlotLeft; })) {
            canvas.polygon(MontaPoligono(E, g.PixelY[0], g.PlotCentre), colour);
            continue;
        }
        ++regions;
        LevelRegion(z, contour, g.PlotCentre, [&](std::span<const PixelPoint> part) { canvas.polygon(part, colour); });
    }
    std::vector<MapShape> scale;
    DesenhaEscala({m, grid, "2500", true, true, ','}, g, scale);
    for (const MapShape& s : scale) PaintShape(s, canvas);
    EXPECT_GT(regions, 40);
    EXPECT_TRUE(PaintShapes(picture).bits == expected.bits);
}

TEST(MapPicture, FailuresComeBeforeAnyShape)
{
    ResultGrid grid;
    ModelState m = DesignModel();
    m.C0 = 0;
    EXPECT_THROW(drawn(m, grid, "2500"), FloatError);
    EXPECT_THROW(drawn(m, grid, "0"), FloatError);
}

TEST(MapPicture, TextsOfScaleCaptionAndTitle)
{
    const ModelState m = DesignModel();
    ResultGrid grid;
    std::vector<std::string> texts;
    for (const MapShape& s : DesenhaMapa({m, grid, "2500", false, true, ','}).shapes)
        if (s.kind == MapShape::Kind::Text)
            texts.push_back(std::to_string(s.points[0].x) + "," + std::to_string(s.points[0].y) + " " + s.text);
    for (const char* expected :
         {"45,135 0", "595,495 100", "20,478 -30", "610,148 30", "155,135 20", "485,495 80", "20,423 -20", "610,203 20",
          "730,245 0,125", "730,457 0,5", "730,175 0", "660,140 Concentração (mg/L)", "670,30 Time = 2500  days"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end()) << expected;
    EXPECT_EQ(MapTitle("2500.0", true), "Tempo = 2500.0  dias");
}

TEST(MapPicture, YLabelsOfALowPlotNeverOverlap)
{
    // The Y labels' tops on the left of the plot, in drawing order.
    const auto yLabels = [](const ModelState& m) {
        ResultGrid grid;
        std::vector<int> tops;
        for (const MapShape& s : DesenhaMapa({m, grid, "0", true, true, '.'}).shapes)
            if (s.kind == MapShape::Kind::Text && s.points[0].x == 20) tops.push_back(s.points[0].y);
        return tops;
    };
    EXPECT_EQ(yLabels(DesignModel()).size(), 7u) << "a plot of 330 pixels keeps every label";
    // Plots 66, 33 and 6 pixels high: Y over 60 m along 500, 1000 and 5000 m of X.
    for (const char* X1 : {"500", "1000", "5000"}) {
        const ModelState m = DesignModel({{"X1", X1}, {"DX", "50"}});
        const std::vector<int> tops = yLabels(m);
        ASSERT_FALSE(tops.empty());
        EXPECT_EQ(tops.front(), DefineMapGeometry(m).PlotTop + DefineMapGeometry(m).PlotHeight - 7) << "Y0 first";
        for (std::size_t a = 0; a < tops.size(); ++a)
            for (std::size_t b = a + 1; b < tops.size(); ++b) EXPECT_GE(std::abs(tops[a] - tops[b]), kMapTextHeight) << X1;
    }
    EXPECT_EQ(yLabels(DesignModel({{"X1", "500"}, {"DX", "50"}})).size(), 4u) << "Y0, Y1 and every other tick";
}

TEST(MapReadout, CornersAndNearestNodes)
{
    const ModelState m = DesignModel();
    ResultGrid grid;
    grid.set(101, 61, 0.000123);
    grid.set(3, 31, 0.25);
    grid.set(1, 1, 7);
    const MapGeometry g = DefineMapGeometry(m);
    auto top = MostraValor(600, 155, g, m, grid, ',');
    ASSERT_TRUE(top);
    EXPECT_EQ(top->x, "100,000");
    EXPECT_EQ(top->y, "30,000");
    EXPECT_EQ(top->concentration, "1,230E-04");
    auto bottom = MostraValor(50, 485, g, m, grid, '.');
    EXPECT_EQ(bottom->x, "0.000");
    EXPECT_EQ(bottom->y, "-30.000");
    EXPECT_EQ(bottom->concentration, "7.000E+00");
    // Pixel 63 is x = 2.364, nearest column 3; pixel 320 is y = 0, row 31.
    auto between = MostraValor(63, 320, g, m, grid, '.');
    EXPECT_EQ(between->x, "2.364");
    EXPECT_EQ(between->concentration, "2.500E-01");
    // Halfway between two nodes the even one wins: with X1 = 55 a pixel is
    // 0.1 m, so pixels 55 and 65 read x = 0.5 (column 1) and 1.5 (column 3).
    ModelState narrow = m;
    narrow.X1 = 55;
    const MapGeometry n = DefineMapGeometry(narrow);
    ASSERT_EQ(n.PlotTop, 20);
    const int middle = 320;  // y = 0: row 31
    grid.set(1, 31, 1), grid.set(2, 31, 2), grid.set(3, 31, 3);
    EXPECT_EQ(MostraValor(55, middle, n, narrow, grid, '.')->concentration, "1.000E+00");
    EXPECT_EQ(MostraValor(65, middle, n, narrow, grid, '.')->concentration, "3.000E+00");
    EXPECT_FALSE(MostraValor(49, 300, g, m, grid, '.'));
    EXPECT_FALSE(MostraValor(601, 300, g, m, grid, '.'));
    EXPECT_FALSE(MostraValor(300, 154, g, m, grid, '.'));
    EXPECT_FALSE(MostraValor(300, 486, g, m, grid, '.'));
}
