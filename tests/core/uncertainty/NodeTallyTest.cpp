// The node tallies: exact sums whatever the order, the histogram's bins.
#include "uncertainty/NodeTally.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using namespace kavrin;

TEST(NodeTally, ExactSumsAreTheSameInAnyOrderAndSplit)
{
    std::mt19937_64 random(3);
    std::vector<double> values;
    for (int i = 0; i < 5000; ++i)
        values.push_back(std::ldexp(std::uniform_real_distribution<double>(-1, 1)(random), static_cast<int>(random() % 70) - 60));
    ExactSum forward, backward, halves[2];
    for (double v : values) forward.add(v);
    for (auto v = values.rbegin(); v != values.rend(); ++v) backward.add(*v);
    for (std::size_t i = 0; i < values.size(); ++i) halves[i % 2].add(values[i]);
    halves[0].add(halves[1]);
    EXPECT_EQ(forward, backward);
    EXPECT_EQ(forward, halves[0]);
    long double reference = 0;
    for (double v : values) reference += v;
    EXPECT_NEAR(forward.value(), static_cast<double>(reference), 1e-12 * std::fabs(static_cast<double>(reference)) + 1e-15);
}

TEST(NodeTally, ExactSumCutsBelowTwoToTheMinusEighty)
{
    ExactSum sum;
    sum.add(0x1p-81);
    EXPECT_EQ(sum.value(), 0);
    sum.add(1 + 0x1p-80);
    sum.add(-0.5);
    EXPECT_EQ(sum.value(), 0.5 + 0x1p-80);
}

TEST(NodeTally, BinsAreFourPerOctaveByTheLeadingMantissaBits)
{
    EXPECT_EQ(HistogramBin(0), 0);
    EXPECT_EQ(HistogramBin(-1), 0);
    EXPECT_EQ(HistogramBin(std::ldexp(1.0, kLowestOctave) * 0.99), 0);
    EXPECT_EQ(HistogramBin(std::ldexp(1.0, kHighestOctave)), kHistogramBins - 1);
    for (double v : {1e-9, 0.001, 0.3, 1.0, 1.2499, 1.25, 7.0, 1000.0}) {
        const int bin = HistogramBin(v);
        EXPECT_LE(BinLower(bin), v) << v;
        EXPECT_LT(v, BinUpper(bin)) << v;
        EXPECT_LE(BinUpper(bin) / BinLower(bin), 1.25 + 1e-15) << v;
    }
    EXPECT_EQ(HistogramBin(1.0) + 1, HistogramBin(1.25));
    EXPECT_EQ(HistogramBin(1.0) + kBinsPerOctave, HistogramBin(2.0));
}

TEST(NodeTally, TalliesOfAnySplitAddUpToTheTallyOfAll)
{
    constexpr std::size_t nodes = 50;
    const std::vector<double> thresholds = {0.1, 0.01, 0.1 + 1e-17};
    std::mt19937_64 random(9);
    std::vector<std::vector<double>> fields(77, std::vector<double>(nodes));
    for (auto& field : fields)
        for (double& v : field) v = std::exp(std::normal_distribution<double>(-3, 2)(random));
    NodeTally all(nodes, thresholds), first(nodes, thresholds), second(nodes, thresholds);
    for (std::size_t f = 0; f < fields.size(); ++f) {
        all.add(fields[f].data(), 0, nodes);
        all.countRealization();
        NodeTally& part = f < 40 ? first : second;
        part.add(fields[f].data(), 0, 20);
        part.add(fields[f].data(), 20, nodes);
        part.countRealization();
    }
    all.settle();
    first.settle(2);
    second.settle(3);
    first.add(second);
    ASSERT_EQ(first.realizations(), 77u);
    for (std::size_t node = 0; node < nodes; ++node) {
        for (std::size_t t = 0; t < thresholds.size(); ++t) {
            std::uint32_t above = 0;
            for (const auto& field : fields) above += field[node] > thresholds[t];
            EXPECT_EQ(all.exceedances(t, node), above);
            EXPECT_EQ(first.exceedances(t, node), above);
        }
        EXPECT_EQ(first.sum(node), all.sum(node));
        EXPECT_EQ(first.sumOfSquares(node), all.sumOfSquares(node));
        std::uint32_t counted = 0;
        for (int bin = 0; bin < kHistogramBins; ++bin) {
            EXPECT_EQ(first.binCount(bin, node), all.binCount(bin, node));
            counted += all.binCount(bin, node);
        }
        EXPECT_EQ(counted, 77u);
        // The percentile lies in the bin of the order statistic at its rank.
        std::vector<double> values;
        for (const auto& field : fields) values.push_back(field[node]);
        std::sort(values.begin(), values.end());
        const double median = HistogramPercentile(all, node, 0.5);
        EXPECT_EQ(HistogramBin(median), HistogramBin(values[38])) << node;
    }
}

TEST(NodeTally, AValueBeyondTheSummedRangeIsRefused)
{
    NodeTally tally(2, {1});
    const double values[] = {1, 2e6};
    EXPECT_THROW(tally.add(values, 0, 2), std::exception);
    const double notFinite[] = {NAN, 1};
    EXPECT_THROW(tally.add(notFinite, 0, 2), std::exception);
}
