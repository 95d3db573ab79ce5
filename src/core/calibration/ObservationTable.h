// The observation table of the calibration window: its cells and weights, the
// number of observations, and the commands that size, reset, import and save it.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace kavrin {

// The texts of columns 1 … 5 of one observation: C, X, Y, Z, T.
using ObservationTexts = std::array<std::string, 5>;

// Rows are numbered from 1 (row 0 is the heading row, kept by the window);
// column 0 holds the observation number, columns 1 … 5 the values. Each row
// also has an optional weight for the fit (an empty text means 1). Cells
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
    const std::string& weight(int row) const;
    void setWeight(int row, const std::string& text);

    // The handler of a changed Edit1 text: the count, the row count and the
    // numbers 1 … count in column 0. A text that is not a whole number throws
    // ConversionError, a count above kMaxObservations throws CheckError;
    // either way nothing changes.
    void Edit1Change(const std::string& text);

    // "Cancelar": the count becomes 2, the row count 2, every cell and the
    // weight of row 1 are emptied; rows from 2 on keep theirs.
    void Cancel();

    // Reads the whole file first (a failure throws FileError and changes
    // nothing), then makes the table L observations long, L being the file's
    // lines, and writes each line's first five fields into its row. Fields
    // are separated by every single blank or tab and pass through
    // ArrumaDecimal; a line with fewer fields leaves the rest of its row as it
    // was. A sixth field is the row's weight (through ArrumaDecimal); a line
    // without one leaves the weight empty. Returns L, the text the window's
    // count box then shows.
    int Import(const std::string& path, char separator);

    // Rows 1 … count as lines of columns 1 … 5 joined by single blanks, then
    // the weight as a sixth field where the row has one; CR LF, Windows-1252;
    // written beside the file and renamed over it, so a failure leaves any
    // earlier file as it was.
    void Save(const std::string& path) const;

    // Columns 1 … 5 of rows 1 … count, as the comparison reads them.
    std::vector<ObservationTexts> observations() const;
    // The weights of rows 1 … count, empty where a row has none.
    std::vector<std::string> weights() const;

private:
    void setCount(int count);

    // Columns 0 … 5, then the weight.
    using Row = std::array<std::string, kColumns + 1>;
    std::vector<Row> rows_ = std::vector<Row>(2);
    int count_ = 0;
    int rowCount_ = 2;
};

// The fields of one imported line: the line with a blank appended, cut at
// every blank and tab; at most the first five are kept.
std::vector<std::string> ImportedFields(const std::string& line);

// The sixth field of an imported line, cut as ImportedFields cuts; empty when
// the line has fewer fields.
std::string ImportedWeight(const std::string& line);

}  // namespace kavrin
