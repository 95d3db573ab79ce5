// The headless fit: the chosen parameters fitted to an observation table.
#pragma once

#include "BatchOptions.h"

#include <ostream>

namespace kavrin {

// Fits, then prints the table of fitted values with standard errors and 95 %
// intervals, the correlations, the objective, R², MAE and RMSE before and
// after, the iterations and why the fit stopped; --save writes the fitted
// parameters as a project file. A fit that cannot tell its parameters apart
// prints the statistics and then throws CheckError naming them; nothing is saved.
void PerformBatchFit(const BatchFitOptions& options, const BatchEnvironment& environment, std::ostream& out);

}  // namespace kavrin
