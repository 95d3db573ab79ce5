#include "BatchCompare.h"
#include "TestSupport.h"
#include "calibration/Comparison.h"
#include "files/ParameterFile.h"
#include "text/NumberText.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

using namespace kavrin;
using kavrin::test::FailureText;
using kavrin::test::TempFolder;
using kavrin::test::WriteBytes;

namespace {

BatchEnvironment environment()
{
    BatchEnvironment environment;
    environment.valoresPath = kavrin::test::ValoresPath();
    return environment;
}

}  // namespace

TEST(BatchOptions, ParsesTheCompareCommandLine)
{
    const BatchCompareOptions options = ParseBatchCompareOptions({"--params", "a.dat", "--set", "C0=2", "--obs", "t.txt"});
    EXPECT_EQ(options.paramsPath, "a.dat");
    EXPECT_EQ(options.sets.size(), 1u);
    EXPECT_EQ(options.observationsPath, "t.txt");
    for (const std::vector<std::string>& words :
         std::vector<std::vector<std::string>>{{"--params", "a.dat"},
                                               {"--obs"},
                                               {"--obs", "t.txt", "--name", "x"},
                                               {"--obs", "t", "--params", "a", "--project", "b"}})
        EXPECT_THROW(ParseBatchCompareOptions(words), std::invalid_argument) << words[0];
}

TEST(BatchCompare, PrintsEachObservationThenTheWindowsNumbers)
{
    TempFolder folder;
    WriteBytes(folder.path() + "wells.txt", "0,41 5 0 0 400\r\n0.2\t20\t2\t0.5\t900\r\n0.05 60 -3 -1 1500\r\n");
    BatchCompareOptions options;
    options.sets = {{"C0", "0.6"}, {"GaussOrder", "104"}};
    options.observationsPath = folder.path() + "wells.txt";
    std::ostringstream out;
    PerformBatchCompare(options, environment(), out);

    ParameterTexts texts = InitialParameterTexts();
    texts.edit[1] = "0.6";
    texts.comboBox1 = "104";
    ModelState model;
    QuadratureState quadrature;
    const Comparison expected = CompareObservations(
        {{"0.41", "5", "0", "0", "400"}, {"0.2", "20", "2", "0.5", "900"}, {"0.05", "60", "-3", "-1", "1500"}}, texts,
        kavrin::test::ValoresPath(), '.', model, quadrature, 1);
    std::ostringstream lines;
    lines << "observed calculated residual\n";
    for (std::size_t i = 0; i < 3; ++i) {
        const double o = expected.observations[i].C, p = expected.calculated[i];
        lines << FormatGeneral(o, '.') << ' ' << FormatGeneral(p, '.') << ' ' << FormatGeneral(o - p, '.') << '\n';
    }
    lines << "R2 " << FormatFixed(expected.statistics.R2, 4, '.') << ' ' << FormatGeneral(expected.statistics.R2, '.') << '\n';
    lines << "MAE " << FormatFixed(expected.statistics.MAE, 4, '.') << ' ' << FormatGeneral(expected.statistics.MAE, '.') << '\n';
    EXPECT_EQ(out.str(), lines.str());
}

TEST(BatchCompare, FailuresCarryTheirTexts)
{
    TempFolder folder;
    WriteBytes(folder.path() + "gap.txt", "1 2  0 400\r\n2 3 0 0 500\r\n");
    BatchCompareOptions options;
    options.observationsPath = folder.path() + "gap.txt";
    std::ostringstream out;
    EXPECT_EQ(FailureText([&] { PerformBatchCompare(options, environment(), out); }),
              "The observation table has empty cells. Fill in every cell before calculating.");
    options.observationsPath = folder.path() + "missing.txt";
    EXPECT_NE(FailureText([&] { PerformBatchCompare(options, environment(), out); }).find("I/O error 2"), std::string::npos);
    EXPECT_TRUE(out.str().empty());
}

TEST(BatchCompare, AnImpossiblePhysicalValueIsRefusedByFieldBeforeTheModelRuns)
{
    TempFolder folder;
    WriteBytes(folder.path() + "wells.txt", "1 2 0 0 400\r\n");
    BatchCompareOptions options;
    options.observationsPath = folder.path() + "wells.txt";
    options.sets = {{"Porosity", "0"}};
    std::ostringstream out;
    EXPECT_NE(FailureText([&] { PerformBatchCompare(options, environment(), out); }).find("Porosity"), std::string::npos);
    EXPECT_TRUE(out.str().empty());
}
