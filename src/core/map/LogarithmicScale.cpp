#include "map/LogarithmicScale.h"

#include "text/Errors.h"
#include "text/NumberText.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace kavrin {

namespace {

constexpr int kLabelTop = 175, kLabelBottom = 457;  // the linear scale's "0" and C0
constexpr int kLabelHeight = 14;

void checkTop(double top)
{
    if (!(std::isfinite(top) && top > 0)) throw FloatError::invalidOperation();
}

// 10^p as its decimal text reads, not as pow rounds it.
double powerOfTen(int p)
{
    return std::strtod(("1e" + std::to_string(p)).c_str(), nullptr);
}

}  // namespace

std::array<double, kLevelCount> LogarithmicMapLevels(double top, int decades)
{
    checkTop(top);
    std::array<double, kLevelCount> levels{};
    const int last = kLevelCount - 1;
    for (int k = 0; k < last; ++k)
        levels[static_cast<std::size_t>(k)] = top * std::pow(10.0, -static_cast<double>(decades) * (last - k) / last);
    levels[last] = top;
    return levels;
}

Rgb LogarithmicLevelColour(int k)
{
    const int last = kLevelCount - 1;
    return IndexColour(static_cast<std::int64_t>(std::nearbyint(1020.0 * (last - k) / last)), 0);
}

Rgb LogarithmicScaleCellColour(int n)
{
    return IndexColour(static_cast<std::int64_t>(std::nearbyint(1020.0 * (kScaleCells - n) / kScaleCells)), 0);
}

std::vector<ScaleLabel> LogarithmicScaleLabels(double top, int decades, char separator)
{
    checkTop(top);
    const double lowest = top * std::pow(10.0, -decades);
    std::vector<ScaleLabel> labels{{kLabelTop, FormatGeneral(lowest, separator)}, {kLabelBottom, FormatGeneral(top, separator)}};
    const double topLog = std::log10(top);
    const auto placeable = [&](int y) {
        for (const ScaleLabel& label : labels)
            if (std::abs(label.y - y) < kLabelHeight) return false;
        return true;
    };
    for (int p = static_cast<int>(std::ceil(topLog - decades)); p <= static_cast<int>(std::floor(topLog)); ++p) {
        const double fraction = 1 + (p - topLog) / decades;  // 0 at the lowest value, 1 at the top
        const int y = kLabelTop + static_cast<int>(std::nearbyint(fraction * (kLabelBottom - kLabelTop)));
        if (placeable(y)) labels.push_back({y, FormatGeneral(powerOfTen(p), separator)});
    }
    return labels;
}

}  // namespace kavrin
