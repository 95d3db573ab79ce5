// The parameters a fit can change: their names, where they sit in the model
// and in the data window, and the bounds a fit starts from.
#pragma once

#include "model/ModelState.h"

#include <array>
#include <optional>
#include <string>

namespace kavrin {

// The seepage velocity is fitted through Kxx, with the gradient and the porosity held.
// After the data window's nine come the source's: its decay rate, its release
// end and the concentration of zones 2 … 20 (ZoneConcentration2 …).
enum class FitParameter {
    AlphaX,
    AlphaY,
    AlphaZ,
    Kxx,
    Retardation,
    Decay,
    C0,
    SourceWidth,
    SourceHeight,
    SourceDecay,
    ReleaseEnd
};
constexpr int kMostFittedZones = 19;
FitParameter ZoneConcentrationParameter(int zone);  // zone 2 … 20

struct FitParameterInfo {
    FitParameter parameter;
    const char* name;  // the field name, as in --set and --fit
    double (*get)(const ModelState&);
    void (*set)(ModelState&, double);
    int edit;       // the data window's Edit n that shows it; -1 for the source's
    bool positive;  // fitted as log(value), so it stays positive
};

// The data window's parameters, and those of the source options.
extern const std::array<FitParameterInfo, 9> kFitParameters;
extern const std::array<FitParameterInfo, 2 + kMostFittedZones> kSourceFitParameters;
const FitParameterInfo& InfoOf(FitParameter parameter);
std::optional<FitParameter> FitParameterOfName(const std::string& name);  // the data window's
std::optional<FitParameter> SourceFitParameterOfName(const std::string& name);
std::optional<FitParameter> AnyFitParameterOfName(const std::string& name);  // either
// Whether the model's source options use the parameter: the decay rate only
// with the decaying history, the release end with the stopped one, a zone's
// concentration only when the zone exists.
bool ModelUses(const ModelState& model, FitParameter parameter);

struct FitBounds {
    double lower = 0, upper = 0;
    bool operator==(const FitBounds&) const = default;
};

// Bounds around a current value: a hundredth to a hundred times it for the
// positive parameters (retardation from 1), 0 to 100 times the decay (at
// least 1/day) for the decay.
FitBounds DefaultBounds(FitParameter parameter, double value);

}  // namespace kavrin
