#include "files/ResultExports.h"
#include "TestSupport.h"
#include "core/ModelWithTexts.h"
#include "model/Variaveis.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

using namespace kavrin;
using kavrin::test::CrLfLines;
using kavrin::test::ModelWith;
using kavrin::test::ReadBytes;
using kavrin::test::TempFolder;
using kavrin::test::WriteBytes;

namespace {

// A project folder with an index of two times (80 and 100) of a grid of two
// values (X 0 and 0.5) by three rows (Y −1, 0, 1), results written with a
// comma separator. Exports go to the folder "out/" beside it.
struct Project {
    TempFolder folder;
    std::string index = folder.path() + "Index.txt";
    std::string out = folder.path() + "out/";
    Project()
    {
        WriteBytes(folder.path() + "T80.txt", "0,00000000000000E+0000 1,25000000000000E+0001 \r\n"
                                              "2,00000000000000E+0000 3,00000000000000E+0000 \r\n"
                                              "5,00000000000000E-0001 6,00000000000000E-0001 \r\n");
        WriteBytes(folder.path() + "T100.txt", "1,00000000000000E+0000 2,00000000000000E+0000 \r\n"
                                               "3,00000000000000E+0000 4,00000000000000E+0000 \r\n"
                                               "5,00000000000000E+0000 6,00000000000000E+0000 \r\n");
        WriteBytes(index, folder.path() + "T80.txt\r\n" + folder.path() + "T100.txt\r\n");
        std::filesystem::create_directories(out);
    }
};

// The grid of Project's files, with other changes.
ModelState projectModelWith(std::vector<std::pair<int, const char*>> changes)
{
    changes.insert(changes.begin(), {{6, "0.5"}, {7, "0.5"}, {10, "-1"}, {8, "1"}, {9, "1"}, {11, "80"}, {13, "20"}});
    return ModelWith(changes);
}

}  // namespace

TEST(SurferGrid, HeaderFromTheModelDataWithPoints)
{
    Project p;
    const ModelState m = projectModelWith({{1, "1000"}, {12, "100"}});
    GrdAsccreate(p.folder.path() + "out/plume.grd", p.index, 1, m, ',');
    const std::vector<std::string> lines = CrLfLines(ReadBytes(p.folder.path() + "out/plume.grdT80.grd"));
    const std::vector<std::string> expected = {"DSAA",
                                               "2 3",
                                               "0 0.5",
                                               "-1 1",
                                               "0 1000",
                                               "0.00000000000000E+0000 1.25000000000000E+0001 ",
                                               "2.00000000000000E+0000 3.00000000000000E+0000 ",
                                               "5.00000000000000E-0001 6.00000000000000E-0001 "};
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(std::filesystem::exists(p.folder.path() + "out/plume.grdT100.grd"));
}

// A zone stronger than C0 raises the z range to its concentration.
TEST(SurferGrid, TheZRangeReachesTheStrongestZone)
{
    Project p;
    ModelState m = projectModelWith({{1, "2.8"}});
    m.source.moreZones = {{0, 0, 0.2, 0.2, 9}};
    GrdAsccreate(p.folder.path() + "out/zones.grd", p.index, 1, m, ',');
    EXPECT_EQ(CrLfLines(ReadBytes(p.folder.path() + "out/zones.grdT80.grd"))[4], "0 9");
}

TEST(SurferGrid, OneChosenFileAlwaysGetsTheExtension)
{
    Project p;
    GrdAsccreate(p.folder.path() + "one.grd", p.folder.path() + "T100.txt", 2, projectModelWith({}), '.');
    EXPECT_EQ(CrLfLines(ReadBytes(p.folder.path() + "one.grd.grd")).back(), "5.00000000000000E+0000 6.00000000000000E+0000 ");
}

TEST(SurferGrid, MissingFilesWriteNothingFurther)
{
    Project p;
    std::filesystem::remove(p.folder.path() + "T100.txt");
    EXPECT_THROW(GrdAsccreate(p.out + "g", p.index, 1, projectModelWith({}), '.'), FileError);
    EXPECT_TRUE(std::filesystem::exists(p.out + "gT80.grd"));
    EXPECT_FALSE(std::filesystem::exists(p.out + "gT100.grd"));
    EXPECT_THROW(GrdAsccreate(p.folder.path() + "h", p.folder.path() + "nothing.txt", 2, ModelWith({}), '.'), FileError);
    EXPECT_FALSE(std::filesystem::exists(p.folder.path() + "h.grd"));
    EXPECT_THROW(GrdAsccreate(p.folder.path() + "i", "", 2, ModelWith({}), '.'), FileError);
}

TEST(TextTable, TheXLoopDecidesThePointsOfEachLine)
{
    Project p;
    // X from 0 to 0.3 by 0.1: four values a row, but the third addition lands
    // above 0.3, so three points.
    const ModelState m = ModelWith({{6, "0.3"}, {7, "0.1"}, {10, "-1"}, {8, "1"}, {9, "1"}, {11, "80"}, {13, "20"}});
    WriteBytes(p.folder.path() + "T80.txt", "1,0E+0000 2,0E+0000 3,0E+0000 4,0E+0000 \r\n"
                                            "5,0E+0000 6,0E+0000 7,0E+0000 8,0E+0000 \r\n"
                                            "9,0E+0000 1,0E+0001 1,1E+0001 1,2E+0001 \r\n");
    WriteBytes(p.index, p.folder.path() + "T80.txt\r\n");
    TxtTabcreate(p.out + "table.txt", p.index, 1, m, ',');
    const std::vector<std::string> lines = CrLfLines(ReadBytes(p.out + "table.txtT80.txt"));
    const std::vector<std::string> expected = {
        "0 -1 1.0E+0000", "0.1 -1 2.0E+0000", "0.2 -1 3.0E+0000",  // the fourth value is not written
        "0 0 5.0E+0000",  "0.1 0 6.0E+0000",  "0.2 0 7.0E+0000",  "0 1 9.0E+0000", "0.1 1 1.0E+0001", "0.2 1 1.1E+0001",
    };
    EXPECT_EQ(lines, expected);
    TxtTabcreate(p.folder.path() + "single", p.folder.path() + "T80.txt", 2, m, ',');
    EXPECT_EQ(CrLfLines(ReadBytes(p.folder.path() + "single.txt")).front(), "0 -1 1.0E+0000");
}

TEST(TextTable, RunningSumsAreWrittenWithFifteenDigits)
{
    TempFolder folder;
    std::string line;
    for (int k = 0; k < 11; ++k) line += "1E+0000 ";
    std::string rows;
    for (int j = 0; j < 61; ++j) rows += line + "\r\n";  // Y from -30 to 30 by 1
    WriteBytes(folder.path() + "T0.txt", rows);
    TxtTabcreate(folder.path() + "t", folder.path() + "T0.txt", 2, ModelWith({{6, "1"}, {7, "0.1"}}), '.');
    const std::vector<std::string> lines = CrLfLines(ReadBytes(folder.path() + "t.txt"));
    ASSERT_GE(lines.size(), 9u);
    EXPECT_EQ(lines[8], "0.8 -30 1E+0000");
    EXPECT_EQ(PontoDecimal("1,5;2,5"), "1.5;2.5");
}

TEST(Exports, AGridTheDataWindowCannotDescribeIsRefusedBeforeAnythingIsWritten)
{
    struct Case {
        std::vector<std::pair<int, const char*>> texts;
        const char* step;
    };
    const Case cases[] = {
        {{{7, "0"}}, "DX"},  // the table's X loop would never end
        {{{7, "-1"}}, "DX"},
        {{{9, "0"}}, "DY"},
        {{{6, "1e300"}}, "DX"},                         // a header count beyond any integer
        {{{5, "1e20"}, {6, "1.0000000001e20"}}, "DX"},  // x + DX == x: the loop stands still
        {{{10, "-1e300"}}, "DY"},
    };
    for (const Case& c : cases) {
        Project p;
        ParameterTexts texts = InitialParameterTexts();
        for (const auto& [edit, text] : c.texts) SetControlText(texts, edit, text, '.');
        ModelState m;
        try {
            Variaveis(texts, m, '.');
        } catch (const KavrinError&) {
            // A zero step stops the derived fields; the typed ones are what the export reads.
        }
        for (const auto create : {GrdAsccreate, TxtTabcreate}) {
            const std::string failure = kavrin::test::FailureText([&] { create(p.folder.path() + "out", p.index, 1, m, '.'); });
            EXPECT_NE(failure.find(std::string(c.step) + " must be greater than zero"), std::string::npos) << failure;
        }
        EXPECT_FALSE(std::filesystem::exists(p.folder.path() + "outT80.grd"));
        EXPECT_FALSE(std::filesystem::exists(p.folder.path() + "outT80.txt"));
    }
    Project p;
    EXPECT_THROW(GrdAsccreate("", p.index, 1, ModelWith({}), '.'), FileError);
}

TEST(Exports, AResultsFileThatIsNotOneWholeTimeOfTheGridIsRefusedAndWritesNothing)
{
    struct Case {
        const char* name;
        std::string bytes;
        const char* problem;  // what the message says, after the file and line
    };
    const std::string row = "1,0E+0000 2,0E+0000 \r\n";
    std::string tooLong;
    for (int k = 0; k < 2000; ++k) tooLong += row;
    const Case cases[] = {
        {"empty", "", ", line 1: the file ends after 0 rows where the project's grid has 3 rows (Y from -1 to 1 by 1)"},
        {"cut", row + row, ", line 3: the file ends after 2 rows where the project's grid has 3 rows"},
        {"cut in a row", row + row + "1,0E+0000 2,0",
         ", line 3: holds 1 values where the project's grid has 2 values (X from 0 to 0,5 by 0,5)"},
        {"another grid", "1 2 3 \r\n1 2 3 \r\n1 2 3 \r\n", ", line 1: holds 3 values where the project's grid has 2 values"},
        {"too many rows", tooLong, ", line 4: the file goes on beyond the 3 rows (Y from -1 to 1 by 1) of the project's grid"},
    };
    for (const Case& c : cases) {
        for (const auto create : {GrdAsccreate, TxtTabcreate}) {
            Project p;
            WriteBytes(p.folder.path() + "T100.txt", c.bytes);
            const std::string failure =
                kavrin::test::FailureText([&] { create(p.out + "e", p.index, 1, projectModelWith({}), ','); });
            EXPECT_NE(failure.find(p.folder.path() + "T100.txt" + c.problem), std::string::npos) << c.name << ": " << failure;
            EXPECT_TRUE(std::filesystem::exists(p.out + "eT80.grd") || std::filesystem::exists(p.out + "eT80.txt")) << c.name;
            EXPECT_FALSE(std::filesystem::exists(p.out + "eT100.grd") || std::filesystem::exists(p.out + "eT100.txt")) << c.name;
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(p.out), std::filesystem::directory_iterator()), 1)
                << c.name;
        }
    }
}

TEST(Exports, NoOutputReplacesWhatTheExportReadsOrLandsInAResultsFolder)
{
    struct Case {
        const char* name;
        std::string save;
        std::string open;
        int only;
        std::string refusal;
        bool tableOnly = true;  // a grid's name ends in ".grd", no input's
    };
    Project p;
    const std::string f = p.folder.path();
    std::filesystem::create_hard_link(f + "T80.txt", p.out + "linkT80.txt");
    std::filesystem::create_symlink(f + "T100.txt", p.out + "symlink.txt");
    WriteBytes(p.out + "project.txt", "the project file\r\n");
    const Case cases[] = {
        {"the results folder", f, p.index, 1, "into the results folder", false},
        {"a folder the index lists", p.out + "../", p.index, 1, "into the results folder", false},
        {"its own input", f + "T80", f + "T80.txt", 2, "over " + std::string(f) + "T80.txt, which it reads"},
        {"another time of the index beside it", f + "T100", f + "T80.txt", 2, "which it reads"},
        {"the index beside it", f + "Index", f + "T80.txt", 2, "which it reads"},
        {"a hard link of its input", p.out + "linkT80", f + "T80.txt", 2, "which it reads"},
        {"a symbolic link to its input", p.out + "symlink", f + "T100.txt", 2, "which it reads"},
        {"the project file", p.out + "project", f + "T100.txt", 2, "project.txt, which it reads"},
    };
    const std::string before80 = ReadBytes(f + "T80.txt"), before100 = ReadBytes(f + "T100.txt"),
                      beforeIndex = ReadBytes(p.index);
    for (const Case& c : cases) {
        for (const ExportFormat format : {ExportFormat::Table, ExportFormat::Grid}) {
            if (format == ExportFormat::Grid && c.tableOnly) continue;
            const std::string failure = kavrin::test::FailureText(
                [&] { ExportResults(format, c.save, c.open, c.only, projectModelWith({}), ',', {p.out + "project.txt"}); });
            EXPECT_NE(failure.find(c.refusal), std::string::npos) << c.name << ": " << failure;
            EXPECT_NE(failure.find("Nothing was written."), std::string::npos) << c.name;
        }
    }
    EXPECT_EQ(ReadBytes(f + "T80.txt"), before80);
    EXPECT_EQ(ReadBytes(f + "T100.txt"), before100);
    EXPECT_EQ(ReadBytes(p.index), beforeIndex);
    EXPECT_EQ(ReadBytes(p.out + "project.txt"), "the project file\r\n");
    EXPECT_FALSE(std::filesystem::exists(f + "T80.grd"));
    EXPECT_FALSE(std::filesystem::exists(f + "T100.grd"));
    // Beside the chosen file, a name the index does not list is written.
    TxtTabcreate(f + "T80 table", f + "T80.txt", 2, projectModelWith({}), ',');
    EXPECT_TRUE(std::filesystem::exists(f + "T80 table.txt"));
}
