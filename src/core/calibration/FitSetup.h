// The user's choices for a fit, from the calibration window or the command
// line, turned into the fit's settings: one policy for both.
#pragma once

#include "calibration/FitSettings.h"
#include "calibration/ObservationWeights.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kavrin {

struct FitChoices {
    std::vector<FitParameter> parameters;
    std::vector<std::optional<FitBounds>> bounds;  // one per parameter; none: DefaultBounds around the start value
    bool logResiduals = false;
    double detectionLimit = 0;
    WeightRule weightRule = WeightRule::Table;
    std::vector<std::string> weightTexts;  // the observation table's weight column
};

// A model order above this one first comes near the optimum at this order.
constexpr int kCoarseGaussOrder = 60;

// The settings with the quadratures they point to; not copied, so the
// pointer to the coarse rule stays good.
struct FitSetup {
    FitSetup() = default;
    FitSetup(const FitSetup&) = delete;
    FitSetup& operator=(const FitSetup&) = delete;

    QuadratureState quadrature, coarse;
    FitSettings settings;
    // The most iterations the fit may take, both passes together.
    int iterationBound() const { return settings.maxIterations * (settings.coarseQuadrature ? 2 : 1); }
};

// The settings for the observations from `start` (its derived fields
// formed): the model's own order loaded over the rule in effect, a first pass
// at kCoarseGaussOrder when the model's order is above it, the weights by the
// chosen rule, every processor. Throws FitRefusal for a weight it refuses
// (see ObservationWeights) and the quadrature table's errors.
std::unique_ptr<FitSetup> SetUpFit(const FitChoices& choices, const std::vector<Observation>& observations,
                                   const ModelState& start, const QuadratureState& inEffect, const std::string& valoresPath,
                                   char separator);

}  // namespace kavrin
