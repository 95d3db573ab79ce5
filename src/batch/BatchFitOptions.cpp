// The command line of the fit command, apart from the other commands' so that
// only the fit program carries the solver.
#include "BatchOptions.h"

#include "calibration/FitParameters.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

namespace kavrin {

BatchFitOptions ParseBatchFitOptions(const std::vector<std::string>& words)
{
    BatchFitOptions options;
    options.comparison = ParseComparisonOptions(words, "fit", [&](const std::string& word, const std::function<std::string()>& value) {
        if (word == "--fit") {
            for (const std::string& name : CommaSeparated(value())) options.parameters.push_back(name);
        } else if (word == "--log") {
            options.logResiduals = true;
        } else if (word == "--detection-limit") {
            options.detectionLimit = value();
        } else if (word == "--weights") {
            const std::string rule = value();
            if (rule != "table" && rule != "relative") throw std::invalid_argument("--weights takes table or relative, not \"" + rule + "\"");
            options.weights = rule == "table" ? WeightRule::Table : WeightRule::Relative;
        } else if (word == "--bounds") {
            const std::string assignment = value();
            const std::size_t equals = assignment.find('='), colon = assignment.find(':', equals);
            if (equals == std::string::npos || equals == 0 || colon == std::string::npos)
                throw std::invalid_argument("--bounds takes NAME=LO:HI, not \"" + assignment + "\"");
            options.bounds.push_back({assignment.substr(0, equals), assignment.substr(equals + 1, colon - equals - 1),
                                      assignment.substr(colon + 1)});
        } else if (word == "--save") {
            options.savePath = value();
        } else {
            return false;
        }
        return true;
    });
    if (options.parameters.empty()) throw std::invalid_argument("fit needs --fit NAME,NAME,...");
    for (const std::string& name : options.parameters)
        if (!FitParameterOfName(name)) throw std::invalid_argument("\"" + name + "\" cannot be fitted");
    for (const BatchFitBounds& bounds : options.bounds)
        if (std::find(options.parameters.begin(), options.parameters.end(), bounds.name) == options.parameters.end())
            throw std::invalid_argument("--bounds names " + bounds.name + ", which --fit does not");
    return options;
}

}  // namespace kavrin
