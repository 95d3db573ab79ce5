#include "BatchSourceFiles.h"

#include "files/SourceProjectLines.h"
#include "model/SourceTextRules.h"
#include "text/DecimalSeparator.h"
#include "text/Errors.h"
#include "text/NumberText.h"
#include "text/TextFile.h"

#include <cmath>
#include <optional>
#include <vector>

namespace kavrin {

namespace {

struct CsvRow {
    int line;
    std::vector<std::string> texts;  // each number as written, in the number texts' separator
    std::vector<double> values;
};

std::string trimmed(const std::string& text)
{
    const std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return "";
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

std::vector<std::string> fieldsOf(const std::string& line)
{
    const char apart = line.find(';') != std::string::npos ? ';' : ',';
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t end; (end = line.find(apart, start)) != std::string::npos; start = end + 1)
        fields.push_back(trimmed(line.substr(start, end - start)));
    fields.push_back(trimmed(line.substr(start)));
    return fields;
}

std::optional<double> numberOf(const std::string& field)
{
    try {
        const double value = ParseFloat(ArrumaDecimal(field, '.'), '.');
        if (std::isfinite(value)) return value;
    } catch (const KavrinError&) {
    }
    return std::nullopt;
}

// The rows of `columns` numbers each, named in messages by `layout`.
std::vector<CsvRow> readRows(const std::string& path, std::size_t columns, const std::string& layout, char separator)
{
    TextFileReader file(path);
    std::vector<CsvRow> rows;
    bool first = true;
    while (!file.atEnd()) {
        const std::string line = file.readLine();
        const int number = file.linesRead();
        if (trimmed(line).empty()) continue;
        const std::vector<std::string> fields = fieldsOf(line);
        CsvRow row{number, {}, {}};
        for (const std::string& field : fields) {
            if (const std::optional<double> value = numberOf(field)) {
                row.values.push_back(*value);
                row.texts.push_back(ArrumaDecimal(field, separator));
            }
        }
        const bool heading = first && row.values.empty();
        first = false;
        if (heading) continue;
        if (fields.size() != columns || row.values.size() != columns)
            throw FileFormatError(path, number,
                                  "\"" + Excerpt(line) + "\" is not " + std::to_string(columns) + " numbers " + layout + ".");
        rows.push_back(std::move(row));
    }
    if (rows.empty()) throw FileFormatError(path, file.linesRead(), "the file lists no " + layout + ".");
    return rows;
}

std::string joined(const std::vector<std::string>& texts, std::size_t from, std::size_t to)
{
    std::string text;
    for (std::size_t i = from; i < to; ++i) text += (i == from ? "" : " ") + texts[i];
    return text;
}

}  // namespace

std::vector<std::vector<double>> ReadNumberRows(const std::string& path, std::size_t columns, const std::string& layout)
{
    std::vector<std::vector<double>> values;
    for (CsvRow& row : readRows(path, columns, layout, '.')) values.push_back(std::move(row.values));
    return values;
}

void ApplyStepsFile(ParameterTexts& texts, const std::string& path, char separator)
{
    const std::vector<CsvRow> rows = readRows(path, 2, "(start time, relative concentration)", separator);
    std::string value;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CsvRow& row = rows[i];
        if (row.values[0] < 0 || row.values[1] < 0)
            throw FileFormatError(path, row.line, "a step starts at 0 or later, with a relative concentration of 0 or more.");
        if (i > 0 && !(row.values[0] > rows[i - 1].values[0]))
            throw FileFormatError(path, row.line, "a step starts after the step before it.");
        if (i > 0) value += '|';
        value += joined(row.texts, 0, 2);
    }
    SetSourceText(texts.source, "SourceHistory", "steps");
    SetSourceText(texts.source, "SourceSteps", value);
}

void ApplyZonesFile(ParameterTexts& texts, const std::string& path, char separator)
{
    const std::vector<CsvRow> rows = readRows(path, 5, "(y, z, width, height, concentration)", separator);
    for (const CsvRow& row : rows) {
        if (!(row.values[2] > 0 && row.values[3] > 0))
            throw FileFormatError(path, row.line, "a zone's width and height are greater than 0.");
        if (&row - rows.data() == kMaxSourceZones)
            throw FileFormatError(path, row.line, "more than " + std::to_string(kMaxSourceZones) + " zones.");
    }
    const CsvRow& first = rows.front();
    SetControlText(texts, 1, first.texts[4], separator);
    SetControlText(texts, 2, first.texts[2], separator);
    SetControlText(texts, 3, first.texts[3], separator);
    if (first.values[0] == 0 && first.values[1] == 0)
        RemoveSourceText(texts.source, "SourceCentre");
    else
        SetSourceText(texts.source, "SourceCentre", joined(first.texts, 0, 2));
    std::string more;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        if (i > 1) more += '|';
        more += joined(rows[i].texts, 0, 5);
    }
    if (more.empty())
        RemoveSourceText(texts.source, "SourceZones");
    else
        SetSourceText(texts.source, "SourceZones", more);
}

}  // namespace kavrin
