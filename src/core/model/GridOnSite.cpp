#include "model/GridOnSite.h"

namespace kavrin {

SitePlacement LocalPlacement()
{
    return {0, 0, 90, ""};
}

std::array<double, 6> NodeRasterTransform(const ModelState& model, int rows, const SitePlacement& placement)
{
    const AzimuthTurn turn = TurnOf(placement.azimuth);
    // The outer corner of the top-left cell, half a step before the first node along x and beyond the last along y.
    const double left = model.X0 - model.DX / 2;
    const double top = model.Y0 + (rows - 1) * model.DY + model.DY / 2;
    const SitePoint corner = ToSite(placement, left, top);
    return {corner.easting,  model.DX * turn.sine,   model.DY * turn.cosine,
            corner.northing, model.DX * turn.cosine, -model.DY * turn.sine};
}

}  // namespace kavrin
