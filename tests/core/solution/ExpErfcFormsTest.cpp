// The Horner form of the point formula's exp·erfc against the term-by-term
// evaluation it replaced, and against the grid kernel's.
#include "solution/ExpErfc.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace kavrin;

namespace {

// Units in the last place between two finite doubles of the same sign.
std::int64_t ulpsApart(double a, double b)
{
    if (a == b) return 0;
    return std::llabs(std::bit_cast<std::int64_t>(a) - std::bit_cast<std::int64_t>(b));
}

// The whole argument range: dense through the three ranges and their
// thresholds, geometric towards 0 and far out, both signs.
std::vector<double> arguments()
{
    std::vector<double> ys;
    for (int i = 0; i <= 400000; ++i) ys.push_back(-10 + i * 5e-5);
    for (double threshold : {0.46875, 4.0})
        for (double y = std::nextafter(threshold, 0.0), k = 0; k < 64; ++k, y = std::nextafter(y, 10.0)) ys.push_back(y);
    for (double y = 1e-300; y < 1e4; y *= 1.01) ys.push_back(y);
    const std::size_t positive = ys.size();
    for (std::size_t i = 0; i < positive; ++i) ys.push_back(-ys[i]);
    return ys;
}

}  // namespace

TEST(ExpErfc, HornerFormAgreesWithTheTermByTermSumWithinAFewUnitsInTheLastPlace)
{
    const std::vector<double> ys = arguments();
    // The two sums round differently in the middle range's degree-8
    // polynomials: most arguments agree within 3 units, none beyond 10.
    for (double x : {0.0, -3.0, -40.0, -700.0, 2.5, 700.0}) {
        std::int64_t worst = 0;
        double worstY = 0;
        std::size_t compared = 0, close = 0;
        for (double y : ys) {
            const double horner = ExpErfc(x, y), powers = ExpErfcAscendingPowers(x, y);
            ASSERT_EQ(horner == 0, powers == 0) << x << " " << y;
            if (horner == 0 || powers < 1e-300) continue;  // subnormal results keep fewer digits
            const std::int64_t apart = ulpsApart(horner, powers);
            if (apart > worst) worst = apart, worstY = y;
            ++compared;
            close += apart <= 3;
        }
        EXPECT_LE(worst, 10) << "x = " << x << ", worst at y = " << worstY;
        EXPECT_GE(static_cast<double>(close), 0.99 * static_cast<double>(compared)) << "x = " << x;
    }
}

TEST(ExpErfc, PointFormulaAndGridKernelEvaluateAlike)
{
    for (double x : {0.0, -3.0, -700.0, 700.0})
        for (double y : arguments()) ASSERT_EQ(ExpErfc(x, y), ExpErfcHorner(x, y)) << x << " " << y;
}
