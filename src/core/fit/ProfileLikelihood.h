// Profile-likelihood intervals: one parameter held at values around its
// optimum while the others are fitted again, the interval being where the
// objective stays below the optimum's times 1 + F(1, N − p) / (N − p), F at
// 95 %. Unlike the linearised interval it follows the objective's own shape,
// asymmetric where the objective is.
#pragma once

#include "calibration/FitResult.h"
#include "calibration/FitSettings.h"
#include "calibration/Observations.h"
#include "solution/Quadrature.h"

namespace kavrin {

struct ProfileInterval {
    FitParameter parameter;
    double lower = 0, upper = 0;
    // An end that reached the parameter's bound with the objective still below
    // the threshold: the interval goes on beyond it.
    bool lowerAtBound = false, upperAtBound = false;
    double threshold = 0;  // the objective at the interval's ends
    int fits = 0;          // the fits of the other parameters it took
};

// The interval of `parameter`, one of the settings' parameters, around the
// `optimum` a fit of those settings reached. Its ends are found to a ten
// thousandth of the linearised standard error (in the fitted coordinate). The
// settings' progress is called after each fit of the others with their count
// and the objective; a false return stops it with FitCancelled. Throws
// CheckError when the fit of the others fails at a value.
ProfileInterval ProfileLikelihoodInterval(const std::vector<Observation>& observations, const QuadratureState& quadrature,
                                          const FitSettings& settings, const FitResult& optimum, FitParameter parameter);

// The profile was cancelled through the settings' progress.
class FitCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "the profile was cancelled"; }
};

}  // namespace kavrin
