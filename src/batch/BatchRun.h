// The headless run: the data window's initial texts, a parameter or project
// file, the --set texts, then the same run steps as the desktop Run command.
#pragma once

#include "BatchOptions.h"
#include "model/ParameterTexts.h"

#include <ostream>
#include <string>

namespace kavrin {

// The data window's initial texts, then a parameter or project file, then each
// --set in order. Throws KavrinError, or std::invalid_argument for an unknown name.
ParameterTexts BatchParameterTexts(const std::optional<std::string>& paramsPath,
                                   const std::optional<std::string>& projectPath,
                                   const std::vector<std::pair<std::string, std::string>>& sets, char separator);

// Returns the project folder's path. Throws KavrinError (conversion, file,
// floating-point, refused checks); the options have been parsed.
std::string PerformBatchRun(const BatchRunOptions& options, const BatchEnvironment& environment);

}  // namespace kavrin
