#include "BatchGeoExport.h"

#include "BatchProject.h"
#include "calibration/Comparison.h"
#include "calibration/ObservationWeights.h"
#include "geo/ContourExport.h"
#include "geo/GeoTiffExport.h"
#include "geo/WellExport.h"
#include "model/SourceTextRules.h"
#include "solution/Parallel.h"
#include "text/Errors.h"
#include "text/NumberText.h"
#include "workspace/ResultLoading.h"

#include <cerrno>
#include <filesystem>
#include <memory>
#include <ostream>

namespace kavrin {

namespace {

// One time's grid: the --file named, or the project's time file.
struct LoadedTime {
    std::unique_ptr<ResultGrid> grid = std::make_unique<ResultGrid>();
    std::string path;
    std::optional<double> time;  // days, when the file's name says
};

LoadedTime loadTime(const BatchGeoExportOptions& options, const std::string& resultsFolder, const ModelState& model,
                    char separator)
{
    LoadedTime loaded;
    std::string timeText;
    if (options.resultsPath) {
        loaded.path = *options.resultsPath;
        const std::string name = std::filesystem::path(loaded.path).stem().string();
        if (name.size() > 1 && name[0] == 'T') timeText = name.substr(1);
    } else {
        timeText = *options.time;
        loaded.path = (std::filesystem::path(resultsFolder) / ("T" + timeText + ".txt")).string();
    }
    if (!LoadResultFile(loaded.path, *loaded.grid, model, separator)) throw FileError(ENOENT, loaded.path);
    try {
        loaded.time = ParseFloat(timeText, separator);
    } catch (const KavrinError&) {
    }
    return loaded;
}

std::string resultsFolderOf(const std::string& path)
{
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

}  // namespace

void PerformBatchGeoExport(const BatchGeoExportOptions& options, const BatchEnvironment& environment, std::ostream& out)
{
    using Kind = BatchGeoExportOptions::Kind;
    const char separator = environment.separator;
    const ProjectFileContents project = ReadProjectFile(options.projectPath);
    const std::optional<SitePlacement> placement = ExportPlacement(project, options.sets);
    if (options.kind == Kind::Wells) {
        ParameterTexts texts = InitialParameterTexts();
        ArrumaCampos(texts, separator);
        ApplyProjectTexts(texts, project, separator);
        ObservationTable table;
        table.Import(*options.observationsPath, separator);
        ModelState model;
        QuadratureState quadrature;
        const Comparison comparison = CompareObservations(table.observations(), texts, environment.valoresPath, separator, model,
                                                          quadrature, WorkerCount());
        WellRequest request{comparison.observations,
                            comparison.calculated,
                            {},
                            placement,
                            options.to,
                            {options.projectPath, *options.observationsPath}};
        request.weights = ObservationWeights(table.weights(), comparison.observations, WeightRule::Table, 0, separator);
        WriteWells(request);
    } else {
        const ModelState model = ProjectModel(project, separator);
        const std::string resultsFolder = resultsFolderOf(ProjectIndex(project, environment));
        const LoadedTime loaded = loadTime(options, resultsFolder, model, separator);
        const std::vector<std::string> read{options.projectPath, loaded.path};
        if (options.kind == Kind::GeoTiff) {
            WriteGeoTiff({model, *loaded.grid, placement, options.northUpCell, options.to, read, resultsFolder});
        } else {
            WriteContours(
                {model, *loaded.grid, placement, options.levels, loaded.time, options.filled, options.to, read, resultsFolder});
        }
    }
    out << options.to << "\n";
    if (const std::string note = PlacementNote(placement); !note.empty()) out << note << "\n";
}

}  // namespace kavrin
