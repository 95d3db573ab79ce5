// The georeferenced exports of kavrin-batch-gis: a time's GeoTIFF, its
// contours or filled levels, and the observation wells, placed on the site as
// the saved project (and each --set) says.
#pragma once

#include "BatchOptions.h"
#include "files/ProjectFile.h"
#include "model/SitePlacement.h"

#include <iosfwd>
#include <optional>

namespace kavrin {

// The project's placement with each --set applied; nothing when it has none.
// Throws CheckError for a number that is not finite.
std::optional<SitePlacement> ExportPlacement(const ProjectFileContents& project, const BatchGeoExportOptions& options);

// Writes the export and prints its path, then, without a placement or a
// CRS, a line that says the coordinates are local or have no CRS. Throws
// KavrinError; nothing is written then.
void PerformBatchGeoExport(const BatchGeoExportOptions& options, const BatchEnvironment& environment, std::ostream& out);

// The line printed for an export without a placement or without a CRS; empty with both.
std::string PlacementNote(const std::optional<SitePlacement>& placement);

}  // namespace kavrin
