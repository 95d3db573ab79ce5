#include "map/MapOptions.h"

#include "text/NumberText.h"
#include "text/SplitText.h"

#include <cmath>
#include <exception>

namespace kavrin {

namespace {

constexpr int kMinimumDecades = 1, kMaximumDecades = 12;
constexpr int kMinimumSide = 16, kMaximumSide = 8000;

std::optional<int> integerIn(const std::string& text, int low, int high)
{
    try {
        const int value = ParseInteger(text);
        if (value >= low && value <= high) return value;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

std::optional<double> positiveNumber(const std::string& text)
{
    try {
        const double value = ParseFloat(text, '.');
        if (std::isfinite(value) && value > 0) return value;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

}  // namespace

std::string MapOptionsText(const MapOptions& options)
{
    const MapOptions plain;
    std::vector<std::string> parts;
    if (options.logarithmicScale) parts.push_back("scale=log");
    if (options.decades != plain.decades) parts.push_back("decades=" + std::to_string(options.decades));
    if (options.standard) parts.push_back("standard=" + RoundTripText(*options.standard, '.'));
    if (options.showWells) parts.push_back("wells=1");
    if (options.axisTitles) parts.push_back("axes=1");
    if (options.width != plain.width || options.height != plain.height)
        parts.push_back("size=" + std::to_string(options.width) + "x" + std::to_string(options.height));
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : ";") + part;
    return text;
}

MapOptions ParseMapOptionsText(const std::string& text)
{
    MapOptions options;
    for (const std::string& part : SplitAt(text, ';')) {
        const std::size_t mark = part.find('=');
        if (mark == std::string::npos) continue;
        const std::string name = part.substr(0, mark), value = part.substr(mark + 1);
        if (name == "scale") {
            options.logarithmicScale = value == "log";
        } else if (name == "decades") {
            options.decades = integerIn(value, kMinimumDecades, kMaximumDecades).value_or(options.decades);
        } else if (name == "standard") {
            options.standard = positiveNumber(value);
        } else if (name == "wells") {
            options.showWells = value == "1";
        } else if (name == "axes") {
            options.axisTitles = value == "1";
        } else if (name == "size") {
            const std::size_t x = value.find('x');
            if (x == std::string::npos) continue;
            const auto width = integerIn(value.substr(0, x), kMinimumSide, kMaximumSide);
            const auto height = integerIn(value.substr(x + 1), kMinimumSide, kMaximumSide);
            if (width && height) options.width = *width, options.height = *height;
        }
    }
    return options;
}

}  // namespace kavrin
