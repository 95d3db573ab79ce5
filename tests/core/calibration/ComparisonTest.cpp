#include "calibration/Comparison.h"
#include "TestSupport.h"
#include "model/Variaveis.h"
#include "solution/Solution.h"
#include "text/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kavrin;
using kavrin::test::FailureText;
using kavrin::test::ValoresPath;

namespace {

struct Compared {
    Comparison comparison;
    ModelState model;
};

Compared compare(const std::vector<ObservationTexts>& table, const ParameterTexts& texts = InitialParameterTexts(),
                 unsigned workers = 2)
{
    Compared result;
    QuadratureState quadrature;
    result.comparison = CompareObservations(table, texts, ValoresPath(), '.', result.model, quadrature, workers);
    return result;
}

// Observations along the plume's axis and beside it, at several depths and times.
std::vector<ObservationTexts> plumeTable(int count)
{
    std::vector<ObservationTexts> table;
    for (int i = 0; i < count; ++i) {
        const double x = 5 + (i * 37) % 90, y = -12 + (i * 7) % 25, z = -1 + (i % 5) * 0.5, t = 300 + (i * 211) % 2200;
        const double observed = 0.4 * std::exp(-x / 40) + 0.01 * (i % 3);
        table.push_back({FormatGeneral(observed, '.'), FormatGeneral(x, '.'), FormatGeneral(y, '.'), FormatGeneral(z, '.'),
                         FormatGeneral(t, '.')});
    }
    return table;
}

}  // namespace

TEST(CompareValues, AnExactLineGivesROneAndThatLine)
{
    const ComparisonStatistics s = CompareValues({1, 2, 3}, {0.5, 2.5, 4.5});
    EXPECT_DOUBLE_EQ(s.slope, 2);
    EXPECT_DOUBLE_EQ(s.intercept, -1.5);
    EXPECT_DOUBLE_EQ(s.R2, 1);
    EXPECT_EQ(FormatFixed(s.R2, 4, '.'), "1.0000");
    EXPECT_EQ(FormatFixed(s.R2, 4, ','), "1,0000");
    EXPECT_DOUBLE_EQ(s.MAE, (0.5 + 0.5 + 1.5) / 3);
}

TEST(CompareValues, TheSlopeComesFromTheCompleteSums)
{
    // The first observed value equals the mean of all of them.
    const ComparisonStatistics s = CompareValues({2, 1, 3}, {1.5, 0.5, 3.1});
    EXPECT_DOUBLE_EQ(s.meanObserved, 2);
    EXPECT_DOUBLE_EQ(s.Sxx, 2);
    EXPECT_DOUBLE_EQ(s.Sxy, 2.6);
    EXPECT_DOUBLE_EQ(s.slope, 1.3);
    EXPECT_NEAR(s.intercept, 1.7 - 1.3 * 2, 1e-15);
}

TEST(CompareValues, TheChartRangeIsWidenedByFivePercent)
{
    const ComparisonStatistics s = CompareValues({1, 3}, {2, 5});
    EXPECT_DOUBLE_EQ(s.lo, 0.9);
    EXPECT_DOUBLE_EQ(s.hi, 3.1);
    // Observations far above and below any start value still set the range.
    const ComparisonStatistics big = CompareValues({2e13, 4e13}, {1, 2});
    EXPECT_DOUBLE_EQ(big.lo, 1.9e13);
    const ComparisonStatistics negative = CompareValues({-3, -1}, {1, 2});
    EXPECT_DOUBLE_EQ(negative.hi, -0.9);
}

TEST(CompareValues, UndefinedLinesAreInvalidOperations)
{
    struct Case {
        std::vector<double> observed, calculated;
    };
    const Case cases[] = {
        {{}, {}},                      // no observations
        {{2}, {1}},                    // a single observation
        {{0.1, 0.1, 0.1}, {1, 2, 3}},  // equal observed values: the slope
        {{1, 2, 3}, {0, 0, 0}},        // equal calculated values: R²
        {{1, 2, 3}, {0.3, 0.3, 0.3}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FailureText([&] { CompareValues(c.observed, c.calculated); }), "Invalid floating point operation")
            << c.observed.size();
}

TEST(CompareValues, AgreesWithTheSquaredCorrelationComputedIndependently)
{
    const std::vector<double> observed = {0.31, 0.052, 0.18, 0.0071, 0.44, 0.26, 0.093, 0.12};
    const std::vector<double> calculated = {0.29, 0.061, 0.2, 0.0012, 0.41, 0.3, 0.088, 0.1};
    long double so = 0, sp = 0, soo = 0, spp = 0, sop = 0, absolute = 0;
    for (std::size_t i = 0; i < observed.size(); ++i) {
        const long double o = observed[i], p = calculated[i];
        so += o, sp += p, soo += o * o, spp += p * p, sop += o * p, absolute += std::fabs(o - p);
    }
    const long double n = observed.size();
    const long double r = (n * sop - so * sp) / std::sqrt((n * soo - so * so) * (n * spp - sp * sp));
    const ComparisonStatistics s = CompareValues(observed, calculated);
    EXPECT_NEAR(s.R2, static_cast<double>(r * r), 1e-12);
    EXPECT_NEAR(s.MAE, static_cast<double>(absolute / n), 1e-12);
}

TEST(CompareObservations, EvaluatesTheModelAtEachObservationsOwnDepthAndTime)
{
    ParameterTexts texts = InitialParameterTexts();
    texts.edit[4] = "1.2";  // the data window's plane z plays no part
    const Compared result = compare(plumeTable(7), texts);
    const QuadratureState quadrature = kavrin::test::LoadedQuadrature(60);
    ASSERT_EQ(result.comparison.calculated.size(), 7u);
    for (std::size_t i = 0; i < 7; ++i) {
        const Observation& o = result.comparison.observations[i];
        EXPECT_EQ(result.comparison.calculated[i], 0.5 * PointConcentration(o.X, o.Y, o.Z, o.T, result.model, quadrature));
        EXPECT_GT(result.comparison.calculated[i], 0);
    }
    EXPECT_EQ(result.model.PlaneZ, 1.2);  // the model was refreshed from the texts
    EXPECT_DOUBLE_EQ(result.model.Velocity, 0.025);
}

TEST(CompareObservations, AtTimeZeroOnlyTheSourceRectangleHasTheSourceConcentration)
{
    // Source height 3: ZMin = -1.5, ZMax = 1.5; C0 = 0.5.
    const Compared result = compare({{"1", "0", "0", "1.5", "0"},
                                     {"2", "0", "0", "1.5000001", "0"},
                                     {"3", "0", "0", "-1.5000001", "0"},
                                     {"4", "0", "10", "-1.5", "0"},
                                     {"5", "1", "0", "0", "0"}});
    EXPECT_EQ(result.comparison.calculated, (std::vector<double>{0.5, 0, 0, 0.5, 0}));
}

TEST(CompareObservations, TakesAChangedParameterWithoutARun)
{
    const std::vector<ObservationTexts> table = plumeTable(5);
    ParameterTexts texts = InitialParameterTexts();
    const Compared before = compare(table, texts);
    texts.edit[1] = "1";  // C0 doubled
    const Compared after = compare(table, texts);
    for (std::size_t i = 0; i < table.size(); ++i) EXPECT_EQ(after.comparison.calculated[i], 2 * before.comparison.calculated[i]);
}

TEST(CompareObservations, ComparesLargeTablesTheSameOnAnyNumberOfThreads)
{
    const std::vector<ObservationTexts> table = plumeTable(150);
    const Compared one = compare(table, InitialParameterTexts(), 1);
    const Compared three = compare(table, InitialParameterTexts(), 3);
    ASSERT_EQ(one.comparison.calculated.size(), 150u);
    EXPECT_EQ(one.comparison.calculated, three.comparison.calculated);
    EXPECT_EQ(one.comparison.statistics.R2, three.comparison.statistics.R2);
}

TEST(CompareObservations, ReportsEachFailureBeforeTouchingTheModel)
{
    const ObservationTexts good = {"1", "10", "0", "0", "100"};
    ParameterTexts badField = InitialParameterTexts();
    badField.edit[14] = "1x";
    ParameterTexts noDispersion = InitialParameterTexts();
    noDispersion.edit[15] = "0";
    struct Case {
        std::vector<ObservationTexts> table;
        ParameterTexts texts;
        std::string failure;
    };
    const Case cases[] = {
        {{good, {"2", "", "0", "0", "100"}, {"x", "1", "1", "1", "1"}},
         InitialParameterTexts(),
         "The observation table has empty cells. Fill in every cell before calculating."},
        {{good, {"2", "1,5e", "0", "0", "100"}}, InitialParameterTexts(), "'1.5e' is not a valid floating point value"},
        {{good, {"2", "20", "0", "0", "100"}}, badField, "'1x' is not a valid floating point value"},
        {{good, {"2", "20", "0", "0", "100"}}, noDispersion, "Floating point division by zero"},
        {{}, InitialParameterTexts(), "Invalid floating point operation"},
    };
    for (const Case& c : cases) {
        ModelState model;
        model.C0 = 7;
        QuadratureState quadrature;
        EXPECT_EQ(FailureText([&] { CompareObservations(c.table, c.texts, ValoresPath(), '.', model, quadrature, 2); }),
                  c.failure);
        if (c.failure.find("empty") != std::string::npos || c.failure.find("'1.5e'") != std::string::npos) {
            EXPECT_EQ(model.C0, 7);
        }
    }
    ModelState model;
    QuadratureState quadrature;
    EXPECT_NE(FailureText([&] {
                  CompareObservations({good, {"2", "20", "0", "0", "100"}}, InitialParameterTexts(), "/no/valores.txt", '.',
                                      model, quadrature, 2);
              }).find("I/O error 2"),
              std::string::npos);
}
