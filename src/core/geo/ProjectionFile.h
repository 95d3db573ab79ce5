// The .prj file beside a map picture and its world file: the placement's CRS
// as the ESRI flavour of WKT, which is what GIS programs read beside a world
// file to know the system its numbers are in.
#pragma once

#include "model/SitePlacement.h"

#include <optional>
#include <string>

namespace kavrin {

// The ESRI WKT of the placement's CRS; empty when there is no placement or it
// names no CRS. Throws CheckError, with GDAL's words, for a CRS GDAL cannot
// read or cannot write in that form: asked before anything is written.
std::string EsriProjectionText(const std::optional<SitePlacement>& placement);

// The .prj beside a picture: "map.bmp" gives "map.prj", "map" gives "map.prj".
std::string ProjectionFilePath(const std::string& picturePath);

// Once a picture and its world file are written at `picturePath`: the .prj
// beside it gets the projection text as its one line (replacing an earlier
// file only once all is written), or, without one (no placement or no
// CRS), an earlier .prj of that exact name is removed, so that a GIS does not
// read the new picture in an old system. A folder of that name is left alone.
// Throws FileError.
void PlaceProjectionFile(const std::string& picturePath, const std::string& projectionText);

}  // namespace kavrin
