#include "TestSupport.h"
#include "files/ParameterFile.h"
#include "files/ProjectFile.h"
#include "text/Errors.h"
#include "text/TextFile.h"

#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::CrLfLines;
using kavrin::test::ReadBytes;
using kavrin::test::TempFolder;
using kavrin::test::WriteBytes;

TEST(ProjectFile, TwentyFiveLinesTheLastWithoutLineEnd)
{
    TempFolder folder;
    ParameterTexts texts = InitialParameterTexts();
    texts.edit[1] = "0,5";
    texts.comboBox1 = "104";
    const std::string path = folder.path() + "p.kvr";
    WriteProjectFile(path, "Teste", "12-10-26 01-12-17", texts, "/root/KAVRIN/");
    const std::string bytes = ReadBytes(path);
    const std::vector<std::string> lines = CrLfLines(bytes);
    ASSERT_EQ(lines.size(), 25u);
    EXPECT_EQ(lines[0], "Teste");
    EXPECT_EQ(lines[2], "0,5");
    EXPECT_EQ(lines[9], "30");  // Edit8 before Edit10
    EXPECT_EQ(lines[11], "-30");
    EXPECT_EQ(lines[18], "0.2");  // Edit17, porosity, before Edit18
    EXPECT_EQ(lines[23], "104");
    EXPECT_EQ(lines[24], "/root/KAVRIN/Teste/index.txt");
    EXPECT_NE(bytes.substr(bytes.size() - 2), "\r\n");

    const ProjectFileContents back = ReadProjectFile(path);
    EXPECT_EQ(back.projectName, "Teste");
    EXPECT_EQ(back.texts.edit, texts.edit);
    EXPECT_EQ(back.texts.comboBox1, "104");
    EXPECT_EQ(back.indexPath, "/root/KAVRIN/Teste/index.txt");
}

namespace {

// A project file of `lines` lines: name, date, the numbers 1 … 21 (line n
// holds n − 2) and the order.
std::string projectBytes(int lines)
{
    std::vector<std::string> all = {"Teste", "12-10-26"};
    for (int edit = 1; edit <= 21; ++edit) all.push_back(std::to_string(edit) + ",5");
    all.push_back("60");
    all.push_back("/root/KAVRIN/Teste/index.txt");
    std::string bytes;
    for (int line = 0; line < lines; ++line) bytes += all[static_cast<std::size_t>(line)] + (line < 24 ? "\r\n" : "");
    return bytes;
}

}  // namespace

TEST(ProjectFile, ATwentyFourLineFileOpensWithAnEmptyIndexPath)
{
    TempFolder folder;
    WriteBytes(folder.path() + "short.kvr", projectBytes(24));
    const ProjectFileContents contents = ReadProjectFile(folder.path() + "short.kvr");
    EXPECT_EQ(contents.texts.edit[21], "21,5");
    EXPECT_EQ(contents.texts.comboBox1, "60");
    EXPECT_EQ(contents.indexPath, "");
    EXPECT_THROW(ReadProjectFile(folder.path() + "none.kvr"), FileError);
}

// Every byte of a project file comes back as it was when the project is saved
// again, the five bytes Windows-1252 leaves undefined among them: the name
// still names the project's folder.
TEST(ProjectFile, ANameWithAnyByteIsSavedAgainAsItWasRead)
{
    TempFolder folder;
    for (const char* name : {"\x90Pluma",
                             "a\x81"
                             "b",
                             "\x8D", "x\x8F", "\x9D\x80\xE7", "Teste"}) {
        std::string bytes = projectBytes(25);
        bytes.replace(0, 5, name);
        bytes.replace(bytes.rfind("Teste"), 5, name);
        WriteBytes(folder.path() + "read.kvr", bytes);
        const ProjectFileContents read = ReadProjectFile(folder.path() + "read.kvr");
        WriteProjectFile(folder.path() + "saved.kvr", read.projectName, "12-10-26", read.texts, "/root/KAVRIN/");
        EXPECT_EQ(ReadBytes(folder.path() + "saved.kvr"), bytes) << name;
    }
}

TEST(ProjectFile, AFileThatIsNotAProjectIsRefusedNamingTheLine)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::string message;  // what the refusal says after the file's path
    };
    std::string badNumber = projectBytes(25);
    badNumber.replace(badNumber.find("7,5"), 3, "7,5x");
    std::string badOrder = projectBytes(25);
    badOrder.replace(badOrder.find("\r\n60\r\n"), 6, "\r\nsixty\r\n");
    std::string binary = projectBytes(25);
    binary[binary.find("3,5")] = '\0';
    const Case cases[] = {
        {"truncated", projectBytes(23), ", line 24: the file ends before this line; a project file has at least 24 lines."},
        {"empty", "", ", line 1: the file ends before this line"},
        {"field", badNumber, ", line 9: \"7,5x\" is not a number; this is not a project file."},
        {"order", badOrder, ", line 24: \"sixty\" is not a number of intervals"},
        {"binary", binary, ", line 5: holds the byte 0x00, which no text file has"},
        {"long", std::string(TextFileReader::kMaximumLineLength + 1, '7'), ", line 1: is longer than"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string path = folder.path() + "p.kvr";
        WriteBytes(path, c.bytes);
        const std::string failure = kavrin::test::FailureText([&] { ReadProjectFile(path); });
        EXPECT_EQ(failure.rfind(path + c.message, 0), 0u) << c.name << ": " << failure.substr(0, 200);
        EXPECT_LT(failure.size(), 300u) << c.name;
    }
}

TEST(ParameterFile, TwentyTwoLinesWrittenTwentyOneRead)
{
    TempFolder folder;
    ParameterTexts texts = InitialParameterTexts();
    texts.edit[13] = "12,5";
    texts.comboBox1 = "256";
    const std::string path = folder.path() + "par.dat";
    WriteParameterFile(path, texts);
    const std::vector<std::string> lines = CrLfLines(ReadBytes(path));
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(ReadBytes(path).substr(ReadBytes(path).size() - 5), "256\r\n");
    const ParameterTexts back = ReadParameterFile(path);
    EXPECT_EQ(back.edit, texts.edit);
    EXPECT_EQ(back.comboBox1, "");

    WriteBytes(path, "1\r\n2\r\n");
    EXPECT_EQ(kavrin::test::FailureText([&] { ReadParameterFile(path); }),
              path + ", line 3: the file ends before this line; a parameter file has at least 21 lines.");
    std::string twentyOne;
    for (int line = 1; line <= 21; ++line) twentyOne += std::to_string(line) + ".5\n";
    WriteBytes(path, twentyOne);
    EXPECT_EQ(ReadParameterFile(path).edit[21], "21.5");
    WriteBytes(path, std::string(10 << 20, '9') + "x\r\n");
    const std::string failure = kavrin::test::FailureText([&] { ReadParameterFile(path); });
    EXPECT_NE(failure.find("line 1: is longer than"), std::string::npos);
    EXPECT_LT(failure.size(), 300u);
}

TEST(ParameterFile, LoadingMirrorsTheYPairAsTheWindowDoes)
{
    ParameterTexts target = InitialParameterTexts();
    ParameterTexts loaded = InitialParameterTexts();
    loaded.edit[8] = "200";
    loaded.edit[10] = "-150";
    AssignEditTexts(target, loaded, '.');
    EXPECT_EQ(target.edit[8], "150");
    EXPECT_EQ(target.edit[10], "-150");
}
