#include "map/MapReadout.h"

#include "text/NumberText.h"

#include <cmath>

namespace kavrin {

namespace {

// Round((v − origin) / step) + 1, or 0 (a cell outside the grid, which reads
// 0) when that is not a grid index.
int nearestNode(double v, double origin, double step)
{
    const double index = std::nearbyint((v - origin) / step) + 1;
    return std::isfinite(index) && std::fabs(index) < 1e6 ? static_cast<int>(index) : 0;
}

}  // namespace

std::optional<MapReadout> MostraValor(int X, int Y, const MapGeometry& g, const ModelState& model, const ResultGrid& grid,
                                      char separator)
{
    if (g.PlotHeight == 0) return std::nullopt;  // a plot without height has no pixel to read
    const int top = static_cast<int>(std::nearbyint((kMapHeight - g.PlotHeight) / 2.0));
    if (X < kPlotLeft || X > kPlotRight || Y < top || Y > top + g.PlotHeight) return std::nullopt;
    const double x = g.XRange / 550 * (X - kPlotLeft) + model.X0;
    const double y = g.YRange / g.PlotHeight * (g.PlotHeight - Y + top) + model.Y0;
    const int i = nearestNode(x, model.X0, model.DX), j = nearestNode(y, model.Y0, model.DY);
    return MapReadout{FormatFixed(x, 3, separator), FormatFixed(y, 3, separator),
                      FormatScientific(grid.at(i, j), 3, 2, separator)};
}

}  // namespace kavrin
