// One time's grid as GDAL holds it: an in-memory raster of 32-bit floats, one
// cell per node of the time file (the rows of the largest y on top), placed
// on the site with its CRS, or in the local coordinates without one.
#pragma once

#include "geo/GdalSession.h"
#include "model/ModelState.h"
#include "model/SitePlacement.h"
#include "workspace/ResultGrid.h"

namespace kavrin {

// Cells outside the grid (a north-up warp's corners) hold this value.
inline constexpr double kGeoNoData = -9999;

// The nodes of the model's time files: Round((X1 − X0)/DX) + 1 columns by
// Round((Y1 − Y0)/DY) + 1 rows. Throws CheckError for a grid no run writes.
struct GridSize {
    int columns = 0, rows = 0;
};
GridSize GridSizeOf(const ModelState& model);

// `reference` may be null (no CRS). Throws CheckError when GDAL fails.
GdalDatasetPointer MemoryGrid(const ModelState& model, const ResultGrid& grid, const SitePlacement& placement,
                              const OGRSpatialReference* reference);

}  // namespace kavrin
