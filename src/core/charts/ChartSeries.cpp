#include "charts/ChartSeries.h"

#include "text/NumberText.h"
#include "text/RegularFile.h"
#include "text/TextFile.h"
#include "text/TextLine.h"
#include "workspace/ResultShape.h"
#include "workspace/Workspace.h"

#include <algorithm>

namespace kavrin {

namespace {

// The i-th value of a results line: the text after the (i − 1)-th blank up to
// the i-th. Fewer values than i throw PositionOutsideGrid with the line's own
// range of positions.
std::string valueOfLine(const std::string& line, int i, const GridAxis& x, double typedX, char separator)
{
    std::size_t start = 0;
    int values = 0;
    for (std::size_t blank; (blank = line.find(' ', start)) != std::string::npos; start = blank + 1)
        if (++values == i) return line.substr(start, blank - start);
    GridAxis shown = x;
    shown.count = values;
    throw PositionOutsideGrid(shown, typedX, separator);
}

// The node's value in one time file: line j, value i. A node beyond the file
// is refused as outside the grid; then the file must be one whole time of the
// project's grid, its rows counted to the end and the node's row's values.
std::string nodeValue(const std::string& timeFile, int i, int j, const GridAxis& xAxis, const GridAxis& yAxis, double x, double y,
                      const ResultShape& shape, char separator)
{
    // Counting stops past the grid's rows: a longer file is refused all the same.
    const auto rows = static_cast<long long>(std::clamp(shape.rows, 0.0, 1e15));
    const TextLine row = ReadTextLine(timeFile, j, LinesCounted::WholeFile, rows);
    if (!row.found) {
        GridAxis fileRows = yAxis;
        fileRows.count = static_cast<int>(std::min<long long>(row.linesRead, yAxis.count));
        throw PositionOutsideGrid(fileRows, y, separator);
    }
    std::string value = valueOfLine(row.text, i, xAxis, x, separator);
    CheckResultRow(timeFile, j, row.text, shape);
    CheckResultRowCount(timeFile, row.linesRead, shape);
    return value;
}

}  // namespace

bool ConcentrationTimeSeries(const std::string& indexPath, const ModelState& model, const std::string& xText,
                             const std::string& yText, char separator, ChartPoints& points)
{
    const std::string index = ResolveIndexPath(indexPath);
    RequireRegularFileOrNothing(index);  // a pipe or a folder there is no missing index
    if (!FileExists(index)) return false;
    if (!(model.DT > 0)) throw StepRefused("DT");
    const GridAxis yAxis = YAxisOf(model);
    const GridAxis xAxis = XAxisOf(model);
    const double y = ParseFloat(yText, separator);
    const int j = NodeOf(yAxis, y, separator);
    const double x = ParseFloat(xText, separator);
    const int i = NodeOf(xAxis, x, separator);
    const ResultShape shape = ResultShapeOf(model, separator);

    TextFileReader lines(index);
    TimeSequence times(model.T0, model.DT);
    while (!lines.atEnd()) {
        const double t = times.next();
        const std::string timeFile = lines.readLine();
        points.push_back({t, ParseFloat(nodeValue(timeFile, i, j, xAxis, yAxis, x, y, shape, separator), separator)});
    }
    return true;
}

ChartPoints GridProfile(const ResultGrid& grid, const GridAxis& along, int across)
{
    ChartPoints points;
    points.reserve(static_cast<std::size_t>(std::max(along.count, 0)));
    const bool alongX = along.name == "X";
    for (int k = 1; k <= along.count; ++k)
        points.push_back({along.position(k), alongX ? grid.at(k, across) : grid.at(across, k)});
    return points;
}

}  // namespace kavrin
