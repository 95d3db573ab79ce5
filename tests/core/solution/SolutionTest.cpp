#include "solution/Solution.h"
#include "TestSupport.h"
#include "model/Variaveis.h"
#include "solution/ExpErfc.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kavrin;
using kavrin::test::InitialModel;

namespace {

// The same integral in long double by composite Simpson on σ = τ^¼ with many
// panels and the library's erfcl: an evaluation independent of the table and
// of the rational approximations.
double independentIntegral(double TT, double XX, double YY, double ZZ, const ModelState& m)
{
    const int panels = 40000;
    const long double b = std::pow(static_cast<long double>(TT), 0.25L);
    const long double h = b / panels;
    auto f = [&](long double s) -> long double {
        if (s == 0) return 0;
        const long double tau = s * s * s * s;
        const long double A = XX - m.Velocity * tau;
        const long double e = std::exp(-A * A / (4 * m.DispX * tau) - m.Decay * tau);
        const long double sy = 2 * std::sqrt(m.DispY * tau), sz = 2 * std::sqrt(m.DispZ * tau);
        const long double y = std::erfc((m.YMin - YY) / sy) - std::erfc((m.YMax - YY) / sy);
        const long double z = std::erfc((m.ZMin - ZZ) / sz) - std::erfc((m.ZMax - ZZ) / sz);
        return 4 * e * y * z / (s * s * s);
    };
    long double sum = f(0) + f(b);
    for (int i = 1; i < panels; ++i) sum += (i % 2 ? 4 : 2) * f(i * h);
    const long double integral = sum * h / 3;
    return static_cast<double>(XX / (8 * std::sqrt(3.14159265358979323846264338327950288L * m.DispX)) * integral);
}

}  // namespace

TEST(ExpErfc, MatchesTheLibraryAcrossTheThreeRanges)
{
    for (double y :
         {-6.0, -4.5, -4.0, -2.0, -0.5, -0.46875, -0.1, 1e-8, 0.1, 0.3, 0.46875, 0.47, 1.0, 2.5, 4.0, 4.01, 6.0, 9.0}) {
        const long double expected = std::erfc(static_cast<long double>(y));
        EXPECT_NEAR(ExpErfc(0, y), static_cast<double>(expected), 2e-15 * static_cast<double>(expected)) << y;
        EXPECT_NEAR(ExpErfc(0, y) + ExpErfc(0, -y), 2.0, 4e-16) << y;
        EXPECT_NEAR(ExpErfc(-3, y), std::exp(-3.0) * static_cast<double>(expected),
                    4e-15 * std::exp(-3.0) * static_cast<double>(expected))
            << y;
    }
}

TEST(ExpErfc, KeepsLargeExponentsAndTinyComplementsTogether)
{
    EXPECT_EQ(ExpErfc(0, 0), 1.0);
    EXPECT_DOUBLE_EQ(ExpErfc(2.5, 0), std::exp(2.5));
    EXPECT_EQ(ExpErfc(-1000, 30), 0.0);
    // exp(700)·erfc(27): both factors leave the double range, the product does not.
    const long double expected = std::exp(700.0L - 729.0L) / (27.0L * std::sqrt(3.14159265358979323846L)) *
                                 (1 - 1 / (2 * 729.0L) + 3 / (4 * 729.0L * 729.0L));
    EXPECT_NEAR(ExpErfc(700, 27), static_cast<double>(expected), 1e-5 * static_cast<double>(expected));
}

TEST(CNRMLP, ReproducesThePublishedValuesOfTheInitialModel)
{
    const ModelState m = InitialModel();
    struct Case {
        double x, value, tolerance;
    };
    const Case cases[] = {{1, 0.964292, 5e-7}, {10, 0.567010, 5e-7}, {50, 0.227289, 5e-7}, {100, 0.000108846, 5e-10}};
    for (int n : {60, 256}) {
        const QuadratureState q = kavrin::test::LoadedQuadrature(n);
        for (const Case& c : cases)
            EXPECT_NEAR(CNRMLP(2500, c.x, 0, 0, 0.025, n, m, q), c.value, c.tolerance) << n << " x=" << c.x;
    }
    EXPECT_NEAR(CNRMLP(2500, 1, 0, 0, 0.025, 4, m, kavrin::test::LoadedQuadrature(4)), 1.26, 0.005);
}

TEST(CNRMLP, AgreesWithAnIndependentHighPrecisionIntegral)
{
    ModelState m = InitialModel();
    const QuadratureState q = kavrin::test::LoadedQuadrature(256);
    struct Point {
        double t, x, y, z;
    };
    const Point points[] = {{2500, 10, 0, 0}, {2500, 50, 5, 0.5}, {2500, 30, 10, 1.5}, {800, 20, -12, 0}, {2500, 100, 0, 0}};
    for (const Point& p : points) {
        const double expected = independentIntegral(p.t, p.x, p.y, p.z, m);
        EXPECT_NEAR(CNRMLP(p.t, p.x, p.y, p.z, m.Velocity, 256, m, q), expected, 1e-8 * expected) << p.x << "," << p.y;
    }
}

TEST(CNRMLP, SourcePlaneAndOutsideValues)
{
    const ModelState m = InitialModel();
    const QuadratureState q = kavrin::test::LoadedQuadrature(60);
    struct Case {
        double t, x, y, z, value;
    };
    const Case cases[] = {
        {2500, 0, 0, 0, 1},  {2500, 0, 10, 0, 0.5}, {2500, 0, 10, 1.5, 0.25}, {2500, 0, -10, -1.5, 0.25}, {2500, 0, 0, 1.5, 0.5},
        {2500, 0, 11, 0, 0}, {2500, 0, 0, 2, 0},    {0, 10, 0, 0, 0},         {-5, 10, 0, 0, 0},          {2500, -1, 0, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CNRMLP(c.t, c.x, c.y, c.z, 0.025, 60, m, q), c.value) << c.x << "," << c.y << "," << c.z;
    EXPECT_EQ(CNRMLP(2500, 10, 0, 0, 0.025, 0, m, q), 0.0);
    EXPECT_LT(CNRMLP(100, 500, 0, 0, 0.025, 60, m, q), 1e-30);
}

TEST(CNRMLP, NonPositiveDispersionIsAFloatingPointFault)
{
    const QuadratureState q = kavrin::test::LoadedQuadrature(60);
    ModelState m = InitialModel();
    m.DispY = -0.005;
    EXPECT_THROW(CNRMLP(2500, 10, 0, 0, 0.025, 60, m, q), FloatError);
    m = InitialModel();
    m.DispX = 0;
    try {
        CNRMLP(2500, 10, 0, 0, 0.025, 60, m, q);
        FAIL();
    } catch (const FloatError& e) {
        EXPECT_STREQ(e.what(), "Floating point division by zero");
    }
}

TEST(PointConcentration, TimeZeroIsTheInitialCondition)
{
    const ModelState m = InitialModel();
    const QuadratureState q = kavrin::test::LoadedQuadrature(60);
    EXPECT_EQ(PointConcentration(0, 0, 0, 0, m, q), 1);
    EXPECT_EQ(PointConcentration(0, 10, 1.5, 0, m, q), 1);  // the bounds are included
    EXPECT_EQ(PointConcentration(0, 10.5, 0, 0, m, q), 0);
    EXPECT_EQ(PointConcentration(1, 0, 0, 0, m, q), 0);
    EXPECT_EQ(PointConcentration(0, 10, 0, 2500, m, q), 0.5);
    EXPECT_NEAR(PointConcentration(10, 0, 0, 2500, m, q), 0.567010, 5e-7);
}
