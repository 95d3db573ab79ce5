#include "files/ProjectNamedLines.h"
#include "TestSupport.h"
#include "files/ProjectFile.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

using namespace kavrin;
using kavrin::test::FailureText;
using kavrin::test::ReadBytes;
using kavrin::test::TempFolder;
using kavrin::test::WriteBytes;

namespace {

// Two options as a feature would store them, known only while a test runs.
struct PlaceholderOptions {
    ProjectLineRegistration count{{"TestCount", "a whole number from 1 to 10", [](const std::string& value) {
                                       return value.size() <= 2 && value.find_first_not_of("0123456789") == std::string::npos &&
                                              !value.empty() && std::stoi(value) >= 1 && std::stoi(value) <= 10;
                                   }}};
    ProjectLineRegistration mode{
        {"TestMode", "fast or slow", [](const std::string& value) { return value == "fast" || value == "slow"; }}};
};

// The 25 lines as the project file has always been written.
std::string twentyFiveLines(const ParameterTexts& texts)
{
    std::string bytes = "Teste\r\n12-10-26 01-12-17\r\n";
    for (int edit = 1; edit <= 21; ++edit) bytes += texts.edit[static_cast<std::size_t>(edit)] + "\r\n";
    return bytes + texts.comboBox1 + "\r\n/root/KAVRIN/Teste/index.txt";
}

void writeTeste(const std::string& path, const NamedLines& lines = {})
{
    WriteProjectFile(path, "Teste", "12-10-26 01-12-17", InitialParameterTexts(), "/root/KAVRIN/", lines);
}

}  // namespace

TEST(ProjectNamedLines, AProjectWithoutThemIsTheTwentyFiveLineFile)
{
    TempFolder folder;
    const PlaceholderOptions options;
    writeTeste(folder.path() + "p.kvr");
    EXPECT_EQ(ReadBytes(folder.path() + "p.kvr"), twentyFiveLines(InitialParameterTexts()));
    EXPECT_TRUE(ReadProjectFile(folder.path() + "p.kvr").namedLines.empty());
}

TEST(ProjectNamedLines, WrittenAfterLineTwentyFiveAndReadBack)
{
    TempFolder folder;
    const PlaceholderOptions options;
    const std::string path = folder.path() + "p.kvr";
    const NamedLines lines = {{"TestMode", "slow"}, {"TestCount", "7"}};
    writeTeste(path, lines);
    EXPECT_EQ(ReadBytes(path), twentyFiveLines(InitialParameterTexts()) + "\r\nTestMode=slow\r\nTestCount=7");
    const ProjectFileContents back = ReadProjectFile(path);
    EXPECT_EQ(back.namedLines, lines);
    EXPECT_EQ(back.indexPath, "/root/KAVRIN/Teste/index.txt");

    // Empty lines carry no option; a line end after the last line is no line.
    WriteBytes(path, twentyFiveLines(InitialParameterTexts()) + "\r\n\r\nTestCount=10\r\n");
    EXPECT_EQ(ReadProjectFile(path).namedLines, (NamedLines{{"TestCount", "10"}}));
}

TEST(ProjectNamedLines, ALineThisBuildCannotTakeIsRefusedNamingTheFileAndTheLine)
{
    const PlaceholderOptions options;
    struct Case {
        std::string after;    // what follows line 25
        std::string message;  // what the refusal says after the file's path
    };
    const Case cases[] = {
        {"\r\nTestCount=3\r\nFutureOption=2",
         ", line 27: FutureOption is not an option this version knows; the file was saved by a newer version"},
        {"\r\nFutureOption=2\r\nTestMode=fast\r\nSiteOrigin=1;2", ", line 26: FutureOption, SiteOrigin (line 28) are not options "
                                                                  "this version knows; the file was saved by a newer version"},
        {"\r\nTestCount=11", ", line 26: TestCount takes a whole number from 1 to 10, not \"11\"."},
        {"\r\nTestMode=fast\r\nTestMode=slow", ", line 27: TestMode is given twice (first on line 26)."},
        {"\r\nTestMode=\x90", ", line 26: the value of TestMode holds a character a project file cannot hold."},
        {"\r\nTestMode fast", ", line 26: \"TestMode fast\" is not an option of a project (Name=value)."},
        {"\r\n=fast", ", line 26: \"=fast\" is not an option of a project (Name=value)."},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string path = folder.path() + "p.kvr";
        WriteBytes(path, twentyFiveLines(InitialParameterTexts()) + c.after);
        const std::string failure = FailureText([&] { ReadProjectFile(path); });
        EXPECT_EQ(failure.rfind(path + c.message, 0), 0u) << failure;
    }
}

TEST(ProjectNamedLines, AProjectIsNotWrittenWithLinesItCouldNotGiveBack)
{
    TempFolder folder;
    const std::string path = folder.path() + "p.kvr";
    {
        const PlaceholderOptions options;
        writeTeste(path);
        const std::string before = ReadBytes(path);
        for (const NamedLines& lines : std::vector<NamedLines>{{{"FutureOption", "2"}},
                                                               {{"TestCount", "0"}},
                                                               {{"TestMode", "fast"}, {"TestMode", "slow"}},
                                                               {{"TestMode", "fast\r\nTestCount=2"}}}) {
            EXPECT_THROW(writeTeste(path, lines), CheckError) << lines.back().value;
            EXPECT_EQ(ReadBytes(path), before);
        }
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1) << "no temporary file is left";
        EXPECT_THROW(ProjectLineRegistration({"TestMode", "", [](const std::string&) { return true; }}), std::logic_error);
        EXPECT_THROW(ProjectLineRegistration({"Test Mode", "", [](const std::string&) { return true; }}), std::logic_error);
        writeTeste(path, {{"TestCount", "2"}});
    }
    // The placeholders are gone with the options that registered them.
    EXPECT_NE(FailureText([&] { ReadProjectFile(path); }).find("TestCount is not an option this version knows"),
              std::string::npos);
}
