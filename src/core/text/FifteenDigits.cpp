#include "text/FifteenDigits.h"

#include <array>
#include <bit>

namespace kavrin {

namespace {

using u128 = unsigned __int128;

// 10^p ≈ mantissa × 2^exponent, the mantissa's top bit set, never above the
// true power: each entry is one truncated step (× 10 or ÷ 10) from its
// neighbour towards 10^0, so 345 steps keep it within 2^-118 of it.
struct Power {
    u128 mantissa;
    int exponent;
};

constexpr int kMinPower = -300;
constexpr int kMaxPower = 345;
constexpr std::uint64_t kLowest = 100000000000000ULL;  // 10^14

constexpr Power timesTen(Power p)
{
    const u128 low = static_cast<u128>(static_cast<std::uint64_t>(p.mantissa)) * 10;
    const u128 high = (p.mantissa >> 64) * 10 + (low >> 64);  // 2^66 <= high < 2^68
    const int shift = 64 - std::countl_zero(static_cast<std::uint64_t>(high >> 64));
    return {(high << (64 - shift)) | (static_cast<std::uint64_t>(low) >> shift), p.exponent + shift};
}

constexpr Power dividedByTen(Power p)
{
    const u128 quotient = p.mantissa / 10;
    const u128 remainder = p.mantissa % 10;
    const int shift = std::countl_zero(static_cast<std::uint64_t>(quotient >> 64));
    return {(quotient << shift) + (remainder << shift) / 10, p.exponent - shift};
}

constexpr std::array<Power, kMaxPower - kMinPower + 1> makePowers()
{
    std::array<Power, kMaxPower - kMinPower + 1> powers{};
    const Power one{u128{1} << 127, -127};
    powers[-kMinPower] = one;
    for (int p = 1; p <= kMaxPower; ++p) powers[p - kMinPower] = timesTen(powers[p - 1 - kMinPower]);
    for (int p = -1; p >= kMinPower; --p) powers[p - kMinPower] = dividedByTen(powers[p + 1 - kMinPower]);
    return powers;
}

constexpr auto kPowers = makePowers();

// floor(e × log10 2), exact for |e| <= 2620.
constexpr int floorLog10Pow2(int e)
{
    return (e * 315653) >> 20;
}

// 10^p as a double for p in [-323, 308], each one step (× 10 or ÷ 10) from
// its neighbour: within a few units in the last place, close enough to guess
// the decimal exponent; the scaled digits confirm or correct the guess.
constexpr int kMinTen = -323;
constexpr int kMaxTen = 308;

constexpr std::array<double, kMaxTen - kMinTen + 1> makeTens()
{
    std::array<double, kMaxTen - kMinTen + 1> tens{};
    tens[-kMinTen] = 1;
    for (int p = 1; p <= kMaxTen; ++p) tens[p - kMinTen] = tens[p - 1 - kMinTen] * 10;
    for (int p = -1; p >= kMinTen; --p) tens[p - kMinTen] = tens[p + 1 - kMinTen] / 10;
    return tens;
}

constexpr auto kTens = makeTens();

struct Scaled {
    std::uint64_t integer;
    std::uint64_t fraction;  // the first 64 bits after the point
};

// magnitude × 10^p for magnitude = m × 2^e, m in [2^63, 2^64), when the
// result lies below 2^51; never above the true product, and within 2^-66 of it.
Scaled scale(std::uint64_t m, int e, int p)
{
    const Power& power = kPowers[static_cast<std::size_t>(p - kMinPower)];
    const u128 low = static_cast<u128>(m) * static_cast<std::uint64_t>(power.mantissa);
    const u128 high = static_cast<u128>(m) * static_cast<std::uint64_t>(power.mantissa >> 64) + (low >> 64);
    // The product is high × 2^64 (the last 64 bits dropped) × 2^(e + exponent).
    const int point = -(e + power.exponent) - 64;  // bits of `high` after the point
    return {static_cast<std::uint64_t>(high >> point), static_cast<std::uint64_t>((high << (128 - point)) >> 64)};
}

}  // namespace

bool TryFifteenDigits(double magnitude, FifteenDigits& result)
{
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(magnitude);
    const int biased = static_cast<int>(bits >> 52);
    std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
    int e = -1074;
    if (biased != 0) {
        m |= std::uint64_t{1} << 52;
        e = biased - 1075;
    }
    const int zeros = std::countl_zero(m);
    m <<= zeros;
    e -= zeros;
    // 2^(e+63) <= magnitude < 2^(e+64): the decimal exponent is k or k + 1,
    // k + 1 when magnitude reaches 10^(k+1). A guess off by one (the table's
    // power a unit away) shows in the digits and is scaled once more.
    int k = floorLog10Pow2(e + 63);
    if (magnitude >= kTens[static_cast<std::size_t>(k + 1 - kMinTen)]) ++k;
    Scaled x = scale(m, e, 14 - k);
    if (x.integer >= 10 * kLowest)
        x = scale(m, e, 14 - ++k);
    else if (x.integer < kLowest)
        x = scale(m, e, 14 - --k);
    // The true fraction lies at most 2^-63 above the one computed.
    constexpr std::uint64_t kHalf = std::uint64_t{1} << 63;
    constexpr std::uint64_t kMargin = std::uint64_t{1} << 10;
    if (x.fraction >= kHalf - kMargin && x.fraction <= kHalf + kMargin) return false;
    std::uint64_t digits = x.integer + (x.fraction > kHalf ? 1 : 0);
    if (digits == 10 * kLowest) {
        digits = kLowest;
        ++k;
    }
    if (digits < kLowest) return false;
    result = {digits, k};
    return true;
}

}  // namespace kavrin
