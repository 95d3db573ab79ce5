#include "charts/ValueList.h"
#include "charts/GridAxis.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kavrin;

namespace {

struct ListCase {
    double start, step, end;
    char separator;
    std::vector<std::string> values;
};

}  // namespace

TEST(ValueList, RepeatedAdditionInTheGeneralFormat)
{
    const ListCase cases[] = {
        {0, 0.1, 0.3, '.', {"0", "0.1", "0.2"}},  // the fourth sum, 0.30000000000000004, passes 0.3
        {0, 3, 10, '.', {"0", "3", "6", "9"}},    // ends at the last value not above the end
        {0, 2500, 2500, ',', {"0", "2500"}},       {-30, 15, 30, ',', {"-30", "-15", "0", "15", "30"}},
        {0.5, 0.25, 1, ',', {"0,5", "0,75", "1"}}, {5, 1, 4, '.', {}},
        {0.00005, 1, 0.5, '.', {"5E-5"}},
    };
    for (const ListCase& c : cases)
        EXPECT_EQ(ValueList(c.start, c.step, c.end, "DX", c.separator), c.values)
            << c.start << " by " << c.step << " to " << c.end;
}

TEST(ValueList, ZeroToOneByATenthEndsWithOne)
{
    const std::vector<std::string> values = ValueList(0, 0.1, 1, "DT", '.');
    ASSERT_EQ(values.size(), 11u);
    EXPECT_EQ(values[3], "0.3");    // 0.30000000000000004 in 15 digits
    EXPECT_EQ(values.back(), "1");  // 0.9999999999999999 in 15 digits
}

TEST(ValueList, AStepThatNeverEndsTheListIsRefusedByName)
{
    for (double step : {0.0, -1.0, std::nan("")}) {
        try {
            ValueList(0, step, 10, "DY", '.');
            ADD_FAILURE() << "step " << step << " was accepted";
        } catch (const StepRefused& refused) {
            EXPECT_EQ(refused.stepName(), "DY");
            EXPECT_NE(std::string(refused.what()).find("DY"), std::string::npos);
        }
    }
    EXPECT_THROW(ValueList(0, 1e-9, 1, "DT", '.'), StepRefused);     // a billion values
    EXPECT_THROW(ValueList(1e20, 1, 2e20, "DX", '.'), StepRefused);  // the sum never moves
}

TEST(GridAxis, NodesRoundHalvesToEven)
{
    const GridAxis x{"X", 0, 1, 11};
    const std::pair<double, int> cases[] = {{0, 1}, {2.5, 3}, {3.5, 5}, {4.4, 5}, {4.6, 6}, {-0.5, 1}, {10.4, 11}};
    for (const auto& [position, node] : cases) EXPECT_EQ(NodeOf(x, position, '.'), node) << position;
    const GridAxis y{"Y", -30, 15, 5};
    EXPECT_EQ(NodeOf(y, -7.5, '.'), 3);  // 1.5 intervals round to 2, the even one
    EXPECT_EQ(NodeOf(y, 7.5, '.'), 3);   // 2.5 intervals round to 2
}

TEST(GridAxis, PositionsOffTheGridAreRefusedWithTheGridsRange)
{
    const GridAxis x{"X", 0, 5, 21};  // 0 … 100
    for (double position : {-2.6, 102.6, 1e300, -1e300, std::nan("")}) {
        try {
            NodeOf(x, position, ',');
            ADD_FAILURE() << position << " was accepted";
        } catch (const PositionOutsideGrid& outside) {
            EXPECT_EQ(outside.axis, "X");
            EXPECT_EQ(outside.first, 0);
            EXPECT_EQ(outside.last, 100);
        }
    }
    try {
        NodeOf(GridAxis{"Y", -30, 1, 61}, 30.5, ',');
    } catch (const PositionOutsideGrid& outside) {
        EXPECT_STREQ(outside.what(), "Y = 30,5 is outside the grid, which goes from Y = -30 to Y = 30.");
    }
}

TEST(GridAxis, TheModelsAxesFitTheResultGrid)
{
    ModelState model;
    model.X0 = 0, model.X1 = 100, model.DX = 0.5;   // 201 nodes
    model.Y0 = -30, model.Y1 = 30, model.DY = 0.1;  // 601 nodes: more than the grid holds
    EXPECT_EQ(XAxisOf(model).count, 201);
    EXPECT_EQ(YAxisOf(model).count, 451);
    EXPECT_DOUBLE_EQ(XAxisOf(model).position(201), 100);
    model.DY = 0;
    EXPECT_THROW(YAxisOf(model), StepRefused);
    model.DX = -1;
    EXPECT_THROW(XAxisOf(model), StepRefused);
}
