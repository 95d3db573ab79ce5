#include "map/MapGeometry.h"
#include "core/map/MapTestSupport.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::DesignModel;

TEST(MapGeometry, DesignParametersGiveThePixelTables)
{
    const MapGeometry g = DefineMapGeometry(DesignModel());
    EXPECT_EQ(g.PlotHeight, 330);
    EXPECT_EQ(g.PlotTop, 155);
    EXPECT_EQ(g.PlotCentre, 320);
    EXPECT_EQ(g.HalfRows, 30);
    EXPECT_FALSE(g.CentreRowRepeated);
    EXPECT_EQ(g.NX, 100);
    EXPECT_EQ(g.SourcePixels, 110);
    ASSERT_EQ(g.PixelX.size(), 101u);
    EXPECT_EQ(std::vector<int>(g.PixelX.begin(), g.PixelX.begin() + 7), (std::vector<int>{50, 56, 61, 66, 72, 78, 83}));
    EXPECT_EQ(g.PixelX.back(), 600);
    ASSERT_EQ(g.PixelY.size(), 30u);
    EXPECT_EQ(std::vector<int>(g.PixelY.begin(), g.PixelY.begin() + 5), (std::vector<int>{155, 160, 166, 172, 177}));
    EXPECT_EQ(g.PixelY[27], 304);
    EXPECT_EQ(g.PixelY[28], 309);
    EXPECT_EQ(g.PixelY[29], 320);  // the last row sits on the centre line, 11 pixels on (6 from its own y)
}

TEST(MapGeometry, EachRowLiesAtItsOwnYAndTheCentreLineOnTheAxis)
{
    struct Case {
        const char *Y, *DY;
        int rows;          // drawn
        bool repeated;     // the centre line repeats the row above it
        int lastOwnPixel;  // of the row just above the line
    };
    // Plot 330 pixels high from 155, centre 320 (Y from -Y to Y over 100 m of X).
    for (const Case& c : {Case{"30", "10", 4, false, 265},     // y = -30, -20, -10, 0
                          Case{"30", "20", 3, true, 265},      // y = -30, -10, then the line
                          Case{"30", "30", 2, false, 155},     // y = -30, 0
                          Case{"30", "60", 2, true, 155},      // y = -30 and +30 only
                          Case{"30", "7", 6, true, 309},       // y = -30 … -2, then the line
                          Case{"30", "2", 16, false, 309}}) {  // y = -30 … 0, -2 moved 11 pixels
        ModelState m = DesignModel({{"Y1", c.Y}, {"DY", c.DY}});
        m.Y0 = -m.Y1;
        const MapGeometry g = DefineMapGeometry(m);
        ASSERT_EQ(g.HalfRows, c.rows) << c.DY;
        EXPECT_EQ(g.CentreRowRepeated, c.repeated) << c.DY;
        ASSERT_EQ(g.PixelY.size(), static_cast<std::size_t>(c.rows));
        EXPECT_EQ(g.PixelY.back(), g.PlotCentre) << c.DY;
        EXPECT_EQ(g.PixelY[static_cast<std::size_t>(c.rows - 2)], c.lastOwnPixel) << c.DY;
    }
}

TEST(MapGeometry, ZeroRangesAndStepsAreFloatingPointFaults)
{
    for (const auto& change : std::vector<std::pair<std::string, std::string>>{{"X1", "0"}, {"DX", "0"}, {"DY", "0"}}) {
        ModelState m = DesignModel();
        if (change.first == "X1") m.X1 = m.X0;
        if (change.first == "DX") m.DX = 0;
        if (change.first == "DY") m.DY = 0;
        EXPECT_THROW(DefineMapGeometry(m), FloatError) << change.first;
    }
}

TEST(MapGeometry, GridsBeyondTheResultGridAreRefused)
{
    ModelState m = DesignModel();
    m.DX = 0.2;  // 500 cells
    EXPECT_THROW(DefineMapGeometry(m), MapGridTooLarge);
    m = DesignModel();
    m.DY = 0.1;  // 600 cells
    try {
        DefineMapGeometry(m);
        FAIL();
    } catch (const MapGridTooLarge& e) {
        EXPECT_EQ(e.axis(), 'Y');
    }
    m = DesignModel();
    m.X1 = 450, m.DX = 1, m.Y0 = -225, m.Y1 = 225;  // 450 cells either way: the full grid
    EXPECT_NO_THROW(DefineMapGeometry(m));
}
