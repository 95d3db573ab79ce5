#include "BatchFit.h"

#include "BatchFitReport.h"
#include "BatchProject.h"
#include "BatchRun.h"
#include "calibration/FitSetup.h"
#include "calibration/FitStartLimits.h"
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
#include "workspace/Workspace.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>

namespace kavrin {

namespace {

// The table given, else the one the project stores.
std::string ObservationTablePath(const BatchFitOptions& options, const std::optional<ProjectFileContents>& project,
                                 const BatchEnvironment& environment)
{
    const BatchCompareOptions& source = options.comparison;
    if (!source.observationsPath.empty()) return source.observationsPath;
    if (!project || !project->calibration.observationFile)
        throw CheckError("fit needs --obs TABLE.txt: " + source.projectPath.value_or("the project") +
                         " stores no observation table.");
    // A project not run yet keeps its table where its results will be.
    return StoredObservationPath(*source.projectPath, ProjectIndex(*project, environment), *project->calibration.observationFile);
}

}  // namespace

void PerformBatchFit(const BatchFitOptions& options, const BatchEnvironment& environment, std::ostream& out)
{
    const char separator = environment.separator;
    const BatchCompareOptions& source = options.comparison;
    ParameterTexts texts =
        BatchParameterTexts(source.paramsPath, source.projectPath, source.sets, separator, source.stepsPath, source.zonesPath);
    const std::optional<ProjectFileContents> project =
        source.projectPath ? std::optional(ReadProjectFile(*source.projectPath)) : std::nullopt;
    const StoredCalibration stored = project ? project->calibration : StoredCalibration{};
    ObservationTable table;
    table.Import(ObservationTablePath(options, project, environment), separator);
    const std::vector<Observation> observations = ReadObservations(table.observations(), separator);
    // The fit starts from a model a run would accept.
    RefuseImpossibleTexts(texts, separator);
    ModelState model;
    Variaveis(texts, model, separator);

    FitChoices choices = StoredFitChoices(stored);
    if (!options.parameters.empty()) {
        // The parameters given replace the stored ones; a stored bound still holds for its parameter.
        choices.parameters.clear();
        choices.bounds.clear();
        for (const std::string& name : options.parameters) {
            choices.parameters.push_back(*AnyFitParameterOfName(name));
            choices.bounds.push_back(StoredBoundsOf(stored, choices.parameters.back()));
        }
    }
    if (choices.parameters.empty())
        throw CheckError("fit needs --fit NAME,NAME,...: " + *source.projectPath + " stores no parameters to fit.");
    for (const BatchFitBounds& given : options.bounds) {
        const FitParameter parameter = *AnyFitParameterOfName(given.name);
        const auto at = std::find(choices.parameters.begin(), choices.parameters.end(), parameter);
        if (at == choices.parameters.end()) throw CheckError("--bounds names " + given.name + ", which the fit does not take.");
        choices.bounds[static_cast<std::size_t>(at - choices.parameters.begin())] =
            FitBounds{ParseFloat(ArrumaDecimal(given.lower, separator), separator),
                      ParseFloat(ArrumaDecimal(given.upper, separator), separator)};
    }
    if (options.logResiduals) choices.logResiduals = true;
    if (options.noLog) choices.logResiduals = false;
    if (options.detectionLimit) choices.detectionLimit = ParseFloat(ArrumaDecimal(*options.detectionLimit, separator), separator);
    if (options.weightsGiven) choices.weightRule = options.weights;
    choices.weightTexts = table.weights();
    const std::unique_ptr<FitSetup> setup =
        SetUpFit(choices, observations, model, QuadratureState(), environment.valoresPath, separator);
    const int startCount = options.startsGiven ? options.starts : stored.starts.value_or(1);
    const std::uint64_t seed = options.seedGiven ? options.seed : stored.seed.value_or(kDefaultSeed);
    if (options.seedGiven && startCount < 2)
        throw CheckError(options.startsGiven ? std::string("--seed needs --starts of 2 or more.")
                                             : "--seed needs --starts: " + *source.projectPath + " stores no several starts.");
    std::optional<SeveralStartsResult> starts;
    if (startCount > 1) starts = FitFromSeveralStarts(observations, model, setup->quadrature, setup->settings, startCount, seed);
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
        const std::string name = project ? project->projectName : std::filesystem::path(*options.savePath).stem().string();
        // The table and the fit's choices go with it as the desktop's save
        // stores them, the table in the results folder the project names.
        StoredCalibration calibration = CalibrationOfChoices(choices);
        if (startCount > 1) {
            calibration.starts = startCount;
            if (seed != kDefaultSeed) calibration.seed = seed;
        }
        ValidateProjectName(name);
        const NamedLines lines = SaveCalibrationWithProject(calibration, &table, ProjectFolderPath(environment.root, name),
                                                            *options.savePath, project ? project->namedLines : NamedLines{});
        WriteUnrunProjectFile(*options.savePath, name, DateTimeText(std::time(nullptr)), texts, lines);
    }
}

}  // namespace kavrin
