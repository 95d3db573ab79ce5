// A headless run stopped from outside: killed at any moment it leaves an index
// of exactly its complete times; SIGINT and SIGTERM end it after the time
// being written, with a message and the status a shell gives such a stop.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

using kavrin::test::CrLfLines;
using kavrin::test::ReadBytes;
using kavrin::test::TempFolder;

namespace {

// A full-size grid of 40 times: long enough to be stopped part-way.
constexpr int kTimes = 40;
constexpr std::uintmax_t kTimeFileBytes = 451u * (451u * 23u + 2u);  // rows of fixed-width values, CR LF

struct Started {
    pid_t pid;
    std::string folder;  // the project folder
};

Started startRun(const TempFolder& folder, const std::vector<std::string>& more = {})
{
    const std::string root = folder.path() + "KAVRIN";
    const std::string program = std::string(KAVRIN_BIN_DIR) + "kavrin-batch";
    std::vector<std::string> words = {program,  "run",     "--set", "X1=450",  "--set", "Y0=-225",
                                      "--set",  "T0=1000", "--set", "DT=1000", "--set", "T1=" + std::to_string(kTimes * 1000),
                                      "--name", "Plume"};
    words.insert(words.end(), more.begin(), more.end());
    std::vector<std::string> environment = {"KAVRIN_ROOT=" + root, "KAVRIN_DECIMAL_SEPARATOR=."};
    for (char** e = environ; *e; ++e)
        if (std::string(*e).rfind("KAVRIN_", 0) != 0) environment.push_back(*e);
    std::vector<char*> argv, envp;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    for (std::string& e : environment) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, (folder.path() + "out.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&files, 2, (folder.path() + "err.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, program.c_str(), &files, nullptr, argv.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&files);
    return {pid, root + "/Plume/"};
}

std::size_t indexLines(const std::string& folder)
{
    std::error_code error;
    if (!std::filesystem::exists(folder + "Index.txt", error)) return 0;
    return CrLfLines(ReadBytes(folder + "Index.txt")).size();
}

// Waits until the index lists `lines` times (or the run has ended).
void waitForIndex(const Started& run, std::size_t lines)
{
    for (int tries = 0; tries < 20000 && indexLines(run.folder) < lines; ++tries) {
        siginfo_t ended{};
        if (::waitid(P_PID, static_cast<id_t>(run.pid), &ended, WEXITED | WNOHANG | WNOWAIT) == 0 && ended.si_pid != 0) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

int waitForExit(pid_t pid)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

// The index lists exactly the time files on disk, in order, each whole;
// returns how many. Hidden files (a time being written when killed) are not results.
std::size_t checkCompleteTimes(const std::string& folder)
{
    if (!std::filesystem::exists(folder)) return 0;
    const std::vector<std::string> listed = CrLfLines(ReadBytes(folder + "Index.txt"));
    for (std::size_t k = 0; k < listed.size(); ++k) {
        EXPECT_EQ(listed[k], folder + "T" + std::to_string((k + 1) * 1000) + ".txt");
        EXPECT_EQ(std::filesystem::file_size(listed[k]), kTimeFileBytes) << listed[k];
    }
    std::size_t onDisk = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name[0] != '.' && name != "Index.txt") ++onDisk;
    }
    EXPECT_EQ(onDisk, listed.size()) << "every time file on disk is listed";
    return listed.size();
}

}  // namespace

TEST(BatchStop, AKilledRunLeavesAnIndexOfExactlyItsCompleteTimes)
{
    for (std::size_t moment : {0u, 1u, 3u, 7u}) {
        TempFolder folder;
        const Started run = startRun(folder);
        waitForIndex(run, moment);
        ::kill(run.pid, SIGKILL);
        const int status = waitForExit(run.pid);
        EXPECT_TRUE(WIFSIGNALED(status) || WEXITSTATUS(status) == 0);
        const std::size_t complete = checkCompleteTimes(run.folder);
        EXPECT_GE(complete, moment);
    }
}

TEST(BatchStop, SigintAndSigtermEndTheRunAfterTheTimeBeingWritten)
{
    for (const auto& [signal, name] : {std::pair{SIGINT, "SIGINT"}, std::pair{SIGTERM, "SIGTERM"}}) {
        TempFolder folder;
        const Started run = startRun(folder);
        waitForIndex(run, 2);
        ::kill(run.pid, signal);
        const int status = waitForExit(run.pid);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
        const std::size_t complete = checkCompleteTimes(run.folder);
        EXPECT_GE(complete, 2u);
        EXPECT_LT(complete, static_cast<std::size_t>(kTimes));
        for (const auto& entry : std::filesystem::directory_iterator(run.folder))
            EXPECT_NE(entry.path().filename().string()[0], '.') << "nothing half-written is left";
        EXPECT_EQ(ReadBytes(folder.path() + "err.txt"), std::string("kavrin-batch: stopped by ") + name + " after " +
                                                            std::to_string(complete) +
                                                            " of 40 times; the index lists the complete ones\n");
        EXPECT_EQ(ReadBytes(folder.path() + "out.txt"), run.folder + "\n");
    }
}

// The map, the series and the exports of a stopped run's project take the
// times its index lists.
TEST(BatchStop, TheReadersOfAStoppedRunTakeItsCompleteTimes)
{
    TempFolder folder;
    const std::string project = folder.path() + "p.kvr";
    const Started run = startRun(folder, {"--save", project});
    waitForIndex(run, 2);
    ::kill(run.pid, SIGINT);
    ASSERT_EQ(WEXITSTATUS(waitForExit(run.pid)), 128 + SIGINT);
    const std::size_t complete = checkCompleteTimes(run.folder);
    ASSERT_LT(complete, static_cast<std::size_t>(kTimes));

    const std::string tool =
        "KAVRIN_ROOT=" + folder.path() + "KAVRIN KAVRIN_DECIMAL_SEPARATOR=. " + KAVRIN_BIN_DIR + "kavrin-batch ";
    const auto ran = [&](const std::string& words) {
        return WEXITSTATUS(std::system((tool + words + " >" + folder.path() + "out.txt 2>" + folder.path() + "err.txt").c_str()));
    };
    const auto count = [&](const std::string& sub) {
        std::size_t files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path() + sub)) files += entry.is_regular_file();
        return files;
    };
    EXPECT_EQ(ran("map --project " + project + " --all --to " + folder.path() + "maps"), 0)
        << ReadBytes(folder.path() + "err.txt");
    EXPECT_EQ(count("maps"), complete);
    std::filesystem::create_directory(folder.path() + "grids");
    EXPECT_EQ(ran("export grd --project " + project + " --to " + folder.path() + "grids/g"), 0)
        << ReadBytes(folder.path() + "err.txt");
    EXPECT_EQ(count("grids"), complete);
    EXPECT_EQ(ran("series time --project " + project + " --x 10 --y 0"), 0) << ReadBytes(folder.path() + "err.txt");
    const std::string series = ReadBytes(folder.path() + "out.txt");
    EXPECT_EQ(static_cast<std::size_t>(std::count(series.begin(), series.end(), '\n')), complete + 1)
        << "a heading and one line a time";
}

// A write that fails part-way (here a file-size limit, as a full disk would)
// leaves the index and the times before it, and nothing of the failing time.
TEST(BatchStop, AWriteThatFailsLeavesTheTimesBeforeIt)
{
    TempFolder folder;
    const std::string tool =
        "KAVRIN_ROOT=" + folder.path() + "KAVRIN " + KAVRIN_BIN_DIR + "kavrin-batch run --set C0=-0.5 --name ";
    // Negative values take a sign: the later time's file is the larger, so a
    // limit between the two sizes stops the second time.
    ASSERT_EQ(WEXITSTATUS(std::system((tool + "Whole >/dev/null").c_str())), 0);
    const std::uintmax_t first = std::filesystem::file_size(folder.path() + "KAVRIN/Whole/T0.txt");
    const std::uintmax_t blocks = first / 1024 + 1;
    ASSERT_LT(blocks * 1024, std::filesystem::file_size(folder.path() + "KAVRIN/Whole/T2500.txt"));
    const std::string limited =
        "bash -c \"trap '' XFSZ; ulimit -f " + std::to_string(blocks) + "; " + tool + "Cut\" 2>" + folder.path() + "err.txt";
    EXPECT_EQ(WEXITSTATUS(std::system(limited.c_str())), 1);
    EXPECT_NE(ReadBytes(folder.path() + "err.txt").find("KAVRIN/Cut/T2500.txt (File too large)"), std::string::npos)
        << ReadBytes(folder.path() + "err.txt");
    const std::string cut = folder.path() + "KAVRIN/Cut/";
    EXPECT_EQ(CrLfLines(ReadBytes(cut + "Index.txt")), std::vector<std::string>{cut + "T0.txt"});
    EXPECT_EQ(ReadBytes(cut + "T0.txt"), ReadBytes(folder.path() + "KAVRIN/Whole/T0.txt"));
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(cut)) ++files;
    EXPECT_EQ(files, 2u) << "the index and the first time, nothing hidden";
}
