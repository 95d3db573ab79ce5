#include "map/MapColours.h"

#include "model/FloatChecks.h"

#include <algorithm>
#include <cmath>

namespace kavrin {

double FractionOf(double C0, int k, int n)
{
    const double product = C0 * k;
    if (std::isfinite(product)) return product / n;
    return static_cast<double>(static_cast<long double>(C0) * k / n);
}

CorRGB DefineCorRGB(std::int64_t inc)
{
    if (inc <= 255) return {255, inc, 0};
    if (inc <= 510) return {510 - inc, 255, 0};
    if (inc <= 765) return {0, 255, inc - 510};
    if (inc <= 1020) return {0, 1020 - inc, 255};
    if (inc <= 1275) return {inc - 1020, 0, 255};
    return {255, 0, 1530 - inc};
}

std::int64_t IndiceCor(double c, double a, double b)
{
    constexpr double kLimit = 4611686018427387904.0;  // 2^62
    const double numerator = (c - a) * 1020, range = b - a;
    double index;
    if (std::isfinite(numerator) && std::isfinite(range)) {
        index = std::nearbyint(CheckedDivide(numerator, range));
    } else {
        // Concentrations near the largest double (C0 of 1e306 and more): the
        // same ratio in extended precision, where no finite value overflows.
        if (range == 0) CheckedDivide(numerator, range);
        index = static_cast<double>(std::nearbyint((static_cast<long double>(c) - a) * 1020 / (static_cast<long double>(b) - a)));
    }
    if (std::isnan(index)) throw FloatError::invalidOperation();
    if (index > kLimit) return static_cast<std::int64_t>(kLimit);
    if (index < -kLimit) return -static_cast<std::int64_t>(kLimit);
    return static_cast<std::int64_t>(index);
}

namespace {

std::uint8_t lowByte(std::int64_t value)
{
    return static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) & 0xFF);
}

}  // namespace

Rgb IndexColour(std::int64_t inc, int brightening)
{
    const CorRGB c = DefineCorRGB(inc);
    return {lowByte(c.CorR + brightening), lowByte(c.CorG + brightening), lowByte(c.CorB)};
}

int Brightening(int band)
{
    if (band < 0 || band > 2) return 0;
    return static_cast<int>(std::nearbyint((band + 1) * (-70.9) + 283));
}

std::array<double, kLevelCount> MapLevels(double C0)
{
    std::array<double, kLevelCount> levels{};
    levels[0] = 0.001;
    for (int k = 2; k < kLevelCount; ++k) levels[k] = std::max(FractionOf(C0, k - 1, 60), 0.001);
    levels[1] = std::exp((std::log(levels[0]) + std::log(levels[2])) / 2);
    return levels;
}

Rgb LevelColour(const std::array<double, kLevelCount>& levels, int k, double C0)
{
    return IndexColour(IndiceCor(levels[static_cast<std::size_t>(k)], C0, 0), Brightening(k));
}

Rgb ScaleCellColour(int n, double C0)
{
    return IndexColour(IndiceCor(FractionOf(C0, kScaleCells - n, kScaleCells), 0, C0), Brightening(n - 1));
}

}  // namespace kavrin
