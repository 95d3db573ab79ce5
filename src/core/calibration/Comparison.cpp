#include "calibration/Comparison.h"

#include "model/FloatChecks.h"
#include "model/Variaveis.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace kavrin {

namespace {

bool allEqual(const std::vector<double>& values)
{
    return std::adjacent_find(values.begin(), values.end(), std::not_equal_to<>()) == values.end();
}

}  // namespace

ComparisonStatistics CompareValues(const std::vector<double>& observed, const std::vector<double>& calculated)
{
    // The rounding of the means would turn an undefined line into a huge
    // slope, or R² into noise, so equal values are refused before dividing.
    if (observed.empty() || allEqual(observed) || allEqual(calculated)) throw FloatError::invalidOperation();
    const std::size_t count = observed.size();
    const double N = static_cast<double>(count);
    ComparisonStatistics s;
    s.minObserved = s.maxObserved = observed[0];
    for (std::size_t i = 0; i < count; ++i) {
        s.meanObserved = s.meanObserved + observed[i] / N;
        s.meanCalculated = s.meanCalculated + calculated[i] / N;
        s.MAE = s.MAE + std::fabs(observed[i] - calculated[i]) / N;
        s.minObserved = std::min(s.minObserved, observed[i]);
        s.maxObserved = std::max(s.maxObserved, observed[i]);
    }
    for (std::size_t i = 0; i < count; ++i) {
        s.Sxy = s.Sxy + (observed[i] - s.meanObserved) * (calculated[i] - s.meanCalculated);
        s.Sxx = s.Sxx + (observed[i] - s.meanObserved) * (observed[i] - s.meanObserved);
    }
    s.slope = CheckedDivide(s.Sxy, s.Sxx);
    s.intercept = s.meanCalculated - s.slope * s.meanObserved;
    for (std::size_t i = 0; i < count; ++i) {
        const double fitted = s.slope * observed[i] + s.intercept;
        s.SST = s.SST + (calculated[i] - s.meanCalculated) * (calculated[i] - s.meanCalculated);
        s.SSE = s.SSE + (calculated[i] - fitted) * (calculated[i] - fitted);
    }
    s.R2 = 1 - CheckedDivide(s.SSE, s.SST);
    const double d = 0.05 * (s.maxObserved - s.minObserved);
    s.lo = s.minObserved - d;
    s.hi = s.maxObserved + d;
    return s;
}

Comparison CompareObservations(const std::vector<ObservationTexts>& table, const ParameterTexts& texts,
                               const std::string& valoresPath, char separator, ModelState& model, QuadratureState& quadrature,
                               unsigned workers)
{
    Comparison comparison;
    comparison.observations = ReadObservations(table, separator);
    if (!comparison.observations.empty()) {
        Variaveis(texts, model, separator);
        LoadGaussOrder(quadrature, model.GaussOrder, valoresPath, separator);
        comparison.calculated = CalculatedConcentrations(comparison.observations, model, quadrature, workers);
    }
    std::vector<double> observed;
    for (const Observation& o : comparison.observations) observed.push_back(o.C);
    comparison.statistics = CompareValues(observed, comparison.calculated);
    return comparison;
}

}  // namespace kavrin
