// The region of the drawn grid where the concentration is at or above a
// level, as polygons (cells and parts of their triangles) with their mirror
// images: what the map paints for a level whose outline cannot be walked
// from the plot's left edge.
#pragma once

#include "contour/ContourGrid.h"
#include "contour/PolygonSet.h"

namespace kavrin {

PolygonSet LevelRegion(double z, const ContourGrid& g, int PlotCentre);

}  // namespace kavrin
