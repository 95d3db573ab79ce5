#include "BatchFit.h"

#include "BatchRun.h"
#include "calibration/FitSetup.h"
#include "calibration/FitTexts.h"
#include "calibration/FittedSourceTexts.h"
#include "files/ProjectFile.h"
#include "fit/ParameterFit.h"
#include "model/PhysicalChecks.h"
#include "model/SourceTextRules.h"
#include "model/Variaveis.h"
#include "text/DateTimeText.h"
#include "text/DecimalSeparator.h"
#include "text/NumberText.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>

namespace kavrin {

namespace {

// Six significant digits, the user's separator, padded to a column.
std::string cell(double value, char separator, int width = 13)
{
    char text[64];
    std::snprintf(text, sizeof text, "%*.6g", width, value);
    return ArrumaDecimal(text, separator);
}

std::string padded(const std::string& text, int width = 13)
{
    return text.size() >= static_cast<std::size_t>(width)
               ? text
               : std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

}  // namespace

void PerformBatchFit(const BatchFitOptions& options, const BatchEnvironment& environment, std::ostream& out)
{
    const char separator = environment.separator;
    const BatchCompareOptions& source = options.comparison;
    ParameterTexts texts =
        BatchParameterTexts(source.paramsPath, source.projectPath, source.sets, separator, source.stepsPath, source.zonesPath);
    ObservationTable table;
    table.Import(source.observationsPath, separator);
    const std::vector<Observation> observations = ReadObservations(table.observations(), separator);
    // The fit starts from a model a run would accept.
    RefuseImpossibleTexts(texts, separator);
    ModelState model;
    Variaveis(texts, model, separator);

    FitChoices choices;
    for (const std::string& name : options.parameters) {
        choices.parameters.push_back(*AnyFitParameterOfName(name));
        choices.bounds.emplace_back();
        for (const BatchFitBounds& given : options.bounds)
            if (given.name == name)
                choices.bounds.back() = FitBounds{ParseFloat(ArrumaDecimal(given.lower, separator), separator),
                                                  ParseFloat(ArrumaDecimal(given.upper, separator), separator)};
    }
    choices.logResiduals = options.logResiduals;
    if (options.detectionLimit) choices.detectionLimit = ParseFloat(ArrumaDecimal(*options.detectionLimit, separator), separator);
    choices.weightRule = options.weights;
    choices.weightTexts = table.weights();
    const std::unique_ptr<FitSetup> setup =
        SetUpFit(choices, observations, model, QuadratureState(), environment.valoresPath, separator);
    const FitResult result = FitObservations(observations, model, setup->quadrature, setup->settings);
    if (result.stop == FitStop::Failed) throw CheckError("The fit failed: " + result.solverMessage);

    out << padded("", 13) << padded("before") << padded("after") << '\n';
    const std::pair<const char*, double FitStatistics::*> rows[] = {{"objective", &FitStatistics::objective},
                                                                    {"R2", &FitStatistics::R2},
                                                                    {"MAE", &FitStatistics::MAE},
                                                                    {"RMSE", &FitStatistics::RMSE}};
    for (const auto& [name, member] : rows)
        out << padded(name) << cell(result.before.*member, separator) << cell(result.after.*member, separator) << '\n';
    const FitTexts english = BuiltInFitTexts(false);
    out << "iterations " << result.iterations << ", " << StopText(english, result.stop) << ": " << result.solverMessage << '\n';
    if (!result.identifiable()) throw CheckError(NotIdentifiableText(english, result));

    out << '\n'
        << padded("parameter") << padded("initial") << padded("fitted") << padded("std. error") << padded("lower 95%")
        << padded("upper 95%") << '\n';
    for (const FittedParameter& p : result.parameters) {
        out << padded(InfoOf(p.parameter).name) << cell(p.initial, separator) << cell(p.value, separator);
        if (p.hasInterval())
            out << cell(p.standardError, separator) << cell(p.lower95, separator) << cell(p.upper95, separator) << '\n';
        else  // the bound decided the value, not the observations
            out << padded(p.bound == BoundReached::Lower ? "lower bound" : "upper bound") << padded("-") << padded("-") << '\n';
    }
    out << "95% intervals from Student's t = " << cell(result.t975, separator, 0) << " with " << result.degreesOfFreedom
        << " degrees of freedom\n\ncorrelation\n"
        << padded("");
    for (const FittedParameter& p : result.parameters) out << padded(InfoOf(p.parameter).name);
    out << '\n';
    for (std::size_t j = 0; j < result.parameters.size(); ++j) {
        out << padded(InfoOf(result.parameters[j].parameter).name);
        for (double r : result.correlation[j]) out << cell(r, separator);
        out << '\n';
    }

    if (options.savePath) {
        for (const FittedParameter& p : result.parameters) WriteFittedValue(texts, p.parameter, p.value, separator);
        // The source project's name; the fitted parameters have no results yet.
        const std::string name = source.projectPath ? ReadProjectFile(*source.projectPath).projectName
                                                    : std::filesystem::path(*options.savePath).stem().string();
        WriteUnrunProjectFile(*options.savePath, name, DateTimeText(std::time(nullptr)), texts);
    }
}

}  // namespace kavrin
