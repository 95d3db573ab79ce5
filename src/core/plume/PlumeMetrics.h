// The plume's measures at one time, from its grid: its length along the axis
// and its greatest width to a standard, the area above the standard, and the
// largest concentration beyond a distance from the source.
#pragma once

#include "model/ModelState.h"
#include "plume/PlumeField.h"
#include "workspace/ResultGrid.h"

#include <optional>

namespace kavrin {

struct PlumeMetrics {
    // m: where the axis row (ReachAlongRow) falls to the standard, from x = 0.
    double length = 0;
    // m: the widest column, from its lowest to its highest crossing of the
    // standard, each found linearly between the node above it and the next
    // node out (a plume of separate parts counts the gap between them).
    double width = 0;
    // m²: the part of each cell above the standard, the cell cut into four
    // triangles at its centre (the mean of its corners) and the standard's
    // contour taken as straight across each triangle, as the map's outlines
    // are drawn.
    double area = 0;
    // mg/L: the largest value at x ≥ the distance asked for (nodes, and the
    // rows' values at that x, linearly between its two columns); nothing when
    // no distance is asked for or it lies beyond the grid's last column.
    std::optional<double> maxBeyond;
    // The plume is above the standard on the grid's edge, so the measure
    // would go on beyond the grid: it is a lower bound. The first column is an
    // edge unless it is the source plane x = 0.
    bool lengthAtEdge = false, widthAtEdge = false, areaAtEdge = false;
    // The largest value beyond the distance lies on the grid's last column or
    // its first or last row, above every value inside: a larger one may lie
    // outside.
    bool maxBeyondAtEdge = false;

    bool anyAtEdge() const { return lengthAtEdge || widthAtEdge || areaAtEdge || maxBeyondAtEdge; }
};

// The measures of `field` to `standard` (mg/L, above 0), and beyond x =
// `beyond` when given. Nothing above the standard gives zeros. Throws
// CheckError for a standard that is not a number above 0.
PlumeMetrics MeasurePlume(const PlumeField& field, double standard, std::optional<double> beyond);

// The same for the time `grid` holds (PlumeFieldOf, with its errors).
PlumeMetrics MeasurePlume(const ResultGrid& grid, const ModelState& model, double standard, std::optional<double> beyond);

}  // namespace kavrin
