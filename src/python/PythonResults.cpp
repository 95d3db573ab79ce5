#include "PythonResults.h"

#include "BatchProject.h"
#include "BatchRun.h"
#include "charts/GridAxis.h"
#include "text/Errors.h"
#include "text/NumberText.h"
#include "workspace/ResultLoading.h"
#include "workspace/Workspace.h"

#include <fstream>

namespace kavrin {

namespace {

BatchEnvironment environmentOf(const PythonModel* model, const std::string& root, char separator)
{
    BatchEnvironment environment;
    environment.root = root;
    if (model) environment.valoresPath = model->valoresPath;
    environment.separator = separator;
    return environment;
}

std::vector<std::string> indexLines(const std::string& indexPath)
{
    std::ifstream index(indexPath, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(index, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

ResultGrid loadTime(const PythonResults& results, std::size_t k)
{
    if (k >= results.files.size()) throw std::out_of_range("no time " + std::to_string(k) + " in the results");
    ResultGrid grid;
    if (!LoadResultFile(results.files[k], grid, results.model, results.separator))
        throw CheckError("The results file " + results.files[k] + " does not exist.");
    return grid;
}
}  // namespace

std::string RunPythonModel(const PythonModel& model, const std::string& name, const std::string& root,
                           const std::string& savePath, char separator, const std::atomic<int>& stop)
{
    BatchRunOptions options;
    options.sets = ModelTexts(model);
    if (!name.empty()) options.projectName = name;
    if (!savePath.empty()) options.savePath = savePath;
    BatchRunStop stopped{stop};
    return PerformBatchRun(options, environmentOf(&model, root, separator), &stopped);
}

PythonResults OpenPythonResults(const std::string& projectPath, const std::string& root, char separator)
{
    const ProjectFileContents project = ReadProjectFile(projectPath);
    PythonResults results;
    results.separator = separator;
    results.model = ProjectModel(project, separator);
    results.indexPath = ResolveIndexPath(ProjectIndex(project, environmentOf(nullptr, root, separator)));
    const auto times = ListedRunTimes(results.model, results.indexPath);
    if (!times) throw CheckError("The times T0, T0 + DT, … never pass T1 within 1000000 times.");
    results.files = indexLines(results.indexPath);
    results.times = *times;
    results.times.resize(std::min(results.times.size(), results.files.size()));
    results.files.resize(results.times.size());
    return results;
}

void LoadPythonResultsTime(const PythonResults& results, std::size_t k, double* out)
{
    const ResultGrid grid = loadTime(results, k);
    const int rows = results.model.NY + 1, columns = results.model.NX + 1;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) *out++ = grid.at(column + 1, row + 1);
}

ChartPoints ResultsTimeSeries(const PythonResults& results, double x, double y)
{
    ChartPoints points;
    if (!ConcentrationTimeSeries(results.indexPath, results.model, RoundTripText(x, results.separator),
                                 RoundTripText(y, results.separator), results.separator, points))
        throw CheckError("The index file " + results.indexPath + " does not exist.");
    return points;
}

ChartPoints ResultsProfile(const PythonResults& results, std::size_t k, bool alongX, double across)
{
    const GridAxis acrossAxis = alongX ? YAxisOf(results.model) : XAxisOf(results.model);
    const int node = NodeOf(acrossAxis, across, results.separator);
    return GridProfile(loadTime(results, k), alongX ? XAxisOf(results.model) : YAxisOf(results.model), node);
}

}  // namespace kavrin
