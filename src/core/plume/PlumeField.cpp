#include "plume/PlumeField.h"

#include "model/FloatChecks.h"
#include "model/SourceTextRules.h"
#include "plume/AxisReach.h"

#include <cmath>

namespace kavrin {

PlumeGridTooLarge::PlumeGridTooLarge(char axis)
    : CheckError(std::string("The grid has more than 450 cells along ") + axis + "; its plume cannot be measured.")
{
}

namespace {

// Round(range / step) + 1 nodes, none for a range below zero.
int NodesAlong(double range, double step, char axis)
{
    const double nodes = std::nearbyint(CheckedDivide(range, step)) + 1;
    if (!(nodes <= ResultGrid::kSize)) throw PlumeGridTooLarge(axis);
    return nodes < 1 ? 0 : static_cast<int>(nodes);
}

}  // namespace

PlumeField PlumeFieldOf(const ResultGrid& grid, const ModelState& m)
{
    const int columns = NodesAlong(m.X1 - m.X0, m.DX, 'X');
    const int rows = NodesAlong(m.Y1 - m.Y0, m.DY, 'Y');
    PlumeField field;
    field.X0 = m.X0, field.DX = m.DX;
    for (int j = 0; j < columns; ++j) field.x.push_back(m.X0 + j * m.DX);
    // A row this close to y = 0 lies on the axis (the sum Y0 + k·DY may miss 0 by a rounding).
    const double onAxis = 1e-9 * std::fabs(m.DY);
    int below = 0;  // rows at y ≤ 0
    while (below < rows && m.Y0 + below * m.DY <= onAxis) ++below;
    const auto addRow = [&](int k, double y) {
        field.y.push_back(y);
        for (int j = 0; j < columns; ++j) field.values.push_back(grid.at(j + 1, k + 1));
    };
    if (!SymmetricInY(m) || below == 0 || below == rows) {
        for (int k = 0; k < rows; ++k) addRow(k, m.Y0 + k * m.DY);
        field.axisRow = AxisRowOf(m, rows);
        return field;
    }
    field.mirrored = true;
    field.axisRow = below - 1;  // on the axis, or the row below it whose mirror image is the one above
    const bool axisRow = std::fabs(m.Y0 + (below - 1) * m.DY) <= onAxis;
    for (int k = 0; k < below; ++k) addRow(k, axisRow && k == below - 1 ? 0.0 : m.Y0 + k * m.DY);
    for (int k = axisRow ? below - 2 : below - 1; k >= 0; --k) addRow(k, -(m.Y0 + k * m.DY));
    return field;
}

}  // namespace kavrin
