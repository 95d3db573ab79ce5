#include "BatchFit.h"

#include "BatchFitReport.h"
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
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>

namespace kavrin {

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
    std::optional<SeveralStartsResult> starts;
    if (options.starts > 1)
        starts = FitFromSeveralStarts(observations, model, setup->quadrature, setup->settings, options.starts, options.seed);
    const FitResult result = starts ? starts->best : FitObservations(observations, model, setup->quadrature, setup->settings);
    if (result.stop == FitStop::Failed) throw CheckError("The fit failed: " + result.solverMessage);

    out << FitPadded("", 13) << FitPadded("before") << FitPadded("after") << '\n';
    const std::pair<const char*, double FitStatistics::*> rows[] = {{"objective", &FitStatistics::objective},
                                                                    {"R2", &FitStatistics::R2},
                                                                    {"MAE", &FitStatistics::MAE},
                                                                    {"RMSE", &FitStatistics::RMSE}};
    for (const auto& [name, member] : rows)
        out << FitPadded(name) << FitCell(result.before.*member, separator) << FitCell(result.after.*member, separator) << '\n';
    const FitTexts english = BuiltInFitTexts(false);
    out << "iterations " << result.iterations << ", " << StopText(english, result.stop) << ": " << result.solverMessage << '\n';
    if (starts) WriteSeveralStarts(out, *starts, separator);
    if (!result.identifiable()) throw CheckError(NotIdentifiableText(english, result));

    out << '\n'
        << FitPadded("parameter") << FitPadded("initial") << FitPadded("fitted") << FitPadded("std. error")
        << FitPadded("lower 95%") << FitPadded("upper 95%") << '\n';
    for (const FittedParameter& p : result.parameters) {
        out << FitPadded(InfoOf(p.parameter).name) << FitCell(p.initial, separator) << FitCell(p.value, separator);
        if (p.hasInterval())
            out << FitCell(p.standardError, separator) << FitCell(p.lower95, separator) << FitCell(p.upper95, separator) << '\n';
        else  // the bound decided the value, not the observations
            out << FitPadded(p.bound == BoundReached::Lower ? "lower bound" : "upper bound") << FitPadded("-") << FitPadded("-")
                << '\n';
    }
    out << "95% intervals from Student's t = " << FitCell(result.t975, separator, 0) << " with " << result.degreesOfFreedom
        << " degrees of freedom\n\ncorrelation\n"
        << FitPadded("");
    for (const FittedParameter& p : result.parameters) out << FitPadded(InfoOf(p.parameter).name);
    out << '\n';
    for (std::size_t j = 0; j < result.parameters.size(); ++j) {
        out << FitPadded(InfoOf(result.parameters[j].parameter).name);
        for (double r : result.correlation[j]) out << FitCell(r, separator);
        out << '\n';
    }
    WriteConditioning(out, result, separator);
    std::vector<ProfileInterval> profiles;
    for (const std::string& name : options.profiles)
        profiles.push_back(
            ProfileLikelihoodInterval(observations, setup->quadrature, setup->settings, result, *AnyFitParameterOfName(name)));
    WriteProfileIntervals(out, profiles, separator);
    WriteResiduals(out, observations, result, separator);

    if (options.savePath) {
        for (const FittedParameter& p : result.parameters) WriteFittedValue(texts, p.parameter, p.value, separator);
        // The source project's name; the fitted parameters have no results yet.
        const std::string name = source.projectPath ? ReadProjectFile(*source.projectPath).projectName
                                                    : std::filesystem::path(*options.savePath).stem().string();
        WriteUnrunProjectFile(*options.savePath, name, DateTimeText(std::time(nullptr)), texts);
    }
}

}  // namespace kavrin
