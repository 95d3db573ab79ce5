// The parameters a fit can change: their names, where they sit in the model
// and in the data window, and the bounds a fit starts from.
#pragma once

#include "model/ModelState.h"

#include <array>
#include <optional>
#include <string>

namespace kavrin {

// The seepage velocity is fitted through Kxx, with the gradient and the porosity held.
enum class FitParameter { AlphaX, AlphaY, AlphaZ, Kxx, Retardation, Decay, C0, SourceWidth, SourceHeight };

struct FitParameterInfo {
    FitParameter parameter;
    const char* name;  // the field name, as in --set and --fit
    double ModelState::*member;
    int edit;       // the data window's Edit n that shows it
    bool positive;  // fitted as log(value), so it stays positive
};

extern const std::array<FitParameterInfo, 9> kFitParameters;
const FitParameterInfo& InfoOf(FitParameter parameter);
std::optional<FitParameter> FitParameterOfName(const std::string& name);

struct FitBounds {
    double lower = 0, upper = 0;
};

// Bounds around a current value: a hundredth to a hundred times it for the
// positive parameters (retardation from 1), 0 to 100 times the decay (at
// least 1/day) for the decay.
FitBounds DefaultBounds(FitParameter parameter, double value);

}  // namespace kavrin
