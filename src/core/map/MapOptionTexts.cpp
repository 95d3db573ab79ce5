#include "map/MapOptionTexts.h"

namespace kavrin {

MapOptionTexts MapOptionTextsFrom(const std::function<std::string(AddedText)>& line)
{
    return {line(AddedText::MapStandardLegend),
            line(AddedText::MapStandardNotReached),
            line(AddedText::MapWellsLegend),
            line(AddedText::MapResidualPositive),
            line(AddedText::MapResidualNegative),
            line(AddedText::MapWellsLeftOut),
            line(AddedText::MapAxisX),
            line(AddedText::MapAxisY),
            line(AddedText::MapFlow)};
}

MapOptionTexts BuiltInMapOptionTexts(bool portuguese)
{
    return MapOptionTextsFrom(
        [portuguese](AddedText text) { return std::string(BuiltInAddedText(static_cast<int>(text), portuguese)); });
}

}  // namespace kavrin
