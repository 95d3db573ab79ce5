#include "calibration/ObservationTable.h"
#include "TestSupport.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kavrin;
using kavrin::test::FailureText;
using kavrin::test::ReadBytes;
using kavrin::test::TempFolder;
using kavrin::test::WriteBytes;

namespace {

std::vector<std::string> row(const ObservationTable& table, int r)
{
    std::vector<std::string> cells;
    for (int column = 0; column < ObservationTable::kColumns; ++column) cells.push_back(table.cell(column, r));
    return cells;
}

// Imports `bytes` as a file into `table`; returns the count the window then shows.
int importBytes(ObservationTable& table, const std::string& bytes, char separator = '.')
{
    TempFolder folder;
    WriteBytes(folder.path() + "obs.txt", bytes);
    return table.Import(folder.path() + "obs.txt", separator);
}

}  // namespace

TEST(ObservationTable, StartsWithNoObservationsAndOneEmptyRowShown)
{
    const ObservationTable table;
    EXPECT_EQ(table.ObservationCount(), 0);
    EXPECT_EQ(table.rowCount(), 2);
    EXPECT_TRUE(table.observations().empty());
}

TEST(ObservationTable, SplitsLinesAtEverySingleBlankAndTab)
{
    struct Case {
        const char* line;
        std::vector<std::string> fields;
    };
    const Case cases[] = {
        {"1,5 10 0 0 365", {"1,5", "10", "0", "0", "365"}},
        {"1,5\t10\t0\t0\t365", {"1,5", "10", "0", "0", "365"}},
        {"1  2 3 4 5", {"1", "", "2", "3", "4"}},  // two blanks: an empty field; the sixth is ignored
        {" 1 2 3 4", {"", "1", "2", "3", "4"}},    // a leading blank shifts the fields right
        {"1 \t2", {"1", "", "2"}},
        {"", {""}},  // an empty line writes column 1 only
        {"7 8", {"7", "8"}},
    };
    for (const Case& c : cases) EXPECT_EQ(ImportedFields(c.line), c.fields) << '"' << c.line << '"';
}

TEST(ObservationTable, ImportFillsNumbersAndNormalisesTheSeparator)
{
    for (const char* bytes : {"1,5 10 0 0 365\r\n1,5 10 0 0 365\r\n1,5 10 0 0 365\r\n",
                              "1,5\t10\t0\t0\t365\n1,5\t10\t0\t0\t365\n1,5\t10\t0\t0\t365"}) {
        for (const char separator : {'.', ','}) {
            ObservationTable table;
            EXPECT_EQ(importBytes(table, bytes, separator), 3);
            EXPECT_EQ(table.ObservationCount(), 3);
            EXPECT_EQ(table.rowCount(), 4);
            const std::string c = separator == '.' ? "1.5" : "1,5";
            for (int r = 1; r <= 3; ++r)
                EXPECT_EQ(row(table, r), (std::vector<std::string>{std::to_string(r), c, "10", "0", "0", "365"}));
        }
    }
}

TEST(ObservationTable, LinesAreCountedAsWrittenEmptyOnesIncluded)
{
    struct Case {
        const char* bytes;
        int lines;
    };
    const Case cases[] = {{"", 0}, {"\r\n", 1}, {"a\r\n\r\nb", 3}, {"a\r\n\r\nb\r\n", 3}, {"a\r\n\r\n", 2}};
    for (const Case& c : cases) {
        ObservationTable table;
        EXPECT_EQ(importBytes(table, c.bytes), c.lines) << c.bytes;
        EXPECT_EQ(table.rowCount(), c.lines + 1);
    }
}

TEST(ObservationTable, ShortLinesLeaveTheRestOfTheirRowAndLongLinesAreReadWhole)
{
    ObservationTable table;
    importBytes(table, "1 2 3 4 5\r\n6 7 8 9 10\r\n");
    const std::string longNumber(120, '9');
    importBytes(table, "\r\n" + longNumber + " 1\r\n");
    EXPECT_EQ(row(table, 1), (std::vector<std::string>{"1", "", "2", "3", "4", "5"}));
    EXPECT_EQ(row(table, 2), (std::vector<std::string>{"2", longNumber, "1", "8", "9", "10"}));
}

TEST(ObservationTable, ImportSetsTheCountAlsoWhenTheCountBoxAlreadyShowsIt)
{
    // After "Cancelar" the count is 2 while the count box may still show 3:
    // a three-line import makes all three observations count, not two.
    ObservationTable table;
    table.Edit1Change("3");
    table.Cancel();
    ASSERT_EQ(table.ObservationCount(), 2);
    EXPECT_EQ(importBytes(table, "1 0 0 0 0\r\n2 0 0 0 0\r\n3 0 0 0 0\r\n"), 3);
    EXPECT_EQ(table.ObservationCount(), 3);
    EXPECT_EQ(table.observations().size(), 3u);
}

TEST(ObservationTable, FailedImportChangesNothing)
{
    ObservationTable table;
    importBytes(table, "1 2 3 4 5\r\n");
    TempFolder folder;
    EXPECT_NE(FailureText([&] { table.Import(folder.path() + "missing.txt", '.'); }).find("I/O error 2"), std::string::npos);
    EXPECT_EQ(table.ObservationCount(), 1);
    EXPECT_EQ(row(table, 1), (std::vector<std::string>{"1", "1", "2", "3", "4", "5"}));
}

TEST(ObservationTable, CountBoxSetsCountRowsAndNumbersAndRefusesNonIntegers)
{
    ObservationTable table;
    table.setCell(3, 4, "kept");
    table.Edit1Change(" 5 ");
    EXPECT_EQ(table.ObservationCount(), 5);
    EXPECT_EQ(table.rowCount(), 6);
    EXPECT_EQ(table.cell(0, 5), "5");
    table.Edit1Change("2");
    EXPECT_EQ(table.rowCount(), 3);
    EXPECT_EQ(table.cell(3, 4), "kept");  // hidden, not emptied
    table.Edit1Change("5");
    EXPECT_EQ(table.cell(3, 4), "kept");

    for (const char* text : {"", "2.5", "abc", "3x"}) {
        EXPECT_EQ(FailureText([&] { table.Edit1Change(text); }), std::string("''") + text + "'' is not a valid integer value");
        EXPECT_EQ(table.ObservationCount(), 5);
        EXPECT_EQ(table.rowCount(), 6);
    }
    EXPECT_FALSE(FailureText([&] { table.Edit1Change("100001"); }).empty());
    EXPECT_EQ(table.ObservationCount(), 5);

    for (const char* text : {"0", "-3"}) {
        table.Edit1Change(text);
        EXPECT_EQ(table.rowCount(), 1) << text;
        EXPECT_TRUE(table.observations().empty());
    }
}

TEST(ObservationTable, SaveWritesColumnsOneToFiveWithCrLf)
{
    TempFolder folder;
    ObservationTable table;
    importBytes(table, "1,5 10 0 0 365\r\n2 20 1 -1 730\r\n", ',');
    table.Save(folder.path() + "obs.txt");
    EXPECT_EQ(ReadBytes(folder.path() + "obs.txt"), "1,5 10 0 0 365\r\n2 20 1 -1 730\r\n");

    ObservationTable back;
    back.Import(folder.path() + "obs.txt", ',');
    EXPECT_EQ(back.observations(), table.observations());
    EXPECT_EQ(back.ObservationCount(), 2);

    table.Edit1Change("0");
    table.Save(folder.path() + "obs.txt");
    EXPECT_EQ(ReadBytes(folder.path() + "obs.txt"), "");
}

TEST(ObservationTable, SaveAfterCancelWritesTheEmptiedRowAndTheHiddenSecond)
{
    TempFolder folder;
    ObservationTable table;
    importBytes(table, "1 2 3 4 5\r\n6 7 8 9 10\r\n11 12 13 14 15\r\n");
    table.Cancel();
    EXPECT_EQ(table.rowCount(), 2);
    EXPECT_EQ(row(table, 1), std::vector<std::string>(6, ""));
    table.Save(folder.path() + "obs.txt");
    EXPECT_EQ(ReadBytes(folder.path() + "obs.txt"), "    \r\n6 7 8 9 10\r\n");

    ObservationTable fresh;
    fresh.Cancel();
    fresh.Save(folder.path() + "fresh.txt");
    EXPECT_EQ(ReadBytes(folder.path() + "fresh.txt"), "    \r\n    \r\n");
}

TEST(ObservationTable, FailedSaveReportsTheFileAndLeavesNoLeftovers)
{
    TempFolder folder;
    ObservationTable table;
    importBytes(table, "1 2 3 4 5\r\n");
    // A folder in the way: the table is written aside, and the rename fails.
    std::filesystem::create_directory(folder.path() + "taken.txt");
    const std::string failure = FailureText([&] { table.Save(folder.path() + "taken.txt"); });
    EXPECT_NE(failure.find("taken.txt ("), std::string::npos) << failure;
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() + "taken.txt"));
    EXPECT_NE(FailureText([&] { table.Save(folder.path() + "no/such/obs.txt"); }).find("I/O error 2: "), std::string::npos);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) ++entries;
    EXPECT_EQ(entries, 1u);

    // Replacing an existing file goes through the same rename.
    WriteBytes(folder.path() + "obs.txt", "earlier contents that are longer\r\n");
    table.Save(folder.path() + "obs.txt");
    EXPECT_EQ(ReadBytes(folder.path() + "obs.txt"), "1 2 3 4 5\r\n");
}

TEST(ObservationTable, ASixthFieldIsTheWeightAndIsSavedOnlyWhereGiven)
{
    struct Case {
        const char* line;
        std::string weight;
    };
    const Case cases[] = {{"1 2 3 4 5 0,5", "0,5"},  {"1 2 3 4 5", ""},         {"1 2 3 4 5 ", ""},
                          {"1\t2\t3\t4\t5\t2", "2"}, {"1 2 3 4 5 7 note", "7"}, {"1 2 3", ""}};
    for (const Case& c : cases) EXPECT_EQ(ImportedWeight(c.line), c.weight) << '"' << c.line << '"';

    TempFolder folder;
    ObservationTable table;
    importBytes(table, "1,5 10 0 0 365 2,5\r\n2 20 1 -1 730\r\n3 30 0 0 900 0,01\r\n", ',');
    EXPECT_EQ(table.weights(), (std::vector<std::string>{"2,5", "", "0,01"}));
    EXPECT_EQ(row(table, 1), (std::vector<std::string>{"1", "1,5", "10", "0", "0", "365"}));
    table.Save(folder.path() + "obs.txt");
    EXPECT_EQ(ReadBytes(folder.path() + "obs.txt"), "1,5 10 0 0 365 2,5\r\n2 20 1 -1 730\r\n3 30 0 0 900 0,01\r\n");

    // A table of five fields imports without weights and saves byte for byte.
    importBytes(table, "1,5 10 0 0 365\r\n2 20 1 -1 730\r\n", ',');
    EXPECT_EQ(table.weights(), (std::vector<std::string>{"", ""}));
    table.Save(folder.path() + "obs.txt");
    EXPECT_EQ(ReadBytes(folder.path() + "obs.txt"), "1,5 10 0 0 365\r\n2 20 1 -1 730\r\n");

    table.setWeight(2, "4");
    table.Cancel();
    EXPECT_EQ(table.weight(1), "");
    EXPECT_EQ(table.weight(2), "4");
}
