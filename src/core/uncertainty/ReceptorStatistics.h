// What a receptor's values over the realizations say at each time: exact
// percentiles, the probability that the standard is exceeded then and at any
// time up to then, and when it is first exceeded.
#pragma once

#include <vector>

namespace kavrin {

struct ReceptorTimeSummary {
    double mean = 0, p05 = 0, p50 = 0, p95 = 0;
    double exceeded = 0;       // fraction of realizations above the standard at this time
    double exceededByNow = 0;  // above it at this time or an earlier chosen time
    double firstExceeded = 0;  // above it first at this time
};

// values[t][i]: time t, realization i. One summary per time; the fraction that
// never exceeds is 1 − the last exceededByNow. Percentiles interpolate
// linearly between order statistics (rank p · (N − 1)).
std::vector<ReceptorTimeSummary> SummariseReceptor(const std::vector<std::vector<double>>& values, double standard);

// The exact percentile of values (0 <= p <= 1), as above.
double ExactPercentile(std::vector<double> values, double p);

}  // namespace kavrin
