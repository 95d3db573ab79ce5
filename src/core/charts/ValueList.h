// The value lists of the charts window: times, X or Y positions from a start
// by a step up to an end, accumulated by addition as the run does.
#pragma once

#include "model/RunTimes.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kavrin {

constexpr std::size_t kMaxListValues = kMaximumRunTimes;

// v := start; while v <= end: the general-format text of v, then v := v + step
// (rounded to a double at each step, so 0 to 0.3 by 0.1 ends at 0.2). A step
// that is not above zero, or that would give more than kMaxListValues
// values, throws StepRefused naming `stepName`.
std::vector<std::string> ValueList(double start, double step, double end, const std::string& stepName, char separator);

}  // namespace kavrin
