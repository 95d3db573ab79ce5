// The model fields an uncertainty run can vary, with the physical range each
// drawn value is kept in.
#pragma once

#include "model/ModelState.h"

#include <optional>
#include <string>
#include <vector>

namespace kavrin {

// AlphaX, AlphaY, AlphaZ, Kxx, GradH, Porosity, Retardation, Decay, C0,
// SourceWidth, SourceHeight, and of the source options SourceDecay,
// ReleaseEnd and ZoneConcentration2 … ZoneConcentration20.
struct UncertainParameter {
    std::string name;
    int zone = 0;  // 2 … 20 for a ZoneConcentration, 0 otherwise
    // The physical range: values lie in [lower, upper], or (lower, upper]
    // when lowerOpen (a zero dispersivity or porosity is no aquifer).
    double lower = 0, upper = 0;
    bool lowerOpen = false;

    double valueIn(const ModelState& model) const;
    void setIn(ModelState& model, double value) const;  // input field only; derive after
    bool allows(double value) const;
};

std::optional<UncertainParameter> UncertainParameterOfName(const std::string& name);

// Whether the model uses the parameter: the source options' only when the
// history or the zones have them.
bool ModelUsesUncertainParameter(const ModelState& model, const UncertainParameter& parameter);

// The names the data window's fields give, in its order, then the source's.
std::vector<std::string> UncertainParameterNames();

}  // namespace kavrin
