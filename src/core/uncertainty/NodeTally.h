// What the realizations leave at every grid node of one time, kept in exact
// integers so that tallies of any split of the realizations add up to the
// same bits: exceedance counts per threshold, fixed-point sums of the values
// and their squares, and a histogram on fixed logarithmic bins.
#pragma once

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
    double value() const;  // the sum, rounded once
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
    // countRealization() once per field.
    void add(const double* values, std::size_t begin, std::size_t end);
    void countRealization() { ++realizations_; }

    // Adds another tally of the same nodes and thresholds.
    void add(const NodeTally& other);
    void clear();

    std::uint32_t exceedances(std::size_t threshold, std::size_t node) const;
    const ExactSum& sum(std::size_t node) const { return sums_[node]; }
    const ExactSum& sumOfSquares(std::size_t node) const { return squares_[node]; }
    std::uint32_t binCount(int bin, std::size_t node) const;
    void setBinCount(int bin, std::size_t node, std::uint32_t count);
    void setExceedances(std::size_t threshold, std::size_t node, std::uint32_t count);
    ExactSum& sum(std::size_t node) { return sums_[node]; }
    ExactSum& sumOfSquares(std::size_t node) { return squares_[node]; }
    void setRealizations(std::uint64_t count) { realizations_ = count; }

    bool operator==(const NodeTally&) const = default;

private:
    std::size_t nodes_ = 0;
    std::vector<double> thresholds_;
    std::uint64_t realizations_ = 0;
    std::vector<std::uint32_t> exceedances_;  // threshold-major
    std::vector<ExactSum> sums_, squares_;
    std::vector<std::uint32_t> bins_;  // bin-major: neighbouring nodes fall in one bin's row
};

// A percentile (0 < p < 1) of the histogram at one node: the geometric centre
// of the bin where the count of values at or below reaches p · N; 0 in bin 0,
// the lower edge in the last bin.
double HistogramPercentile(const NodeTally& tally, std::size_t node, double p);

}  // namespace kavrin
