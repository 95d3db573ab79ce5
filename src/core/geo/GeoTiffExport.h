// A time's concentrations as a GeoTIFF: 32-bit floats, the placement's turn
// in the geotransform, the CRS, a no-data value and deflate compression; or
// warped onto a north-up grid of square cells.
#pragma once

#include "model/ModelState.h"
#include "model/SitePlacement.h"
#include "workspace/ResultGrid.h"

#include <optional>
#include <string>
#include <vector>

namespace kavrin {

// The most cells a north-up grid may have along either axis.
inline constexpr int kLargestNorthUpCells = 10000;

struct GeoTiffRequest {
    const ModelState& model;
    const ResultGrid& grid;
    std::optional<SitePlacement> placement;  // nothing: the local coordinates, no CRS
    std::optional<double> northUpCell;       // metres: warped onto a north-up grid of this cell size
    std::string path;
    std::vector<std::string> read;  // the files the export read, which it must not replace
    std::string resultsFolder;
};

// The north-up grid's columns and rows for `cell`: its cells are aligned so
// that one is centred on the placement's origin. Throws CheckError for a cell
// that is not a positive number or gives more than 10 000 cells along an axis.
struct NorthUpGrid {
    double west = 0, north = 0;
    int columns = 0, rows = 0;
};
NorthUpGrid NorthUpGridOf(const ModelState& model, const SitePlacement& placement, double cell);

// Throws CheckError (a CRS GDAL does not know, a bad cell size, a missing
// driver, GDAL's failure) or FileError; nothing is left at `path` then.
void WriteGeoTiff(const GeoTiffRequest& request);

}  // namespace kavrin
