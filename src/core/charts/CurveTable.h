// Several named curves of one chart as one table of values, for the clipboard
// and for a CSV file: one shared x column when every curve has the same x
// values, otherwise an (x, value) pair of columns for each curve.
#pragma once

#include "charts/ChartSeries.h"

#include <optional>
#include <string>
#include <vector>

namespace kavrin {

struct NamedCurve {
    std::string name;  // the column's heading
    ChartPoints points;
};

struct CurveTable {
    std::vector<std::string> header;
    // One row per line; a curve shorter than the longest leaves its cells empty.
    std::vector<std::vector<std::optional<double>>> rows;
};

// The curves under `xTitle` and their names. With one curve, or curves whose
// x values are all the same (the same count, each equal), the table is the x
// column and one column per curve; otherwise it is, for each curve, its x
// column headed `xTitle` and its values headed by its name.
CurveTable TableOfCurves(const std::string& xTitle, const std::vector<NamedCurve>& curves);

// Cells separated by tabs, numbers in the general format with `separator`,
// each line ended by CR LF (what the clipboard gets).
std::string TabSeparatedText(const CurveTable& table, char separator);

// The lines of a CSV file: cells separated by commas, numbers in the general
// format with a point, a heading that holds a comma, a quote or a line break
// in quotes (a quote doubled).
std::vector<std::string> CsvLines(const CurveTable& table);

}  // namespace kavrin
