// The fit's texts in both languages: lines 126 on of the language files. The
// calibration window shows them (or a language file's own lines), the batch
// tool writes its result sentences with the English ones, and the language
// files' generator writes them into the files.
#pragma once

#include "calibration/FitMessage.h"
#include "calibration/FitResult.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace kavrin {

// Each line of the fit's texts by its line number in the language files.
enum class FitText {
    Title = 126,
    LowerBound,
    UpperBound,
    LogResiduals,
    DetectionLimit,
    FitButton,
    CancelButton,
    ApplyButton,
    UndoButton,
    ParameterHeadings,   // the fitted values' column headings, |-separated
    StatisticsHeadings,  // the statistics' row then column headings, |-separated
    Progress,            // %1: the iteration, %2: the objective
    Ended,               // %1: the iterations, %2: the stop's word
    StopWords,           // in FitStop's order, |-separated
    CannotDetermine,
    NoInfluence,  // %1: the parameter
    Correlated,   // %1, %2: the parameters
    FitFewer,
    Correlations,
    Intervals,  // %1: Student's t, %2: the degrees of freedom
    Weights,
    WeightRules,    // in WeightRule's order, |-separated
    WeightHeading,  // the observation grid's weight column
    Cancelled,
    Failed,
    DependOnEachOther,
    FirstRefusal,  // then one line per FitMessageId, in its order
};

constexpr int kFirstFitTextLine = static_cast<int>(FitText::Title);
constexpr int kFitTextLines = static_cast<int>(FitText::FirstRefusal) - kFirstFitTextLine + kFitMessageCount;

// The built-in text of a line (UTF-8), in Portuguese or English.
const char* BuiltInFitText(int line, bool portuguese);

// The fit's texts of one language, as the window holds them.
struct FitTexts {
    std::array<std::string, kFitTextLines> lines;
    const std::string& line(int number) const { return lines[static_cast<std::size_t>(number - kFirstFitTextLine)]; }
    const std::string& operator[](FitText text) const { return line(static_cast<int>(text)); }
};

FitTexts BuiltInFitTexts(bool portuguese);

// A template's %1, %2, … replaced by the arguments in one pass, so that an
// argument's own "%1" stays as it is.
std::string FillFitArguments(const std::string& text, const std::vector<std::string>& arguments);

// A refusal in the texts' language.
std::string RefusalText(const FitTexts& texts, const FitMessage& message);

// The stop's word ("converged", …).
std::string StopText(const FitTexts& texts, FitStop stop);

// A parameter's identifier, as in --set and --fit.
std::string IdentifierOf(FitParameter parameter);

// Why the observations cannot determine the fitted parameters, in one
// paragraph ending with the advice; for a result that is not identifiable.
// The parameters are named by `name`: the identifiers, or a window's captions.
std::string NotIdentifiableText(const FitTexts& texts, const FitResult& result,
                                const std::function<std::string(FitParameter)>& name = IdentifierOf);

}  // namespace kavrin
