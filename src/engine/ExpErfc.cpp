#include "engine/ExpErfc.h"

#include <cmath>

namespace kavrin {

namespace {

// Coefficients numbered as the ranges below use them (index 0 unused).
constexpr double A[] = {0, 3.16112374387056560E00, 1.13864154151050156E02, 3.77485237685302021E02,
                        3.20937758913846947E03, 1.85777706184603153E-1};
constexpr double B[] = {0, 2.36012909523441209E01, 2.44024637934444173E02, 1.28261652607737228E03,
                        2.84423683343917062E03};
constexpr double C[] = {0, 5.64188496988670089E-1, 8.88314979438837594E00, 6.61191906371416295E01,
                        2.98635138197400131E02, 8.81952221241769090E02, 1.71204761263407058E03,
                        2.05107837782607147E03, 1.23033935479799725E03, 2.15311535474403846E-8};
constexpr double D[] = {0, 1.57449261107098347E01, 1.17693950891312499E02, 5.37181101862009858E02,
                        1.62138957456669019E03, 3.29079923573345963E03, 4.36261909014324716E03,
                        3.43936767414372164E03, 1.23033935480374942E03};
constexpr double P[] = {0, 3.05326634961232344E-1, 3.60344899949804439E-1, 1.25781726111229246E-1,
                        1.60837851487422766E-2, 6.58749161529837803E-4, 1.63153871373020978E-2};
constexpr double Q[] = {0, 2.56852019228982242E00, 1.87295284992346047E00, 5.27905102951428412E-1,
                        6.05183413124413191E-2, 2.33520497626869185E-3};

constexpr double kOneOverSqrtPi = 0.56418958354775628695;

}  // namespace

double ExpErfc(double X, double Y)
{
    if (Y == 0) return std::exp(X);
    const double a = std::fabs(Y);
    if (a <= 0.46875) {
        const double s = Y * Y;
        const double erfA = a * (A[4] + A[3] * s + A[2] * std::pow(s, 2) + A[1] * std::pow(s, 3) + A[5] * std::pow(s, 4))
                          / (B[4] + B[3] * s + B[2] * std::pow(s, 2) + B[1] * std::pow(s, 3) + std::pow(s, 4));
        const double erfY = Y < 0 ? -erfA : erfA;
        return std::exp(X) * (1 - erfY);
    }
    double r;
    if (a <= 4) {
        r = std::exp(X - Y * Y)
          * (C[8] + C[7] * a + C[6] * std::pow(a, 2) + C[5] * std::pow(a, 3) + C[4] * std::pow(a, 4)
             + C[3] * std::pow(a, 5) + C[2] * std::pow(a, 6) + C[1] * std::pow(a, 7) + C[9] * std::pow(a, 8))
          / (D[8] + D[7] * a + D[6] * std::pow(a, 2) + D[5] * std::pow(a, 3) + D[4] * std::pow(a, 4)
             + D[3] * std::pow(a, 5) + D[2] * std::pow(a, 6) + D[1] * std::pow(a, 7) + std::pow(a, 8));
    } else {
        const double z = 1 / (Y * Y);
        const double q = kOneOverSqrtPi
                       - z * (P[5] + P[4] * z + P[3] * std::pow(z, 2) + P[2] * std::pow(z, 3) + P[1] * std::pow(z, 4)
                              + P[6] * std::pow(z, 5))
                           / (Q[5] + Q[4] * z + Q[3] * std::pow(z, 2) + Q[2] * std::pow(z, 3) + Q[1] * std::pow(z, 4)
                              + std::pow(z, 5));
        r = std::exp(X - Y * Y) * q / a;
    }
    return Y > 0 ? r : 2 * std::exp(X) - r;
}

}  // namespace kavrin
