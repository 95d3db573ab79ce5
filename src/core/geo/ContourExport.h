// Contour lines, or filled level polygons, of one time's grid as a vector
// layer (GeoPackage, or GeoJSON for a name ending in ".geojson"), each
// feature with its level and time, in the placement's CRS. The outlines are
// GDAL's contour generator's on the grid's nodes: straight between the points
// where a level crosses the edges between neighbouring nodes, interpolated
// linearly, as the map's outlines run through its cells.
#pragma once

#include "model/ModelState.h"
#include "model/SitePlacement.h"
#include "workspace/ResultGrid.h"

#include <optional>
#include <string>
#include <vector>

namespace kavrin {

struct ContourRequest {
    const ModelState& model;
    const ResultGrid& grid;
    std::optional<SitePlacement> placement;  // nothing: the local coordinates, no CRS
    std::vector<double> levels;              // mg/L; empty: the map's levels
    std::optional<double> time;              // days, written on every feature when known
    bool filled = false;  // the polygons between levels (the highest band has no level_max) instead of the lines
    std::string path;
    std::vector<std::string> read;
    std::string resultsFolder;
};

// The levels drawn: the given ones, or the map's levels of C0; ascending, each once.
// A level that is not a positive number throws CheckError.
std::vector<double> ContourLevels(const std::vector<double>& given, const ModelState& model);

// "GeoJSON" for a name ending in ".geojson" (any case), otherwise "GPKG".
std::string VectorDriverName(const std::string& path);

// Throws CheckError or FileError; nothing is left at `path` then.
void WriteContours(const ContourRequest& request);

}  // namespace kavrin
