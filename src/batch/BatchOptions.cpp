#include "BatchOptions.h"
#include "text/SplitText.h"

#include "files/SourceProjectLines.h"
#include "model/ParameterTexts.h"
#include "model/SitePlacement.h"

#include "text/Errors.h"
#include "text/NumberText.h"

#include <cmath>
#include <stdexcept>

namespace kavrin {

namespace {

// The model's texts chosen by --params, --project and each --set, in order.
template <class Options>
void takeModelOptions(const ParsedCommandLine& parsed, Options& options)
{
    options.paramsPath = parsed.value("--params");
    options.projectPath = parsed.value("--project");
    for (const std::string& assignment : parsed.values("--set")) {
        const std::size_t equals = assignment.find('=');
        if (equals == std::string::npos || equals == 0)
            throw std::invalid_argument("--set takes NAME=TEXT, not \"" + assignment + "\"");
        const std::string name = assignment.substr(0, equals);
        if (!ControlOfName(name) && !IsSourceTextName(name) && !IsSitePlacementName(name))
            throw std::invalid_argument("unknown parameter \"" + name + "\" in --set");
        options.sets.emplace_back(name, assignment.substr(equals + 1));
    }
    options.stepsPath = parsed.value("--steps");
    options.zonesPath = parsed.value("--zones");
}

}  // namespace

BatchRunOptions ParseBatchRunOptions(const std::vector<std::string>& words)
{
    const ParsedCommandLine parsed = ParseBatchCommandLine("run", words);
    BatchRunOptions options;
    takeModelOptions(parsed, options);
    options.projectName = parsed.value("--name");
    options.savePath = parsed.value("--save");
    options.reference = parsed.given("--reference");
    return options;
}

BatchCompareOptions ComparisonOptionsOf(const ParsedCommandLine& parsed)
{
    BatchCompareOptions options;
    takeModelOptions(parsed, options);
    options.observationsPath = parsed.value("--obs").value_or("");
    return options;
}

BatchCompareOptions ParseBatchCompareOptions(const std::vector<std::string>& words)
{
    return ComparisonOptionsOf(ParseBatchCommandLine("compare", words));
}

BatchBalanceOptions ParseBatchBalanceOptions(const std::vector<std::string>& words)
{
    return ModelOptionsOf(ParseBatchCommandLine("balance", words));
}

BatchBalanceOptions ModelOptionsOf(const ParsedCommandLine& parsed)
{
    BatchBalanceOptions options;
    takeModelOptions(parsed, options);
    return options;
}

std::vector<std::string> CommaSeparated(const std::string& text)
{
    return SplitAt(text, ',');
}

BatchExportOptions ParseBatchExportOptions(const std::vector<std::string>& words)
{
    const ParsedCommandLine parsed = ParseBatchCommandLine("export", words);
    BatchExportOptions options;
    options.grid = parsed.kind() == "grd";
    options.projectPath = parsed.value("--project").value();
    options.resultsPath = parsed.value("--file");
    options.to = parsed.value("--to").value();
    return options;
}

bool IsGeoExportKind(const std::string& kind)
{
    return kind == "geotiff" || kind == "contours" || kind == "wells" || kind == "mapworld";
}

namespace {

double numberOption(const std::string& option, const std::string& text)
{
    try {
        return ParseFloat(text, '.');
    } catch (const KavrinError&) {
        throw std::invalid_argument(option + " takes a number with a point, not \"" + text + "\"");
    }
}

}  // namespace

BatchGeoExportOptions ParseBatchGeoExportOptions(const std::vector<std::string>& words)
{
    using Kind = BatchGeoExportOptions::Kind;
    const ParsedCommandLine parsed = ParseGeoExportCommandLine(words);
    BatchGeoExportOptions options;
    const std::string& kind = parsed.kind();
    options.kind = kind == "geotiff"    ? Kind::GeoTiff
                   : kind == "contours" ? Kind::Contours
                   : kind == "wells"    ? Kind::Wells
                                        : Kind::MapWorld;
    options.projectPath = parsed.value("--project").value();
    options.time = parsed.value("--time");
    options.resultsPath = parsed.value("--file");
    for (const std::string& assignment : parsed.values("--set")) {
        const std::size_t equals = assignment.find('=');
        const std::string name = assignment.substr(0, equals);
        if (equals == std::string::npos || !IsSitePlacementName(name))
            throw std::invalid_argument("--set of an export takes Easting, Northing, Azimuth or CRS=TEXT, not \"" + assignment +
                                        "\"");
        options.sets.emplace_back(name, assignment.substr(equals + 1));
    }
    if (const auto cell = parsed.value("--north-up")) options.northUpCell = numberOption("--north-up", *cell);
    if (const auto levels = parsed.value("--levels"))
        for (const std::string& level : CommaSeparated(*levels)) options.levels.push_back(numberOption("--levels", level));
    options.filled = parsed.given("--filled");
    options.observationsPath = parsed.value("--obs");
    options.to = parsed.value("--to").value();
    return options;
}

BatchSeriesOptions ParseBatchSeriesOptions(const std::vector<std::string>& words)
{
    using Kind = BatchSeriesOptions::Kind;
    const ParsedCommandLine parsed = ParseBatchCommandLine("series", words);
    BatchSeriesOptions options;
    options.kind = parsed.kind() == "time" ? Kind::Time : parsed.kind() == "long" ? Kind::Longitudinal : Kind::Transversal;
    options.projectPath = parsed.value("--project").value();
    options.x = parsed.value("--x");
    options.y = parsed.value("--y");
    options.time = parsed.value("--time");
    return options;
}

namespace {

// The whole number a text is when it lies in [low, high].
std::optional<int> wholeNumberIn(const std::string& text, int low, int high)
{
    std::size_t end = 0;
    int value = 0;
    try {
        value = std::stoi(text, &end);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (end != text.size() || value < low || value > high) return std::nullopt;
    return value;
}

// --log-decades, --standard and --wells of the map and the animation.
template <class Options>
void takeMapPictureOptions(const ParsedCommandLine& parsed, Options& options)
{
    if (const std::optional<std::string> value = parsed.value("--log-decades")) {
        const std::optional<int> decades = wholeNumberIn(*value, 1, 12);
        if (!decades)
            throw std::invalid_argument("--log-decades takes a whole number of decades from 1 to 12, not \"" + *value + "\"");
        options.picture.logarithmicScale = true;
        options.picture.decades = *decades;
    }
    if (const std::optional<std::string> value = parsed.value("--standard")) {
        const double standard = numberOption("--standard", *value);
        if (!(std::isfinite(standard) && standard > 0))
            throw std::invalid_argument("--standard takes a positive number of mg/L, not \"" + *value + "\"");
        options.picture.standard = standard;
    }
    options.wellsPath = parsed.value("--wells");
    options.picture.showWells = options.wellsPath.has_value();
}

}  // namespace

BatchMapOptions ParseBatchMapOptions(const std::vector<std::string>& words)
{
    const ParsedCommandLine parsed = ParseBatchCommandLine("map", words);
    BatchMapOptions options;
    options.projectPath = parsed.value("--project").value();
    options.time = parsed.value("--time");
    options.all = parsed.given("--all");
    options.to = parsed.value("--to").value();
    takeMapPictureOptions(parsed, options);
    return options;
}

BatchAnimateOptions ParseBatchAnimateOptions(const std::vector<std::string>& words)
{
    const ParsedCommandLine parsed = ParseBatchCommandLine("animate", words);
    BatchAnimateOptions options;
    options.projectPath = parsed.value("--project").value();
    options.to = parsed.value("--to").value();
    if (const std::optional<std::string> value = parsed.value("--delay")) {
        const std::optional<int> delay = wholeNumberIn(*value, 10, 655350);
        if (!delay) throw std::invalid_argument("--delay takes milliseconds from 10 to 655350, not \"" + *value + "\"");
        options.delayMs = *delay;
    }
    takeMapPictureOptions(parsed, options);
    return options;
}

}  // namespace kavrin
