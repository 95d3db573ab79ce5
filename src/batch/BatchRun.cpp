#include "BatchRun.h"

#include "BatchProject.h"
#include "BatchSourceFiles.h"
#include "files/ParameterFile.h"
#include "files/ProjectFile.h"
#include "files/SourceProjectLines.h"
#include "model/PhysicalChecks.h"
#include "model/ProjectState.h"
#include "model/RunChecks.h"
#include "model/SitePlacement.h"
#include "model/SourceTextRules.h"
#include "model/Variaveis.h"
#include "solution/Parallel.h"
#include "solution/Quadrature.h"
#include "text/DateTimeText.h"
#include "text/Errors.h"
#include "workspace/RunFileChecks.h"
#include "workspace/SimulationRun.h"
#include "workspace/Workspace.h"

#include <algorithm>
#include <atomic>
#include <ctime>
#include <memory>
#include <stdexcept>

namespace kavrin {

void RefuseImpossibleTexts(const ParameterTexts& texts, char separator)
{
    // A batch program starts with no order in effect: an order the table does
    // not hold would leave the quadrature without nodes and write 0 everywhere.
    if (const auto order = GaussOrderOutsideTable(texts.comboBox1))
        throw CheckError("The Gauss-Legendre order (GaussOrder) " + std::to_string(*order) +
                         " is not in the quadrature table. Choose 4, 20, 60, 104 or 256.");
    if (const auto refusal = CheckPhysics(texts, separator)) throw CheckError(EnglishPhysicalRefusalText(*refusal));
    if (const auto refusal = CheckSourceTexts(texts, separator)) throw CheckError(EnglishSourceRefusalText(*refusal));
    SitePlacementOf(texts.site);
}

ParameterTexts BatchParameterTexts(const std::optional<std::string>& paramsPath, const std::optional<std::string>& projectPath,
                                   const std::vector<std::pair<std::string, std::string>>& sets, char separator,
                                   const std::optional<std::string>& stepsPath, const std::optional<std::string>& zonesPath)
{
    ParameterTexts texts = InitialParameterTexts();
    ArrumaCampos(texts, separator);
    if (paramsPath) AssignEditTexts(texts, ReadParameterFile(*paramsPath), separator);
    if (projectPath) {
        ApplyProjectTexts(texts, ReadProjectFile(*projectPath), separator);
    }
    if (stepsPath) ApplyStepsFile(texts, *stepsPath, separator);
    if (zonesPath) ApplyZonesFile(texts, *zonesPath, separator);
    for (const auto& [name, text] : sets) {
        if (IsSourceTextName(name)) {
            SetSourceText(texts.source, name, text);
            continue;
        }
        if (std::string* placement = SitePlacementText(texts.site, name)) {
            *placement = text;
            continue;
        }
        const std::optional<int> control = ControlOfName(name);
        if (!control) throw std::invalid_argument("unknown parameter \"" + name + "\" in --set");
        SetControlText(texts, *control, text, separator);
    }
    return texts;
}

namespace {

// Shows "NN% of the points, t = …" on one line, rewritten when it changes,
// and asks the run to stop after the time being written once a stop signal came.
RowCallback progressLine(std::ostream* out, char separator, const std::atomic<int>* stopSignal)
{
    auto last = std::make_shared<std::string>();
    return [out, last, separator, stopSignal](const RunProgress& progress) {
        const RunRequest request = stopSignal && stopSignal->load() != 0 ? RunRequest::StopAfterThisTime : RunRequest::Continue;
        if (!out) return request;
        const std::string line = std::to_string(ProgressPosition(progress)) +
                                 "% of the points, t = " + TimeText(progress.CurrentTime, separator) + " days";
        if (line == *last) return request;
        *last = line;
        *out << '\r' << line << "\x1b[K" << std::flush;
        return request;
    };
}

// What the project file --save writes keeps of the project run: the
// calibration, its observation table read before anything is written, and
// the other named lines.
struct CarriedLines {
    StoredCalibration calibration;
    std::optional<ObservationTable> table;
    NamedLines lines;
};

CarriedLines carriedLines(const BatchRunOptions& options, const BatchEnvironment& environment)
{
    CarriedLines carried;
    if (!options.projectPath || !options.savePath) return carried;
    const ProjectFileContents project = ReadProjectFile(*options.projectPath);
    carried.calibration = project.calibration;
    carried.lines = project.namedLines;
    if (const std::optional<std::string>& file = project.calibration.observationFile) {
        const std::string path = StoredObservationPath(*options.projectPath, ProjectIndex(project, environment), *file);
        try {
            carried.table.emplace().Import(path, environment.separator);
        } catch (const KavrinError& error) {
            throw CheckError(*options.projectPath + " stores the observation table " + path + ", which cannot be read (" +
                             error.what() + "): --save would lose it. Put the table back, or run without --save.");
        }
    }
    return carried;
}

}  // namespace

std::string PerformBatchRun(const BatchRunOptions& options, const BatchEnvironment& environment, BatchRunStop* stop)
{
    const char separator = environment.separator;
    const ParameterTexts texts = BatchParameterTexts(options.paramsPath, options.projectPath, options.sets, separator,
                                                     options.stepsPath, options.zonesPath);
    RefuseImpossibleTexts(texts, separator);
    ModelState model;
    Variaveis(texts, model, separator);
    if (const auto refusal = CheckRun(model)) throw CheckError(EnglishRefusalText(*refusal));

    ProjectState project;
    project.ProjectName = options.projectName.value_or("");
    if (project.ProjectName.empty()) project.ProjectName = DateTimeText(std::time(nullptr));
    ValidateProjectName(project.ProjectName);
    CheckRunFiles(model, environment.root, project.ProjectName, separator);
    const CarriedLines carried = carriedLines(options, environment);

    QuadratureState quadrature;
    RunProgress progress;
    const RunEnvironment run{environment.root, environment.valoresPath, separator, options.reference, WorkerCount()};
    RunOutcome outcome;
    try {
        outcome = WriteRun(model, quadrature, nullptr, project, run, progress,
                           progressLine(environment.progress, separator, stop ? &stop->signal : nullptr));
    } catch (...) {
        if (environment.progress) *environment.progress << '\n';
        throw;
    }
    if (outcome == RunOutcome::Stopped && stop) {
        if (environment.progress) *environment.progress << '\n';
        // The run stopped before progress.CurrentTime, the first time it did not write.
        const std::vector<double> times = RunTimes(model.T0, model.T1, model.DT).value_or(std::vector<double>{});
        stop->stopped = true;
        stop->times = times.size();
        stop->timesWritten =
            static_cast<std::size_t>(std::lower_bound(times.begin(), times.end(), progress.CurrentTime) - times.begin());
    } else if (environment.progress) {
        *environment.progress << "\r100% of the points\x1b[K\n";
    }
    if (options.savePath) {
        // The calibration goes with the new results, as the desktop's save of the opened project would store it.
        const NamedLines lines = SaveCalibrationWithProject(carried.calibration, carried.table ? &*carried.table : nullptr,
                                                            ProjectFolderPath(environment.root, project.ProjectName),
                                                            *options.savePath, carried.lines);
        WriteProjectFile(*options.savePath, project.ProjectName, DateTimeText(std::time(nullptr)), texts, environment.root,
                         lines);
    }
    return ProjectFolderPath(environment.root, project.ProjectName);
}

}  // namespace kavrin
