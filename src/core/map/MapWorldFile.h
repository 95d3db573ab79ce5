// The world file of a map picture: six numbers that lay the picture's plot
// on the site, so that a GIS draws the picture where the plume lies. The plot
// spans X0 … X1 from its left edge and Y1 … Y0 from its top edge.
#pragma once

#include "map/MapGeometry.h"
#include "model/ModelState.h"
#include "model/SitePlacement.h"

#include <array>
#include <string>

namespace kavrin {

// A, D, B, E, C, F: the easting and northing a step right (A, D) and a step
// down (B, E) move, and the easting and northing of the top-left pixel's centre.
std::array<double, 6> MapWorldNumbers(const ModelState& model, const MapGeometry& geometry, const SitePlacement& placement);

// The world file beside a picture: its extension's first and last letters and
// "w" (".bmp" gives ".bpw"), or ".wld" for a picture without an extension.
std::string WorldFilePath(const std::string& picturePath);

// Writes the six numbers one per line, replacing an earlier file only once all is written. Throws FileError.
void WriteMapWorldFile(const std::string& path, const std::array<double, 6>& numbers);

}  // namespace kavrin
