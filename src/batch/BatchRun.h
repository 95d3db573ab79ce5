// The headless run: the data window's initial texts, a parameter or project
// file, the --set texts, then the same run steps as the desktop Run command.
#pragma once

#include "BatchOptions.h"

#include <ostream>
#include <string>

namespace kavrin {

// Returns the project folder's path. Throws KavrinError (conversion, file,
// floating-point, refused checks) and std::invalid_argument (unknown --set name).
std::string PerformBatchRun(const BatchRunOptions& options, const BatchEnvironment& environment);

}  // namespace kavrin
