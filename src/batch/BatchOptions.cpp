#include "BatchOptions.h"

#include <stdexcept>

namespace kavrin {

const char* const kBatchUsage =
    "usage: kavrin-batch run [--params FILE.dat | --project FILE.kvr] [--set NAME=TEXT]...\n"
    "                        [--name PROJECT] [--save FILE.kvr] [--reference]\n"
    "       kavrin-batch export grd|txt --project FILE.kvr [--file RESULTS.txt] --to NAME\n"
    "  NAME is Edit1 … Edit21, ComboBox1 or a field name (C0, SourceWidth, DX, GaussOrder, …).\n"
    "  Results go to $KAVRIN_ROOT, or $HOME/KAVRIN/ when it is not set.\n";

BatchRunOptions ParseBatchRunOptions(const std::vector<std::string>& words)
{
    BatchRunOptions options;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= words.size()) throw std::invalid_argument(word + " needs a value");
            return words[++i];
        };
        if (word == "--params") {
            options.paramsPath = value();
        } else if (word == "--project") {
            options.projectPath = value();
        } else if (word == "--set") {
            const std::string assignment = value();
            const std::size_t equals = assignment.find('=');
            if (equals == std::string::npos || equals == 0)
                throw std::invalid_argument("--set takes NAME=TEXT, not \"" + assignment + "\"");
            options.sets.emplace_back(assignment.substr(0, equals), assignment.substr(equals + 1));
        } else if (word == "--name") {
            options.projectName = value();
        } else if (word == "--save") {
            options.savePath = value();
        } else if (word == "--reference") {
            options.reference = true;
        } else {
            throw std::invalid_argument("unknown option \"" + word + "\"");
        }
    }
    if (options.paramsPath && options.projectPath)
        throw std::invalid_argument("--params and --project cannot be used together");
    return options;
}

BatchExportOptions ParseBatchExportOptions(const std::vector<std::string>& words)
{
    BatchExportOptions options;
    if (words.empty() || (words[0] != "grd" && words[0] != "txt"))
        throw std::invalid_argument("export takes grd or txt first");
    options.grid = words[0] == "grd";
    bool hasProject = false, hasTo = false;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (i + 1 >= words.size()) throw std::invalid_argument(word + " needs a value");
        const std::string& value = words[++i];
        if (word == "--project") {
            options.projectPath = value;
            hasProject = true;
        } else if (word == "--file") {
            options.resultsPath = value;
        } else if (word == "--to") {
            options.to = value;
            hasTo = true;
        } else {
            throw std::invalid_argument("unknown option \"" + word + "\"");
        }
    }
    if (!hasProject || !hasTo) throw std::invalid_argument("export needs --project and --to");
    return options;
}

}  // namespace kavrin
