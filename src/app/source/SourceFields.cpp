#include "source/SourceFields.h"

#include "text/DecimalSeparator.h"
#include "text/Errors.h"
#include "text/NumberText.h"

#include <sstream>

namespace kavrin {

namespace {

const char* const kHistoryNames[] = {"constant", "decay", "stop", "steps"};

std::vector<std::string> split(const std::string& text, char mark)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, mark)) parts.push_back(part);
    return parts;
}

std::vector<std::string> words(const std::string& text)
{
    std::vector<std::string> found;
    std::istringstream in(text);
    for (std::string word; in >> word;) found.push_back(word);
    return found;
}

template <std::size_t N>
std::vector<std::array<std::string, N>> rowsOf(const std::string& value)
{
    std::vector<std::array<std::string, N>> rows;
    for (const std::string& group : split(value, '|')) {
        const std::vector<std::string> numbers = words(group);
        std::array<std::string, N> row;
        for (std::size_t i = 0; i < N && i < numbers.size(); ++i) row[i] = numbers[i];
        rows.push_back(row);
    }
    return rows;
}

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool isZero(const std::string& text, char separator)
{
    try {
        return ParseFloat(text, separator) == 0;
    } catch (const ConversionError&) {
        return false;
    }
}

// Builds the texts, stopping at the first value that cannot be written.
class Composer {
public:
    explicit Composer(char separator) : separator_(separator) {}

    // One value, or a group of `values` as one step or zone (group from 1).
    template <class Values>
    bool value(const char* name, const Values& values, int group, std::string& out)
    {
        std::string joined;
        for (const std::string& typed : values) {
            const std::string text = trimmed(typed);
            if (text.empty()) return refuse(name, SourceRule::MissingValue, group);
            if (text.find_first_of(" \t|") != std::string::npos) return refuse(name, SourceRule::NotANumber, group);
            if (!joined.empty()) joined += ' ';
            joined += ArrumaDecimal(text, separator_);
        }
        out += joined;
        return true;
    }

    // Groups are numbered from `firstGroup`: steps from 1, zones from 2 (zone 1 is the data window's).
    template <std::size_t N>
    bool rows(const char* name, const std::vector<std::array<std::string, N>>& rows, int firstGroup, std::string& out)
    {
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (r > 0) out += '|';
            if (!value(name, rows[r], static_cast<int>(r) + firstGroup, out)) return false;
        }
        return true;
    }

    bool refuse(const char* name, SourceRule rule, int group)
    {
        composed.refusal = SourceRefusal{name, rule, group};
        return false;
    }

    void add(const char* name, const std::string& value) { composed.texts.push_back({name, value}); }

    ComposedSourceTexts composed;

private:
    char separator_;
};

}  // namespace

SourceFields FieldsOfTexts(const SourceTexts& texts)
{
    SourceFields fields;
    for (const SourceText& text : texts) {
        const std::string& value = text.value;
        if (text.name == "SourceHistory") {
            for (int h = 0; h < 4; ++h)
                if (trimmed(value) == kHistoryNames[h]) fields.history = static_cast<SourceHistory>(h);
        } else if (text.name == "SourceDecay" || text.name == "SourceHalfLife") {
            fields.decay = trimmed(value);
            fields.halfLife = text.name == "SourceHalfLife";
        } else if (text.name == "ReleaseEnd") {
            fields.releaseEnd = trimmed(value);
        } else if (text.name == "SourceSteps") {
            fields.steps = rowsOf<2>(value);
        } else if (text.name == "SourceCentre") {
            const auto centre = rowsOf<2>(value);
            if (!centre.empty()) {
                fields.centreY = centre.front()[0];
                fields.centreZ = centre.front()[1];
            }
        } else if (text.name == "SourceZones") {
            fields.zones = rowsOf<5>(value);
        } else if (text.name == "ControlPlaneX") {
            fields.controlPlane = trimmed(value);
        }
    }
    return fields;
}

ComposedSourceTexts TextsOfFields(const SourceFields& fields, char separator)
{
    Composer c(separator);
    const auto single = [&](const char* name, const std::string& typed) {
        std::string value;
        if (!c.value(name, std::array<std::string, 1>{typed}, 0, value)) return false;
        c.add(name, value);
        return true;
    };
    if (fields.history != SourceHistory::Constant) c.add("SourceHistory", kHistoryNames[static_cast<int>(fields.history)]);
    switch (fields.history) {
    case SourceHistory::Constant:
        break;
    case SourceHistory::Decay:
        if (!single(fields.halfLife ? "SourceHalfLife" : "SourceDecay", fields.decay)) return c.composed;
        break;
    case SourceHistory::Stop:
        if (!single("ReleaseEnd", fields.releaseEnd)) return c.composed;
        break;
    case SourceHistory::Steps: {
        std::string value;
        if (fields.steps.empty()) c.refuse("SourceSteps", SourceRule::MissingValue, 0);
        if (fields.steps.empty() || !c.rows("SourceSteps", fields.steps, 1, value)) return c.composed;
        c.add("SourceSteps", value);
        break;
    }
    }
    const auto zero = [separator](const std::string& typed) {
        return isZero(ArrumaDecimal(trimmed(typed), separator), separator);
    };
    if (!zero(fields.centreY) || !zero(fields.centreZ)) {
        std::string value;
        if (!c.value("SourceCentre", std::array<std::string, 2>{fields.centreY, fields.centreZ}, 0, value)) return c.composed;
        c.add("SourceCentre", value);
    }
    if (!fields.zones.empty()) {
        std::string value;
        if (!c.rows("SourceZones", fields.zones, 2, value)) return c.composed;
        c.add("SourceZones", value);
    }
    if (!trimmed(fields.controlPlane).empty() && !single("ControlPlaneX", fields.controlPlane)) return c.composed;
    return c.composed;
}

}  // namespace kavrin
