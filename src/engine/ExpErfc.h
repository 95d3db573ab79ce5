// exp(x)·erfc(y) without overflow or underflow of the separate factors.
#pragma once

namespace kavrin {

// Cody's rational Chebyshev approximations (thresholds 0.46875 and 4); in the
// two outer ranges the exponent x and −y² share one exponential.
double ExpErfc(double X, double Y);

}  // namespace kavrin
