// The readout under the mouse: x, y and the concentration of the nearest
// grid node at a pixel of the plot.
#pragma once

#include "map/MapGeometry.h"
#include "model/ModelState.h"
#include "workspace/ResultGrid.h"

#include <optional>
#include <string>

namespace kavrin {

struct MapReadout {
    std::string x, y, concentration;  // "0.000", "0.000", "0.000E+00"
};

// Nothing outside the plot (50 … 600 across, PlotTop … PlotTop + PlotHeight
// down); the top edge reads Y1 and the bottom edge Y0. Ranges come from the
// last drawing (g), steps and origin from the current model.
std::optional<MapReadout> MostraValor(int X, int Y, const MapGeometry& g, const ModelState& model, const ResultGrid& grid,
                                      char separator);

}  // namespace kavrin
