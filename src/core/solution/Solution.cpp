#include "solution/Solution.h"

#include "model/FloatChecks.h"
#include "solution/ExpErfc.h"

#include <cmath>
#include <numbers>

namespace kavrin {

namespace {

double finiteOrOverflow(double value)
{
    if (!std::isfinite(value)) throw std::isnan(value) ? FloatError::invalidOperation() : FloatError::overflow();
    return value;
}

}  // namespace

double SourcePlaneValue(double YY, double ZZ, const ModelState& m)
{
    const bool yEdge = YY == m.YMin || YY == m.YMax;
    const bool zEdge = ZZ == m.ZMin || ZZ == m.ZMax;
    const bool yInside = m.YMin < YY && YY < m.YMax;
    const bool zInside = m.ZMin < ZZ && ZZ < m.ZMax;
    double value = 0;
    if (yEdge && zInside) value = 0.5;
    if (yEdge && zEdge) value = 0.25;
    if (zEdge && yInside) value = 0.5;
    if (yInside && zInside) value = 1;
    return value;
}

double CNRMLP(double TT, double XX, double YY, double ZZ, double VX, int NMAX, const ModelState& m,
              const QuadratureState& quadrature)
{
    if (TT <= 0 || XX < 0) return 0;
    if (XX == 0) return SourcePlaneValue(YY, ZZ, m);

    const double b = std::pow(TT, 0.25);
    double sum = 0;
    for (int i = 1; i <= NMAX; ++i) {
        const double sigma = (quadrature.GaussNodes[static_cast<std::size_t>(i)] + 1) * b / 2;
        const double sigma2 = sigma * sigma;
        const double tau = sigma2 * sigma2;
        const double A = XX - VX * tau;
        const double mExp = CheckedDivide(-A * A, 4 * m.DispX * tau) - m.Decay * tau;
        const double yScale = 2 * sigma2 * CheckedSqrt(m.DispY);
        const double e1 = finiteOrOverflow(ExpErfc(mExp, CheckedDivide(m.YMin - YY, yScale)));
        const double e2 = finiteOrOverflow(ExpErfc(mExp, CheckedDivide(m.YMax - YY, yScale)));
        const double zScale = 2 * sigma2 * CheckedSqrt(m.DispZ);
        const double f1 = ExpErfc(0, CheckedDivide(m.ZMin - ZZ, zScale));
        const double f2 = ExpErfc(0, CheckedDivide(m.ZMax - ZZ, zScale));
        sum = sum + (e1 - e2) * (f1 - f2) * quadrature.GaussWeights[static_cast<std::size_t>(i)] / (sigma * sigma2);
    }
    const double denominator = 2 * CheckedSqrt(std::numbers::pi * m.DispX);
    return finiteOrOverflow(CheckedDivide(XX * (sum * b / 2), denominator));
}

double PointConcentration(double x, double y, double z, double t, const ModelState& m, const QuadratureState& quadrature)
{
    if (t != 0) return CNRMLP(t, x, y, z, m.Velocity, quadrature.GaussN, m, quadrature);
    const bool onSource = x == 0 && m.YMin <= y && y <= m.YMax && m.ZMin <= z && z <= m.ZMax;
    return onSource ? 1 : 0;
}

}  // namespace kavrin
