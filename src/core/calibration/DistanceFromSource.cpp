#include "calibration/DistanceFromSource.h"

#include <cmath>

namespace kavrin {

double DistanceFromSource(const Observation& observation, const ModelState& model)
{
    return std::hypot(observation.X, observation.Y - model.source.firstZoneY, observation.Z - model.source.firstZoneZ);
}

}  // namespace kavrin
