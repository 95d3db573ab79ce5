#include "BatchMap.h"

#include "BatchProject.h"
#include "BitmapFile.h"
#include "MapPainter.h"
#include "map/MapPicture.h"
#include "text/Errors.h"
#include "workspace/ResultLoading.h"
#include "workspace/Workspace.h"

#include <cerrno>
#include <filesystem>

namespace kavrin {

std::vector<std::string> PerformBatchMap(const BatchMapOptions& options, const BatchEnvironment& environment, const MapLanguages& languages)
{
    const ProjectFileContents project = ReadProjectFile(options.projectPath);
    const ModelState model = ProjectModel(project, environment.separator);

    std::vector<std::pair<std::string, std::string>> pictures;  // (time text, picture path)
    if (options.all) {
        if (!TimeSeriesIsBounded(model.T0, model.T1, model.DT))
            throw CheckError("The project's times T0, T0 + DT, … never reach T1; no picture was drawn.");
        std::error_code error;
        std::filesystem::create_directories(options.to, error);
        if (error) throw FileError(error.value(), options.to);
        for (double t = model.T0; t <= model.T1; t += model.DT) {
            const std::string time = TimeText(t, environment.separator);
            pictures.emplace_back(time, (std::filesystem::path(options.to) / ("T" + time + ".bmp")).string());
        }
    } else {
        pictures.emplace_back(*options.time, options.to);
    }

    ResultGrid grid;
    std::vector<std::string> written;
    for (const auto& [time, path] : pictures) {
        const std::string results = ResultFilePath(environment.root, project.projectName, time);
        if (!LoadResultFile(results, grid, environment.separator))
            throw FileError(ENOENT, results);
        const MapPicture map = DesenhaMapa({model, grid, time, languages.titleInPortuguese, languages.captionInPortuguese, environment.separator});
        WriteBitmap(PaintMapPicture(map), QString::fromStdString(path));
        written.push_back(path);
    }
    return written;
}

}  // namespace kavrin
