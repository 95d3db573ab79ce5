// The text of a varied parameter, NAME=DIST:ARGS: uniform:LO,HI, normal:MEAN,SD,
// lognormal:MEDIAN,GSD, triangular:LO,MODE,HI (e.g. AlphaX=lognormal:10,1.5).
#pragma once

#include "uncertainty/UncertaintySettings.h"

#include <string>

namespace kavrin {

// Reads the text, numbers with '.' or `separator` as decimal point. Throws
// UncertaintyError: not NAME=DIST:ARGS, an unknown parameter or distribution,
// the wrong number of arguments, an argument that is no number, and the
// distribution's own refusals (CheckDistribution).
VariedParameter ParseVariedParameter(const std::string& text, char separator);

// The text back, numbers in their shortest exact form with '.'.
std::string VariedParameterText(const VariedParameter& parameter);

// "uniform", "normal", "lognormal", "triangular".
const char* DistributionName(DistributionKind kind);

}  // namespace kavrin
