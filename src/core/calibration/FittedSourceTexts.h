// A fitted value written where the user gives it: the data window's edit for
// the data window's parameters, the source options' texts for the source's.
#pragma once

#include "calibration/FitParameters.h"
#include "model/ParameterTexts.h"

namespace kavrin {

// Writes `value` as its shortest round-trip text. A fitted decay rate replaces
// a half-life text in its place (the rate is what was fitted); a zone's
// concentration replaces only that number of its SourceZones group.
void WriteFittedValue(ParameterTexts& texts, FitParameter parameter, double value, char separator);

}  // namespace kavrin
