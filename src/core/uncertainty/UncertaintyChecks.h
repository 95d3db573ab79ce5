// The checks of an uncertainty run's settings, made before anything is
// computed or written, each refusal naming what is wrong. The batch tool
// prints the English text; the desktop shows its own language's line for the
// rule, with the same subject.
#pragma once

#include "model/ModelState.h"
#include "text/Errors.h"
#include "uncertainty/UncertaintySettings.h"

#include <optional>
#include <string>

namespace kavrin {

enum class UncertaintyRule {
    NotAVariedText,        // subject: the text; not NAME=DIST:ARGS
    UnknownParameter,      // subject: the name
    UnknownDistribution,   // subject: the distribution's name
    WrongArgumentCount,    // subject: the parameter
    ArgumentNotANumber,    // subject: the parameter
    ArgumentNotFinite,     // subject: the parameter
    InvertedArguments,     // subject: the parameter; lo >= hi, a mode outside [lo, hi]
    SpreadNotPositive,     // subject: the parameter; sd <= 0, median <= 0, geometric sd <= 1
    OutsidePhysicalRange,  // subject: the parameter; no value of the distribution is physical
    ParameterNotUsed,      // subject: the parameter; a source option the model's source does not use
    VariedTwice,           // subject: the parameter (also varied and from the fit)
    TooFewRealizations,    // subject: the number
    TooManyRealizations,   // subject: the number
    NoThreshold,
    TooManyThresholds,
    ThresholdNotPositive,  // subject: the threshold's text
    NoFit,
    SingularFitCovariance,
    NoTime,
    TimeNotPositive,  // subject: the time's text
    TooManyReceptors,
    ReceptorNotFinite,  // subject: the receptor's number, 1 …
    PartOutOfRange,     // subject: "I/M"
    NothingVaried,
    ThresholdTwice,  // subject: the threshold's text; two thresholds of one value
};

struct UncertaintyRefusal {
    UncertaintyRule rule;
    std::string subject;
    bool operator==(const UncertaintyRefusal&) const = default;
};

// The first refusal of the settings against the model, or none.
std::optional<UncertaintyRefusal> CheckUncertaintySettings(const UncertaintySettings& settings, const ModelState& model);

// A distribution's own refusal (arguments not finite, inverted, a spread not
// positive, nothing physical) for `parameter`, or none.
std::optional<UncertaintyRefusal> CheckDistribution(const std::string& parameter, const Distribution& distribution);

std::string EnglishUncertaintyText(const UncertaintyRefusal& refusal);

// Thrown with the English text by what reads settings from texts and files.
class UncertaintyError : public CheckError {
public:
    explicit UncertaintyError(const UncertaintyRefusal& refusal);
    const UncertaintyRefusal& refusal() const { return refusal_; }

private:
    UncertaintyRefusal refusal_;
};

}  // namespace kavrin
