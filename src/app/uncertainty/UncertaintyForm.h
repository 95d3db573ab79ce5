// What the uncertainty window's controls say, read into the settings of a run:
// each parameter fixed, drawn from a distribution or from the calibration's
// fit, the standard and further thresholds, the realizations, the seed, the
// times chosen and the receptors. A text that is no number is refused naming
// its field; the rest is checked by the run's own checks.
#pragma once

#include "calibration/FitResult.h"
#include "frame/AppState.h"
#include "uncertainty/UncertaintyChecks.h"
#include "uncertainty/UncertaintySettings.h"

#include <QString>
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kavrin {

// The choices of a parameter's distribution column, in its order.
enum class ParameterChoice { Fixed, Uniform, Normal, Lognormal, Triangular, FromFit };

struct ParameterRowTexts {
    std::string name;
    ParameterChoice choice = ParameterChoice::Fixed;
    std::array<QString, 3> arguments;  // a, b, c
};

struct UncertaintyFormTexts {
    std::vector<ParameterRowTexts> parameters;
    QString standard, moreThresholds, realizations, seed;
    bool latinHypercube = false;
    std::vector<double> times;                      // those chosen, days
    std::vector<std::array<QString, 3>> receptors;  // x, y, z; a row left empty is no receptor
};

// Read and checked settings, or the refusal's text in the window's language.
struct UncertaintyFormOutcome {
    std::optional<UncertaintySettings> settings;
    QString refusal;
};

// `fit` is the calibration window's result, if any.
UncertaintyFormOutcome ReadUncertaintyForm(const UncertaintyFormTexts& texts, const ModelState& model, const FitResult* fit,
                                           const AppState& app);

// The refusal in the window's language, with its subject.
QString UncertaintyRefusalText(const AppState& app, const UncertaintyRefusal& refusal);

// The fit's joint draw restricted to `names` (the marginal of the chosen
// parameters keeps their correlations), or none when the fit gave no errors
// or lacks one of them.
std::optional<FitDraw> FitDrawOfNames(const FitResult& fit, const std::vector<std::string>& names);

}  // namespace kavrin
