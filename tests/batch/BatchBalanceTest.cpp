#include "BatchBalance.h"
#include "BatchProgram.h"
#include "BatchRun.h"
#include "TestSupport.h"
#include "files/ProjectFile.h"
#include "model/Variaveis.h"
#include "solution/MassBalance.h"
#include "text/NumberText.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace kavrin;
using kavrin::test::FailureText;
using kavrin::test::ReadBytes;
using kavrin::test::RunBatch;
using kavrin::test::TempFolder;
using kavrin::test::WriteBytes;

namespace {

// A project of four times (0, 500, 1000, 1500) with the initial texts otherwise.
std::string savedProject(const TempFolder& folder, const SourceTexts& source = {})
{
    ParameterTexts texts = InitialParameterTexts();
    texts.edit[12] = "1500";
    texts.edit[13] = "500";
    texts.source = source;
    const std::string path = folder.path() + "p.kvr";
    WriteUnrunProjectFile(path, "p", "01-01-26 00-00-00", texts);
    return path;
}

}  // namespace

TEST(BatchBalance, PrintsTheBalanceAtEachOfTheProjectsTimes)
{
    TempFolder folder;
    const std::string project = savedProject(folder, {{"SourceHistory", "stop"}, {"ReleaseEnd", "700"}, {"ControlPlaneX", "30"}});
    const auto result = RunBatch(folder, {"balance", "--project", project}, ",");
    ASSERT_EQ(result.status, 0) << result.err;

    ModelState model;
    Variaveis(ReadProjectFile(project).texts, model, '.');
    std::string expected = "time,entered,decayed,dissolved,sorbed,discharge_control,discharge_edge\n";
    for (const MassBalanceRow& row : ComputeMassBalance(model, {0, 500, 1000, 1500})) {
        for (double value : {row.time, row.entered, row.decayed, row.dissolved, row.sorbed, row.dischargeControl})
            expected += FormatGeneral(value, '.') + ",";
        expected += FormatGeneral(row.dischargeEdge, '.') + "\n";
    }
    EXPECT_EQ(result.out, expected) << "'.' decimals whatever the number texts' separator";

    // Without a control plane its column is empty.
    const auto plain = RunBatch(folder, {"balance", "--project", savedProject(folder)});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_NE(plain.out.find("\n500,"), std::string::npos);
    EXPECT_NE(plain.lastLine().find(",,"), std::string::npos) << plain.lastLine();
}

TEST(BatchBalance, RefusesAsTheOtherCommandsDo)
{
    TempFolder folder;
    const std::string project = savedProject(folder);
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {{"balance"}, 2, "--project"},
        {{"balance", "--project", project, "--set", "SourceHistory=decay"}, 1, "needs its decay rate"},
        {{"balance", "--project", project, "--set", "ControlPlaneX=101"}, 1, "must lie between 0 and X1"},
        {{"balance", "--project", project, "--set", "Edit17=0"}, 1, "Porosity"},
        {{"balance", "--project", project, "--set", "SourceWidth=1", "--set", "Zone=1"}, 2, "unknown parameter \"Zone\""},
        {{"balance", "--project", folder.path() + "none.kvr"}, 1, "none.kvr"},
    };
    for (const Case& c : cases) {
        const auto result = RunBatch(folder, c.args);
        EXPECT_EQ(result.status, c.status) << c.args.back();
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty()) << result.out;
    }
}

TEST(BatchSourceOptions, SetStepsAndZonesGiveTheSourceTexts)
{
    TempFolder folder;
    WriteBytes(folder.path() + "steps.csv", "start,relative\r\n0,1\r\n100;0,5\r\n\r\n400,0\r\n");
    WriteBytes(folder.path() + "zones.csv", "y,z,width,height,concentration\n0,1,20,3,0.6\n2,1,4,1,9\n-20,0,6,2,2.8\n");
    const ParameterTexts texts =
        BatchParameterTexts(std::nullopt, std::nullopt, {{"ControlPlaneX", "50"}, {"SourceHalfLife", "9"}, {"C0", "0,7"}}, ',',
                            folder.path() + "steps.csv", folder.path() + "zones.csv");
    EXPECT_EQ(texts.source, (SourceTexts{{"SourceHistory", "steps"},
                                         {"SourceHalfLife", "9"},
                                         {"SourceSteps", "0 1|100 0,5|400 0"},
                                         {"SourceCentre", "0 1"},
                                         {"SourceZones", "2 1 4 1 9|-20 0 6 2 2,8"},
                                         {"ControlPlaneX", "50"}}));
    EXPECT_EQ(texts.edit[1], "0,7") << "--set applies after the zones";
    EXPECT_EQ(texts.edit[2], "20");
    EXPECT_EQ(texts.edit[3], "3");

    // One zone at the centre: the first zone alone, no line for it.
    WriteBytes(folder.path() + "one.csv", "0,0,10,2,5\n");
    const ParameterTexts one = BatchParameterTexts(std::nullopt, std::nullopt, {}, '.', std::nullopt, folder.path() + "one.csv");
    EXPECT_TRUE(one.source.empty());
    EXPECT_EQ(one.edit[1], "5");
}

TEST(BatchSourceOptions, ABadTableIsRefusedNamingTheFileAndTheLine)
{
    TempFolder folder;
    std::string tooMany;
    for (int i = 0; i < 21; ++i) tooMany += std::to_string(30 * i) + ",0,1,1,1\n";
    struct Case {
        bool steps;
        std::string bytes, message;
    };
    const Case cases[] = {
        {true, "0,1\n5,x\n", ", line 2: \"5,x\" is not 2 numbers (start time, relative concentration)."},
        {true, "0,1,2\n", ", line 1: \"0,1,2\" is not 2 numbers (start time, relative concentration)."},
        {true, "10,1\n10,2\n", ", line 2: a step starts after the step before it."},
        {true, "0,-1\n", ", line 1: a step starts at 0 or later, with a relative concentration of 0 or more."},
        {true, "start,relative\n\n", ", line 2: the file lists no (start time, relative concentration)."},
        {false, "0,0,20,3\n", ", line 1: \"0,0,20,3\" is not 5 numbers (y, z, width, height, concentration)."},
        {false, "0,0,20,3,1\n1,1,0,1,1\n", ", line 2: a zone's width and height are greater than 0."},
        {false, tooMany, ", line 21: more than 20 zones."},
    };
    for (const Case& c : cases) {
        const std::string path = folder.path() + "t.csv";
        WriteBytes(path, c.bytes);
        const std::optional<std::string> steps = c.steps ? std::optional(path) : std::nullopt;
        const std::optional<std::string> zones = c.steps ? std::nullopt : std::optional(path);
        const std::string failure = FailureText([&] { BatchParameterTexts(std::nullopt, std::nullopt, {}, '.', steps, zones); });
        EXPECT_EQ(failure, path + c.message);
    }
}

TEST(BatchSourceOptions, ARunSavesTheOptionsAfterTheTwentyFiveLinesAndNoneWithoutThem)
{
    TempFolder folder;
    const auto plain = RunBatch(folder, {"run", "--set", "T1=0", "--name", "a", "--save", folder.path() + "a.kvr"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    const std::string twentyFive = ReadBytes(folder.path() + "a.kvr");
    EXPECT_EQ(kavrin::test::CrLfLines(twentyFive).size(), 25u);

    const auto options = RunBatch(folder, {"run", "--set", "T1=0", "--set", "SourceHistory=stop", "--set", "ReleaseEnd=10",
                                           "--set", "SourceHistory=constant", "--name", "b", "--save", folder.path() + "b.kvr"});
    ASSERT_EQ(options.status, 0) << options.err;
    const std::vector<std::string> lines = kavrin::test::CrLfLines(ReadBytes(folder.path() + "b.kvr"));
    ASSERT_EQ(lines.size(), 26u);
    EXPECT_EQ(lines[25], "ReleaseEnd=10");
}
