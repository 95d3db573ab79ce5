#include "workspace/RunFileChecks.h"
#include "TestSupport.h"
#include "core/ModelWithTexts.h"
#include "files/ResultExports.h"
#include "model/RunTimes.h"
#include "model/Variaveis.h"
#include "text/Errors.h"
#include "workspace/SimulationRun.h"
#include "workspace/Workspace.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kavrin;
using kavrin::test::FailureText;
using kavrin::test::ModelWith;
using kavrin::test::TempFolder;
using kavrin::test::WriteBytes;

namespace {

std::uintmax_t folderBytes(const std::string& folder)
{
    std::uintmax_t bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) bytes += entry.file_size();
    return bytes;
}

}  // namespace

TEST(RunTimes, RepeatedAdditionUpToTheLastTimeNotAfterT1)
{
    std::vector<double> added;
    for (double t = 0; t <= 1; t = t + 0.1) added.push_back(t);
    EXPECT_EQ(RunTimes(0, 1, 0.1), added);
    TimeSequence sequence(0, 0.1);
    for (double t : added) EXPECT_EQ(sequence.next(), t);
    EXPECT_EQ(RunTimes(5, 4, 1), std::vector<double>{});
    EXPECT_EQ(RunTimes(0, 999999, 1)->size(), kMaximumRunTimes);
    // No list: one time too many, a step that is not positive, an addition that no longer moves.
    for (const auto& [T0, T1, DT] : {std::tuple{0.0, 1e6, 1.0},
                                     {0.0, 1.0, 0.0},
                                     {0.0, 1.0, -1.0},
                                     {1e16, 1e16 + 4, 1.0},
                                     {0.0, 1.0, std::numeric_limits<double>::quiet_NaN()}})
        EXPECT_FALSE(RunTimes(T0, T1, DT).has_value()) << T0 << " " << T1 << " " << DT;
}

// Fifteen significant digits name a file: times closer than that would write
// over each other, so the run is refused before it creates anything, naming them.
TEST(RunFileChecks, TwoTimesOfOneFileNameAreRefusedNamingThem)
{
    TempFolder folder;
    const std::string root = folder.path() + "KAVRIN/";
    struct Case {
        std::vector<std::pair<int, const char*>> texts;
        const char* message;
    };
    const Case cases[] = {
        {{{11, "1"}, {12, "1.000000000000005"}, {13, "1e-15"}},
         "The times 1 and 1.0000000000000011 would both be written to the file T1.txt"},
        {{{11, "1e15"}, {12, "1000000000000000.5"}, {13, "0.1"}},
         "The times 1000000000000000 and 1000000000000000.1 would both be written to the file T1E15.txt"},
    };
    for (const Case& c : cases) {
        const ModelState model = ModelWith(c.texts);
        const std::string text = FailureText([&] { CheckRunFiles(model, root, "Teste", '.'); });
        EXPECT_EQ(text.substr(0, std::string(c.message).size()), c.message) << text;
        try {
            CheckRunFiles(model, root, "Teste", '.');
        } catch (const RunFilesRefusal& refusal) {
            EXPECT_NE(refusal.portuguese().find("seriam gravados no mesmo arquivo"), std::string::npos);
        }
    }
    EXPECT_NO_THROW(CheckRunFiles(ModelWith({{12, "1"}, {13, "0.1"}}), root, "Teste", '.'));
    EXPECT_FALSE(std::filesystem::exists(root)) << "a check creates nothing";
}

// An export of every time names its files by the same times: DT = 0 in the
// project would write them all over one file.
TEST(RunFileChecks, AnExportWhoseTimesShareANameWritesNothing)
{
    TempFolder folder;
    WriteBytes(folder.path() + "T0.txt", "1,00000000000000E+0000 \r\n");
    WriteBytes(folder.path() + "T5.txt", "2,00000000000000E+0000 \r\n");
    WriteBytes(folder.path() + "Index.txt", folder.path() + "T0.txt\r\n" + folder.path() + "T5.txt\r\n");
    ModelState model = ModelWith({{6, "0"}, {10, "0"}, {2, "0"}, {12, "5"}, {13, "5"}});
    model.DT = 0;
    for (auto* exportAll : {&GrdAsccreate, &TxtTabcreate}) {
        EXPECT_THROW(exportAll(folder.path() + "e", folder.path() + "Index.txt", 1, model, ','), RunFilesRefusal);
        for (const char* written : {"eT0.grd", "eT0.txt"}) EXPECT_FALSE(std::filesystem::exists(folder.path() + written));
    }
}

// The bytes a run needs are known before it starts: they are what it writes.
TEST(RunFileChecks, TheEstimateIsTheBytesARunWrites)
{
    for (char separator : {',', '.'}) {
        for (const auto& texts : {std::vector<std::pair<int, const char*>>{{7, "50"}, {9, "30"}, {12, "7500"}},
                                  std::vector<std::pair<int, const char*>>{{12, "1"}, {13, "0.25"}}}) {
            TempFolder folder;
            const std::string root = folder.path() + "KAVRIN/";
            const ModelState model = ModelWith(texts);
            QuadratureState quadrature;
            ProjectState project;
            project.ProjectName = "Teste";
            RunProgress progress;
            WriteRun(model, quadrature, nullptr, project, RunEnvironment{root, kavrin::test::ValoresPath(), separator}, progress,
                     {});
            EXPECT_EQ(RunFileBytes(model, *RunTimes(model.T0, model.T1, model.DT), ProjectFolderPath(root, "Teste"), separator),
                      folderBytes(root + "Teste"));
        }
    }
}

// A million full-size times need terabytes: refused naming what is needed and what is free.
TEST(RunFileChecks, ARunThatDoesNotFitOnTheDiskIsRefusedNamingBothSizes)
{
    TempFolder folder;
    const std::string root = folder.path() + "not/yet/there/";
    const ModelState model = ModelWith({{6, "450"}, {10, "-225"}, {12, "999999"}, {13, "1"}});  // 451 × 451 points
    const std::string text = FailureText([&] { CheckRunFiles(model, root, "Big", '.'); });
    const std::string needed = "The run's 1000000 time files need 4.7 TB (4679";
    EXPECT_EQ(text.substr(0, needed.size()), needed) << text;
    EXPECT_NE(text.find(" are free in " + root), std::string::npos) << text;
    EXPECT_EQ(FreeBytes(root), FreeBytes(folder.path())) << "a folder not made yet counts its nearest parent's space";
    EXPECT_NO_THROW(CheckRunFiles(ModelWith({{12, "10000"}}), root, "Small", '.'));
}
