// Models, grids and a raster of the map's shapes for the map and contour tests.
#pragma once

#include "map/MapPicture.h"
#include "map/RgbCanvas.h"
#include "model/ModelState.h"
#include "workspace/ResultGrid.h"

#include <string>
#include <utility>
#include <vector>

namespace kavrin::test {

// The data window's start-up model with some fields changed (name, text).
ModelState DesignModel(const std::vector<std::pair<std::string, std::string>>& changes = {});

// The concentrations of time t of that model, as a run leaves them.
ResultGrid GridAtTime(const ModelState& model, double t);

// The concentrations of time t of the model's source zones (first zone and
// moreZones), each zone computed alone as a rectangle of its own extent and
// concentration, and the zones summed: the field of zones that do not overlap.
ResultGrid ZonesGridAtTime(const ModelState& model, double t);

// The highest of the map's levels for the colour scale up to `top` at or
// below a concentration, -1 below them all.
int BandOf(double c, double top);

// The band whose colour a plot pixel has, -1 for white, -2 for no band's colour.
int BandShown(Rgb pixel, double top);

// An 800 × 640 picture of 24-bit pixels.
struct RgbPicture {
    std::vector<std::uint8_t> bits = std::vector<std::uint8_t>(800 * 640 * 3, 0);
    RgbCanvas canvas() { return RgbCanvas(bits.data(), 800, 640, 800 * 3); }
    Rgb at(int x, int y) { return canvas().at(x, y); }
};

// The shapes of a map painted on a picture; texts are left out.
RgbPicture PaintShapes(const MapPicture& picture);

}  // namespace kavrin::test
