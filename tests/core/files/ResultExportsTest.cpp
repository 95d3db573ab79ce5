#include "TestSupport.h"
#include "text/Errors.h"
#include "model/Variaveis.h"
#include "files/ResultExports.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kavrin;
using kavrin::test::CrLfLines;
using kavrin::test::ReadBytes;
using kavrin::test::TempFolder;
using kavrin::test::WriteBytes;

namespace {

ModelState modelWith(const std::vector<std::pair<int, const char*>>& changes)
{
    ParameterTexts texts = InitialParameterTexts();
    for (const auto& [edit, text] : changes) SetControlText(texts, edit, text, '.');
    ModelState m;
    Variaveis(texts, m, '.');
    return m;
}

// A project folder with an index of two times (80 and 100), results written
// with a comma separator.
struct Project {
    TempFolder folder;
    std::string index = folder.path() + "Index.txt";
    Project()
    {
        WriteBytes(folder.path() + "T80.txt", "0,00000000000000E+0000 1,25000000000000E+0001 \r\n\r\n5,00000000000000E-0001 \r\n");
        WriteBytes(folder.path() + "T100.txt", "1,00000000000000E+0000 \r\n");
        WriteBytes(index, folder.path() + "T80.txt\r\n" + folder.path() + "T100.txt\r\n");
    }
};

}  // namespace

TEST(SurferGrid, HeaderFromTheModelDataWithPoints)
{
    Project p;
    const ModelState m = modelWith({{6, "100.5"}, {7, "0.5"}, {1, "1000"}, {11, "80"}, {12, "100"}, {13, "20"}});
    std::filesystem::create_directories(p.folder.path() + "out");
    GrdAsccreate(p.folder.path() + "out/plume.grd", p.index, 1, m, ',');
    const std::vector<std::string> lines = CrLfLines(ReadBytes(p.folder.path() + "out/plume.grdT80.grd"));
    const std::vector<std::string> expected = {"DSAA", "202 61", "0 100.5", "-30 30", "0 1000",
                                               "0.00000000000000E+0000 1.25000000000000E+0001 ", "",
                                               "5.00000000000000E-0001 "};
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(std::filesystem::exists(p.folder.path() + "out/plume.grdT100.grd"));
}

TEST(SurferGrid, OneChosenFileAlwaysGetsTheExtension)
{
    Project p;
    GrdAsccreate(p.folder.path() + "one.grd", p.folder.path() + "T100.txt", 2, modelWith({}), '.');
    EXPECT_EQ(CrLfLines(ReadBytes(p.folder.path() + "one.grd.grd")).back(), "1.00000000000000E+0000 ");
}

TEST(SurferGrid, MissingFilesWriteNothingFurther)
{
    Project p;
    std::filesystem::remove(p.folder.path() + "T100.txt");
    EXPECT_THROW(GrdAsccreate(p.folder.path() + "g", p.index, 1, modelWith({{11, "80"}, {13, "20"}}), '.'), FileError);
    EXPECT_TRUE(std::filesystem::exists(p.folder.path() + "gT80.grd"));
    EXPECT_FALSE(std::filesystem::exists(p.folder.path() + "gT100.grd"));
    EXPECT_THROW(GrdAsccreate(p.folder.path() + "h", p.folder.path() + "nothing.txt", 2, modelWith({}), '.'), FileError);
    EXPECT_FALSE(std::filesystem::exists(p.folder.path() + "h.grd"));
    EXPECT_THROW(GrdAsccreate(p.folder.path() + "i", "", 2, modelWith({}), '.'), FileError);
}

TEST(TextTable, TheXLoopDecidesThePointsOfEachLine)
{
    Project p;
    // X from 0 to 0.3 by 0.1: the third addition lands above 0.3, so three points.
    const ModelState m = modelWith({{6, "0.3"}, {7, "0.1"}, {10, "-1"}, {9, "0.5"}, {11, "80"}, {13, "20"}});
    TxtTabcreate(p.folder.path() + "table.txt", p.index, 1, m, ',');
    const std::vector<std::string> lines = CrLfLines(ReadBytes(p.folder.path() + "table.txtT80.txt"));
    const std::vector<std::string> expected = {
        "0 -1 0.00000000000000E+0000", "0.1 -1 1.25000000000000E+0001", "0.2 -1 ",   // third value missing
        "0 -0.5 ", "0.1 -0.5 ", "0.2 -0.5 ",                                          // the empty line
        "0 0 5.00000000000000E-0001", "0.1 0 ", "0.2 0 ",
    };
    EXPECT_EQ(lines, expected);
    TxtTabcreate(p.folder.path() + "single", p.folder.path() + "T100.txt", 2, m, ',');
    EXPECT_EQ(CrLfLines(ReadBytes(p.folder.path() + "single.txt")).front(), "0 -1 1.00000000000000E+0000");
}

TEST(TextTable, RunningSumsAreWrittenWithFifteenDigits)
{
    TempFolder folder;
    std::string line;
    for (int k = 0; k < 11; ++k) line += "1E+0000 ";
    WriteBytes(folder.path() + "T0.txt", line + "\r\n");
    TxtTabcreate(folder.path() + "t", folder.path() + "T0.txt", 2, modelWith({{6, "1"}, {7, "0.1"}}), '.');
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
        {{{7, "0"}}, "DX"},            // the table's X loop would never end
        {{{7, "-1"}}, "DX"},
        {{{9, "0"}}, "DY"},
        {{{6, "1e300"}}, "DX"},        // a header count beyond any integer
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
    EXPECT_THROW(GrdAsccreate("", p.index, 1, modelWith({}), '.'), FileError);
}
