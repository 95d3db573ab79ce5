// exp(x)·erfc(y) without overflow or underflow of the separate factors.
#pragma once

namespace kavrin {

// Cody's rational Chebyshev approximations (thresholds 0.46875 and 4); in the
// two outer ranges the exponent x and −y² share one exponential. The
// polynomials are in Horner form and exponents far below the double range
// answered 0 at once (ExpOrZero). The point formula's evaluation.
double ExpErfc(double X, double Y);

// The same approximations with the polynomials summed term by term in
// ascending powers, each power from the real power function: what the point
// formula used before, many times slower; ExpErfc agrees with it within a few
// units in the last place.
double ExpErfcAscendingPowers(double X, double Y);

// The whole-grid kernel's evaluation, the same as ExpErfc.
double ExpErfcHorner(double X, double Y);

// exp(x), with arguments far below the double range answered 0 at once
// (exp itself returns 0 there too, through a slow underflow path).
inline double ExpOrZero(double x);

inline double ExpOrZero(double x)
{
    return x < -746 ? 0.0 : __builtin_exp(x);
}

}  // namespace kavrin
