#include "uncertainty/UncertaintyResults.h"

#include <cmath>

namespace kavrin {

namespace {

// The three percentiles of every node, its bins side by side in memory.
void percentileMaps(const NodeTally& tally, UncertaintyMaps& maps)
{
    const std::size_t nodes = tally.nodes();
    const double n = static_cast<double>(tally.realizations());
    const double targets[3] = {0.05 * n, 0.50 * n, 0.95 * n};
    std::vector<double>* outputs[3] = {&maps.p05, &maps.p50, &maps.p95};
    for (std::vector<double>* output : outputs) output->assign(nodes, 0.0);
    for (std::size_t node = 0; node < nodes; ++node) {
        double before = 0;
        std::size_t found = 0;
        for (int bin = 0; bin < kHistogramBins && found < 3; ++bin) {
            const double count = tally.binCount(bin, node);
            if (count == 0) continue;
            for (; found < 3 && before + count >= targets[found]; ++found)
                (*outputs[found])[node] = BinPercentile(bin, before, count, targets[found]);
            before += count;
        }
    }
}

}  // namespace

UncertaintyMaps MapsOfTally(const NodeTally& tally)
{
    UncertaintyMaps maps;
    const std::size_t nodes = tally.nodes();
    const double n = static_cast<double>(tally.realizations());
    for (std::size_t t = 0; t < tally.thresholds().size(); ++t) {
        std::vector<double> probability(nodes);
        for (std::size_t node = 0; node < nodes; ++node) probability[node] = tally.exceedances(t, node) / n;
        maps.exceedance.push_back(std::move(probability));
    }
    maps.mean.resize(nodes);
    maps.sd.resize(nodes);
    for (std::size_t node = 0; node < nodes; ++node) {
        const long double sum = tally.sum(node).value(), squares = tally.sumOfSquares(node).value();
        maps.mean[node] = static_cast<double>(sum / n);
        const long double spread = (squares - sum * sum / n) / (n - 1);
        maps.sd[node] = spread > 0 ? static_cast<double>(std::sqrt(spread)) : 0.0;
    }
    percentileMaps(tally, maps);
    return maps;
}

}  // namespace kavrin
