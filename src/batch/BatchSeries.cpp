#include "BatchSeries.h"

#include "BatchProject.h"
#include "charts/ChartSeries.h"
#include "text/DecimalSeparator.h"
#include "text/NumberText.h"
#include "workspace/ResultLoading.h"

namespace kavrin {

namespace {

ChartPoints profile(const BatchSeriesOptions& options, const ProjectFileContents& project, const ModelState& model,
                    const BatchEnvironment& environment)
{
    const char s = environment.separator;
    const bool alongX = options.kind == BatchSeriesOptions::Kind::Longitudinal;
    const GridAxis across = alongX ? YAxisOf(model) : XAxisOf(model);
    const int node = NodeOf(across, ParseFloat(ArrumaDecimal(alongX ? *options.y : *options.x, s), s), s);
    const GridAxis along = alongX ? XAxisOf(model) : YAxisOf(model);
    const std::string path = ResultFilePath(environment.root, project.projectName, ArrumaDecimal(*options.time, s));
    ResultGrid grid;
    if (!LoadResultFile(path, grid, model, s)) throw CheckError("The results file " + path + " does not exist.");
    return GridProfile(grid, along, node);
}

}  // namespace

void PerformBatchSeries(const BatchSeriesOptions& options, const BatchEnvironment& environment, std::ostream& out)
{
    using Kind = BatchSeriesOptions::Kind;
    const char s = environment.separator;
    const ProjectFileContents project = ReadProjectFile(options.projectPath);
    const ModelState model = ProjectModel(project, s);
    ChartPoints points;
    if (options.kind == Kind::Time) {
        const std::string index = ProjectIndex(project, environment);
        if (!ConcentrationTimeSeries(index, model, ArrumaDecimal(*options.x, s), ArrumaDecimal(*options.y, s), s, points))
            throw CheckError("The index file " + index + " does not exist.");
    } else {
        points = profile(options, project, model, environment);
    }
    std::string csv = options.kind == Kind::Time ? "time" : options.kind == Kind::Longitudinal ? "x" : "y";
    csv += ",concentration\n";
    for (const ChartPoint& p : points) csv += FormatGeneral(p.x, '.') + "," + FormatGeneral(p.y, '.') + "\n";
    out << csv;
}

}  // namespace kavrin
