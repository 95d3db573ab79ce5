// Measures the drawing of a full-size map (451 × 451 grid, 62 levels) of a
// late time of the start-up model, whose plume spans the grid: contouring,
// the outline walk beside the quadratic scanning walk on the same levels,
// painting, and the whole map with its texts and its 24-bit bitmap. Prints
// each figure beside its target; `make bench` runs it.
#include "BenchTiming.h"
#include "MapPainter.h"
#include "contour/CellRanges.h"
#include "contour/MontaPoligono.h"
#include "contour/TracaContorno.h"
#include "support/ContourOracles.h"
#include "PictureExport.h"
#include "map/AnimatedGif.h"
#include "map/BitmapFile.h"
#include "map/AnimationFrames.h"
#include "map/MapPicture.h"
#include "model/ParameterTexts.h"
#include "model/Variaveis.h"
#include "solution/FieldKernel.h"
#include "solution/Parallel.h"
#include "workspace/ExecutableFolder.h"
#include "workspace/ResultLoading.h"
#include "workspace/SimulationRun.h"
#include "workspace/Workspace.h"

#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <unistd.h>
#include <cstdio>
#include <vector>

using namespace kavrin;

using kavrin::bench::seconds;

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
        for (int k = 0; k < kLevelCount; ++k) TracaContorno(levels[static_cast<std::size_t>(k)], contour, ranges, ends[static_cast<std::size_t>(k)]);
    });
    const double contouringByLevel = seconds(1, [&] {
        for (int k = 0; k < kLevelCount; ++k) kavrin::test::TracaContornoByScan(levels[static_cast<std::size_t>(k)], contour);
    });
    std::size_t points = 0, most = 0;
    for (const auto& e : ends) points += e.size(), most = std::max(most, e.size());
    std::vector<PixelPolygon> outlines(kLevelCount), scanned(kLevelCount);
    const double walking = seconds(5, [&] {
        for (int k = 0; k < kLevelCount; ++k) outlines[static_cast<std::size_t>(k)] = MontaPoligono(ends[static_cast<std::size_t>(k)], g.PixelY[0], g.PlotCentre);
    });
    const double scanning = seconds(1, [&] {
        for (int k = 0; k < kLevelCount; ++k) scanned[static_cast<std::size_t>(k)] = kavrin::test::MontaPoligonoByScan(ends[static_cast<std::size_t>(k)], g.PixelY[0], g.PlotCentre);
    });
    const bool same = outlines == scanned;

    MapPicture picture = DesenhaMapa(request);
    const double painting = seconds(9, [&] { PaintMapPicture(picture); });
    const double whole = seconds(9, [&] { PaintMapPicture(DesenhaMapa(request)); });
    const QImage image = PaintMapPicture(picture);
    const double bitmap = seconds(9, [&] { EncodeBitmap(image.constBits(), image.width(), image.height(), image.bytesPerLine()); });

    // Animation frames of a full-size run of 20 times: load, draw and save
    // each, as the animation window does, then one GIF of them all.
    const std::string scratch = std::filesystem::temp_directory_path().string() + "/kavrin-map-bench-" + std::to_string(getpid()) + "/";
    std::filesystem::create_directories(scratch + "tempImage");
    ModelState run = m;
    run.T0 = 1000, run.T1 = 20000, run.DT = 1000;
    ProjectState project;
    project.ProjectName = "Frames";
    RunProgress progress;
    WriteRun(run, q, nullptr, project, RunEnvironment{scratch, ExecutableFolder() + "valores.txt", '.', false, WorkerCount()}, progress, {});
    std::vector<QImage> frames;
    const auto framesStart = std::chrono::steady_clock::now();
    for (double t = run.T0; t <= run.T1; t += run.DT) {
        const std::string time = TimeText(t, '.');
        LoadResultFile(ResultFilePath(scratch, project.ProjectName, time), grid, '.');
        frames.push_back(PaintMapPicture(DesenhaMapa({run, grid, time, true, true, '.'})));
        WriteBitmap(frames.back(), QString::fromStdString(scratch + "tempImage/" + FrameFileName(t)));
    }
    const double perFrame = std::chrono::duration<double>(std::chrono::steady_clock::now() - framesStart).count() / static_cast<double>(frames.size());
    std::vector<RgbFrame> rgb;
    for (const QImage& f : frames) rgb.push_back({f.constBits(), f.width(), f.height(), f.bytesPerLine()});
    const double gif = seconds(3, [&] { WriteAnimatedGif(scratch + "frames.gif", rgb, 2000); });
    std::filesystem::remove_all(scratch);

    std::printf("KAVRIN map benchmark — grid 451 x 451 (450 x 225 cells drawn), 62 levels, time %.0f\n", time);
    std::printf("  end points: %zu in all, %zu in the largest level\n", points, most);
    std::printf("  contouring, 62 levels            %10.2f ms   (every cell of every level: %.1f ms)\n", contouring * 1e3, contouringByLevel * 1e3);
    std::printf("  outline walk, 62 levels          %10.2f ms   (quadratic scanning walk: %.1f ms, %.0f x; same outlines: %s)\n",
                walking * 1e3, scanning * 1e3, scanning / walking, same ? "yes" : "NO");
    std::printf("  painting shapes and texts        %10.2f ms\n", painting * 1e3);
    std::printf("  whole map (data + painting)      %10.2f ms   target <= 100 ms\n", whole * 1e3);
    std::printf("  24-bit bitmap bytes of the map        %10.2f ms\n", bitmap * 1e3);
    std::printf("  animation frame: load + draw + BMP %10.1f ms per frame   target <= 250 ms (20 frames of 451 x 451)\n", perFrame * 1e3);
    std::printf("  animated GIF of the 20 frames      %10.1f ms           target <= 2000 ms\n", gif * 1e3);
    return same ? 0 : 1;
}
