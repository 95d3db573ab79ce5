#include "charts/CurveTable.h"

#include <gtest/gtest.h>

using namespace kavrin;

TEST(CurveTable, CurvesWithTheSameXShareOneColumnOthersGetPairs)
{
    const NamedCurve early{"0 dias", {{0, 0.5}, {10, 0.25}}};
    const NamedCurve late{"2500 dias", {{0, 1}, {10, 0.75}}};
    const NamedCurve moved{"X0 = 5", {{5, 0.125}, {15, 1e-5}, {25, 0}}};
    struct Case {
        const char* name;
        std::vector<NamedCurve> curves;
        std::string text;
    };
    const Case cases[] = {
        {"one curve", {early}, "Distância (m)\t0 dias\r\n0\t0,5\r\n10\t0,25\r\n"},
        {"same x", {early, late}, "Distância (m)\t0 dias\t2500 dias\r\n0\t0,5\t1\r\n10\t0,25\t0,75\r\n"},
        {"other x, longer",
         {early, moved},
         "Distância (m)\t0 dias\tDistância (m)\tX0 = 5\r\n0\t0,5\t5\t0,125\r\n10\t0,25\t15\t1E-5\r\n\t\t25\t0\r\n"},
        {"same x, fewer",
         {early, {"cut", {{0, 2}}}},
         "Distância (m)\t0 dias\tDistância (m)\tcut\r\n0\t0,5\t0\t2\r\n10\t0,25\t\t\r\n"},
        {"one empty curve", {{"nada", {}}}, "Distância (m)\tnada\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(TabSeparatedText(TableOfCurves("Distância (m)", c.curves), ','), c.text) << c.name;
}

TEST(CurveTable, CsvHasPointsCommasAndQuotedHeadings)
{
    const CurveTable table =
        TableOfCurves("Time (days)", {{"X = 40 m, Y = 0 m", {{0, 0.5}, {2500, 1.25}}}, {"the \"worst\" node", {{0, 2.5}}}});
    EXPECT_EQ(CsvLines(table), (std::vector<std::string>{
                                   "Time (days),\"X = 40 m, Y = 0 m\",Time (days),\"the \"\"worst\"\" node\"",
                                   "0,0.5,0,2.5",
                                   "2500,1.25,,",
                               }));
}
