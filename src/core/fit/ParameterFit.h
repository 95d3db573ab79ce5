// Automatic calibration: the chosen model parameters fitted to the
// observations by bounded Levenberg–Marquardt (Ceres Solver), with standard
// errors, 95 % intervals and correlations from the covariance at the optimum.
#pragma once

#include "calibration/FitMessage.h"
#include "calibration/FitResult.h"
#include "calibration/FitSettings.h"
#include "calibration/Observations.h"
#include "model/ModelState.h"
#include "solution/Quadrature.h"

#include <vector>

namespace kavrin {

// An observation whose weight is below this fraction of the largest weight
// no longer counts: its squared residual vanishes beside the heaviest one's
// far before the solver's relative tolerance on the objective (1e-12), which
// then reports convergence at once.
constexpr double kNegligibleWeightRatio = 1e-8;

// Fits the parameters, starting from `start` (its derived fields formed).
// Refuses with FitRefusal: no parameters, a parameter twice, bounds that are
// empty or not positive for a positive parameter, a start value outside its
// bounds, no more observations than parameters, a weight that is not a
// positive finite number, weights so unequal that no more observations than
// parameters have one within kNegligibleWeightRatio of the largest (naming the
// heaviest), log residuals with an observation of zero or less and no
// detection limit, a weighted residual at the start beyond the double range. A
// failure of the solution at the start values throws its own error. The
// covariance is (JᵀWJ)⁻¹ s², s² = Σ w r² / (N − p).
FitResult FitObservations(const std::vector<Observation>& observations, const ModelState& start,
                          const QuadratureState& quadrature, const FitSettings& settings);

// The refusals of FitObservations that do not need the solution: those about
// the settings and the observations, before any evaluation.
void RefuseWhatCannotBeFitted(const std::vector<Observation>& observations, const ModelState& start, const FitSettings& settings);

}  // namespace kavrin
