// Where "from the fit" comes from: a fit just made on the desktop, or the
// report kavrin-batch fit printed (its fitted values, standard errors and
// correlations), from which the covariance in the fit's space is formed again.
#pragma once

#include "calibration/FitResult.h"
#include "uncertainty/UncertaintySettings.h"

#include <optional>
#include <string>

namespace kavrin {

// The fit's parameters with their errors; a value that ended at a bound has
// none and is held at it (left out). Nothing when the fit gave no errors.
std::optional<FitDraw> FitDrawOf(const FitResult& result);

// The report's table "parameter initial fitted std. error …" and its
// "correlation" block. A standard error of a parameter fitted as positive is
// value · σ(log value), so σ(log) = error / value. Throws FileError, and
// UncertaintyError (NoFit) when the file holds no fitted parameter with errors.
FitDraw ReadFitReport(const std::string& path, char separator);

}  // namespace kavrin
