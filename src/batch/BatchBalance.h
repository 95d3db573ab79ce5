// The headless mass balance: a saved project's model, with any source options
// given on the command line, balanced at each of its times and printed as CSV.
#pragma once

#include "BatchOptions.h"

#include <ostream>

namespace kavrin {

// Writes the header time,entered,decayed,dissolved,sorbed,discharge_control,
// discharge_edge and one line per time (mg and mg/day, '.' decimals;
// discharge_control empty without a control plane). Throws KavrinError with
// the refusals of a run, or std::invalid_argument for an unknown --set name.
void PerformBatchBalance(const BatchBalanceOptions& options, const BatchEnvironment& environment, std::ostream& out);

}  // namespace kavrin
