#include "uncertainty/RealizationDraws.h"

#include "model/Variaveis.h"
#include "uncertainty/UncertainParameters.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <numbers>

namespace kavrin {

namespace {

// SplitMix64's finalizer: every input bit reaches every output bit.
std::uint64_t mix(std::uint64_t x)
{
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

std::uint64_t key(std::uint64_t seed, std::uint64_t a, std::uint64_t b)
{
    return mix(mix(mix(seed) ^ a) ^ (b * 0xD1B54A32D192ED03ULL));
}

// The permutations' keys come from streams of their own.
constexpr std::uint64_t kPermutationStreams = 0x5EED5EED00000000ULL;

}  // namespace

double CounterUniform(std::uint64_t seed, std::uint64_t realization, std::uint64_t stream)
{
    const std::uint64_t bits = key(seed, realization, stream + 1);
    return (static_cast<double>(bits >> 11) + 0.5) * 0x1p-53;
}

StratumPermutation::StratumPermutation(std::uint64_t count, std::uint64_t seed, std::uint64_t stream) : count_(count)
{
    int bits = count > 1 ? std::bit_width(count - 1) : 1;
    bits += bits % 2;
    halfBits_ = std::max(1, bits / 2);
    for (std::uint64_t round = 0; round < 4; ++round) keys_[round] = key(seed, kPermutationStreams + stream, round);
}

// A four-round Feistel network on 2 · halfBits bits is a permutation of
// 0 … 2^(2·halfBits) − 1; walking it until the value falls below the count
// restricts it to a permutation of 0 … count − 1.
std::uint64_t StratumPermutation::operator()(std::uint64_t index) const
{
    if (count_ <= 1) return 0;
    const std::uint64_t mask = (std::uint64_t{1} << halfBits_) - 1;
    std::uint64_t x = index;
    do {
        std::uint64_t left = x >> halfBits_, right = x & mask;
        for (std::uint64_t k : keys_) {
            const std::uint64_t next = left ^ (mix(right ^ k) & mask);
            left = right;
            right = next;
        }
        x = (left << halfBits_) | right;
    } while (x >= count_);
    return x;
}

double NormalCdf(double x)
{
    return 0.5 * std::erfc(-x / std::numbers::sqrt2);
}

// A rational first guess, then one step of Halley's method on the error
// function, which brings it to full double precision.
double NormalQuantile(double p)
{
    if (!(p > 0)) return -std::numeric_limits<double>::infinity();
    if (!(p < 1)) return std::numeric_limits<double>::infinity();
    static constexpr double a[] = {-3.969683028665376e+01, 2.209460984245205e+02,  -2.759285104469687e+02,
                                   1.383577518672690e+02,  -3.066479806614716e+01, 2.506628277459239e+00};
    static constexpr double b[] = {-5.447609879822406e+01, 1.615858368580409e+02, -1.556989798598866e+02, 6.680131188771972e+01,
                                   -1.328068155288572e+01};
    static constexpr double c[] = {-7.784894002430293e-03, -3.223964580411365e-01, -2.400758277161838e+00,
                                   -2.549732539343734e+00, 4.374664141464968e+00,  2.938163982698783e+00};
    static constexpr double d[] = {7.784695709041462e-03, 3.224671290700398e-01, 2.445134137142996e+00, 3.754408661907416e+00};
    constexpr double low = 0.02425;
    double x;
    if (p < low) {
        const double q = std::sqrt(-2 * std::log(p));
        x = (((((c[0] * q + c[1]) * q + c[2]) * q + c[3]) * q + c[4]) * q + c[5]) /
            ((((d[0] * q + d[1]) * q + d[2]) * q + d[3]) * q + 1);
    } else if (p <= 1 - low) {
        const double q = p - 0.5, r = q * q;
        x = (((((a[0] * r + a[1]) * r + a[2]) * r + a[3]) * r + a[4]) * r + a[5]) * q /
            (((((b[0] * r + b[1]) * r + b[2]) * r + b[3]) * r + b[4]) * r + 1);
    } else {
        const double q = std::sqrt(-2 * std::log1p(-p));
        x = -(((((c[0] * q + c[1]) * q + c[2]) * q + c[3]) * q + c[4]) * q + c[5]) /
            ((((d[0] * q + d[1]) * q + d[2]) * q + d[3]) * q + 1);
    }
    // F(x) − p, from the tail on x's side, which keeps its precision there.
    const double e = x < 0 ? NormalCdf(x) - p : (1 - p) - NormalCdf(-x);
    const double u = e * std::sqrt(2 * std::numbers::pi) * std::exp(x * x / 2);
    return x - u / (1 + x * u / 2);
}

double DistributionCdf(const Distribution& d, double x)
{
    if (std::isnan(x)) return 0;
    switch (d.kind) {
    case DistributionKind::Uniform:
        return std::clamp((x - d.a) / (d.b - d.a), 0.0, 1.0);
    case DistributionKind::Normal:
        return NormalCdf((x - d.a) / d.b);
    case DistributionKind::Lognormal:
        return x <= 0 ? 0 : NormalCdf(std::log(x / d.a) / std::log(d.b));
    case DistributionKind::Triangular:
        if (x <= d.a) return 0;
        if (x >= d.c) return 1;
        if (x <= d.b) return (x - d.a) * (x - d.a) / ((d.c - d.a) * (d.b - d.a));
        return 1 - (d.c - x) * (d.c - x) / ((d.c - d.a) * (d.c - d.b));
    }
    return 0;
}

double DistributionQuantile(const Distribution& d, double p)
{
    switch (d.kind) {
    case DistributionKind::Uniform:
        return d.a + p * (d.b - d.a);
    case DistributionKind::Normal:
        return d.a + d.b * NormalQuantile(p);
    case DistributionKind::Lognormal:
        return d.a * std::exp(std::log(d.b) * NormalQuantile(p));
    case DistributionKind::Triangular: {
        const double split = (d.b - d.a) / (d.c - d.a);
        if (p < split) return d.a + std::sqrt(p * (d.c - d.a) * (d.b - d.a));
        return d.c - std::sqrt((1 - p) * (d.c - d.a) * (d.c - d.b));
    }
    }
    return 0;
}

double TruncatedQuantile(const Distribution& d, double p, double lower, double upper)
{
    const double from = DistributionCdf(d, lower), to = DistributionCdf(d, upper);
    const double value = from <= 0 && to >= 1 ? DistributionQuantile(d, p) : DistributionQuantile(d, from + p * (to - from));
    return std::clamp(value, lower, upper);
}

std::vector<std::vector<double>> CholeskyFactor(const std::vector<std::vector<double>>& matrix)
{
    const std::size_t n = matrix.size();
    std::vector<std::vector<double>> factor(n, std::vector<double>(n, 0.0));
    double largest = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (matrix[i].size() != n) return {};
        largest = std::max(largest, std::fabs(matrix[i][i]));
    }
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j <= i; ++j) {
            double sum = matrix[i][j];
            if (!std::isfinite(sum) || matrix[i][j] != matrix[j][i]) return {};
            for (std::size_t k = 0; k < j; ++k) sum -= factor[i][k] * factor[j][k];
            if (i == j) {
                // A pivot lost to rounding against the largest variance is a singular matrix.
                if (!(sum > largest * 1e-12)) return {};
                factor[i][i] = std::sqrt(sum);
            } else {
                factor[i][j] = sum / factor[j][j];
            }
        }
    }
    return factor;
}

RealizationDraws::RealizationDraws(const UncertaintySettings& settings) : settings_(settings)
{
    dimensions_ = settings.varied.size() + (settings.fromFit ? settings.fromFit->names.size() : 0);
    if (settings.latinHypercube)
        for (std::size_t d = 0; d < dimensions_; ++d) strata_.emplace_back(settings.realizations, settings.seed, d);
    if (settings.fromFit) fitFactor_ = CholeskyFactor(settings.fromFit->covariance);
}

std::uint64_t RealizationDraws::stratum(std::uint64_t realization, std::size_t dimension) const
{
    return strata_.at(dimension)(realization);
}

double RealizationDraws::uniform(std::uint64_t realization, std::size_t dimension) const
{
    const double jitter = CounterUniform(settings_.seed, realization, dimension);
    if (!settings_.latinHypercube) return jitter;
    const double u =
        (static_cast<double>(strata_[dimension](realization)) + jitter) / static_cast<double>(settings_.realizations);
    return std::clamp(u, 0x1p-60, 1 - 0x1p-53);
}

namespace {

// A value of the parameter's closed range moved inside an open lower end.
double inside(const UncertainParameter& parameter, double value)
{
    value = std::clamp(value, parameter.lower, parameter.upper);
    if (parameter.lowerOpen && value <= parameter.lower) value = std::nextafter(parameter.lower, parameter.upper);
    return value;
}

}  // namespace

ModelState RealizationDraws::model(const ModelState& base, std::uint64_t realization) const
{
    ModelState model = base;
    std::size_t dimension = 0;
    for (const VariedParameter& varied : settings_.varied) {
        const UncertainParameter parameter = *UncertainParameterOfName(varied.name);
        const double p = uniform(realization, dimension++);
        parameter.setIn(model, inside(parameter, TruncatedQuantile(varied.distribution, p, parameter.lower, parameter.upper)));
    }
    if (settings_.fromFit) {
        // Each component from the normal conditioned on those before it
        // (the Cholesky factor's rows), restricted to the physical range by
        // its inverse distribution function: one draw per component.
        const FitDraw& fit = *settings_.fromFit;
        std::vector<double> z(fit.names.size(), 0.0);
        for (std::size_t i = 0; i < fit.names.size(); ++i) {
            const UncertainParameter parameter = *UncertainParameterOfName(fit.names[i]);
            double mean = fit.centre[i];
            for (std::size_t j = 0; j < i; ++j) mean += fitFactor_[i][j] * z[j];
            const double scale = fitFactor_[i][i];
            const auto space = [&](double v) { return fit.logarithmic[i] ? (v > 0 ? std::log(v) : -HUGE_VAL) : v; };
            const double from = NormalCdf((space(parameter.lower) - mean) / scale);
            const double to = NormalCdf((space(parameter.upper) - mean) / scale);
            const double p = uniform(realization, dimension++);
            z[i] = NormalQuantile(from + p * (to - from));
            if (!std::isfinite(z[i])) z[i] = 0;
            const double x = mean + scale * z[i];
            parameter.setIn(model, inside(parameter, fit.logarithmic[i] ? std::exp(x) : x));
        }
    }
    DeriveModelFields(model);
    return model;
}

}  // namespace kavrin
