#include "files/FitProjectLines.h"

#include "calibration/FitStartLimits.h"
#include "text/DecimalSeparator.h"
#include "text/Errors.h"
#include "text/NumberText.h"
#include "text/SplitText.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace kavrin {

namespace {

const std::string kSuffix = ".observations.txt";

// A finite number in either decimal separator.
std::optional<double> number(const std::string& text)
{
    try {
        const double value = ParseFloat(ArrumaDecimal(text, '.'), '.');
        if (std::isfinite(value)) return value;
    } catch (const KavrinError&) {
    }
    return std::nullopt;
}

std::string numberText(double value)
{
    return RoundTripText(value, '.');
}

// "NAME,NAME,…", each a fittable parameter once.
std::optional<std::vector<FitParameter>> parameterList(const std::string& value)
{
    std::vector<FitParameter> parameters;
    for (const std::string& name : SplitAt(value, ',')) {
        const std::optional<FitParameter> parameter = AnyFitParameterOfName(name);
        if (!parameter || std::find(parameters.begin(), parameters.end(), *parameter) != parameters.end()) return std::nullopt;
        parameters.push_back(*parameter);
    }
    return parameters;
}

// "NAME LOWER UPPER|…", each parameter once.
std::optional<std::vector<std::pair<FitParameter, FitBounds>>> boundsList(const std::string& value)
{
    std::vector<std::pair<FitParameter, FitBounds>> bounds;
    for (const std::string& group : SplitAt(value, '|')) {
        std::vector<std::string> words;
        for (const std::string& word : SplitAt(group, ' '))
            if (!word.empty()) words.push_back(word);
        if (words.size() != 3) return std::nullopt;
        const std::optional<FitParameter> parameter = AnyFitParameterOfName(words[0]);
        const std::optional<double> lower = number(words[1]), upper = number(words[2]);
        if (!parameter || !lower || !upper) return std::nullopt;
        const auto same = [&](const auto& earlier) { return earlier.first == *parameter; };
        if (std::any_of(bounds.begin(), bounds.end(), same)) return std::nullopt;
        bounds.push_back({*parameter, FitBounds{*lower, *upper}});
    }
    return bounds;
}

// Digits alone, from `lowest` to `highest`.
std::optional<std::uint64_t> wholeNumber(const std::string& value, std::uint64_t lowest, std::uint64_t highest)
{
    if (value.empty() || value.size() > 10 ||
        !std::all_of(value.begin(), value.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    const std::uint64_t number = std::stoull(value);
    if (number < lowest || number > highest) return std::nullopt;
    return number;
}

std::optional<int> startCount(const std::string& value)
{
    const std::optional<std::uint64_t> count = wholeNumber(value, 1, kMostStarts);
    return count ? std::optional(static_cast<int>(*count)) : std::nullopt;
}

std::optional<std::uint64_t> seedNumber(const std::string& value)
{
    return wholeNumber(value, 0, kMostSeed);
}

// A file of the results folder: a plain name, never a path that leaves it.
bool plainTextFileName(const std::string& value)
{
    return value.size() > 4 && value.find('/') == std::string::npos && value.find('\\') == std::string::npos &&
           value.ends_with(".txt");
}

// Each name, with the form of its value, known to every project file this build reads or writes.
const ProjectLineRegistration kTable{
    {"ObservationTable", "the name of a text file in the project's results folder", plainTextFileName}};
const ProjectLineRegistration kParameters{{"FitParameters", "fittable parameters \"NAME,NAME\", each once",
                                           [](const std::string& value) { return parameterList(value).has_value(); }}};
const ProjectLineRegistration kBounds{{"FitBounds", "bounds \"NAME LOWER UPPER\" apart by |, each parameter once",
                                       [](const std::string& value) { return boundsList(value).has_value(); }}};
const ProjectLineRegistration kLog{
    {"FitLog", "yes or no", [](const std::string& value) { return value == "yes" || value == "no"; }}};
const ProjectLineRegistration kDetectionLimit{
    {"FitDetectionLimit", "a number (mg/L)", [](const std::string& value) { return number(value).has_value(); }}};
const ProjectLineRegistration kWeights{
    {"FitWeights", "table or relative", [](const std::string& value) { return value == "table" || value == "relative"; }}};
const ProjectLineRegistration kStarts{{"FitStarts", "a whole number from 1 to " + std::to_string(kMostStarts),
                                       [](const std::string& value) { return startCount(value).has_value(); }}};
const ProjectLineRegistration kSeed{{"FitSeed", "a whole number from 0 to " + std::to_string(kMostSeed),
                                     [](const std::string& value) { return seedNumber(value).has_value(); }}};

const std::vector<std::string> kNames = {"ObservationTable",  "FitParameters", "FitBounds", "FitLog",
                                         "FitDetectionLimit", "FitWeights",    "FitStarts", "FitSeed"};

bool isCalibrationName(const std::string& name)
{
    return std::find(kNames.begin(), kNames.end(), name) != kNames.end();
}

}  // namespace

NamedLines CalibrationNamedLines(const StoredCalibration& calibration)
{
    NamedLines lines;
    if (calibration.observationFile) lines.push_back({"ObservationTable", *calibration.observationFile});
    if (!calibration.parameters.empty()) {
        std::string names;
        for (FitParameter parameter : calibration.parameters) {
            if (!names.empty()) names += ',';
            names += InfoOf(parameter).name;
        }
        lines.push_back({"FitParameters", names});
    }
    if (!calibration.bounds.empty()) {
        std::string groups;
        for (const auto& [parameter, bounds] : calibration.bounds) {
            if (!groups.empty()) groups += '|';
            groups += std::string(InfoOf(parameter).name) + " " + numberText(bounds.lower) + " " + numberText(bounds.upper);
        }
        lines.push_back({"FitBounds", groups});
    }
    if (calibration.logResiduals) lines.push_back({"FitLog", "yes"});
    if (calibration.detectionLimit) lines.push_back({"FitDetectionLimit", numberText(*calibration.detectionLimit)});
    if (calibration.weightRule == WeightRule::Relative) lines.push_back({"FitWeights", "relative"});
    if (calibration.starts) lines.push_back({"FitStarts", std::to_string(*calibration.starts)});
    if (calibration.seed) lines.push_back({"FitSeed", std::to_string(*calibration.seed)});
    return lines;
}

StoredCalibration TakeStoredCalibration(NamedLines& lines)
{
    StoredCalibration calibration;
    for (const NamedLine& line : lines) {
        const std::string& value = line.value;
        if (line.name == "ObservationTable") calibration.observationFile = value;
        if (line.name == "FitParameters") calibration.parameters = parameterList(value).value();
        if (line.name == "FitBounds") calibration.bounds = boundsList(value).value();
        if (line.name == "FitLog") calibration.logResiduals = value == "yes";
        if (line.name == "FitDetectionLimit") calibration.detectionLimit = number(value);
        if (line.name == "FitWeights") calibration.weightRule = value == "relative" ? WeightRule::Relative : WeightRule::Table;
        if (line.name == "FitStarts") calibration.starts = startCount(value);
        if (line.name == "FitSeed") calibration.seed = seedNumber(value);
    }
    lines.erase(std::remove_if(lines.begin(), lines.end(), [](const NamedLine& line) { return isCalibrationName(line.name); }),
                lines.end());
    return calibration;
}

std::optional<FitBounds> StoredBoundsOf(const StoredCalibration& calibration, FitParameter parameter)
{
    for (const auto& [stored, bounds] : calibration.bounds)
        if (stored == parameter) return bounds;
    return std::nullopt;
}

FitChoices StoredFitChoices(const StoredCalibration& calibration)
{
    FitChoices choices;
    for (FitParameter parameter : calibration.parameters) {
        choices.parameters.push_back(parameter);
        choices.bounds.push_back(StoredBoundsOf(calibration, parameter));
    }
    choices.logResiduals = calibration.logResiduals;
    choices.detectionLimit = calibration.detectionLimit.value_or(0);
    choices.weightRule = calibration.weightRule;
    return choices;
}

StoredCalibration CalibrationOfChoices(const FitChoices& choices)
{
    StoredCalibration calibration;
    calibration.parameters = choices.parameters;
    for (std::size_t i = 0; i < choices.parameters.size() && i < choices.bounds.size(); ++i)
        if (choices.bounds[i]) calibration.bounds.push_back({choices.parameters[i], *choices.bounds[i]});
    calibration.logResiduals = choices.logResiduals;
    if (choices.detectionLimit != 0) calibration.detectionLimit = choices.detectionLimit;
    calibration.weightRule = choices.weightRule;
    return calibration;
}

std::string ObservationFileName(const std::string& projectFile)
{
    return std::filesystem::path(projectFile).stem().string() + kSuffix;
}

std::string StoredObservationPath(const std::string& projectPath, const std::string& indexPath, const std::string& file)
{
    if (indexPath.empty())
        throw CheckError(projectPath + " stores an observation table (" + file + ") but names no results folder to hold it.");
    return (std::filesystem::path(indexPath).parent_path() / file).string();
}

}  // namespace kavrin
