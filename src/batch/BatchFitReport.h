// The parts of the batch fit's printed result beyond the fitted values: the
// several starts, the Jacobian's conditioning, the profile intervals and the
// residuals of every observation.
#pragma once

#include "calibration/FitResult.h"
#include "calibration/Observations.h"
#include "fit/ProfileLikelihood.h"
#include "fit/SeveralStarts.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace kavrin {

// Six significant digits, the user's separator, padded to a column.
std::string FitCell(double value, char separator, int width = 13);
// Right-aligned in a column.
std::string FitPadded(const std::string& text, int width = 13);

// How many starts reached the best objective, how many failed, and the other minima with their values.
void WriteSeveralStarts(std::ostream& out, const SeveralStartsResult& starts, char separator);

// The condition number, and the weakest combination of the fitted coordinates when it is large.
void WriteConditioning(std::ostream& out, const FitResult& result, char separator);

void WriteProfileIntervals(std::ostream& out, const std::vector<ProfileInterval>& intervals, char separator);

// One line per observation: its time, distance from the source, observed
// and calculated values and the fit's residual.
void WriteResiduals(std::ostream& out, const std::vector<Observation>& observations, const FitResult& result, char separator);

}  // namespace kavrin
