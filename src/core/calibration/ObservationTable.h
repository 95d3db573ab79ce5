// The observation table of the calibration window: its cells, the number of
// observations, and the commands that size, reset, import and save it.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace kavrin {

// The texts of columns 1 … 5 of one observation: C, X, Y, Z, T.
using ObservationTexts = std::array<std::string, 5>;

// Rows are numbered from 1 (row 0 is the heading row, kept by the window);
// column 0 holds the observation number, columns 1 … 5 the values. Cells
// belong to their row whatever the row count: a shorter table hides rows
// without emptying them and a longer one shows them again.
class ObservationTable {
public:
    static constexpr int kColumns = 6;
    // Beyond this a count is refused: the window could not show the rows.
    static constexpr int kMaxObservations = 100000;

    int ObservationCount() const { return count_; }
    int rowCount() const { return rowCount_; }  // the heading row included

    const std::string& cell(int column, int row) const;
    void setCell(int column, int row, const std::string& text);

    // The handler of a changed Edit1 text: the count, the row count and the
    // numbers 1 … count in column 0. A text that is not a whole number throws
    // ConversionError, a count above kMaxObservations throws CheckError;
    // either way nothing changes.
    void Edit1Change(const std::string& text);

    // "Cancelar": the count becomes 2, the row count 2, every cell of row 1
    // is emptied; rows from 2 on keep their cells.
    void Cancel();

    // Reads the whole file first (a failure throws FileError and changes
    // nothing), then makes the table L observations long, L being the file's
    // lines, and writes each line's first five fields into its row. Fields
    // are separated by every single blank or tab and pass through
    // ArrumaDecimal; a line with fewer fields leaves the rest of its row as it
    // was. Returns L, the text the window's count box then shows.
    int Import(const std::string& path, char separator);

    // Rows 1 … count as lines of columns 1 … 5 joined by single blanks, CR LF,
    // Windows-1252; written beside the file and renamed over it, so a failure
    // leaves any earlier file as it was.
    void Save(const std::string& path) const;

    // Columns 1 … 5 of rows 1 … count, as the comparison reads them.
    std::vector<ObservationTexts> observations() const;

private:
    void setCount(int count);

    std::vector<std::array<std::string, kColumns>> rows_ = std::vector<std::array<std::string, kColumns>>(2);
    int count_ = 0;
    int rowCount_ = 2;
};

// The fields of one imported line: the line with a blank appended, cut at
// every blank and tab; at most the first five are kept.
std::vector<std::string> ImportedFields(const std::string& line);

}  // namespace kavrin
