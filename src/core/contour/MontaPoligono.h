// The outline of one level: its end points chained by a nearest-neighbour
// walk from the plot's left edge, closed by the mirror image about the plot's
// centre line.
#pragma once

#include "contour/PixelPoint.h"

#include <vector>

namespace kavrin {

// The walk through a spatial index of the points: at each step the unused
// point nearest by the walk's rules (OutlineWalk), without looking at every
// point at every step.
PixelPolygon MontaPoligono(const std::vector<PixelPoint>& E, int TopRow, int PlotCentre);

}  // namespace kavrin
