// The points of the three charts: concentration against time at a node, read
// from the time files through the index, and the profiles of one loaded time.
#pragma once

#include "charts/GridAxis.h"
#include "model/ModelState.h"
#include "workspace/ResultGrid.h"

#include <string>
#include <vector>

namespace kavrin {

struct ChartPoint {
    double x = 0;
    double y = 0;
};
using ChartPoints = std::vector<ChartPoint>;

// Concentration against time at the node nearest to the typed x and y (texts
// converted with `separator`, no normalisation). Returns false, adding
// nothing, when the index file does not exist. Each index line names one
// time's results file: of it only line j (the node's row) is read, and its
// i-th blank-ended value is the point's concentration; the k-th line's time
// is T0 + DT + … (k − 1 additions), whatever the file is called. Points are
// appended as they are read, so those read before a failure stay: a file
// that cannot be opened (FileError), a value that is not a number
// (ConversionError), a node beyond the grid or beyond the file's rows or
// values (PositionOutsideGrid), a DX, DY or DT not above zero (StepRefused).
bool ConcentrationTimeSeries(const std::string& indexPath, const ModelState& model, const std::string& xText,
                             const std::string& yText, char separator, ChartPoints& points);

// The grid's values along one axis, at node `across` of the other: one point
// per node of `along`, at its position (start + (k − 1)·step). Along X this
// is the longitudinal profile of row `across`, along Y the transversal one.
ChartPoints GridProfile(const ResultGrid& grid, const GridAxis& along, int across);

}  // namespace kavrin
