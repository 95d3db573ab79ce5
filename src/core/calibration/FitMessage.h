// What the fit refuses or reports, as an identifier with its parameters: the
// windows show it in the language in effect, the batch tool in English.
#pragma once

#include "text/Errors.h"

#include <string>
#include <vector>

namespace kavrin {

enum class FitMessageId {
    NoParameters,               // no parameter chosen
    MissingBounds,              // fewer bounds than parameters
    ChosenTwice,                // %1: the parameter
    BoundsOrder,                // %1: the parameter
    LowerBoundNotPositive,      // %1: the parameter
    StartOutsideBounds,         // %1: the parameter
    TooFewObservations,         // %1: the number of parameters
    LogNeedsLimit,              // an observation of zero or less, no detection limit
    LogModelZero,               // the model gives zero at an observation, no detection limit
    BadWeight,                  // %1: the observation's row, %2: its weight text
    RelativeWeightNotPositive,  // %1: the observation's row
    WeightOutweighsOthers,      // %1: the heaviest observation's row, %2: the observations that must count
    WeightedResidualOverflow,   // %1: the observation's row
};

struct FitMessage {
    FitMessageId id;
    std::vector<std::string> arguments;  // %1, %2, … in order
};

constexpr int kFitMessageCount = 13;

// The English text of a message, and its template with %1, %2, … for the
// arguments (the texts of both languages are in FitTexts).
std::string EnglishFitText(const FitMessage& message);
const char* EnglishFitTemplate(FitMessageId id);

// A fit refused before it starts; what() is the English text.
class FitRefusal : public CheckError {
public:
    explicit FitRefusal(FitMessage message);
    const FitMessage& message() const { return message_; }

private:
    FitMessage message_;
};

}  // namespace kavrin
