// The plain forms of the map's contouring, kept as the references the fast
// forms are checked and timed against: they look at everything every time.
#pragma once

#include "contour/ContourGrid.h"
#include "contour/PixelPoint.h"

#include <vector>

namespace kavrin::test {

// The end points of one level from every drawn cell, in the contour's order.
std::vector<PixelPoint> TracaContornoByScan(double z, const ContourGrid& g);

// The outline's walk that looks at every unused point at every step
// (quadratic in the number of points).
PixelPolygon MontaPoligonoByScan(const std::vector<PixelPoint>& E, int TopRow, int PlotCentre);

}  // namespace kavrin::test
