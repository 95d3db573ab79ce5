// Measures the concentration-against-time chart of a full-size run (451 × 451
// points, 50 times) at the grid's far corner, where every file must be read
// up to its last line, beside the floor of reading those bytes at all and the
// cost of loading each file whole. `make bench` runs it.
#include "BenchTiming.h"
#include "charts/ChartSeries.h"
#include "model/Variaveis.h"
#include "solution/Parallel.h"
#include "workspace/ExecutableFolder.h"
#include "workspace/ResultLoading.h"
#include "workspace/SimulationRun.h"
#include "workspace/Workspace.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

using namespace kavrin;

namespace {

using bench::seconds;

// 451 × 451 points (X 0…450, Y −225…225 by 1), times 0, 100, … 4900.
ModelState fullSizeModel()
{
    ParameterTexts texts = InitialParameterTexts();
    for (const auto& [edit, text] : {std::pair{6, "450"}, {8, "225"}, {12, "4900"}, {13, "100"}, {0, "20"}})
        SetControlText(texts, edit, text, '.');
    ModelState model;
    Variaveis(texts, model, '.');
    return model;
}

// Reads every byte of the files: what no reader of their last lines can beat.
double readAllBytes(const std::vector<std::string>& files)
{
    std::vector<char> block(1 << 18);
    std::size_t total = 0;
    for (const std::string& path : files) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        for (std::size_t got; file && (got = std::fread(block.data(), 1, block.size(), file)) > 0;) total += got;
        if (file) std::fclose(file);
    }
    return static_cast<double>(total);
}

}  // namespace

int main()
{
    const std::string root =
        std::filesystem::temp_directory_path().string() + "/kavrin-chart-bench-" + std::to_string(getpid()) + "/";
    std::filesystem::create_directories(root);
    const ModelState model = fullSizeModel();
    QuadratureState quadrature;
    ProjectState project;
    project.ProjectName = "Bench";
    RunProgress progress;
    WriteRun(model, quadrature, nullptr, project,
             RunEnvironment{root, ExecutableFolder() + "valores.txt", '.', false, WorkerCount()}, progress, {});
    std::vector<std::string> files;
    for (double t = model.T0; t <= model.T1; t += model.DT) files.push_back(TimeFilePath(root, "Bench", t, '.'));

    ChartPoints points;
    const double curve = seconds(7, [&] {
        points.clear();
        ConcentrationTimeSeries(project.ProjectIndexPath, model, "450", "225", '.', points);
    });
    double bytes = 0;
    const double floor = seconds(7, [&] { bytes = readAllBytes(files); });
    ResultGrid grid;
    const double whole = seconds(3, [&] {
        for (const std::string& path : files) LoadResultFile(path, grid, model, '.');
    });
    std::filesystem::remove_all(root);

    std::printf("KAVRIN chart benchmark — concentration against time, grid 451 x 451, %zu times, node (450, 225)\n",
                files.size());
    std::printf("  concentration-time chart, far corner %8.3f s   (target: under 0.5 s; %zu points)\n", curve, points.size());
    std::printf("  floor: reading every byte once       %8.3f s   (%.0f MB)\n", floor, bytes / 1e6);
    std::printf("  loading each file whole instead      %8.3f s\n", whole);
    return points.size() == files.size() ? 0 : 1;
}
