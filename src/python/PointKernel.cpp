#include "PointKernel.h"

#include "solution/ExpErfcCoefficients.h"
#include "solution/VectorExp.h"

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>

namespace kavrin {

namespace {

// The kernel's exp reduces by ln 2 / 16: a table a permute can look up.
const Exp2Table<16> kPointExpTable = MakeExp2Table<16>();

// The widest group of nodes any instruction set here takes.
constexpr std::size_t kMostLanes = 8;

#pragma GCC push_options
#pragma GCC target("avx2,fma")
namespace avx2 {
constexpr std::size_t W = 4;
typedef double V __attribute__((vector_size(32)));
typedef long long M __attribute__((vector_size(32)));
typedef unsigned long long U __attribute__((vector_size(32)));
inline V fused(V a, V b, V c)
{
    return _mm256_fmadd_pd(a, b, c);
}
inline V lookup16(const double* table, U index)
{
    return _mm256_i64gather_pd(table, __builtin_bit_cast(__m256i, index), 8);
}
inline bool all(M m)
{
    return _mm256_movemask_pd(__builtin_bit_cast(__m256d, m)) == 0xF;
}
inline bool any(M m)
{
    return _mm256_movemask_pd(__builtin_bit_cast(__m256d, m)) != 0;
}
#include "PointKernelLanes.inc"
}  // namespace avx2
#pragma GCC pop_options

#pragma GCC push_options
#pragma GCC target("avx512f,avx512dq,avx512vl,fma")
namespace avx512 {
constexpr std::size_t W = 8;
typedef double V __attribute__((vector_size(64)));
typedef long long M __attribute__((vector_size(64)));
typedef unsigned long long U __attribute__((vector_size(64)));
inline V fused(V a, V b, V c)
{
    return _mm512_fmadd_pd(a, b, c);
}
inline V lookup16(const double* table, U index)
{
    return _mm512_permutex2var_pd(_mm512_load_pd(table), __builtin_bit_cast(__m512i, index), _mm512_load_pd(table + 8));
}
inline bool all(M m)
{
    return _mm512_movepi64_mask(__builtin_bit_cast(__m512i, m)) == 0xFF;
}
inline bool any(M m)
{
    return _mm512_movepi64_mask(__builtin_bit_cast(__m512i, m)) != 0;
}
#include "PointKernelLanes.inc"
}  // namespace avx512
#pragma GCC pop_options

// The vectorised form's erfc of one value (SharedPointFactors' erfcOfNodes),
// for a processor without the kernel's units.
double portableErfc(double y)
{
    const double a = std::fabs(y);
    const double s = y * y;
    auto horner = [](const auto& c, double v) {
        double sum = c[c.size() - 1];
        for (std::size_t k = c.size() - 1; k-- > 0;) sum = sum * v + c[k];
        return sum;
    };
    if (y == 0) return 1.0;
    if (a <= 0.46875) {
        const double erfA = a * horner(kNumeratorSmall, s) / horner(kDenominatorSmall, s);
        return 1.0 * (1 - (y < 0 ? -erfA : erfA));
    }
    const double exponent = VectorExp(0 - s);
    double r;
    if (a <= 4) {
        r = exponent * horner(kNumeratorMiddle, a) / horner(kDenominatorMiddle, a);
    } else {
        const double z = 1 / s;
        const double q = kOneOverSqrtPi - z * horner(kNumeratorLarge, z) / horner(kDenominatorLarge, z);
        r = exponent * q / a;
    }
    return y > 0 ? r : 2 * 1.0 - r;
}

// The lanes this processor's kernel takes: 8 (AVX-512), 4 (AVX2 with FMA) or 0.
int supportedLanes()
{
    __builtin_cpu_init();
    const bool four = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    if (four && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl"))
        return 8;
    return four ? 4 : 0;
}

const int kSupportedLanes = supportedLanes();
std::atomic<int> lanesInUse{kSupportedLanes};
std::atomic<std::size_t> skippedNodes{0}, countedNodes{0};

}  // namespace

bool PointKernelAvailable()
{
    return PointKernelLanes() > 0;
}

int PointKernelLanes()
{
    return lanesInUse.load(std::memory_order_relaxed);
}

int SetPointKernelLanes(int lanes)
{
    const int used = lanes >= 8 && kSupportedLanes >= 8 ? 8 : (lanes >= 4 && kSupportedLanes >= 4 ? 4 : 0);
    lanesInUse.store(used, std::memory_order_relaxed);
    return used;
}

void CountPointKernelNodes(std::size_t skipped, std::size_t total)
{
    skippedNodes += skipped;
    countedNodes += total;
}

std::pair<std::size_t, std::size_t> ReadPointKernelNodeCounts()
{
    return {skippedNodes.exchange(0), countedNodes.exchange(0)};
}

namespace {

// Where the kernel keeps node i: the even-numbered nodes first, then the odd
// ones, each half padded to whole groups. The quadrature table lists each
// positive node beside its negative, so each half runs through the times in
// one direction: a group's nodes are neighbours in time, most of a point's
// groups are wholly zero or wholly in one erfc range, and taking the halves'
// lanes in turn still sums in the nodes' own order.
struct NodeLayout {
    std::size_t half, size;
    explicit NodeLayout(std::size_t n) : half(((n + 1) / 2 + kMostLanes - 1) / kMostLanes * kMostLanes), size(2 * half) {}
    std::size_t position(std::size_t i) const { return i % 2 == 0 ? i / 2 : half + i / 2; }
};

template <class Kernel>
void resizeWork(Kernel& out, const NodeLayout& layout)
{
    out.size = layout.size;
    out.half = layout.half;
    out.exponent.assign(layout.size, 0.0);
    out.terms.assign(layout.size, 0.0);
    out.neededGroups.assign(layout.size, 0);
    out.neededFlags.assign(layout.size, 0);
}

}  // namespace

void PreparePointKernel(const TimeNodes& nodes, const ModelState& m, PointKernelNodes& out)
{
    const std::size_t n = nodes.size();
    const NodeLayout layout(n);
    resizeWork(out, layout);
    out.zKnown = false;
    out.lastZ = __builtin_nan("");
    // Padding nodes: an exponent of −∞ (exponential 0), unit scales, no weight.
    for (auto* v : {&out.scale, &out.inverseScale, &out.yScale, &out.inverseYScale, &out.zScale, &out.inverseZScale,
                    &out.sigmaCube, &out.inverseSigmaCube})
        v->assign(layout.size, 1.0);
    for (auto* v : {&out.velocityTau, &out.weight, &out.zFactor, &out.logBound}) v->assign(layout.size, 0.0);
    out.logBoundAnyZ.assign(layout.size, -__builtin_inf());
    out.decayTau.assign(layout.size, __builtin_inf());
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t p = layout.position(i);
        out.velocityTau[p] = m.Velocity * nodes.tau[i];
        out.scale[p] = 4 * m.DispX * nodes.tau[i];
        out.inverseScale[p] = 1 / out.scale[p];
        out.decayTau[p] = m.Decay * nodes.tau[i];
        out.yScale[p] = nodes.yScale[i];
        out.inverseYScale[p] = 1 / nodes.yScale[i];
        out.zScale[p] = nodes.zScale[i];
        out.inverseZScale[p] = 1 / nodes.zScale[i];
        out.weight[p] = nodes.weight[i];
        out.sigmaCube[p] = nodes.sigmaCube[i];
        out.inverseSigmaCube[p] = 1 / nodes.sigmaCube[i];
        out.logBoundAnyZ[p] = std::log(4 * nodes.weight[i] / nodes.sigmaCube[i]);
    }
}

void PreparePointKernelModel(const ModelState& m, const QuadratureState& quadrature, PointKernelModel& out)
{
    const std::size_t n = static_cast<std::size_t>(std::max(quadrature.GaussN, 0));
    const NodeLayout layout(n);
    resizeWork(out, layout);
    // Padding nodes: σ = 0, so an exponent of −∞, and no weight.
    out.nodePlusOne.assign(layout.size, 0.0);
    out.weight.assign(layout.size, 0.0);
    out.logBound.assign(layout.size, -__builtin_inf());
    out.smallestNode = __builtin_inf();
    out.largestNode = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t p = layout.position(i);
        out.nodePlusOne[p] = quadrature.GaussNodes[i + 1] + 1;
        out.weight[p] = quadrature.GaussWeights[i + 1];
        out.logBound[p] = std::log(4 * out.weight[p]) - 3 * std::log(out.nodePlusOne[p] / 2);
        out.smallestNode = std::min(out.smallestNode, out.nodePlusOne[p]);
        out.largestNode = std::max(out.largestNode, out.nodePlusOne[p]);
    }
    out.velocity = m.Velocity;
    out.fourDispX = 4 * m.DispX;
    out.decay = m.Decay;
    out.sqrtDispY = std::sqrt(m.DispY);
    out.sqrtDispZ = std::sqrt(m.DispZ);
}

bool PointKernelTimeUsable(const PointKernelModel& m, double t)
{
    const double b = std::pow(t, 0.25);
    auto usable = [](double v) { return v > 0 && v < __builtin_inf(); };
    for (double node : {m.smallestNode, m.largestNode}) {
        const double sigma = node * b / 2, sigma2 = sigma * sigma, tau = sigma2 * sigma2;
        if (!usable(tau) || !usable(sigma * sigma2) || !usable(2 * sigma2 * m.sqrtDispY) || !usable(2 * sigma2 * m.sqrtDispZ) ||
            !usable(m.fourDispX * tau))
            return false;
    }
    return m.size > 0;
}

double PointKernelSumAtTime(PointKernelModel& model, double x, double y, double z, double t, double yLow, double yHigh,
                            double zLow, double zHigh, std::size_t& skipped)
{
    if (PointKernelLanes() == 8) return avx512::pointSumAtTime(model, x, y, z, t, yLow, yHigh, zLow, zHigh, skipped);
    return avx2::pointSumAtTime(model, x, y, z, t, yLow, yHigh, zLow, zHigh, skipped);
}

double PointKernelSum(PointKernelNodes& nodes, double x, double y, double z, double yLow, double yHigh, double zLow, double zHigh,
                      std::size_t& skipped)
{
    if (PointKernelLanes() == 8) return avx512::pointSum(nodes, x, y, z, yLow, yHigh, zLow, zHigh, skipped);
    return avx2::pointSum(nodes, x, y, z, yLow, yHigh, zLow, zHigh, skipped);
}

namespace {

// group(a, b, out) on whole groups of `lanes` values, the last one padded
// with zeros, so every value is the kernel's.
template <std::size_t lanes, class Group>
void inGroups(const double* a, const double* b, std::size_t count, double* out, Group group)
{
    std::size_t i = 0;
    for (; i + lanes <= count; i += lanes) group(a + i, b + i, out + i);
    if (i == count) return;
    double first[lanes] = {}, second[lanes] = {}, values[lanes];
    std::copy(a + i, a + count, first);
    std::copy(b + i, b + count, second);
    group(first, second, values);
    std::copy(values, values + (count - i), out + i);
}

// The same on the groups of the lanes in use; false without the kernel.
template <class Wide, class Narrow>
bool onKernel(const double* a, const double* b, std::size_t count, double* out, Wide wide, Narrow narrow)
{
    const int lanes = PointKernelLanes();
    if (lanes == 8)
        inGroups<avx512::W>(a, b, count, out, wide);
    else if (lanes == 4)
        inGroups<avx2::W>(a, b, count, out, narrow);
    return lanes > 0;
}

}  // namespace

void PointKernelErfcDifferences(const double* a, const double* b, std::size_t count, bool portable, double* out)
{
    if (!portable && onKernel(a, b, count, out, avx512::erfcDifferences, avx2::erfcDifferences)) return;
    for (std::size_t i = 0; i < count; ++i) out[i] = portableErfc(a[i]) - portableErfc(b[i]);
}

void PointKernelExps(const double* x, std::size_t count, bool portable, double* out)
{
    auto wide = [](const double* v, const double*, double* o) { avx512::expGroup(v, o); };
    auto narrow = [](const double* v, const double*, double* o) { avx2::expGroup(v, o); };
    if (!portable && onKernel(x, x, count, out, wide, narrow)) return;
    for (std::size_t i = 0; i < count; ++i) out[i] = VectorExp(x[i]);
}

}  // namespace kavrin
