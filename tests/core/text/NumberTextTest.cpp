#include "text/NumberText.h"
#include "text/DecimalSeparator.h"
#include "text/Errors.h"
#include "text/Windows1252.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace kavrin;

struct FormatCase {
    double value;
    const char* text;
};

TEST(GeneralFormat, ShortestTextUpToFifteenDigits)
{
    const FormatCase cases[] = {
        {0, "0"},
        {2500, "2500"},
        {0.5, "0,5"},
        {12.25, "12,25"},
        {-30, "-30"},
        {0.0001, "0,0001"},
        {0.00005, "5E-5"},
        {1.5e-7, "1,5E-7"},
        {1e15, "1E15"},
        {999999999999999.0, "999999999999999"},
        {999999999999999.9, "1E15"},
        {0.30000000000000004, "0,3"},
        {0.9999999999999999, "1"},
        {123456789012345678.0, "1,23456789012346E17"},
        {-0.00012345, "-0,00012345"},
        {1.0 / 3.0, "0,333333333333333"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatGeneral(c.value, ','), c.text) << c.value;
    EXPECT_EQ(FormatGeneral(0.5, '.'), "0.5");
    EXPECT_EQ(FormatGeneral(2.5e-9, '.'), "2.5E-9");
}

TEST(FixedPatterns, GridValuesHaveFifteenDigitsAndFourExponentDigits)
{
    const FormatCase cases[] = {
        {0.5, "5,00000000000000E-0001"},
        {12.5, "1,25000000000000E+0001"},
        {0.00012345, "1,23450000000000E-0004"},
        {0, "0,00000000000000E+0000"},
        {-0.0, "0,00000000000000E+0000"},
        {-2.5, "-2,50000000000000E+0000"},
        {1e-300, "1,00000000000000E-0300"},
        {9.999999999999999e22, "1,00000000000000E+0023"},
        // An exact tie at the 16th digit rounds away from zero.
        {1234567890123445.0, "1,23456789012345E+0015"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatGridValue(c.value, ','), c.text) << c.value;
    EXPECT_EQ(FormatGridValue(0.5, '.'), "5.00000000000000E-0001");
}

TEST(FixedPatterns, ShortPatternsRoundHalfAwayFromZero)
{
    EXPECT_EQ(FormatFixed(0.0625, 3, ','), "0,063");
    EXPECT_EQ(FormatFixed(-0.0625, 3, ','), "-0,063");
    EXPECT_EQ(FormatFixed(1.23456, 4, ','), "1,2346");
    EXPECT_EQ(FormatFixed(0.99996, 4, '.'), "1.0000");
    EXPECT_EQ(FormatFixed(-0.00001, 4, '.'), "0.0000");
    EXPECT_EQ(FormatFixed(2, 4, '.'), "2.0000");
    EXPECT_EQ(FormatFixed(123456.5, 0, '.'), "123457");
    EXPECT_EQ(FormatScientific(12345, 3, 2, ','), "1,235E+04");
    EXPECT_EQ(FormatScientific(0.000123, 3, 2, '.'), "1.230E-04");
    EXPECT_EQ(FormatScientific(0, 3, 2, '.'), "0.000E+00");
    EXPECT_EQ(FormatScientific(-9.9996e-100, 3, 2, '.'), "-1.000E-99");
}

TEST(FixedPatterns, RoundingUpNinesCarriesIntoANewDigit)
{
    EXPECT_EQ(FormatFixed(9.99996, 4, ','), "10,0000");
    EXPECT_EQ(FormatFixed(-99.9996, 3, '.'), "-100.000");
    EXPECT_EQ(FormatFixed(999.5, 0, '.'), "1000");
    EXPECT_EQ(FormatScientific(9.99996, 3, 2, '.'), "1.000E+01");
}

TEST(Conversion, AcceptsOnlyBlanksSignDigitsSeparatorAndExponent)
{
    struct Case {
        const char* text;
        double value;
    };
    const Case accepted[] = {
        {"1,5", 1.5},  {" 1,5 ", 1.5},     {"-2", -2},
        {"+2", 2},     {",5", 0.5},        {"5,", 5},
        {"1e3", 1000}, {"1E-0003", 0.001}, {"5,00000000000000E-0001", 0.5},
        {"1E-400", 0}, {"0,1", 0.1},
    };
    for (const auto& c : accepted) EXPECT_EQ(ParseFloat(c.text, ','), c.value) << c.text;

    const char* rejected[] = {"",    " ",   "-",   ",",     "1.5", "1,000,5", "abc",  "1e", "1e+",
                              "1 2", "\t1", "1\t", "1E400", "--1", "0x10",    "1,5x", "e5"};
    for (const char* text : rejected) EXPECT_THROW(ParseFloat(text, ','), ConversionError) << text;
    EXPECT_EQ(ParseFloat("0.5", '.'), 0.5);
    EXPECT_THROW(ParseFloat("0,5", '.'), ConversionError);
}

// Texts with a point convert in place where they can: whatever the text, the
// value (to the bit) or the refusal is the one of the same text with a comma.
TEST(Conversion, APointReadsAsACommaDoes)
{
    const char* texts[] = {"1,5",
                           " 1,5 ",
                           "-2",
                           "+2",
                           ",5",
                           "5,",
                           "-,5",
                           "1e3",
                           "1E-0003",
                           "1E-400",
                           "-1E-400",
                           "4,9E-324",
                           "1E308",
                           "1E309",
                           "1E+0400",
                           "-0",
                           "0012,50",
                           "5,00000000000000E-0001",
                           "4,82145844142771E-0001",
                           "",
                           " ",
                           "-",
                           ",",
                           "1,5,",
                           "abc",
                           "1e",
                           "1e+",
                           "1 2",
                           "\t1",
                           "1\t",
                           "--1",
                           "0x10",
                           "1,5x",
                           "e5",
                           "inf",
                           "-inf",
                           "nan",
                           "infinity",
                           "-nan",
                           "1e5x",
                           ",e5",
                           "-,",
                           "+,5",
                           "1,5 "};
    for (const std::string comma : texts) {
        std::string point = comma;
        for (char& c : point) c = c == ',' ? '.' : c;
        const auto read = [](const std::string& text, char separator) -> std::optional<std::uint64_t> {
            try {
                return std::bit_cast<std::uint64_t>(ParseFloat(text, separator));
            } catch (const ConversionError&) {
                return std::nullopt;
            }
        };
        EXPECT_EQ(read(point, '.'), read(comma, ',')) << comma;
    }
}

TEST(Conversion, MessagesQuoteTheText)
{
    try {
        ParseFloat("abc", '.');
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
    }
    try {
        ParseInteger("abc");
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "''abc'' is not a valid integer value");
    }
}

TEST(Conversion, IntegersAreDecimalAndThirtyTwoBits)
{
    EXPECT_EQ(ParseInteger("60"), 60);
    EXPECT_EQ(ParseInteger(" 10 "), 10);
    EXPECT_EQ(ParseInteger("+7"), 7);
    EXPECT_EQ(ParseInteger("-2147483648"), -2147483647 - 1);
    for (const char* text : {"", "1.5", "2147483648", "1e2", "- 1", "60a", "+-1"})
        EXPECT_THROW(ParseInteger(text), ConversionError) << text;
}

TEST(Conversion, RoundTripsEveryGridValue)
{
    for (double v : {0.1, 1.0 / 3.0, 4.82145844142771e-1, 2.2250738585072014e-308, 1e300}) {
        const double back = ParseFloat(FormatGridValue(v, ','), ',');
        EXPECT_NEAR(back, v, std::fabs(v) * 1e-14);
    }
}

TEST(DecimalSeparator, ArrumaDecimalSwapsOnlyTheSeparator)
{
    EXPECT_EQ(ArrumaDecimal("0.00002", ','), "0,00002");
    EXPECT_EQ(ArrumaDecimal("0,5", '.'), "0.5");
    EXPECT_EQ(ArrumaDecimal("1.000,5", ','), "1,000,5");
    EXPECT_EQ(ArrumaDecimal(" a.b ", ','), " a,b ");
}

TEST(DecimalSeparator, EnvironmentOverridesTheLocale)
{
    ::setenv("KAVRIN_DECIMAL_SEPARATOR", ",", 1);
    EXPECT_EQ(SystemDecimalSeparator(), ',');
    ::setenv("KAVRIN_DECIMAL_SEPARATOR", ".", 1);
    EXPECT_EQ(SystemDecimalSeparator(), '.');
    ::unsetenv("KAVRIN_DECIMAL_SEPARATOR");
}

TEST(Windows1252, ConvertsBothWays)
{
    EXPECT_EQ(Utf8ToWindows1252("Concentração €"), "Concentra\xE7\xE3o \x80");
    EXPECT_EQ(Windows1252ToUtf8("Concentra\xE7\xE3o \x80"), "Concentração €");
    EXPECT_EQ(Utf8ToWindows1252("日本"), "??");
    EXPECT_TRUE(FitsWindows1252("Ação"));
    EXPECT_FALSE(FitsWindows1252("Ω"));
}

// Every byte reads as a character that is written back as that byte: the
// five bytes Windows-1252 leaves undefined are the control characters of the
// same numbers, as Windows reads them, never "?".
TEST(Windows1252, EveryByteComesBackAsItWas)
{
    std::string all;
    for (int byte = 1; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
    EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(all)), all);
    for (const char* undefined : {"\x81", "\x8D", "\x8F", "\x90", "\x9D"}) {
        const std::string read = Windows1252ToUtf8(undefined);
        EXPECT_EQ(read, std::string("\xC2") + undefined) << "U+00" << std::hex << (static_cast<unsigned char>(*undefined) + 0);
        EXPECT_TRUE(FitsWindows1252(read));
        EXPECT_EQ(Utf8ToWindows1252(read), undefined);
    }
}

TEST(FixedPatterns, FastGridWriterEqualsTheGeneralPatternFormatter)
{
    std::mt19937_64 random(20261210);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    std::uniform_int_distribution<int> exponent(-320, 300);
    std::vector<double> values = {
        0.5,   -0.5,   9.999999999999995,       9.9999999999999949,    1234567890123445.0, 1234567890123455.0,
        0.125, 1e-310, 4.9406564584124654e-324, 1.7976931348623157e308};
    for (int i = 0; i < 200000; ++i) values.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
    // Every power of ten a double can hold and its neighbours: where the
    // decimal exponent changes.
    for (int p = -323; p <= 308; ++p) {
        const double power = std::strtod(("1e" + std::to_string(p)).c_str(), nullptr);
        for (double v : {power, std::nextafter(power, 0.0), std::nextafter(power, INFINITY),
                         std::nextafter(std::nextafter(power, 0.0), 0.0)})
            values.push_back(v);
    }
    // Values whose 16th digit is an exact or near tie.
    for (long long n = 1000000000000005; n < 1000000000001000; n += 10) {
        values.push_back(static_cast<double>(n));
        values.push_back(std::nextafter(static_cast<double>(n) / 1e20, 0.0));
    }
    for (double v : values) {
        char text[kGridValueMaxLength];
        ASSERT_EQ(std::string(text, WriteGridValue(text, v, ',')), FormatScientific(v, 14, 4, ',')) << v;
    }
}

TEST(FixedPatterns, FifteenDigitRoundingMatchesTheExactExpansion)
{
    std::mt19937_64 random(7);
    std::uniform_int_distribution<long long> integers(100000000000000LL, 9007199254740991LL);
    for (int i = 0; i < 100000; ++i) {
        const double v = static_cast<double>(integers(random)) * std::pow(2.0, static_cast<int>(random() % 200) - 120);
        char exact[900];
        char* end = std::to_chars(exact, exact + sizeof exact, v, std::chars_format::scientific, 799).ptr;
        std::string digits = std::string(1, exact[0]) + std::string(exact + 2, exact + 16);
        const bool up = exact[16] >= '5';  // half away from zero: a 5 rounds up whatever follows
        int exponent = std::atoi(std::strchr(exact, 'e') + 1);
        if (up) {
            int k = 14;
            while (k >= 0 && digits[static_cast<std::size_t>(k)] == '9') digits[static_cast<std::size_t>(k--)] = '0';
            if (k >= 0)
                ++digits[static_cast<std::size_t>(k)];
            else {
                digits[0] = '1';
                ++exponent;
            }
        }
        (void)end;
        const DecimalDigits rounded = RoundSignificant(v, 15);
        ASSERT_EQ(rounded.digits, digits) << v;
        ASSERT_EQ(rounded.exponent, exponent) << v;
    }
}

// Random bit patterns cover every exponent, subnormals, infinities and NaNs;
// the second set spreads over the concentrations of a plume and its tails.
TEST(FixedPatterns, GridWriterEqualsTheExactFormatterOnMillionsOfValues)
{
    std::mt19937_64 random(16);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    std::uniform_int_distribution<int> exponent(-320, 10);
    char text[kGridValueMaxLength];
    for (int i = 0; i < 3000000; ++i) {
        const double bits = std::bit_cast<double>(random());
        ASSERT_EQ(std::string(text, WriteGridValue(text, bits, ',')), FormatScientific(bits, 14, 4, ',')) << bits;
        const double plume = mantissa(random) * std::pow(10.0, exponent(random));
        ASSERT_EQ(std::string(text, WriteGridValue(text, plume, '.')), FormatScientific(plume, 14, 4, '.')) << plume;
    }
}

// Every exact half at the 15th digit is m × 2^-q with m × 5^q of 16 digits
// (q from 1 to 22), or an odd integer of 16 digits ending in 5 (times 1 or 2).
// Each must round away from zero, and its neighbours must not be taken for one.
TEST(FixedPatterns, GridWriterRoundsExactHalvesAwayFromZeroAtEveryExponent)
{
    struct Tie {
        double value;
        unsigned long long sixteenDigits;
        int exponent;  // of the first of the sixteen digits
    };
    constexpr unsigned long long kLow = 1000000000000000ULL;
    constexpr unsigned long long kHigh = 10000000000000000ULL;
    std::mt19937_64 random(5);
    std::vector<Tie> ties = {{999999999999999.5, 9999999999999995ULL, 14},
                             {1000000000000005.0, 1000000000000005ULL, 15},
                             {9007199254740985.0, 9007199254740985ULL, 15},
                             {10000000000000050.0, 1000000000000005ULL, 16}};
    unsigned long long power = 1;
    for (int q = 1; q <= 22; ++q) {
        power *= 5;
        const unsigned long long first = (kLow + power - 1) / power;
        const unsigned long long last = (kHigh - 1) / power;
        std::uniform_int_distribution<unsigned long long> pick(first, last);
        std::vector<unsigned long long> mantissas = {first, last};
        for (int i = 0; i < 2000; ++i) mantissas.push_back(pick(random));
        for (unsigned long long m : mantissas) {
            m |= 1;
            if (m > last) m -= 2;
            if (m < first) continue;
            ties.push_back({std::ldexp(static_cast<double>(m), -q), m * power, 15 - q});
        }
    }
    std::uniform_int_distribution<unsigned long long> odd(kLow / 10, 900719925474098ULL);
    for (int i = 0; i < 2000; ++i) {
        const unsigned long long m = odd(random) * 10 + 5;
        ties.push_back({static_cast<double>(m), m, 15});
        if (m >= 5 * kLow && m % 25 == 0) ties.push_back({2.0 * static_cast<double>(m), m / 5, 16});
    }
    char text[kGridValueMaxLength];
    for (const Tie& tie : ties) {
        // The fifteen digits rounded up, with the carry of 99…95 into a new power of ten.
        unsigned long long up = tie.sixteenDigits / 10 + 1;
        int exponent = tie.exponent;
        if (up == kLow) {
            up /= 10;
            ++exponent;
        }
        const std::string digits = std::to_string(up);
        char exponentText[16];
        std::snprintf(exponentText, sizeof exponentText, "E%c%04d", exponent < 0 ? '-' : '+', std::abs(exponent));
        const std::string expected = digits.substr(0, 1) + "," + digits.substr(1) + exponentText;
        for (double v : {tie.value, -tie.value}) {
            const std::string sign = v < 0 ? "-" : "";
            ASSERT_EQ(std::string(text, WriteGridValue(text, v, ',')), sign + expected) << tie.sixteenDigits << " " << v;
            ASSERT_EQ(FormatScientific(v, 14, 4, ','), sign + expected) << v;
            for (double near : {std::nextafter(v, 0.0), std::nextafter(v, 2 * v)})
                ASSERT_EQ(std::string(text, WriteGridValue(text, near, ',')), FormatScientific(near, 14, 4, ',')) << near;
        }
    }
}
