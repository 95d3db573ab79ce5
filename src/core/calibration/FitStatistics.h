// How well a model fits the observations, before and after a fit.
#pragma once

#include "calibration/Observations.h"

#include <vector>

namespace kavrin {

// The objective (the weighted sum of squared residuals in the fit's own
// terms), and R² (NaN when undefined), MAE and RMSE on concentrations, unweighted.
struct FitStatistics {
    double objective = 0, R2 = 0, MAE = 0, RMSE = 0;
};

// The statistics of the calculated concentrations, one per observation, with
// the fit's residuals (weighted, in its own terms) at them.
FitStatistics FitStatisticsOf(const std::vector<Observation>& observations, const std::vector<double>& calculated,
                              const std::vector<double>& residuals);

}  // namespace kavrin
