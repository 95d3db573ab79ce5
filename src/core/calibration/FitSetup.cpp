#include "calibration/FitSetup.h"

#include "solution/Parallel.h"

namespace kavrin {

std::unique_ptr<FitSetup> SetUpFit(const FitChoices& choices, const std::vector<Observation>& observations,
                                   const ModelState& start, const QuadratureState& inEffect, const std::string& valoresPath,
                                   char separator)
{
    auto setup = std::make_unique<FitSetup>();
    FitSettings& settings = setup->settings;
    setup->quadrature = inEffect;
    LoadGaussOrder(setup->quadrature, start.GaussOrder, valoresPath, separator);
    for (std::size_t j = 0; j < choices.parameters.size(); ++j) {
        const FitParameter parameter = choices.parameters[j];
        const std::optional<FitBounds> given = j < choices.bounds.size() ? choices.bounds[j] : std::nullopt;
        settings.parameters.push_back(parameter);
        settings.bounds.push_back(given ? *given : DefaultBounds(parameter, InfoOf(parameter).get(start)));
    }
    settings.logResiduals = choices.logResiduals;
    settings.detectionLimit = choices.detectionLimit;
    settings.weights =
        ObservationWeights(choices.weightTexts, observations, choices.weightRule, choices.detectionLimit, separator);
    settings.workers = WorkerCount();
    if (setup->quadrature.GaussN > kCoarseGaussOrder) {
        LoadGaussOrder(setup->coarse, kCoarseGaussOrder, valoresPath, separator);
        settings.coarseQuadrature = &setup->coarse;
    }
    return setup;
}

}  // namespace kavrin
