// The fit from several starting points spread over the bounds, for a problem
// whose objective has more than one minimum: the best fit is kept, with how
// many starts reached it and the other minima they found.
#pragma once

#include "calibration/FitResult.h"
#include "calibration/FitSettings.h"
#include "calibration/Observations.h"
#include "model/ModelState.h"
#include "solution/Quadrature.h"

#include <cstdint>
#include <vector>

namespace kavrin {

constexpr int kDefaultStarts = 20;
// Starts whose objectives differ by less than this fraction of the best one
// reached the same minimum.
constexpr double kSameMinimum = 1e-6;

// `count` points inside the bounds by Latin hypercube: each parameter's range
// (in its fitted coordinate, log(value) for the positive ones) cut into
// `count` equal strata, one point in each, the strata paired at random. The
// same seed gives the same points on every machine. One vector of values per point.
std::vector<std::vector<double>> LatinHypercubeStarts(const FitSettings& settings, int count, std::uint64_t seed);

// A minimum a start ended in: its objective and fitted values, and how many starts ended there.
struct FoundMinimum {
    double objective = 0;
    std::vector<double> values;
    int starts = 0;
};

struct SeveralStartsResult {
    FitResult best;                    // the fit with the lowest objective (the earliest start among equals)
    int starts = 0;                    // the starting points tried
    std::uint64_t seed = 0;            // their seed
    int reachedBest = 0;               // starts that ended within kSameMinimum of its objective
    int failed = 0;                    // starts whose fit failed or whose solution could not be evaluated there
    std::vector<FoundMinimum> others;  // the other minima, lowest objective first
};

// Fits from each of `count` Latin hypercube starts (the other parameters as
// in `start`), several at once on the settings' workers. Refuses what
// FitObservations refuses before trying any start; when every start fails,
// the first start's error is thrown. The settings' progress is called after
// each start with the starts done and the best objective so far; a false
// return cancels the starts still running, and the result's stop is Cancelled.
SeveralStartsResult FitFromSeveralStarts(const std::vector<Observation>& observations, const ModelState& start,
                                         const QuadratureState& quadrature, const FitSettings& settings, int count,
                                         std::uint64_t seed);

}  // namespace kavrin
