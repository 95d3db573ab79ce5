#include "workspace/SimulationRun.h"

#include "model/RunTimes.h"
#include "text/Errors.h"
#include "text/TextFile.h"
#include "workspace/ComputeAhead.h"
#include "workspace/RunIndex.h"
#include "workspace/Workspace.h"

#include <optional>
#include <unistd.h>

namespace kavrin {

namespace {

// Where a run's files go and what it has completed.
struct RunFiles {
    RunIndex& index;
    const std::string& root;
    ProjectState& project;
    char separator;

    // Writes one time through `write` under a hidden name, which becomes the
    // time's own name once the file is complete; only then is its index line
    // written. A failure leaves neither the file nor its line.
    template <class Write>
    void writeTime(double t, const Write& write)
    {
        const std::string path = TimeFilePath(root, project.ProjectName, t, separator);
        TextFileWriter timeFile(path, TextFileWriter::Mode::Replace);
        write(timeFile);
        timeFile.close();
        try {
            index.append(path);
        } catch (const FileError&) {
            ::unlink(path.c_str());  // a complete file the index cannot list is not a result
            throw;
        }
        project.ResultsExist = true;
    }
};

// Every time by the point formula, each computed as it is written.
void writeTimesByPoints(RunFiles& files, TransportContext& context, const std::vector<double>& times, double DT)
{
    RunProgress& progress = context.progress;
    for (std::size_t k = 0; k < times.size() && !context.stopRequested; ++k) {
        progress.CurrentTime = times[k];
        files.writeTime(times[k], [&](TextFileWriter& timeFile) { Transporte(times[k], context, timeFile); });
        progress.CurrentTime = times[k] + DT;
    }
}

// The whole-grid kernel computes time k + 1 while time k is formatted and
// written; the first time has been started already.
void writeTimesOverlapped(RunFiles& files, TransportContext& context, ComputeAhead& ahead, const std::vector<double>& times,
                          double DT)
{
    RunProgress& progress = context.progress;
    for (std::size_t k = 0; k < times.size() && !context.stopRequested; ++k) {
        progress.CurrentTime = times[k];
        files.writeTime(times[k], [&](TextFileWriter& timeFile) {
            const TimeField& field = ahead.take();
            if (k + 1 < times.size()) ahead.start(times[k + 1]);
            WriteTimeField(field, context, timeFile);
        });
        progress.CurrentTime = times[k] + DT;
    }
}

RunOutcome writeTimes(const ModelState& model, QuadratureState& quadrature, ResultGrid* grid, ProjectState& project,
                      const RunEnvironment& environment, RunProgress& progress, const RowCallback& onRow,
                      const std::vector<double>& times, ComputeAhead* ahead)
{
    RunIndex index(project.ProjectIndexPath);

    const std::uint64_t points = static_cast<std::uint64_t>(model.NX + 1 > 0 ? model.NX + 1 : 0) *
                                 static_cast<std::uint64_t>(model.NY + 1 > 0 ? model.NY + 1 : 0);
    progress.CurrentTime = model.T0;
    progress.PointsTotal = times.size() * points;
    progress.PointsDone = 0;

    TransportContext context{model,
                             quadrature,
                             grid,
                             progress,
                             environment.valoresPath,
                             environment.separator,
                             onRow,
                             environment.reference,
                             environment.workers};
    RunFiles files{index, environment.root, project, environment.separator};
    if (ahead)
        writeTimesOverlapped(files, context, *ahead, times, model.DT);
    else
        writeTimesByPoints(files, context, times, model.DT);
    index.close();
    return progress.CurrentTime <= model.T1 ? RunOutcome::Stopped : RunOutcome::Finished;
}

}  // namespace

RunOutcome WriteRun(const ModelState& model, QuadratureState& quadrature, ResultGrid* grid, ProjectState& project,
                    const RunEnvironment& environment, RunProgress& progress, const RowCallback& onRow)
{
    project.ResultsExist = false;
    const std::optional<std::vector<double>> times = RunTimes(model.T0, model.T1, model.DT);
    if (!times) throw CheckError("The times T0, T0 + DT, … never pass T1 within 1000000 times; nothing was written.");
    // With the whole-grid kernel the first time is computed while the folder,
    // the index and its file are created; a failure of either waits for it.
    std::optional<ComputeAhead> ahead;
    if (!environment.reference) {
        ahead.emplace(model, quadrature, environment.valoresPath, environment.separator, environment.workers);
        if (!times->empty()) ahead->start(times->front());
    }
    project.ProjectName = CreateProjectFolder(environment.root, project.ProjectName);
    project.ProjectIndexPath = IndexPath(environment.root, project.ProjectName);
    try {
        return writeTimes(model, quadrature, grid, project, environment, progress, onRow, *times, ahead ? &*ahead : nullptr);
    } catch (...) {
        if (!project.ResultsExist) DeletaPasta(environment.root, project.ProjectName);
        throw;
    }
}

}  // namespace kavrin
