#include "SharedPointFactors.h"

#include "solution/ExpErfc.h"
#include "solution/Solution.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>

namespace kavrin {

namespace {

bool positiveFinite(double v)
{
    return v > 0 && std::isfinite(v);
}

// A time whose nodes the shared form's divisions would meet at zero (a time
// so small that σ⁴ underflows) is left to the point formula, which reports it.
bool nodesUsable(const TimeNodes& nodes, const ModelState& m)
{
    for (std::size_t i = 0; i < nodes.size(); ++i)
        if (!positiveFinite(nodes.tau[i]) || !positiveFinite(nodes.sigmaCube[i]) || !positiveFinite(nodes.yScale[i]) ||
            !positiveFinite(nodes.zScale[i]) || !positiveFinite(4 * m.DispX * nodes.tau[i]))
            return false;
    return true;
}

// The erfc difference of one node, as the point formula takes it for the plain source.
double edgeDifference(double low, double high, double at, double scale)
{
    return ExpErfc(0, (low - at) / scale) - ExpErfc(0, (high - at) / scale);
}

// The transverse factors of one coordinate, node by node as they are first
// needed; NaN marks a node not yet computed (a computed factor is finite).
class TransverseFactors {
public:
    TransverseFactors(double low, double high, const std::vector<double>& scale)
        : low_(low), high_(high), scale_(scale), factors_(scale.size())
    {
    }
    void at(double coordinate)
    {
        if (known_ && coordinate == coordinate_) return;
        coordinate_ = coordinate;
        known_ = true;
        std::fill(factors_.begin(), factors_.end(), std::numeric_limits<double>::quiet_NaN());
    }
    double operator[](std::size_t i)
    {
        double& factor = factors_[i];
        if (std::isnan(factor)) factor = edgeDifference(low_, high_, coordinate_, scale_[i]);
        return factor;
    }

private:
    double low_, high_;
    const std::vector<double>& scale_;
    std::vector<double> factors_;
    double coordinate_ = 0;
    bool known_ = false;
};

// The point formula's sum and scaling for x > 0; a term whose exponential (or
// exponential times y factor) is zero adds exactly nothing and is left out.
double integral(double XX, const TimeNodes& nodes, const ModelState& m, TransverseFactors& y, TransverseFactors& z)
{
    double sum = 0;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const double A = XX - m.Velocity * nodes.tau[i];
        const double mExp = -A * A / (4 * m.DispX * nodes.tau[i]) - m.Decay * nodes.tau[i];
        const double e = ExpOrZero(mExp);
        if (e == 0) continue;
        const double ey = e * y[i];
        if (ey == 0) continue;
        sum = sum + ey * z[i] * nodes.weight[i] / nodes.sigmaCube[i];
    }
    const double denominator = 2 * std::sqrt(std::numbers::pi * m.DispX);
    return XX * (sum * nodes.b / 2) / denominator;
}

}  // namespace

bool SharedPointFactorsApply(const SourceSuperposition& source, const ModelState& m, const QuadratureState& quadrature)
{
    if (!source.plain || !source.singleShift() || source.decayRate != 0 || source.zones.size() != 1) return false;
    const ZoneTerm& zone = source.zones.front();
    return quadrature.GaussN > 0 && positiveFinite(m.DispX) && positiveFinite(m.DispY) && positiveFinite(m.DispZ) &&
           std::isfinite(m.Velocity) && std::isfinite(m.Decay) && std::isfinite(zone.YMin) && std::isfinite(zone.YMax) &&
           std::isfinite(zone.ZMin) && std::isfinite(zone.ZMax) && std::isfinite(zone.concentration);
}

std::vector<std::size_t> SharedPointOrder(const double* x, const double* y, const double* z, const double* t, std::size_t count)
{
    std::vector<std::size_t> order;
    order.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        if (x[i] > 0 && t[i] > 0 && std::isfinite(x[i]) && std::isfinite(y[i]) && std::isfinite(z[i]) && std::isfinite(t[i]))
            order.push_back(i);
    // One time for all (a scalar t broadcast) needs no sorting.
    const bool oneTime = std::all_of(order.begin(), order.end(), [&](std::size_t i) { return t[i] == t[order.front()]; });
    if (!oneTime) std::stable_sort(order.begin(), order.end(), [t](std::size_t a, std::size_t b) { return t[a] < t[b]; });
    return order;
}

void SharedPointValues(const double* x, const double* y, const double* z, const double* t, const std::size_t* order,
                       std::size_t begin, std::size_t end, const SourceSuperposition& source, const ModelState& m,
                       const QuadratureState& quadrature, double* out)
{
    const ZoneTerm& zone = source.zones.front();
    const double shiftWeight = source.shifts.front().weight;
    auto pointFormula = [&](std::size_t i) { return PointValue(x[i], y[i], z[i], t[i], source, m, quadrature); };
    for (std::size_t k = begin; k < end;) {
        const double T = t[order[k]];
        std::size_t runEnd = k + 1;
        while (runEnd < end && t[order[runEnd]] == T) ++runEnd;
        const TimeNodes nodes(T, quadrature.GaussN, m, quadrature);
        if (!nodesUsable(nodes, m)) {
            for (; k < runEnd; ++k) out[order[k]] = pointFormula(order[k]);
            continue;
        }
        TransverseFactors yFactors(zone.YMin, zone.YMax, nodes.yScale), zFactors(zone.ZMin, zone.ZMax, nodes.zScale);
        for (; k < runEnd; ++k) {
            const std::size_t i = order[k];
            yFactors.at(y[i]);
            zFactors.at(z[i]);
            // As the source's sum of switched-on fields adds them: 0 + weight · (0 + concentration · C/C0).
            double switchedOn = 0;
            switchedOn += zone.concentration * integral(x[i], nodes, m, yFactors, zFactors);
            double value = 0;
            value += shiftWeight * switchedOn;
            out[i] = std::isfinite(value) ? value : pointFormula(i);
        }
    }
}

}  // namespace kavrin
