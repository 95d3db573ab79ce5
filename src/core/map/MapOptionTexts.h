// The texts that the map's options add to the picture, in one language:
// the legend's lines, the axis titles and the flow arrow's label.
#pragma once

#include "text/AddedTexts.h"

#include <functional>
#include <string>

namespace kavrin {

struct MapOptionTexts {
    std::string standard;            // "%1" stands for the standard in mg/L
    std::string standardNotReached;  // after it when no value of the grid reaches it
    std::string wells;               // the wells' legend line
    std::string residualPositive;    // observed above calculated
    std::string residualNegative;    // observed below calculated
    std::string wellsLeftOut;        // "%1" stands for how many
    std::string axisX, axisY, flow;
    bool empty() const { return standard.empty(); }
};

// The texts of the language lines as `line` gives them (UTF-8).
MapOptionTexts MapOptionTextsFrom(const std::function<std::string(AddedText)>& line);

// The built-in texts of one language: what the batch tool writes.
MapOptionTexts BuiltInMapOptionTexts(bool portuguese);

}  // namespace kavrin
