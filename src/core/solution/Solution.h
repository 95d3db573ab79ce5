// The analytical solution: the relative concentration C/C0 at a point and
// time, and the concentration in mg/L with the source's history and zones.
#pragma once

#include "model/ModelState.h"
#include "solution/Quadrature.h"
#include "solution/SourceSuperposition.h"

#include <cstddef>
#include <vector>

namespace kavrin {

// C/C0 at (XX, YY, ZZ) and time TT from the first NMAX quadrature entries:
// 0 for TT <= 0 or XX < 0, the boundary value (1, ½, ¼, 0) on the source
// plane XX = 0, otherwise the time integral. Non-positive dispersion raises
// FloatError, as does a value that leaves the double range.
double CNRMLP(double TT, double XX, double YY, double ZZ, double VX, int NMAX, const ModelState& model,
              const QuadratureState& quadrature);

// The time integral's factors of one time TT > 0 at each of the first NMAX
// quadrature nodes: σ = (node + 1)·TT^¼/2, σ², τ = σ⁴, σ³, the transverse
// scales 2σ²√D, and the weight (times exp(−sourceDecay·(TT − τ)) for a
// decaying source). Points that share a time share these, and those that
// also share a y (or z) share that transverse factor; each point's value is
// then the same, bit for bit, as computed alone. Non-positive dispersion
// raises FloatError.
struct TimeNodes {
    TimeNodes(double TT, int NMAX, const ModelState& model, const QuadratureState& quadrature, double sourceDecay = 0);

    std::size_t size() const { return tau.size(); }
    // erfc((low − at)/scale) − erfc((high − at)/scale) at each node, into
    // out[0 … size); `conditioned` takes it as the mirrored difference beyond
    // the high edge.
    void transverse(double low, double high, double at, const std::vector<double>& scale, bool conditioned, double* out) const;
    // C/C0 at XX > 0 from the transverse factors y and z: the sum of
    // exp(−(XX − VX·τ)²/(4·DispX·τ) − Decay·τ)·y·z·weight/σ³, scaled.
    double integral(double XX, double VX, const ModelState& model, const double* y, const double* z) const;

    double b;  // TT^¼
    std::vector<double> sigma2, tau, sigmaCube, weight, yScale, zScale;
};

// The value on the source plane x = 0 for t > 0.
double SourcePlaneValue(double YY, double ZZ, const ModelState& model);

// C/C0 with the order in effect already loaded; t = 0 is the initial condition
// (1 on the source plane's closed rectangle, 0 elsewhere).
double PointConcentration(double x, double y, double z, double t, const ModelState& model, const QuadratureState& quadrature);

// The concentration in mg/L at (x, y, z) and time t with the source's history
// and zones: the sum over the zones and the history's shifts of the plain
// solution. On the plane x = 0 and at t = 0 each zone keeps the plain rules,
// times g(t). With the default options, C0 · PointConcentration exactly.
double PointValue(double x, double y, double z, double t, const ModelState& model, const QuadratureState& quadrature);
double PointValue(double x, double y, double z, double t, const SourceSuperposition& source, const ModelState& model,
                  const QuadratureState& quadrature);

// For x > 0: the zones' concentrations (mg/L) T days after a constant source
// was switched on, each part of the time integral weighed by the decaying
// history's factor (none for the others). 0 for T <= 0.
double SwitchedOnValue(double T, double x, double y, double z, const SourceSuperposition& source, const ModelState& model,
                       const QuadratureState& quadrature);

}  // namespace kavrin
