// kavrin-batch uncertainty and merge as a user runs them: the files of one run
// whatever the threads and the split into parts, and every refusal with its
// message and nothing written.
#include "BatchProgram.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

using namespace kavrin;
using kavrin::test::ReadBytes;
using kavrin::test::RunBatch;
using kavrin::test::TempFolder;
using kavrin::test::WriteBytes;

namespace {

// Of the project below, times 500 and 1000.
std::vector<std::string> uncertaintyWords()
{
    return {"uncertainty", "--set", "T0=500",      "--vary", "C0=lognormal:1,1.5", "--vary", "AlphaX=uniform:5,20",
            "--standard",  "0.05",  "--threshold", "0.5",    "--realizations",     "40",     "--seed",
            "9",           "--lhs"};
}

std::vector<std::string> with(std::vector<std::string> words, const std::vector<std::string>& more)
{
    words.insert(words.end(), more.begin(), more.end());
    return words;
}

std::vector<std::string> filesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A project file of the initial texts on a 21 × 9 grid at order 20, times 0, 500 and 1000, through kavrin-batch run --save.
std::string savedProject(const TempFolder& folder)
{
    const auto saved =
        RunBatch(folder,
                 {"run", "--set", "X1=200", "--set", "DX=10", "--set", "Y1=20", "--set", "DY=5", "--set", "T1=1000", "--set",
                  "DT=500", "--set", "GaussOrder=20", "--name", "P", "--save", folder.path() + "p.kvr"},
                 ".");
    EXPECT_EQ(saved.status, 0) << saved.err;
    return folder.path() + "p.kvr";
}

}  // namespace

TEST(BatchUncertainty, PartsMergeIntoTheFilesOfOneRunWhateverTheThreads)
{
    TempFolder folder;
    const std::string project = savedProject(folder);
    std::vector<std::string> words = uncertaintyWords();
    words.insert(words.begin() + 1, {"--project", project, "--receptors", folder.path() + "receptors.csv"});
    WriteBytes(folder.path() + "receptors.csv", "x,y,z\n50,0,0\n120,5,0\n");
    const std::string single = folder.path() + "single";
    setenv("KAVRIN_THREADS", "1", 1);
    const auto one = RunBatch(folder, with(words, {"--to", single}), ".");
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_NE(one.out.find("40 realizations on 9 x 21 nodes; standard 0.05 mg/L\nT 500: "), std::string::npos) << one.out;
    const std::vector<std::string> names = filesIn(single);
    EXPECT_EQ(names, (std::vector<std::string>{"exceed_0.05_T1000.grd", "exceed_0.05_T500.grd", "exceed_0.5_T1000.grd",
                                               "exceed_0.5_T500.grd", "mean_T1000.grd", "mean_T500.grd", "p05_T1000.grd",
                                               "p05_T500.grd", "p50_T1000.grd", "p50_T500.grd", "p95_T1000.grd", "p95_T500.grd",
                                               "plume_length.csv", "receptors.csv", "sd_T1000.grd", "sd_T500.grd"}));
    const auto receptors = kavrin::test::CrLfLines(ReadBytes(single + "/receptors.csv"));
    ASSERT_EQ(receptors.size(), 5u);
    EXPECT_EQ(receptors[0],
              "receptor,x,y,z,time,mean,p05,p50,p95,p_exceeds,p_exceeded_by_then,p_first_exceeded_then,p_never_exceeded");
    EXPECT_EQ(receptors[3].rfind("2,120,5,0,500,", 0), 0u) << receptors[3];

    for (const char* threads : {"2", "3"}) {
        setenv("KAVRIN_THREADS", threads, 1);
        const std::string again = folder.path() + "threads" + threads;
        ASSERT_EQ(RunBatch(folder, with(words, {"--to", again}), ".").status, 0);
        for (const std::string& name : names) EXPECT_EQ(ReadBytes(again + "/" + name), ReadBytes(single + "/" + name)) << name;
    }
    for (int m : {1, 2, 4, 7}) {
        setenv("KAVRIN_THREADS", std::to_string(1 + m % 3).c_str(), 1);
        std::vector<std::string> merge = {"merge"};
        for (int i = 1; i <= m; ++i) {
            const std::string part = folder.path() + "parts" + std::to_string(m) + "/" + std::to_string(i);
            const auto share =
                RunBatch(folder, with(words, {"--part", std::to_string(i) + "/" + std::to_string(m), "--to", part}), ".");
            ASSERT_EQ(share.status, 0) << share.err;
            EXPECT_EQ(filesIn(part), std::vector<std::string>{"uncertainty.part"});
            merge.push_back(part);
        }
        const std::string merged = folder.path() + "merged" + std::to_string(m);
        const auto done = RunBatch(folder, with(merge, {"--to", merged}), ".");
        ASSERT_EQ(done.status, 0) << done.err;
        EXPECT_EQ(done.out, one.out);
        ASSERT_EQ(filesIn(merged), names);
        for (const std::string& name : names)
            EXPECT_EQ(ReadBytes(merged + "/" + name), ReadBytes(single + "/" + name)) << name << " of " << m << " parts";
    }
    unsetenv("KAVRIN_THREADS");
}

TEST(BatchUncertainty, EachRefusalSaysWhatIsWrongAndWritesNothing)
{
    TempFolder folder;
    const std::string project = savedProject(folder);
    std::vector<std::string> words = uncertaintyWords();
    words.insert(words.begin() + 1, {"--project", project});
    WriteBytes(folder.path() + "bad.csv", "x,y,z\n1,2\n");
    WriteBytes(folder.path() + "fit.txt", "no fit\n");
    const struct {
        std::vector<std::string> more;
        const char* message;
    } cases[] = {
        {{"--vary", "AlphaX=uniform:3,2"}, "AlphaX: the distribution's lower end must be below its upper end"},
        {{"--vary", "AlphaY=normal:1,0"}, "AlphaY: the standard deviation and the median must be greater than zero"},
        {{"--vary", "AlphaY=normal:1,inf"}, "AlphaY: the distribution's arguments must be finite numbers."},
        {{"--vary", "C0=normal:1,0.1"}, "C0 is varied twice."},
        {{"--vary", "Colour=normal:1,0.1"}, "\"Colour\" is not a parameter that can vary"},
        {{"--vary", "Porosity=uniform:2,3"}, "Porosity: the distribution gives no value the parameter can physically take."},
        {{"--threshold", "0"}, "The threshold 0 is not a number greater than zero."},
        {{"--threshold", "-2"}, "The threshold -2 is not a number greater than zero."},
        {{"--part", "5/4"}, "The part 5/4 must be I/M with I from 1 to M."},
        {{"--part", "0/4"}, "The part 0/4 must be I/M with I from 1 to M."},
        {{"--part", "two"}, "--part takes I/M, not \"two\"."},
        {{"--time", "0"}, "The time 0 is not a number greater than zero."},
        {{"--receptors", folder.path() + "bad.csv"}, "is not 3 numbers (x, y, z)."},
        {{"--from-fit", folder.path() + "fit.txt"}, "There is no fit to draw from"},
    };
    for (const auto& c : cases) {
        const std::string to = folder.path() + "out";
        const auto refused = RunBatch(folder, with(with(words, c.more), {"--to", to}), ".");
        EXPECT_EQ(refused.status, 1) << c.message;
        EXPECT_NE(refused.err.find(c.message), std::string::npos) << refused.err;
        EXPECT_FALSE(std::filesystem::exists(to)) << c.message;
    }
    // The number of realizations, outside 2 … 1000000.
    for (const auto& [count, message] : {std::pair{"1", "at least 2, not 1."},
                                         {"1000001", "at most 1000000, not 1000001."},
                                         {"many", "--realizations takes a whole number, not \"many\"."}}) {
        std::vector<std::string> changed = words;
        *(std::find(changed.begin(), changed.end(), "--realizations") + 1) = count;
        const auto refused = RunBatch(folder, with(changed, {"--to", folder.path() + "out"}), ".");
        EXPECT_EQ(refused.status, 1);
        EXPECT_NE(refused.err.find(message), std::string::npos) << refused.err;
        EXPECT_FALSE(std::filesystem::exists(folder.path() + "out"));
    }
}

TEST(BatchUncertainty, TheMergeRefusesPartsOfDifferentSettingsNamingTheSetting)
{
    TempFolder folder;
    const std::string project = savedProject(folder);
    std::vector<std::string> words = uncertaintyWords();
    words.insert(words.begin() + 1, {"--project", project});
    ASSERT_EQ(RunBatch(folder, with(words, {"--part", "1/2", "--to", folder.path() + "a"}), ".").status, 0);
    std::vector<std::string> otherSeed = words;
    *(std::find(otherSeed.begin(), otherSeed.end(), "--seed") + 1) = "10";
    ASSERT_EQ(RunBatch(folder, with(otherSeed, {"--part", "2/2", "--to", folder.path() + "b"}), ".").status, 0);
    const auto refused = RunBatch(folder, {"merge", folder.path() + "a", folder.path() + "b", "--to", folder.path() + "m"}, ".");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("were computed with different settings: seed."), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "m"));
    const auto usage = RunBatch(folder, {"merge", "--to", folder.path() + "m"}, ".");
    EXPECT_EQ(usage.status, 2);
    EXPECT_NE(usage.err.find("merge needs DIR..."), std::string::npos) << usage.err;
}

// On a machine whose decimal separator is a comma the times and thresholds are
// typed with it and name the grids so, but the CSV files keep commas between
// columns and points in numbers: the same bytes as on a machine with points,
// from one run and from a merge of parts.
TEST(BatchUncertainty, TheCsvFilesHavePointsWhateverTheMachinesSeparator)
{
    TempFolder folder;
    const std::string project = savedProject(folder);
    const auto words = [&](const char* time, const char* standard, const char* threshold, const std::string& receptors) {
        return std::vector<std::string>{"uncertainty",
                                        "--project",
                                        project,
                                        "--vary",
                                        "C0=lognormal:1;2",
                                        "--standard",
                                        standard,
                                        "--threshold",
                                        threshold,
                                        "--time",
                                        time,
                                        "--time",
                                        "1000",
                                        "--receptors",
                                        receptors,
                                        "--realizations",
                                        "20",
                                        "--seed",
                                        "4"};
    };
    WriteBytes(folder.path() + "comma.csv", "x;y;z\n50;0;0\n120,5;5;0\n");
    WriteBytes(folder.path() + "point.csv", "x,y,z\n50,0,0\n120.5,5,0\n");
    const std::string comma = folder.path() + "comma", point = folder.path() + "point";
    const auto commaRun =
        RunBatch(folder, with(words("750,5", "0,05", "0,5", folder.path() + "comma.csv"), {"--to", comma}), ",");
    ASSERT_EQ(commaRun.status, 0) << commaRun.err;
    const auto pointRun =
        RunBatch(folder, with(words("750.5", "0.05", "0.5", folder.path() + "point.csv"), {"--to", point}), ".");
    ASSERT_EQ(pointRun.status, 0) << pointRun.err;
    EXPECT_TRUE(std::filesystem::exists(comma + "/exceed_0,05_T750,5.grd"));
    EXPECT_TRUE(std::filesystem::exists(point + "/exceed_0.05_T750.5.grd"));

    const auto receptors = kavrin::test::CrLfLines(ReadBytes(comma + "/receptors.csv"));
    const auto lengths = kavrin::test::CrLfLines(ReadBytes(comma + "/plume_length.csv"));
    ASSERT_EQ(receptors.size(), 5u);
    ASSERT_EQ(lengths.size(), 3u);
    EXPECT_EQ(receptors[3].rfind("2,120.5,5,0,750.5,", 0), 0u) << receptors[3];
    EXPECT_EQ(lengths[1].rfind("750.5,", 0), 0u) << lengths[1];
    // Every line has as many columns as its heading, each a number with a point.
    for (const auto* lines : {&receptors, &lengths})
        for (std::size_t k = 1; k < lines->size(); ++k) {
            const std::string& line = (*lines)[k];
            EXPECT_EQ(std::count(line.begin(), line.end(), ','), std::count((*lines)[0].begin(), (*lines)[0].end(), ',')) << line;
        }
    for (const char* name : {"receptors.csv", "plume_length.csv"})
        EXPECT_EQ(ReadBytes(comma + "/" + name), ReadBytes(point + "/" + name)) << name;

    std::vector<std::string> merge = {"merge"};
    for (const char* share : {"1/2", "2/2"}) {
        const std::string part = folder.path() + "part" + std::string(share).substr(0, 1);
        const auto made = RunBatch(
            folder, with(words("750,5", "0,05", "0,5", folder.path() + "comma.csv"), {"--part", share, "--to", part}), ",");
        ASSERT_EQ(made.status, 0) << made.err;
        merge.push_back(part);
    }
    // The parts merge the same on either machine.
    for (const char* separator : {",", "."}) {
        const std::string merged = folder.path() + "merged" + separator;
        ASSERT_EQ(RunBatch(folder, with(merge, {"--to", merged}), separator).status, 0);
        ASSERT_EQ(filesIn(merged), filesIn(comma));
        for (const std::string& name : filesIn(comma))
            EXPECT_EQ(ReadBytes(merged + "/" + name), ReadBytes(comma + "/" + name)) << name << " merged on " << separator;
    }
}
