#include "BatchMap.h"

#include "BatchProject.h"
#include "calibration/Observations.h"
#include "gui/MapPainter.h"
#include "gui/MapVectorPainter.h"
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
#include <future>
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

// Loads each time and draws its map, handing the picture on. With
// `alongsideFirst`, the project and the first time are read and drawn on
// another thread while it runs: drawing needs no Qt, painting does, and each
// takes one core.
void drawMaps(const std::string& projectPath, const std::vector<std::string>* chosen, const BatchEnvironment& environment,
              const MapLanguages& languages, const MapOptions& options, const std::optional<std::string>& wellsPath,
              const std::function<void(std::size_t, const std::string&, const MapPicture&)>& use,
              const std::function<void()>& alongsideFirst = {})
{
    ProjectFileContents project;
    ModelState model;
    std::vector<MapWell> wells;
    std::vector<std::string> times;
    ResultGrid grid;
    const auto prepare = [&] {
        project = ReadProjectFile(projectPath);
        model = ProjectModel(project, environment.separator);
        if (wellsPath) wells = tableWells(*wellsPath, model, environment);
        times = chosen ? *chosen : projectTimes(model, project.indexPath, environment.separator);
    };
    const auto draw = [&](const std::string& time) {
        const std::string results = ResultFilePath(environment.root, project.projectName, time);
        if (!LoadResultFile(results, grid, model, environment.separator)) throw FileError(ENOENT, results);
        return DesenhaMapa({model, grid, time, languages.titleInPortuguese, languages.captionInPortuguese, environment.separator,
                            options, wells});
    };
    std::size_t n = 0;
    if (alongsideFirst) {
        std::future<std::optional<MapPicture>> first = std::async(std::launch::async, [&] {
            prepare();
            return times.empty() ? std::nullopt : std::optional<MapPicture>(draw(times.front()));
        });
        alongsideFirst();
        if (const std::optional<MapPicture> map = first.get()) use(n++, times.front(), *map);
    } else {
        prepare();
    }
    for (; n < times.size(); ++n) use(n, times[n], draw(times[n]));
}

QSize sizeOf(const MapOptions& options)
{
    return {options.width, options.height};
}

}  // namespace

std::vector<std::string> PerformBatchMap(const BatchMapOptions& options, const BatchEnvironment& environment,
                                         const MapLanguages& languages, const std::function<void()>& whileFirstMapIsDrawn)
{
    if (options.all) {
        std::error_code error;
        std::filesystem::create_directories(options.to, error);
        if (error) throw FileError(error.value(), options.to);
    }
    const std::vector<std::string> one{options.time.value_or("")};
    std::vector<std::string> written;
    drawMaps(
        options.projectPath, options.all ? nullptr : &one, environment, languages, options.picture, options.wellsPath,
        [&](std::size_t, const std::string& time, const MapPicture& map) {
            const std::string path =
                options.all ? (std::filesystem::path(options.to) / ("T" + time + PictureExtension(options.format))).string()
                            : options.to;
            WritePicture(MapPictureSource(map, sizeOf(options.picture)), options.format, QString::fromStdString(path));
            written.push_back(path);
        },
        whileFirstMapIsDrawn);
    return written;
}

void PerformBatchAnimate(const BatchAnimateOptions& options, const BatchEnvironment& environment, const MapLanguages& languages,
                         std::optional<std::uint64_t> availableMemory)
{
    if (availableMemory && !EnoughMemoryForFrames(*availableMemory))
        throw CheckError("Less than 50 MB of memory is free; no animation was made. Close other programs and try again.");
    AnimatedGifWriter gif(options.to, options.delayMs);
    drawMaps(options.projectPath, nullptr, environment, languages, options.picture, options.wellsPath,
             [&](std::size_t, const std::string&, const MapPicture& map) {
                 const QImage frame =
                     MapPictureSource(map, sizeOf(options.picture)).pixels().convertToFormat(QImage::Format_RGB888);
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
             [&](std::size_t, const std::string&, const MapPicture& map) {
                 WriteBitmap(PaintMapPicture(map), QString::fromStdString(options.to));
                 WriteMapWorldFile(world, numbers);
             });
    out << options.to << "\n" << world << "\n";
    if (const std::string note = PlacementNote(placement); !note.empty()) out << note << "\n";
}

}  // namespace kavrin
