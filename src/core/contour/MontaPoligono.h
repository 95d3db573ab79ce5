// The outline of one level: its end points chained by a nearest-neighbour
// walk from the plot's left edge, closed by the mirror image about the plot's
// centre line.
#pragma once

#include "contour/PixelPoint.h"

#include <vector>

namespace kavrin {

// The walk through a spatial index of the points: the same outline as
// MontaPoligonoByScan, without looking at every point at every step.
PixelPolygon MontaPoligono(const std::vector<PixelPoint>& E, int TopRow, int PlotCentre);

// The walk that looks at every unused point at every step (quadratic in the
// number of points): the reference the fast walk is checked and timed against.
PixelPolygon MontaPoligonoByScan(const std::vector<PixelPoint>& E, int TopRow, int PlotCentre);

}  // namespace kavrin
