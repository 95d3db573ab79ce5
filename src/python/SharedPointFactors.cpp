#include "SharedPointFactors.h"

#include "PointKernel.h"

#include "solution/ExpErfc.h"
#include "solution/ExpErfcCoefficients.h"
#include "solution/Solution.h"
#include "solution/VectorExp.h"

#include <algorithm>
#include <array>
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

template <std::size_t N>
inline double horner(const std::array<double, N>& c, double v)
{
    double sum = c[N - 1];
    for (std::size_t k = N - 1; k-- > 0;) sum = sum * v + c[k];
    return sum;
}

// exp of each argument in [begin, end) into out: the library's, one call per
// value, where the point formula's own value is asked for; otherwise the
// vectorised one, within a unit in the last place of it.
__attribute__((target_clones("avx2", "default"))) void exponentials(const double* arguments, std::size_t begin, std::size_t end,
                                                                    bool exact, double* out)
{
    if (exact)
        for (std::size_t i = begin; i < end; ++i) out[i] = ExpOrZero(arguments[i]);
    else
        VectorExps(arguments, begin, end, out);
}

// ExpErfc(0, Y) of each node in [begin, end) into out: the same operations as
// the scalar function, every range's rational evaluated in every lane without
// branches (so the loops go to the vector unit) and the one that applies kept.
__attribute__((target_clones("avx2", "default"))) void erfcOfNodes(const double* Y, std::size_t begin, std::size_t end,
                                                                   bool exact, double* exponent, double* out)
{
    for (std::size_t i = begin; i < end; ++i) out[i] = 0 - Y[i] * Y[i];
    exponentials(out, begin, end, exact, exponent);
    for (std::size_t i = begin; i < end; ++i) exponent[i] = std::fabs(Y[i]) <= 0.46875 ? 1.0 : exponent[i];
    for (std::size_t i = begin; i < end; ++i) {
        const double y = Y[i];
        const double a = std::fabs(y);
        const double s = y * y;
        const double erfA = a * horner(kNumeratorSmall, s) / horner(kDenominatorSmall, s);
        const double small = 1.0 * (1 - (y < 0 ? -erfA : erfA));
        const double middle = exponent[i] * horner(kNumeratorMiddle, a) / horner(kDenominatorMiddle, a);
        const double z = 1 / s;
        const double q = kOneOverSqrtPi - z * horner(kNumeratorLarge, z) / horner(kDenominatorLarge, z);
        const double large = exponent[i] * q / a;
        const double r = a <= 4 ? middle : large;
        const double outer = y > 0 ? r : 2 * 1.0 - r;
        out[i] = y == 0 ? 1.0 : a <= 0.46875 ? small : outer;
    }
}

__attribute__((target_clones("avx2", "default"))) void edgeArguments(double edge, double at, const double* scale,
                                                                     std::size_t begin, std::size_t end, double* out)
{
    for (std::size_t i = begin; i < end; ++i) out[i] = (edge - at) / scale[i];
}

__attribute__((target_clones("avx2", "default"))) void differences(const double* a, const double* b, std::size_t begin,
                                                                   std::size_t end, double* out)
{
    for (std::size_t i = begin; i < end; ++i) out[i] = a[i] - b[i];
}

// The transverse factors of one coordinate at the nodes [begin, end) it was
// last asked for, kept while the coordinate stays the same.
class TransverseFactors {
public:
    TransverseFactors(double low, double high, std::size_t n, bool exact)
        : low_(low), high_(high), exact_(exact), factors_(n), lowY_(n), highY_(n), lowE_(n), highE_(n), exponent_(n)
    {
    }
    // A new time: its nodes' scales, nothing known yet.
    void startTime(const std::vector<double>& scale)
    {
        scale_ = scale.data();
        known_ = false;
    }
    // The factors at `coordinate` for at least the nodes [begin, end).
    const double* at(double coordinate, std::size_t begin, std::size_t end)
    {
        if (known_ && coordinate == coordinate_ && begin >= begin_ && end <= end_) return factors_.data();
        if (known_ && coordinate == coordinate_) {
            begin = std::min(begin, begin_);
            end = std::max(end, end_);
        }
        coordinate_ = coordinate;
        known_ = true;
        begin_ = begin;
        end_ = end;
        edgeArguments(low_, coordinate, scale_, begin, end, lowY_.data());
        edgeArguments(high_, coordinate, scale_, begin, end, highY_.data());
        erfcOfNodes(lowY_.data(), begin, end, exact_, exponent_.data(), lowE_.data());
        erfcOfNodes(highY_.data(), begin, end, exact_, exponent_.data(), highE_.data());
        differences(lowE_.data(), highE_.data(), begin, end, factors_.data());
        return factors_.data();
    }

private:
    double low_, high_;
    bool exact_;
    const double* scale_ = nullptr;
    std::vector<double> factors_, lowY_, highY_, lowE_, highE_, exponent_;
    double coordinate_ = 0;
    bool known_ = false;
    std::size_t begin_ = 0, end_ = 0;
};

// Per node of one time, what every point's exponent needs: 4·DispX·τ.
struct PointScratch {
    explicit PointScratch(std::size_t n) : exponent(n), terms(n), longitudinalScale(n) {}
    std::vector<double> exponent, terms, longitudinalScale;
};

__attribute__((target_clones("avx2", "default"))) void
longitudinalExponents(double XX, double VX, double decay, const double* tau, const double* scale, std::size_t n, double* out)
{
    for (std::size_t i = 0; i < n; ++i) {
        const double A = XX - VX * tau[i];
        out[i] = -A * A / scale[i] - decay * tau[i];
    }
}

__attribute__((target_clones("avx2", "default"))) void nodeTerms(const double* e, const double* y, const double* z,
                                                                 const double* weight, const double* sigmaCube, std::size_t begin,
                                                                 std::size_t end, double* out)
{
    for (std::size_t i = begin; i < end; ++i) {
        const double ey = e[i] * y[i];
        out[i] = e[i] == 0 ? 0.0 : ey * z[i] * weight[i] / sigmaCube[i];
    }
}

// The point formula's sum and scaling for x > 0. The exponentials first, then
// the transverse factors only over the nodes where one is not zero (outside,
// each term is exactly zero and adds nothing), then the terms, summed in the
// nodes' order.
double integral(double XX, const TimeNodes& nodes, const ModelState& m, TransverseFactors& y, double YY, TransverseFactors& z,
                double ZZ, bool exact, PointScratch& scratch)
{
    const std::size_t n = nodes.size();
    double* e = scratch.exponent.data();
    longitudinalExponents(XX, m.Velocity, m.Decay, nodes.tau.data(), scratch.longitudinalScale.data(), n, scratch.terms.data());
    exponentials(scratch.terms.data(), 0, n, exact, e);
    std::size_t begin = n, end = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (e[i] != 0) {
            begin = std::min(begin, i);
            end = i + 1;
        }
    }
    double sum = 0;
    if (begin < end) {
        const double* yFactors = y.at(YY, begin, end);
        const double* zFactors = z.at(ZZ, begin, end);
        nodeTerms(e, yFactors, zFactors, nodes.weight.data(), nodes.sigmaCube.data(), begin, end, scratch.terms.data());
        for (std::size_t i = begin; i < end; ++i) sum = sum + scratch.terms[i];
    }
    const double denominator = 2 * std::sqrt(std::numbers::pi * m.DispX);
    return XX * (sum * nodes.b / 2) / denominator;
}

// Whether the times of the points in `order` repeat enough to be worth
// grouping, judged on an evenly spread sample: at most half of it different.
bool timesRepeat(const double* t, const std::vector<std::size_t>& order)
{
    // Mostly different times gain nothing from it (each point then
    // computes its own node factors) and would lose the points' memory order.
    constexpr std::size_t kSample = 4096;
    std::vector<double> sample;
    for (std::size_t k = 0; k < order.size() && sample.size() < kSample; k += std::max<std::size_t>(1, order.size() / kSample))
        sample.push_back(t[order[k]]);
    std::sort(sample.begin(), sample.end());
    const std::size_t different = static_cast<std::size_t>(std::unique(sample.begin(), sample.end()) - sample.begin());
    return 2 * different <= sample.size();
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
    if (oneTime || !timesRepeat(t, order)) return order;
    std::stable_sort(order.begin(), order.end(), [t](std::size_t a, std::size_t b) { return t[a] < t[b]; });
    return order;
}

void SharedPointValues(const double* x, const double* y, const double* z, const double* t, const std::size_t* order,
                       std::size_t begin, std::size_t end, const SourceSuperposition& source, const ModelState& m,
                       const QuadratureState& quadrature, bool exact, double* out)
{
    const ZoneTerm& zone = source.zones.front();
    const double shiftWeight = source.shifts.front().weight;
    auto pointFormula = [&](std::size_t i) { return PointValue(x[i], y[i], z[i], t[i], source, m, quadrature); };
    const std::size_t n = static_cast<std::size_t>(quadrature.GaussN);
    TransverseFactors yFactors(zone.YMin, zone.YMax, n, exact), zFactors(zone.ZMin, zone.ZMax, n, exact);
    PointScratch scratch(n);
    const bool fused = !exact && PointKernelAvailable();
    PointKernelNodes kernelNodes;
    PointKernelModel kernelModel;
    if (fused) PreparePointKernelModel(m, quadrature, kernelModel);
    std::size_t skipped = 0, computed = 0;
    const double denominator = 2 * std::sqrt(std::numbers::pi * m.DispX);
    // The point formula's scaling of the kernel's sum, and the point formula
    // itself for a value that leaves the double range.
    auto kernelValue = [&](std::size_t i, double sum, double b) {
        // As the source's sum of switched-on fields adds them: 0 + weight · (0 + concentration · C/C0).
        double switchedOn = 0;
        switchedOn += zone.concentration * (x[i] * (sum * b / 2) / denominator);
        double value = 0;
        value += shiftWeight * switchedOn;
        out[i] = std::isfinite(value) ? value : pointFormula(i);
    };
    // Fewer points than this at one time: each with its own time's factors
    // computed on the way, cheaper than preparing the time's.
    constexpr std::size_t kPreparedTimeFrom = 4;
    for (std::size_t k = begin; k < end;) {
        const double T = t[order[k]];
        std::size_t runEnd = k + 1;
        while (runEnd < end && t[order[runEnd]] == T) ++runEnd;
        if (fused && runEnd - k < kPreparedTimeFrom) {
            const bool usable = PointKernelTimeUsable(kernelModel, T);
            for (; k < runEnd; ++k) {
                const std::size_t i = order[k];
                if (!usable) {
                    out[i] = pointFormula(i);
                    continue;
                }
                const double sum =
                    PointKernelSumAtTime(kernelModel, x[i], y[i], z[i], T, zone.YMin, zone.YMax, zone.ZMin, zone.ZMax, skipped);
                computed += kernelModel.size;
                kernelValue(i, sum, std::pow(T, 0.25));
            }
            continue;
        }
        const TimeNodes nodes(T, quadrature.GaussN, m, quadrature);
        if (!nodesUsable(nodes, m)) {
            for (; k < runEnd; ++k) out[order[k]] = pointFormula(order[k]);
            continue;
        }
        if (fused) {
            PreparePointKernel(nodes, m, kernelNodes);
            for (; k < runEnd; ++k) {
                const std::size_t i = order[k];
                kernelValue(i, PointKernelSum(kernelNodes, x[i], y[i], z[i], zone.YMin, zone.YMax, zone.ZMin, zone.ZMax, skipped),
                            nodes.b);
                computed += kernelNodes.size;
            }
            continue;
        }
        yFactors.startTime(nodes.yScale);
        zFactors.startTime(nodes.zScale);
        for (std::size_t n = 0; n < nodes.size(); ++n) scratch.longitudinalScale[n] = 4 * m.DispX * nodes.tau[n];
        for (; k < runEnd; ++k) {
            const std::size_t i = order[k];
            // As the source's sum of switched-on fields adds them: 0 + weight · (0 + concentration · C/C0).
            double switchedOn = 0;
            switchedOn += zone.concentration * integral(x[i], nodes, m, yFactors, y[i], zFactors, z[i], exact, scratch);
            double value = 0;
            value += shiftWeight * switchedOn;
            out[i] = std::isfinite(value) ? value : pointFormula(i);
        }
    }
    if (fused) CountPointKernelNodes(skipped, computed);
}

}  // namespace kavrin
