// The headless export: the grids or tables of a saved project.
#pragma once

#include "BatchOptions.h"

namespace kavrin {

// Takes the model from the project file (as the data window would show it),
// then converts every time of its index, or the one results file given.
// Throws KavrinError.
void PerformBatchExport(const BatchExportOptions& options, const BatchEnvironment& environment);

}  // namespace kavrin
