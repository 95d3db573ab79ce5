#include "files/SourceProjectLines.h"
#include "TestSupport.h"
#include "files/ProjectFile.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::FailureText;
using kavrin::test::ReadBytes;
using kavrin::test::TempFolder;
using kavrin::test::WriteBytes;

namespace {

void writeProject(const std::string& path, const ParameterTexts& texts)
{
    WriteProjectFile(path, "Teste", "12-10-26 01-12-17", texts, "/root/KAVRIN/");
}

ParameterTexts withSource(SourceTexts source)
{
    ParameterTexts texts = InitialParameterTexts();
    texts.source = std::move(source);
    return texts;
}

}  // namespace

TEST(SourceProjectLines, DefaultOptionsWriteTheTwentyFiveLinesAndOthersFollowThem)
{
    TempFolder folder;
    const std::string plain = folder.path() + "plain.kvr", options = folder.path() + "options.kvr";
    writeProject(plain, InitialParameterTexts());
    const std::string twentyFive = ReadBytes(plain);
    EXPECT_EQ(twentyFive.substr(twentyFive.size() - 30), "\r\n/root/KAVRIN/Teste/index.txt");

    const SourceTexts source = {{"SourceHistory", "decay"},
                                {"SourceHalfLife", "12,5"},
                                {"SourceCentre", "0 4"},
                                {"SourceZones", "1 2 3 4 5|-6 7 8 9 1.5E-2"},
                                {"ControlPlaneX", "40"}};
    writeProject(options, withSource(source));
    EXPECT_EQ(ReadBytes(options), twentyFive + "\r\nSourceHistory=decay\r\nSourceHalfLife=12,5\r\nSourceCentre=0 4\r\n"
                                               "SourceZones=1 2 3 4 5|-6 7 8 9 1.5E-2\r\nControlPlaneX=40");
    const ProjectFileContents back = ReadProjectFile(options);
    EXPECT_EQ(back.texts.source, source);
    EXPECT_TRUE(back.namedLines.empty());
    EXPECT_TRUE(ReadProjectFile(plain).texts.source.empty());

    // Opening fills the data window's source texts, and a project without them empties them.
    ParameterTexts window = InitialParameterTexts();
    ApplyProjectTexts(window, back, '.');
    EXPECT_EQ(window.source, source);
    ApplyProjectTexts(window, ReadProjectFile(plain), '.');
    EXPECT_TRUE(window.source.empty());
}

TEST(SourceProjectLines, AMalformedValueIsRefusedNamingTheFileTheLineAndTheForm)
{
    struct Case {
        std::string after, message;
    };
    const Case cases[] = {
        {"\r\nSourceHistory=linear", ", line 26: SourceHistory takes constant, decay, stop or steps, not \"linear\"."},
        {"\r\nSourceHistory=stop\r\nReleaseEnd=ten", ", line 27: ReleaseEnd takes a number of days, not \"ten\"."},
        {"\r\nSourceDecay=0.1 0.2", ", line 26: SourceDecay takes a number (1/day), not \"0.1 0.2\"."},
        {"\r\nSourceSteps=0 1|", ", line 26: SourceSteps takes steps \"START RELATIVE\" apart by |, not \"0 1|\"."},
        {"\r\nSourceCentre=1;2", ", line 26: SourceCentre takes two numbers \"Y Z\", not \"1;2\"."},
        {"\r\nSourceZones=1 2 3 4",
         ", line 26: SourceZones takes zones \"Y Z WIDTH HEIGHT CONCENTRATION\" apart by |, not \"1 2 3 4\"."},
        {"\r\nControlPlaneX=", ", line 26: ControlPlaneX takes a number of metres, not \"\"."},
        {"\r\nSourceZone=1 2 3 4 5", ", line 26: SourceZone is not an option this version knows"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string path = folder.path() + "p.kvr";
        writeProject(path, InitialParameterTexts());
        WriteBytes(path, ReadBytes(path) + c.after);
        const std::string failure = FailureText([&] { ReadProjectFile(path); });
        EXPECT_EQ(failure.rfind(path + c.message, 0), 0u) << failure;
    }
    // Nor is a project written with such a value.
    TempFolder folder;
    EXPECT_THROW(writeProject(folder.path() + "p.kvr", withSource({{"SourceZones", "1 2 3"}})), CheckError);
}

TEST(SourceProjectLines, ATextTakesItsPlaceInTheStoringOrder)
{
    SourceTexts texts;
    SetSourceText(texts, "ControlPlaneX", "40");
    SetSourceText(texts, "SourceHalfLife", "100");
    SetSourceText(texts, "SourceHistory", "decay");
    EXPECT_EQ(texts, (SourceTexts{{"SourceHistory", "decay"}, {"SourceHalfLife", "100"}, {"ControlPlaneX", "40"}}));
    SetSourceText(texts, "SourceDecay", "0.01");  // a rate replaces a half-life
    SetSourceText(texts, "ControlPlaneX", "45");
    EXPECT_EQ(texts, (SourceTexts{{"SourceHistory", "decay"}, {"SourceDecay", "0.01"}, {"ControlPlaneX", "45"}}));
    SetSourceText(texts, "SourceHistory", "constant");  // the default is no line
    EXPECT_EQ(texts, (SourceTexts{{"SourceDecay", "0.01"}, {"ControlPlaneX", "45"}}));
}

TEST(SourceProjectLines, ValueGroupsTakeEitherSeparatorAndExactCounts)
{
    EXPECT_EQ(SourceValueGroups(" 0 1,5 | 10  0.25 ", 2), (std::vector<std::vector<double>>{{0, 1.5}, {10, 0.25}}));
    EXPECT_FALSE(SourceValueGroups("0 1 2", 2));
    EXPECT_FALSE(SourceValueGroups("0 1||2 3", 2));
    EXPECT_FALSE(SourceValueGroups("0 x", 2));
    EXPECT_FALSE(SourceValueGroups("", 1));
}
