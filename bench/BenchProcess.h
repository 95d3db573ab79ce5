// Whole programs run from a benchmark: started as a shell would start them,
// timed by the clock and by the processor time they used.
#pragma once

#include "BenchTiming.h"

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace kavrin::bench {

struct ProcessRun {
    bool succeeded = false;
    double seconds = 0;     // wall clock
    double cpuSeconds = 0;  // user and system, every thread
};

// Runs `program` with `arguments` (the first being its name) to its end, its
// standard output into `outputPath` and its errors discarded.
inline ProcessRun runProcess(const std::string& program, const std::vector<std::string>& arguments, const std::string& outputPath)
{
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) return {};
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    ProcessRun run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     1e-6 * static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
    run.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

// The median wall and processor seconds of `repeats` runs of each program,
// taken in turn so both meet the same load; false when a run failed.
struct Comparison {
    Figure wall[2], cpu[2];
    bool succeeded = true;
};

inline Comparison inTurn(int repeats, const std::vector<std::string> programs[2], const std::string outputs[2])
{
    std::vector<double> wall[2], cpu[2];
    Comparison result;
    for (int r = 0; r < repeats; ++r)
        for (int k = 0; k < 2; ++k) {
            const ProcessRun run = runProcess(programs[k][0], programs[k], outputs[k]);
            result.succeeded = result.succeeded && run.succeeded;
            wall[k].push_back(run.seconds);
            cpu[k].push_back(run.cpuSeconds);
        }
    auto figure = [](std::vector<double> t) {
        std::sort(t.begin(), t.end());
        return Figure{t[t.size() / 2], t.front(), t.back()};
    };
    for (int k = 0; k < 2; ++k) result.wall[k] = figure(wall[k]), result.cpu[k] = figure(cpu[k]);
    return result;
}

}  // namespace kavrin::bench
