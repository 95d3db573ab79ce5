// The numbers behind a chart without a window: the points of the
// concentration-time chart or of a profile of a saved project, as CSV.
#pragma once

#include "BatchOptions.h"

#include <ostream>

namespace kavrin {

// Writes a heading ("time,concentration", "x,concentration" or
// "y,concentration") and one line per point, x ascending, numbers with a
// point as the decimal separator. Positions and times may be typed with
// either separator. Nothing is written when the series fails; throws
// KavrinError (a missing index or results file, a position off the grid, …).
void PerformBatchSeries(const BatchSeriesOptions& options, const BatchEnvironment& environment, std::ostream& out);

}  // namespace kavrin
