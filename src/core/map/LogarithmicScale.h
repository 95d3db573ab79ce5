// The map's logarithmic colour scale: 62 levels evenly spaced in the
// logarithm over a number of decades below the scale's top, coloured from
// blue (the lowest) to red (the top) without the linear scale's brightening,
// and the scale beside the map labelled at its ends and at the powers of ten.
#pragma once

#include "map/MapColours.h"

#include <array>
#include <string>
#include <vector>

namespace kavrin {

// top × 10^(−decades × (61 − k) / 61) for k = 0 … 61: L[0] is `decades`
// decades below the top, L[61] the top itself. Throws FloatError when the top
// is not a positive finite number.
std::array<double, kLevelCount> LogarithmicMapLevels(double top, int decades);

// The colour of level k: index Round(1020 × (61 − k) / 61), 1020 (blue) for
// the lowest level, 0 (red) for the top.
Rgb LogarithmicLevelColour(int k);

// Scale cell n (1 at the top … 40 at the bottom): the colour of the
// concentration top × 10^(−decades × (40 − n) / 40), index Round(1020 × (40 − n) / 40).
Rgb LogarithmicScaleCellColour(int n);

// A label of the scale: its text's top edge and its text.
struct ScaleLabel {
    int y = 0;
    std::string text;
};

// The labels beside the scale's box: the lowest value at the box's top
// (y 175, where the linear scale writes "0") and the top at its bottom (y 457),
// then each power of ten between them at its own height, a label closer to
// one already placed than a text's height left out. Numbers in the general
// format with `separator`.
std::vector<ScaleLabel> LogarithmicScaleLabels(double top, int decades, char separator);

}  // namespace kavrin
