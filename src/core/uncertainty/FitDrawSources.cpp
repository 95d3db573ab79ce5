#include "uncertainty/FitDrawSources.h"

#include "calibration/FitParameters.h"
#include "text/NumberText.h"
#include "text/TextFile.h"
#include "uncertainty/UncertaintyChecks.h"

#include <cmath>
#include <sstream>

namespace kavrin {

namespace {

struct FittedRow {
    std::string name;
    double value = 0, standardError = 0;
    bool hasError = false;
};

// The draw of the rows with errors, from their correlations (rows × rows).
std::optional<FitDraw> drawOf(const std::vector<FittedRow>& rows, const std::vector<std::vector<double>>& correlation)
{
    FitDraw draw;
    std::vector<std::size_t> kept;
    std::vector<double> spread;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const FittedRow& row = rows[i];
        const auto parameter = AnyFitParameterOfName(row.name);
        if (!row.hasError || !parameter || !(row.standardError > 0)) continue;
        const bool logarithmic = InfoOf(*parameter).positive && row.value > 0;
        kept.push_back(i);
        draw.names.push_back(row.name);
        draw.logarithmic.push_back(logarithmic);
        draw.centre.push_back(logarithmic ? std::log(row.value) : row.value);
        // A positive parameter's error is value · σ(log value).
        spread.push_back(logarithmic ? row.standardError / row.value : row.standardError);
    }
    if (kept.empty()) return std::nullopt;
    draw.covariance.assign(kept.size(), std::vector<double>(kept.size(), 0.0));
    for (std::size_t a = 0; a < kept.size(); ++a)
        for (std::size_t b = 0; b < kept.size(); ++b) {
            const double r = a == b ? 1 : correlation.at(kept[a]).at(kept[b]);
            draw.covariance[a][b] = r * spread[a] * spread[b];
        }
    // Symmetric to the bit, as the correlations are printed from one matrix.
    for (std::size_t a = 0; a < kept.size(); ++a)
        for (std::size_t b = 0; b < a; ++b) draw.covariance[a][b] = draw.covariance[b][a];
    return draw;
}

std::vector<std::string> words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> found;
    for (std::string word; in >> word;) found.push_back(word);
    return found;
}

}  // namespace

std::optional<FitDraw> FitDrawOf(const FitResult& result)
{
    if (!result.identifiable() || !result.reachedEnd()) return std::nullopt;
    std::vector<FittedRow> rows;
    for (const FittedParameter& p : result.parameters)
        rows.push_back({InfoOf(p.parameter).name, p.value, p.standardError, p.hasInterval()});
    return drawOf(rows, result.correlation);
}

FitDraw ReadFitReport(const std::string& path, char separator)
{
    TextFileReader file(path);
    std::vector<FittedRow> rows;
    std::vector<std::vector<double>> correlation;
    const auto value = [&](const std::string& text) { return ParseFloat(text, separator); };
    enum class Part { Before, Table, AfterTable, CorrelationHead, Correlation } part = Part::Before;
    while (!file.atEnd()) {
        const std::vector<std::string> w = words(file.readLine());
        const int line = file.linesRead();
        try {
            switch (part) {
            case Part::Before:
                if (w.size() >= 3 && w[0] == "parameter" && w[1] == "initial" && w[2] == "fitted") part = Part::Table;
                break;
            case Part::Table:
                if (w.empty() || !AnyFitParameterOfName(w[0])) {
                    part = Part::AfterTable;
                } else if (w.size() >= 6 && w[3] != "lower" && w[3] != "upper") {
                    rows.push_back({w[0], value(w[2]), value(w[3]), true});
                } else if (w.size() >= 3) {
                    rows.push_back({w[0], value(w[2]), 0, false});  // at a bound: held there
                }
                break;
            case Part::AfterTable:
                if (w.size() == 1 && w[0] == "correlation") part = Part::CorrelationHead;
                break;
            case Part::CorrelationHead:
                part = Part::Correlation;
                break;
            case Part::Correlation:
                if (w.size() == rows.size() + 1 && correlation.size() < rows.size()) {
                    std::vector<double> r;
                    for (std::size_t k = 1; k < w.size(); ++k) r.push_back(value(w[k]));
                    correlation.push_back(std::move(r));
                }
                break;
            }
        } catch (const ConversionError&) {
            throw FileFormatError(path, line, "a number of the fit's table does not read");
        }
    }
    if (rows.empty() || correlation.size() != rows.size()) throw UncertaintyError({UncertaintyRule::NoFit, path});
    const auto draw = drawOf(rows, correlation);
    if (!draw) throw UncertaintyError({UncertaintyRule::NoFit, path});
    return *draw;
}

}  // namespace kavrin
