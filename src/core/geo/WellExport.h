// The observation wells of the calibration table as points at their
// real-world positions, each with its number, x, y, z, time, and the
// observed, calculated and residual (observed − calculated) concentrations
// and its weight.
#pragma once

#include "calibration/Observations.h"
#include "model/SitePlacement.h"

#include <optional>
#include <string>
#include <vector>

namespace kavrin {

struct WellRequest {
    std::vector<Observation> observations;
    std::vector<double> calculated;  // mg/L, one per observation
    std::vector<double> weights;     // one per observation
    std::optional<SitePlacement> placement;
    std::string path;
    std::vector<std::string> read;
};

// Throws CheckError or FileError; nothing is left at `path` then.
void WriteWells(const WellRequest& request);

}  // namespace kavrin
