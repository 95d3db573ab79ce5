#include "workspace/SimulationRun.h"

#include "text/TextFile.h"
#include "workspace/ComputeAhead.h"
#include "workspace/Workspace.h"

#include <optional>

namespace kavrin {

namespace {

// Every time by the point formula, each computed as it is written.
void writeTimesByPoints(TextFileWriter& index, const std::string& root, ProjectState& project,
                        TransportContext& context, double DT, double T1)
{
    RunProgress& progress = context.progress;
    while (progress.CurrentTime <= T1 && !context.stopRequested) {
        const std::string path = TimeFilePath(root, project.ProjectName, progress.CurrentTime, context.separator);
        TextFileWriter timeFile(path, TextFileWriter::Mode::Stream);
        index.writeLine(path);
        Transporte(progress.CurrentTime, context, timeFile);
        timeFile.close();
        project.ResultsExist = true;
        progress.CurrentTime = progress.CurrentTime + DT;
    }
}

// The whole-grid kernel computes time k + 1 while time k is formatted and
// written; the first time has been started already.
void writeTimesOverlapped(TextFileWriter& index, const std::string& root, ProjectState& project,
                          TransportContext& context, ComputeAhead& ahead, double DT, double T1)
{
    RunProgress& progress = context.progress;
    while (progress.CurrentTime <= T1 && !context.stopRequested) {
        const std::string path = TimeFilePath(root, project.ProjectName, progress.CurrentTime, context.separator);
        TextFileWriter timeFile(path, TextFileWriter::Mode::Stream);
        index.writeLine(path);
        const TimeField& field = ahead.take();
        const double next = progress.CurrentTime + DT;
        if (next <= T1) ahead.start(next);
        WriteTimeField(field, context, timeFile);
        timeFile.close();
        project.ResultsExist = true;
        progress.CurrentTime = next;
    }
}

RunOutcome writeTimes(const ModelState& model, QuadratureState& quadrature, ResultGrid* grid, ProjectState& project,
                      const RunEnvironment& environment, RunProgress& progress, const RowCallback& onRow,
                      ComputeAhead* ahead)
{
    TextFileWriter index(project.ProjectIndexPath, TextFileWriter::Mode::Stream);

    const std::uint64_t points = static_cast<std::uint64_t>(model.NX + 1 > 0 ? model.NX + 1 : 0)
                               * static_cast<std::uint64_t>(model.NY + 1 > 0 ? model.NY + 1 : 0);
    progress.CurrentTime = model.T0;
    progress.PointsTotal = CountTimes(model.T0, model.T1, model.DT) * points;
    progress.PointsDone = 0;

    TransportContext context{model, quadrature, grid, progress, environment.valoresPath, environment.separator, onRow,
                             environment.reference, environment.workers};
    if (ahead)
        writeTimesOverlapped(index, environment.root, project, context, *ahead, model.DT, model.T1);
    else
        writeTimesByPoints(index, environment.root, project, context, model.DT, model.T1);
    index.close();
    return progress.CurrentTime <= model.T1 ? RunOutcome::Stopped : RunOutcome::Finished;
}

}  // namespace

RunOutcome WriteRun(const ModelState& model, QuadratureState& quadrature, ResultGrid* grid,
                    ProjectState& project, const RunEnvironment& environment,
                    RunProgress& progress, const RowCallback& onRow)
{
    project.ResultsExist = false;
    // With the whole-grid kernel the first time is computed while the folder,
    // the index and its file are created; a failure of either waits for it.
    std::optional<ComputeAhead> ahead;
    if (!environment.reference) {
        ahead.emplace(model, quadrature, environment.valoresPath, environment.separator, environment.workers);
        if (model.T0 <= model.T1) ahead->start(model.T0);
    }
    project.ProjectName = CreateProjectFolder(environment.root, project.ProjectName);
    project.ProjectIndexPath = IndexPath(environment.root, project.ProjectName);
    try {
        return writeTimes(model, quadrature, grid, project, environment, progress, onRow, ahead ? &*ahead : nullptr);
    } catch (...) {
        if (!project.ResultsExist) DeletaPasta(environment.root, project.ProjectName);
        throw;
    }
}

}  // namespace kavrin
