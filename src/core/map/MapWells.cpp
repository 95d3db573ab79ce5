#include "map/MapWells.h"

#include "text/DecimalSeparator.h"
#include "text/Errors.h"
#include "text/NumberText.h"

#include <cmath>
#include <optional>

namespace kavrin {

namespace {

std::optional<double> numberIn(const std::string& text, char separator)
{
    try {
        const double value = ParseFloat(ArrumaDecimal(text, separator), separator);
        if (std::isfinite(value)) return value;
    } catch (const KavrinError&) {
    }
    return std::nullopt;
}

}  // namespace

std::vector<MapWell> MapWellsOf(const std::vector<ObservationTexts>& rows, char separator, const std::vector<double>& residuals)
{
    std::vector<MapWell> wells;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const std::optional<double> x = numberIn(rows[row][1], separator), y = numberIn(rows[row][2], separator);
        if (!x || !y) continue;
        MapWell well{std::to_string(row + 1), *x, *y, std::nullopt};
        if (residuals.size() == rows.size()) well.residual = residuals[row];
        wells.push_back(std::move(well));
    }
    return wells;
}

}  // namespace kavrin
