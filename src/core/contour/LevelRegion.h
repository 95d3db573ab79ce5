// The region of the drawn grid where the concentration is at or above a
// level, as polygons (cells and parts of their triangles), with their mirror
// images when half the grid is drawn: what the map paints for a level whose
// outline cannot be walked from the plot's left edge, and for every level of
// a grid drawn whole.
#pragma once

#include "contour/ContourGrid.h"
#include "contour/PixelPoint.h"

#include <functional>
#include <optional>
#include <span>

namespace kavrin {

// Hands each polygon of the region to `polygon`, each mirror image about the
// line y = PlotCentre before its original (none without PlotCentre): a noisy
// grid gives up to eight of them a cell, too many to keep.
void LevelRegion(double z, const ContourGrid& g, std::optional<int> PlotCentre,
                 const std::function<void(std::span<const PixelPoint>)>& polygon);

}  // namespace kavrin
