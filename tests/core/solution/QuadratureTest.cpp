#include "solution/Quadrature.h"
#include "TestSupport.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace kavrin;
using kavrin::test::CrLfLines;
using kavrin::test::ReadBytes;
using kavrin::test::TempFolder;
using kavrin::test::ValoresPath;

namespace {

constexpr int kOrders[] = {4, 20, 60, 104, 256};

long double legendre(int n, long double x)
{
    long double p0 = 1, p1 = x;
    for (int k = 2; k <= n; ++k) {
        const long double p2 = ((2 * k - 1) * x * p1 - (k - 1) * p0) / k;
        p0 = p1;
        p1 = p2;
    }
    return p1;
}

QuadratureState loaded(int order, const std::string& path = ValoresPath(), char separator = '.')
{
    QuadratureState q;
    LoadGaussOrder(q, order, path, separator);
    return q;
}

}  // namespace

TEST(QuadratureTable, HasTheLayoutTheLoaderReads)
{
    const std::string bytes = ReadBytes(ValoresPath());
    ASSERT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    const std::vector<std::string> lines = CrLfLines(bytes);
    ASSERT_EQ(lines.size(), 114u);
    std::size_t line = 0;
    for (int order : kOrders) {
        const int linesPerHalf = (order + 7) / 8;
        for (int half = 0; half < 2; ++half) {
            for (int q = 1; q <= linesPerHalf; ++q, ++line) {
                const std::string& text = lines[line];
                const int expected = q < linesPerHalf ? 4 : order / 2 - 4 * (linesPerHalf - 1);
                EXPECT_EQ(std::count(text.begin(), text.end(), ' '), expected) << "line " << line + 1;
                EXPECT_NE(text.front(), ' ') << "line " << line + 1;
                EXPECT_EQ(text.back(), ' ') << "line " << line + 1;
                EXPECT_EQ(text.find("  "), std::string::npos) << "line " << line + 1;
            }
        }
    }
}

TEST(QuadratureTable, EveryRuleIsGaussLegendre)
{
    for (int order : kOrders) {
        const QuadratureState q = loaded(order);
        EXPECT_EQ(q.GaussN, order);
        long double sum = 0;
        for (int i = 1; i <= order; ++i) {
            const long double x = q.GaussNodes[static_cast<std::size_t>(i)];
            sum += q.GaussWeights[static_cast<std::size_t>(i)];
            ASSERT_LT(std::fabs(x), 1.0L);
            // A root to double precision: |P_N(x)| within a few ulps times |P_N'(x)|.
            const long double h = 1e-10L;
            const long double slope = (legendre(order, x + h) - legendre(order, x - h)) / (2 * h);
            EXPECT_LT(std::fabs(legendre(order, x)), 4e-16L * std::fabs(slope)) << order << " node " << i;
        }
        EXPECT_NEAR(static_cast<double>(sum), 2.0, 1e-14) << order;
        for (int k = 0; k < order / 2; ++k) {
            EXPECT_EQ(q.GaussNodes[static_cast<std::size_t>(2 * k + 2)], -q.GaussNodes[static_cast<std::size_t>(2 * k + 1)]);
            EXPECT_EQ(q.GaussWeights[static_cast<std::size_t>(2 * k + 2)], q.GaussWeights[static_cast<std::size_t>(2 * k + 1)]);
        }
    }
}

TEST(QuadratureTable, OrderFourLargerNodeFirst)
{
    const QuadratureState q = loaded(4);
    const double nodes[] = {0.861136311594053, -0.861136311594053, 0.339981043584856, -0.339981043584856};
    const double weights[] = {0.347854845137454, 0.347854845137454, 0.652145154862546, 0.652145154862546};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(q.GaussNodes[static_cast<std::size_t>(i + 1)], nodes[i], 5e-16);
        EXPECT_NEAR(q.GaussWeights[static_cast<std::size_t>(i + 1)], weights[i], 5e-16);
    }
}

TEST(QuadratureTable, GeneratorReproducesTheShippedFile)
{
    TempFolder folder;
    const std::string generated = folder.path() + "valores.txt";
    const std::string command = std::string(KAVRIN_BIN_DIR) + "kavrin-gauss-table " + generated;
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(ReadBytes(generated), ReadBytes(ValoresPath()));
}

TEST(GaussOrder, AnOrderOutsideTheTableKeepsTheOneInEffect)
{
    QuadratureState q;
    LoadGaussOrder(q, 10, ValoresPath(), '.');
    EXPECT_EQ(q.GaussN, 0);
    EXPECT_EQ(q.GaussNodes[1], 0.0);
    LoadGaussOrder(q, 60, ValoresPath(), '.');
    LoadGaussOrder(q, 10, ValoresPath(), '.');
    EXPECT_EQ(q.GaussN, 60);
    EXPECT_EQ(q.GaussSkip, 8);
}

TEST(GaussOrder, ASmallerOrderLeavesTheHigherEntries)
{
    QuadratureState q = loaded(60);
    const double entry40 = q.GaussNodes[40];
    LoadGaussOrder(q, 20, ValoresPath(), '.');
    EXPECT_EQ(q.GaussNodes[40], entry40);
    EXPECT_NE(q.GaussNodes[1], loaded(60).GaussNodes[1]);
}

TEST(GLQPTS, CommaTablesLoadTheSameValues)
{
    TempFolder folder;
    std::string bytes = ReadBytes(ValoresPath());
    std::replace(bytes.begin(), bytes.end(), '.', ',');
    const std::string commaPath = folder.path() + "valores.txt";
    kavrin::test::WriteBytes(commaPath, bytes);
    for (char separator : {'.', ','}) {
        const QuadratureState comma = loaded(256, commaPath, separator);
        EXPECT_EQ(comma.GaussNodes, loaded(256).GaussNodes);
        EXPECT_EQ(comma.GaussWeights, loaded(256).GaussWeights);
    }
}

TEST(GLQPTS, FaultyValuesAndMissingFilesFail)
{
    TempFolder folder;
    const std::string path = folder.path() + "valores.txt";
    kavrin::test::WriteBytes(path, "0.8 0.3 \r\n0.34  0.65 \r\n");
    QuadratureState q;
    q.GaussN = 4;
    EXPECT_THROW(GLQPTS(q, 4, 1, path, '.'), ConversionError);
    EXPECT_EQ(q.GaussNodes[1], 0.8);
    EXPECT_EQ(q.GaussWeights[1], 0.34);
    EXPECT_EQ(q.GaussWeights[3], 0.0);

    kavrin::test::WriteBytes(path, " 0.8 0.3 \r\n");
    EXPECT_THROW(GLQPTS(q, 4, 1, path, '.'), ConversionError);

    try {
        GLQPTS(q, 4, 1, folder.path() + "missing.txt", '.');
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.code(), 2);
        EXPECT_EQ(std::string(e.what()).rfind("I/O error 2", 0), 0u) << e.what();
    }
}

TEST(GLQPTS, AShortFileKeepsEarlierEntries)
{
    TempFolder folder;
    const std::string path = folder.path() + "valores.txt";
    kavrin::test::WriteBytes(path, "0.5 0.25 \r\n");
    QuadratureState q;
    q.GaussWeights[1] = 9;
    GLQPTS(q, 4, 1, path, '.');
    EXPECT_EQ(q.GaussNodes[1], 0.5);
    EXPECT_EQ(q.GaussNodes[2], -0.5);
    EXPECT_EQ(q.GaussNodes[3], 0.25);
    EXPECT_EQ(q.GaussWeights[1], 9);
    EXPECT_EQ(q.GaussWeights[2], 9);
}
