#include "files/SourceProjectLines.h"
#include "text/SplitText.h"

#include "text/DecimalSeparator.h"
#include "text/Errors.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cmath>

namespace kavrin {

namespace {

bool numbers(const std::string& value, std::size_t perGroup, bool oneGroup)
{
    const auto groups = SourceValueGroups(value, perGroup);
    return groups && (!oneGroup || groups->size() == 1);
}

// Each name, with the form of its value, known to every project file this build reads or writes.
const ProjectLineRegistration kHistory{{"SourceHistory", "constant, decay, stop or steps", [](const std::string& value) {
                                            return value == "constant" || value == "decay" || value == "stop" || value == "steps";
                                        }}};
const ProjectLineRegistration kDecay{
    {"SourceDecay", "a number (1/day)", [](const std::string& value) { return numbers(value, 1, true); }}};
const ProjectLineRegistration kHalfLife{
    {"SourceHalfLife", "a number of days", [](const std::string& value) { return numbers(value, 1, true); }}};
const ProjectLineRegistration kReleaseEnd{
    {"ReleaseEnd", "a number of days", [](const std::string& value) { return numbers(value, 1, true); }}};
const ProjectLineRegistration kSteps{
    {"SourceSteps", "steps \"START RELATIVE\" apart by |", [](const std::string& value) { return numbers(value, 2, false); }}};
const ProjectLineRegistration kCentre{
    {"SourceCentre", "two numbers \"Y Z\"", [](const std::string& value) { return numbers(value, 2, true); }}};
const ProjectLineRegistration kZones{{"SourceZones", "zones \"Y Z WIDTH HEIGHT CONCENTRATION\" apart by |",
                                      [](const std::string& value) { return numbers(value, 5, false); }}};
const ProjectLineRegistration kControlPlane{
    {"ControlPlaneX", "a number of metres", [](const std::string& value) { return numbers(value, 1, true); }}};

}  // namespace

const std::vector<std::string>& SourceTextNames()
{
    static const std::vector<std::string> names = {"SourceHistory", "SourceDecay",  "SourceHalfLife", "ReleaseEnd",
                                                   "SourceSteps",   "SourceCentre", "SourceZones",    "ControlPlaneX"};
    return names;
}

bool IsSourceTextName(const std::string& name)
{
    const auto& names = SourceTextNames();
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::optional<std::vector<std::vector<double>>> SourceValueGroups(const std::string& value, std::size_t perGroup)
{
    std::vector<std::vector<double>> groups;
    for (const std::string& group : SplitAt(ArrumaDecimal(value, '.'), '|')) {
        std::vector<double> numbers;
        for (const std::string& word : SplitAt(group, ' ')) {
            if (word.empty()) continue;
            try {
                numbers.push_back(ParseFloat(word, '.'));
            } catch (const KavrinError&) {
                return std::nullopt;
            }
        }
        if (numbers.size() != perGroup) return std::nullopt;
        groups.push_back(std::move(numbers));
    }
    return groups;
}

NamedLines SourceNamedLines(const SourceTexts& texts)
{
    NamedLines lines;
    for (const SourceText& text : texts) lines.push_back({text.name, text.value});
    return lines;
}

SourceTexts TakeSourceTexts(NamedLines& lines)
{
    SourceTexts texts;
    for (const NamedLine& line : lines)
        if (IsSourceTextName(line.name)) texts.push_back({line.name, line.value});
    lines.erase(std::remove_if(lines.begin(), lines.end(), [](const NamedLine& line) { return IsSourceTextName(line.name); }),
                lines.end());
    return texts;
}

void RemoveSourceText(SourceTexts& texts, const std::string& name)
{
    texts.erase(std::remove_if(texts.begin(), texts.end(), [&](const SourceText& text) { return text.name == name; }),
                texts.end());
}

void SetSourceText(SourceTexts& texts, const std::string& name, const std::string& value)
{
    if (name == "SourceDecay") RemoveSourceText(texts, "SourceHalfLife");
    if (name == "SourceHalfLife") RemoveSourceText(texts, "SourceDecay");
    if (name == "SourceHistory" && value == "constant") return RemoveSourceText(texts, name);
    const auto existing = std::find_if(texts.begin(), texts.end(), [&](const SourceText& text) { return text.name == name; });
    if (existing != texts.end()) {
        existing->value = value;
        return;
    }
    const auto& order = SourceTextNames();
    const auto rank = [&](const std::string& n) { return std::find(order.begin(), order.end(), n) - order.begin(); };
    const auto after =
        std::find_if(texts.begin(), texts.end(), [&](const SourceText& text) { return rank(text.name) > rank(name); });
    texts.insert(after, {name, value});
}

}  // namespace kavrin
