// The georeferenced exports of kavrin-batch-gis: a time's GeoTIFF, its
// contours or filled levels, and the observation wells, placed on the site as
// the saved project (and each --set) says.
#pragma once

#include "BatchOptions.h"
#include <iosfwd>

namespace kavrin {

// Writes the export and prints its path, then, without a placement or a
// CRS, a line that says the coordinates are local or have no CRS. Throws
// KavrinError; nothing is written then.
void PerformBatchGeoExport(const BatchGeoExportOptions& options, const BatchEnvironment& environment, std::ostream& out);

}  // namespace kavrin
