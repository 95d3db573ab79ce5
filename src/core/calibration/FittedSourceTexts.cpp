#include "calibration/FittedSourceTexts.h"

#include "text/NumberText.h"

#include <algorithm>
#include <sstream>

namespace kavrin {

namespace {

SourceText* textNamed(SourceTexts& texts, const std::string& name)
{
    const auto found = std::find_if(texts.begin(), texts.end(), [&](const SourceText& t) { return t.name == name; });
    return found == texts.end() ? nullptr : &*found;
}

void setText(SourceTexts& texts, const std::string& name, const std::string& value)
{
    if (SourceText* text = textNamed(texts, name))
        text->value = value;
    else
        texts.push_back({name, value});
}

// SourceZones' group `group` (0-based) with its last number, the concentration, replaced.
std::string withZoneConcentration(const std::string& zones, std::size_t group, const std::string& concentration)
{
    std::string result;
    std::size_t start = 0;
    for (std::size_t index = 0;; ++index) {
        const std::size_t end = zones.find('|', start);
        std::string part = zones.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (index == group) {
            const std::size_t last = part.find_last_not_of(" \t");
            const std::size_t before = part.find_last_of(" \t", last);
            part = part.substr(0, before == std::string::npos ? 0 : before + 1) + concentration;
        }
        result += (index == 0 ? "" : "|") + part;
        if (end == std::string::npos) return result;
        start = end + 1;
    }
}

}  // namespace

void WriteFittedValue(ParameterTexts& texts, FitParameter parameter, double value, char separator)
{
    const FitParameterInfo& info = InfoOf(parameter);
    const std::string text = RoundTripText(value, separator);
    if (info.edit >= 0) {
        SetControlText(texts, info.edit, text, separator);
        return;
    }
    if (parameter == FitParameter::SourceDecay) {
        if (SourceText* halfLife = textNamed(texts.source, "SourceHalfLife"))
            *halfLife = {"SourceDecay", text};
        else
            setText(texts.source, "SourceDecay", text);
        return;
    }
    if (parameter == FitParameter::ReleaseEnd) {
        setText(texts.source, "ReleaseEnd", text);
        return;
    }
    const auto group = static_cast<std::size_t>(static_cast<int>(parameter) - static_cast<int>(FitParameter::ReleaseEnd) - 1);
    if (SourceText* zones = textNamed(texts.source, "SourceZones"))
        zones->value = withZoneConcentration(zones->value, group, text);
}

}  // namespace kavrin
