#include "text/NumberText.h"

#include "text/Errors.h"
#include "text/FifteenDigits.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string_view>

namespace kavrin {

namespace {

// The first `count` (2 to 800) significant digits of |value| as std::to_chars
// rounds them, written at `digits`; returns the decimal exponent. Callers ask
// for more digits than they keep and round those themselves.
// Inlined like the other helpers of the grid value texts, so that the fixed
// digit counts of that pattern turn their copies into fixed moves: the grid
// values are the hot path of a run.
[[gnu::always_inline]] inline int scientificDigits(double magnitude, int count, char* digits)
{
    // std::to_chars writes "d.ddd…e±x…": the first digit, the point, the others, the exponent.
    char text[900];
    const char* end = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, count - 1).ptr;
    const char* point = text + 1;
    const char* others = point + 1;
    const char* e = others + (count - 1);
    digits[0] = text[0];
    std::copy(others, e, digits + 1);
    const bool negative = e[1] == '-';
    int exponent = 0;
    for (const char* p = e + 2; p != end; ++p) exponent = exponent * 10 + (*p - '0');
    return negative ? -exponent : exponent;
}

// Adds one unit in the last place of the digits [first, last). When all were
// 9 they become 100…0 and the result is true: the caller moves the exponent
// or the point.
bool incrementDigits(char* first, char* last)
{
    for (char* p = last; p != first;) {
        --p;
        if (*p != '9') {
            ++*p;
            return false;
        }
        *p = '0';
    }
    *first = '1';
    return true;
}

// Whether the exact value of `magnitude` lies at or above the half of the
// digit after the first `kept` significant digits (fixed: after `decimals`
// decimals); reading the exact expansion settles halves away from zero.
bool exactExpansionRoundsUp(double magnitude, std::size_t kept, bool fixed, int decimals)
{
    if (fixed) {
        static thread_local char text[1500];
        const char* end = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::fixed, 1074).ptr;
        const char* point = std::find(static_cast<const char*>(text), end, '.');
        return point[1 + decimals] >= '5';
    }
    // 40 digits settle it unless they read exactly 5000…; then all 800 do.
    std::string exact(kept + 40, '0');
    scientificDigits(magnitude, static_cast<int>(kept) + 40, exact.data());
    if (exact[kept] != '5' || exact.find_first_not_of('0', kept + 1) != std::string::npos) return exact[kept] >= '5';
    exact.resize(800);
    scientificDigits(magnitude, 800, exact.data());
    return exact[kept] >= '5';
}

// Whether the first `kept` digits round up, halves away from zero, given the
// expansion `longer` to two more digits. Those two settle it unless they read
// "50", which may come from 49.5…; then the exact expansion decides.
[[gnu::always_inline]] inline bool roundsUp(const char* longer, std::size_t kept, double magnitude, bool fixed, int decimals)
{
    if (longer[kept] != '5' || longer[kept + 1] != '0') return longer[kept] >= '5';
    return exactExpansionRoundsUp(magnitude, kept, fixed, decimals);
}

// The first `kept` significant digits of magnitude > 0, halves away from zero,
// written at `digits` (room for kept + 2); returns the decimal exponent.
[[gnu::always_inline]] inline int roundedDigits(double magnitude, int kept, char* digits)
{
    int exponent = scientificDigits(magnitude, kept + 2, digits);
    if (roundsUp(digits, static_cast<std::size_t>(kept), magnitude, false, 0) && incrementDigits(digits, digits + kept))
        ++exponent;
    return exponent;
}

// "-d,ddd…": the sign when negative, the first digit, and the separator before
// the others (none for a single digit).
[[gnu::always_inline]] inline char* writeMantissa(char* out, bool negative, const char* digits, std::size_t count, char separator)
{
    if (negative) *out++ = '-';
    *out++ = digits[0];
    if (count > 1) {
        *out++ = separator;
        out = std::copy(digits + 1, digits + count, out);
    }
    return out;
}

// "E", the exponent's sign always, and at least `minimumDigits` digits.
[[gnu::always_inline]] inline char* writeExponent(char* out, int exponent, int minimumDigits)
{
    *out++ = 'E';
    *out++ = exponent < 0 ? '-' : '+';
    int magnitude = std::abs(exponent);
    int length = 1;
    for (int rest = magnitude / 10; rest != 0; rest /= 10) ++length;
    length = std::max(length, minimumDigits);
    for (int i = length - 1; i >= 0; --i, magnitude /= 10) out[i] = static_cast<char>('0' + magnitude % 10);
    return out + length;
}

std::string mantissaText(const DecimalDigits& d, char separator)
{
    std::string text(d.digits.size() + 2, '\0');
    text.resize(static_cast<std::size_t>(writeMantissa(text.data(), d.negative, d.digits.data(), d.digits.size(), separator) -
                                         text.data()));
    return text;
}

bool allZero(const std::string& digits)
{
    return digits.find_first_not_of('0') == std::string::npos;
}

std::string nonFiniteText(double value)
{
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

}  // namespace

DecimalDigits RoundSignificant(double value, int significant)
{
    DecimalDigits result;
    if (value == 0 || !std::isfinite(value)) {
        result.digits.assign(static_cast<std::size_t>(significant), '0');
        return result;
    }
    result.negative = value < 0;
    result.digits.assign(static_cast<std::size_t>(significant) + 2, '0');
    result.exponent = roundedDigits(std::fabs(value), significant, result.digits.data());
    result.digits.resize(static_cast<std::size_t>(significant));
    return result;
}

std::string RoundTripText(double value, char separator)
{
    if (!std::isfinite(value)) return nonFiniteText(value);
    char text[64];
    std::string result(text, std::to_chars(text, text + sizeof text, value).ptr);
    for (char& c : result) {
        if (c == 'e') c = 'E';
        if (c == '.') c = separator;
    }
    return result;
}

std::string FormatGeneral(double value, char separator)
{
    if (!std::isfinite(value)) return nonFiniteText(value);
    if (value == 0) return "0";
    DecimalDigits d = RoundSignificant(value, 15);
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    const int e = d.exponent;
    if (e < -4 || e > 14) {
        std::string text = mantissaText(d, separator);
        text.push_back('E');
        text += std::to_string(e);
        return text;
    }
    std::string text;
    if (d.negative) text.push_back('-');
    const int count = static_cast<int>(d.digits.size());
    if (e < 0) {
        text += '0';
        text += separator;
        text.append(static_cast<std::size_t>(-e - 1), '0');
        text += d.digits;
    } else if (count <= e + 1) {
        text += d.digits;
        text.append(static_cast<std::size_t>(e + 1 - count), '0');
    } else {
        text.append(d.digits, 0, static_cast<std::size_t>(e + 1));
        text += separator;
        text.append(d.digits, static_cast<std::size_t>(e + 1));
    }
    return text;
}

std::string FormatScientific(double value, int fractionDigits, int exponentDigits, char separator)
{
    if (!std::isfinite(value)) return nonFiniteText(value);
    DecimalDigits d = RoundSignificant(value, fractionDigits + 1);
    if (allZero(d.digits)) d.negative = false;
    std::string text = mantissaText(d, separator);
    const std::size_t mantissaLength = text.size();
    text.resize(mantissaLength + static_cast<std::size_t>(std::max(exponentDigits, 0)) + 14);
    text.resize(static_cast<std::size_t>(writeExponent(text.data() + mantissaLength, d.exponent, exponentDigits) - text.data()));
    return text;
}

std::string FormatFixed(double value, int decimals, char separator)
{
    if (!std::isfinite(value)) return nonFiniteText(value);
    const double magnitude = std::fabs(value);
    char buffer[400];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed, decimals + 2);
    if (ec != std::errc()) return FormatGeneral(value, separator);
    std::string longer(buffer, end);
    longer.erase(std::remove(longer.begin(), longer.end(), '.'), longer.end());
    const std::size_t kept = longer.size() - 2;
    std::string digits = longer.substr(0, kept);
    // 9.99996 to four decimals carries into a new integer digit: 10.0000.
    if (roundsUp(longer.data(), kept, magnitude, true, decimals) && incrementDigits(digits.data(), digits.data() + kept))
        digits.push_back('0');
    const std::size_t intDigits = digits.size() - static_cast<std::size_t>(decimals);
    std::string text;
    if (value < 0 && !allZero(digits)) text.push_back('-');
    text.append(digits, 0, intDigits);
    if (decimals > 0) {
        text.push_back(separator);
        text.append(digits, intDigits);
    }
    return text;
}

// Two decimal digits of n < 100 at `out`.
[[gnu::always_inline]] inline void writePair(char* out, unsigned n)
{
    out[0] = static_cast<char>('0' + n / 10);
    out[1] = static_cast<char>('0' + n % 10);
}

// The eight decimal digits of n < 10^8 at `out`, found for all eight at once
// in the bytes of one 64-bit word: n splits into two halves of four digits in
// its 32-bit lanes, each into two pairs in 16-bit lanes, each into two digits
// in 8-bit lanes (the divisions by 100 and by 10 as multiplications that are
// exact in these ranges), the first digit in the lowest byte.
[[gnu::always_inline]] inline void writeEight(char* out, std::uint32_t n)
{
    static_assert(std::endian::native == std::endian::little, "the lowest byte is written first");
    const std::uint64_t halves = (n / 10000) | (static_cast<std::uint64_t>(n % 10000) << 32);
    const std::uint64_t hundreds = ((halves * 10486) >> 20) & 0x0000007F0000007FULL;
    const std::uint64_t pairs = ((halves - 100 * hundreds) << 16) + hundreds;
    const std::uint64_t tens = ((pairs * 103) >> 10) & 0x000F000F000F000FULL;
    const std::uint64_t digits = tens + ((pairs - 10 * tens) << 8);
    const std::uint64_t text = digits + 0x3030303030303030ULL;
    std::memcpy(out, &text, sizeof text);
}

char* WriteGridValue(char* out, double value, char separator)
{
    if (!std::isfinite(value)) {
        const std::string text = nonFiniteText(value);
        return std::copy(text.begin(), text.end(), out);
    }
    constexpr int kDigits = 15;
    FifteenDigits rounded;
    if (value == 0 || !TryFifteenDigits(std::fabs(value), rounded)) {
        char digits[kDigits + 2];
        int exponent = 0;
        if (value == 0)
            std::fill_n(digits, kDigits, '0');
        else
            exponent = roundedDigits(std::fabs(value), kDigits, digits);
        out = writeMantissa(out, value < 0, digits, kDigits, separator);
        return writeExponent(out, exponent, 4);
    }
    if (value < 0) *out++ = '-';
    // d,dddddd dddddddd: the first digit, the separator, then 6 and 8 digits.
    constexpr std::uint64_t kFourteen = 100000000000000ULL;
    const std::uint64_t others = rounded.digits % kFourteen;
    // The six digits after the separator as eight with two leading zeros,
    // whose places the first digit and the separator then take.
    writeEight(out, static_cast<std::uint32_t>(others / 100000000));
    out[0] = static_cast<char>('0' + rounded.digits / kFourteen);
    out[1] = separator;
    writeEight(out + 8, static_cast<std::uint32_t>(others % 100000000));
    out[16] = 'E';
    out[17] = rounded.exponent < 0 ? '-' : '+';
    const auto exponent = static_cast<unsigned>(std::abs(rounded.exponent));
    writePair(out + 18, exponent / 100);
    writePair(out + 20, exponent % 100);
    return out + 22;
}

std::string FormatGridValue(double value, char separator)
{
    char text[kGridValueMaxLength];
    return std::string(text, WriteGridValue(text, value, separator));
}

double ParseFloat(const std::string& text, char separator)
{
    return ParseFloatView(text, separator);
}

double ParseFloatView(std::string_view text, char separator)
{
    // A number with a point and no blanks or '+' around it (every value of
    // a results file written with a point) converts where it lies: what
    // std::from_chars reads whole from a leading digit, point or '-' before
    // one of those is exactly what the rules below accept.
    if (separator == '.' && !text.empty()) {
        const char* first = text.data();
        const char* last = first + text.size();
        const char* lead = first + (*first == '-' ? 1 : 0);
        if (lead != last && ((*lead >= '0' && *lead <= '9') || *lead == '.')) {
            double value = 0;
            if (const auto [stop, error] = std::from_chars(first, last, value); error == std::errc() && stop == last)
                return value;
        }
    }
    const std::size_t begin = text.find_first_not_of(' ');
    const std::size_t end = text.find_last_not_of(' ');
    if (begin == std::string_view::npos) throw ConversionError::floatValue(std::string(text));
    // The number with a point, on the stack when it is of usual length: a
    // results file's 200 000 values each pass here.
    char small[64];
    std::string large;
    char* plain = small;
    if (end - begin + 1 > sizeof small) {
        large.resize(end - begin + 1);
        plain = large.data();
    }
    std::size_t length = 0, i = begin;
    auto digitsAt = [&](std::size_t& pos) {
        std::size_t start = pos;
        while (pos <= end && text[pos] >= '0' && text[pos] <= '9') plain[length++] = text[pos++];
        return pos - start;
    };
    if (text[i] == '+' || text[i] == '-') plain[length++] = text[i++];
    std::size_t mantissaDigits = digitsAt(i);
    if (i <= end && text[i] == separator) {
        plain[length++] = '.';
        ++i;
        mantissaDigits += digitsAt(i);
    }
    if (mantissaDigits == 0) throw ConversionError::floatValue(std::string(text));
    if (i <= end && (text[i] == 'e' || text[i] == 'E')) {
        plain[length++] = 'e';
        ++i;
        if (i <= end && (text[i] == '+' || text[i] == '-')) plain[length++] = text[i++];
        if (digitsAt(i) == 0) throw ConversionError::floatValue(std::string(text));
    }
    if (i != end + 1) throw ConversionError::floatValue(std::string(text));

    // Both conversions round correctly; the C library's stays for what the
    // quick one refuses (a leading '+', a value out of range: infinity or underflow).
    double value = 0;
    if (const auto [stop, error] = std::from_chars(plain, plain + length, value); error == std::errc() && stop == plain + length)
        return value;
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
    errno = 0;
    value = strtod_l(std::string(plain, length).c_str(), nullptr, cLocale);
    if (errno == ERANGE && std::isinf(value)) throw ConversionError::floatValue(std::string(text));
    return value;
}

int ParseInteger(const std::string& text)
{
    std::size_t begin = text.find_first_not_of(' ');
    std::size_t end = text.find_last_not_of(' ');
    if (begin == std::string::npos) throw ConversionError::integerValue(text);
    const char* first = text.data() + begin;
    const char* last = text.data() + end + 1;
    if (*first == '+') {
        ++first;
        if (first == last || *first < '0' || *first > '9') throw ConversionError::integerValue(text);
    }
    int value = 0;
    auto [ptr, ec] = std::from_chars(first, last, value, 10);
    if (ec != std::errc() || ptr != last) throw ConversionError::integerValue(text);
    return value;
}

}  // namespace kavrin
