// kavrin-batch: the model run without a window. The run, the exports, the
// series and the comparison are done here, on the core alone, so that a run
// starts in a few milliseconds; the fit (Ceres) and the pictures (Qt) are
// handed to sibling programs that load those libraries.
#include "BatchCommand.h"
#include "BatchCompare.h"
#include "BatchExport.h"
#include "BatchRun.h"
#include "BatchSeries.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    using namespace kavrin;
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) {
        std::cerr << kBatchUsage;
        return 2;
    }
    const std::string& name = words[0];
    if (name == "--help" || name == "-h") {
        std::cout << kBatchUsage;
        return 0;
    }
    if (name == "fit") return HandOverTo("kavrin-batch-fit", argv);
    if (name == "map" || name == "animate") return HandOverTo("kavrin-batch-pictures", argv);

    const std::vector<std::string> rest(words.begin() + 1, words.end());
    const BatchEnvironment environment = ReadBatchEnvironment();
    if (name == "run") {
        return RunBatchCommand([&] { return ParseBatchRunOptions(rest); }, [&](const BatchRunOptions& options) {
            std::cout << PerformBatchRun(options, environment) << std::endl;
        });
    }
    if (name == "export") {
        return RunBatchCommand([&] { return ParseBatchExportOptions(rest); },
                               [&](const BatchExportOptions& options) { PerformBatchExport(options, environment); });
    }
    if (name == "series") {
        return RunBatchCommand([&] { return ParseBatchSeriesOptions(rest); },
                               [&](const BatchSeriesOptions& options) { PerformBatchSeries(options, environment, std::cout); });
    }
    if (name == "compare") {
        return RunBatchCommand([&] { return ParseBatchCompareOptions(rest); }, [&](const BatchCompareOptions& options) {
            PerformBatchCompare(options, environment, std::cout);
        });
    }
    std::cerr << "kavrin-batch: unknown command \"" << name << "\"\n" << kBatchUsage;
    return 2;
}
