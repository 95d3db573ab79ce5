// Observed versus calculated: the model evaluated at every observation, the
// least-squares line of calculated on observed, R² and the mean absolute error.
#pragma once

#include "calibration/Observations.h"
#include "model/ParameterTexts.h"

#include <string>
#include <vector>

namespace kavrin {

struct ComparisonStatistics {
    double meanObserved = 0, meanCalculated = 0;
    double MAE = 0;  // mean absolute error, mg/L
    double Sxy = 0, Sxx = 0;
    double slope = 0, intercept = 0;  // calculated ≈ intercept + slope · observed
    double SST = 0, SSE = 0;
    double R2 = 0;  // coefficient of determination of that line
    double minObserved = 0, maxObserved = 0;
    double lo = 0, hi = 0;  // the observed range widened by 5 % on each side
};

// The sums term by term, i ascending: each mean and the MAE add x_i / N; the
// slope is formed from the complete sums. No observations, all observed
// values equal, or all calculated values equal leave the line or R²
// undefined and throw FloatError (invalid operation).
ComparisonStatistics CompareValues(const std::vector<double>& observed, const std::vector<double>& calculated);

struct Comparison {
    std::vector<Observation> observations;
    std::vector<double> calculated;
    ComparisonStatistics statistics;
};

// "Calcular" without a window: reads the table (ObservationsIncomplete,
// ConversionError), rebuilds `model` from the data window's texts with
// Variaveis, selects and loads the quadrature order into `quadrature`,
// evaluates every observation and forms the statistics. The model and the
// quadrature keep what was stored before a failure.
Comparison CompareObservations(const std::vector<ObservationTexts>& table, const ParameterTexts& texts,
                               const std::string& valoresPath, char separator, ModelState& model, QuadratureState& quadrature,
                               unsigned workers);

}  // namespace kavrin
