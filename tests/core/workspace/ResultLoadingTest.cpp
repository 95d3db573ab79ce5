#include "workspace/ResultLoading.h"
#include "TestSupport.h"
#include "text/Errors.h"
#include "text/TextFile.h"
#include "workspace/ResultValues.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::TempFolder;
using kavrin::test::WriteBytes;
using namespace std::string_literals;

namespace {

// A grid whose every cell holds -1, to see which cells a load wrote.
ResultGrid markedGrid()
{
    ResultGrid grid;
    for (int ix = 1; ix <= ResultGrid::kSize; ++ix)
        for (int iy = 1; iy <= ResultGrid::kSize; ++iy) grid.set(ix, iy, -1);
    return grid;
}

}  // namespace

TEST(ResultLoading, CellsFollowTheLinesAndTheirBlanks)
{
    struct Case {
        const char* name;
        const char* bytes;
        std::vector<std::tuple<int, int, double>> cells;  // (ix, iy, value); -1: untouched
    };
    const Case cases[] = {
        {"two rows", "1E+0000 2E+0000 \r\n3E+0000 4E+0000 \r\n", {{1, 1, 1}, {2, 1, 2}, {1, 2, 3}, {2, 2, 4}, {3, 1, -1}}},
        {"short line", "1E+0000 \r\n3E+0000 4E+0000 \r\n", {{1, 1, 1}, {2, 1, -1}, {2, 2, 4}}},
        {"empty line keeps its row", "1E+0000 \r\n\r\n5E+0000 \r\n", {{1, 1, 1}, {1, 2, -1}, {1, 3, 5}}},
        {"a value without its blank is lost", "1E+0000 2E+0000\r\n", {{1, 1, 1}, {2, 1, -1}}},
        {"grid value texts", "5.00000000000000E-0001 1.23450000000000E-0004 \r\n", {{1, 1, 0.5}, {2, 1, 0.00012345}}},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        WriteBytes(folder.path() + "T0.txt", c.bytes);
        ResultGrid grid = markedGrid();
        ASSERT_TRUE(LoadResultFile(folder.path() + "T0.txt", grid, '.')) << c.name;
        for (const auto& [ix, iy, value] : c.cells) EXPECT_EQ(grid.at(ix, iy), value) << c.name << " (" << ix << "," << iy << ")";
    }
}

TEST(ResultLoading, FailuresKeepWhatWasStored)
{
    TempFolder folder;
    ResultGrid grid = markedGrid();
    EXPECT_FALSE(LoadResultFile(folder.path() + "T80.txt", grid, '.'));
    EXPECT_EQ(grid.at(1, 1), -1);

    WriteBytes(folder.path() + "T0.txt", "1E+0000 2E+0000  3E+0000 \r\n");  // two blanks in a row
    EXPECT_THROW(LoadResultFile(folder.path() + "T0.txt", grid, '.'), ConversionError);
    EXPECT_EQ(grid.at(2, 1), 2);
    EXPECT_EQ(grid.at(3, 1), -1);

    WriteBytes(folder.path() + "T1.txt", "5,0E-0001 \r\n");  // the other separator
    EXPECT_THROW(LoadResultFile(folder.path() + "T1.txt", grid, '.'), ConversionError);
    EXPECT_TRUE(LoadResultFile(folder.path() + "T1.txt", grid, ','));
    EXPECT_EQ(grid.at(1, 1), 0.5);
}

TEST(ResultLoading, NothingIsStoredOutsideTheGrid)
{
    TempFolder folder;
    std::string line;
    for (int k = 0; k < 460; ++k) line += "1E+0000 ";
    std::string bytes;
    for (int m = 0; m < 460; ++m) bytes += line + "\r\n";
    WriteBytes(folder.path() + "T0.txt", bytes);
    ResultGrid grid;
    EXPECT_TRUE(LoadResultFile(folder.path() + "T0.txt", grid, '.'));
    EXPECT_EQ(grid.at(451, 451), 1);
    EXPECT_EQ(ResultFilePath("/r/", "P", "80"), "/r/P/T80.txt");
}

TEST(ResultLoading, ATimeOfTheProjectIsReadOnlyWhenItIsOneWholeTimeOfItsGrid)
{
    ModelState model;  // two values (X 0, 10) by three rows (Y -10, 0, 10)
    model.X0 = 0, model.X1 = 10, model.DX = 10, model.Y0 = -10, model.Y1 = 10, model.DY = 10;
    const std::string row = "1E+0000 2E+0000 \r\n";
    struct Case {
        const char* name;
        std::string bytes;
        const char* problem;  // "" when the file is read
    };
    const Case cases[] = {
        {"whole", row + row + row, ""},
        {"empty", "", ", line 1: the file ends after 0 rows where the project's grid has 3 rows (Y from -10 to 10 by 10)"},
        {"cut after a row", row, ", line 2: the file ends after 1 rows"},
        {"cut in its last row", row + row + "1E+0000 2E",
         ", line 3: holds 1 values where the project's grid has 2 values (X from 0 to 10 by 10)"},
        {"of a wider grid", row + row + "1E+0000 2E+0000 3E+0000 \r\n", ", line 3: holds 3 values"},
        {"of a longer grid", row + row + row + row, ", line 4: the file goes on beyond the 3 rows"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string path = folder.path() + "T0.txt";
        WriteBytes(path, c.bytes);
        ResultGrid grid = markedGrid();
        const std::string failure = test::FailureText([&] { EXPECT_TRUE(LoadResultFile(path, grid, model, '.')); });
        if (*c.problem == '\0') {
            EXPECT_EQ(failure, "") << c.name;
            EXPECT_EQ(grid.at(2, 3), 2) << c.name;
            continue;
        }
        EXPECT_EQ(failure.rfind(path + c.problem, 0), 0u) << c.name << ": " << failure;
        EXPECT_EQ(grid.at(1, 1), -1) << c.name;  // the grid shown before stays
    }
    ResultGrid grid;
    EXPECT_FALSE(LoadResultFile("/nonexistent/T0.txt", grid, model, '.'));
}

// Plain files are read from their bytes at once, any other through the line
// reader: every file gives the values, or the message at the line, that the
// line reader gives.
TEST(ResultLoading, EveryFileIsReadAsItsLinesAreWhateverItsBytes)
{
    ModelState model;  // two values (X 0, 10) by three rows (Y -10, 0, 10)
    model.X0 = 0, model.X1 = 10, model.DX = 10, model.Y0 = -10, model.Y1 = 10, model.DY = 10;
    const std::string row = "1E+0000 2E+0000 \r\n";
    const std::string overlong(TextFileReader::kMaximumLineLength + 1, '1');
    struct Case {
        const char* name;
        std::string bytes;
        char separator;
        std::string problem;  // the message after the path ("" for a conversion's own), or "" when read
        double last = 2;      // cell (2, 3) when read
    };
    const Case cases[] = {
        {"line feeds, returns alone and no end", "1E+0000 2E+0000 \r1E+0000 2E+0000 \n1E+0000 3E+0000 ", '.', "", 3},
        {"an empty line of returns", row + "\r\r\n" + row, '.',
         ", line 2: holds 0 values where the project's grid has 2 values (X from 0 to 10 by 10): it is not a time of this "
         "project, or it was cut."},
        {"text after the last blank", "1 2E+0000 x\r\n5 6 7\r\n-.5 4. \r\n", '.', "", 4},
        {"signs, points, exponents and underflow", row + row + "+1E+0000 -.25e-400 \r\n", '.', "", -0.0},
        {"commas", "1,5E+0000 2,5 \r\n" + row + ",5 -2, \r\n", ',', "", -2},
        {"a comma where a point goes", row + "1,5 2 \r\n" + row, '.', "'1,5' is not a valid floating point value"},
        {"a point where a comma goes", row + "1.5 2 \r\n" + row, ',', "'1.5' is not a valid floating point value"},
        {"two blanks", row + "1E+0000  \r\n" + row, '.', "'' is not a valid floating point value"},
        {"a tab between values", row + "1E+0000\t2E+0000 \r\n" + row, '.',
         ", line 2: holds 1 values where the project's grid has 2 values (X from 0 to 10 by 10): it is not a time of this "
         "project, or it was cut."},
        {"infinity and not a number", row + "inf nan \r\n" + row, '.', "'inf' is not a valid floating point value"},
        {"a hexadecimal value", row + "0x1p3 1 \r\n" + row, '.', "'0x1p3' is not a valid floating point value"},
        {"a value out of range", row + "1E+0400 1 \r\n" + row, '.', "'1E+0400' is not a valid floating point value"},
        {"a cut exponent", row + "1E+ 1 \r\n" + row, ',', "'1E+' is not a valid floating point value"},
        {"a Windows-1252 letter in a value", row + "1 2\xE9 \r\n" + row, '.', "'2\xC3\xA9' is not a valid floating point value"},
        {"a euro sign after the last blank", row + row + "1 2 \x80\r\n", '.', "", 2},
        {"a NUL after a short row", row + "1E+0000 \r\n1E+0000\0 2 \r\n"s, '.',
         ", line 3: holds the byte 0x00, which no text file has: this is not a text file."},
        {"a NUL after a row too many", row + row + row + "\0"s, '.',
         ", line 4: holds the byte 0x00, which no text file has: this is not a text file."},
        {"a long line after a short row", row + "1 \r\n" + overlong + "\r\n", '.',
         ", line 3: is longer than 1048576 characters: this is not a file of the program."},
        {"a long line first", overlong, '.', ", line 1: is longer than 1048576 characters: this is not a file of the program."},
        {"a row too many", row + row + row + "1 2 \r\n", '.',
         ", line 4: the file goes on beyond the 3 rows (Y from -10 to 10 by 10) of the project's grid: it is not a time of this "
         "project."},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string path = folder.path() + "T0.txt";
        WriteBytes(path, c.bytes);
        ResultGrid grid = markedGrid();
        const std::string failure = test::FailureText([&] { EXPECT_TRUE(LoadResultFile(path, grid, model, c.separator)); });
        if (c.problem.empty()) {
            EXPECT_EQ(failure, "") << c.name;
            EXPECT_EQ(grid.at(2, 3), c.last) << c.name;
            EXPECT_FALSE(std::signbit(grid.at(1, 1))) << c.name;
            continue;
        }
        EXPECT_EQ(failure, c.problem[0] == ',' ? path + c.problem : c.problem) << c.name;
        EXPECT_EQ(grid.at(1, 1), -1) << c.name;  // the grid shown before stays
    }
}

// Files of random bytes from the characters that matter to either reader:
// wherever the plain reading takes a file, it gives the line reader's rows
// and values to the bit, or its message.
TEST(ResultLoading, ThePlainReadingAgreesWithTheLineReaderOnRandomFiles)
{
    std::string alphabet = "0123456789.,eE+- \r\n\t\x0b\x0c\xE9\x80xinf";
    alphabet.push_back('\0');
    std::mt19937 random(2027);
    TempFolder folder;
    const std::string path = folder.path() + "T0.txt";
    struct Outcome {
        int rows = 0;
        std::vector<std::uint64_t> values;
        std::string failure;
        bool operator==(const Outcome&) const = default;
    };
    const auto outcome = [&](const auto& read) {
        Outcome o;
        LargeBuffer<double> values;
        o.failure = test::FailureText([&] { o.rows = read(values); });
        for (double v : values) o.values.push_back(std::bit_cast<std::uint64_t>(v));
        if (!o.failure.empty()) o.values.clear(), o.rows = 0;  // a refused file's values are thrown away
        return o;
    };
    int plain = 0;
    for (int n = 0; n < 1000; ++n) {
        const double rows = 1 + static_cast<double>(random() % 3), perRow = 1 + static_cast<double>(random() % 3);
        const ResultShape shape{rows, perRow, std::string("R"), std::string("V")};
        std::string bytes;
        const std::size_t length = random() % 40;
        for (std::size_t k = 0; k < length; ++k)
            // Mostly digits, blanks and line ends, as a time file holds.
            bytes += random() % 3 ? "1234567890  \r\n"[random() % 14] : alphabet[random() % alphabet.size()];
        WriteBytes(path, bytes);
        for (const char separator : {'.', ','}) {
            std::optional<int> plainRows;
            const Outcome fast = outcome([&](LargeBuffer<double>& values) {
                plainRows = ReadPlainResultValues(path, shape, separator, values);
                return plainRows.value_or(0);
            });
            if (fast.failure.empty() && !plainRows) continue;  // handed to the line reader
            ++plain;
            const Outcome lines =
                outcome([&](LargeBuffer<double>& values) { return ReadResultValuesByLines(path, shape, separator, values); });
            EXPECT_EQ(fast, lines) << "'" << bytes << "' with '" << separator << "'";
        }
    }
    EXPECT_GT(plain, 1000);  // most files are read the plain way
}
