#include "contour/PixelPoint.h"

#include "text/Errors.h"

#include <cmath>

namespace kavrin {

int RoundPixel(double v)
{
    // Adding and taking away 1.5 · 2^52 rounds halves to even, as nearbyint
    // does in the default rounding mode, for every |v| below 2^51, without a
    // call: the contouring rounds some hundred million coordinates a map.
    constexpr double kRounder = 6755399441055744.0;
    if (std::fabs(v) < 1e9) return static_cast<int>((v + kRounder) - kRounder);
    const double r = std::nearbyint(v);
    if (std::isnan(r)) throw FloatError::invalidOperation();
    if (!(std::fabs(r) < 1e9)) throw FloatError::overflow();
    return static_cast<int>(r);
}

}  // namespace kavrin
