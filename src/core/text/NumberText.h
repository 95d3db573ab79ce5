// Number texts: the general format, the fixed patterns and the strict,
// separator-aware conversion from text. Every rounding to fewer digits is
// decided by the exact binary value of the double, and an exact half rounds
// away from zero (0.0625 to three decimals gives 0.063, -0.0625 gives -0.063).
#pragma once

#include <string>
#include <string_view>

namespace kavrin {

// A value rounded to a number of significant digits, halves away from zero:
// value = ±d.ddd × 10^exponent.
struct DecimalDigits {
    bool negative = false;
    std::string digits;  // exactly the number asked for; all '0' for zero
    int exponent = 0;
};

DecimalDigits RoundSignificant(double value, int significant);

// Shortest text of up to 15 significant digits: fixed notation for
// 0.0001 <= |x| < 1E15, otherwise "5E-5" / "1E15"; 0 gives "0".
std::string FormatGeneral(double value, char separator);

// The shortest text that reads back as the same double ("0.0123", "1.5E-07"),
// with `separator`: a value the user is given to keep, such as a fitted one.
std::string RoundTripText(double value, char separator);

// Pattern "0.0…0E+0…0": one digit, `fractionDigits` after the separator,
// the exponent's sign always and at least `exponentDigits` exponent digits.
std::string FormatScientific(double value, int fractionDigits, int exponentDigits, char separator);

// Pattern "0.0…0" with `decimals` digits after the separator.
std::string FormatFixed(double value, int decimals, char separator);

// The grid value text of a time file: pattern "0.00000000000000E+0000".
std::string FormatGridValue(double value, char separator);

// The same text written at `out` without any allocation (at most
// kGridValueMaxLength characters); returns the end. Equal character for
// character to FormatScientific(value, 14, 4, separator).
constexpr int kGridValueMaxLength = 24;
char* WriteGridValue(char* out, double value, char separator);

// Blanks around, an optional sign, digits with `separator`, an optional
// exponent; anything else throws ConversionError (floating point message).
double ParseFloat(const std::string& text, char separator);
// The same for a part of a longer text (a value of a results file's line).
double ParseFloatView(std::string_view text, char separator);

// A decimal integer (32 bits) with optional sign and blanks around;
// anything else throws ConversionError (integer message).
int ParseInteger(const std::string& text);

}  // namespace kavrin
