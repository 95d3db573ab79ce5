// Measures the map's PNG against its bitmap and against a matplotlib script:
// a full-size run (451 × 451 grid, one late time of the start-up model, whose
// plume spans the grid) is made with kavrin-batch; then in process the map's
// bitmap and PNG bytes and the PNG encoder's own time; then, as whole
// processes taken in turn, `kavrin-batch map` to a PNG beside the same map to
// a bitmap, and beside bench/matplotlib-map.py (contourf with the same 62
// levels and colours on the same grid). Prints each figure beside its target
// and the machine's load; `make bench` runs it.
#include "BenchProcess.h"
#include "BenchTiming.h"
#include "gui/MapPainter.h"
#include "gui/MapVectorPainter.h"
#include "gui/PictureExport.h"
#include "map/MapPicture.h"
#include "model/ParameterTexts.h"
#include "model/Variaveis.h"
#include "workspace/ExecutableFolder.h"
#include "workspace/ResultLoading.h"
#include "workspace/Workspace.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

using namespace kavrin;

namespace {

constexpr const char* kTime = "20000";  // 500 m of travel: the plume spans the grid

void printLoad(const char* when)
{
    double load[3] = {};
    if (getloadavg(load, 3) == 3) std::printf("  load average %s: %.2f %.2f %.2f (2 cores)\n", when, load[0], load[1], load[2]);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const std::string scratch =
        std::filesystem::temp_directory_path().string() + "/kavrin-picture-bench-" + std::to_string(getpid()) + "/";
    std::filesystem::create_directories(scratch);
    setenv("KAVRIN_ROOT", scratch.c_str(), 1);
    setenv("KAVRIN_DECIMAL_SEPARATOR", ".", 1);
    const std::string batch = ExecutableFolder() + "kavrin-batch", project = scratch + "full.kvr";
    std::printf("map pictures: PNG, bitmap and a matplotlib script, 451 x 451 grid at %s days\n", kTime);
    const bench::ProcessRun run =
        bench::runProcess(batch,
                          {batch, "run", "--set", "X1=450", "--set", "Y1=225", "--set", std::string("T0=") + kTime, "--set",
                           std::string("T1=") + kTime, "--name", "Full", "--save", project},
                          scratch + "run.txt");
    if (!run.succeeded) {
        std::printf("  the full-size run failed; nothing measured\n");
        std::filesystem::remove_all(scratch);
        return 1;
    }

    // In process: the map's pixels, then each format's bytes.
    ParameterTexts texts = InitialParameterTexts();
    SetControlText(texts, 6, "450", '.');  // X1: 450 cells of 1 m
    SetControlText(texts, 8, "225", '.');  // Y1 (and Y0 = -225): 450 cells
    ModelState model;
    Variaveis(texts, model, '.');
    const std::string results = ResultFilePath(scratch, "Full", kTime);
    ResultGrid grid;
    LoadResultFile(results, grid, model, '.');
    const MapPicture map = DesenhaMapa({model, grid, kTime, false, false, '.'});
    const QImage pixels = PaintMapPicture(map);
    const PictureSource source = MapPictureSource(map, QSize(kMapWidth, kMapHeight));
    const PictureSource painted{source.size, [&] { return pixels; }, source.paint};
    const double reading = bench::seconds(9, [&] {
        ResultGrid fresh;
        LoadResultFile(results, fresh, model, '.');
    });
    const double drawing = bench::seconds(9, [&] { PaintMapPicture(DesenhaMapa({model, grid, kTime, false, false, '.'})); });
    const double bitmap = bench::seconds(9, [&] { EncodePicture(painted, PictureFormat::Bitmap); });
    const double png = bench::seconds(9, [&] { EncodePicture(painted, PictureFormat::Png); });
    const double svg = bench::seconds(5, [&] { EncodePicture(painted, PictureFormat::Svg); });
    const double pdf = bench::seconds(5, [&] { EncodePicture(painted, PictureFormat::Pdf); });
    std::printf("  in process: the results file (%.1f MB) read %.1f ms, the map drawn and painted %.1f ms; its bytes as\n"
                "  bitmap %.2f ms, PNG %.1f ms (the PNG encoder's own time), SVG %.1f ms, PDF %.1f ms (%lld / %lld / %lld / %lld "
                "bytes)\n",
                static_cast<double>(std::filesystem::file_size(results)) / 1e6, reading * 1e3, drawing * 1e3, bitmap * 1e3,
                png * 1e3, svg * 1e3, pdf * 1e3, static_cast<long long>(EncodePicture(painted, PictureFormat::Bitmap).size()),
                static_cast<long long>(EncodePicture(painted, PictureFormat::Png).size()),
                static_cast<long long>(EncodePicture(painted, PictureFormat::Svg).size()),
                static_cast<long long>(EncodePicture(painted, PictureFormat::Pdf).size()));

    // Whole processes, in turn: PNG beside the bitmap.
    printLoad("before");
    const auto mapTo = [&](const std::string& name) {
        return std::vector<std::string>{batch, "map", "--project", project, "--time", kTime, "--to", scratch + name};
    };
    const std::string outputs[2] = {scratch + "a.txt", scratch + "b.txt"};
    const std::vector<std::string> formats[2] = {mapTo("map.png"), mapTo("map.bmp")};
    const bench::Comparison pngBeside = bench::inTurn(9, formats, outputs);
    // PNG beside the script, on the same results file.
    const std::vector<std::string> script{"/usr/bin/python3",
                                          std::string(KAVRIN_BENCH_SOURCE_DIR) + "/matplotlib-map.py",
                                          results,
                                          "0",
                                          "450",
                                          "-225",
                                          "225",
                                          "0.5",
                                          kTime,
                                          scratch + "matplotlib.png"};
    const std::vector<std::string> peers[2] = {mapTo("map.png"), script};
    const bench::Comparison againstScript = bench::inTurn(7, peers, outputs);
    const std::vector<std::string> starts[2] = {{ExecutableFolder() + "kavrin-batch-pictures", "--help"},
                                                {"/usr/bin/python3", "-c", "import matplotlib.pyplot, numpy"}};
    const bench::Comparison bare = bench::inTurn(7, starts, outputs);
    printLoad("after");
    std::filesystem::remove_all(scratch);

    if (!pngBeside.succeeded) {
        std::printf("  kavrin-batch map failed; not compared\n");
        return 1;
    }
    // The clock of a loaded machine wanders by more than the encoder's few
    // milliseconds: the processor time decides.
    const bool met = pngBeside.cpu[0].median <= pngBeside.cpu[1].median + png;
    std::printf("  kavrin-batch map as a whole process, median of 9 runs each, in turn (wall clock / processor time):\n"
                "    to a PNG      %6.1f ms / %6.1f ms\n"
                "    to a bitmap   %6.1f ms / %6.1f ms\n"
                "    PNG - bitmap  %6.1f ms / %6.1f ms   (target: at most the PNG encoder's own %.1f ms: %s)\n",
                pngBeside.wall[0].median * 1e3, pngBeside.cpu[0].median * 1e3, pngBeside.wall[1].median * 1e3,
                pngBeside.cpu[1].median * 1e3, (pngBeside.wall[0].median - pngBeside.wall[1].median) * 1e3,
                (pngBeside.cpu[0].median - pngBeside.cpu[1].median) * 1e3, png * 1e3, met ? "met" : "NOT met");
    if (!againstScript.succeeded || !bare.succeeded) {
        std::printf("  the map as a whole process: not compared (/usr/bin/python3 with python3-matplotlib failed)\n");
        return 0;
    }
    std::printf("  the same map as a whole process, median of 7 runs each, in turn (wall clock / processor time):\n"
                "    kavrin-batch map --to map.png        %6.0f ms / %6.0f ms   (floor: the program's start %.0f / %.0f ms)\n"
                "    bench/matplotlib-map.py (contourf)   %6.0f ms / %6.0f ms   (floor: importing matplotlib %.0f / %.0f ms)\n"
                "    ratio                                %6.1f x  / %6.1f x    (target >= 10 x)\n",
                againstScript.wall[0].median * 1e3, againstScript.cpu[0].median * 1e3, bare.wall[0].median * 1e3,
                bare.cpu[0].median * 1e3, againstScript.wall[1].median * 1e3, againstScript.cpu[1].median * 1e3,
                bare.wall[1].median * 1e3, bare.cpu[1].median * 1e3, againstScript.wall[1].median / againstScript.wall[0].median,
                againstScript.cpu[1].median / againstScript.cpu[0].median);
    return 0;
}
