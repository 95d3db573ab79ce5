#include "TestSupport.h"
#include "model/Variaveis.h"
#include "text/Errors.h"
#include "text/NumberText.h"
#include "workspace/RunIndex.h"
#include "workspace/SimulationRun.h"
#include "workspace/Workspace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace kavrin;
using kavrin::test::CrLfLines;
using kavrin::test::ReadBytes;
using kavrin::test::TempFolder;

namespace {

// A run of the initial model with some texts changed, into a fresh root.
struct RunFixture {
    TempFolder folder;
    std::string root = folder.path() + "KAVRIN/";
    ModelState model;
    QuadratureState quadrature;
    ResultGrid grid;
    ProjectState project;
    RunProgress progress;
    int rows = 0;

    void write(const std::vector<std::pair<int, const char*>>& changes, char separator,
               const std::string& valores = kavrin::test::ValoresPath())
    {
        run(changes, RunEnvironment{root, valores, separator}, [this](const RunProgress&) { ++rows; });
    }
    // With '.' as separator, a thread count, and a callback of the test's own.
    RunOutcome writeWith(const std::vector<std::pair<int, const char*>>& changes, const RowCallback& onRow, unsigned workers,
                         bool reference = false)
    {
        return run(changes, RunEnvironment{root, kavrin::test::ValoresPath(), '.', reference, workers}, onRow);
    }
    RunOutcome run(const std::vector<std::pair<int, const char*>>& changes, const RunEnvironment& environment,
                   const RowCallback& onRow)
    {
        ParameterTexts texts = InitialParameterTexts();
        for (const auto& [edit, text] : changes) SetControlText(texts, edit, text, '.');
        Variaveis(texts, model, '.');
        project.ProjectName = "Teste";
        return WriteRun(model, quadrature, &grid, project, environment, progress, onRow);
    }
    std::string bytes(const std::string& file) const { return ReadBytes(root + "Teste/" + file); }
    std::vector<std::string> lines(const std::string& file) const { return CrLfLines(ReadBytes(root + "Teste/" + file)); }
};

const std::vector<std::pair<int, const char*>> kCoarseGrid = {{7, "50"}, {9, "30"}};  // 3 × 3 points

std::vector<std::string> words(const std::string& line)
{
    std::vector<std::string> result;
    std::size_t start = 0;
    for (std::size_t blank; (blank = line.find(' ', start)) != std::string::npos; start = blank + 1)
        result.push_back(line.substr(start, blank - start));
    EXPECT_EQ(start, line.size()) << "every value, the last included, is followed by one blank";
    return result;
}

}  // namespace

TEST(Run, CoarseGridAtTimeZeroIsTheInitialCondition)
{
    for (char separator : {',', '.'}) {
        RunFixture run;
        run.write(kCoarseGrid, separator);
        const std::string zero = FormatGridValue(0, separator);
        const std::string half = FormatGridValue(0.5, separator);
        const std::vector<std::string> expected = {zero + " " + zero + " " + zero + " ", half + " " + zero + " " + zero + " ",
                                                   zero + " " + zero + " " + zero + " "};
        EXPECT_EQ(run.lines("T0.txt"), expected);
        EXPECT_EQ(ReadBytes(run.root + "Teste/T0.txt").substr(0, 25),
                  separator == ',' ? "0,00000000000000E+0000 0," : "0.00000000000000E+0000 0.");
    }
}

TEST(Run, CoarseGridAtTheFinalTime)
{
    RunFixture run;
    run.write(kCoarseGrid, ',');
    const std::vector<std::string> lines = run.lines("T2500.txt");
    ASSERT_EQ(lines.size(), 3u);
    const std::vector<std::string> middle = words(lines[1]);
    ASSERT_EQ(middle.size(), 3u);
    EXPECT_EQ(middle[0], "5,00000000000000E-0001");
    EXPECT_NEAR(ParseFloat(middle[1], ','), 0.113644, 5e-7);
    EXPECT_NEAR(ParseFloat(middle[2], ','), 5.44232e-5, 5e-10);
    const std::vector<std::string> first = words(lines[0]), last = words(lines[2]);
    for (std::size_t j = 0; j < 3; ++j) EXPECT_NEAR(ParseFloat(first[j], ','), ParseFloat(last[j], ','), 1e-15);
    EXPECT_NEAR(run.grid.at(2, 2), 0.113644, 5e-7);  // the grid holds the last time
    EXPECT_EQ(run.grid.at(1, 2), 0.5);
}

TEST(Run, IndexListsEveryTimeFileInOrder)
{
    RunFixture run;
    run.write(kCoarseGrid, ',');
    EXPECT_EQ(run.lines("Index.txt"), (std::vector<std::string>{run.root + "Teste/T0.txt", run.root + "Teste/T2500.txt"}));
    EXPECT_EQ(run.project.ProjectIndexPath, run.root + "Teste/Index.txt");
    EXPECT_TRUE(run.project.ResultsExist);
    EXPECT_EQ(run.progress.PointsDone, 18u);
    EXPECT_EQ(run.progress.PointsTotal, 18u);
    EXPECT_EQ(ProgressPosition(run.progress), 100);
    EXPECT_EQ(run.rows, 6);
}

TEST(Run, FullInitialModelWritesSixtyOneLinesOfOneHundredAndOneValues)
{
    RunFixture run;
    run.write({}, '.');
    for (const char* file : {"T0.txt", "T2500.txt"}) {
        const std::vector<std::string> lines = run.lines(file);
        ASSERT_EQ(lines.size(), 61u);
        for (const std::string& line : lines) EXPECT_EQ(words(line).size(), 101u);
    }
    EXPECT_NEAR(ParseFloat(words(run.lines("T2500.txt")[30])[1], '.'), 0.5 * 0.964292, 5e-7);
}

TEST(Run, SeriesAndGridShapes)
{
    struct Case {
        std::vector<std::pair<int, const char*>> texts;
        std::vector<std::string> files;
        std::size_t linesPerFile;
    };
    const Case cases[] = {
        {{{7, "50"}, {9, "30"}, {11, "2500"}}, {"T2500.txt"}, 3},  // T0 = T1
        {{{7, "50"}, {9, "30"}, {11, "3000"}}, {}, 0},             // T1 < T0
        {{{7, "50"}, {9, "200"}}, {"T0.txt", "T2500.txt"}, 1},     // NY = 0: one row
        {{{7, "-1"}, {9, "30"}, {12, "0"}}, {"T0.txt"}, 3},        // NX < 0: empty lines
        {{{7, "50"}, {9, "30"}, {12, "1"}, {13, "0.25"}}, {"T0.txt", "T0.25.txt", "T0.5.txt", "T0.75.txt", "T1.txt"}, 3},
    };
    for (const Case& c : cases) {
        RunFixture run;
        run.write(c.texts, '.');
        std::vector<std::string> listed;
        for (const std::string& path : run.lines("Index.txt")) listed.push_back(path.substr(path.rfind('/') + 1));
        EXPECT_EQ(listed, c.files);
        for (const std::string& file : c.files) {
            const std::vector<std::string> lines = run.lines(file);
            EXPECT_EQ(lines.size(), c.linesPerFile) << file;
            if (run.model.NX < 0) {
                for (const std::string& line : lines) EXPECT_EQ(line, "");
            }
        }
    }
}

TEST(Run, AGridThatMissesXZeroHasNoBoundaryColumn)
{
    RunFixture run;
    run.write({{5, "-0.3"}, {6, "30"}, {7, "0.1"}, {10, "-5"}, {9, "5"}, {2, "4"}}, '.');
    // x = 3·0.1 − 0.3 comes out as 5.55E-17, not 0: the integral's value, near 0.
    const std::vector<std::string> sourceRow = words(run.lines("T2500.txt")[1]);
    EXPECT_EQ(sourceRow[2], "0.00000000000000E+0000");
    EXPECT_LT(ParseFloat(sourceRow[3], '.'), 1e-10);
    EXPECT_GT(ParseFloat(sourceRow[4], '.'), 0.4);
}

TEST(Run, AnOrderOutsideTheTableRightAfterStartGivesZeroAwayFromTheSource)
{
    RunFixture run;
    run.write({{7, "50"}, {9, "30"}, {11, "2500"}, {0, "10"}}, '.');  // edit 0 is ComboBox1
    EXPECT_EQ(words(run.lines("T2500.txt")[1]),
              (std::vector<std::string>{"5.00000000000000E-0001", "0.00000000000000E+0000", "0.00000000000000E+0000"}));
}

TEST(Run, AFailureInTheFirstTimeLeavesNoResultsAndNoFolder)
{
    RunFixture run;
    run.project.ResultsExist = true;  // earlier results, settled before the run
    EXPECT_THROW(run.write(kCoarseGrid, '.', run.folder.path() + "missing-valores.txt"), FileError);
    EXPECT_FALSE(run.project.ResultsExist);
    EXPECT_EQ(run.project.ProjectName, "Teste");
    EXPECT_FALSE(std::filesystem::exists(run.root + "Teste"));
}

TEST(Run, AStopRequestEndsTheRunOnceTheTimeBeingWrittenIsComplete)
{
    const std::vector<std::pair<int, const char*>> fourTimes = {{7, "50"}, {9, "30"}, {12, "7500"}};  // 0 … 7500
    for (bool reference : {false, true}) {
        RunFixture whole, stopped;
        EXPECT_EQ(whole.writeWith(fourTimes, {}, 2, reference), RunOutcome::Finished);
        const RunOutcome outcome = stopped.writeWith(
            fourTimes,
            [](const RunProgress& now) { return now.CurrentTime == 2500 ? RunRequest::StopAfterThisTime : RunRequest::Continue; },
            2, reference);
        EXPECT_EQ(outcome, RunOutcome::Stopped);
        EXPECT_EQ(stopped.lines("Index.txt"),
                  (std::vector<std::string>{stopped.root + "Teste/T0.txt", stopped.root + "Teste/T2500.txt"}));
        EXPECT_EQ(stopped.bytes("T2500.txt"), whole.bytes("T2500.txt"));
        EXPECT_FALSE(std::filesystem::exists(stopped.root + "Teste/T5000.txt"));
        EXPECT_EQ(stopped.progress.PointsDone, 18u);
    }
}

TEST(Run, FilesAreTheSameForAnyNumberOfThreads)
{
    const std::vector<std::pair<int, const char*>> fourTimes = {{12, "7500"}};  // 61 × 101 points
    RunFixture one;
    one.writeWith(fourTimes, {}, 1);
    for (unsigned workers : {2u, 3u, 8u}) {
        RunFixture many;
        many.writeWith(fourTimes, {}, workers);
        for (const char* file : {"T0.txt", "T2500.txt", "T5000.txt", "T7500.txt"})
            EXPECT_EQ(many.bytes(file), one.bytes(file)) << workers << " threads, " << file;
        EXPECT_EQ(many.grid.at(40, 31), one.grid.at(40, 31));
    }
}

// The index lists exactly the complete times: a time that fails leaves
// neither its line nor a file, and the times before it stay complete.
TEST(Run, ALaterTimeThatFailsLeavesTheEarlierTimesCompleteAndNoTraceOfItself)
{
    // Growth instead of decay: the solution leaves the double range at t = 2500.
    for (bool reference : {false, true}) {
        RunFixture failing, first;
        EXPECT_THROW(failing.writeWith({{7, "5"}, {9, "5"}, {21, "-1"}, {12, "5000"}}, {}, 2, reference), FloatError);
        first.writeWith({{7, "5"}, {9, "5"}, {21, "-1"}, {12, "0"}}, {}, 2, reference);
        EXPECT_EQ(failing.lines("Index.txt"), (std::vector<std::string>{failing.root + "Teste/T0.txt"}));
        EXPECT_EQ(failing.bytes("T0.txt"), first.bytes("T0.txt"));
        EXPECT_TRUE(failing.project.ResultsExist);
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(failing.root + "Teste"))
            files.push_back(entry.path().filename().string());
        std::sort(files.begin(), files.end());
        EXPECT_EQ(files, (std::vector<std::string>{"Index.txt", "T0.txt"})) << "no hidden file is left either";
    }
}

// At every row of every time (the moments a run can be killed at), the index
// names exactly the time files on disk, each of them whole, and nothing else.
TEST(Run, AtEveryMomentTheIndexListsExactlyTheCompleteTimes)
{
    const std::vector<std::pair<int, const char*>> fourTimes = {{7, "50"}, {9, "30"}, {12, "7500"}};  // 0 … 7500
    for (bool reference : {false, true}) {
        RunFixture whole, watched;
        whole.writeWith(fourTimes, {}, 2, reference);
        int checks = 0;
        watched.writeWith(
            fourTimes,
            [&](const RunProgress&) {
                const std::string folder = watched.root + "Teste/";
                std::vector<std::string> listed, onDisk;
                for (const std::string& path : CrLfLines(ReadBytes(folder + "Index.txt"))) {
                    listed.push_back(path.substr(path.rfind('/') + 1));
                    EXPECT_EQ(ReadBytes(path), whole.bytes(listed.back())) << "a listed file is whole";
                }
                for (const auto& entry : std::filesystem::directory_iterator(folder)) {
                    const std::string name = entry.path().filename().string();
                    if (name[0] != '.' && name != "Index.txt") onDisk.push_back(name);
                }
                std::sort(onDisk.begin(), onDisk.end(), [](const std::string& a, const std::string& b) {
                    return ParseFloat(a.substr(1, a.size() - 5), '.') < ParseFloat(b.substr(1, b.size() - 5), '.');
                });
                EXPECT_EQ(listed, onDisk);
                EXPECT_EQ(listed.size(), static_cast<std::size_t>(checks / 3)) << "three rows a time";
                ++checks;
            },
            2, reference);
        EXPECT_EQ(checks, 12);
        EXPECT_EQ(watched.lines("Index.txt").size(), 4u);
    }
}

// An index line that cannot be written (a full disk) is an error naming the index.
TEST(Run, AnIndexLineThatCannotBeWrittenIsAnErrorNamingTheIndex)
{
    RunIndex full("/dev/full");
    EXPECT_NE(kavrin::test::FailureText([&] { full.append("/r/P/T0.txt"); }).find("/dev/full"), std::string::npos);
    EXPECT_THROW(full.append("/r/P/T0.txt"), FileError);
}
