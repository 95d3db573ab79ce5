// A saved project as the headless commands see it: its model, as the data
// window would take it from the file, and its index.
#pragma once

#include "BatchOptions.h"
#include "calibration/ObservationTable.h"
#include "files/ProjectFile.h"
#include "model/ModelState.h"
#include "model/SitePlacement.h"

#include <optional>
#include <utility>
#include <vector>

#include <string>

namespace kavrin {

// The start-up texts, then the project's fields, through Variaveis.
ModelState ProjectModel(const ProjectFileContents& project, char separator);

// The index path stored in the project, or the one its name gives under the root.
std::string ProjectIndex(const ProjectFileContents& project, const BatchEnvironment& environment);

// Saves the calibration with a project file written at `projectFile` whose
// results are (or will be) in `folder` (ending with "/", made when missing):
// the observation table, when there is one, goes there under the project
// file's own name (ObservationFileName), as the desktop's save puts it.
// Returns the named lines the project file stores: the calibration's, then
// `carried` (the project's lines the command did not change). Throws FileError.
NamedLines SaveCalibrationWithProject(StoredCalibration calibration, const ObservationTable* table, const std::string& folder,
                                      const std::string& projectFile, const NamedLines& carried);

// The project's site placement with each --set of its names applied; nothing
// when it has none. Throws CheckError for a number that is not finite.
std::optional<SitePlacement> ExportPlacement(const ProjectFileContents& project,
                                             const std::vector<std::pair<std::string, std::string>>& sets);

// The line a georeferenced export prints without a placement or without a
// CRS, saying what its coordinates are; empty with both.
std::string PlacementNote(const std::optional<SitePlacement>& placement);

}  // namespace kavrin
