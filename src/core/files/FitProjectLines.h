// The calibration stored with a project: the observation table's file in the
// project's results folder and the fit's choices, as named lines of the
// project file. A project whose calibration is the default stores no line.
#pragma once

#include "calibration/FitParameters.h"
#include "calibration/FitSetup.h"
#include "calibration/ObservationWeights.h"
#include "files/ProjectNamedLines.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kavrin {

struct StoredCalibration {
    // The table's file name inside the project's results folder; none: no table.
    std::optional<std::string> observationFile;
    std::vector<FitParameter> parameters;                    // in the order they are fitted
    std::vector<std::pair<FitParameter, FitBounds>> bounds;  // those given, each parameter once
    bool logResiduals = false;
    std::optional<double> detectionLimit;
    WeightRule weightRule = WeightRule::Table;
    std::optional<int> starts;          // the number of starting points of the fit
    std::optional<std::uint64_t> seed;  // their seed
    bool operator==(const StoredCalibration&) const = default;
};

// The lines for `calibration`, only those that differ from the default.
NamedLines CalibrationNamedLines(const StoredCalibration& calibration);

// Takes the calibration's lines out of `lines` (each already accepted by its
// name's test, as ReadNamedLines leaves them).
StoredCalibration TakeStoredCalibration(NamedLines& lines);

// The fit's choices as stored: each parameter with its stored bounds, if
// any; the weight texts are the table's, which the caller adds.
FitChoices StoredFitChoices(const StoredCalibration& calibration);
std::optional<FitBounds> StoredBoundsOf(const StoredCalibration& calibration, FitParameter parameter);
// The calibration StoredFitChoices gives `choices` back from (no table, one start).
StoredCalibration CalibrationOfChoices(const FitChoices& choices);

// The table's file for a project saved as `projectFile`: its base name and
// ".observations.txt", so that each project file keeps a table of its own.
std::string ObservationFileName(const std::string& projectFile);

// The full path of the stored table: the folder of the project's index, then
// the file. Throws CheckError when the project names no results folder.
std::string StoredObservationPath(const std::string& projectPath, const std::string& indexPath, const std::string& file);

}  // namespace kavrin
