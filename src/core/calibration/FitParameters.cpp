#include "calibration/FitParameters.h"

#include <algorithm>
#include <cmath>

namespace kavrin {

const std::array<FitParameterInfo, 9> kFitParameters = {{
    {FitParameter::AlphaX, "AlphaX", &ModelState::AlphaX, 14, true},
    {FitParameter::AlphaY, "AlphaY", &ModelState::AlphaY, 15, true},
    {FitParameter::AlphaZ, "AlphaZ", &ModelState::AlphaZ, 16, true},
    {FitParameter::Kxx, "Kxx", &ModelState::Kxx, 18, true},
    {FitParameter::Retardation, "Retardation", &ModelState::Retardation, 20, true},
    {FitParameter::Decay, "Decay", &ModelState::Decay, 21, false},
    {FitParameter::C0, "C0", &ModelState::C0, 1, true},
    {FitParameter::SourceWidth, "SourceWidth", &ModelState::SourceWidth, 2, true},
    {FitParameter::SourceHeight, "SourceHeight", &ModelState::SourceHeight, 3, true},
}};

const FitParameterInfo& InfoOf(FitParameter parameter)
{
    return kFitParameters[static_cast<std::size_t>(parameter)];
}

std::optional<FitParameter> FitParameterOfName(const std::string& name)
{
    for (const FitParameterInfo& info : kFitParameters)
        if (name == info.name) return info.parameter;
    return std::nullopt;
}

FitBounds DefaultBounds(FitParameter parameter, double value)
{
    if (parameter == FitParameter::Decay) return {0, std::max(100 * std::fabs(value), 1.0)};
    if (parameter == FitParameter::Retardation) return {1, 100 * std::max(value, 1.0)};
    return {value / 100, value * 100};
}

}  // namespace kavrin
