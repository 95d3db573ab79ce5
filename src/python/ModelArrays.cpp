#include "ModelArrays.h"

#include "SharedPointFactors.h"
#include "model/RunChecks.h"
#include "solution/FieldKernel.h"
#include "solution/Parallel.h"
#include "solution/Solution.h"
#include "solution/SourceSuperposition.h"
#include "text/Errors.h"
#include "text/FifteenDigits.h"
#include "text/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace kavrin {

std::pair<int, int> FieldShape(const PythonModel& model)
{
    if (const auto refusal = CheckGrid(model.model)) throw CheckError(EnglishRefusalText(*refusal));
    return {std::max(0, model.model.NY + 1), std::max(0, model.model.NX + 1)};
}

namespace {

// digits · 10^power through an 80-bit product, into `out` when the product
// lies so far from every halfway point between two doubles that rounding it
// rounds the exact number the same way: the power's 80-bit value (read
// correctly rounded) and the product are each within half a unit of 2^-64, so
// the product is within 2 units in its last place of the exact one, and a
// halfway point shows as the 11 bits below a double's last one reading 1 then
// zeros. False elsewhere (and for results below the normal doubles).
bool ExtendedProduct(std::uint64_t digits, int power, double& out)
{
#if defined(__x86_64__) && !defined(__APPLE__)
    static_assert(std::numeric_limits<long double>::digits == 64);
    constexpr int kLowest = -340, kHighest = 310;
    static const std::vector<long double> tens = [] {
        std::vector<long double> powers;
        for (int k = kLowest; k <= kHighest; ++k) powers.push_back(std::strtold(("1e" + std::to_string(k)).c_str(), nullptr));
        return powers;
    }();
    if (power < kLowest || power > kHighest) return false;
    const long double product = static_cast<long double>(digits) * tens[static_cast<std::size_t>(power - kLowest)];
    if (!(product >= static_cast<long double>(std::numeric_limits<double>::min()) &&
          product <= static_cast<long double>(std::numeric_limits<double>::max())))
        return false;
    std::uint64_t mantissa = 0;
    std::memcpy(&mantissa, &product, sizeof mantissa);  // the explicit 64-bit significand
    const auto below = static_cast<std::int64_t>(mantissa & 0x7FF);
    if (below >= 0x400 - 4 && below <= 0x400 + 4) return false;
    out = static_cast<double>(product);
    return true;
#else
    (void)digits, (void)power, (void)out;
    return false;
#endif
}

// The time file's text of `value` read back. Where the fifteen digits and
// their power of ten are both exact doubles, their product or quotient,
// rounded once, is what reading the text gives; else an 80-bit product where
// it decides the rounding; otherwise the digits and the power are read as a
// number, the same number the text holds.
double WrittenValue(double value)
{
    constexpr double kTens[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (value == 0) return 0;                 // the text has no sign
    if (!std::isfinite(value)) return value;  // INF, -INF and NAN read back as themselves
    char text[kGridValueMaxLength + 8];
    char* end = nullptr;
    FifteenDigits rounded;
    if (TryFifteenDigits(std::fabs(value), rounded)) {
        const int power = rounded.exponent - 14;
        const double digits = static_cast<double>(rounded.digits);
        if (power >= 0 && power <= 22) return std::copysign(digits * kTens[power], value);
        if (power < 0 && power >= -22) return std::copysign(digits / kTens[-power], value);
        double product = 0;
        if (ExtendedProduct(rounded.digits, power, product)) return std::copysign(product, value);
        char* digitsEnd = std::to_chars(text, text + 16, rounded.digits).ptr;  // fifteen digits
        *digitsEnd = 'e';
        end = std::to_chars(digitsEnd + 1, text + sizeof text, power).ptr;
    } else {
        end = WriteGridValue(text, std::fabs(value), '.');
    }
    double read = 0;
    std::from_chars(text, end, read);
    return std::copysign(read, value);
}

}  // namespace

void ComputeFieldInto(PythonModel& model, double t, bool asWritten, double* out)
{
    const auto [rows, columns] = FieldShape(model);
    const unsigned workers = WorkerCount();
    std::lock_guard lock(model.kept.mutex);
    TimeField& field = model.kept.field;
    ComputeTimeField(t, model.model, model.loadedQuadrature(), workers, field);
    ParallelFor(rows, 8, workers, [&](int begin, int end) {
        const std::size_t first = static_cast<std::size_t>(begin) * columns, last = static_cast<std::size_t>(end) * columns;
        if (!asWritten)
            std::copy(field.values.data() + first, field.values.data() + last, out + first);
        else
            for (std::size_t i = first; i < last; ++i) out[i] = WrittenValue(field.values[i]);
    });
}

void ComputePointsInto(PythonModel& model, const double* x, const double* y, const double* z, const double* t, std::size_t count,
                       bool exact, double* out, const BetweenBlocks& between)
{
    const QuadratureState& quadrature = model.loadedQuadrature();
    const ModelState& m = model.model;
    const SourceSuperposition source(m);
    const unsigned workers = WorkerCount();
    // A block takes a fraction of a second at the highest order, so a stop asked is answered promptly.
    constexpr std::size_t kBlock = 1 << 14;
    constexpr int kGrain = 64;
    auto inBlocks = [&](std::size_t total, const std::function<void(std::size_t begin, std::size_t end)>& work) {
        for (std::size_t first = 0; first < total; first += kBlock) {
            const int size = static_cast<int>(std::min(kBlock, total - first));
            ParallelFor(size, kGrain, workers, [&](int begin, int end) { work(first + begin, first + end); });
            between();
        }
    };
    if (!SharedPointFactorsApply(source, m, quadrature)) {
        inBlocks(count, [&](std::size_t begin, std::size_t end) {
            for (std::size_t i = begin; i < end; ++i) out[i] = PointValue(x[i], y[i], z[i], t[i], source, m, quadrature);
        });
        return;
    }
    const std::vector<std::size_t> order = SharedPointOrder(x, y, z, t, count);
    // The points the shared form leaves (the source plane, t <= 0, x < 0, not finite) by the point formula.
    std::vector<char> shared(count, 0);
    for (std::size_t i : order) shared[i] = 1;
    std::vector<std::size_t> others;
    for (std::size_t i = 0; i < count; ++i)
        if (!shared[i]) others.push_back(i);
    inBlocks(others.size(), [&](std::size_t begin, std::size_t end) {
        for (std::size_t k = begin; k < end; ++k) {
            const std::size_t i = others[k];
            out[i] = PointValue(x[i], y[i], z[i], t[i], source, m, quadrature);
        }
    });
    inBlocks(order.size(), [&](std::size_t begin, std::size_t end) {
        SharedPointValues(x, y, z, t, order.data(), begin, end, source, m, quadrature, exact, out);
    });
}

}  // namespace kavrin
