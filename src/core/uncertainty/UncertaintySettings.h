// What an uncertainty run varies, what it computes and where: the parameters
// drawn from distributions or jointly from a fit, the thresholds, the number
// of realizations and how they are drawn, the times and the receptors.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kavrin {

constexpr int kMostThresholds = 8;
constexpr int kMostReceptors = 50;
constexpr std::uint64_t kFewestRealizations = 2;
constexpr std::uint64_t kMostRealizations = 1000000;

enum class DistributionKind {
    Uniform,     // a = lower, b = upper
    Normal,      // a = mean, b = standard deviation
    Lognormal,   // a = median, b = geometric standard deviation (> 1)
    Triangular,  // a = lower, b = mode, c = upper
};

struct Distribution {
    DistributionKind kind = DistributionKind::Uniform;
    double a = 0, b = 0, c = 0;
    bool operator==(const Distribution&) const = default;
};

// A model field (AlphaX, C0, ZoneConcentration3, …, see UncertainParameters)
// drawn from a distribution, truncated to the field's physical range.
struct VariedParameter {
    std::string name;
    Distribution distribution;
    bool operator==(const VariedParameter&) const = default;
};

// Parameters drawn jointly from a fit: a normal distribution in the space the
// fit used (the logarithm of a parameter fitted as positive), with the fit's
// centre and covariance, so that their correlations are kept.
struct FitDraw {
    std::vector<std::string> names;               // field names, as the fit names them
    std::vector<bool> logarithmic;                // drawn as log(value)
    std::vector<double> centre;                   // in the fit's space
    std::vector<std::vector<double>> covariance;  // in the fit's space, names × names
    bool operator==(const FitDraw&) const = default;
};

// A number as the user typed it: the value, and the text that names its files.
struct TypedNumber {
    double value = 0;
    std::string text;
    bool operator==(const TypedNumber&) const = default;
};

// A point whose concentration is followed through every realization (metres).
struct Receptor {
    double x = 0, y = 0, z = 0;
    bool operator==(const Receptor&) const = default;
};

// Share `index` (1 … count) of the realizations: realizations
// [first(N), end(N)) of 0 … N − 1, the count's equal shares in order.
struct RealizationPart {
    int index = 1;
    int count = 1;
    std::uint64_t first(std::uint64_t realizations) const;
    std::uint64_t end(std::uint64_t realizations) const;
    bool operator==(const RealizationPart&) const = default;
};

struct UncertaintySettings {
    std::vector<VariedParameter> varied;
    std::optional<FitDraw> fromFit;
    std::vector<TypedNumber> thresholds;  // mg/L; the first is the standard
    std::uint64_t realizations = 1000;
    std::uint64_t seed = 1;
    bool latinHypercube = false;
    std::vector<TypedNumber> times;  // days
    std::vector<Receptor> receptors;
    RealizationPart part;
    bool operator==(const UncertaintySettings&) const = default;

    double standard() const { return thresholds.empty() ? 0 : thresholds.front().value; }
};

}  // namespace kavrin
