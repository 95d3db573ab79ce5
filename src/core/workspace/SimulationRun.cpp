#include "workspace/SimulationRun.h"

#include "text/TextFile.h"
#include "workspace/Workspace.h"

namespace kavrin {

void WriteRun(const ModelState& model, QuadratureState& quadrature, ResultGrid& grid,
              ProjectState& project, const RunEnvironment& environment,
              RunProgress& progress, const RowCallback& onRow)
{
    project.ResultsExist = true;
    project.ProjectName = CreateProjectFolder(environment.root, project.ProjectName);
    project.ProjectIndexPath = IndexPath(environment.root, project.ProjectName);
    TextFileWriter index(project.ProjectIndexPath);

    const std::uint64_t points = static_cast<std::uint64_t>(model.NX + 1 > 0 ? model.NX + 1 : 0)
                               * static_cast<std::uint64_t>(model.NY + 1 > 0 ? model.NY + 1 : 0);
    progress.CurrentTime = model.T0;
    progress.PointsTotal = CountTimes(model.T0, model.T1, model.DT) * points;
    progress.PointsDone = 0;

    TransportContext context{model, quadrature, grid, progress, environment.valoresPath, environment.separator, onRow,
                             environment.reference, environment.workers};
    while (progress.CurrentTime <= model.T1) {
        const std::string path = TimeFilePath(environment.root, project.ProjectName, progress.CurrentTime, environment.separator);
        TextFileWriter timeFile(path);
        index.writeLine(path);
        Transporte(progress.CurrentTime, context, timeFile);
        timeFile.close();
        progress.CurrentTime = progress.CurrentTime + model.DT;
    }
    index.close();
}

}  // namespace kavrin
