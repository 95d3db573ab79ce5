#include "calibration/ObservationTable.h"

#include "text/DecimalSeparator.h"
#include "text/Errors.h"
#include "text/NumberText.h"
#include "text/SafeSave.h"
#include "text/TextFile.h"

namespace kavrin {

namespace {

const std::string kEmpty;

CheckError tooManyObservations()
{
    return CheckError("At most " + std::to_string(ObservationTable::kMaxObservations) + " observations fit in the table");
}

}  // namespace

const std::string& ObservationTable::cell(int column, int row) const
{
    if (row < 0 || column < 0 || column >= kColumns || static_cast<std::size_t>(row) >= rows_.size()) return kEmpty;
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void ObservationTable::setCell(int column, int row, const std::string& text)
{
    if (row < 1 || column < 0 || column >= kColumns) return;
    if (static_cast<std::size_t>(row) >= rows_.size()) rows_.resize(static_cast<std::size_t>(row) + 1);
    rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = text;
}

const std::string& ObservationTable::weight(int row) const
{
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return kEmpty;
    return rows_[static_cast<std::size_t>(row)][kColumns];
}

void ObservationTable::setWeight(int row, const std::string& text)
{
    if (row < 1) return;
    if (static_cast<std::size_t>(row) >= rows_.size()) rows_.resize(static_cast<std::size_t>(row) + 1);
    rows_[static_cast<std::size_t>(row)][kColumns] = text;
}

void ObservationTable::setCount(int count)
{
    count_ = count;
    rowCount_ = (count > 0 ? count : 0) + 1;
    for (int row = 1; row <= count; ++row) setCell(0, row, std::to_string(row));
}

void ObservationTable::Edit1Change(const std::string& text)
{
    const int count = ParseInteger(text);
    if (count > kMaxObservations) throw tooManyObservations();
    setCount(count);
}

void ObservationTable::Cancel()
{
    count_ = 2;
    rowCount_ = 2;
    for (int column = 0; column < kColumns; ++column) setCell(column, 1, "");
    setWeight(1, "");
}

namespace {

// The first `keep` fields of a line with a blank appended, cut at every blank and tab.
std::vector<std::string> leadingFields(const std::string& line, std::size_t keep)
{
    std::vector<std::string> fields;
    std::string field;
    for (char c : line + " ") {
        if (c != ' ' && c != '\t') {
            field += c;
            continue;
        }
        if (fields.size() < keep) fields.push_back(field);
        field.clear();
    }
    return fields;
}

}  // namespace

std::vector<std::string> ImportedFields(const std::string& line)
{
    return leadingFields(line, 5);
}

std::string ImportedWeight(const std::string& line)
{
    const std::vector<std::string> fields = leadingFields(line, 6);
    return fields.size() == 6 ? fields[5] : std::string();
}

int ObservationTable::Import(const std::string& path, char separator)
{
    TextFileReader file(path);
    std::vector<std::string> lines;
    while (!file.atEnd()) lines.push_back(file.readLine());
    if (lines.size() > static_cast<std::size_t>(kMaxObservations)) throw tooManyObservations();

    const int count = static_cast<int>(lines.size());
    setCount(count);
    for (int row = 1; row <= count; ++row) {
        const std::string& line = lines[static_cast<std::size_t>(row - 1)];
        const std::vector<std::string> fields = ImportedFields(line);
        for (std::size_t k = 0; k < fields.size(); ++k)
            setCell(static_cast<int>(k) + 1, row, ArrumaDecimal(fields[k], separator));
        setWeight(row, ArrumaDecimal(ImportedWeight(line), separator));
    }
    return count;
}

void ObservationTable::Save(const std::string& path) const
{
    std::vector<std::string> lines;
    for (int row = 1; row <= count_; ++row) {
        lines.push_back(cell(1, row) + " " + cell(2, row) + " " + cell(3, row) + " " + cell(4, row) + " " + cell(5, row));
        if (!weight(row).empty()) lines.back() += " " + weight(row);
    }
    SaveTextLines(path, lines);
}

std::vector<ObservationTexts> ObservationTable::observations() const
{
    std::vector<ObservationTexts> result;
    for (int row = 1; row <= count_; ++row)
        result.push_back({cell(1, row), cell(2, row), cell(3, row), cell(4, row), cell(5, row)});
    return result;
}

std::vector<std::string> ObservationTable::weights() const
{
    std::vector<std::string> result;
    for (int row = 1; row <= count_; ++row) result.push_back(weight(row));
    return result;
}

}  // namespace kavrin
