#include "model/SourceTextRules.h"

#include "text/DecimalSeparator.h"
#include "text/Errors.h"
#include "text/NumberText.h"

#include <cmath>
#include <numbers>

namespace kavrin {

namespace {

struct SourceName {
    const char* name;
    const char* english;  // what the value is, for the messages
    const char* layout;   // the numbers of one group, for lists
};

const SourceName kNames[] = {
    {"SourceHistory", "source history", nullptr},
    {"SourceDecay", "source decay rate, 1/day", nullptr},
    {"SourceHalfLife", "source half-life, days", nullptr},
    {"ReleaseEnd", "release end time, days", nullptr},
    {"SourceSteps", "source steps", "START RELATIVE"},
    {"SourceCentre", "first zone's centre, m", "Y Z"},
    {"SourceZones", "source zones", "Y Z WIDTH HEIGHT CONCENTRATION"},
    {"ControlPlaneX", "control plane position, m", nullptr},
};

const SourceName* nameOf(const std::string& name)
{
    for (const SourceName& known : kNames)
        if (name == known.name) return &known;
    return nullptr;
}

bool positiveFinite(double value)
{
    return value > 0 && std::isfinite(value);
}

bool nonNegativeFinite(double value)
{
    return value >= 0 && std::isfinite(value);
}

std::optional<double> number(const std::string& text, char separator)
{
    try {
        return ParseFloat(ArrumaDecimal(text, separator), separator);
    } catch (const ConversionError&) {
        return std::nullopt;
    }
}

// The groups of a list ('|' between groups, blanks between numbers), each of
// `count` numbers; the group that is not, numbered from `firstGroup`, as a refusal.
std::optional<SourceRefusal> numberGroups(const SourceText& text, std::size_t count, int firstGroup, char separator,
                                          std::vector<std::vector<double>>& groups)
{
    std::size_t start = 0;
    for (int group = firstGroup;; ++group) {
        const std::size_t bar = text.value.find('|', start);
        const std::string piece = text.value.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
        std::vector<double> values;
        std::size_t at = 0;
        while (true) {
            const std::size_t begin = piece.find_first_not_of(' ', at);
            if (begin == std::string::npos) break;
            const std::size_t end = std::min(piece.find(' ', begin), piece.size());
            const std::optional<double> value = number(piece.substr(begin, end - begin), separator);
            if (!value) return SourceRefusal{text.name, SourceRule::NotANumber, group};
            values.push_back(*value);
            at = end;
        }
        if (values.size() != count) return SourceRefusal{text.name, SourceRule::NotANumber, group};
        groups.push_back(std::move(values));
        if (bar == std::string::npos) return std::nullopt;
        start = bar + 1;
    }
}

std::optional<SourceRefusal> readText(const SourceText& text, const ModelState& model, char separator, SourceOptions& options)
{
    if (!nameOf(text.name)) return SourceRefusal{text.name, SourceRule::UnknownName};
    if (text.value.find_first_not_of(' ') == std::string::npos) return SourceRefusal{text.name, SourceRule::MissingValue};
    const std::string& name = text.name;
    if (name == "SourceHistory") {
        static const std::pair<const char*, SourceHistory> kHistories[] = {{"constant", SourceHistory::Constant},
                                                                           {"decay", SourceHistory::Decay},
                                                                           {"stop", SourceHistory::Stop},
                                                                           {"steps", SourceHistory::Steps}};
        for (const auto& [word, history] : kHistories)
            if (text.value == word) {
                options.history = history;
                return std::nullopt;
            }
        return SourceRefusal{name, SourceRule::UnknownHistory};
    }
    if (name == "SourceSteps" || name == "SourceCentre" || name == "SourceZones") {
        std::vector<std::vector<double>> groups;
        // Groups count steps from 1 and zones from 2 (the data window's zone is 1); the centre is one pair.
        const std::size_t count = name == "SourceZones" ? 5 : 2;
        const int firstGroup = name == "SourceSteps" ? 1 : name == "SourceZones" ? 2 : 0;
        if (auto refusal = numberGroups(text, count, firstGroup, separator, groups)) return refusal;
        if (name == "SourceCentre") {
            if (groups.size() != 1) return SourceRefusal{name, SourceRule::NotANumber};
            if (!std::isfinite(groups[0][0]) || !std::isfinite(groups[0][1])) return SourceRefusal{name, SourceRule::NotANumber};
            options.firstZoneY = groups[0][0];
            options.firstZoneZ = groups[0][1];
            return std::nullopt;
        }
        if (name == "SourceSteps") {
            options.steps.clear();
            for (std::size_t k = 0; k < groups.size(); ++k) {
                const SourceStep step{groups[k][0], groups[k][1]};
                const int group = static_cast<int>(k) + 1;
                if (!nonNegativeFinite(step.start) || !nonNegativeFinite(step.relative))
                    return SourceRefusal{name, SourceRule::NotPositive, group};
                if (k > 0 && !(step.start > options.steps.back().start))
                    return SourceRefusal{name, SourceRule::StepsNotIncreasing, group};
                options.steps.push_back(step);
            }
            return std::nullopt;
        }
        options.moreZones.clear();
        for (std::size_t k = 0; k < groups.size(); ++k) {
            const SourceZone zone{groups[k][0], groups[k][1], groups[k][2], groups[k][3], groups[k][4]};
            const int group = static_cast<int>(k) + 2;
            if (group > kMaxSourceZones) return SourceRefusal{name, SourceRule::TooManyZones, group};
            const bool finite = std::isfinite(zone.y) && std::isfinite(zone.z) && std::isfinite(zone.concentration);
            if (!finite || !positiveFinite(zone.width) || !positiveFinite(zone.height))
                return SourceRefusal{name, SourceRule::ZoneSize, group};
            options.moreZones.push_back(zone);
        }
        return std::nullopt;
    }
    const std::optional<double> value = number(text.value, separator);
    if (!value) return SourceRefusal{name, SourceRule::NotANumber};
    if (name == "ControlPlaneX") {
        if (!(*value >= 0 && *value <= model.X1)) return SourceRefusal{name, SourceRule::ControlPlaneOutside};
        options.controlPlaneX = *value;
        return std::nullopt;
    }
    const double stored = name == "SourceHalfLife" ? std::numbers::ln2 / *value : *value;
    if (!positiveFinite(*value) || !positiveFinite(stored)) return SourceRefusal{name, SourceRule::NotPositive};
    (name == "ReleaseEnd" ? options.releaseEnd : options.decayRate) = stored;
    return std::nullopt;
}

// The rules across texts: what the history needs, and zones that overlap.
std::optional<SourceRefusal> checkTogether(const SourceTexts& texts, const ModelState& model, const SourceOptions& options)
{
    auto given = [&](const char* name) {
        for (const SourceText& text : texts)
            if (text.name == name) return true;
        return false;
    };
    if (options.history == SourceHistory::Decay && !given("SourceDecay") && !given("SourceHalfLife"))
        return SourceRefusal{"SourceDecay", SourceRule::MissingValue};
    if (options.history == SourceHistory::Stop && !given("ReleaseEnd"))
        return SourceRefusal{"ReleaseEnd", SourceRule::MissingValue};
    if (options.history == SourceHistory::Steps && options.steps.empty())
        return SourceRefusal{"SourceSteps", SourceRule::MissingValue};
    ModelState withZones = model;
    withZones.source = options;
    const std::vector<SourceZone> zones = SourceZonesOf(withZones);
    for (std::size_t j = 1; j < zones.size(); ++j) {
        for (std::size_t i = 0; i < j; ++i) {
            const SourceZone &a = zones[i], &b = zones[j];
            const bool interiorsMeet = a.y - a.width / 2 < b.y + b.width / 2 && b.y - b.width / 2 < a.y + a.width / 2 &&
                                       a.z - a.height / 2 < b.z + b.height / 2 && b.z - b.height / 2 < a.z + a.height / 2;
            if (interiorsMeet && !ZoneContains(a, b) && !ZoneContains(b, a))
                return SourceRefusal{"SourceZones", SourceRule::ZonesOverlap, static_cast<int>(j) + 1};
        }
    }
    return std::nullopt;
}

std::optional<SourceRefusal> readTexts(const SourceTexts& texts, const ModelState& model, char separator, SourceOptions& options)
{
    for (const SourceText& text : texts)
        if (auto refusal = readText(text, model, separator, options)) return refusal;
    return checkTogether(texts, model, options);
}

}  // namespace

std::optional<SourceRefusal> CheckSourceTexts(const SourceTexts& texts, const ModelState& model, char separator)
{
    SourceOptions options;
    return readTexts(texts, model, separator, options);
}

std::optional<SourceRefusal> CheckSourceTexts(const ParameterTexts& texts, char separator)
{
    ModelState model;
    model.X1 = INFINITY;  // a text that does not convert refuses nothing here
    for (const ParameterField& field : kParameterFields) {
        try {
            model.*field.member =
                ParseFloat(ArrumaDecimal(texts.edit[static_cast<std::size_t>(field.edit)], separator), separator);
        } catch (const ConversionError&) {
        }
    }
    return CheckSourceTexts(texts.source, model, separator);
}

SourceOptions ParseSourceTexts(const SourceTexts& texts, const ModelState& model, char separator)
{
    SourceOptions options;
    if (const auto refusal = readTexts(texts, model, separator, options)) throw CheckError(EnglishSourceRefusalText(*refusal));
    return options;
}

std::string EnglishSourceRefusalText(const SourceRefusal& refusal)
{
    const SourceName* known = nameOf(refusal.name);
    if (!known)
        return "The source option \"" + Excerpt(refusal.name) +
               "\" is not known. The source options are SourceHistory, SourceDecay, SourceHalfLife, ReleaseEnd, "
               "SourceSteps, SourceCentre, SourceZones and ControlPlaneX.";
    const std::string what = "The " + refusal.name + " (" + known->english + ")";
    const std::string group = refusal.group == 0              ? ""
                              : refusal.name == "SourceSteps" ? " of step " + std::to_string(refusal.group)
                                                              : " of zone " + std::to_string(refusal.group);
    switch (refusal.rule) {
    case SourceRule::UnknownName:
        break;
    case SourceRule::UnknownHistory:
        return what + " must be constant, decay, stop or steps.";
    case SourceRule::NotANumber:
        if (known->layout)
            return what + group + " must be the numbers " + known->layout + ", separated by blanks" +
                   (refusal.name == "SourceCentre" ? "." : ", with '|' between groups.");
        return what + " must be a number.";
    case SourceRule::NotPositive:
        if (refusal.name == "SourceSteps")
            return what + group + " must start at 0 or later, with a relative concentration of 0 or more.";
        return what + " must be a finite number greater than 0.";
    case SourceRule::StepsNotIncreasing:
        return what + group + " must start after the step before it.";
    case SourceRule::ZoneSize:
        return what + group + " must have a width and a height greater than 0, and finite values.";
    case SourceRule::TooManyZones:
        return what + " hold more than " + std::to_string(kMaxSourceZones) + " zones, the data window's zone included.";
    case SourceRule::ZonesOverlap:
        return what + ": zone " + std::to_string(refusal.group) +
               " overlaps a zone listed before it without lying inside it or containing it. Zones may touch or nest, not "
               "overlap.";
    case SourceRule::ControlPlaneOutside:
        return what + " must lie between 0 and X1, the end of the grid in X.";
    case SourceRule::MissingValue:
        if (refusal.name == "SourceDecay")
            return "The decaying source needs its decay rate (SourceDecay, 1/day) or half-life (SourceHalfLife, days).";
        return what + " needs a value.";
    }
    return what + " is not valid.";
}

std::vector<SourceZone> SourceZonesOf(const ModelState& model)
{
    std::vector<SourceZone> zones{
        {model.source.firstZoneY, model.source.firstZoneZ, model.SourceWidth, model.SourceHeight, model.C0}};
    zones.insert(zones.end(), model.source.moreZones.begin(), model.source.moreZones.end());
    return zones;
}

bool SymmetricInY(const ModelState& model)
{
    for (const SourceZone& zone : SourceZonesOf(model))
        if (zone.y != 0) return false;
    return true;
}

bool ZoneContains(const SourceZone& outer, const SourceZone& inner)
{
    return outer.y - outer.width / 2 <= inner.y - inner.width / 2 && inner.y + inner.width / 2 <= outer.y + outer.width / 2 &&
           outer.z - outer.height / 2 <= inner.z - inner.height / 2 && inner.z + inner.height / 2 <= outer.z + outer.height / 2;
}

int InnermostContainer(const std::vector<SourceZone>& zones, std::size_t index)
{
    int best = -1;
    for (std::size_t i = 0; i < zones.size(); ++i) {
        if (i == index || !ZoneContains(zones[i], zones[index])) continue;
        if (ZoneContains(zones[index], zones[i]) && i > index) continue;  // the same rectangle, listed later: drawn over it
        if (best < 0 || ZoneContains(zones[static_cast<std::size_t>(best)], zones[i])) best = static_cast<int>(i);
    }
    return best;
}

double HighestSourceConcentration(const ModelState& model)
{
    double top = model.C0;
    for (const SourceZone& zone : model.source.moreZones)
        if (std::isfinite(zone.concentration)) top = std::max(top, zone.concentration);
    // A step above 1 raises every zone for a while.
    double strongestStep = 1;
    if (model.source.history == SourceHistory::Steps)
        for (const SourceStep& step : model.source.steps)
            if (std::isfinite(step.relative)) strongestStep = std::max(strongestStep, step.relative);
    return top * strongestStep;
}

}  // namespace kavrin
