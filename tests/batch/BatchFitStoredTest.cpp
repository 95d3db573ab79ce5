// kavrin-batch fit on a project that stores its observation table and the fit's choices.
#include "BatchFit.h"
#include "BatchOptions.h"
#include "TestSupport.h"
#include "calibration/Observations.h"
#include "files/FitProjectLines.h"
#include "files/ProjectFile.h"
#include "model/Variaveis.h"
#include "text/NumberText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

using namespace kavrin;
using kavrin::test::CrLfLines;
using kavrin::test::FailureText;
using kavrin::test::ReadBytes;
using kavrin::test::TempFolder;
using kavrin::test::WriteBytes;

namespace {

// A table the initial model gives exactly at order 60, the last well weighted.
std::string syntheticTable()
{
    ModelState model;
    Variaveis(InitialParameterTexts(), model, '.');
    std::vector<Observation> wells;
    for (int i = 0; i < 12; ++i) wells.push_back({0, 3.0 + 4 * i, -4.0 + (i % 5) * 2, 0, 1500.0 + 80 * i});
    const std::vector<double> values = CalculatedConcentrations(wells, model, kavrin::test::LoadedQuadrature(60), 1);
    std::string table;
    for (std::size_t i = 0; i < wells.size(); ++i)
        table += FormatGeneral(values[i], '.') + " " + FormatGeneral(wells[i].X, '.') + " " + FormatGeneral(wells[i].Y, '.') +
                 " 0 " + FormatGeneral(wells[i].T, '.') + (i == 11 ? " 2" : "") + "\r\n";
    return table;
}

struct StoredProject {
    TempFolder folder;
    std::string root = folder.path() + "KAVRIN/";
    std::string path = folder.path() + "campo.kvr";

    // The initial model with AlphaX 3 and C0 0.9, saved with `calibration`
    // and, when asked, the table in its results folder.
    explicit StoredProject(const StoredCalibration& calibration, bool withTable = true)
    {
        ParameterTexts texts = InitialParameterTexts();
        texts.edit[14] = '3';
        texts.edit[1] = "0.9";
        std::filesystem::create_directories(root + "Teste");
        if (withTable) WriteBytes(root + "Teste/campo.observations.txt", syntheticTable());
        WriteBytes(folder.path() + "wells.txt", syntheticTable());
        WriteProjectFile(path, "Teste", "12-10-26 01-12-17", texts, root, CalibrationNamedLines(calibration));
    }
    std::string fit(const std::vector<std::string>& extra) const
    {
        std::vector<std::string> words = {"--project", path};
        words.insert(words.end(), extra.begin(), extra.end());
        return fitWords(words);
    }
    // kavrin-batch fit with these words alone, in this workspace.
    std::string fitWords(const std::vector<std::string>& words) const
    {
        BatchEnvironment environment;
        environment.root = root;
        environment.valoresPath = kavrin::test::ValoresPath();
        std::ostringstream out;
        PerformBatchFit(ParseBatchFitOptions(words), environment, out);
        return out.str();
    }
};

StoredCalibration alphaAndC0()
{
    StoredCalibration calibration;
    calibration.observationFile = "campo.observations.txt";
    calibration.parameters = {FitParameter::AlphaX, FitParameter::C0};
    calibration.bounds = {{FitParameter::C0, {0.1, 2}}};
    return calibration;
}

}  // namespace

TEST(BatchFitStored, TheProjectsTableAndChoicesNeedNoObsOrFit)
{
    const StoredProject project(alphaAndC0());
    const std::string stored = project.fit({});
    const std::string given =
        project.fit({"--obs", project.folder.path() + "wells.txt", "--fit", "AlphaX,C0", "--bounds", "C0=0.1:2"});
    EXPECT_EQ(stored, given);
    EXPECT_NE(stored.find("       AlphaX            3            1"), std::string::npos) << stored;
    EXPECT_NE(stored.find("           C0          0.9          0.5"), std::string::npos) << stored;
}

TEST(BatchFitStored, WhatTheCommandLineGivesReplacesWhatIsStored)
{
    StoredCalibration calibration = alphaAndC0();
    calibration.weightRule = WeightRule::Relative;
    calibration.detectionLimit = 1e-9;
    const StoredProject project(calibration);
    // --fit replaces the parameters; C0 keeps its stored bounds unless --bounds names it.
    EXPECT_EQ(project.fit({"--fit", "C0", "--weights", "table"}),
              project.fit({"--obs", project.folder.path() + "wells.txt", "--fit", "C0", "--bounds", "C0=0.1:2", "--weights",
                           "table", "--detection-limit", "1E-9"}));
    EXPECT_EQ(project.fit({"--weights", "table", "--bounds", "C0=0.2:3", "--detection-limit", "0"}),
              project.fit({"--obs", project.folder.path() + "wells.txt", "--fit", "AlphaX,C0", "--bounds", "C0=0.2:3",
                           "--weights", "table", "--detection-limit", "0"}));
    EXPECT_NE(project.fit({}), project.fit({"--weights", "table"}));
    // The stored rule and limit hold when nothing replaces them.
    EXPECT_EQ(project.fit({}), project.fit({"--obs", project.folder.path() + "wells.txt", "--fit", "AlphaX,C0", "--bounds",
                                            "C0=0.1:2", "--weights", "relative", "--detection-limit", "1E-9"}));
}

TEST(BatchFitStored, WhatIsNeitherStoredNorGivenIsNamed)
{
    {
        StoredCalibration noTable = alphaAndC0();
        noTable.observationFile.reset();
        const StoredProject project(noTable);
        EXPECT_NE(FailureText([&] {
                      project.fit({});
                  }).find("fit needs --obs TABLE.txt: " + project.path + " stores no observation table."),
                  std::string::npos);
    }
    {
        StoredCalibration noParameters = alphaAndC0();
        noParameters.parameters.clear();
        noParameters.bounds.clear();
        const StoredProject project(noParameters);
        EXPECT_NE(FailureText([&] {
                      project.fit({});
                  }).find("fit needs --fit NAME,NAME,...: " + project.path + " stores no parameters"),
                  std::string::npos);
    }
    {
        const StoredProject project(alphaAndC0());
        EXPECT_NE(FailureText([&] {
                      project.fit({"--bounds", "Kxx=1:2"});
                  }).find("--bounds names Kxx, which the fit does not take."),
                  std::string::npos);
    }
    {
        const StoredProject project(alphaAndC0(), false);
        const std::string failure = FailureText([&] { project.fit({}); });
        EXPECT_NE(failure.find("campo.observations.txt"), std::string::npos) << failure;
    }
    EXPECT_THROW(ParseBatchFitOptions({"--fit", "C0"}), std::invalid_argument);
}

TEST(BatchFitStored, TheStoredStartsAndSeedHoldUnlessTheCommandLineGivesItsOwn)
{
    StoredCalibration withStarts = alphaAndC0();
    withStarts.starts = 4;
    withStarts.seed = 3;
    const StoredProject stored(withStarts), plain(alphaAndC0());
    const std::string fourFromThree = stored.fit({});
    EXPECT_NE(fourFromThree.find("4 starts (seed 3): "), std::string::npos) << fourFromThree;
    EXPECT_EQ(fourFromThree, plain.fit({"--starts", "4", "--seed", "3"}));
    // The command line wins: its own seed, its own count, or the given start alone.
    EXPECT_EQ(stored.fit({"--seed", "5"}), plain.fit({"--starts", "4", "--seed", "5"}));
    EXPECT_EQ(stored.fit({"--starts", "3"}), plain.fit({"--starts", "3", "--seed", "3"}));
    EXPECT_EQ(stored.fit({"--starts", "1"}), plain.fit({}));
    EXPECT_EQ(plain.fit({}).find(" starts (seed"), std::string::npos);

    StoredCalibration noSeed = withStarts;
    noSeed.seed.reset();
    EXPECT_EQ(StoredProject(noSeed).fit({}), plain.fit({"--starts", "4", "--seed", "1"}));

    EXPECT_NE(FailureText([&] {
                  plain.fit({"--seed", "5"});
              }).find("--seed needs --starts: " + plain.path + " stores no several starts."),
              std::string::npos);
    EXPECT_NE(FailureText([&] {
                  stored.fit({"--starts", "1", "--seed", "5"});
              }).find("--seed needs --starts of 2 or more."),
              std::string::npos);
    EXPECT_THROW(ParseBatchFitOptions({"--obs", "t", "--fit", "C0", "--starts", "1"}), std::invalid_argument);
    EXPECT_THROW(ParseBatchFitOptions({"--project", "p.kvr", "--seed", "2147483648"}), std::invalid_argument);
}

TEST(BatchFitStored, NoLogFitsTheConcentrationsThoughTheProjectStoresTheLogarithms)
{
    StoredCalibration logarithms = alphaAndC0();
    logarithms.logResiduals = true;
    const StoredProject stored(logarithms), plain(alphaAndC0());
    EXPECT_NE(stored.fit({}), plain.fit({}));
    EXPECT_EQ(stored.fit({}), plain.fit({"--log"}));
    EXPECT_EQ(stored.fit({"--no-log"}), plain.fit({}));
    EXPECT_EQ(plain.fit({"--no-log"}), plain.fit({}));
    EXPECT_THROW(ParseBatchFitOptions({"--project", "p.kvr", "--log", "--no-log"}), std::invalid_argument);
}

TEST(BatchFitStored, TheSavedFitKeepsItsTableAndChoicesSoItFitsAgainWithoutObs)
{
    const StoredProject project(alphaAndC0());
    const std::string saved = project.folder.path() + "ajustado.kvr";
    project.fit({"--weights", "relative", "--starts", "3", "--seed", "5", "--save", saved});
    const std::vector<std::string> lines = CrLfLines(ReadBytes(saved));
    ASSERT_EQ(lines.size(), 31u);
    EXPECT_EQ(lines[24], "") << "not run yet";
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 25, lines.end()),
              (std::vector<std::string>{"ObservationTable=ajustado.observations.txt", "FitParameters=AlphaX,C0",
                                        "FitBounds=C0 0.1 2", "FitWeights=relative", "FitStarts=3", "FitSeed=5"}));
    // The table as the calibration window's "Salvar" writes it, in the results folder of the project's name.
    EXPECT_EQ(ReadBytes(project.root + "Teste/ajustado.observations.txt"), syntheticTable());

    const std::string again = project.fitWords({"--project", saved});
    EXPECT_NE(again.find("3 starts (seed 5): "), std::string::npos) << again;
    EXPECT_TRUE(std::regex_search(again, std::regex("\n +AlphaX +[0-9.e+-]+ +1 "))) << again;
    EXPECT_EQ(again, project.fitWords({"--project", saved, "--obs", project.folder.path() + "wells.txt"}));

    // Without a project the saved file's own name names the folder; a seed of 1 is not written.
    const std::string plain = project.folder.path() + "novo.kvr";
    project.fitWords({"--obs", project.folder.path() + "wells.txt", "--fit", "C0", "--log", "--save", plain});
    const std::vector<std::string> plainLines = CrLfLines(ReadBytes(plain));
    EXPECT_EQ(std::vector<std::string>(plainLines.begin() + 25, plainLines.end()),
              (std::vector<std::string>{"ObservationTable=novo.observations.txt", "FitParameters=C0", "FitLog=yes"}));
    EXPECT_EQ(ReadBytes(project.root + "novo/novo.observations.txt"), syntheticTable());
    EXPECT_NE(project.fitWords({"--project", plain}).find("           C0"), std::string::npos);
}
