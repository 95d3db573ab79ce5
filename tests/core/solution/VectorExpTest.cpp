// The vectorised exp against the C library's over the whole argument range,
// the point formula's (every argument it takes is <= 0) and beyond: within a
// unit in the last place wherever the library's is a normal double or
// infinity, 0 where it is below the normal doubles.
#include "solution/VectorExp.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <limits>
#include <numbers>
#include <random>
#include <string>
#include <vector>

using namespace kavrin;

namespace {

// Units in the last place between two non-negative doubles (0 and the
// subnormals included, infinity one past the largest double).
std::int64_t ulpsApart(double a, double b)
{
    return std::llabs(std::bit_cast<std::int64_t>(a) - std::bit_cast<std::int64_t>(b));
}

struct ArgumentRange {
    double low, high;
};

}  // namespace

TEST(VectorExp, WithinOneUnitInTheLastPlaceOfTheLibrarysOverEveryRange)
{
    // Results rounded to 0, among the subnormals (answered 0), the normal doubles below 1
    // (the point formula's), near 1 and up to overflow.
    const ArgumentRange ranges[] = {{-800, -745.2}, {-745.2, -708.3}, {-708.3, -100}, {-100, -10}, {-10, -1},     {-1, -1e-3},
                                    {-1e-3, 0},     {0, 1e-3},        {1e-3, 1},      {1, 100},    {100, 709.78}, {709.78, 720}};
    std::mt19937_64 random(29);
    std::printf("  %-22s %-8s %-14s %s\n", "arguments", "ulp", "% not equal", "largest at");  // subnormals taken as 0
    for (const ArgumentRange& range : ranges) {
        std::uniform_real_distribution<double> within(range.low, range.high);
        std::vector<double> arguments(1'000'000), values(arguments.size());
        for (std::size_t i = 0; i < arguments.size(); ++i)
            arguments[i] = i < 1000 ? range.low + (range.high - range.low) * i / 1000 : within(random);
        VectorExps(arguments.data(), 0, arguments.size(), values.data());
        std::int64_t largest = 0, differing = 0;
        double at = 0;
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            ASSERT_EQ(values[i], VectorExp(arguments[i])) << arguments[i];
            const double library = std::exp(arguments[i]);
            const std::int64_t apart = ulpsApart(values[i], library < std::numeric_limits<double>::min() ? 0.0 : library);
            differing += apart != 0;
            if (apart > largest) largest = apart, at = arguments[i];
        }
        char label[64];
        std::snprintf(label, sizeof label, "[%g, %g]", range.low, range.high);
        std::printf("  %-22s %-8lld %-14.2f %s\n", label, static_cast<long long>(largest), 100.0 * differing / arguments.size(),
                    largest ? std::to_string(at).c_str() : "");
        EXPECT_LE(largest, 1) << "in [" << range.low << ", " << range.high << "] at " << at;
    }
}

TEST(VectorExp, EdgesOfTheRangeAreTheLibrarysOwn)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    const double exactlyAsTheLibrary[] = {-inf, -1e300, -746, -745.2, 0.0, -0.0, 709.79, 710, 1e300, inf};
    for (double x : exactlyAsTheLibrary) EXPECT_EQ(VectorExp(x), std::exp(x)) << x;
    double values[std::size(exactlyAsTheLibrary)];
    VectorExps(exactlyAsTheLibrary, 0, std::size(exactlyAsTheLibrary), values);
    for (std::size_t i = 0; i < std::size(values); ++i) EXPECT_EQ(values[i], std::exp(exactlyAsTheLibrary[i])) << i;
    // Where the library's leaves the normal doubles, and one step either side.
    const double lowest = kLowestNormalExpArgument;
    EXPECT_GE(std::exp(lowest), std::numeric_limits<double>::min());
    EXPECT_LT(std::exp(std::nextafter(lowest, -1000.0)), std::numeric_limits<double>::min());
    EXPECT_LE(ulpsApart(VectorExp(lowest), std::exp(lowest)), 1);
    EXPECT_EQ(VectorExp(std::nextafter(lowest, -1000.0)), 0.0);
    EXPECT_EQ(VectorExp(-745.1), 0.0);
    EXPECT_TRUE(std::isnan(VectorExp(std::numeric_limits<double>::quiet_NaN())));
    // exp(k·ln 2) for every k in the normal range: 2^k, within a unit.
    for (int k = -1022; k <= 1023; ++k)
        EXPECT_LE(ulpsApart(VectorExp(k * std::numbers::ln2), std::exp(k * std::numbers::ln2)), 1) << k;
}
