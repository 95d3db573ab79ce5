// Measures 1000 realizations of one 451 × 451 time at order 256 with four
// thresholds against 1000 × the bare kernel of one deterministic time, both in
// this run (target: at most 1.3 ×), and the peak memory (target: under 256 MB).
#include "BenchPlume.h"
#include "BenchTiming.h"
#include "model/Variaveis.h"
#include "solution/FieldKernel.h"
#include "solution/Parallel.h"
#include "text/NumberText.h"
#include "uncertainty/UncertaintyRun.h"
#include "uncertainty/VariedParameterText.h"
#include "workspace/ExecutableFolder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/resource.h>
#include <vector>

using namespace kavrin;

namespace {

constexpr double kTime = bench::kPlumeTime;
using bench::PlumeModel;

// Seconds of processor time of every thread of the process: the work itself,
// whatever other programs take of the machine meanwhile.
double processorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::uint64_t realizations = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000;
    const unsigned workers = WorkerCount();
    const ModelState model = PlumeModel(256);
    QuadratureState q;
    LoadGaussOrder(q, 256, ExecutableFolder() + "valores.txt", '.');

    UncertaintySettings settings;
    for (const char* text : {"C0=lognormal:1,1.5", "AlphaX=lognormal:10,1.5", "Kxx=uniform:0.5,2"})
        settings.varied.push_back(ParseVariedParameter(text, '.'));
    settings.thresholds = {{0.01, "0.01"}, {0.001, "0.001"}, {0.1, "0.1"}, {0.5, "0.5"}};
    settings.times = {{kTime, FormatGeneral(kTime, '.')}};
    settings.realizations = realizations;
    settings.seed = 7;

    TimeField field;
    std::vector<double> bare;
    constexpr int kBareRounds = 41;
    const double bareStart = processorSeconds();
    for (int round = 0; round < kBareRounds; ++round)
        bare.push_back(bench::seconds(1, [&] { ComputeTimeField(kTime, model, q, workers, field); }));
    const double bareProcessor = (processorSeconds() - bareStart) / kBareRounds;
    std::sort(bare.begin(), bare.end());
    const double before = peakMegabytes();

    const double runStart = processorSeconds();
    const auto start = std::chrono::steady_clock::now();
    const auto results = RunUncertainty(model, q, settings, workers, {}, nullptr);
    const double run = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double perRealization = run / static_cast<double>(realizations);
    const double processorPerRealization = (processorSeconds() - runStart) / static_cast<double>(realizations);

    std::printf("Uncertainty maps: %llu realizations of one 451 x 451 time at order 256, four thresholds, %u threads\n",
                static_cast<unsigned long long>(realizations), workers);
    std::printf("  bare kernel, one time: %.2f ms (median %.2f)\n", bare.front() * 1e3, bare[bare.size() / 2] * 1e3);
    std::printf(
        "  realizations: %.2f s, %.2f ms each = %.2f x the fastest bare time (%.2f x the median)  target: at most 1.3 x\n", run,
        perRealization * 1e3, perRealization / bare.front(), perRealization / bare[bare.size() / 2]);
    std::printf("  processor time: bare %.2f ms, per realization %.2f ms = %.2f x  target: at most 1.3 x\n", bareProcessor * 1e3,
                processorPerRealization * 1e3, processorPerRealization / bareProcessor);
    std::printf("  peak memory: %.0f MB (%.0f MB before the run)  target: under 256 MB\n", peakMegabytes(), before);
    return results ? 0 : 1;
}
