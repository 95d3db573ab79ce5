// Arithmetic that reports the floating-point faults of the model as errors
// instead of producing infinities or NaNs.
#pragma once

#include "text/Errors.h"

#include <cmath>

namespace kavrin {

// a / b; a zero divisor is a division by zero, or an invalid operation for 0/0.
inline double CheckedDivide(double a, double b)
{
    if (b == 0) throw(a == 0 || std::isnan(a)) ? FloatError::invalidOperation() : FloatError::divisionByZero();
    return a / b;
}

// √x; a negative x is an invalid operation.
inline double CheckedSqrt(double x)
{
    if (x < 0) throw FloatError::invalidOperation();
    return std::sqrt(x);
}

}  // namespace kavrin
