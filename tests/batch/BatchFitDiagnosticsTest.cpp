#include "BatchFit.h"
#include "TestSupport.h"
#include "calibration/Observations.h"
#include "model/Variaveis.h"
#include "text/NumberText.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

using namespace kavrin;
using kavrin::test::TempFolder;
using kavrin::test::WriteBytes;

namespace {

// A table the initial model gives exactly at twelve wells, at order 60, then noise on the first.
std::string wellsTable()
{
    ModelState model;
    Variaveis(InitialParameterTexts(), model, '.');
    std::vector<Observation> wells;
    for (int i = 0; i < 12; ++i) wells.push_back({0, 3.0 + 4 * i, -4.0 + (i % 5) * 2, 0, 1500.0 + 80 * i});
    const std::vector<double> values = CalculatedConcentrations(wells, model, kavrin::test::LoadedQuadrature(60), 1);
    std::string table;
    for (std::size_t i = 0; i < wells.size(); ++i)
        table += FormatGeneral(values[i] * (1 + 0.05 * ((i % 3) - 1.0)), '.') + " " + FormatGeneral(wells[i].X, '.') + " " +
                 FormatGeneral(wells[i].Y, '.') + " 0 " + FormatGeneral(wells[i].T, '.') + "\r\n";
    return table;
}

std::string fitOutput(const std::vector<std::string>& extra)
{
    TempFolder folder;
    WriteBytes(folder.path() + "wells.txt", wellsTable());
    std::vector<std::string> words = {"--obs",    folder.path() + "wells.txt", "--set", "AlphaX=3", "--set", "C0=0.9", "--fit",
                                      "AlphaX,C0"};
    words.insert(words.end(), extra.begin(), extra.end());
    BatchEnvironment environment;
    environment.root = folder.path() + "KAVRIN/";
    environment.valoresPath = kavrin::test::ValoresPath();
    std::ostringstream out;
    PerformBatchFit(ParseBatchFitOptions(words), environment, out);
    return out.str();
}

}  // namespace

TEST(BatchFitOptions, ReadsTheStartsTheSeedAndTheProfiles)
{
    const BatchFitOptions options =
        ParseBatchFitOptions({"--obs", "t", "--fit", "AlphaX,C0", "--starts", "8", "--seed", "42", "--profile", "C0"});
    EXPECT_EQ(options.starts, 8);
    EXPECT_EQ(options.seed, 42u);
    EXPECT_EQ(options.profiles, std::vector<std::string>{"C0"});
    const BatchFitOptions plain = ParseBatchFitOptions({"--obs", "t", "--fit", "C0"});
    EXPECT_EQ(plain.starts, 1);
    EXPECT_TRUE(plain.profiles.empty());
    for (const std::vector<std::string>& extra : std::vector<std::vector<std::string>>{{"--starts", "1"},
                                                                                       {"--starts", "x"},
                                                                                       {"--starts", "5x"},
                                                                                       {"--starts", "-3"},
                                                                                       {"--seed", "3"},
                                                                                       {"--profile", "AlphaY"},
                                                                                       {"--profile", "C0", "--profile", "C0"}}) {
        std::vector<std::string> words = {"--obs", "t", "--fit", "AlphaX,C0"};
        words.insert(words.end(), extra.begin(), extra.end());
        EXPECT_THROW(ParseBatchFitOptions(words), std::invalid_argument) << extra[0] << " " << extra[1];
    }
}

TEST(BatchFit, PrintsTheConditionNumberAndEveryObservationsResidual)
{
    const std::string text = fitOutput({});
    EXPECT_NE(text.find("condition number of the Jacobian "), std::string::npos) << text;
    const std::size_t residuals =
        text.find("\nresiduals\n  observation            T     distance     observed   calculated     residual\n");
    ASSERT_NE(residuals, std::string::npos) << text;
    // The first well: 1500 days, 5 m from the source's centre (3, -4).
    EXPECT_NE(text.find("            1         1500            5", residuals), std::string::npos) << text;
    EXPECT_NE(text.find("           12         2380", residuals), std::string::npos) << text;
    EXPECT_EQ(text.find(" starts (seed"), std::string::npos);
}

TEST(BatchFit, PrintsTheSeveralStartsAndAProfileInterval)
{
    const std::string text = fitOutput({"--starts", "4", "--seed", "3", "--profile", "AlphaX"});
    EXPECT_NE(text.find("4 starts (seed 3): "), std::string::npos) << text;
    EXPECT_NE(text.find("reached the best objective"), std::string::npos) << text;
    const std::size_t profile =
        text.find("profile-likelihood 95% intervals\n    parameter        lower        upper         fits\n");
    ASSERT_NE(profile, std::string::npos) << text;
    EXPECT_NE(text.find("       AlphaX ", profile), std::string::npos) << text;
}
