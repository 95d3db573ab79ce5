#include "program/ProgramSwitches.h"
#include "BatchCommandTables.h"
#include "BatchProgram.h"
#include "TestSupport.h"
#include "program/ProgramVersion.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <sys/wait.h>

using namespace kavrin;
using kavrin::test::ReadBytes;
using kavrin::test::ShellQuoted;
using kavrin::test::TempFolder;

// Each batch program answers --version and --help alone with status 0 and
// nothing on standard error, before it reads its command line.
TEST(ProgramSwitches, EveryBatchProgramAnswersVersionAndHelp)
{
    const TempFolder folder;
    for (const std::string program : {"kavrin-batch", "kavrin-batch-fit", "kavrin-batch-pictures"}) {
        for (const std::string word : {"--version", "--help", "-h"}) {
            const std::string command = std::string(KAVRIN_BIN_DIR) + program + " " + word + " >" +
                                        ShellQuoted(folder.path() + "out.txt") + " 2>" + ShellQuoted(folder.path() + "err.txt");
            const int status = std::system(command.c_str());
            ASSERT_TRUE(WIFEXITED(status)) << program << " " << word;
            EXPECT_EQ(WEXITSTATUS(status), 0) << program << " " << word;
            const std::string expected = word == "--version" ? program + " " + std::string(kProgramVersion) + "\n" : kBatchUsage;
            EXPECT_EQ(ReadBytes(folder.path() + "out.txt"), expected) << program << " " << word;
            EXPECT_EQ(ReadBytes(folder.path() + "err.txt"), "") << program << " " << word;
        }
    }
}

// A switch is answered only alone: with other words it is the command line's
// to judge, and the program goes on.
TEST(ProgramSwitches, OnlyASwitchAloneIsAnswered)
{
    struct Case {
        std::vector<std::string> words;
        std::optional<int> status;
        std::string out;
    };
    const Case cases[] = {
        {{"--version"}, 0, "kavrin " + std::string(kProgramVersion) + "\n"},
        {{"--help"}, 0, "USAGE"},
        {{"-h"}, 0, "USAGE"},
        {{}, std::nullopt, ""},
        {{"--version", "plume.kvr"}, std::nullopt, ""},
        {{"plume.kvr", "--help"}, std::nullopt, ""},
        {{"plume.kvr"}, std::nullopt, ""},
        {{"-v"}, std::nullopt, ""},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        EXPECT_EQ(AnswerProgramSwitch("kavrin", c.words, "USAGE", out), c.status) << c.words.size();
        EXPECT_EQ(out.str(), c.out);
    }
}
