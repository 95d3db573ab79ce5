// The map's colours: the rainbow index of a concentration, the colour of an
// index, the 62 concentration levels with their colours and the scale's cells.
#pragma once

#include <array>
#include <cstdint>

namespace kavrin {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

// The colour components of an index before their low eight bits are taken:
// 0 red, 255 yellow, 510 green, 765 cyan, 1020 blue, 1275 magenta, 1530 red.
struct CorRGB {
    std::int64_t CorR = 0, CorG = 0, CorB = 0;
};
CorRGB DefineCorRGB(std::int64_t inc);

// Round((c − a) × 1020 / (b − a)), halves to even: 0 at a, 1020 at b.
// Throws FloatError when a = b. Indices beyond ±2^62 are held there.
std::int64_t IndiceCor(double c, double a, double b);

// The colour of an index, brightened in red and green by `brightening`; each
// component keeps only its low eight bits, so indices outside 0 … 1530 wrap.
Rgb IndexColour(std::int64_t inc, int brightening);

// The three lowest bands are brightened by 212, 141 and 70, the others not.
int Brightening(int band);

// C0 × k / n as the map has always computed it; in extended precision where
// C0 × k overflows (C0 near the largest double), so the fraction stays finite.
double FractionOf(double C0, int k, int n);

inline constexpr int kLevelCount = 62;
// 0.001, the geometric mean of 0.001 and the next level, then C0 × (k − 1) / 60
// for k = 2 … 61, each raised to 0.001 when below it.
std::array<double, kLevelCount> MapLevels(double C0);
// The map's colour of level k. Throws FloatError when C0 = 0.
Rgb LevelColour(const std::array<double, kLevelCount>& levels, int k, double C0);

inline constexpr int kScaleCells = 40;
// The colour of scale cell n (1 at the top … 40 at the bottom): the map's
// colour of C0 × n / 40. Throws FloatError when C0 = 0.
Rgb ScaleCellColour(int n, double C0);

}  // namespace kavrin
