// The headless plume metrics: `kavrin-batch metrics` measures the plume of a
// saved project's times against a standard and prints them as CSV.
#pragma once

#include "BatchOptions.h"

#include <optional>
#include <ostream>
#include <string>

namespace kavrin {

struct BatchMetricsOptions {
    std::string projectPath;            // --project FILE.kvr
    std::optional<std::string> time;    // --time T, as its results file is named; every listed time when none
    std::string standard;               // --standard S (mg/L)
    std::optional<std::string> beyond;  // --beyond D (m)
};

// Parses the words after "metrics". Throws std::invalid_argument.
BatchMetricsOptions ParseBatchMetricsOptions(const std::vector<std::string>& words);

// Writes the header time,length,width,area,max_beyond and one line per time
// (m, m², mg/L, '.' decimals; max_beyond empty without --beyond). A measure
// the grid's edge cuts short is a lower bound: a line to `notes` names the
// time and those measures. Throws KavrinError, before anything is written,
// for a standard that is no concentration above 0, a distance beyond the
// grid, a time the index does not list or whose results file is missing or
// not whole (FileFormatError naming its line).
void PerformBatchMetrics(const BatchMetricsOptions& options, const BatchEnvironment& environment, std::ostream& out,
                         std::ostream& notes);

}  // namespace kavrin
