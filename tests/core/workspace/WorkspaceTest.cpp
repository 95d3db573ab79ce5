#include "workspace/Workspace.h"
#include "TestSupport.h"
#include "model/RunChecks.h"
#include "model/Variaveis.h"
#include "text/Errors.h"
#include "text/TextFile.h"
#include "workspace/BlockWriter.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kavrin;
using kavrin::test::TempFolder;

TEST(TimeText, GeneralFormatOfTheTime)
{
    const std::pair<double, const char*> cases[] = {{0, "0"},         {2500, "2500"},    {0.5, "0,5"},
                                                    {12.25, "12,25"}, {0.00005, "5E-5"}, {1e15, "1E15"}};
    for (const auto& [t, text] : cases) EXPECT_EQ(TimeText(t, ','), text);
    EXPECT_EQ(TimeFilePath("/r/", "P", 0.5, '.'), "/r/P/T0.5.txt");
    EXPECT_EQ(IndexPath("/r/", "P"), "/r/P/Index.txt");
}

TEST(TimeSequence, RepeatedAdditionNamesTheFilesByFifteenDigits)
{
    std::vector<std::string> names;
    for (double t = 0; t <= 1; t = t + 0.1) names.push_back(TimeText(t, ','));
    const std::vector<std::string> expected = {"0", "0,1", "0,2", "0,3", "0,4", "0,5", "0,6", "0,7", "0,8", "0,9", "1"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(RunTimes(0, 1, 0.1)->size(), 11u);
    EXPECT_EQ(RunTimes(0, 2500, 2500)->size(), 2u);
    EXPECT_EQ(RunTimes(80, 80, 20)->size(), 1u);
    EXPECT_EQ(RunTimes(100, 80, 20)->size(), 0u);
}

TEST(Workspace, RootComesFromTheEnvironment)
{
    ::setenv("KAVRIN_ROOT", "/tmp/somewhere", 1);
    EXPECT_EQ(WorkspaceRoot(), "/tmp/somewhere/");
    ::setenv("KAVRIN_ROOT", "relative/results", 1);
    EXPECT_EQ(WorkspaceRoot(), std::filesystem::current_path().string() + "/relative/results/");
    ::unsetenv("KAVRIN_ROOT");
    ::setenv("HOME", "/home/user", 1);
    EXPECT_EQ(WorkspaceRoot(), "/home/user/KAVRIN/");
}

TEST(Workspace, TakenNamesGetANumberSuffix)
{
    TempFolder folder;
    const std::string root = folder.path() + "root/";
    std::vector<std::string> names;
    for (int run = 1; run <= 11; ++run) names.push_back(CreateProjectFolder(root, "Teste"));
    EXPECT_EQ(names[0], "Teste");
    EXPECT_EQ(names[1], "Teste(2)");
    EXPECT_EQ(names[9], "Teste(10)");
    EXPECT_EQ(names[10], "Teste(11)");
    for (const auto& name : names) EXPECT_TRUE(std::filesystem::is_directory(root + name));
    kavrin::test::WriteBytes(root + "Plain", "a file, not a folder");
    EXPECT_EQ(CreateProjectFolder(root, "Plain"), "Plain(2)");
}

TEST(Workspace, NamesThatWouldLeaveTheRootAreRefused)
{
    for (const char* name : {"", ".", "..", "../outside", "a/b", "/abs", "line\nbreak", "Ω", "Caf\xE9", "\xC3"})
        EXPECT_THROW(ValidateProjectName(name), CheckError) << name;
    for (const char* name : {"Teste", "Área contaminada", "12-10-26 01-12-17", "a..b", "x(2)"})
        EXPECT_NO_THROW(ValidateProjectName(name)) << name;
}

// The undefined bytes of Windows-1252 read from a project file are control
// characters, refused as the others are; the bytes alone are not text.
TEST(Workspace, NamesWithTheUndefinedBytesOfWindows1252AreRefusedSayingWhy)
{
    for (const char* name : {"\xC2\x90Pluma", "a\xC2\x81", "\xC2\x8D", "\xC2\x8F", "\xC2\x9D"})
        EXPECT_EQ(kavrin::test::FailureText([&] { ValidateProjectName(name); }),
                  "The project name must not contain control characters such as line ends.")
            << name;
    for (const char* name : {"\x90Pluma", "a\x81"})
        EXPECT_EQ(kavrin::test::FailureText([&] { ValidateProjectName(name); }),
                  "The project name holds bytes that are not text in this system's encoding (UTF-8); type it again.")
            << name;
}

TEST(Workspace, LowerCaseIndexNameFindsTheRunsIndex)
{
    TempFolder folder;
    kavrin::test::WriteBytes(folder.path() + "Index.txt", "x\r\n");
    EXPECT_EQ(ResolveIndexPath(folder.path() + "index.txt"), folder.path() + "Index.txt");
    EXPECT_EQ(ResolveIndexPath(folder.path() + "Index.txt"), folder.path() + "Index.txt");
    EXPECT_EQ(ResolveIndexPath(folder.path() + "other.txt"), folder.path() + "other.txt");
}

TEST(TextFiles, WindowsBytesCrLfAndEmptyTextsPastTheEnd)
{
    TempFolder folder;
    const std::string path = folder.path() + "f.txt";
    TextFileWriter writer(path);
    writer.writeLine("Calibração");
    writer.writeLine("");
    writer.write("last");
    writer.close();
    EXPECT_EQ(kavrin::test::ReadBytes(path), "Calibra\xE7\xE3o\r\n\r\nlast");
    TextFileReader reader(path);
    EXPECT_EQ(reader.readLine(), "Calibração");
    EXPECT_EQ(reader.readLine(), "");
    EXPECT_EQ(reader.readLine(), "last");
    EXPECT_EQ(reader.readLine(), "");
    EXPECT_TRUE(reader.atEnd());

    kavrin::test::WriteBytes(path, "a\nb\rc\r\n");
    TextFileReader mixed(path);
    EXPECT_EQ(mixed.readLine(), "a");
    EXPECT_EQ(mixed.readLine(), "b");
    EXPECT_EQ(mixed.readLine(), "c");
    EXPECT_THROW(TextFileReader(folder.path() + "missing"), FileError);
    EXPECT_THROW(TextFileWriter(folder.path() + "no/such/folder.txt"), FileError);
}

// A time's rows go out as pieces, after whatever the buffer holds, in order,
// however many pieces there are; a full disk is an error, not a short file.
TEST(TextFiles, PiecesFollowTheBufferedTextInOrder)
{
    TempFolder folder;
    const std::string path = folder.path() + "T0.txt";
    TextFileWriter writer(path, TextFileWriter::Mode::Stream);
    writer.writeRaw("a");
    writer.writePieces({"bc", "", "d"});
    writer.writeRaw("e");
    std::vector<std::string> many;
    for (int i = 0; i < 3000; ++i) many.push_back(std::to_string(i) + " ");
    writer.writePieces(std::vector<std::string_view>(many.begin(), many.end()));
    writer.close();
    std::string expected = "abcde";
    for (const std::string& piece : many) expected += piece;
    EXPECT_EQ(kavrin::test::ReadBytes(path), expected);

    TextFileWriter full("/dev/full", TextFileWriter::Mode::Stream);
    EXPECT_THROW(full.writePieces({"0.00000000000000E+0000 "}), FileError);
}

// The blocks of a time reach the file in the order handed over, each while the
// next is prepared; a failed block's error reaches the run.
TEST(TextFiles, BlocksAreWrittenInOrderOnTheirOwnThread)
{
    TempFolder folder;
    const std::string path = folder.path() + "T0.txt";
    std::string expected;
    {
        TextFileWriter file(path, TextFileWriter::Mode::Stream);
        BlockWriter writer(file);
        std::vector<std::string> texts[2];
        std::vector<std::string_view> blocks[2];
        for (int b = 0; b < 40; ++b) {
            std::vector<std::string>& text = texts[b % 2];
            std::vector<std::string_view>& pieces = blocks[b % 2];  // free: block b − 2 is written
            text.assign({"block " + std::to_string(b), " of rows\r\n"});
            pieces.assign(text.begin(), text.end());
            writer.write(pieces);
            expected += text[0] + text[1];
        }
        writer.finish();
        file.close();
    }
    EXPECT_EQ(kavrin::test::ReadBytes(path), expected);

    TextFileWriter full("/dev/full", TextFileWriter::Mode::Stream);
    BlockWriter writer(full);
    const std::vector<std::string_view> pieces = {"0.00000000000000E+0000 "};
    writer.write(pieces);
    EXPECT_THROW(writer.finish(), FileError);
}

TEST(RunChecks, TheFirstFailingCheckIsReported)
{
    struct Case {
        std::vector<std::pair<int, const char*>> texts;
        std::optional<RunRefusal> refusal;
        SourceTexts source = {};
    };
    // Zones from y = -35 to 10: the source is 45 m across.
    const SourceTexts zones{{"SourceZones", "-30 0 10 3 1"}};
    const Case cases[] = {
        {{}, std::nullopt},
        {{{10, "-226"}}, RunRefusal::GridTooLargeY},  // 452 cells
        {{{10, "-225"}, {6, "450"}}, std::nullopt},   // exactly 450 passes
        {{{6, "451"}, {10, "-225"}}, RunRefusal::GridTooLargeX},
        {{{6, "60"}, {10, "-40"}}, RunRefusal::YRangeExceedsX},
        {{{10, "-10"}}, RunRefusal::YRangeNotAboveSourceWidth},
        {{{13, "0"}}, RunRefusal::TimeStepNotPositive},
        {{{13, "-5"}}, RunRefusal::TimeStepNotPositive},
        {{{11, "3000"}}, RunRefusal::TimeRangeEmpty},  // T1 < T0: nothing to compute
        {{{13, "0"}, {11, "3000"}}, RunRefusal::TimeRangeEmpty},
        {{{13, "0.0001"}}, RunRefusal::TooManyTimes},
        {{{11, "1e20"}, {12, "2e20"}, {13, "1"}}, RunRefusal::TooManyTimes},
        {{{11, "0"}, {12, "1000000"}, {13, "1"}}, RunRefusal::TooManyTimes},  // 1000001 times
        {{{11, "0"}, {12, "999999"}, {13, "1"}}, std::nullopt},               // exactly 1000000
        {{{7, "-1"}}, RunRefusal::XStepNotPositive},                          // X1 beyond X0
        {{{9, "-1"}}, RunRefusal::YStepNotPositive},
        {{{10, "-22"}}, RunRefusal::YRangeNotAboveSourceWidth, zones},
        {{{10, "-23"}}, std::nullopt, zones},
    };
    for (const Case& c : cases) {
        ParameterTexts texts = InitialParameterTexts();
        for (const auto& [edit, text] : c.texts) SetControlText(texts, edit, text, '.');
        texts.source = c.source;
        ModelState m;
        Variaveis(texts, m, '.');
        EXPECT_EQ(CheckRun(m), c.refusal) << (c.texts.empty() ? "initial" : c.texts[0].second);
    }
}

TEST(Workspace, DeletaPastaRemovesOnlyAProjectFolderInsideTheRoot)
{
    TempFolder folder;
    const std::string root = folder.path() + "root/";
    const std::string outside = folder.path() + "outside/";
    std::filesystem::create_directories(outside);
    kavrin::test::WriteBytes(outside + "keep.txt", "x");

    const std::string name = CreateProjectFolder(root, "Teste");
    kavrin::test::WriteBytes(root + name + "/T0.txt", "x");
    kavrin::test::WriteBytes(root + name + "/Index.txt", "x");
    DeletaPasta(root, "Teste");
    EXPECT_FALSE(std::filesystem::exists(root + "Teste"));

    // The animation's frames go with the results (they kept the folder, and
    // its name, taken); a folder that holds another subfolder keeps it and stays.
    for (const bool ownSubfolder : {false, true}) {
        CreateProjectFolder(root, "Anim");
        std::filesystem::create_directories(root + "Anim/tempImage");
        kavrin::test::WriteBytes(root + "Anim/tempImage/0.bmp", "x");
        kavrin::test::WriteBytes(root + "Anim/T0.txt", "x");
        if (ownSubfolder) {
            std::filesystem::create_directories(root + "Anim/mine");
            kavrin::test::WriteBytes(root + "Anim/mine/a.txt", "x");
        }
        DeletaPasta(root, "Anim");
        EXPECT_FALSE(std::filesystem::exists(root + "Anim/T0.txt"));
        EXPECT_FALSE(std::filesystem::exists(root + "Anim/tempImage"));
        EXPECT_EQ(std::filesystem::exists(root + "Anim/mine/a.txt"), ownSubfolder);
        EXPECT_EQ(std::filesystem::exists(root + "Anim"), ownSubfolder);
    }

    // Names from a project file that anyone may have written delete nothing outside.
    for (const char* name : {"../outside", "..", "", "/tmp", "."}) DeletaPasta(root, name);
    std::filesystem::create_symlink(outside, root + "Link");
    DeletaPasta(root, "Link");
    EXPECT_TRUE(std::filesystem::exists(outside + "keep.txt"));
    EXPECT_TRUE(std::filesystem::exists(root));
}
