// kavrin-batch: the model run without a window. The run, the exports, the
// series and the comparison are done here, on the core alone, so that a run
// starts in a few milliseconds; the fit (Ceres), the pictures (Qt) and the
// georeferenced exports (GDAL) are handed to sibling programs that load those libraries.
#include "BatchBalance.h"
#include "BatchCommand.h"
#include "BatchCompare.h"
#include "BatchExport.h"
#include "BatchMetrics.h"
#include "BatchRun.h"
#include "BatchSeries.h"
#include "BatchUncertainty.h"
#include "program/ProgramSwitches.h"

#include <atomic>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

namespace {

// The stop signal that came, 0 until one does. A run ends after the time being
// written, as the desktop's Cancel does; a second signal ends the program at
// once (the default action is back), which still leaves a true index.
std::atomic<int> stopSignal{0};

void noteStopSignal(int signal)
{
    stopSignal.store(signal);
}

void catchStopSignals()
{
    struct sigaction action {};
    action.sa_handler = noteStopSignal;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
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
    if (const auto status = AnswerProgramSwitch("kavrin-batch", words, kBatchUsage, std::cout)) return *status;
    const std::string& name = words[0];
    if (name == "--help" || name == "-h") {
        std::cout << kBatchUsage;
        return 0;
    }
    if (name == "fit") return HandOverTo("kavrin-batch-fit", argv);
    if (name == "map" || name == "animate") return HandOverTo("kavrin-batch-pictures", argv);
    if (name == "export" && words.size() > 1 && IsGeoExportKind(words[1]))
        return HandOverTo(words[1] == "mapworld" ? "kavrin-batch-pictures" : "kavrin-batch-gis", argv);

    const std::vector<std::string> rest(words.begin() + 1, words.end());
    const BatchEnvironment environment = ReadBatchEnvironment();
    if (name == "run") {
        catchStopSignals();
        BatchRunStop stop{stopSignal};
        const int status = RunBatchCommand(
            [&] { return ParseBatchRunOptions(rest); },
            [&](const BatchRunOptions& options) { std::cout << PerformBatchRun(options, environment, &stop) << std::endl; });
        if (status != 0 || !stop.stopped) return status;
        // Stopped by a signal: the status a shell gives a program that the signal ended.
        const int signal = stop.signal.load();
        std::cerr << "kavrin-batch: stopped by " << (signal == SIGINT ? "SIGINT" : "SIGTERM") << " after " << stop.timesWritten
                  << " of " << stop.times << " times; the index lists the complete ones" << std::endl;
        return 128 + signal;
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
        return RunBatchCommand([&] { return ParseBatchCompareOptions(rest); },
                               [&](const BatchCompareOptions& options) { PerformBatchCompare(options, environment, std::cout); });
    }
    if (name == "balance") {
        return RunBatchCommand([&] { return ParseBatchBalanceOptions(rest); },
                               [&](const BatchBalanceOptions& options) { PerformBatchBalance(options, environment, std::cout); });
    }
    if (name == "metrics") {
        return RunBatchCommand(
            [&] { return ParseBatchMetricsOptions(rest); },
            [&](const BatchMetricsOptions& options) { PerformBatchMetrics(options, environment, std::cout, std::cerr); });
    }
    if (name == "uncertainty") {
        return RunBatchCommand(
            [&] { return ParseBatchUncertaintyOptions(rest); },
            [&](const BatchUncertaintyOptions& options) { PerformBatchUncertainty(options, environment, std::cout); });
    }
    if (name == "merge") {
        return RunBatchCommand([&] { return ParseBatchMergeOptions(rest); },
                               [&](const BatchMergeOptions& options) { PerformBatchMerge(options, std::cout); });
    }
    std::cerr << "kavrin-batch: unknown command \"" << name << "\"\n" << kBatchUsage;
    return 2;
}
