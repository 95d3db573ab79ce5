// The fit on fuzzed observations: the first four bytes choose the fit, the
// rest is an observation table as imported (weights in the sixth field).
#include "FuzzSupport.h"
#include "FuzzTargets.h"

#include "calibration/FitSetup.h"
#include "calibration/FitTexts.h"
#include "calibration/ObservationTable.h"
#include "fit/ParameterFit.h"
#include "model/Variaveis.h"
#include "text/Errors.h"

#include <cmath>
#include <filesystem>

namespace kavrin::fuzz {

namespace {

// The quadrature table of the sources, beside this file's folder.
const std::string& valoresPath()
{
    static const std::string path =
        (std::filesystem::path(__FILE__).parent_path().parent_path() / "data" / "valores.txt").string();
    return path;
}

// What a fit that ran to its end promises about its numbers.
void checkResult(const FitResult& result, const FitSettings& settings)
{
    require(result.iterations <= settings.maxIterations * (settings.coarseQuadrature ? 2 : 1), "more iterations than the limit");
    if (!result.reachedEnd()) return;
    for (std::size_t j = 0; j < result.parameters.size(); ++j) {
        const FittedParameter& fitted = result.parameters[j];
        require(fitted.value >= settings.bounds[j].lower * (1 - 1e-12) && fitted.value <= settings.bounds[j].upper * (1 + 1e-12),
                "a fitted value outside its bounds");
    }
    if (!result.identifiable()) {
        require(result.correlation.empty(), "correlations of parameters the observations cannot determine");
        require(!NotIdentifiableText(BuiltInFitTexts(false), result).empty(), "no reason given");
        return;
    }
    require(result.correlation.size() == result.parameters.size(), "a correlation matrix of the wrong size");
    for (const std::vector<double>& row : result.correlation)
        for (double r : row)
            require(std::isfinite(r) && std::fabs(r) <= 1 + 1e-9, "a correlation that is not finite or beyond 1");
    for (const FittedParameter& fitted : result.parameters) {
        require(std::isfinite(fitted.standardError) && fitted.standardError >= 0, "a standard error that is not a finite number");
        if (!fitted.hasInterval())
            require(fitted.standardError == 0 && fitted.lower95 == 0 && fitted.upper95 == 0,
                    "an interval for a value on a bound");
        else
            require(fitted.lower95 <= fitted.value && fitted.value <= fitted.upper95, "an interval that leaves out its value");
        if (fitted.hasInterval() && InfoOf(fitted.parameter).positive)
            require(fitted.lower95 >= 0, "a negative interval for a value fitted as a logarithm");
    }
}

}  // namespace

void FitObservationsTarget(const std::string& input)
{
    if (input.size() < 4) return;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(input[i]); };
    ObservationTable table;
    std::vector<Observation> observations;
    try {
        table.Import(scratchFile("fit.txt", input.substr(4)), '.');
        observations = ReadObservations(table.observations(), '.');
    } catch (const KavrinError&) {
        return;
    }
    if (observations.size() > 64) return;  // a fit's cost grows with them; 64 show every path

    ModelState model;
    Variaveis(InitialParameterTexts(), model, '.');
    model.GaussOrder = byte(2) & 1 ? 20 : 4;
    FitChoices choices;
    const unsigned mask = byte(0) | (byte(1) & 1u) << 8;
    for (std::size_t j = 0; j < kFitParameters.size(); ++j)
        if (mask >> j & 1u) choices.parameters.push_back(kFitParameters[j].parameter);
    choices.bounds.resize(choices.parameters.size());
    choices.logResiduals = byte(1) & 2;
    choices.weightRule = byte(1) & 4 ? WeightRule::Relative : WeightRule::Table;
    choices.detectionLimit = byte(3) & 16 ? std::pow(10.0, -static_cast<int>(byte(3) & 15)) : 0;
    choices.weightTexts = table.weights();

    std::unique_ptr<FitSetup> setup;
    try {
        setup = SetUpFit(choices, observations, model, QuadratureState(), valoresPath(), '.');
    } catch (const FitRefusal& refusal) {
        require(!RefusalText(BuiltInFitTexts(true), refusal.message()).empty(), "an empty refusal");
        return;
    }
    FitSettings& settings = setup->settings;
    settings.workers = 1;
    settings.maxIterations = 1 + (byte(1) >> 3 & 7);
    QuadratureState coarse;
    if (byte(2) & 2) {
        LoadGaussOrder(coarse, 4, valoresPath(), '.');
        settings.coarseQuadrature = &coarse;
    }
    try {
        checkResult(FitObservations(observations, model, setup->quadrature, settings), settings);
    } catch (const FitRefusal& refusal) {
        for (bool portuguese : {true, false})
            require(RefusalText(BuiltInFitTexts(portuguese), refusal.message()).find("%") == std::string::npos,
                    "a refusal with an unfilled %");
    } catch (const KavrinError&) {
    }
}

}  // namespace kavrin::fuzz
