// A saved project as the headless commands see it: its model, as the data
// window would take it from the file, and its index.
#pragma once

#include "BatchOptions.h"
#include "files/ProjectFile.h"
#include "model/ModelState.h"

#include <string>

namespace kavrin {

// The start-up texts, then the project's fields, through Variaveis.
ModelState ProjectModel(const ProjectFileContents& project, char separator);

// The index path stored in the project, or the one its name gives under the root.
std::string ProjectIndex(const ProjectFileContents& project, const BatchEnvironment& environment);

}  // namespace kavrin
