// Measures the drawing of a full-size map (451 × 451 grid, 62 levels) of a
// late time of the start-up model, whose plume spans the grid: contouring,
// the outline walk beside the quadratic scanning walk on the same levels,
// painting, and the whole map with its texts and its 24-bit bitmap, and the
// whole map of the same source off the axis (drawn over the whole Y range); then the
// grids that are hardest to draw (a checkerboard, random values, random
// values under a left edge above every level, so that every level is drawn
// as a region) with their time and peak memory beside the bound; then the
// animation's frames and GIF with the encoder's memory. Prints each figure
// beside its target; `make bench` runs it.
#include "BenchTiming.h"
#include "contour/CellRanges.h"
#include "contour/MontaPoligono.h"
#include "contour/TracaContorno.h"
#include "gui/MapPainter.h"
#include "gui/PictureExport.h"
#include "map/AnimatedGif.h"
#include "map/AnimationFrames.h"
#include "map/BitmapFile.h"
#include "map/MapPicture.h"
#include "model/ParameterTexts.h"
#include "model/Variaveis.h"
#include "solution/FieldKernel.h"
#include "solution/Parallel.h"
#include "support/ContourOracles.h"
#include "workspace/ExecutableFolder.h"
#include "workspace/ResultLoading.h"
#include "workspace/SimulationRun.h"
#include "workspace/Workspace.h"

#include <QGuiApplication>

#include <ctime>

#include <fstream>
#include <random>
#include <string>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <unistd.h>
#include <vector>

using namespace kavrin;

using kavrin::bench::seconds;

namespace {

// The peak resident memory of the process since the last reset, in MB.
double peakMegabytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024;
    return -1;
}

void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// The processor time of the whole process (all its threads), in seconds: what
// the work costs whatever else the machine runs.
double processSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    ParameterTexts texts = InitialParameterTexts();
    SetControlText(texts, 6, "450", '.');  // X1: 450 cells of 1 m
    SetControlText(texts, 8, "225", '.');  // Y1 (and Y0 = -225): 450 cells
    ModelState m;
    Variaveis(texts, m, '.');
    const double time = 20000;  // 500 m of travel: the plume spans the grid
    QuadratureState q;
    LoadGaussOrder(q, m.GaussOrder, ExecutableFolder() + "valores.txt", '.');
    TimeField field;
    ComputeTimeField(time, m, q, WorkerCount(), field);
    ResultGrid grid;
    for (int row = 0; row < field.rows; ++row)
        for (int column = 0; column < field.columns; ++column) grid.set(column + 1, row + 1, field.at(row, column));

    const MapRequest request{m, grid, "20000", true, true, '.'};
    const MapGeometry g = DefineMapGeometry(m);
    const ContourGrid contour{grid, g.NX, g.HalfRows, g.PixelX, g.PixelY};
    const auto levels = MapLevels(m.C0);
    std::vector<std::vector<PixelPoint>> ends(kLevelCount);
    const double contouring = seconds(5, [&] {
        const CellRanges ranges(contour);
        for (int k = 0; k < kLevelCount; ++k)
            TracaContorno(levels[static_cast<std::size_t>(k)], contour, ranges, ends[static_cast<std::size_t>(k)]);
    });
    const double contouringByLevel = seconds(1, [&] {
        for (int k = 0; k < kLevelCount; ++k) kavrin::test::TracaContornoByScan(levels[static_cast<std::size_t>(k)], contour);
    });
    std::size_t points = 0, most = 0;
    for (const auto& e : ends) points += e.size(), most = std::max(most, e.size());
    std::vector<PixelPolygon> outlines(kLevelCount), scanned(kLevelCount);
    const double walking = seconds(5, [&] {
        for (int k = 0; k < kLevelCount; ++k)
            outlines[static_cast<std::size_t>(k)] = MontaPoligono(ends[static_cast<std::size_t>(k)], g.PixelY[0], g.PlotCentre);
    });
    const double scanning = seconds(1, [&] {
        for (int k = 0; k < kLevelCount; ++k)
            scanned[static_cast<std::size_t>(k)] =
                kavrin::test::MontaPoligonoByScan(ends[static_cast<std::size_t>(k)], g.PixelY[0], g.PlotCentre);
    });
    const bool same = outlines == scanned;

    MapPicture picture = DesenhaMapa(request);
    const double painting = seconds(9, [&] { PaintMapPicture(picture); });
    const double whole = seconds(9, [&] { PaintMapPicture(DesenhaMapa(request)); });
    const QImage image = PaintMapPicture(picture);
    const double bitmap =
        seconds(9, [&] { EncodeBitmap(image.constBits(), image.width(), image.height(), image.bytesPerLine()); });

    // The same source moved 50 m off the axis: the whole Y range is drawn,
    // every level as its region, from all 451 rows.
    ModelState offAxis = m;
    offAxis.source.firstZoneY = 50;
    offAxis.YMin += 50, offAxis.YMax += 50;
    TimeField offAxisField;
    ComputeTimeField(time, offAxis, q, WorkerCount(), offAxisField);
    ResultGrid offAxisGrid;
    for (int row = 0; row < offAxisField.rows; ++row)
        for (int column = 0; column < offAxisField.columns; ++column)
            offAxisGrid.set(column + 1, row + 1, offAxisField.at(row, column));
    const MapRequest offAxisRequest{offAxis, offAxisGrid, "20000", true, true, '.'};
    resetPeak();
    const double wholeRange = seconds(9, [&] { PaintMapPicture(DesenhaMapa(offAxisRequest)); });
    const double wholeRangePeak = peakMegabytes();

    // The hardest grids: every cell crosses every level.
    struct Hard {
        const char* name;
        double seconds, cpu, peak;
    };
    std::vector<Hard> hard;
    for (const char* name : {"checkerboard", "random values", "random, every level a region", "checkerboard, whole Y range"}) {
        ResultGrid noisy;
        std::mt19937 random(7);
        std::uniform_real_distribution<double> value(0, m.C0);
        for (int j = 1; j <= 451; ++j)
            for (int i = 1; i <= 451; ++i) {
                double v = name[0] == 'c' ? ((i + j) % 2 ? m.C0 : 0) : value(random);
                if (std::string(name) == "random, every level a region" && i == 1)
                    v = 2 * m.C0;  // the left edge above every level
                noisy.set(i, j, v);
            }
        const MapRequest hardRequest{std::string(name).ends_with("range") ? offAxis : m, noisy, "20000", true, true, '.'};
        resetPeak();
        const double cpuBefore = processSeconds();
        const double drawing = seconds(3, [&] { PaintMapPicture(DesenhaMapa(hardRequest)); });
        hard.push_back({name, drawing, (processSeconds() - cpuBefore) / 3, peakMegabytes()});
    }

    // Animation frames of a full-size run of 20 times: load, draw and save
    // each, as the animation window does, then one GIF of them all.
    const std::string scratch =
        std::filesystem::temp_directory_path().string() + "/kavrin-map-bench-" + std::to_string(getpid()) + "/";
    std::filesystem::create_directories(scratch + "tempImage");
    ModelState run = m;
    run.T0 = 1000, run.T1 = 20000, run.DT = 1000;
    ProjectState project;
    project.ProjectName = "Frames";
    RunProgress progress;
    WriteRun(run, q, nullptr, project, RunEnvironment{scratch, ExecutableFolder() + "valores.txt", '.', false, WorkerCount()},
             progress, {});
    std::vector<QImage> frames;
    const auto framesStart = std::chrono::steady_clock::now();
    for (double t = run.T0; t <= run.T1; t += run.DT) {
        const std::string time = TimeText(t, '.');
        LoadResultFile(ResultFilePath(scratch, project.ProjectName, time), grid, '.');
        frames.push_back(PaintMapPicture(DesenhaMapa({run, grid, time, true, true, '.'})).convertToFormat(QImage::Format_RGB888));
        WriteBitmap(frames.back(), QString::fromStdString(scratch + "tempImage/" + FrameFileName(t)));
    }
    const double perFrame = std::chrono::duration<double>(std::chrono::steady_clock::now() - framesStart).count() /
                            static_cast<double>(frames.size());
    // The encoder's own memory after the 20 frames and after 500 (the frames
    // again and again), beside the 1.5 MB of one frame's pixels.
    std::size_t heldAfter20 = 0, heldAfter500 = 0;
    const double gif = seconds(3, [&] {
        AnimatedGifWriter writer(scratch + "frames.gif", 2000);
        for (const QImage& f : frames) writer.addFrame({f.constBits(), f.width(), f.height(), f.bytesPerLine()});
        heldAfter20 = writer.heldBytes();
        writer.finish();
    });
    {
        AnimatedGifWriter writer(scratch + "long.gif", 2000);
        for (int n = 0; n < 500; ++n) {
            const QImage& f = frames[static_cast<std::size_t>(n) % frames.size()];
            writer.addFrame({f.constBits(), f.width(), f.height(), f.bytesPerLine()});
        }
        heldAfter500 = writer.heldBytes();
        writer.finish();
    }
    std::filesystem::remove_all(scratch);

    std::printf("KAVRIN map benchmark — grid 451 x 451 (450 x 225 cells drawn), 62 levels, time %.0f\n", time);
    std::printf("  end points: %zu in all, %zu in the largest level\n", points, most);
    std::printf("  contouring, 62 levels            %10.2f ms   (every cell of every level: %.1f ms)\n", contouring * 1e3,
                contouringByLevel * 1e3);
    std::printf("  outline walk, 62 levels          %10.2f ms   (quadratic scanning walk: %.1f ms, %.0f x; same outlines: %s)\n",
                walking * 1e3, scanning * 1e3, scanning / walking, same ? "yes" : "NO");
    std::printf("  painting shapes and texts        %10.2f ms\n", painting * 1e3);
    std::printf("  whole map (data + painting)      %10.2f ms   target <= 100 ms\n", whole * 1e3);
    std::printf("  24-bit bitmap bytes of the map        %10.2f ms\n", bitmap * 1e3);
    std::printf("  whole map of the source 50 m off the axis (451 rows, every level a region) %10.2f ms   no target of its own, "
                "peak resident %.1f MB\n",
                wholeRange * 1e3, wholeRangePeak);
    std::printf("  animation frame: load + draw + BMP %10.1f ms per frame   target <= 250 ms (20 frames of 451 x 451)\n",
                perFrame * 1e3);
    std::printf("  hardest 451 x 451 grids, whole map (data + painting): bound 1000 ms and 128 MB\n");
    for (const Hard& h : hard)
        std::printf("    %-30s %10.1f ms   (processor time %6.1f ms on %u workers)   peak resident %6.1f MB (the process's, Qt "
                    "included)\n",
                    h.name, h.seconds * 1e3, h.cpu * 1e3, std::min(WorkerCount(), 2u), h.peak);
    std::printf("  animated GIF of the 20 frames      %10.1f ms           target <= 2000 ms\n", gif * 1e3);
    std::printf("  GIF encoder's memory: %zu bytes after 20 frames, %zu after 500 (one frame's pixels: %d bytes)\n", heldAfter20,
                heldAfter500, 800 * 640 * 3);
    return same ? 0 : 1;
}
