#include "TestSupport.h"
#include "files/ParameterFile.h"
#include "files/ProjectFile.h"
#include "text/Errors.h"
#include "text/NumberText.h"
#include "text/RegularFile.h"
#include "text/SafeSave.h"
#include "text/TextFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kavrin;
using kavrin::test::ReadBytes;
using kavrin::test::TempFolder;
using kavrin::test::WriteBytes;

namespace {

std::vector<std::string> entries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// Files larger than `bytes` cannot be written while this lives (EFBIG, as a full disk would refuse).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

}  // namespace

TEST(SafeSaves, AFailedWriteLeavesThePreviousFileAndNoTemporaryFile)
{
    TempFolder folder;
    const std::string path = folder.path() + "p.dat";
    WriteBytes(path, "old contents\r\n");
    {
        FileSizeLimit limit(4096);
        TextFileWriter writer(path);
        EXPECT_THROW(
            {
                writer.write(std::string(3 << 20, '1'));
                writer.close();
            },
            FileError);
    }
    EXPECT_EQ(ReadBytes(path), "old contents\r\n");
    EXPECT_EQ(entries(folder.path()), std::vector<std::string>{"p.dat"});

    {
        TextFileWriter unfinished(path);
        unfinished.writeLine("never closed: the command failed part-way");
    }
    EXPECT_EQ(ReadBytes(path), "old contents\r\n");
    EXPECT_EQ(entries(folder.path()), std::vector<std::string>{"p.dat"});

    WriteParameterFile(path, InitialParameterTexts());
    EXPECT_EQ(ReadParameterFile(path).edit[1], "0.5");
    EXPECT_EQ(entries(folder.path()), std::vector<std::string>{"p.dat"});
}

TEST(SafeSaves, ASaveKeepsTheFileALinkPointsToAndTheUsualPermissions)
{
    TempFolder folder;
    WriteBytes(folder.path() + "real.kvr", "old");
    std::filesystem::create_symlink(folder.path() + "real.kvr", folder.path() + "link.kvr");
    WriteProjectFile(folder.path() + "link.kvr", "Teste", "now", InitialParameterTexts(), "/r/");
    EXPECT_TRUE(std::filesystem::is_symlink(folder.path() + "link.kvr"));
    EXPECT_EQ(ReadProjectFile(folder.path() + "real.kvr").projectName, "Teste");

    const mode_t mask = ::umask(022);
    WriteProjectFile(folder.path() + "new.kvr", "Teste", "now", InitialParameterTexts(), "/r/");
    ::umask(mask);
    struct stat info {};
    ASSERT_EQ(::stat((folder.path() + "new.kvr").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);

    std::filesystem::create_directory(folder.path() + "folder.kvr");
    EXPECT_THROW(WriteProjectFile(folder.path() + "folder.kvr", "T", "now", InitialParameterTexts(), "/r/"), FileError);
    EXPECT_EQ(entries(folder.path()), (std::vector<std::string>{"folder.kvr", "link.kvr", "new.kvr", "real.kvr"}));
}

TEST(SafeSaves, ASaveOverAFileKeepsItsPermissionsThroughALinkToo)
{
    struct Case {
        const char* name;
        mode_t mode;
        std::function<void(const std::string& path)> save;
    };
    const Case cases[] = {
        {"project", 0600,
         [](const std::string& path) { WriteProjectFile(path, "Teste", "now", InitialParameterTexts(), "/r/"); }},
        {"parameters", 0640, [](const std::string& path) { WriteParameterFile(path, InitialParameterTexts()); }},
        {"observations", 0604, [](const std::string& path) { SaveTextLines(path, {"1 2 3 4 5"}); }},
    };
    const mode_t mask = ::umask(022);
    for (const Case& c : cases) {
        for (const bool throughLink : {false, true}) {
            TempFolder folder;
            const std::string real = folder.path() + "real.txt";
            WriteBytes(real, "old");
            ASSERT_EQ(::chmod(real.c_str(), c.mode), 0);
            if (throughLink) std::filesystem::create_symlink(real, folder.path() + "link.txt");
            c.save(throughLink ? folder.path() + "link.txt" : real);
            struct stat info {};
            ASSERT_EQ(::stat(real.c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 07777, c.mode) << c.name << (throughLink ? " through a link" : "");
            EXPECT_NE(ReadBytes(real), "old") << c.name;
            c.save(folder.path() + "new.txt");  // a new file follows the umask
            ASSERT_EQ(::stat((folder.path() + "new.txt").c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 07777, 0644u) << c.name;
        }
    }
    ::umask(mask);
}

TEST(SafeReads, WhatIsNotARegularFileIsRefusedWithoutReading)
{
    TempFolder folder;
    const std::string pipe = folder.path() + "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // A writer keeps the pipe open so that opening it for reading does not block.
    const int writer = ::open(pipe.c_str(), O_RDWR);
    for (const std::string& path : {folder.path(), std::string("/dev/zero"), pipe}) {
        const std::string failure = kavrin::test::FailureText([&] { TextFileReader reader(path); });
        EXPECT_EQ(failure, path + " is not a file (a folder, a device or a pipe); choose a file.");
        EXPECT_THROW(ReadProjectFile(path), FileError);
    }
    ::close(writer);
}

TEST(SafeReads, APipeWithNoWriterIsRefusedWithoutWaitingForOne)
{
    TempFolder folder;
    const std::string pipe = folder.path() + "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string failure = kavrin::test::FailureText([&] { TextFileReader reader(pipe); });
    EXPECT_EQ(failure, pipe + " is not a file (a folder, a device or a pipe); choose a file.");
    EXPECT_THROW(RequireRegularFileOrNothing(pipe), FileError);
    EXPECT_NO_THROW(RequireRegularFileOrNothing(folder.path() + "nothing-here"));
}

TEST(SafeReads, AQuotedTextIsCutToAReadableLength)
{
    EXPECT_EQ(Excerpt("short"), "short");
    EXPECT_EQ(Excerpt(std::string(60, 'a')), std::string(60, 'a'));
    EXPECT_EQ(Excerpt(std::string(61, 'a')), std::string(60, 'a') + "…");
    EXPECT_EQ(Excerpt(std::string(59, 'a') + "çç"), std::string(59, 'a') + "ç…");
    const std::string failure = kavrin::test::FailureText([] { ParseFloat(std::string(100000, '1') + "x", '.'); });
    EXPECT_EQ(failure, "'" + std::string(60, '1') + "…' is not a valid floating point value");
}
