// Measures one time of a run on a plume that fills the grid, each figure next
// to its floor: the kernel against a bare matrix product of the same shape,
// formatting and a whole run against one-core std::to_chars of the same
// values, a one-time run as a whole process against the per-time figure (with
// the program's start alone beside it), and the peak memory of a 20-time run. `make bench` runs it.
#include "BenchTiming.h"
#include "model/Variaveis.h"
#include "solution/FieldKernel.h"
#include "solution/Parallel.h"
#include "solution/Solution.h"
#include "text/NumberText.h"
#include "text/TextFile.h"
#include "workspace/ExecutableFolder.h"
#include "workspace/FieldText.h"
#include "workspace/SimulationRun.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace kavrin;

namespace {

// The plume: the initial model on a 451 × 451 grid of 1 m over 0…450 × −225…225,
// at times late enough that it covers the grid (few exact zeros, which format
// faster than real values).
constexpr const char* kGridTexts[][2] = {{"X1", "450"}, {"Y0", "-225"}, {"Y1", "225"}, {"DX", "1"}, {"DY", "1"}};
constexpr double kTime = 100000;                      // the single time
constexpr double kRunFirst = 52500, kRunStep = 2500;  // 20 times up to kTime
constexpr int kRunTimes = 20;

using bench::Figure;
using bench::measure;

ModelState plumeModel(int order, double first, double last, double step)
{
    ParameterTexts texts = InitialParameterTexts();
    for (const auto& [name, text] : kGridTexts) SetControlText(texts, *ControlOfName(name), text, '.');
    SetControlText(texts, *ControlOfName("T0"), FormatGeneral(first, '.'), '.');
    SetControlText(texts, *ControlOfName("T1"), FormatGeneral(last, '.'), '.');
    SetControlText(texts, *ControlOfName("DT"), FormatGeneral(step, '.'), '.');
    SetControlText(texts, 0, std::to_string(order), '.');
    ModelState model;
    Variaveis(texts, model, '.');
    return model;
}

// The command line of the same one-time run for kavrin-batch.
std::vector<std::string> batchArguments(const std::string& name)
{
    std::vector<std::string> arguments = {"kavrin-batch", "run", "--name", name, "--set", "GaussOrder=256"};
    for (const auto& [field, text] : kGridTexts) arguments.insert(arguments.end(), {"--set", std::string(field) + "=" + text});
    for (const char* field : {"T0", "T1"})
        arguments.insert(arguments.end(), {"--set", std::string(field) + "=" + FormatGeneral(kTime, '.')});
    return arguments;
}

// Runs a child process to its end; the peak memory (KB) of a successful one, -1 otherwise.
long childPeakKilobytes(const std::function<int()>& child)
{
    const pid_t pid = fork();
    if (pid == 0) _exit(child());
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? usage.ru_maxrss : -1;
}

// Starts a program as a shell would (spawned, not forked from this large
// process), its output discarded; its peak memory (KB) when it succeeds, -1 otherwise.
long spawnedPeakKilobytes(const std::string& program, const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) return -1;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? usage.ru_maxrss : -1;
}

double pointFormulaSeconds(int order, const std::string& valores)
{
    const ModelState m = plumeModel(order, kTime, kTime, kRunStep);
    QuadratureState q;
    LoadGaussOrder(q, m.GaussOrder, valores, '.');
    const int count = 2000;
    volatile double sink = 0;
    return measure(3,
                   [&] {
                       for (int p = 0; p < count; ++p)
                           sink = sink + PointConcentration(1 + p % 450, (p / 450) * 50 - 100, 0, kTime, m, q);
                   })
               .median /
           count;
}

void row(const char* what, const std::string& measured, const std::string& floor, const std::string& ratio)
{
    std::printf("  %-30s %-28s %-44s %s\n", what, measured.c_str(), floor.c_str(), ratio.c_str());
}

std::string milliseconds(const Figure& f)
{
    char text[80];
    std::snprintf(text, sizeof text, "%.2f ms (%.2f-%.2f)", f.median * 1e3, f.low * 1e3, f.high * 1e3);
    return text;
}

std::string number(const char* format, double value)
{
    char text[80];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

int main()
{
    const std::string folder = ExecutableFolder();
    const std::string valores = folder + "valores.txt";
    const unsigned workers = WorkerCount();
    const std::string scratch =
        std::filesystem::temp_directory_path().string() + "/kavrin-bench-" + std::to_string(getpid()) + "/";
    std::filesystem::create_directories(scratch);
    const std::string batch = folder + "kavrin-batch";
    setenv("KAVRIN_ROOT", scratch.c_str(), 1);
    auto batchProcess = [&](const std::vector<std::string>& arguments) { return spawnedPeakKilobytes(batch, arguments); };

    // The peaks first, while this process is still small: a child's peak
    // counts the memory it started from, the benchmark's, until it is replaced.
    const ModelState series = plumeModel(256, kRunFirst, kTime, kRunStep);
    const long peak = childPeakKilobytes([&] {
        QuadratureState runQuadrature;
        ProjectState project;
        project.ProjectName = "Peak";
        RunProgress progress;
        WriteRun(series, runQuadrature, nullptr, project, RunEnvironment{scratch, valores, '.', false, workers}, progress, {});
        return progress.PointsDone == static_cast<std::uint64_t>(kRunTimes) * 451 * 451 ? 0 : 1;
    });
    const long processPeak = batchProcess(batchArguments("Peak"));

    // One time, phase by phase.
    const ModelState m = plumeModel(256, kTime, kTime, kRunStep);
    QuadratureState q;
    LoadGaussOrder(q, 256, valores, '.');
    TimeField field;
    const Figure compute = measure(15, [&] { ComputeTimeField(kTime, m, q, workers, field); });
    const std::size_t zeros = static_cast<std::size_t>(std::count(field.values.begin(), field.values.end(), 0.0));

    FieldText text;
    const int block = FieldText::blockRows(field.columns);
    const Figure format = measure(15, [&] {
        for (int first = 0; first < field.rows; first += block)
            text.format(field, first, std::min(field.rows, first + block), '.', workers);
    });

    // The rows of a time in the run's blocks, each block written as its pieces.
    std::vector<std::string> rows;
    std::vector<std::vector<std::string_view>> blocks;
    for (int first = 0; first < field.rows; first += block) {
        const int last = std::min(field.rows, first + block);
        text.format(field, first, last, '.', workers);
        for (int k = first; k < last; ++k) rows.emplace_back(text.row(k));
    }
    for (std::size_t first = 0; first < rows.size(); first += static_cast<std::size_t>(block))
        blocks.emplace_back(rows.begin() + static_cast<std::ptrdiff_t>(first),
                            rows.begin() +
                                static_cast<std::ptrdiff_t>(std::min(rows.size(), first + static_cast<std::size_t>(block))));
    // What each repeat wrote is removed before the next: the system writing
    // earlier repeats' files to the disk meanwhile would be measured instead.
    const std::string written = scratch + "W.txt";
    const Figure write = measure(
        15,
        [&] {
            TextFileWriter file(written, TextFileWriter::Mode::Stream);
            for (const std::vector<std::string_view>& pieces : blocks) file.writePieces(pieces);
            file.close();
        },
        [&] { std::filesystem::remove(written); });

    std::vector<char> chars(field.values.size() * (kGridValueMaxLength + 1));
    const Figure toChars = measure(15, [&] {
        char* out = chars.data();
        for (double v : field.values) {
            out = std::to_chars(out, out + kGridValueMaxLength, v, std::chars_format::scientific, 14).ptr;
            *out++ = ' ';
        }
    });

    const Figure gridWriter = measure(15, [&] {
        char* out = chars.data();
        for (double v : field.values) {
            out = WriteGridValue(out, v, '.');
            *out++ = ' ';
        }
    });

    const int n = 256, size = 451;
    std::vector<double> Y(static_cast<std::size_t>(size * n), 0.5), E(static_cast<std::size_t>(n * size), 0.25),
        S(static_cast<std::size_t>(size * size));
    const Figure product = measure(15, [&] {
        ParallelFor(size, 4, workers,
                    [&](int begin, int end) { MultiplyRows(Y.data(), n, E.data(), size, S.data(), size, begin, end); });
    });

    // A 20-time run, as the run writes it.
    const Figure run = measure(
        5,
        [&] {
            QuadratureState runQuadrature;
            ProjectState project;
            project.ProjectName = "Run";
            RunProgress progress;
            WriteRun(series, runQuadrature, nullptr, project, RunEnvironment{scratch, valores, '.', false, workers}, progress,
                     {});
        },
        [&] { std::filesystem::remove_all(scratch + "Run"); });
    const Figure perTime{run.median / kRunTimes, run.low / kRunTimes, run.high / kRunTimes};

    // A one-time run as a whole process: start, read, compute, write, exit;
    // and the start of the same program that only prints its usage.
    const Figure process = measure(
        11, [&] { batchProcess(batchArguments("Process")); }, [&] { std::filesystem::remove_all(scratch + "Process"); });
    const Figure startup = measure(11, [&] { batchProcess({"kavrin-batch", "--help"}); });

    const double point60 = pointFormulaSeconds(60, valores);
    const double point256 = pointFormulaSeconds(256, valores);
    std::filesystem::remove_all(scratch);

    const double points = static_cast<double>(field.values.size());
    std::printf("KAVRIN field benchmark: %u worker thread(s), %d x %d points at order 256, t = %s d\n", workers, field.columns,
                field.rows, FormatGeneral(kTime, '.').c_str());
    std::printf("  the plume covers the grid: %.1f %% of the values are exact zeros; median (min-max) of repeats\n\n",
                100.0 * static_cast<double>(zeros) / points);
    row("figure", "measured", "floor or target", "ratio");
    row("compute, one time", milliseconds(compute), "bare product " + milliseconds(product),
        number("%.2f x product", compute.median / product.median));
    row("format, one time", milliseconds(format), "std::to_chars 1 core " + milliseconds(toChars),
        number("%.2f x to_chars", format.median / toChars.median));
    row("grid writer, 1 core", milliseconds(gridWriter), "std::to_chars 1 core " + milliseconds(toChars),
        number("%.2f x to_chars", gridWriter.median / toChars.median));
    row("write, one time", milliseconds(write), "", number("%.2f x to_chars", write.median / toChars.median));
    row("per time in a 20-time run", milliseconds(perTime),
        number("at most 1.2 x to_chars = %.2f ms", 1.2 * toChars.median * 1e3),
        number("%.2f x to_chars", perTime.median / toChars.median));
    row("one-time run, whole process", milliseconds(process), number("at most 2 x per time = %.2f ms", 2 * perTime.median * 1e3),
        number("%.2f x per time", process.median / perTime.median));
    row("start-up alone (--help)", milliseconds(startup), "", number("%.2f x per time", startup.median / perTime.median));
    row("peak memory, 20-time run", number("%.1f MB", static_cast<double>(peak) / 1024), "at most 64 MB", "");
    row("peak memory, one-time process", number("%.1f MB", static_cast<double>(processPeak) / 1024), "at most 64 MB", "");
    row("point formula, order 60", number("%.1f us per point", point60 * 1e6), "", "");
    row("point formula, order 256", number("%.1f us per point", point256 * 1e6), number("one time: %.1f s", point256 * points),
        number("%.0f x slower than a run's time", point256 * points / perTime.median));
    return 0;
}
