// How far an observation lies from the source, for the residuals' chart and table.
#pragma once

#include "calibration/Observations.h"
#include "model/ModelState.h"

namespace kavrin {

// The straight distance (m) from the centre of the model's first source
// zone, on the source plane x = 0.
double DistanceFromSource(const Observation& observation, const ModelState& model);

}  // namespace kavrin
