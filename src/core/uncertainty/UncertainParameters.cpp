#include "uncertainty/UncertainParameters.h"

#include <limits>

namespace kavrin {

namespace {

constexpr double kUnbounded = std::numeric_limits<double>::infinity();

struct Field {
    const char* name;
    double ModelState::*member;
    double lower, upper;
    bool lowerOpen;
};

// Dispersivities, conductivity, gradient and porosity of zero would leave no
// dispersion (the solution is not defined there); a retardation below 1 is
// none, as the model takes it.
constexpr Field kFields[] = {
    {"AlphaX", &ModelState::AlphaX, 0, kUnbounded, true},
    {"AlphaY", &ModelState::AlphaY, 0, kUnbounded, true},
    {"AlphaZ", &ModelState::AlphaZ, 0, kUnbounded, true},
    {"Kxx", &ModelState::Kxx, 0, kUnbounded, true},
    {"GradH", &ModelState::GradH, 0, kUnbounded, true},
    {"Porosity", &ModelState::Porosity, 0, 1, true},
    {"Retardation", &ModelState::Retardation, 1, kUnbounded, false},
    {"Decay", &ModelState::Decay, 0, kUnbounded, false},
    {"C0", &ModelState::C0, 0, kUnbounded, false},
    {"SourceWidth", &ModelState::SourceWidth, 0, kUnbounded, true},
    {"SourceHeight", &ModelState::SourceHeight, 0, kUnbounded, true},
};

constexpr const char* kZonePrefix = "ZoneConcentration";
constexpr int kLastZone = 20;

const Field* fieldOf(const std::string& name)
{
    for (const Field& field : kFields)
        if (name == field.name) return &field;
    return nullptr;
}

}  // namespace

double UncertainParameter::valueIn(const ModelState& model) const
{
    if (zone >= 2) return model.source.moreZones.at(static_cast<std::size_t>(zone - 2)).concentration;
    if (name == "SourceDecay") return model.source.decayRate;
    if (name == "ReleaseEnd") return model.source.releaseEnd;
    return model.*(fieldOf(name)->member);
}

void UncertainParameter::setIn(ModelState& model, double value) const
{
    if (zone >= 2)
        model.source.moreZones.at(static_cast<std::size_t>(zone - 2)).concentration = value;
    else if (name == "SourceDecay")
        model.source.decayRate = value;
    else if (name == "ReleaseEnd")
        model.source.releaseEnd = value;
    else
        model.*(fieldOf(name)->member) = value;
}

bool UncertainParameter::allows(double value) const
{
    return (lowerOpen ? value > lower : value >= lower) && value <= upper;
}

std::optional<UncertainParameter> UncertainParameterOfName(const std::string& name)
{
    if (const Field* field = fieldOf(name)) return UncertainParameter{name, 0, field->lower, field->upper, field->lowerOpen};
    if (name == "SourceDecay" || name == "ReleaseEnd") return UncertainParameter{name, 0, 0, kUnbounded, false};
    const std::string prefix = kZonePrefix;
    if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0) {
        const std::string number = name.substr(prefix.size());
        for (int zone = 2; zone <= kLastZone; ++zone)
            if (number == std::to_string(zone)) return UncertainParameter{name, zone, 0, kUnbounded, false};
    }
    return std::nullopt;
}

bool ModelUsesUncertainParameter(const ModelState& model, const UncertainParameter& parameter)
{
    if (parameter.name == "SourceDecay") return model.source.history == SourceHistory::Decay;
    if (parameter.name == "ReleaseEnd") return model.source.history == SourceHistory::Stop;
    if (parameter.zone >= 2) return static_cast<std::size_t>(parameter.zone - 1) <= model.source.moreZones.size();
    return true;
}

std::vector<std::string> UncertainParameterNames()
{
    std::vector<std::string> names;
    for (const Field& field : kFields) names.emplace_back(field.name);
    names.emplace_back("SourceDecay");
    names.emplace_back("ReleaseEnd");
    for (int zone = 2; zone <= kLastZone; ++zone) names.push_back(kZonePrefix + std::to_string(zone));
    return names;
}

}  // namespace kavrin
