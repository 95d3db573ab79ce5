#include "core/map/MapTestSupport.h"
#include "plume/PlumeMetrics.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace kavrin;
using kavrin::test::DesignModel;
using kavrin::test::GridAtTime;

namespace {

// Nodes x = X0, X0 + 1, … (`columns` of them) and y = -2 … 2 by 1, the axis
// on y = 0, with the values v(x, y).
PlumeField HandField(double X0, int columns, const std::function<double(double, double)>& v)
{
    PlumeField f;
    f.X0 = X0, f.DX = 1, f.axisRow = 2;
    for (int j = 0; j < columns; ++j) f.x.push_back(X0 + j);
    for (int k = 0; k < 5; ++k) f.y.push_back(k - 2.0);
    for (double y : f.y)
        for (double x : f.x) f.values.push_back(v(x, y));
    return f;
}

// A roof along the axis, linear over each cell: the standard's contour is
// straight, so its crossings and its area are exact.
double Roof(double top, double x, double y)
{
    return top - x - std::fabs(y);
}

struct HandCase {
    const char* name;
    double X0, top, standard;
    double length, width, area;
    bool lengthAtEdge, widthAtEdge, areaAtEdge;
};

}  // namespace

TEST(PlumeHandGrid, MeasuresOfARoofFollowItsStraightContour)
{
    const HandCase cases[] = {
        // x + |y| < 2 from the source plane: a triangle 4 m wide and 2 m long.
        {"inside the grid", 0, 4, 2, 2, 4, 4, false, false, false},
        // x + |y| < 3.5: the sides reach y = ±2 for x < 1.5.
        {"out of the sides", 0, 4, 0.5, 3.5, 4, 10, false, true, true},
        // Above everywhere up to the last column.
        {"past the last column", 0, 10, 2, 4, 4, 16, true, true, true},
        // The grid starts before the source: its first column is an edge.
        {"before the source", -1, 3, 2, 1, 4, 4, false, false, true},
        {"nothing above", 0, 4, 10, 0, 0, 0, false, false, false},
    };
    for (const HandCase& c : cases) {
        SCOPED_TRACE(c.name);
        const PlumeField field = HandField(c.X0, 5, [&](double x, double y) { return Roof(c.top, x, y); });
        const PlumeMetrics m = MeasurePlume(field, c.standard, std::nullopt);
        EXPECT_DOUBLE_EQ(m.length, c.length);
        EXPECT_DOUBLE_EQ(m.width, c.width);
        EXPECT_NEAR(m.area, c.area, 1e-12);
        EXPECT_EQ(m.lengthAtEdge, c.lengthAtEdge);
        EXPECT_EQ(m.widthAtEdge, c.widthAtEdge);
        EXPECT_EQ(m.areaAtEdge, c.areaAtEdge);
        EXPECT_FALSE(m.maxBeyond);
    }
}

// A lone node above the standard: each of its four cells keeps the two
// triangles at that corner, each cut at the fractions 1/2 (to a corner of 0)
// and 2/3 (to the centre's mean 0.5): 4 · 2 · (1/2 · 2/3) / 4 of a cell.
TEST(PlumeHandGrid, ALoneNodeKeepsTheCornersOfItsCellsTriangles)
{
    const PlumeField field = HandField(0, 5, [](double x, double y) { return x == 2 && y == 0 ? 2.0 : 0.0; });
    const PlumeMetrics m = MeasurePlume(field, 1, std::nullopt);
    EXPECT_NEAR(m.area, 2.0 / 3, 1e-15);
    EXPECT_DOUBLE_EQ(m.length, 2.5);
    EXPECT_DOUBLE_EQ(m.width, 1);
    EXPECT_FALSE(m.anyAtEdge());
}

TEST(PlumeHandGrid, TheLargestValueBeyondADistanceTakesTheRowsAtThatDistance)
{
    const PlumeField field = HandField(0, 5, [](double x, double y) { return Roof(4, x, y); });
    struct Beyond {
        double distance;
        std::optional<double> largest;
        bool atEdge;
    };
    const Beyond cases[] = {
        {1.5, 2.5, false},  // between columns 1 and 2, on the axis
        {-3, 4, false},     // the whole grid: the source plane on the axis
        {2, 2, false},      // a column itself
        {4, 0, true},       // the last column alone
        {4.5, std::nullopt, false},
    };
    for (const Beyond& c : cases) {
        SCOPED_TRACE(c.distance);
        const PlumeMetrics m = MeasurePlume(field, 2, c.distance);
        EXPECT_EQ(m.maxBeyond, c.largest);
        EXPECT_EQ(m.maxBeyondAtEdge, c.atEdge);
    }
    // A value on the edge no larger than one inside cuts nothing short.
    const PlumeField flat = HandField(0, 5, [](double, double) { return 0.0; });
    EXPECT_EQ(MeasurePlume(flat, 2, 1.0).maxBeyond, 0.0);
    EXPECT_FALSE(MeasurePlume(flat, 2, 1.0).maxBeyondAtEdge);
}

TEST(PlumeHandGrid, AStandardThatIsNoConcentrationIsRefused)
{
    const PlumeField field = HandField(0, 5, [](double x, double y) { return Roof(4, x, y); });
    for (double standard : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()})
        EXPECT_THROW(MeasurePlume(field, standard, std::nullopt), CheckError) << standard;
}

// A symmetric field is read as the map draws it: the rows from Y0 to the
// axis and their mirror images; the rows above the axis are not read.
TEST(PlumeField, ASymmetricFieldIsItsLowerHalfAndItsMirrorImage)
{
    struct Grid {
        const char* name;
        std::vector<std::pair<std::string, std::string>> texts;
        int rows, axisRow;
        double axisY;
    };
    const Grid grids[] = {
        {"a row on the axis", {}, 61, 30, 0},
        {"no row on the axis", {{"Y0", "-31"}, {"Y1", "31"}, {"DY", "2"}}, 32, 15, -1},
    };
    for (const Grid& g : grids) {
        SCOPED_TRACE(g.name);
        const ModelState m = DesignModel(g.texts);
        const ResultGrid whole = GridAtTime(m, 2500);
        ResultGrid lower = whole;
        for (int iy = g.axisRow + 2; iy <= ResultGrid::kSize; ++iy)
            for (int ix = 1; ix <= ResultGrid::kSize; ++ix) lower.set(ix, iy, 0);
        const PlumeField field = PlumeFieldOf(lower, m);
        ASSERT_TRUE(field.mirrored);
        ASSERT_EQ(field.rows(), g.rows);
        EXPECT_EQ(field.axisRow, g.axisRow);
        EXPECT_EQ(field.y[static_cast<std::size_t>(g.axisRow)], g.axisY);
        for (int k = 0; k < field.rows(); ++k) {
            EXPECT_DOUBLE_EQ(field.y[static_cast<std::size_t>(k)], -field.y[static_cast<std::size_t>(field.rows() - 1 - k)]);
            EXPECT_EQ(field.at(k, 40), field.at(field.rows() - 1 - k, 40));
        }
        // The same grid read whole, as for a zone a hair off the axis.
        ModelState offAxis = m;
        offAxis.source.firstZoneY = 1e-12;
        ASSERT_FALSE(PlumeFieldOf(whole, offAxis).mirrored);
        const PlumeMetrics fromLower = MeasurePlume(lower, m, 0.05, 30.0);
        const PlumeMetrics fromWhole = MeasurePlume(whole, offAxis, 0.05, 30.0);
        EXPECT_GT(fromLower.area, 100);
        EXPECT_NEAR(fromLower.length, fromWhole.length, 1e-9);
        EXPECT_NEAR(fromLower.width, fromWhole.width, 1e-9);
        EXPECT_NEAR(fromLower.area, fromWhole.area, 1e-9);
        EXPECT_NEAR(*fromLower.maxBeyond, *fromWhole.maxBeyond, 1e-12);
    }
}

// A zone off the axis: the whole grid, its axis the row of the zone's centre.
TEST(PlumeField, AFieldOffTheAxisIsReadWhole)
{
    ModelState m = DesignModel();
    m.source.firstZoneY = 6;
    ResultGrid grid;
    for (int iy = 1; iy <= 61; ++iy) grid.set(50, iy, iy);
    const PlumeField field = PlumeFieldOf(grid, m);
    EXPECT_FALSE(field.mirrored);
    ASSERT_EQ(field.rows(), 61);
    EXPECT_EQ(field.columns(), 101);
    EXPECT_EQ(field.axisRow, 36);
    EXPECT_EQ(field.y[60], 30);
    EXPECT_EQ(field.at(60, 49), 61);
}

TEST(PlumeField, AGridLargerThanAnyTimeIsRefused)
{
    EXPECT_THROW(PlumeFieldOf(ResultGrid(), DesignModel({{"X1", "451"}})), PlumeGridTooLarge);
    EXPECT_THROW(PlumeFieldOf(ResultGrid(), DesignModel({{"Y0", "-226"}, {"Y1", "226"}})), PlumeGridTooLarge);
}
