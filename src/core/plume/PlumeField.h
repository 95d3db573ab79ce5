// One time's grid as the plume's measures read it: each node's x and y in
// metres and its value. A field that is its own mirror image about y = 0 is
// read as the map draws it: the rows from Y0 up to the axis, and their
// mirror images above it.
#pragma once

#include "model/ModelState.h"
#include "text/Errors.h"
#include "workspace/ResultGrid.h"

#include <vector>

namespace kavrin {

struct PlumeField {
    double X0 = 0, DX = 1;       // the columns' x: X0 + j·DX
    std::vector<double> x;       // of each column, ascending from X0
    std::vector<double> y;       // of each row, ascending
    std::vector<double> values;  // mg/L, row after row
    bool mirrored = false;       // the rows above the axis are the mirror images of those below
    int axisRow = 0;             // the row nearest the first zone's centre line (AxisRowOf; y = 0 when mirrored)

    int columns() const { return static_cast<int>(x.size()); }
    int rows() const { return static_cast<int>(y.size()); }
    double at(int row, int column) const
    {
        return values[static_cast<std::size_t>(row) * x.size() + static_cast<std::size_t>(column)];
    }
};

// A grid of more than 450 cells along X ('X') or Y ('Y'), which no time holds.
class PlumeGridTooLarge : public CheckError {
public:
    explicit PlumeGridTooLarge(char axis);
};

// The nodes of the model's grid, Round((X1 − X0)/DX) + 1 columns by
// Round((Y1 − Y0)/DY) + 1 rows, with their values in `grid`. When
// SymmetricInY(model), the rows at y ≤ 0 and their mirror images (a row on
// the axis is not repeated). Throws FloatError for a zero range or step and
// PlumeGridTooLarge; a range below zero gives no nodes.
PlumeField PlumeFieldOf(const ResultGrid& grid, const ModelState& model);

}  // namespace kavrin
