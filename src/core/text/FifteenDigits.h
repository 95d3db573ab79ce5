// The fifteen significant digits of a double, halves away from zero, by
// 128-bit integer arithmetic: the fast path of the grid value texts. Within a
// hair of an exact half it declines, and the exact expansion decides.
#pragma once

#include <cstdint>

namespace kavrin {

// magnitude = digits / 10^14 × 10^exponent, digits in [10^14, 10^15).
struct FifteenDigits {
    std::uint64_t digits = 0;
    int exponent = 0;
};

// `magnitude` finite and > 0. False when the value lies so close to the half
// between two results that the product cannot tell them apart.
bool TryFifteenDigits(double magnitude, FifteenDigits& result);

}  // namespace kavrin
