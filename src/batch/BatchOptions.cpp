#include "BatchOptions.h"

#include "model/ParameterTexts.h"

#include <algorithm>
#include <functional>
#include <map>
#include <stdexcept>
#include <string_view>

namespace kavrin {

const char* const kBatchUsage =
    "usage: kavrin-batch run [--params FILE.dat | --project FILE.kvr] [--set NAME=TEXT]...\n"
    "                        [--name PROJECT] [--save FILE.kvr] [--reference]\n"
    "       kavrin-batch export grd|txt --project FILE.kvr [--file RESULTS.txt] --to NAME\n"
    "       kavrin-batch series time --project FILE.kvr --x X --y Y\n"
    "       kavrin-batch series long --project FILE.kvr --time T --y Y\n"
    "       kavrin-batch series trans --project FILE.kvr --time T --x X\n"
    "       kavrin-batch map --project FILE.kvr (--time TEXT --to FILE.bmp | --all --to FOLDER)\n"
    "       kavrin-batch animate --project FILE.kvr --to FILE.gif [--delay MS]\n"
    "       kavrin-batch compare [--params FILE.dat | --project FILE.kvr] [--set NAME=TEXT]... --obs TABLE.txt\n"
    "       kavrin-batch fit [--params FILE.dat | --project FILE.kvr] [--set NAME=TEXT]... --obs TABLE.txt\n"
    "                        --fit NAME,NAME,... [--log [--detection-limit DL]] [--weights table|relative]\n"
    "                        [--bounds NAME=LO:HI]... [--save FITTED.kvr]\n"
    "  --fit takes AlphaX, AlphaY, AlphaZ, Kxx, Retardation, Decay, C0, SourceWidth, SourceHeight.\n"
    "  NAME is Edit1 … Edit21, ComboBox1 or a field name (C0, SourceWidth, DX, GaussOrder, …).\n"
    "  Results go to $KAVRIN_ROOT, or $HOME/KAVRIN/ when it is not set.\n";

namespace {

// An option that takes one value, given once.
void setOnce(std::optional<std::string>& option, const std::string& word, const std::string& value)
{
    if (option) throw std::invalid_argument(word + " is given twice");
    option = value;
}

// Takes one of the options that choose the model's texts (--params,
// --project, --set); false when the word is none of them.
template <class Options, class Value>
bool parseModelOption(const std::string& word, const Value& value, Options& options)
{
    if (word == "--params") {
        setOnce(options.paramsPath, word, value());
    } else if (word == "--project") {
        setOnce(options.projectPath, word, value());
    } else if (word == "--set") {
        const std::string assignment = value();
        const std::size_t equals = assignment.find('=');
        if (equals == std::string::npos || equals == 0)
            throw std::invalid_argument("--set takes NAME=TEXT, not \"" + assignment + "\"");
        const std::string name = assignment.substr(0, equals);
        if (!ControlOfName(name)) throw std::invalid_argument("unknown parameter \"" + name + "\" in --set");
        options.sets.emplace_back(name, assignment.substr(equals + 1));
    } else {
        return false;
    }
    if (options.paramsPath && options.projectPath)
        throw std::invalid_argument("--params and --project cannot be used together");
    return true;
}

}  // namespace

BatchRunOptions ParseBatchRunOptions(const std::vector<std::string>& words)
{
    BatchRunOptions options;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= words.size()) throw std::invalid_argument(word + " needs a value");
            return words[++i];
        };
        if (parseModelOption(word, value, options)) {
        } else if (word == "--name") {
            setOnce(options.projectName, word, value());
        } else if (word == "--save") {
            setOnce(options.savePath, word, value());
        } else if (word == "--reference") {
            options.reference = true;
        } else {
            throw std::invalid_argument("unknown option \"" + word + "\"");
        }
    }
    return options;
}

BatchCompareOptions ParseComparisonOptions(const std::vector<std::string>& words, const char* command,
                                           const MoreOptions& more)
{
    BatchCompareOptions options;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= words.size()) throw std::invalid_argument(word + " needs a value");
            return words[++i];
        };
        if (parseModelOption(word, value, options)) continue;
        if (word == "--obs") options.observationsPath = value();
        else if (!more(word, value)) throw std::invalid_argument("unknown option \"" + word + "\"");
    }
    if (options.observationsPath.empty()) throw std::invalid_argument(std::string(command) + " needs --obs TABLE.txt");
    return options;
}

std::vector<std::string> CommaSeparated(const std::string& text)
{
    std::vector<std::string> items;
    std::size_t start = 0;
    for (std::size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
        items.push_back(text.substr(start, comma - start));
    items.push_back(text.substr(start));
    return items;
}

BatchCompareOptions ParseBatchCompareOptions(const std::vector<std::string>& words)
{
    return ParseComparisonOptions(words, "compare", [](const std::string&, const std::function<std::string()>&) { return false; });
}

namespace {

// The "--name value" pairs from words[first] on; a name without a value or
// not among `names` is refused.
std::map<std::string, std::string> namedValues(const std::vector<std::string>& words, std::size_t first,
                                               std::initializer_list<std::string_view> names)
{
    std::map<std::string, std::string> values;
    for (std::size_t i = first; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (i + 1 >= words.size()) throw std::invalid_argument(word + " needs a value");
        if (std::find(names.begin(), names.end(), word) == names.end())
            throw std::invalid_argument("unknown option \"" + word + "\"");
        if (!values.emplace(word, words[i + 1]).second) throw std::invalid_argument(word + " is given twice");
        ++i;
    }
    return values;
}

std::optional<std::string> valueOf(const std::map<std::string, std::string>& values, const std::string& name)
{
    const auto found = values.find(name);
    return found == values.end() ? std::nullopt : std::optional<std::string>(found->second);
}

}  // namespace

BatchExportOptions ParseBatchExportOptions(const std::vector<std::string>& words)
{
    BatchExportOptions options;
    if (words.empty() || (words[0] != "grd" && words[0] != "txt"))
        throw std::invalid_argument("export takes grd or txt first");
    options.grid = words[0] == "grd";
    const auto values = namedValues(words, 1, {"--project", "--file", "--to"});
    if (!values.count("--project") || !values.count("--to")) throw std::invalid_argument("export needs --project and --to");
    options.projectPath = values.at("--project");
    options.resultsPath = valueOf(values, "--file");
    options.to = values.at("--to");
    return options;
}

BatchSeriesOptions ParseBatchSeriesOptions(const std::vector<std::string>& words)
{
    using Kind = BatchSeriesOptions::Kind;
    BatchSeriesOptions options;
    if (words.empty() || (words[0] != "time" && words[0] != "long" && words[0] != "trans"))
        throw std::invalid_argument("series takes time, long or trans first");
    options.kind = words[0] == "time" ? Kind::Time : words[0] == "long" ? Kind::Longitudinal : Kind::Transversal;
    const auto values = namedValues(words, 1, {"--project", "--x", "--y", "--time"});
    if (!values.count("--project")) throw std::invalid_argument("series needs --project");
    options.projectPath = values.at("--project");
    options.x = valueOf(values, "--x");
    options.y = valueOf(values, "--y");
    options.time = valueOf(values, "--time");
    const bool complete = options.kind == Kind::Time           ? options.x && options.y && !options.time
                        : options.kind == Kind::Longitudinal ? options.time && options.y && !options.x
                                                              : options.time && options.x && !options.y;
    if (!complete)
        throw std::invalid_argument("series time takes --x and --y, series long --time and --y, series trans --time and --x");
    return options;
}

BatchMapOptions ParseBatchMapOptions(const std::vector<std::string>& words)
{
    BatchMapOptions options;
    bool project = false, to = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= words.size()) throw std::invalid_argument(word + " needs a value");
            return words[++i];
        };
        if (word == "--project") {
            options.projectPath = value(), project = true;
        } else if (word == "--time") {
            options.time = value();
        } else if (word == "--all") {
            options.all = true;
        } else if (word == "--to") {
            options.to = value(), to = true;
        } else {
            throw std::invalid_argument("unknown option \"" + word + "\" for map");
        }
    }
    if (!project) throw std::invalid_argument("map needs --project FILE.kvr");
    if (!to) throw std::invalid_argument("map needs --to FILE.bmp (or --to FOLDER with --all)");
    if (options.all == options.time.has_value()) throw std::invalid_argument("map takes either --time TEXT or --all");
    return options;
}

BatchAnimateOptions ParseBatchAnimateOptions(const std::vector<std::string>& words)
{
    BatchAnimateOptions options;
    bool project = false, to = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (i + 1 >= words.size()) throw std::invalid_argument(word + " needs a value");
        const std::string& value = words[++i];
        if (word == "--project") {
            options.projectPath = value, project = true;
        } else if (word == "--to") {
            options.to = value, to = true;
        } else if (word == "--delay") {
            std::size_t end = 0;
            int delay = 0;
            try {
                delay = std::stoi(value, &end);
            } catch (const std::exception&) {
                end = 0;
            }
            if (end != value.size() || delay < 10 || delay > 655350)
                throw std::invalid_argument("--delay takes milliseconds from 10 to 655350, not \"" + value + "\"");
            options.delayMs = delay;
        } else {
            throw std::invalid_argument("unknown option \"" + word + "\" for animate");
        }
    }
    if (!project || !to) throw std::invalid_argument("animate needs --project FILE.kvr and --to FILE.gif");
    return options;
}

}  // namespace kavrin
