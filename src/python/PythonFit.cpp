#include "PythonFit.h"

#include "calibration/FitSetup.h"
#include "calibration/FittedSourceTexts.h"
#include "calibration/ObservationTable.h"
#include "fit/ParameterFit.h"
#include "model/Variaveis.h"
#include "solution/Parallel.h"
#include "text/Errors.h"

#include <stdexcept>

namespace kavrin {

namespace {
constexpr char kSeparator = '.';
}

std::pair<std::vector<Observation>, std::vector<std::string>> ReadObservationFile(const std::string& path)
{
    ObservationTable table;
    table.Import(path, kSeparator);
    return {ReadObservations(table.observations(), kSeparator), table.weights()};
}

Comparison ComparePythonModel(PythonModel& model, const std::vector<Observation>& observations)
{
    Comparison comparison;
    comparison.observations = observations;
    comparison.calculated = CalculatedConcentrations(observations, model.model, model.loadedQuadrature(), WorkerCount());
    std::vector<double> observed;
    for (const Observation& o : observations) observed.push_back(o.C);
    comparison.statistics = CompareValues(observed, comparison.calculated);
    return comparison;
}

PythonFit FitPythonModel(const PythonModel& model, const std::vector<Observation>& observations, const PythonFitChoices& given,
                         const std::function<bool()>& keepGoing)
{
    FitChoices choices;
    for (const std::string& name : given.parameters) {
        const std::optional<FitParameter> parameter = AnyFitParameterOfName(name);
        if (!parameter) throw std::invalid_argument("\"" + name + "\" cannot be fitted");
        choices.parameters.push_back(*parameter);
        choices.bounds.emplace_back();
        if (const auto bound = given.bounds.find(name); bound != given.bounds.end())
            choices.bounds.back() = FitBounds{bound->second.first, bound->second.second};
    }
    for (const auto& [name, bound] : given.bounds) {
        bool fitted = false;
        for (const std::string& parameter : given.parameters) fitted = fitted || parameter == name;
        if (!fitted) throw std::invalid_argument("--bounds names " + name + ", which --fit does not");
    }
    choices.logResiduals = given.logResiduals;
    choices.detectionLimit = given.detectionLimit;
    choices.weightRule = given.weightRule;
    choices.weightTexts = given.weightTexts;
    choices.weightTexts.resize(observations.size());

    const std::unique_ptr<FitSetup> setup =
        SetUpFit(choices, observations, model.model, QuadratureState(), model.valoresPath, kSeparator);
    setup->settings.progress = [&keepGoing](int, double) { return keepGoing(); };
    PythonFit fit{FitObservations(observations, model.model, setup->quadrature, setup->settings), model};
    if (fit.result.stop == FitStop::Failed) throw CheckError("The fit failed: " + fit.result.solverMessage);
    for (const FittedParameter& p : fit.result.parameters) WriteFittedValue(fit.fitted.texts, p.parameter, p.value, kSeparator);
    Variaveis(fit.fitted.texts, fit.fitted.model, kSeparator);
    return fit;
}

}  // namespace kavrin
