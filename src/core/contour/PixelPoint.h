// An integer point of the map picture: x to the right, y downwards.
#pragma once

#include <vector>

namespace kavrin {

struct PixelPoint {
    int x = 0, y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

using PixelPolygon = std::vector<PixelPoint>;

// Round(v), halves to even, as a pixel coordinate; throws FloatError when v
// is not finite or is beyond the range of a pixel coordinate.
int RoundPixel(double v);

}  // namespace kavrin
