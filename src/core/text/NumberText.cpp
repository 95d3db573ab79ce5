#include "text/NumberText.h"

#include "text/Errors.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string_view>

namespace kavrin {

namespace {

// Digits of |value| in scientific form with `count` significant digits,
// correctly rounded (ties to even); returns the decimal exponent.
int scientificDigits(double magnitude, int count, std::string& digits)
{
    static thread_local char buffer[900];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                   std::chars_format::scientific, count - 1);
    (void)ec;
    digits.clear();
    const char* p = buffer;
    for (; p != end && *p != 'e'; ++p)
        if (*p != '.') digits.push_back(*p);
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+'), end, exponent);
    return exponent;
}

// Adds one unit in the last place of a digit string; true when it carried out.
bool incrementDigits(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
    digits.pop_back();
    return true;
}

// Whether the exact value lies at or above the half of the next digit, given
// its expansion rounded to two more digits than kept.
bool roundsUp(const std::string& longer, std::size_t kept, double magnitude, bool fixed, int decimals)
{
    if (longer[kept] != '5' || longer[kept + 1] != '0') return longer[kept] >= '5';
    // "50" may come from 49.5…; look at the exact expansion.
    std::string exact;
    if (fixed) {
        static thread_local char buffer[1500];
        auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                       std::chars_format::fixed, 1074);
        (void)ec;
        for (const char* p = buffer; p != end; ++p)
            if (*p != '.') exact.push_back(*p);
        std::size_t intDigits = std::string_view(buffer, end - buffer).find('.');
        std::size_t position = intDigits + static_cast<std::size_t>(decimals);
        return exact[position] >= '5';
    }
    // 40 digits settle it unless they read exactly 5000…; then all 800 do.
    scientificDigits(magnitude, static_cast<int>(kept) + 40, exact);
    if (exact.find_first_not_of('0', kept + 1) != std::string::npos || exact[kept] != '5') return exact[kept] >= '5';
    scientificDigits(magnitude, 800, exact);
    return exact[kept] >= '5';
}

std::string mantissaText(const DecimalDigits& d, char separator)
{
    std::string text;
    if (d.negative) text.push_back('-');
    text.push_back(d.digits[0]);
    if (d.digits.size() > 1) {
        text.push_back(separator);
        text.append(d.digits, 1);
    }
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
    const double magnitude = std::fabs(value);
    result.negative = value < 0;
    std::string longer;
    result.exponent = scientificDigits(magnitude, significant + 2, longer);
    result.digits = longer.substr(0, static_cast<std::size_t>(significant));
    if (roundsUp(longer, static_cast<std::size_t>(significant), magnitude, false, 0)
        && incrementDigits(result.digits))
        ++result.exponent;
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
    text.push_back('E');
    text.push_back(d.exponent < 0 ? '-' : '+');
    std::string exponent = std::to_string(std::abs(d.exponent));
    if (static_cast<int>(exponent.size()) < exponentDigits)
        text.append(static_cast<std::size_t>(exponentDigits) - exponent.size(), '0');
    text += exponent;
    return text;
}

std::string FormatFixed(double value, int decimals, char separator)
{
    if (!std::isfinite(value)) return nonFiniteText(value);
    const double magnitude = std::fabs(value);
    char buffer[400];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                   std::chars_format::fixed, decimals + 2);
    if (ec != std::errc()) return FormatGeneral(value, separator);
    std::string longer;
    for (const char* p = buffer; p != end; ++p)
        if (*p != '.') longer.push_back(*p);
    const std::size_t kept = longer.size() - 2;
    std::string digits = longer.substr(0, kept);
    if (roundsUp(longer, kept, magnitude, true, decimals) && incrementDigits(digits))
        digits.insert(digits.begin(), '1');
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

char* WriteGridValue(char* out, double value, char separator)
{
    if (value == 0) {
        static constexpr char kZero[] = "0.00000000000000E+0000";
        out = std::copy(kZero, kZero + sizeof kZero - 1, out);
        out[-21] = separator;
        return out;
    }
    if (!std::isfinite(value)) {
        const std::string text = nonFiniteText(value);
        return std::copy(text.begin(), text.end(), out);
    }
    // 17 significant digits, correctly rounded ("d.dddddddddddddddde±x…"); the
    // 15-digit rounding of them is exact unless they end in "50", where the
    // exact expansion decides.
    char buffer[32];
    const char* end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 16).ptr;
    char digits[17];
    digits[0] = buffer[0];
    std::copy(buffer + 2, buffer + 18, digits + 1);
    int exponent = 0;
    for (const char* p = buffer + 20; p < end; ++p) exponent = exponent * 10 + (*p - '0');
    if (buffer[19] == '-') exponent = -exponent;
    bool up = digits[15] >= '5';
    if (digits[15] == '5' && digits[16] == '0') {
        const DecimalDigits exact = RoundSignificant(value, 15);
        std::copy(exact.digits.begin(), exact.digits.end(), digits);
        exponent = exact.exponent;
        up = false;
    }
    if (up) {
        int k = 14;
        while (k >= 0 && digits[k] == '9') digits[k--] = '0';
        if (k >= 0) {
            ++digits[k];
        } else {
            digits[0] = '1';
            ++exponent;
        }
    }
    if (value < 0) *out++ = '-';
    *out++ = digits[0];
    *out++ = separator;
    out = std::copy(digits + 1, digits + 15, out);
    *out++ = 'E';
    *out++ = exponent < 0 ? '-' : '+';
    const int absolute = std::abs(exponent);
    out[0] = static_cast<char>('0' + absolute / 1000);
    out[1] = static_cast<char>('0' + absolute / 100 % 10);
    out[2] = static_cast<char>('0' + absolute / 10 % 10);
    out[3] = static_cast<char>('0' + absolute % 10);
    return out + 4;
}

std::string FormatGridValue(double value, char separator)
{
    char text[kGridValueMaxLength];
    return std::string(text, WriteGridValue(text, value, separator));
}

double ParseFloat(const std::string& text, char separator)
{
    std::size_t begin = text.find_first_not_of(' ');
    std::size_t end = text.find_last_not_of(' ');
    if (begin == std::string::npos) throw ConversionError::floatValue(text);
    std::string plain;
    std::size_t i = begin;
    auto digitsAt = [&](std::size_t& pos) {
        std::size_t start = pos;
        while (pos <= end && text[pos] >= '0' && text[pos] <= '9') plain.push_back(text[pos++]);
        return pos - start;
    };
    if (text[i] == '+' || text[i] == '-') plain.push_back(text[i++]);
    std::size_t mantissaDigits = digitsAt(i);
    if (i <= end && text[i] == separator) {
        plain.push_back('.');
        ++i;
        mantissaDigits += digitsAt(i);
    }
    if (mantissaDigits == 0) throw ConversionError::floatValue(text);
    if (i <= end && (text[i] == 'e' || text[i] == 'E')) {
        plain.push_back('e');
        ++i;
        if (i <= end && (text[i] == '+' || text[i] == '-')) plain.push_back(text[i++]);
        if (digitsAt(i) == 0) throw ConversionError::floatValue(text);
    }
    if (i != end + 1) throw ConversionError::floatValue(text);

    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
    errno = 0;
    const double value = strtod_l(plain.c_str(), nullptr, cLocale);
    if (errno == ERANGE && std::isinf(value)) throw ConversionError::floatValue(text);
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
