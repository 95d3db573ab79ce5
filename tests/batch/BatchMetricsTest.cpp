#include "BatchProgram.h"
#include "TestSupport.h"
#include "files/ProjectFile.h"
#include "model/Variaveis.h"
#include "plume/PlumeMetrics.h"
#include "text/NumberText.h"
#include "workspace/ResultLoading.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kavrin;
using kavrin::test::RunBatch;
using kavrin::test::TempFolder;

namespace {

// Runs the start-up model (times 0 and 2500) with the --set texts into
// project "p", saved as p.kvr; returns the project file's path.
std::string RunProject(const TempFolder& folder, std::vector<std::string> sets = {})
{
    std::vector<std::string> args{"run", "--name", "p", "--save", folder.path() + "p.kvr"};
    for (const std::string& set : sets) args.insert(args.end(), {"--set", set});
    const auto run = RunBatch(folder, args);
    EXPECT_EQ(run.status, 0) << run.err;
    return folder.path() + "p.kvr";
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

}  // namespace

TEST(BatchMetrics, PrintsTheMeasuresOfEachListedTime)
{
    TempFolder folder;
    const std::string project = RunProject(folder);
    const auto all = RunBatch(folder, {"metrics", "--project", project, "--standard", "0,05", "--beyond", "40"});
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.err, "");
    const std::vector<std::string> lines = Lines(all.out);
    ASSERT_EQ(lines.size(), 3u) << all.out;
    EXPECT_EQ(lines[0], "time,length,width,area,max_beyond");

    // The line of 2500 holds the measures of its results file, '.' decimals.
    ModelState model;
    Variaveis(ReadProjectFile(project).texts, model, ',');
    ResultGrid grid;
    ASSERT_TRUE(LoadResultFile(folder.path() + "KAVRIN/p/T2500.txt", grid, model, ','));
    const PlumeMetrics m = MeasurePlume(grid, model, 0.05, 40.0);
    EXPECT_GT(m.length, 60);
    EXPECT_EQ(lines[2], "2500," + FormatGeneral(m.length, '.') + "," + FormatGeneral(m.width, '.') + "," +
                            FormatGeneral(m.area, '.') + "," + FormatGeneral(*m.maxBeyond, '.'));
    EXPECT_EQ(lines[1].substr(0, 2), "0,");

    // One time alone, with a point in the standard; without --beyond its column is empty.
    const auto one = RunBatch(folder, {"metrics", "--project", project, "--time", "2500", "--standard", "0.05"});
    ASSERT_EQ(one.status, 0) << one.err;
    const std::string withoutBeyond = lines[2].substr(0, lines[2].rfind(',') + 1);
    EXPECT_EQ(one.out, "time,length,width,area,max_beyond\n" + withoutBeyond + "\n");
}

TEST(BatchMetrics, NamesTheMeasuresTheGridsEdgeCutsShort)
{
    TempFolder folder;
    const std::string project = RunProject(folder, {"X1=60"});  // the plume of 2500 reaches beyond x = 60
    const auto result = RunBatch(folder, {"metrics", "--project", project, "--time", "2500", "--standard", "0.05"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("\n2500,60,"), std::string::npos) << result.out;
    EXPECT_EQ(result.err, "kavrin-batch: at time 2500 the plume reaches the grid's edge: length and area are lower bounds\n");
}

TEST(BatchMetrics, RefusesByName)
{
    TempFolder folder;
    const std::string project = RunProject(folder);
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {{"--project", project}, 2, "--standard"},
        {{"--project", project, "--standard", "0"}, 1, "--standard takes a concentration above 0 mg/L, not \"0\""},
        {{"--project", project, "--standard", "-1"}, 1, "--standard takes a concentration above 0 mg/L, not \"-1\""},
        {{"--project", project, "--standard", "much"}, 1, "--standard takes a concentration (mg/L), not \"much\""},
        {{"--project", project, "--standard", "1", "--beyond", "far"}, 1, "--beyond takes a distance (m), not \"far\""},
        {{"--project", project, "--standard", "1", "--beyond", "101"},
         1,
         "--beyond 101 lies beyond the grid's last column (x = 100)"},
        {{"--project", project, "--standard", "1", "--time", "2500.0"},
         1,
         "The time 2500.0 is not one of the times the project's index lists"},
        {{"--project", folder.path() + "none.kvr", "--standard", "1"}, 1, "none.kvr"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"metrics"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto result = RunBatch(folder, args);
        EXPECT_EQ(result.status, c.status) << c.message;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }
}

TEST(BatchMetrics, RefusesATimeWhoseResultsAreNotWhole)
{
    TempFolder folder;
    const std::string project = RunProject(folder);
    const std::string path = folder.path() + "KAVRIN/p/T2500.txt";
    std::string bytes = kavrin::test::ReadBytes(path);
    kavrin::test::WriteBytes(path, bytes.substr(0, bytes.size() / 2));
    const auto result = RunBatch(folder, {"metrics", "--project", project, "--standard", "0.05"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("T2500.txt"), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "") << "no line is printed when a time cannot be measured";

    std::filesystem::remove(path);
    const auto missing = RunBatch(folder, {"metrics", "--project", project, "--standard", "0.05"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("T2500.txt of the time 2500 does not exist"), std::string::npos) << missing.err;
}
