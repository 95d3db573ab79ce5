#include "solution/ExpErfc.h"

#include "solution/ExpErfcCoefficients.h"

#include <array>
#include <cmath>

namespace kavrin {

namespace {

struct AscendingPowers {
    template <std::size_t N>
    static double eval(const std::array<double, N>& c, double v)
    {
        double sum = c[0] + c[1] * v;
        for (std::size_t k = 2; k < N; ++k) sum = sum + c[k] * std::pow(v, static_cast<double>(k));
        return sum;
    }
};

struct Horner {
    template <std::size_t N>
    static double eval(const std::array<double, N>& c, double v)
    {
        double sum = c[N - 1];
        for (std::size_t k = N - 1; k-- > 0;) sum = sum * v + c[k];
        return sum;
    }
};

struct LibraryExp {
    static double eval(double x) { return std::exp(x); }
};

struct ClampedExp {
    static double eval(double x) { return ExpOrZero(x); }
};

template <class Polynomial, class Exp>
double expErfc(double X, double Y)
{
    if (Y == 0) return Exp::eval(X);
    const double a = std::fabs(Y);
    if (a <= 0.46875) {
        const double s = Y * Y;
        const double erfA = a * Polynomial::eval(kNumeratorSmall, s) / Polynomial::eval(kDenominatorSmall, s);
        const double erfY = Y < 0 ? -erfA : erfA;
        return Exp::eval(X) * (1 - erfY);
    }
    double r;
    if (a <= 4) {
        r = Exp::eval(X - Y * Y) * Polynomial::eval(kNumeratorMiddle, a) / Polynomial::eval(kDenominatorMiddle, a);
    } else {
        const double z = 1 / (Y * Y);
        const double q = kOneOverSqrtPi - z * Polynomial::eval(kNumeratorLarge, z) / Polynomial::eval(kDenominatorLarge, z);
        r = Exp::eval(X - Y * Y) * q / a;
    }
    return Y > 0 ? r : 2 * Exp::eval(X) - r;
}

}  // namespace

double ExpErfc(double X, double Y)
{
    return expErfc<Horner, ClampedExp>(X, Y);
}

double ExpErfcAscendingPowers(double X, double Y)
{
    return expErfc<AscendingPowers, LibraryExp>(X, Y);
}

double ExpErfcHorner(double X, double Y)
{
    return expErfc<Horner, ClampedExp>(X, Y);
}

}  // namespace kavrin
