#include "calibration/FitMessage.h"

#include <array>
#include <utility>

namespace kavrin {

namespace {

// In the order of FitMessageId; also lines 152 … 162 of the English language
// file, which tools/language-files.py copies from here.
const std::array<const char*, kFitMessageCount> kEnglish = {
    "Choose at least one parameter to fit",
    "Every fitted parameter needs its bounds",
    "%1 is chosen twice",
    "The bounds of %1 must have the lower below the upper",
    "The lower bound of %1 must be above zero",
    "The current value of %1 lies outside its bounds",
    "A fit of %1 parameters needs more than %1 observations",
    "Log residuals need a detection limit when an observation is zero or below",
    "Log residuals need a detection limit: the model gives zero at some observations",
    "The weight of observation %1 (\"%2\") must be a number above zero",
    "Relative weights need observation %1 above zero (or a detection limit)",
};

// The text with %1, %2, … replaced by the arguments.
std::string fillArguments(const std::string& text, const std::vector<std::string>& arguments)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool marker = text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9';
        const std::size_t index = marker ? static_cast<std::size_t>(text[i + 1] - '1') : 0;
        if (marker && index < arguments.size()) {
            result += arguments[index];
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

}  // namespace

const char* EnglishFitTemplate(FitMessageId id)
{
    return kEnglish[static_cast<std::size_t>(id)];
}

std::string EnglishFitText(const FitMessage& message)
{
    return fillArguments(EnglishFitTemplate(message.id), message.arguments);
}

FitRefusal::FitRefusal(FitMessage message) : CheckError(EnglishFitText(message)), message_(std::move(message)) {}

}  // namespace kavrin
