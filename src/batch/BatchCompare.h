// The headless "Calcular": the observation table against the model, printed.
#pragma once

#include "BatchOptions.h"

#include <ostream>
#include <string>

namespace kavrin {

// Imports the table as the calibration window does, compares it with the
// model of the texts chosen by the options and writes one line per
// observation (observed, calculated, observed − calculated), then R² and the
// mean absolute error, each in the window's "0.0000" and in full. Throws
// KavrinError, or std::invalid_argument for an unknown --set name.
void PerformBatchCompare(const BatchCompareOptions& options, const BatchEnvironment& environment, std::ostream& out);

}  // namespace kavrin
