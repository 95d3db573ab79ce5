// The calibration from Python: observations compared with the model, the fit
// of chosen parameters to them, and the plume's mass balance.
#pragma once

#include "PythonModel.h"
#include "calibration/Comparison.h"
#include "calibration/FitResult.h"
#include "calibration/ObservationWeights.h"
#include "solution/MassBalance.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kavrin {

// An observation table file as the calibration window imports it: the
// observations and the weight column's texts.
std::pair<std::vector<Observation>, std::vector<std::string>> ReadObservationFile(const std::string& path);

// The model at every observation and the statistics of the comparison.
Comparison ComparePythonModel(PythonModel& model, const std::vector<Observation>& observations);

struct PythonFitChoices {
    std::vector<std::string> parameters;                      // field names, as --fit takes them
    std::map<std::string, std::pair<double, double>> bounds;  // by name; the others take the default bounds
    bool logResiduals = false;
    double detectionLimit = 0;
    WeightRule weightRule = WeightRule::Table;
    std::vector<std::string> weightTexts;  // one per observation, or none: every weight 1
};

struct PythonFit {
    FitResult result;
    PythonModel fitted;  // the texts with the fitted values written as the batch fit saves them
};

// The batch fit's steps; `keepGoing` is asked after every iteration (false
// cancels). Throws what the batch fit throws, CheckError when the fit failed.
PythonFit FitPythonModel(const PythonModel& model, const std::vector<Observation>& observations, const PythonFitChoices& choices,
                         const std::function<bool()>& keepGoing);

}  // namespace kavrin
