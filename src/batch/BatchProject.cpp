#include "BatchProject.h"

#include "model/ParameterTexts.h"
#include "model/Variaveis.h"
#include "text/Errors.h"
#include "workspace/Workspace.h"

#include <filesystem>

namespace kavrin {

ModelState ProjectModel(const ProjectFileContents& project, char separator)
{
    ParameterTexts texts = InitialParameterTexts();
    ArrumaCampos(texts, separator);
    ApplyProjectTexts(texts, project, separator);
    ModelState model;
    Variaveis(texts, model, separator);
    return model;
}

std::string ProjectIndex(const ProjectFileContents& project, const BatchEnvironment& environment)
{
    return project.indexPath.empty() ? IndexPath(environment.root, project.projectName) : project.indexPath;
}

NamedLines SaveCalibrationWithProject(StoredCalibration calibration, const ObservationTable* table, const std::string& folder,
                                      const std::string& projectFile, const NamedLines& carried)
{
    calibration.observationFile.reset();
    if (table) {
        calibration.observationFile = ObservationFileName(projectFile);
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) throw FileError(error.value(), folder);
        table->Save(folder + *calibration.observationFile);
    }
    NamedLines lines = CalibrationNamedLines(calibration);
    lines.insert(lines.end(), carried.begin(), carried.end());
    return lines;
}

std::optional<SitePlacement> ExportPlacement(const ProjectFileContents& project,
                                             const std::vector<std::pair<std::string, std::string>>& sets)
{
    SitePlacementTexts texts = project.texts.site;
    for (const auto& [name, value] : sets) *SitePlacementText(texts, name) = value;
    return SitePlacementOf(texts);
}

std::string PlacementNote(const std::optional<SitePlacement>& placement)
{
    if (!placement)
        return "The project has no site placement: the export is in the model's local coordinates (x, y), without a CRS.";
    if (placement->crs.empty()) return "The project's placement names no CRS: the export has none.";
    return "";
}

}  // namespace kavrin
