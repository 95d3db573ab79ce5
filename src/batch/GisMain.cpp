// kavrin-batch-gis: the georeferenced exports of kavrin-batch (geotiff,
// contours, wells, and the map with its world file and .prj, mapworld), in a
// program of their own because GDAL and the many libraries it loads take time
// that a run, or a map without a CRS to write, should not pay.
#include "BatchCommand.h"
#include "BatchGeoExport.h"
#include "BatchMap.h"
#include "BatchProject.h"
#include "geo/ProjectionFile.h"
#include "gui/Settings.h"
#include "program/ProgramSwitches.h"

#include <QGuiApplication>

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    using namespace kavrin;
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (const auto status = AnswerProgramSwitch("kavrin-batch-gis", words, kBatchUsage, std::cout)) return *status;
    if (words.size() < 2 || words[0] != "export" || !IsGeoExportKind(words[1])) {
        std::cerr << kBatchUsage;
        return 2;
    }
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    const BatchEnvironment environment = ReadBatchEnvironment();
    if (words[1] == "mapworld") {
        return RunBatchCommand([&] { return ParseBatchGeoExportOptions(rest); },
                               [&](const BatchGeoExportOptions& options) {
                                   // A placement or a CRS that cannot be is refused before Qt starts and anything is written.
                                   const std::string projection =
                                       EsriProjectionText(ExportPlacement(ReadProjectFile(options.projectPath), options.sets));
                                   // The picture is painted with Qt's fonts; no display is needed.
                                   qputenv("QT_QPA_PLATFORM", "offscreen");
                                   QGuiApplication application(argc, argv);
                                   const auto [title, caption] = MapTextLanguagesFor(ChosenLanguage());
                                   PerformBatchMapWorld(options, environment, MapLanguages{title, caption}, std::cout);
                                   PlaceProjectionFile(options.to, projection);
                               });
    }
    return RunBatchCommand([&] { return ParseBatchGeoExportOptions(rest); },
                           [&](const BatchGeoExportOptions& options) { PerformBatchGeoExport(options, environment, std::cout); });
}
