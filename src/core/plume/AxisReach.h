// How far the plume reaches along one row of the grid: the crossing of a
// standard on the axis, shared by the plume's measures and the uncertainty's
// plume lengths.
#pragma once

#include "model/ModelState.h"

#include <span>

namespace kavrin {

struct AxisReach {
    double length = 0;    // m, the x of the crossing (the source lies at x = 0)
    bool atEdge = false;  // the row is above the standard at the grid's last node: a lower bound
};

// Along values at x = X0 + j·DX (j from 0): where the last node at x ≥ 0
// above `standard` meets the next node, linearly between the two; that
// node's own x when it is the row's last (the plume goes on past the grid);
// 0 when no node at x ≥ 0 is above.
AxisReach ReachAlongRow(std::span<const double> row, double X0, double DX, double standard);

// The row (from 0) of `rows` rows from Y0 by DY nearest the first zone's
// centre line y = firstZoneY (y = 0 for a single zone), within the grid.
int AxisRowOf(const ModelState& model, int rows);

}  // namespace kavrin
