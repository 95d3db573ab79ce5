#include "solution/Solution.h"

#include "model/FloatChecks.h"
#include "solution/ExpErfc.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace kavrin {

namespace {

double finiteOrOverflow(double value)
{
    if (!std::isfinite(value)) throw std::isnan(value) ? FloatError::invalidOperation() : FloatError::overflow();
    return value;
}

}  // namespace

namespace {

struct ZoneBounds {
    double YMin, YMax, ZMin, ZMax;
};

ZoneBounds boundsOf(const ModelState& m)
{
    return {m.YMin, m.YMax, m.ZMin, m.ZMax};
}

ZoneBounds boundsOf(const ZoneTerm& zone)
{
    return {zone.YMin, zone.YMax, zone.ZMin, zone.ZMax};
}

double planeValue(double YY, double ZZ, const ZoneBounds& zone)
{
    const bool yEdge = YY == zone.YMin || YY == zone.YMax;
    const bool zEdge = ZZ == zone.ZMin || ZZ == zone.ZMax;
    const bool yInside = zone.YMin < YY && YY < zone.YMax;
    const bool zInside = zone.ZMin < ZZ && ZZ < zone.ZMax;
    double value = 0;
    if (yEdge && zInside) value = 0.5;
    if (yEdge && zEdge) value = 0.25;
    if (zEdge && yInside) value = 0.5;
    if (yInside && zInside) value = 1;
    return value;
}

bool onClosedRectangle(double y, double z, const ZoneBounds& zone)
{
    return zone.YMin <= y && y <= zone.YMax && zone.ZMin <= z && z <= zone.ZMax;
}

// erfc(a) − erfc(b) for the edges a = (low − at)/scale, b = (high − at)/scale.
// `conditioned`: beyond the high edge both are near 2 and the difference
// is taken as erfc(−b) − erfc(−a), equal and without the cancellation.
double edgeDifference(double low, double high, double at, double scale, bool conditioned)
{
    if (conditioned && at > high)
        return finiteOrOverflow(ExpErfc(0, CheckedDivide(at - high, scale))) -
               finiteOrOverflow(ExpErfc(0, CheckedDivide(at - low, scale)));
    return finiteOrOverflow(ExpErfc(0, CheckedDivide(low - at, scale))) -
           finiteOrOverflow(ExpErfc(0, CheckedDivide(high - at, scale)));
}

// The time integral for XX > 0, TT > 0 over one zone; a positive
// `sourceDecay` weighs each node by exp(−sourceDecay·(TT − τ)).
double timeIntegral(double TT, double XX, double YY, double ZZ, double VX, int NMAX, const ModelState& m,
                    const QuadratureState& quadrature, const ZoneBounds& zone, double sourceDecay, bool conditioned)
{
    const TimeNodes nodes(TT, NMAX, m, quadrature, sourceDecay);
    std::vector<double> y(nodes.size()), z(nodes.size());
    nodes.transverse(zone.YMin, zone.YMax, YY, nodes.yScale, conditioned, y.data());
    nodes.transverse(zone.ZMin, zone.ZMax, ZZ, nodes.zScale, conditioned, z.data());
    return nodes.integral(XX, VX, m, y.data(), z.data());
}

}  // namespace

TimeNodes::TimeNodes(double TT, int NMAX, const ModelState& m, const QuadratureState& quadrature, double sourceDecay)
    : b(std::pow(TT, 0.25))
{
    const std::size_t n = static_cast<std::size_t>(std::max(NMAX, 0));
    sigma2.resize(n), tau.resize(n), sigmaCube.resize(n), weight.resize(n), yScale.resize(n), zScale.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double sigma = (quadrature.GaussNodes[i + 1] + 1) * b / 2;
        sigma2[i] = sigma * sigma;
        tau[i] = sigma2[i] * sigma2[i];
        sigmaCube[i] = sigma * sigma2[i];
        yScale[i] = 2 * sigma2[i] * CheckedSqrt(m.DispY);
        zScale[i] = 2 * sigma2[i] * CheckedSqrt(m.DispZ);
        weight[i] = quadrature.GaussWeights[i + 1];
        if (sourceDecay > 0) weight[i] *= std::exp(-sourceDecay * (TT - tau[i]));
    }
}

void TimeNodes::transverse(double low, double high, double at, const std::vector<double>& scale, bool conditioned,
                           double* out) const
{
    for (std::size_t i = 0; i < size(); ++i) out[i] = edgeDifference(low, high, at, scale[i], conditioned);
}

double TimeNodes::integral(double XX, double VX, const ModelState& m, const double* y, const double* z) const
{
    double sum = 0;
    for (std::size_t i = 0; i < size(); ++i) {
        const double A = XX - VX * tau[i];
        const double mExp = CheckedDivide(-A * A, 4 * m.DispX * tau[i]) - m.Decay * tau[i];
        sum = sum + ExpOrZero(mExp) * y[i] * z[i] * weight[i] / sigmaCube[i];
    }
    const double denominator = 2 * CheckedSqrt(std::numbers::pi * m.DispX);
    return finiteOrOverflow(CheckedDivide(XX * (sum * b / 2), denominator));
}

double SourcePlaneValue(double YY, double ZZ, const ModelState& m)
{
    return planeValue(YY, ZZ, boundsOf(m));
}

double CNRMLP(double TT, double XX, double YY, double ZZ, double VX, int NMAX, const ModelState& m,
              const QuadratureState& quadrature)
{
    if (TT <= 0 || XX < 0) return 0;
    if (XX == 0) return SourcePlaneValue(YY, ZZ, m);
    return timeIntegral(TT, XX, YY, ZZ, VX, NMAX, m, quadrature, boundsOf(m), 0, false);
}

double PointConcentration(double x, double y, double z, double t, const ModelState& m, const QuadratureState& quadrature)
{
    if (t != 0) return CNRMLP(t, x, y, z, m.Velocity, quadrature.GaussN, m, quadrature);
    return x == 0 && onClosedRectangle(y, z, boundsOf(m)) ? 1 : 0;
}

double SwitchedOnValue(double T, double x, double y, double z, const SourceSuperposition& source, const ModelState& m,
                       const QuadratureState& quadrature)
{
    if (T <= 0) return 0;
    double value = 0;
    for (const ZoneTerm& zone : source.zones)
        value += zone.concentration * timeIntegral(T, x, y, z, m.Velocity, quadrature.GaussN, m, quadrature, boundsOf(zone),
                                                   source.decayRate, !source.plain);
    return value;
}

double PointValue(double x, double y, double z, double t, const SourceSuperposition& source, const ModelState& m,
                  const QuadratureState& quadrature)
{
    if (t < 0 || x < 0 || (t == 0 && x != 0)) return 0;
    if (x == 0) {
        // The source plane: the boundary rules for t > 0, the closed rectangles at t = 0.
        double value = 0;
        for (const ZoneTerm& zone : source.zones)
            value += zone.concentration *
                     (t == 0 ? (onClosedRectangle(y, z, boundsOf(zone)) ? 1 : 0) : planeValue(y, z, boundsOf(zone)));
        return value * source.strength(t);
    }
    double value = 0;
    for (const TimeShift& shift : source.shifts)
        value += shift.weight * SwitchedOnValue(t - shift.start, x, y, z, source, m, quadrature);
    return value;
}

double PointValue(double x, double y, double z, double t, const ModelState& m, const QuadratureState& quadrature)
{
    if (m.source.isDefault()) return m.C0 * PointConcentration(x, y, z, t, m, quadrature);
    return PointValue(x, y, z, t, SourceSuperposition(m), m, quadrature);
}

}  // namespace kavrin
