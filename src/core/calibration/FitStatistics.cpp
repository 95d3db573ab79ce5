#include "calibration/FitStatistics.h"

#include "calibration/Comparison.h"
#include "text/Errors.h"

#include <cmath>
#include <limits>

namespace kavrin {

FitStatistics FitStatisticsOf(const std::vector<Observation>& observations, const std::vector<double>& calculated,
                              const std::vector<double>& residuals)
{
    FitStatistics s;
    std::vector<double> observed;
    double squares = 0;
    for (std::size_t i = 0; i < observations.size(); ++i) {
        observed.push_back(observations[i].C);
        squares += (observations[i].C - calculated[i]) * (observations[i].C - calculated[i]);
        s.objective += residuals[i] * residuals[i];
    }
    try {
        const ComparisonStatistics comparison = CompareValues(observed, calculated);
        s.R2 = comparison.R2;
        s.MAE = comparison.MAE;
    } catch (const FloatError&) {
        s.R2 = std::numeric_limits<double>::quiet_NaN();
        for (std::size_t i = 0; i < observations.size(); ++i)
            s.MAE += std::fabs(observations[i].C - calculated[i]) / static_cast<double>(observations.size());
    }
    s.RMSE = std::sqrt(squares / static_cast<double>(observations.size()));
    return s;
}

}  // namespace kavrin
