// The fit command's options, read by the fit program alone: the other
// programs never take a fit's command line.
#include "BatchOptions.h"

#include "calibration/FitParameters.h"
#include "calibration/FitStartLimits.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <stdexcept>

namespace kavrin {

namespace {

// A whole number from `lowest` to `highest`, all of the text.
std::uint64_t wholeNumber(const char* option, const std::string& text, std::uint64_t lowest, std::uint64_t highest)
{
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest || value > highest)
        throw std::invalid_argument(std::string(option) + " takes a whole number from " + std::to_string(lowest) + " to " +
                                    std::to_string(highest) + ", not \"" + text + "\"");
    return value;
}

}  // namespace

BatchFitOptions ParseBatchFitOptions(const std::vector<std::string>& words)
{
    const ParsedCommandLine parsed = ParseBatchCommandLine("fit", words);
    BatchFitOptions options;
    options.comparison = ComparisonOptionsOf(parsed);
    // A project may store the table and the parameters; without one both are needed.
    if (!options.comparison.projectPath) {
        if (options.comparison.observationsPath.empty()) throw std::invalid_argument("fit needs --obs TABLE.txt");
        if (!parsed.given("--fit")) throw std::invalid_argument("fit needs --fit NAME,NAME,...");
    }
    if (const std::optional<std::string> names = parsed.value("--fit"))
        for (const std::string& name : CommaSeparated(*names)) {
            if (!AnyFitParameterOfName(name)) throw std::invalid_argument("\"" + name + "\" cannot be fitted");
            options.parameters.push_back(name);
        }
    options.logResiduals = parsed.given("--log");
    options.noLog = parsed.given("--no-log");
    options.detectionLimit = parsed.value("--detection-limit");
    if (const std::optional<std::string> rule = parsed.value("--weights")) {
        if (rule != "table" && rule != "relative")
            throw std::invalid_argument("--weights takes table or relative, not \"" + *rule + "\"");
        options.weights = rule == "table" ? WeightRule::Table : WeightRule::Relative;
        options.weightsGiven = true;
    }
    for (const std::string& assignment : parsed.values("--bounds")) {
        const std::size_t equals = assignment.find('='), colon = assignment.find(':', equals);
        if (equals == std::string::npos || equals == 0 || colon == std::string::npos)
            throw std::invalid_argument("--bounds takes NAME=LO:HI, not \"" + assignment + "\"");
        const std::string name = assignment.substr(0, equals);
        if (!AnyFitParameterOfName(name)) throw std::invalid_argument("\"" + name + "\" cannot be fitted");
        // Without --fit the parameters are the project's, checked once it is read.
        if (parsed.given("--fit") &&
            std::find(options.parameters.begin(), options.parameters.end(), name) == options.parameters.end())
            throw std::invalid_argument("--bounds names " + name + ", which --fit does not");
        for (const BatchFitBounds& earlier : options.bounds)
            if (earlier.name == name) throw std::invalid_argument("--bounds names " + name + " twice");
        options.bounds.push_back({name, assignment.substr(equals + 1, colon - equals - 1), assignment.substr(colon + 1)});
    }
    options.savePath = parsed.value("--save");
    // One start says something only against a project's stored starts, and a
    // seed alone only for them.
    const bool project = options.comparison.projectPath.has_value();
    if (const std::optional<std::string> starts = parsed.value("--starts")) {
        options.starts = static_cast<int>(wholeNumber("--starts", *starts, project ? 1 : 2, kMostStarts));
        options.startsGiven = true;
    }
    if (const std::optional<std::string> seed = parsed.value("--seed")) {
        if (!parsed.given("--starts") && !project) throw std::invalid_argument("--seed needs --starts");
        options.seed = wholeNumber("--seed", *seed, 0, kMostSeed);
        options.seedGiven = true;
    }
    for (const std::string& name : parsed.values("--profile")) {
        if (std::find(options.parameters.begin(), options.parameters.end(), name) == options.parameters.end())
            throw std::invalid_argument("--profile names " + name + ", which --fit does not");
        if (std::find(options.profiles.begin(), options.profiles.end(), name) != options.profiles.end())
            throw std::invalid_argument("--profile names " + name + " twice");
        options.profiles.push_back(name);
    }
    return options;
}

}  // namespace kavrin
