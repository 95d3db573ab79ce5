// What the realizations leave at every grid node of one time, kept in exact
// integers so that tallies of any split of the realizations add up to the
// same bits: exceedance counts per threshold, fixed-point sums of the values
// and their squares, and a histogram on fixed logarithmic bins.
#pragma once

#include "solution/LargeBuffer.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kavrin {

// The histogram's bins: four per octave (the two leading mantissa bits of the
// double), from 2^kLowestOctave mg/L up to 2^kHighestOctave mg/L. Bin 0 holds
// everything below (zero included), the last bin everything above.
constexpr int kBinsPerOctave = 4;
constexpr int kLowestOctave = -36;
constexpr int kHighestOctave = 20;
constexpr int kHistogramBins = (kHighestOctave - kLowestOctave) * kBinsPerOctave + 2;
static_assert(kHistogramBins <= 256, "a bin index is one byte");

// The bin of a concentration.
int HistogramBin(double value);
// The bin's lower and upper edge (mg/L); bin 0's lower edge is 0.
double BinLower(int bin);
double BinUpper(int bin);

// The largest concentration an exact sum takes (mg/L): above any the water can hold.
constexpr double kLargestSummedValue = 1048576;  // 2^20

// An exact sum of values in [−2^40, 2^40), each cut to a multiple of 2^-80
// (towards zero), in three signed 40-bit limbs.
struct ExactSum {
    std::int64_t limb[3] = {0, 0, 0};  // 2^0, 2^-40, 2^-80
    void add(double value);
    void add(const ExactSum& other);
    double value() const;  // the sum as a double, formed from the limbs alone
    bool operator==(const ExactSum&) const = default;
};

class NodeTally {
public:
    NodeTally() = default;
    NodeTally(std::size_t nodes, std::vector<double> thresholds);

    std::size_t nodes() const { return nodes_; }
    const std::vector<double>& thresholds() const { return thresholds_; }
    std::uint64_t realizations() const { return realizations_; }

    // Adds one realization's field (a value per node); throws CheckError for a
    // value that is not finite or beyond kLargestSummedValue. Nodes
    // [begin, end) only, so that rows may be added on several threads; call
    // countRealization() once per field after all its nodes are added. The
    // histogram takes each field's bins a batch of fields at a time, node by
    // node, so that its counts are met in the cache: settle() adds those
    // still waiting, on `workers` threads, before the tally is read.
    void add(const double* values, std::size_t begin, std::size_t end);
    void countRealization();
    void settle(unsigned workers = 1);

    // Adds another tally of the same nodes and thresholds (both settled).
    void add(const NodeTally& other);
    void clear();

    std::uint32_t exceedances(std::size_t threshold, std::size_t node) const;
    const ExactSum& sum(std::size_t node) const { return sums_[node]; }
    const ExactSum& sumOfSquares(std::size_t node) const { return squares_[node]; }
    std::uint32_t binCount(int bin, std::size_t node) const;
    void setBinCount(int bin, std::size_t node, std::uint32_t count);
    std::size_t levels() const { return thresholds_.size() + 1; }
    std::uint32_t levelCount(std::size_t node, std::size_t level) const { return levelCounts_[node * levels() + level]; }
    void setLevelCount(std::size_t node, std::size_t level, std::uint32_t count)
    {
        levelCounts_[node * levels() + level] = count;
    }
    ExactSum& sum(std::size_t node) { return sums_[node]; }
    ExactSum& sumOfSquares(std::size_t node) { return squares_[node]; }
    void setRealizations(std::uint64_t count) { realizations_ = count; }

private:
    std::size_t nodes_ = 0;
    std::vector<double> thresholds_;
    std::uint64_t realizations_ = 0;
    // levelCounts_[node · levels + l]: fields with exactly l thresholds below
    // their value; exceedances come from these, one count per field and node.
    std::vector<std::uint32_t> levelCounts_;
    std::vector<double> sortedThresholds_;
    std::vector<std::size_t> rankOf_;  // each threshold's place among the sorted ones
    std::vector<ExactSum> sums_, squares_;
    LargeBuffer<std::uint32_t> bins_;    // node-major: a node's bins side by side
    std::vector<std::uint8_t> pending_;  // the bins of the batch's fields, field by field
    std::vector<std::uint8_t> pendingLevels_;
    std::size_t pendingFields_ = 0;
    void addBins(std::size_t fields, std::size_t begin, std::size_t end);
};

// A percentile (0 < p < 1) of the histogram at one node: within the bin where
// the count of values at or below reaches p · N, interpolated geometrically by
// the count within it (the true percentile lies in that bin, whose ends are at
// most a factor 1.25 apart); 0 in bin 0, the lower edge in the last bin.
double HistogramPercentile(const NodeTally& tally, std::size_t node, double p);
// The same from a bin, the count below it, its count and the count p · N.
double BinPercentile(int bin, double before, double inBin, double target);

}  // namespace kavrin
