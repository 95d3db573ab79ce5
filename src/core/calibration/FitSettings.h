// What a fit is asked to do: the parameters and their bounds, the residuals'
// terms, the weights, the iteration limit and the quadratures.
#pragma once

#include "calibration/FitParameters.h"
#include "solution/Quadrature.h"

#include <functional>
#include <vector>

namespace kavrin {

struct FitSettings {
    std::vector<FitParameter> parameters;  // each at most once
    std::vector<FitBounds> bounds;         // one per parameter
    // Residuals on log10 concentrations instead of concentrations. Observed
    // and calculated values below the detection limit count as the limit;
    // without a limit (0) every observed value must be positive.
    bool logResiduals = false;
    double detectionLimit = 0;
    // The weight of each observation (see ObservationWeights): its residual
    // enters the objective multiplied by √w, so the objective is Σ w r².
    // Empty: every weight 1.
    std::vector<double> weights;
    int maxIterations = 200;
    unsigned workers = 1;
    // A lower quadrature order to come near the optimum with first, at a
    // fraction of the cost; the fit then ends on the model's own order.
    const QuadratureState* coarseQuadrature = nullptr;
    // Called after every iteration with its number and the objective; a
    // false return cancels the fit.
    std::function<bool(int iteration, double objective)> progress;
};

}  // namespace kavrin
