// kavrin-batch: the model run without a window.
#include "BatchCompare.h"
#include "BatchExport.h"
#include "BatchFit.h"
#include "BatchMap.h"
#include "BatchOptions.h"
#include "BatchRun.h"
#include "BatchSeries.h"
#include "Settings.h"
#include "text/DecimalSeparator.h"
#include "text/Errors.h"
#include "workspace/ExecutableFolder.h"
#include "workspace/Workspace.h"

#include <QGuiApplication>

#include <iostream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Parses a command line, then performs it: status 2 for a wrong command line,
// 1 with a one-line message for a failure, 0 for success.
template <class Parse, class Perform>
int command(const Parse& parse, const Perform& perform)
{
    decltype(parse()) options;
    try {
        options = parse();
    } catch (const std::invalid_argument& error) {
        std::cerr << "kavrin-batch: " << error.what() << "\n" << kavrin::kBatchUsage;
        return 2;
    }
    try {
        perform(options);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "kavrin-batch: " << error.what() << std::endl;
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace kavrin;
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) {
        std::cerr << kBatchUsage;
        return 2;
    }
    if (words[0] == "--help" || words[0] == "-h") {
        std::cout << kBatchUsage;
        return 0;
    }
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    BatchEnvironment environment;
    environment.root = WorkspaceRoot();
    environment.valoresPath = ExecutableFolder() + "valores.txt";
    environment.separator = SystemDecimalSeparator();
    if (::isatty(STDERR_FILENO)) environment.progress = &std::cerr;
    if (words[0] == "export") {
        return command([&] { return ParseBatchExportOptions(rest); },
                       [&](const BatchExportOptions& options) { PerformBatchExport(options, environment); });
    }
    if (words[0] == "series") {
        return command([&] { return ParseBatchSeriesOptions(rest); },
                       [&](const BatchSeriesOptions& options) { PerformBatchSeries(options, environment, std::cout); });
    }
    if (words[0] == "compare") {
        return command([&] { return ParseBatchCompareOptions(rest); }, [&](const BatchCompareOptions& options) {
            PerformBatchCompare(options, environment, std::cout);
        });
    }
    if (words[0] == "fit") {
        return command([&] { return ParseBatchFitOptions(rest); },
                       [&](const BatchFitOptions& options) { PerformBatchFit(options, environment, std::cout); });
    }
    if (words[0] == "map" || words[0] == "animate") {
        // The pictures are painted with Qt's fonts; no display is needed.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication application(argc, argv);
        const MapLanguages languages{GetRegistryValue("Software\\KAVRIN", "Language") == "Port", !EnglishChosen()};
        if (words[0] == "animate") {
            return command([&] { return ParseBatchAnimateOptions(rest); },
                           [&](const BatchAnimateOptions& options) { PerformBatchAnimate(options, environment, languages); });
        }
        return command([&] { return ParseBatchMapOptions(rest); }, [&](const BatchMapOptions& options) {
            for (const std::string& path : PerformBatchMap(options, environment, languages)) std::cout << path << "\n";
        });
    }
    if (words[0] != "run") {
        std::cerr << "kavrin-batch: unknown command \"" << words[0] << "\"\n" << kBatchUsage;
        return 2;
    }
    return command([&] { return ParseBatchRunOptions(rest); }, [&](const BatchRunOptions& options) {
        std::cout << PerformBatchRun(options, environment) << std::endl;
    });
}
