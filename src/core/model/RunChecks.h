// The checks a run makes before it writes anything.
#pragma once

#include "model/ModelState.h"

#include <optional>

namespace kavrin {

enum class RunRefusal {
    XStepNotPositive,           // DX <= 0 (or not a number) while X1 lies beyond X0
    YStepNotPositive,           // DY <= 0 (or not a number) while Y1 lies beyond Y0
    GridTooLargeY,              // more than 450 cells along Y
    GridTooLargeX,              // more than 450 cells along X
    YRangeExceedsX,             // the X extent is shorter than the Y extent
    YRangeNotAboveSourceWidth,  // the Y extent does not exceed the source width
    TimeRangeEmpty,             // T1 before T0 (or not a number): no time to compute
    TimeStepNotPositive,        // DT <= 0: the series would never end
    TooManyTimes,               // DT too small for the time range
};

// The grid checks, in order (the steps, then the four of the data window); the first that fails.
std::optional<RunRefusal> CheckGrid(const ModelState& model);

// Whether T0, T0 + DT, … holds at least one time and reaches past T1 in a
// sensible number of steps.
std::optional<RunRefusal> CheckTimeSeries(const ModelState& model);

// The grid checks, then the time series: what stops a run before it writes.
std::optional<RunRefusal> CheckRun(const ModelState& model);

// The English text of a refusal, for the headless run.
const char* EnglishRefusalText(RunRefusal refusal);

// The Portuguese text of a refusal that the language files have no line for
// (the steps in X and Y), or nullptr for one they have.
const char* PortugueseRefusalText(RunRefusal refusal);

}  // namespace kavrin
