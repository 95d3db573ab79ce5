// The raster that holds one time's grid on the site: one cell per node,
// column c at x = X0 + c·DX, row r (from the top) at y = Y0 + (rows − 1 − r)·DY,
// each cell centred on its node, turned and moved by the placement.
#pragma once

#include "model/ModelState.h"
#include "model/SitePlacement.h"

#include <array>

namespace kavrin {

// The placement of the local coordinates themselves: E = x, N = y, no CRS.
SitePlacement LocalPlacement();

// The affine transform from (column, row) of the raster's cell corners to the
// site's easting and northing, in GDAL's order: E = t0 + c·t1 + r·t2, N = t3 + c·t4 + r·t5.
std::array<double, 6> NodeRasterTransform(const ModelState& model, int rows, const SitePlacement& placement);

}  // namespace kavrin
