// kavrin-batch-pictures: the map and animate commands of kavrin-batch, in a
// program of their own because they paint with Qt, whose libraries take time
// to load that a run should not pay.
#include "BatchCommand.h"
#include "BatchMap.h"
#include "gui/MapPainter.h"
#include "gui/PictureExport.h"
#include "gui/Settings.h"
#include "map/AnimationFrames.h"
#include "program/ProgramSwitches.h"

#include <QGuiApplication>

#include <iostream>
#include <optional>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    using namespace kavrin;
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (const auto status = AnswerProgramSwitch("kavrin-batch-pictures", words, kBatchUsage, std::cout)) return *status;
    if (words.empty() || (words[0] != "map" && words[0] != "animate")) {
        std::cerr << kBatchUsage;
        return 2;
    }
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    const BatchEnvironment environment = ReadBatchEnvironment();
    // Qt starts only for a valid command line. The pictures are painted with
    // Qt's fonts; no display is needed.
    const auto paint = [&](const auto& draw) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication application(argc, argv);
        const auto [title, caption] = MapTextLanguagesFor(ChosenLanguage());
        draw(MapLanguages{title, caption});
    };
    if (words[0] == "animate") {
        return RunBatchCommand([&] { return ParseBatchAnimateOptions(rest); },
                               [&](const BatchAnimateOptions& options) {
                                   paint([&](const MapLanguages& languages) {
                                       PerformBatchAnimate(options, environment, languages, SystemAvailableMemory());
                                   });
                               });
    }
    return RunBatchCommand(
        [&] { return ParseBatchMapOptions(rest); },
        [&](const BatchMapOptions& options) {
            const auto [title, caption] = MapTextLanguagesFor(ChosenLanguage());
            // Qt and the map's font start while the first map is drawn.
            std::optional<QGuiApplication> application;
            const auto startPainting = [&] {
                qputenv("QT_QPA_PLATFORM", "offscreen");
                application.emplace(argc, argv);
                UseBuiltInPictureFormats();
                LoadMapFont();
            };
            for (const std::string& path : PerformBatchMap(options, environment, MapLanguages{title, caption}, startPainting))
                std::cout << path << "\n";
        });
}
