// The pictures program reads the stored language before it paints: a named
// pipe in place of a settings file is refused with a message, not waited on.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>

using kavrin::test::ReadBytes;
using kavrin::test::TempFolder;

TEST(BatchMap, ANamedPipeInPlaceOfTheSettingsFileIsRefused)
{
    for (const char* which : {"user", "machine"}) {
        TempFolder folder;
        const std::string settings = folder.path() + "settings";
        std::filesystem::create_directories(settings + "/" + which);
        const std::string pipe = settings + "/" + which + "/KAVRIN.ini";
        ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
        // `timeout` ends a program that waits for a writer, which fails the test.
        const std::string command = "KAVRIN_SETTINGS_DIR='" + settings + "' KAVRIN_ROOT='" + folder.path() +
                                    "KAVRIN' timeout 20 " + KAVRIN_BIN_DIR + "kavrin-batch map --project '" + folder.path() +
                                    "p.kvr' --time 0 --to '" + folder.path() + "m.bmp' >/dev/null 2>'" + folder.path() +
                                    "err.txt' </dev/null";
        const int status = std::system(command.c_str());
        EXPECT_EQ(WEXITSTATUS(status), 1) << which;
        EXPECT_NE(ReadBytes(folder.path() + "err.txt").find(pipe + " is not a file"), std::string::npos)
            << which << ": " << ReadBytes(folder.path() + "err.txt");
        EXPECT_FALSE(std::filesystem::exists(folder.path() + "m.bmp"));
    }
}
