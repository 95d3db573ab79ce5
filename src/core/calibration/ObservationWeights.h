// The weights of a fit: each observation's squared residual counts w times in
// the objective (its residual enters multiplied by √w).
#pragma once

#include "calibration/Observations.h"

#include <string>
#include <vector>

namespace kavrin {

// Table: the table's weights as they stand (an empty text is 1). Relative:
// the table's weight divided by the observed value squared, for errors that
// grow with the concentration; an observed value below the detection limit
// counts as the limit.
enum class WeightRule { Table, Relative };

// One weight per observation, from the table's weight texts (one per row,
// through ArrumaDecimal). A weight that is not a number, not above zero or
// not finite throws FitRefusal (BadWeight) naming the row; the relative rule
// refuses an observed value of zero or less without a detection limit above it
// (RelativeWeightNotPositive). Nothing is returned half-read.
std::vector<double> ObservationWeights(const std::vector<std::string>& texts, const std::vector<Observation>& observations,
                                       WeightRule rule, double detectionLimit, char separator);

}  // namespace kavrin
