#include "TestSupport.h"
#include "text/Errors.h"
#include "files/ParameterFile.h"
#include "files/ProjectFile.h"

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
    EXPECT_EQ(lines[9], "30");    // Edit8 before Edit10
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

TEST(ProjectFile, MissingLinesReadAsEmptyTexts)
{
    TempFolder folder;
    std::string bytes;
    for (int line = 1; line <= 24; ++line) bytes.append("L").append(std::to_string(line)).append("\r\n");
    WriteBytes(folder.path() + "short.kvr", bytes);
    const ProjectFileContents contents = ReadProjectFile(folder.path() + "short.kvr");
    EXPECT_EQ(contents.texts.edit[21], "L23");
    EXPECT_EQ(contents.texts.comboBox1, "L24");
    EXPECT_EQ(contents.indexPath, "");
    EXPECT_THROW(ReadProjectFile(folder.path() + "none.kvr"), FileError);
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
    const ParameterTexts shortFile = ReadParameterFile(path);
    EXPECT_EQ(shortFile.edit[2], "2");
    EXPECT_EQ(shortFile.edit[3], "");
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
