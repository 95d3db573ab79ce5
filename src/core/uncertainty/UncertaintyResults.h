// What an uncertainty run found: per time the maps of every grid node, per
// receptor and time the value of every realization, per time the plume's
// length in every realization. The desktop draws these; the batch tool writes them.
#pragma once

#include "uncertainty/NodeTally.h"
#include "uncertainty/UncertaintySettings.h"

#include <cstdint>
#include <vector>

namespace kavrin {

// One time's maps on the model's grid (rows × columns, row by row, y
// ascending, x ascending within a row, as TimeField).
struct UncertaintyMaps {
    std::vector<std::vector<double>> exceedance;  // per threshold: the fraction of realizations above it
    std::vector<double> mean, sd, p05, p50, p95;
};

// The maps of a tally: probabilities as count / N, the mean and the standard
// deviation (N − 1 in the denominator) from the exact sums, the percentiles
// from the histogram.
UncertaintyMaps MapsOfTally(const NodeTally& tally);

struct UncertaintyResults {
    int rows = 0, columns = 0;
    std::uint64_t realizations = 0;  // those computed: all, or the part's
    std::uint64_t firstRealization = 0;
    std::vector<UncertaintyMaps> times;  // per settings time
    // receptorValues[r][t][i]: receptor r, time t, realization firstRealization + i (mg/L).
    std::vector<std::vector<std::vector<double>>> receptorValues;
    // plumeLength[t][i]: how far along the source's axis the concentration
    // exceeds the standard at time t in realization firstRealization + i (m;
    // 0 when it does not, the grid's end when it does there).
    std::vector<std::vector<double>> plumeLength;
};

}  // namespace kavrin
