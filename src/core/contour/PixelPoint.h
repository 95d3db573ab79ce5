// An integer point of the map picture: x to the right, y downwards.
#pragma once

#include <vector>

namespace kavrin {

struct PixelPoint {
    int x = 0, y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

using PixelPolygon = std::vector<PixelPoint>;

}  // namespace kavrin
