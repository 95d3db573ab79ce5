#include "project/SiteExport.h"

#include "calibration/Comparison.h"
#include "calibration/ObservationWeights.h"
#include "geo/ContourExport.h"
#include "geo/GeoTiffExport.h"
#include "geo/ProjectionFile.h"
#include "geo/WellExport.h"
#include "gui/MapPainter.h"
#include "gui/PictureExport.h"
#include "gui/SaveName.h"
#include "gui/Settings.h"
#include "map/MapPicture.h"
#include "map/MapWorldFile.h"
#include "model/GridOnSite.h"
#include "observations/TObservacao.h"
#include "project/SiteExportPanel.h"
#include "project/TFormExportGRD.h"
#include "solution/Parallel.h"
#include "text/Errors.h"
#include "text/NumberText.h"
#include "workspace/ResultLoading.h"
#include "workspace/Workspace.h"

#include <QFileInfo>
#include <QLineEdit>

#include <cerrno>
#include <memory>

namespace kavrin {

namespace {

// A number typed in either decimal separator; a text that is not one is refused naming its field.
double typedNumber(const AppState& app, AddedText field, const QLineEdit* edit)
{
    const std::optional<double> number = PlacementNumber(edit->text().trimmed().toStdString());
    if (!number) throw CheckError(app.text(AddedText::SiteNotANumber).arg(app.text(field), edit->text()).toStdString());
    return *number;
}

std::vector<double> typedLevels(const AppState& app, const QLineEdit* edit)
{
    std::vector<double> levels;
    for (const QString& word : edit->text().split(';', Qt::SkipEmptyParts)) {
        QLineEdit one(word);
        levels.push_back(typedNumber(app, AddedText::SiteLevels, &one));
    }
    return levels;
}

}  // namespace

void ExportToSite(AppState& app, Dialogs& dialogs, const TFormExportGRD& window)
{
    using Format = SiteExportPanel::Format;
    const SiteExportPanel& panel = *window.SitePanel;
    const SitePlacementTexts texts = panel.placementTexts();
    const std::optional<SitePlacement> placement = SitePlacementOf(texts);
    const std::string to = WithExtension(window.Edit2->text(), panel.extension(), {".geojson"}).toStdString();
    const std::string results = window.Edit1->text().toStdString();
    const std::string resultsFolder = ProjectFolderPath(app.project.Root, app.project.ProjectName);
    const Format format = panel.format();

    if (format == Format::Wells) {
        const ObservationTable& table = app.windows.observacao->table();
        ModelState model;
        QuadratureState quadrature;
        const Comparison comparison =
            CompareObservations(table.observations(), app.texts, (app.executableFolder + "valores.txt").toStdString(),
                                app.separator, model, quadrature, WorkerCount());
        WriteWells({comparison.observations,
                    comparison.calculated,
                    ObservationWeights(table.weights(), comparison.observations, WeightRule::Table, 0, app.separator),
                    placement,
                    to,
                    {}});
    } else {
        auto grid = std::make_unique<ResultGrid>();
        if (!LoadResultFile(results, *grid, app.model, app.separator)) throw FileError(ENOENT, results);
        const QString name = QFileInfo(window.Edit1->text()).completeBaseName();
        std::optional<double> time;
        try {
            time = ParseFloat(name.mid(1).toStdString(), app.separator);
        } catch (const KavrinError&) {
        }
        const std::vector<std::string> read{results};
        switch (format) {
        case Format::GeoTiff:
        case Format::NorthUp: {
            std::optional<double> cell;
            if (format == Format::NorthUp) cell = typedNumber(app, AddedText::SiteNorthUpCell, panel.SiteCell);
            WriteGeoTiff({app.model, *grid, placement, cell, to, read, resultsFolder});
            break;
        }
        case Format::Contours:
        case Format::Levels:
            WriteContours({app.model, *grid, placement, typedLevels(app, panel.SiteLevels), time, format == Format::Levels, to,
                           read, resultsFolder});
            break;
        default: {
            const MapTextLanguages languages = MapTextLanguagesFor(app.AppliedLanguage());
            const MapPicture map = DesenhaMapa({app.model, *grid, name.mid(1).toStdString(), languages.titleInPortuguese,
                                                languages.captionInPortuguese, app.separator});
            const std::array<double, 6> world = MapWorldNumbers(app.model, map.geometry, placement.value_or(LocalPlacement()));
            // A CRS GDAL cannot read is refused before anything is written.
            const std::string projection = EsriProjectionText(placement);
            WriteBitmap(PaintMapPicture(map), QString::fromStdString(to));
            WriteMapWorldFile(WorldFilePath(to), world);
            PlaceProjectionFile(to, projection);
        }
        }
    }
    // Written: the placement goes with the project, and is saved with it.
    app.texts.site = texts;
    app.resultsTexts.site = texts;
    if (!placement)
        dialogs.notice(app.text(AddedText::SiteLocalCoordinates));
    else if (placement->crs.empty())
        dialogs.notice(app.text(AddedText::SiteNoCrs));
}

}  // namespace kavrin
