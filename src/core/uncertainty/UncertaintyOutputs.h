// The files of an uncertainty run: Surfer grids of each time's maps,
// named exceed_<threshold>_T<time>.grd, mean_T<time>.grd, sd_T<time>.grd,
// p05_T<time>.grd, p50_T<time>.grd and p95_T<time>.grd (threshold and time as
// typed), the receptors' results as receptors.csv, the plume lengths as
// plume_length.csv, and the short summary the batch tool prints.
#pragma once

#include "uncertainty/UncertaintyParts.h"
#include "uncertainty/UncertaintyResults.h"
#include "uncertainty/UncertaintySettings.h"

#include <string>
#include <vector>

namespace kavrin {

// The names of every file WriteUncertaintyOutputs writes, in `folder`.
std::vector<std::string> UncertaintyOutputNames(const std::string& folder, const std::vector<TypedNumber>& thresholds,
                                                const std::vector<TypedNumber>& times);

// Writes them all, each file replacing an earlier one only once complete. The
// grids' z range is 0 … 1 for probabilities, 0 … the largest value for the others.
void WriteUncertaintyOutputs(const std::string& folder, const OutputFrame& frame, const std::vector<TypedNumber>& thresholds,
                             const std::vector<TypedNumber>& times, const std::vector<Receptor>& receptors,
                             const UncertaintyResults& results);

// receptors.csv: one line per receptor and time. Like plume_length.csv, its
// columns are apart by commas and its numbers have points as decimal
// separators whatever the machine's: a time typed "100,5" is written "100.5".
std::string ReceptorsCsv(const std::vector<TypedNumber>& times, const std::vector<Receptor>& receptors, double standard,
                         const UncertaintyResults& results);

// A few lines: the realizations, and per time the largest exceedance
// probability of the standard, the area above 50 % and the plume length's percentiles.
std::string UncertaintySummary(const OutputFrame& frame, const std::vector<TypedNumber>& thresholds,
                               const std::vector<TypedNumber>& times, const UncertaintyResults& results);

}  // namespace kavrin
