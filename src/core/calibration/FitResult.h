// What a fit found: the fitted values with their errors and intervals, the
// statistics before and after, how it ended, and whether the observations
// determine the parameters at all.
#pragma once

#include "calibration/FitParameters.h"
#include "calibration/FitStatistics.h"
#include "model/ModelState.h"

#include <string>
#include <utility>
#include <vector>

namespace kavrin {

// Where a fitted value ended against its bounds.
enum class BoundReached { None, Lower, Upper };

// A value at a bound has no standard error or interval (they stay 0): the
// optimum there is the bound's, not the observations'. Parameters fitted as
// logarithms get their interval in that space, transformed back: positive and
// asymmetric; their standard error is the delta method's, value · σ(log).
struct FittedParameter {
    FitParameter parameter;
    double initial = 0, value = 0;
    double standardError = 0, lower95 = 0, upper95 = 0;
    BoundReached bound = BoundReached::None;
    bool hasInterval() const { return bound == BoundReached::None; }
};

// A Jacobian whose condition number exceeds this leaves a combination of the
// parameters poorly determined: a relative error of 1e-3 in the residuals
// may move it a thousand times as far as the best determined one.
constexpr double kIllConditioned = 1000;

// In the order of the language files' line of stop texts.
enum class FitStop { Converged, IterationLimit, Cancelled, Failed };

struct FitResult {
    std::vector<FittedParameter> parameters;
    std::vector<std::vector<double>> correlation;  // of the fitted parameters; finite whenever given, 0 beside a value at a bound
    FitStatistics before, after;
    std::vector<double> calculatedBefore, calculatedAfter;
    // The fit's own residuals after it (√w times observed minus calculated, or
    // their log10s), one per observation: what the objective sums the squares of.
    std::vector<double> residualsAfter;
    int iterations = 0;
    // Evaluations of every observation, on the model's order and on the coarse one.
    int evaluations = 0, coarseEvaluations = 0;
    FitStop stop = FitStop::Failed;
    std::string solverMessage;  // the solver's own account of why it stopped
    int degreesOfFreedom = 0;   // N − p
    double t975 = 0;            // Student's t quantile of the intervals
    ModelState model;           // the start model with the fitted values, derived fields formed

    // Not identifiable: parameters without influence on the observations, and
    // pairs whose influences on the observations are alike beyond 0.99. When
    // either is not empty (or the covariance is singular) no errors, intervals
    // or correlations are given.
    std::vector<FitParameter> noInfluence;
    std::vector<std::pair<FitParameter, FitParameter>> correlated;
    bool singular = false;
    // The Jacobian's condition number at the optimum (its largest singular
    // value over its smallest, in the fitted coordinates: log(value) for the
    // positive parameters), and when it exceeds kIllConditioned the right
    // singular vector of the smallest one: the combination of the fitted
    // coordinates the observations determine worst, unit length, one weight per parameter.
    double conditionNumber = 0;
    std::vector<double> weakestCombination;
    bool identifiable() const { return !singular && noInfluence.empty() && correlated.empty(); }
    // Whether the fit ran to an optimum or its iteration limit, so that the values after it mean something.
    bool reachedEnd() const { return stop == FitStop::Converged || stop == FitStop::IterationLimit; }
};

}  // namespace kavrin
