#include "calibration/FitMessage.h"

#include "calibration/FitTexts.h"

#include <utility>

namespace kavrin {

const char* EnglishFitTemplate(FitMessageId id)
{
    return BuiltInFitText(static_cast<int>(FitText::FirstRefusal) + static_cast<int>(id), false);
}

std::string EnglishFitText(const FitMessage& message)
{
    return FillFitArguments(EnglishFitTemplate(message.id), message.arguments);
}

FitRefusal::FitRefusal(FitMessage message) : CheckError(EnglishFitText(message)), message_(std::move(message)) {}

}  // namespace kavrin
