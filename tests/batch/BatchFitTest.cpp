#include "BatchFit.h"
#include "BatchRun.h"
#include "TestSupport.h"
#include "calibration/Observations.h"
#include "files/ProjectFile.h"
#include "model/Variaveis.h"
#include "text/NumberText.h"
#include "text/TextFile.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

using namespace kavrin;
using kavrin::test::FailureText;
using kavrin::test::TempFolder;
using kavrin::test::WriteBytes;

namespace {

// The table the model of these texts gives exactly at the wells, at order 60.
std::string tableOf(const ParameterTexts& texts, const std::vector<Observation>& wells)
{
    ModelState model;
    Variaveis(texts, model, '.');
    const std::vector<double> values = CalculatedConcentrations(wells, model, kavrin::test::LoadedQuadrature(60), 1);
    std::string table;
    for (std::size_t i = 0; i < wells.size(); ++i)
        table += FormatGeneral(values[i], '.') + " " + FormatGeneral(wells[i].X, '.') + " " + FormatGeneral(wells[i].Y, '.') +
                 " 0 " + FormatGeneral(wells[i].T, '.') + "\r\n";
    return table;
}

// A table the initial model gives exactly, at order 60.
std::string syntheticTable()
{
    std::vector<Observation> wells;
    for (int i = 0; i < 12; ++i) wells.push_back({0, 3.0 + 4 * i, -4.0 + (i % 5) * 2, 0, 1500.0 + 80 * i});
    return tableOf(InitialParameterTexts(), wells);
}

BatchFitOptions fitOptions(const TempFolder& folder, const std::vector<std::string>& extra)
{
    std::vector<std::string> words = {"--obs", folder.path() + "wells.txt"};
    words.insert(words.end(), extra.begin(), extra.end());
    return ParseBatchFitOptions(words);
}

// The initial model with a second zone of 0.3 mg/L at y = 6 m, and the source's texts given.
ParameterTexts truthTexts(const SourceTexts& history)
{
    ParameterTexts texts = InitialParameterTexts();
    texts.source = history;
    texts.source.push_back({"SourceZones", "6 0 2 1 0.3"});
    return texts;
}

// Wells across both zones, 1200–2400 days.
std::vector<Observation> sourceWells()
{
    std::vector<Observation> wells;
    for (int i = 0; i < 16; ++i) wells.push_back({0, 3.0 + 3 * i, -6.0 + (i % 7) * 2, 0, 1200.0 + 80 * i});
    return wells;
}

std::string zonesFile(const ParameterTexts& texts, double secondConcentration)
{
    return "0,0," + texts.edit[2] + "," + texts.edit[3] + "," + texts.edit[1] + "\n6,0,2,1," +
           FormatGeneral(secondConcentration, '.') + "\n";
}

std::string sourceValue(const SourceTexts& texts, const std::string& name)
{
    for (const SourceText& text : texts)
        if (text.name == name) return text.value;
    return "(none)";
}

BatchEnvironment environment(const TempFolder& folder)
{
    BatchEnvironment environment;
    environment.root = folder.path() + "KAVRIN/";
    environment.valoresPath = kavrin::test::ValoresPath();
    return environment;
}

}  // namespace

TEST(BatchOptions, ParsesTheFitCommandLine)
{
    const BatchFitOptions options =
        ParseBatchFitOptions({"--project", "p.kvr", "--obs", "t.txt", "--fit", "AlphaX,Decay", "--log", "--detection-limit",
                              "1e-6", "--bounds", "Decay=0:0,1", "--save", "f.kvr", "--weights", "relative"});
    EXPECT_EQ(options.comparison.projectPath, "p.kvr");
    EXPECT_EQ(options.parameters, (std::vector<std::string>{"AlphaX", "Decay"}));
    EXPECT_TRUE(options.logResiduals);
    EXPECT_EQ(options.detectionLimit, "1e-6");
    ASSERT_EQ(options.bounds.size(), 1u);
    EXPECT_EQ(options.bounds[0].upper, "0,1");
    EXPECT_EQ(options.savePath, "f.kvr");
    EXPECT_EQ(options.weights, WeightRule::Relative);
    EXPECT_EQ(ParseBatchFitOptions({"--obs", "t", "--fit", "C0"}).weights, WeightRule::Table);
    for (const std::vector<std::string>& words :
         std::vector<std::vector<std::string>>{{"--obs", "t"},
                                               {"--fit", "AlphaX"},
                                               {"--obs", "t", "--fit", "Porosity"},
                                               {"--obs", "t", "--fit", "AlphaX", "--bounds", "AlphaY=1:2"},
                                               {"--obs", "t", "--fit", "AlphaX", "--bounds", "AlphaX=1"},
                                               {"--obs", "t", "--fit", "AlphaX", "--weights", "none"}})
        EXPECT_THROW(ParseBatchFitOptions(words), std::invalid_argument) << words.back();
}

TEST(BatchFit, PrintsTheFitAndSavesTheFittedProject)
{
    TempFolder folder;
    WriteBytes(folder.path() + "wells.txt", syntheticTable());
    const BatchFitOptions options = fitOptions(folder, {"--set", "AlphaX=3", "--set", "C0=0.9", "--fit", "AlphaX,C0", "--bounds",
                                                        "C0=0.1:2", "--save", folder.path() + "fitted.kvr"});
    std::ostringstream out;
    PerformBatchFit(options, environment(folder), out);
    const std::string text = out.str();
    EXPECT_NE(text.find("converged"), std::string::npos) << text;
    EXPECT_NE(text.find("       AlphaX            3            1"), std::string::npos) << text;
    EXPECT_NE(text.find("           C0          0.9          0.5"), std::string::npos) << text;
    EXPECT_NE(text.find("with 10 degrees of freedom"), std::string::npos) << text;

    const ProjectFileContents saved = ReadProjectFile(folder.path() + "fitted.kvr");
    EXPECT_EQ(saved.projectName, "fitted");
    EXPECT_NEAR(ParseFloat(saved.texts.edit[14], '.'), 1, 1e-7);
    EXPECT_NEAR(ParseFloat(saved.texts.edit[1], '.'), 0.5, 1e-7);
    EXPECT_EQ(saved.texts.edit[15], "0.2");
}

TEST(BatchFit, ParametersItCannotTellApartAreNamedAndNothingIsSaved)
{
    TempFolder folder;
    WriteBytes(folder.path() + "wells.txt", syntheticTable());
    const BatchFitOptions options = fitOptions(folder, {"--fit", "Kxx,Retardation", "--save", folder.path() + "fitted.kvr"});
    std::ostringstream out;
    EXPECT_EQ(FailureText([&] { PerformBatchFit(options, environment(folder), out); }),
              "The observations cannot determine the fitted parameters: Kxx and Retardation are correlated beyond 0.99. "
              "Fit fewer parameters or add observations that separate them.");
    EXPECT_NE(out.str().find("RMSE"), std::string::npos);
    EXPECT_FALSE(kavrin::FileExists(folder.path() + "fitted.kvr"));
}

TEST(BatchFit, TheTablesWeightsCountAndABadOneIsRefused)
{
    // The sixth observation made four times too large, with a tiny weight.
    std::vector<std::string> lines = kavrin::test::CrLfLines(syntheticTable());
    std::string table;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string line = lines[i];
        if (i == 5)
            line =
                FormatGeneral(4 * ParseFloat(line.substr(0, line.find(' ')), '.'), '.') + line.substr(line.find(' ')) + " 1e-20";
        table += line + "\r\n";
    }
    TempFolder folder;
    WriteBytes(folder.path() + "wells.txt", table);
    std::ostringstream out;
    PerformBatchFit(fitOptions(folder, {"--set", "AlphaX=3", "--fit", "AlphaX"}), environment(folder), out);
    EXPECT_NE(out.str().find("       AlphaX            3            1"), std::string::npos) << out.str();

    WriteBytes(folder.path() + "wells.txt", table + "1 2 3 4 5 heavy\r\n");
    std::ostringstream refused;
    EXPECT_EQ(FailureText([&] {
                  PerformBatchFit(fitOptions(folder, {"--fit", "AlphaX"}), environment(folder), refused);
              }),
              "The weight of observation 13 (\"heavy\") must be a number above zero");
    EXPECT_EQ(refused.str(), "");
}

TEST(BatchFit, TheSavedProjectKeepsItsNameAndPointsToNoResultsUntilRun)
{
    TempFolder folder;
    WriteBytes(folder.path() + "wells.txt", syntheticTable());
    ParameterTexts texts = InitialParameterTexts();
    texts.edit[14] = "3";  // AlphaX
    texts.edit[7] = "50";  // DX and DY: a coarse grid, for a quick run
    texts.edit[9] = "30";
    WriteProjectFile(folder.path() + "source.kvr", "Plume", "today", texts, folder.path() + "KAVRIN/");
    std::ostringstream out;
    PerformBatchFit(fitOptions(folder, {"--project", folder.path() + "source.kvr", "--fit", "AlphaX", "--save",
                                        folder.path() + "fitted.kvr"}),
                    environment(folder), out);

    const ProjectFileContents saved = ReadProjectFile(folder.path() + "fitted.kvr");
    EXPECT_EQ(saved.projectName, "Plume");
    EXPECT_EQ(saved.indexPath, "");
    EXPECT_NEAR(ParseFloat(saved.texts.edit[14], '.'), 1, 1e-7);
    EXPECT_EQ(saved.texts.edit[7], "50");

    BatchRunOptions run;
    run.projectPath = folder.path() + "fitted.kvr";
    run.projectName = "Fitted";
    const std::string results = PerformBatchRun(run, environment(folder));
    EXPECT_EQ(results, folder.path() + "KAVRIN/Fitted/");
    EXPECT_FALSE(kavrin::test::CrLfLines(kavrin::test::ReadBytes(results + "Index.txt")).empty());
}

// A weight of 1e308 beside weights of 1 used to print "converged" after one
// iteration with an infinite correlation, and exit 0.
TEST(BatchFit, AWeightThatOutweighsEveryOtherIsRefusedNamingItsObservation)
{
    std::vector<std::string> lines = kavrin::test::CrLfLines(syntheticTable());
    std::string table;
    for (std::size_t i = 0; i < lines.size(); ++i) table += lines[i] + (i == 2 ? " 1e308" : " 1") + "\r\n";
    TempFolder folder;
    WriteBytes(folder.path() + "wells.txt", table);
    std::ostringstream out;
    EXPECT_EQ(
        FailureText([&] {
            PerformBatchFit(fitOptions(folder, {"--set", "AlphaX=3", "--fit", "AlphaX"}), environment(folder), out);
        }),
        "The weight of observation 3 outweighs the others more than 1e8 times: fewer than 2 observations still count in the fit");
    EXPECT_EQ(out.str(), "");
}

TEST(BatchFit, AStartingModelNoRunWouldAcceptIsRefusedBeforeTheFit)
{
    TempFolder folder;
    WriteBytes(folder.path() + "wells.txt", syntheticTable());
    for (const char* set : {"Porosity=0", "Porosity=2", "AlphaY=-1"}) {
        std::ostringstream out;
        const std::string text = FailureText([&] {
            PerformBatchFit(fitOptions(folder, {"--set", set, "--fit", "AlphaX"}), environment(folder), out);
        });
        EXPECT_EQ(text.rfind("The ", 0), 0u) << set << ": " << text;
        EXPECT_NE(text.find(std::string(set).substr(0, std::string(set).find('=')) + " ("), std::string::npos) << text;
        EXPECT_EQ(out.str(), "") << set;
    }
}

TEST(BatchFit, AValueOnABoundSaysSoInPlaceOfItsErrorAndInterval)
{
    // The table's AlphaX is 1; held to at most 0.5 it ends on that bound.
    TempFolder folder;
    WriteBytes(folder.path() + "wells.txt", syntheticTable());
    std::ostringstream out;
    PerformBatchFit(fitOptions(folder, {"--set", "AlphaX=0.3", "--fit", "AlphaX,C0", "--bounds", "AlphaX=0.1:0.5"}),
                    environment(folder), out);
    const std::string text = out.str();
    EXPECT_NE(text.find("       AlphaX          0.3          0.5  upper bound            -            -\n"), std::string::npos)
        << text;
}

TEST(BatchSourceFit, FitsTheSourceParametersPrintsThemAndSavesThemInTheSourceTexts)
{
    struct Case {
        SourceTexts truth;               // the history the observations come from
        std::vector<std::string> start;  // --set of the start
        std::string fit;
        std::string savedName;  // the source text of the first fitted parameter
        double expected;
    };
    const Case cases[] = {
        {{{"SourceHistory", "decay"}, {"SourceDecay", "5E-4"}},
         {"SourceHistory=decay", "SourceHalfLife=500"},
         "SourceDecay,ZoneConcentration2",
         "SourceDecay",
         5e-4},
        {{{"SourceHistory", "stop"}, {"ReleaseEnd", "1800"}},
         {"SourceHistory=stop", "ReleaseEnd=1500"},
         "ReleaseEnd,ZoneConcentration2",
         "ReleaseEnd",
         1800},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const ParameterTexts truth = truthTexts(c.truth);
        WriteBytes(folder.path() + "wells.txt", tableOf(truth, sourceWells()));
        WriteBytes(folder.path() + "zones.csv", zonesFile(truth, 0.8));
        std::vector<std::string> words = {
            "--obs",  folder.path() + "wells.txt", "--zones", folder.path() + "zones.csv", "--fit", c.fit,
            "--save", folder.path() + "fitted.kvr"};
        for (const std::string& set : c.start) words.insert(words.end(), {"--set", set});
        std::ostringstream out;
        PerformBatchFit(ParseBatchFitOptions(words), environment(folder), out);
        const std::string text = out.str();
        EXPECT_NE(text.find("converged"), std::string::npos) << text;
        EXPECT_NE(text.find("ZoneConcentration2          0.8          0.3"), std::string::npos) << text;
        EXPECT_NE(text.find(c.savedName), std::string::npos) << text;

        const ProjectFileContents saved = ReadProjectFile(folder.path() + "fitted.kvr");
        EXPECT_NEAR(ParseFloat(sourceValue(saved.texts.source, c.savedName), '.'), c.expected, 1e-4 * c.expected);
        EXPECT_EQ(sourceValue(saved.texts.source, "SourceHalfLife"), "(none)");
        const std::string zones = sourceValue(saved.texts.source, "SourceZones");
        ASSERT_EQ(zones.rfind("6 0 2 1 ", 0), 0u) << zones;
        EXPECT_NEAR(ParseFloat(zones.substr(8), '.'), 0.3, 1e-7) << zones;
    }
}

TEST(BatchSourceFit, ASourceParameterTheSourceOptionsDoNotUseIsRefusedNamingItAndNothingIsSaved)
{
    TempFolder folder;
    const ParameterTexts truth = truthTexts({{"SourceHistory", "decay"}, {"SourceDecay", "5E-4"}});
    WriteBytes(folder.path() + "wells.txt", tableOf(truth, sourceWells()));
    std::ostringstream out;
    const BatchFitOptions options =
        ParseBatchFitOptions({"--obs", folder.path() + "wells.txt", "--set", "SourceHistory=decay", "--set", "SourceDecay=1E-3",
                              "--fit", "SourceDecay,ReleaseEnd", "--save", folder.path() + "fitted.kvr"});
    EXPECT_EQ(FailureText([&] { PerformBatchFit(options, environment(folder), out); }),
              "ReleaseEnd cannot be fitted: the source options do not use it");
    EXPECT_FALSE(kavrin::FileExists(folder.path() + "fitted.kvr"));
    EXPECT_THROW(ParseBatchFitOptions({"--obs", "w.txt", "--fit", "ZoneConcentration21"}), std::invalid_argument);
}
