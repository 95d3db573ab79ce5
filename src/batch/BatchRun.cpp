#include "BatchRun.h"

#include "text/DateTimeText.h"
#include "text/Errors.h"
#include "solution/Parallel.h"
#include "model/ProjectState.h"
#include "model/RunChecks.h"
#include "workspace/SimulationRun.h"
#include "model/Variaveis.h"
#include "workspace/Workspace.h"
#include "files/ParameterFile.h"
#include "files/ProjectFile.h"

#include <ctime>
#include <memory>
#include <stdexcept>

namespace kavrin {

ParameterTexts BatchParameterTexts(const std::optional<std::string>& paramsPath,
                                   const std::optional<std::string>& projectPath,
                                   const std::vector<std::pair<std::string, std::string>>& sets, char separator)
{
    ParameterTexts texts = InitialParameterTexts();
    ArrumaCampos(texts, separator);
    if (paramsPath) AssignEditTexts(texts, ReadParameterFile(*paramsPath), separator);
    if (projectPath) {
        ApplyProjectTexts(texts, ReadProjectFile(*projectPath), separator);
    }
    for (const auto& [name, text] : sets) {
        const std::optional<int> control = ControlOfName(name);
        if (!control) throw std::invalid_argument("unknown parameter \"" + name + "\" in --set");
        SetControlText(texts, *control, text, separator);
    }
    return texts;
}

namespace {

// Shows "NN% of the points, t = …" on one line, rewritten when it changes.
RowCallback progressLine(std::ostream* out, char separator)
{
    if (!out) return {};
    auto last = std::make_shared<std::string>();
    return [out, last, separator](const RunProgress& progress) {
        const std::string line = std::to_string(ProgressPosition(progress)) + "% of the points, t = "
                               + TimeText(progress.CurrentTime, separator) + " days";
        if (line == *last) return;
        *last = line;
        *out << '\r' << line << "\x1b[K" << std::flush;
    };
}

}  // namespace

std::string PerformBatchRun(const BatchRunOptions& options, const BatchEnvironment& environment)
{
    const char separator = environment.separator;
    const ParameterTexts texts = BatchParameterTexts(options.paramsPath, options.projectPath, options.sets, separator);
    ModelState model;
    Variaveis(texts, model, separator);
    if (const auto refusal = CheckRun(model)) throw CheckError(EnglishRefusalText(*refusal));

    ProjectState project;
    project.ProjectName = options.projectName.value_or("");
    if (project.ProjectName.empty()) project.ProjectName = DateTimeText(std::time(nullptr));
    ValidateProjectName(project.ProjectName);

    QuadratureState quadrature;
    RunProgress progress;
    const RunEnvironment run{environment.root, environment.valoresPath, separator, options.reference, WorkerCount()};
    try {
        WriteRun(model, quadrature, nullptr, project, run, progress, progressLine(environment.progress, separator));
    } catch (...) {
        if (environment.progress) *environment.progress << '\n';
        throw;
    }
    if (environment.progress) *environment.progress << "\r100% of the points\x1b[K\n";
    if (options.savePath)
        WriteProjectFile(*options.savePath, project.ProjectName, DateTimeText(std::time(nullptr)), texts, environment.root);
    return ProjectFolderPath(environment.root, project.ProjectName);
}

}  // namespace kavrin
