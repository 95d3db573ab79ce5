// Automatic calibration: the chosen model parameters fitted to the
// observations by bounded Levenberg–Marquardt (Ceres Solver), with standard
// errors, 95 % intervals and correlations from the covariance at the optimum.
#pragma once

#include "calibration/FitMessage.h"
#include "calibration/Observations.h"
#include "model/ModelState.h"
#include "solution/Quadrature.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kavrin {

// The parameters a fit can change. The seepage velocity is fitted through
// Kxx, with the gradient and the porosity held.
enum class FitParameter { AlphaX, AlphaY, AlphaZ, Kxx, Retardation, Decay, C0, SourceWidth, SourceHeight };

struct FitParameterInfo {
    FitParameter parameter;
    const char* name;           // the field name, as in --set and --fit
    double ModelState::*member;
    int edit;                   // the data window's Edit n that shows it
    bool positive;              // fitted as log(value), so it stays positive
};

extern const std::array<FitParameterInfo, 9> kFitParameters;
const FitParameterInfo& InfoOf(FitParameter parameter);
std::optional<FitParameter> FitParameterOfName(const std::string& name);

struct FitBounds {
    double lower = 0, upper = 0;
};

// Bounds around a current value: a hundredth to a hundred times it for the
// positive parameters (retardation from 1), 0 to 100 times the decay (at
// least 1/day) for the decay.
FitBounds DefaultBounds(FitParameter parameter, double value);

struct FitSettings {
    std::vector<FitParameter> parameters;  // each at most once
    std::vector<FitBounds> bounds;         // one per parameter
    // Residuals on log10 concentrations instead of concentrations. Observed
    // and calculated values below the detection limit count as the limit;
    // without a limit (0) every observed value must be positive.
    bool logResiduals = false;
    double detectionLimit = 0;
    // The weight of each observation (see ObservationWeights): its residual
    // enters the objective multiplied by √w, so the objective is Σ w r².
    // Empty: every weight 1.
    std::vector<double> weights;
    int maxIterations = 200;
    unsigned workers = 1;
    // A lower quadrature order to come near the optimum with first, at a
    // fraction of the cost; the fit then ends on the model's own order.
    const QuadratureState* coarseQuadrature = nullptr;
    // Called after every iteration with its number and the objective; a
    // false return cancels the fit.
    std::function<bool(int iteration, double objective)> progress;
};

// How well the model fits: the objective (the weighted sum of squared
// residuals in the fit's own terms), and R² (NaN when undefined), MAE and RMSE
// on concentrations, unweighted.
struct FitStatistics {
    double objective = 0, R2 = 0, MAE = 0, RMSE = 0;
};

struct FittedParameter {
    FitParameter parameter;
    double initial = 0, value = 0;
    double standardError = 0, lower95 = 0, upper95 = 0;
};

enum class FitStop { Converged, IterationLimit, Cancelled, Failed };

struct FitResult {
    std::vector<FittedParameter> parameters;
    std::vector<std::vector<double>> correlation;  // of the fitted parameters
    FitStatistics before, after;
    std::vector<double> calculatedBefore, calculatedAfter;
    int iterations = 0;
    // Evaluations of every observation, on the model's order and on the coarse one.
    int evaluations = 0, coarseEvaluations = 0;
    FitStop stop = FitStop::Failed;
    std::string solverMessage;   // the solver's own account of why it stopped
    int degreesOfFreedom = 0;    // N − p
    double t975 = 0;             // Student's t quantile of the intervals
    ModelState model;            // the start model with the fitted values, derived fields formed

    // Not identifiable: parameters without influence on the observations, and
    // pairs whose estimates are correlated beyond 0.99. When either is not
    // empty (or the covariance is singular) no errors, intervals or
    // correlations are given.
    std::vector<FitParameter> noInfluence;
    std::vector<std::pair<FitParameter, FitParameter>> correlated;
    bool singular = false;
    bool identifiable() const { return !singular && noInfluence.empty() && correlated.empty(); }
};

// Fits the parameters, starting from `start` (its derived fields formed).
// Refuses with FitRefusal: no parameters, a parameter twice, bounds that are
// empty or not positive for a positive parameter, a start value outside its
// bounds, no more observations than parameters, a weight that is not a
// positive finite number, log residuals with an observation of zero or less
// and no detection limit. A failure of the solution at the start values
// throws its own error. The covariance is (JᵀWJ)⁻¹ s², s² = Σ w r² / (N − p).
FitResult FitObservations(const std::vector<Observation>& observations, const ModelState& start,
                          const QuadratureState& quadrature, const FitSettings& settings);

}  // namespace kavrin
