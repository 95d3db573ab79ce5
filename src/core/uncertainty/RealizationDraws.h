// The random draws of the realizations: realization k's numbers come from a
// counter-based stream keyed by (seed, k, parameter), so they never depend on
// which realizations run beside it, on the threads or on the split into parts.
#pragma once

#include "model/ModelState.h"
#include "uncertainty/UncertaintySettings.h"

#include <cstdint>
#include <vector>

namespace kavrin {

// A uniform number in (0, 1), never 0 or 1, from (seed, realization, stream).
double CounterUniform(std::uint64_t seed, std::uint64_t realization, std::uint64_t stream);

// A permutation of 0 … count − 1 computed from (seed, stream) alone, one value
// at a time: Latin hypercube strata, the same in every part.
class StratumPermutation {
public:
    StratumPermutation(std::uint64_t count, std::uint64_t seed, std::uint64_t stream);
    std::uint64_t operator()(std::uint64_t index) const;

private:
    std::uint64_t count_;
    int halfBits_;
    std::uint64_t keys_[4];
};

// The standard normal's distribution function and its inverse (full double precision).
double NormalCdf(double x);
double NormalQuantile(double p);

// The distribution's value at probability p, restricted to [lower, upper]:
// the quantile of p mapped into [F(lower), F(upper)], so that truncation keeps
// one draw per realization.
double TruncatedQuantile(const Distribution& distribution, double p, double lower, double upper);
// The untruncated quantile and distribution function.
double DistributionQuantile(const Distribution& distribution, double p);
double DistributionCdf(const Distribution& distribution, double x);

// The uniform numbers of realization k, one per drawn dimension (each varied
// parameter, then each of the fit's parameters): plain Monte Carlo, or Latin
// hypercube (realization k in stratum π_d(k) of N along dimension d).
class RealizationDraws {
public:
    RealizationDraws(const UncertaintySettings& settings);

    std::size_t dimensions() const { return dimensions_; }
    double uniform(std::uint64_t realization, std::size_t dimension) const;
    // The stratum of the realization along a dimension (Latin hypercube only).
    std::uint64_t stratum(std::uint64_t realization, std::size_t dimension) const;

    // The model of realization k: the base model with every varied and fitted
    // parameter drawn, derived fields formed again.
    ModelState model(const ModelState& base, std::uint64_t realization) const;

private:
    const UncertaintySettings& settings_;
    std::size_t dimensions_ = 0;
    std::vector<StratumPermutation> strata_;
    std::vector<std::vector<double>> fitFactor_;  // lower Cholesky factor of the fit's covariance
};

// The lower Cholesky factor of a symmetric matrix, or empty when it is not
// positive definite (or not finite).
std::vector<std::vector<double>> CholeskyFactor(const std::vector<std::vector<double>>& matrix);

}  // namespace kavrin
