#include "workspace/ResultShape.h"

#include "text/Errors.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cmath>

namespace kavrin {

namespace {

double nodeCount(double from, double to, double step)
{
    const double count = std::nearbyint((to - from) / step) + 1;  // halves to even, as the run counts
    return std::isnan(count) ? 0 : count;
}

std::string countText(double count, const char* what, const char* axis, double from, double to, double step, char separator)
{
    return FormatGeneral(count, separator) + " " + what + " (" + axis + " from " + FormatGeneral(from, separator) + " to " +
           FormatGeneral(to, separator) + " by " + FormatGeneral(step, separator) + ")";
}

FileFormatError beyondTheRows(const std::string& path, int line, const ResultShape& shape)
{
    return FileFormatError(path, line,
                           "the file goes on beyond the " + shape.rowsText +
                               " of the project's grid: it is not a time of this project.");
}

}  // namespace

ResultShape ResultShapeOf(const ModelState& m, char separator)
{
    ResultShape shape;
    shape.rows = nodeCount(m.Y0, m.Y1, m.DY);
    shape.values = nodeCount(m.X0, m.X1, m.DX);
    shape.rowsText = countText(shape.rows, "rows", "Y", m.Y0, m.Y1, m.DY, separator);
    shape.valuesText = countText(shape.values, "values", "X", m.X0, m.X1, m.DX, separator);
    return shape;
}

int CountLineValues(std::string_view line)
{
    return static_cast<int>(std::count(line.begin(), line.end(), ' '));
}

void CheckResultRow(const std::string& path, int line, std::string_view text, const ResultShape& shape)
{
    if (!(line <= shape.rows)) throw beyondTheRows(path, line, shape);
    const int values = CountLineValues(text);
    if (values != shape.values)
        throw FileFormatError(path, line,
                              "holds " + std::to_string(values) + " values where the project's grid has " + shape.valuesText +
                                  ": it is not a time of this project, or it was cut.");
}

void CheckResultRowCount(const std::string& path, long long rowsRead, const ResultShape& shape)
{
    if (rowsRead < shape.rows)
        throw FileFormatError(path, static_cast<int>(std::min<long long>(rowsRead + 1, 1 << 30)),
                              "the file ends after " + std::to_string(rowsRead) + " rows where the project's grid has " +
                                  shape.rowsText + ": it was cut or is not a time of this project.");
    if (rowsRead > shape.rows) throw beyondTheRows(path, static_cast<int>(std::clamp(shape.rows, 0.0, 1e9)) + 1, shape);
}

}  // namespace kavrin
