#include "charts/CurveTable.h"

#include "text/NumberText.h"

#include <algorithm>

namespace kavrin {

namespace {

bool shareX(const std::vector<NamedCurve>& curves)
{
    const ChartPoints& first = curves.front().points;
    return std::all_of(curves.begin(), curves.end(), [&](const NamedCurve& curve) {
        return std::equal(curve.points.begin(), curve.points.end(), first.begin(), first.end(),
                          [](const ChartPoint& a, const ChartPoint& b) { return a.x == b.x; });
    });
}

template <typename Cell>
std::string joined(const std::vector<Cell>& cells, char between, const auto& text)
{
    std::string line;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        if (k > 0) line += between;
        line += text(cells[k]);
    }
    return line;
}

std::string csvHeading(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

}  // namespace

CurveTable TableOfCurves(const std::string& xTitle, const std::vector<NamedCurve>& curves)
{
    CurveTable table;
    if (curves.empty()) return table;
    std::size_t longest = 0;
    for (const NamedCurve& curve : curves) longest = std::max(longest, curve.points.size());
    const bool shared = shareX(curves);
    if (shared) table.header.push_back(xTitle);
    for (const NamedCurve& curve : curves) {
        if (!shared) table.header.push_back(xTitle);
        table.header.push_back(curve.name);
    }
    for (std::size_t k = 0; k < longest; ++k) {
        std::vector<std::optional<double>> row;
        if (shared) row.emplace_back(curves.front().points[k].x);
        for (const NamedCurve& curve : curves) {
            const bool has = k < curve.points.size();
            if (!shared) row.push_back(has ? std::optional<double>(curve.points[k].x) : std::nullopt);
            row.push_back(has ? std::optional<double>(curve.points[k].y) : std::nullopt);
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

std::string TabSeparatedText(const CurveTable& table, char separator)
{
    const auto cell = [separator](const std::optional<double>& v) { return v ? FormatGeneral(*v, separator) : std::string(); };
    std::string text = joined(table.header, '\t', [](const std::string& h) { return h; }) + "\r\n";
    for (const auto& row : table.rows) text += joined(row, '\t', cell) + "\r\n";
    return text;
}

std::vector<std::string> CsvLines(const CurveTable& table)
{
    const auto cell = [](const std::optional<double>& v) { return v ? FormatGeneral(*v, '.') : std::string(); };
    std::vector<std::string> lines = {joined(table.header, ',', csvHeading)};
    for (const auto& row : table.rows) lines.push_back(joined(row, ',', cell));
    return lines;
}

}  // namespace kavrin
