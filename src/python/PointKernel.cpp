#include "PointKernel.h"

#include "solution/ExpErfcCoefficients.h"
#include "solution/VectorExp.h"

#include <immintrin.h>

#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <cstdlib>

namespace kavrin {

namespace {

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
inline V gather(const double* table, U index)
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
// table[index] for a 64-entry table: four two-register permutes (16 entries
// each) and the index's bits 4 and 5 choosing among them, much cheaper here
// than a gather.
inline V gather(const double* table, U index)
{
    const __m512i i = __builtin_bit_cast(__m512i, index);
    const __m512d q0 = _mm512_permutex2var_pd(_mm512_loadu_pd(table), i, _mm512_loadu_pd(table + 8));
    const __m512d q1 = _mm512_permutex2var_pd(_mm512_loadu_pd(table + 16), i, _mm512_loadu_pd(table + 24));
    const __m512d q2 = _mm512_permutex2var_pd(_mm512_loadu_pd(table + 32), i, _mm512_loadu_pd(table + 40));
    const __m512d q3 = _mm512_permutex2var_pd(_mm512_loadu_pd(table + 48), i, _mm512_loadu_pd(table + 56));
    const __mmask8 bit4 = _mm512_test_epi64_mask(i, _mm512_set1_epi64(16));
    const __mmask8 bit5 = _mm512_test_epi64_mask(i, _mm512_set1_epi64(32));
    return _mm512_mask_blend_pd(bit5, _mm512_mask_blend_pd(bit4, q0, q1), _mm512_mask_blend_pd(bit4, q2, q3));
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

enum class Lanes { None, Four, Eight };

Lanes supportedLanes()
{
    __builtin_cpu_init();
    if (const char* force = std::getenv("TMP_LANES"); force && force[0] == '4') return Lanes::Four;  // TEMPORARY
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq")) return Lanes::Eight;
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")) return Lanes::Four;
    return Lanes::None;
}

const Lanes kLanes = supportedLanes();
std::atomic<bool> enabled{true};

}  // namespace

bool PointKernelAvailable()
{
    return kLanes != Lanes::None && enabled.load(std::memory_order_relaxed);
}

void SetPointKernelEnabled(bool on)
{
    enabled.store(on, std::memory_order_relaxed);
}

void PreparePointKernel(const TimeNodes& nodes, const ModelState& m, PointKernelNodes& out)
{
    const std::size_t n = nodes.size();
    const std::size_t size = (n + kMostLanes - 1) / kMostLanes * kMostLanes;
    out.size = size;
    out.neededGroups.resize(size);
    out.zKnown = false;
    for (auto* v : {&out.velocityTau, &out.scale, &out.inverseScale, &out.decayTau, &out.yScale, &out.inverseYScale, &out.zScale,
                    &out.inverseZScale, &out.weight, &out.sigmaCube, &out.inverseSigmaCube, &out.zFactor, &out.logBound, &out.exponent})
        v->resize(size);
    for (std::size_t i = 0; i < n; ++i) {
        out.velocityTau[i] = m.Velocity * nodes.tau[i];
        out.scale[i] = 4 * m.DispX * nodes.tau[i];
        out.inverseScale[i] = 1 / out.scale[i];
        out.decayTau[i] = m.Decay * nodes.tau[i];
        out.yScale[i] = nodes.yScale[i];
        out.inverseYScale[i] = 1 / nodes.yScale[i];
        out.zScale[i] = nodes.zScale[i];
        out.inverseZScale[i] = 1 / nodes.zScale[i];
        out.weight[i] = nodes.weight[i];
        out.sigmaCube[i] = nodes.sigmaCube[i];
        out.inverseSigmaCube[i] = 1 / nodes.sigmaCube[i];
    }
    // Padding nodes: an exponent of −∞ (exponential 0), unit scales, no weight.
    for (std::size_t i = n; i < size; ++i) {
        out.velocityTau[i] = 0;
        out.decayTau[i] = __builtin_inf();
        out.weight[i] = 0;
        for (auto* v : {&out.scale, &out.inverseScale, &out.yScale, &out.inverseYScale, &out.zScale, &out.inverseZScale,
                        &out.sigmaCube, &out.inverseSigmaCube})
            (*v)[i] = 1;
    }
}

double PointKernelSum(PointKernelNodes& nodes, double x, double y, double z, double yLow, double yHigh, double zLow,
                      double zHigh, std::size_t& skipped)
{
    if (kLanes == Lanes::Eight) return avx512::pointSum(nodes, x, y, z, yLow, yHigh, zLow, zHigh, skipped);
    return avx2::pointSum(nodes, x, y, z, yLow, yHigh, zLow, zHigh, skipped);
}

void PointKernelErfcDifferences(const double* a, const double* b, std::size_t count, bool portable, double* out)
{
    std::size_t i = 0;
    if (!portable && kLanes == Lanes::Eight)
        for (; i + avx512::W <= count; i += avx512::W) avx512::erfcDifferences(a + i, b + i, out + i);
    if (!portable && kLanes != Lanes::None)
        for (; i + avx2::W <= count; i += avx2::W) avx2::erfcDifferences(a + i, b + i, out + i);
    for (; i < count; ++i) out[i] = portableErfc(a[i]) - portableErfc(b[i]);
}

}  // namespace kavrin
