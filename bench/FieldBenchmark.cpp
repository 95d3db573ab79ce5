// Measures the cost of one time of the field: the point formula, the
// whole-grid kernel (compute, and compute + write), a bare matrix product of
// the same shape, grid value formatting against std::to_chars, and the peak
// memory of a full-size run of 20 times. Prints one table; `make bench` runs it.
#include "workspace/ExecutableFolder.h"
#include "solution/FieldKernel.h"
#include "text/NumberText.h"
#include "solution/Parallel.h"
#include "workspace/SimulationRun.h"
#include "solution/Solution.h"
#include "text/TextFile.h"
#include "workspace/Transporte.h"
#include "model/Variaveis.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace kavrin;

namespace {

using Clock = std::chrono::steady_clock;

// Median seconds of `repeats` calls.
double seconds(int repeats, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int r = 0; r < repeats; ++r) {
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

ModelState fullSizeModel(const char* order, const char* finalTime = "2500")
{
    ParameterTexts texts = InitialParameterTexts();
    SetControlText(texts, 6, "450", '.');
    SetControlText(texts, 8, "225", '.');
    SetControlText(texts, 12, finalTime, '.');
    SetControlText(texts, 13, "2500", '.');
    SetControlText(texts, 0, order, '.');
    ModelState model;
    Variaveis(texts, model, '.');
    return model;
}

// Point formula per point, over a band of the grid that crosses the plume.
double pointFormulaSeconds(int order, const std::string& valores)
{
    const ModelState m = fullSizeModel(std::to_string(order).c_str());
    QuadratureState q;
    LoadGaussOrder(q, m.GaussOrder, valores, '.');
    const int count = 4000;
    volatile double sink = 0;
    const double total = seconds(3, [&] {
        for (int p = 0; p < count; ++p) sink = sink + PointConcentration(1 + p % 450, (p / 450) * 5 - 20, 0, 2500, m, q);
    });
    return total / count;
}

long peakKilobytesOfRun(const std::string& valores, const std::string& root)
{
    const pid_t child = fork();
    if (child == 0) {
        ModelState m = fullSizeModel("256", "47500");
        m.DT = 2500;
        QuadratureState q;
        ResultGrid grid;
        ProjectState project;
        project.ProjectName = "Bench";
        RunProgress progress;
        WriteRun(m, q, grid, project, RunEnvironment{root, valores, '.', false, WorkerCount()}, progress, {});
        _exit(progress.PointsDone == 20ull * 451 * 451 ? 0 : 1);
    }
    int status = 0;
    rusage usage {};
    wait4(child, &status, 0, &usage);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? usage.ru_maxrss : -1;
}

}  // namespace

int main()
{
    const std::string valores = ExecutableFolder() + "valores.txt";
    const unsigned workers = WorkerCount();
    const std::string scratch = std::filesystem::temp_directory_path().string() + "/kavrin-bench-" + std::to_string(getpid()) + "/";
    std::filesystem::create_directories(scratch);

    const double point60 = pointFormulaSeconds(60, valores);
    const double point256 = pointFormulaSeconds(256, valores);
    const double points = 451.0 * 451.0;

    const ModelState m = fullSizeModel("256");
    QuadratureState q;
    LoadGaussOrder(q, 256, valores, '.');
    TimeField field;
    const double compute = seconds(15, [&] { ComputeTimeField(2500, m, q, workers, field); });

    ResultGrid grid;
    RunProgress progress;
    TransportContext context{m, q, grid, progress, valores, '.', {}, false, workers};
    int fileNumber = 0;
    const double computeAndWrite = seconds(15, [&] {
        TextFileWriter file(scratch + "T" + std::to_string(++fileNumber) + ".txt");
        Transporte(2500, context, file);
        file.close();
    });

    const int n = 256, size = 451;
    std::vector<double> Y(static_cast<std::size_t>(size * n), 0.5), E(static_cast<std::size_t>(n * size), 0.25), S(static_cast<std::size_t>(size * size));
    const double product = seconds(15, [&] {
        ParallelFor(size, 4, workers, [&](int begin, int end) { MultiplyRows(Y.data(), n, E.data(), size, S.data(), begin, end); });
    });
    const double productOneCore = seconds(15, [&] { MultiplyRows(Y.data(), n, E.data(), size, S.data(), 0, size); });

    std::vector<char> text(static_cast<std::size_t>(points) * (kGridValueMaxLength + 1));
    const double format = seconds(15, [&] {
        char* out = text.data();
        for (double v : field.values) { out = WriteGridValue(out, v, '.'); *out++ = ' '; }
    });
    const double toChars = seconds(15, [&] {
        char* out = text.data();
        for (double v : field.values) { out = std::to_chars(out, out + 32, v, std::chars_format::scientific, 14).ptr; *out++ = ' '; }
    });
    const double write = computeAndWrite - compute;
    const long peak = peakKilobytesOfRun(valores, scratch);
    std::filesystem::remove_all(scratch);

    std::printf("KAVRIN field benchmark — %u worker thread(s), grid 451 x 451, order 256\n", workers);
    std::printf("  point formula, order 60          %10.3f us per point\n", point60 * 1e6);
    std::printf("  point formula, order 256         %10.3f us per point  (one time: %.1f s)\n", point256 * 1e6, point256 * points);
    std::printf("  fast kernel, compute             %10.2f ms per time\n", compute * 1e3);
    std::printf("  fast kernel, compute + write     %10.2f ms per time\n", computeAndWrite * 1e3);
    std::printf("  bare product 451x256 * 256x451   %10.2f ms (%u threads), %.2f ms (1 thread)\n", product * 1e3, workers, productOneCore * 1e3);
    std::printf("  grid value texts (WriteGridValue)%10.2f ms for 451 x 451 values\n", format * 1e3);
    std::printf("  std::to_chars scientific, 15 d.  %10.2f ms for 451 x 451 values\n", toChars * 1e3);
    std::printf("  speed-up over the point formula  %10.0f x (compute + write)\n", point256 * points / computeAndWrite);
    std::printf("  compute / bare product           %10.2f\n", compute / product);
    std::printf("  write / std::to_chars            %10.2f\n", write / toChars);
    std::printf("  peak memory, 20 times full size  %10.1f MB\n", peak / 1024.0);
    return 0;
}
