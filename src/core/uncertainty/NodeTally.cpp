#include "uncertainty/NodeTally.h"

#include "solution/Parallel.h"
#include "text/Errors.h"
#include "text/NumberText.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace kavrin {

namespace {

constexpr int kLastBin = kHistogramBins - 1;
const double kLowestValue = std::ldexp(1.0, kLowestOctave);
const double kHighestValue = std::ldexp(1.0, kHighestOctave);
// The biased exponent and two mantissa bits of the lowest bin's lower edge.
constexpr std::uint64_t kFirstBinBits = static_cast<std::uint64_t>(1023 + kLowestOctave) << 2;

}  // namespace

int HistogramBin(double value)
{
    if (!(value >= kLowestValue)) return 0;
    if (value >= kHighestValue) return kLastBin;
    return static_cast<int>((std::bit_cast<std::uint64_t>(value) >> 50) - kFirstBinBits) + 1;
}

double BinLower(int bin)
{
    if (bin <= 0) return 0;
    if (bin >= kLastBin) return kHighestValue;
    const int octave = kLowestOctave + (bin - 1) / kBinsPerOctave;
    return std::ldexp(1.0 + ((bin - 1) % kBinsPerOctave) / static_cast<double>(kBinsPerOctave), octave);
}

double BinUpper(int bin)
{
    if (bin >= kLastBin) return std::numeric_limits<double>::infinity();
    return BinLower(bin + 1 > 0 ? bin + 1 : 1);
}

void ExactSum::add(double value)
{
    const double magnitude = std::fabs(value);
    const auto whole = static_cast<std::int64_t>(magnitude);
    double rest = (magnitude - static_cast<double>(whole)) * 0x1p40;  // exact
    const auto middle = static_cast<std::int64_t>(rest);
    rest = (rest - static_cast<double>(middle)) * 0x1p40;
    const auto low = static_cast<std::int64_t>(rest);  // below 2^-80 is cut
    if (value < 0) {
        limb[0] -= whole;
        limb[1] -= middle;
        limb[2] -= low;
    } else {
        limb[0] += whole;
        limb[1] += middle;
        limb[2] += low;
    }
}

void ExactSum::add(const ExactSum& other)
{
    // Two's complement wrapping: the limbs of a part file read from outside cannot overflow into undefined behaviour.
    for (int i = 0; i < 3; ++i)
        limb[i] = static_cast<std::int64_t>(static_cast<std::uint64_t>(limb[i]) + static_cast<std::uint64_t>(other.limb[i]));
}

double ExactSum::value() const
{
    return static_cast<double>(static_cast<long double>(limb[0]) + static_cast<long double>(limb[1]) * 0x1p-40L +
                               static_cast<long double>(limb[2]) * 0x1p-80L);
}

namespace {

// Fields whose bins wait for the histogram: a batch costs this many bytes per node.
constexpr std::size_t kBatchFields = 32;
constexpr std::size_t kSettleGrain = 4096;

}  // namespace

NodeTally::NodeTally(std::size_t nodes, std::vector<double> thresholds)
    : nodes_(nodes), thresholds_(std::move(thresholds)), levelCounts_((thresholds_.size() + 1) * nodes),
      sortedThresholds_(thresholds_), sums_(nodes), squares_(nodes), bins_(static_cast<std::size_t>(kHistogramBins) * nodes, 0u),
      pending_(kBatchFields * nodes), pendingLevels_(kBatchFields * nodes)
{
    std::sort(sortedThresholds_.begin(), sortedThresholds_.end());
    for (double threshold : thresholds_)
        rankOf_.push_back(static_cast<std::size_t>(
            std::lower_bound(sortedThresholds_.begin(), sortedThresholds_.end(), threshold) - sortedThresholds_.begin()));
}

namespace {

// Sanitizer builds turn the per-processor variants off, as for the field kernel.
#ifdef KAVRIN_NO_TARGET_CLONES
#define KAVRIN_TALLY_CLONES
#else
#define KAVRIN_TALLY_CLONES __attribute__((target_clones("avx2", "default")))
#endif

// Each value's bin and the number of (sorted) thresholds below it, without a
// branch, so that the loop runs on vectors; whether every value is summable.
KAVRIN_TALLY_CLONES
bool binsAndLevels(const double* values, std::size_t begin, std::size_t end, const double* thresholds, std::size_t thresholdCount,
                   std::uint8_t* bins, std::uint8_t* levels)
{
    const double lowest = std::ldexp(1.0, kLowestOctave), highest = std::ldexp(1.0, kHighestOctave);
    const auto lastBin = static_cast<std::int64_t>(kHistogramBins - 1);
    bool summable = true;
    for (std::size_t n = begin; n < end; ++n) {
        const double v = values[n];
        summable &= std::fabs(v) <= kLargestSummedValue;
        const std::int64_t inside =
            static_cast<std::int64_t>(std::bit_cast<std::uint64_t>(v) >> 50) - static_cast<std::int64_t>(kFirstBinBits) + 1;
        std::int64_t bin = v >= lowest ? inside : 0;
        bin = v >= highest ? lastBin : bin;
        bins[n] = static_cast<std::uint8_t>(bin);
        levels[n] = 0;
    }
    for (std::size_t t = 0; t < thresholdCount; ++t) {
        const double threshold = thresholds[t];
        for (std::size_t n = begin; n < end; ++n) levels[n] = static_cast<std::uint8_t>(levels[n] + (values[n] > threshold));
    }
    return summable;
}

}  // namespace

void NodeTally::add(const double* values, std::size_t begin, std::size_t end)
{
    std::uint8_t* levels = pendingLevels_.data() + pendingFields_ * nodes_;
    std::uint8_t* bins = pending_.data() + pendingFields_ * nodes_;
    const bool summable = binsAndLevels(values, begin, end, sortedThresholds_.data(), sortedThresholds_.size(), bins, levels);
    if (!summable)
        for (std::size_t n = begin; n < end; ++n)
            if (!(std::fabs(values[n]) <= kLargestSummedValue))
                throw CheckError("A realization gave the concentration " + FormatGeneral(values[n], '.') +
                                 " mg/L, beyond what the uncertainty maps sum (1048576 mg/L).");
    for (std::size_t n = begin; n < end; ++n) {
        const double v = values[n];
        // Below 2^-80 a value adds nothing to the sums, below 2^-40 its square nothing.
        if (!(std::fabs(v) >= 0x1p-80)) continue;
        sums_[n].add(v);
        if (std::fabs(v) >= 0x1p-40) squares_[n].add(v * v);
    }
    if (pendingFields_ + 1 == kBatchFields) addBins(kBatchFields, begin, end);
}

void NodeTally::countRealization()
{
    ++realizations_;
    pendingFields_ = pendingFields_ + 1 == kBatchFields ? 0 : pendingFields_ + 1;
}

void NodeTally::settle(unsigned workers)
{
    const std::size_t fields = pendingFields_;
    ParallelFor(static_cast<int>((nodes_ + kSettleGrain - 1) / kSettleGrain), 1, workers, [&](int begin, int end) {
        addBins(fields, static_cast<std::size_t>(begin) * kSettleGrain,
                std::min(nodes_, static_cast<std::size_t>(end) * kSettleGrain));
    });
    pendingFields_ = 0;
}

void NodeTally::addBins(std::size_t fields, std::size_t begin, std::size_t end)
{
    constexpr std::size_t kNodeBlock = 64;  // their counts stay in the core's cache over the batch
    for (std::size_t from = begin; from < end; from += kNodeBlock) {
        const std::size_t to = std::min(end, from + kNodeBlock);
        const std::size_t levelCount = levels();
        for (std::size_t f = 0; f < fields; ++f) {
            const std::uint8_t* bins = pending_.data() + f * nodes_;
            const std::uint8_t* levels = pendingLevels_.data() + f * nodes_;
            for (std::size_t n = from; n < to; ++n) {
                ++bins_[n * kHistogramBins + bins[n]];
                ++levelCounts_[n * levelCount + levels[n]];
            }
        }
    }
}

void NodeTally::add(const NodeTally& other)
{
    for (std::size_t i = 0; i < levelCounts_.size(); ++i) levelCounts_[i] += other.levelCounts_[i];
    for (std::size_t n = 0; n < nodes_; ++n) {
        sums_[n].add(other.sums_[n]);
        squares_[n].add(other.squares_[n]);
    }
    for (std::size_t i = 0; i < bins_.size(); ++i) bins_[i] += other.bins_[i];
    realizations_ += other.realizations_;
}

void NodeTally::clear()
{
    std::fill(levelCounts_.begin(), levelCounts_.end(), 0u);
    std::fill(sums_.begin(), sums_.end(), ExactSum{});
    std::fill(squares_.begin(), squares_.end(), ExactSum{});
    std::fill(bins_.begin(), bins_.end(), 0u);
    realizations_ = 0;
    pendingFields_ = 0;
}

std::uint32_t NodeTally::exceedances(std::size_t threshold, std::size_t node) const
{
    std::uint32_t count = 0;
    for (std::size_t level = rankOf_[threshold] + 1; level < levels(); ++level) count += levelCount(node, level);
    return count;
}

std::uint32_t NodeTally::binCount(int bin, std::size_t node) const
{
    return bins_[node * kHistogramBins + static_cast<std::size_t>(bin)];
}

void NodeTally::setBinCount(int bin, std::size_t node, std::uint32_t count)
{
    bins_[node * kHistogramBins + static_cast<std::size_t>(bin)] = count;
}

double BinPercentile(int bin, double before, double inBin, double target)
{
    if (bin <= 0) return 0;
    if (bin >= kLastBin) return kHighestValue;
    const double lower = BinLower(bin), upper = BinUpper(bin);
    const double fraction = inBin > 0 ? std::clamp((target - before) / inBin, 0.0, 1.0) : 0.5;
    return lower * std::pow(upper / lower, fraction);
}

double HistogramPercentile(const NodeTally& tally, std::size_t node, double p)
{
    const double target = p * static_cast<double>(tally.realizations());
    double before = 0;
    for (int bin = 0; bin < kHistogramBins; ++bin) {
        const double count = tally.binCount(bin, node);
        if (count > 0 && before + count >= target) return BinPercentile(bin, before, count, target);
        before += count;
    }
    return 0;
}

}  // namespace kavrin
