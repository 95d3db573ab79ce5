#include "calibration/StudentT.h"

#include <cmath>
#include <limits>

namespace kavrin {

namespace {

// The continued fraction of the regularised incomplete beta function
// (modified Lentz), converging quickly for x < (a + 1) / (a + b + 2).
double betaFraction(double a, double b, double x)
{
    const double tiny = 1e-300;
    double c = 1, d = 1 - (a + b) * x / (a + 1);
    if (std::fabs(d) < tiny) d = tiny;
    d = 1 / d;
    double h = d;
    for (int m = 1; m <= 10000; ++m) {
        const double m2 = 2.0 * m;
        double aa = m * (b - m) * x / ((a + m2 - 1) * (a + m2));
        d = 1 + aa * d;
        if (std::fabs(d) < tiny) d = tiny;
        c = 1 + aa / c;
        if (std::fabs(c) < tiny) c = tiny;
        d = 1 / d;
        h *= d * c;
        aa = -(a + m) * (a + b + m) * x / ((a + m2) * (a + m2 + 1));
        d = 1 + aa * d;
        if (std::fabs(d) < tiny) d = tiny;
        c = 1 + aa / c;
        if (std::fabs(c) < tiny) c = tiny;
        d = 1 / d;
        const double step = d * c;
        h *= step;
        if (std::fabs(step - 1) < 1e-16) break;
    }
    return h;
}

// I_x(a, b).
double regularisedBeta(double a, double b, double x)
{
    if (x <= 0) return 0;
    if (x >= 1) return 1;
    const double front = std::exp(std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) + a * std::log(x) + b * std::log1p(-x));
    if (x < (a + 1) / (a + b + 2)) return front * betaFraction(a, b, x) / a;
    return 1 - front * betaFraction(b, a, 1 - x) / b;
}

}  // namespace

double StudentTDistribution(double t, double degrees)
{
    const double tail = 0.5 * regularisedBeta(degrees / 2, 0.5, degrees / (degrees + t * t));
    return t >= 0 ? 1 - tail : tail;
}

double StudentTQuantile(double probability, double degrees)
{
    if (probability == 0.5) return 0;
    // The distribution is monotone: bisection on a bracket that doubles until it holds the quantile.
    double low = 0, high = 1;
    const double target = probability > 0.5 ? probability : 1 - probability;
    while (StudentTDistribution(high, degrees) < target) high *= 2;
    for (int i = 0; i < 200 && high - low > 1e-13 * high; ++i) {
        const double middle = (low + high) / 2;
        if (StudentTDistribution(middle, degrees) < target)
            low = middle;
        else
            high = middle;
    }
    const double t = (low + high) / 2;
    return probability > 0.5 ? t : -t;
}

}  // namespace kavrin
