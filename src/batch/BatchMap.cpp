#include "BatchMap.h"

#include "BatchProject.h"
#include "calibration/Observations.h"
#include "gui/MapPainter.h"
#include "gui/PictureExport.h"
#include "map/AnimatedGif.h"
#include "map/AnimationFrames.h"
#include "map/MapPicture.h"
#include "map/MapWells.h"
#include "map/MapWorldFile.h"
#include "model/GridOnSite.h"
#include "solution/Parallel.h"
#include "text/Errors.h"
#include "workspace/ResultLoading.h"
#include "workspace/Workspace.h"

#include <cerrno>
#include <filesystem>
#include <functional>
#include <ostream>

namespace kavrin {

namespace {

// The time texts of the project, T0, T0 + DT, … T1, as far as its index lists them.
std::vector<std::string> projectTimes(const ModelState& model, const std::string& indexPath, char separator)
{
    const std::optional<std::vector<double>> times = ListedRunTimes(model, indexPath);
    if (!times) throw CheckError("The project's times T0, T0 + DT, … never reach T1; no picture was drawn.");
    std::vector<std::string> texts;
    for (double t : *times) texts.push_back(TimeText(t, separator));
    return texts;
}

// The wells of a saved observation table, each row compared with the model
// as "Calcular" compares it: every cell must be filled in with a number.
std::vector<MapWell> tableWells(const std::string& path, const ModelState& model, const BatchEnvironment& environment)
{
    const char separator = environment.separator;
    ObservationTable table;
    table.Import(path, separator);
    const std::vector<ObservationTexts> rows = table.observations();
    std::vector<Observation> observations;
    try {
        observations = ReadObservations(rows, separator);
    } catch (const ObservationsIncomplete& incomplete) {
        throw CheckError(path + ": row " + std::to_string(incomplete.cell.row) +
                         " has an empty cell; every well's C, X, Y, Z and T are needed to compare it with the model.");
    } catch (const ObservationValueError& error) {
        throw CheckError(path + ": row " + std::to_string(error.cell.row) + ": " + error.what());
    }
    if (observations.empty()) return {};
    QuadratureState quadrature;
    LoadGaussOrder(quadrature, model.GaussOrder, environment.valoresPath, separator);
    const std::vector<double> calculated = CalculatedConcentrations(observations, model, quadrature, WorkerCount());
    std::vector<double> residuals;
    for (std::size_t i = 0; i < observations.size(); ++i) residuals.push_back(observations[i].C - calculated[i]);
    return MapWellsOf(rows, separator, residuals);
}

// Loads each time and paints its map, handing the picture on.
void drawMaps(const std::string& projectPath, const std::vector<std::string>* chosen, const BatchEnvironment& environment,
              const MapLanguages& languages, const MapOptions& options, const std::optional<std::string>& wellsPath,
              const std::function<void(std::size_t, const std::string&, const QImage&)>& use)
{
    const ProjectFileContents project = ReadProjectFile(projectPath);
    const ModelState model = ProjectModel(project, environment.separator);
    const std::vector<MapWell> wells = wellsPath ? tableWells(*wellsPath, model, environment) : std::vector<MapWell>{};
    const std::vector<std::string> times = chosen ? *chosen : projectTimes(model, project.indexPath, environment.separator);
    ResultGrid grid;
    for (std::size_t n = 0; n < times.size(); ++n) {
        const std::string results = ResultFilePath(environment.root, project.projectName, times[n]);
        if (!LoadResultFile(results, grid, model, environment.separator)) throw FileError(ENOENT, results);
        use(n, times[n],
            PaintMapPicture(DesenhaMapa({model, grid, times[n], languages.titleInPortuguese, languages.captionInPortuguese,
                                         environment.separator, options, wells})));
    }
}

}  // namespace

std::vector<std::string> PerformBatchMap(const BatchMapOptions& options, const BatchEnvironment& environment,
                                         const MapLanguages& languages)
{
    if (options.all) {
        std::error_code error;
        std::filesystem::create_directories(options.to, error);
        if (error) throw FileError(error.value(), options.to);
    }
    const std::vector<std::string> one{options.time.value_or("")};
    std::vector<std::string> written;
    drawMaps(options.projectPath, options.all ? nullptr : &one, environment, languages, options.picture, options.wellsPath,
             [&](std::size_t, const std::string& time, const QImage& picture) {
                 const std::string path =
                     options.all ? (std::filesystem::path(options.to) / ("T" + time + ".bmp")).string() : options.to;
                 WriteBitmap(picture, QString::fromStdString(path));
                 written.push_back(path);
             });
    return written;
}

void PerformBatchAnimate(const BatchAnimateOptions& options, const BatchEnvironment& environment, const MapLanguages& languages,
                         std::optional<std::uint64_t> availableMemory)
{
    if (availableMemory && !EnoughMemoryForFrames(*availableMemory))
        throw CheckError("Less than 50 MB of memory is free; no animation was made. Close other programs and try again.");
    AnimatedGifWriter gif(options.to, options.delayMs);
    drawMaps(options.projectPath, nullptr, environment, languages, options.picture, options.wellsPath,
             [&](std::size_t, const std::string&, const QImage& picture) {
                 const QImage frame = picture.convertToFormat(QImage::Format_RGB888);
                 gif.addFrame({frame.constBits(), frame.width(), frame.height(), frame.bytesPerLine()});
             });
    gif.finish();
}

void PerformBatchMapWorld(const BatchGeoExportOptions& options, const BatchEnvironment& environment,
                          const MapLanguages& languages, std::ostream& out)
{
    const ProjectFileContents project = ReadProjectFile(options.projectPath);
    const std::optional<SitePlacement> placement = ExportPlacement(project, options.sets);
    const ModelState model = ProjectModel(project, environment.separator);
    const std::array<double, 6> numbers = MapWorldNumbers(model, DefineMapGeometry(model), placement.value_or(LocalPlacement()));
    const std::vector<std::string> one{*options.time};
    const std::string world = WorldFilePath(options.to);
    drawMaps(options.projectPath, &one, environment, languages, {}, std::nullopt,
             [&](std::size_t, const std::string&, const QImage& picture) {
                 WriteBitmap(picture, QString::fromStdString(options.to));
                 WriteMapWorldFile(world, numbers);
             });
    out << options.to << "\n" << world << "\n";
    if (const std::string note = PlacementNote(placement); !note.empty()) out << note << "\n";
}

}  // namespace kavrin
