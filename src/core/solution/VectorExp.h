// exp(x) to within one unit in the last place of the C library's wherever
// that is a normal double, in plain arithmetic the vectoriser takes (the
// library's exp is a call per value): x = (k/64)·ln 2 + r with ln 2 in two
// parts (k·high exact for every k reached), exp(r) - 1 for |r| <= ln 2 / 128
// by its series to the 6th power, 2^(j/64) for j = k mod 64 from a table held
// to twice the double precision, and 2^(k div 64) built in the exponent bits,
// so that one past the largest double overflows to infinity. A result below the normal doubles (x < ln 2^-1022) is 0: a
// subnormal product costs the processor a hundred ordinary ones, and a term
// of the point formula that small (below 2.3e-308) changes no value by a
// measurable amount. Above 710 infinity; NaN gives NaN.
#pragma once

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace kavrin {

// ln 2^-1022, rounded so that exp of it is still a normal double.
constexpr double kLowestNormalExpArgument = -708.3964185322641;

// 2^(j/N) for j in [0, N) as the nearest double and what it leaves out.
template <int N>
struct Exp2Table {
    alignas(64) double high[N];
    alignas(64) double low[N];
};

template <int N>
Exp2Table<N> MakeExp2Table()
{
    Exp2Table<N> table{};
    for (int j = 0; j < N; ++j) {
        const long double exact = std::exp2l(static_cast<long double>(j) / N);
        table.high[j] = static_cast<double>(exact);
        table.low[j] = static_cast<double>(exact - table.high[j]);
    }
    return table;
}

inline const Exp2Table<64> kExpTable = MakeExp2Table<64>();

inline double VectorExp(double x)
{
    constexpr double kSixtyFourOverLn2 = 0x1.71547652b82fep6;
    constexpr double kLn2High = 0x1.62e42feep-7;  // ln 2 / 64 to 32 significant bits: k · kLn2High is exact for |k| < 2^21
    constexpr double kLn2Low = 0x1.a39ef35793c76p-39;
    constexpr double kRound = 0x1.8p52;  // adding it rounds to an integer held in the low bits
    // The lanes answered 0 compute at -708, where nothing is subnormal; NaN
    // fails every comparison and stays NaN through every step.
    const bool belowNormals = x < kLowestNormalExpArgument;
    const bool positive = x > 0;
    const double a = belowNormals ? -708.0 : (x > 710.0 ? 710.0 : x);
    const double shifted = a * kSixtyFourOverLn2 + kRound;
    const double k = shifted - kRound;
    const double r = (a - k * kLn2High) - k * kLn2Low;  // |r| <= ln 2 / 128
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(shifted);
    const std::uint64_t j = bits & 63;
    double p = 1.0 / 720.0;
    p = p * r + 1.0 / 120.0;
    p = p * r + 1.0 / 24.0;
    p = p * r + 1.0 / 6.0;
    p = p * r + 0.5;
    p = r + (r * r) * p;  // exp(r) - 1, the rest below 1e-19
    const double high = kExpTable.high[j];
    const double value = high + (high * p + kExpTable.low[j]);
    // 2^(k div 64) from the exponent bits; for a positive argument one less,
    // doubled after, so that 2^1024 is never needed where the result is finite.
    const std::uint64_t exponent = (bits >> 6) + 1023 - (positive ? 1 : 0);
    const double scaled = value * std::bit_cast<double>(exponent << 52) * (positive ? 2.0 : 1.0);
    return belowNormals ? 0.0 : scaled;
}

// out[i] = VectorExp(arguments[i]) for i in [begin, end).
inline void VectorExps(const double* arguments, std::size_t begin, std::size_t end, double* out)
{
    for (std::size_t i = begin; i < end; ++i) out[i] = VectorExp(arguments[i]);
}

}  // namespace kavrin
