#include "charts/ChartSeries.h"
#include "TestSupport.h"
#include "model/Variaveis.h"
#include "text/NumberText.h"
#include "workspace/ResultLoading.h"
#include "workspace/SimulationRun.h"
#include "workspace/Workspace.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace kavrin;
using kavrin::test::TempFolder;
using kavrin::test::WriteBytes;

namespace {

// Three times (0, 10, 20) of a grid of 4 × 3 nodes (X 0…30 by 10, Y −5…5 by
// 5); the value of time k, row j, column i is 100k + 10j + i, so every
// value says where it came from.
struct KnownResults {
    TempFolder folder;
    ModelState model;

    KnownResults()
    {
        model.X0 = 0, model.X1 = 30, model.DX = 10;
        model.Y0 = -5, model.Y1 = 5, model.DY = 5;
        model.T0 = 0, model.T1 = 20, model.DT = 10;
        std::string index;
        for (int k = 0; k < 3; ++k) {
            writeTime(k, 3, 4);
            index += file(k) + "\r\n";
        }
        WriteBytes(folder.path() + "Index.txt", index);
    }
    std::string file(int k) const { return folder.path() + "T" + std::to_string(10 * k) + ".txt"; }
    void writeTime(int k, int rows, int columns, const std::string& tail = "") const
    {
        std::string bytes;
        for (int j = 1; j <= rows; ++j) {
            for (int i = 1; i <= columns; ++i) bytes += FormatGridValue(100 * k + 10 * j + i, '.') + " ";
            bytes += "\r\n";
        }
        WriteBytes(file(k), bytes + tail);
    }
    std::string index() const { return folder.path() + "Index.txt"; }
    ChartPoints series(const std::string& x, const std::string& y) const
    {
        ChartPoints points;
        EXPECT_TRUE(ConcentrationTimeSeries(index(), model, x, y, '.', points));
        return points;
    }
};

std::vector<std::pair<double, double>> pairs(const ChartPoints& points)
{
    std::vector<std::pair<double, double>> result;
    for (const ChartPoint& p : points) result.emplace_back(p.x, p.y);
    return result;
}

using Pairs = std::vector<std::pair<double, double>>;

}  // namespace

TEST(ConcentrationTime, TheNodesValueOfEveryTimeFileInIndexOrder)
{
    KnownResults results;
    EXPECT_EQ(pairs(results.series("20", "0")), (Pairs{{0, 23}, {10, 123}, {20, 223}}));
    EXPECT_EQ(pairs(results.series("0", "-5")), (Pairs{{0, 11}, {10, 111}, {20, 211}}));
    EXPECT_EQ(pairs(results.series("30", "5")), (Pairs{{0, 34}, {10, 134}, {20, 234}}));
    EXPECT_EQ(pairs(results.series("14.9", "-2.5")),
              (Pairs{{0, 12}, {10, 112}, {20, 212}}));  // nearest; half an interval rounds to the even 0
}

TEST(ConcentrationTime, TimesCountLinesOfTheIndexNotFileNames)
{
    KnownResults results;
    WriteBytes(results.folder.path() + "index.txt", results.file(2) + "\r\n" + results.file(0) + "\r\n");
    std::filesystem::remove(results.index());
    ChartPoints points;
    ASSERT_TRUE(ConcentrationTimeSeries(results.folder.path() + "index.txt", results.model, "0", "-5", '.', points));
    EXPECT_EQ(pairs(points), (Pairs{{0, 211}, {10, 11}}));
}

TEST(ConcentrationTime, OnlyTheNodesLineOfEachFileIsRead)
{
    KnownResults results;
    results.writeTime(1, 2, 4, "these lines are never read\r\n");
    EXPECT_EQ(pairs(results.series("10", "0")), (Pairs{{0, 22}, {10, 122}, {20, 222}}));
}

TEST(ConcentrationTime, AMissingIndexDrawsNothing)
{
    KnownResults results;
    ChartPoints points;
    EXPECT_FALSE(ConcentrationTimeSeries(results.folder.path() + "Other/Index.txt", results.model, "", "", '.', points));
    EXPECT_TRUE(points.empty());
}

TEST(ConcentrationTime, AFailureKeepsThePointsReadBeforeIt)
{
    KnownResults results;
    std::filesystem::remove(results.file(1));
    ChartPoints points;
    EXPECT_THROW(ConcentrationTimeSeries(results.index(), results.model, "0", "0", '.', points), FileError);
    EXPECT_EQ(pairs(points), (Pairs{{0, 21}}));

    results.writeTime(1, 3, 4);
    points.clear();  // the values were written with ".", read with ","
    EXPECT_EQ(test::FailureText([&] { ConcentrationTimeSeries(results.index(), results.model, "0", "0", ',', points); }),
              "'2.10000000000000E+0001' is not a valid floating point value");
    EXPECT_TRUE(points.empty());
}

TEST(ConcentrationTime, PositionsOffTheGridOrOffTheFileAreRefused)
{
    KnownResults results;
    ChartPoints points;
    const auto failure = [&](const std::string& x, const std::string& y) {
        points.clear();
        return test::FailureText([&] { ConcentrationTimeSeries(results.index(), results.model, x, y, '.', points); });
    };
    EXPECT_EQ(failure("35.1", "0"), "X = 35.1 is outside the grid, which goes from X = 0 to X = 30.");
    EXPECT_EQ(failure("0", "-7.6"), "Y = -7.6 is outside the grid, which goes from Y = -5 to Y = 5.");
    EXPECT_EQ(failure("", "0"), "'' is not a valid floating point value");
    EXPECT_TRUE(points.empty());

    results.writeTime(1, 3, 2);  // a file of an older, narrower grid
    EXPECT_EQ(failure("20", "0"), "X = 20 is outside the grid, which goes from X = 0 to X = 10.");
    EXPECT_EQ(pairs(points), (Pairs{{0, 23}}));
    results.writeTime(1, 2, 4);
    EXPECT_EQ(failure("0", "5"), "Y = 5 is outside the grid, which goes from Y = -5 to Y = 0.");

    results.model.DT = 0;
    EXPECT_EQ(failure("0", "0"), "The step DT must be greater than zero and small enough for at most 1000000 values.");
}

TEST(ConcentrationTime, ARealRunReadsWhatResultLoadingReads)
{
    TempFolder folder;
    const std::string root = folder.path();
    ParameterTexts texts = InitialParameterTexts();
    for (const auto& [edit, text] :
         {std::pair{6, "40"}, {7, "10"}, {8, "20"}, {10, "-20"}, {9, "10"}, {12, "3000"}, {13, "1000"}})
        SetControlText(texts, edit, text, '.');
    ModelState model;
    Variaveis(texts, model, ',');
    QuadratureState quadrature;
    ProjectState project;
    project.ProjectName = "Pluma";
    RunProgress progress;
    WriteRun(model, quadrature, nullptr, project, RunEnvironment{root, test::ValoresPath(), ','}, progress,
             [](const RunProgress&) {});

    ChartPoints points;
    ASSERT_TRUE(ConcentrationTimeSeries(project.ProjectIndexPath, model, "30", "10", ',', points));
    ASSERT_EQ(points.size(), 4u);
    for (std::size_t k = 0; k < points.size(); ++k) {
        const double t = 1000.0 * static_cast<double>(k);
        ResultGrid loaded;
        ASSERT_TRUE(LoadResultFile(TimeFilePath(root, "Pluma", t, ','), loaded, ','));
        EXPECT_EQ(points[k].x, t);
        EXPECT_EQ(points[k].y, loaded.at(4, 4)) << "time " << t;
    }
    EXPECT_GT(points.back().y, 0);
}

TEST(GridProfile, AlongXReadsARowAlongYAColumnAtMultipliedPositions)
{
    ResultGrid grid;
    for (int i = 1; i <= 5; ++i)
        for (int j = 1; j <= 4; ++j) grid.set(i, j, 10 * i + j);
    const GridAxis x{"X", 0, 0.1, 5};
    EXPECT_EQ(pairs(GridProfile(grid, x, 2)), (Pairs{{0, 12}, {0.1, 22}, {0.2, 32}, {3 * 0.1, 42}, {0.4, 52}}));
    const GridAxis y{"Y", -30, 20, 4};
    EXPECT_EQ(pairs(GridProfile(grid, y, 5)), (Pairs{{-30, 51}, {-10, 52}, {10, 53}, {30, 54}}));
}

TEST(ConcentrationTime, ATimeFileThatIsNotOneWholeTimeOfTheGridIsRefused)
{
    KnownResults results;
    ChartPoints points;
    const auto failure = [&] {
        points.clear();
        return test::FailureText([&] { ConcentrationTimeSeries(results.index(), results.model, "0", "-5", '.', points); });
    };
    results.writeTime(1, 2, 4);  // cut after its second row: the node's row is there, the rest is not
    EXPECT_EQ(failure(), results.file(1) +
                             ", line 3: the file ends after 2 rows where the project's grid has 3 rows (Y from -5 to 5 by 5)"
                             ": it was cut or is not a time of this project.");
    EXPECT_EQ(pairs(points), (Pairs{{0, 11}}));
    results.writeTime(1, 3, 5);  // a wider grid
    EXPECT_EQ(failure(), results.file(1) + ", line 1: holds 5 values where the project's grid has 4 values (X from 0 to 30 by 10)"
                                           ": it is not a time of this project, or it was cut.");
    results.writeTime(1, 200, 4);  // a longer grid
    EXPECT_EQ(failure(), results.file(1) +
                             ", line 4: the file goes on beyond the 3 rows (Y from -5 to 5 by 5) of the project's grid"
                             ": it is not a time of this project.");
}

TEST(ConcentrationTime, ADeviceOrAPipeInTheIndexIsRefusedAtOnce)
{
    KnownResults results;
    const std::string pipe = results.folder.path() + "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& named : {std::string("/dev/zero"), pipe}) {
        WriteBytes(results.index(), results.file(0) + "\r\n" + named + "\r\n");
        EXPECT_EQ(test::FailureTextWithin(5,
                                          [&] {
                                              ChartPoints points;
                                              ConcentrationTimeSeries(results.index(), results.model, "0", "0", '.', points);
                                          }),
                  named + " is not a file (a folder, a device or a pipe); choose a file.");
    }
}
