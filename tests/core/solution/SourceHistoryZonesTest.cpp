// The concentration with the source's history and zones against the same
// quadrature sum written here in long double, against an adaptive integral of
// the same formula, and against its own superpositions.
#include "TestSupport.h"
#include "solution/FieldKernel.h"
#include "solution/Solution.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>

using namespace kavrin;
using kavrin::test::InitialModel;
using kavrin::test::LoadedQuadrature;

namespace {

// A zone as the sum adds it: its concentration less its container's, written out by hand.
struct AddedZone {
    long double concentration, YMin, YMax, ZMin, ZMax;
};

struct Option {
    const char* name;
    std::function<void(ModelState&)> set;
    std::vector<AddedZone> zones;  // empty: the data window's zone at C0
};

// The data window's zone is 20 m × 3 m about (0, 0), C0 = 0.5 mg/L, X1 = 100.
const Option kOptions[] = {
    {"decay",
     [](ModelState& m) {
         m.source.history = SourceHistory::Decay;
         m.source.decayRate = std::numbers::ln2 / 400;
     },
     {}},
    {"stop",
     [](ModelState& m) {
         m.source.history = SourceHistory::Stop;
         m.source.releaseEnd = 1000;
     },
     {}},
    {"steps",
     [](ModelState& m) {
         m.source.history = SourceHistory::Steps;
         m.source.steps = {{0, 1}, {300, 0.4}, {1200, 0.8}, {2000, 0}};
     },
     {}},
    // A core of 9 mg/L inside a fringe of 2.8, an off-centre zone with its own
    // core, and a zone off the plane z = 0.
    {"zones",
     [](ModelState& m) {
         m.C0 = 2.8;
         m.source.moreZones = {{0, 0, 6, 1, 9}, {25, 0.5, 8, 2, 1.5}, {26, 0.5, 2, 1, 4}, {-15, 2, 6, 1, 0.7}};
     },
     {{2.8L, -10, 10, -1.5L, 1.5L},
      {6.2L, -3, 3, -0.5L, 0.5L},
      {1.5L, 21, 29, -0.5L, 1.5L},
      {2.5L, 25, 27, 0, 1},
      {0.7L, -18, -12, 1.5L, 2.5L}}},
    {"zones with steps",
     [](ModelState& m) {
         m.source.history = SourceHistory::Steps;
         m.source.steps = {{100, 2}, {900, 0.5}};
         m.source.firstZoneY = -4;
         m.source.moreZones = {{-4, 0, 4, 1, 3}, {20, 0, 6, 3, 1}};
     },
     {{0.5L, -14, 6, -1.5L, 1.5L}, {2.5L, -6, -2, -0.5L, 0.5L}, {1, 17, 23, -1.5L, 1.5L}}},
};

ModelState modelWith(const Option& option)
{
    ModelState m = InitialModel();
    option.set(m);
    return m;
}

std::vector<AddedZone> zonesOf(const Option& option, const ModelState& m)
{
    if (!option.zones.empty()) return option.zones;
    return {{m.C0, m.YMin, m.YMax, m.ZMin, m.ZMax}};
}

// erfc((low − at)/s) − erfc((high − at)/s); beyond the high edge, where both
// are near 2, as the equal difference of the small complements.
long double across(long double low, long double high, long double at, long double s)
{
    if (at > high) return std::erfc((at - high) / s) - std::erfc((at - low) / s);
    return std::erfc((low - at) / s) - std::erfc((high - at) / s);
}

// The sum over the zones of the integrand's transverse factors at σ.
long double transverse(long double sigma2, long double y, long double z, const ModelState& m, const std::vector<AddedZone>& zones)
{
    const long double sy = 2 * sigma2 * std::sqrt(static_cast<long double>(m.DispY));
    const long double sz = 2 * sigma2 * std::sqrt(static_cast<long double>(m.DispZ));
    long double sum = 0;
    for (const AddedZone& zone : zones)
        sum += zone.concentration * across(zone.YMin, zone.YMax, y, sy) * across(zone.ZMin, zone.ZMax, z, sz);
    return sum;
}

// The integrand in σ = τ^¼ of a source switched on T days before, its nodes
// weighed by exp(−k·(T − τ)).
long double integrand(long double sigma, long double T, long double x, long double y, long double z, const ModelState& m,
                      const std::vector<AddedZone>& zones, long double k)
{
    if (sigma == 0) return 0;
    const long double sigma2 = sigma * sigma, tau = sigma2 * sigma2;
    const long double A = x - m.Velocity * tau;
    const long double e = std::exp(-A * A / (4 * m.DispX * tau) - m.Decay * tau);
    return e * transverse(sigma2, y, z, m, zones) * std::exp(-k * (T - tau)) / (sigma * sigma2);
}

long double scaleOf(long double x, const ModelState& m)
{
    return x / (2 * std::sqrt(std::numbers::pi_v<long double> * m.DispX));
}

// The program's Gauss–Legendre sum, in long double.
long double gaussSum(long double T, long double x, long double y, long double z, const ModelState& m, const QuadratureState& q,
                     const std::vector<AddedZone>& zones, long double k)
{
    if (T <= 0) return 0;
    const long double b = std::pow(T, 0.25L);
    long double sum = 0;
    for (int i = 1; i <= q.GaussN; ++i) {
        const long double sigma = (static_cast<long double>(q.GaussNodes[static_cast<std::size_t>(i)]) + 1) * b / 2;
        sum += q.GaussWeights[static_cast<std::size_t>(i)] * integrand(sigma, T, x, y, z, m, zones, k);
    }
    return scaleOf(x, m) * sum * b / 2;
}

// Adaptive Simpson on [0, T^¼] in long double: each piece is halved until its
// two halves agree to its share of 1e-14 of a first estimate of the whole.
long double adaptiveIntegral(long double T, long double x, long double y, long double z, const ModelState& m,
                             const std::vector<AddedZone>& zones, long double k)
{
    if (T <= 0) return 0;
    auto f = [&](long double s) { return integrand(s, T, x, y, z, m, zones, k); };
    const long double b = std::pow(T, 0.25L);
    // Panels fine enough that no peak of the integrand falls between samples.
    const int panels = 64;
    long double estimate = 0;
    for (int p = 0; p < panels; ++p) {
        const long double a = b * p / panels, c = b * (p + 1) / panels;
        estimate += (c - a) / 6 * (f(a) + 4 * f((a + c) / 2) + f(c));
    }
    const long double tolerance = 1e-14L * std::fabs(estimate) / b;  // per unit of σ
    std::function<long double(long double, long double, long double, long double, long double, long double, int)> simpson;
    simpson = [&](long double a, long double c, long double fa, long double fm, long double fc, long double whole, int depth) {
        const long double mid = (a + c) / 2, fl = f((a + mid) / 2), fr = f((mid + c) / 2);
        const long double l = (mid - a) / 6 * (fa + 4 * fl + fm), r = (c - mid) / 6 * (fm + 4 * fr + fc);
        if (depth >= 30 || std::fabs(l + r - whole) <= 15 * tolerance * (c - a)) return l + r + (l + r - whole) / 15;
        return simpson(a, mid, fa, fl, fm, l, depth + 1) + simpson(mid, c, fm, fr, fc, r, depth + 1);
    };
    long double sum = 0;
    for (int p = 0; p < panels; ++p) {
        const long double a = b * p / panels, c = b * (p + 1) / panels, fa = f(a), fc = f(c), fm = f((a + c) / 2);
        sum += simpson(a, c, fa, fm, fc, (c - a) / 6 * (fa + 4 * fm + fc), 0);
    }
    return scaleOf(x, m) * sum;
}

// The value the history makes of a switched-on source `one(T, k)`, and in
// `magnitude` the sum of its terms' sizes: a stopped release long after its
// end is the small difference of two large values, and no arithmetic of
// doubles keeps more than ε times those values of it.
long double withHistory(const ModelState& m, long double t, const std::function<long double(long double T, long double k)>& one,
                        long double* magnitude = nullptr)
{
    long double sum = 0, size = 0;
    auto add = [&](long double weight, long double T, long double k) {
        const long double term = weight * one(T, k);
        sum += term;
        size += std::fabs(term);
    };
    switch (m.source.history) {
    case SourceHistory::Constant:
        add(1, t, 0);
        break;
    case SourceHistory::Decay:
        add(1, t, m.source.decayRate);
        break;
    case SourceHistory::Stop:
        add(1, t, 0);
        add(-1, t - m.source.releaseEnd, 0);
        break;
    case SourceHistory::Steps: {
        long double before = 0;
        for (const SourceStep& step : m.source.steps) {
            add(step.relative - before, t - step.start, 0);
            before = step.relative;
        }
        break;
    }
    }
    if (magnitude) *magnitude = size;
    return sum;
}

struct Point {
    double t, x, y, z;
};

std::vector<Point> points()
{
    std::vector<Point> all;
    for (double t : {250.0, 600.0, 1000.0, 2500.0})
        for (double x : {2.0, 15.0, 40.0, 80.0})
            for (double y : {-18.0, -4.0, 0.0, 7.0, 24.0})
                for (double z : {0.0, 0.8}) all.push_back({t, x, y, z});
    return all;
}

double largestConcentration(const ModelState& m)
{
    double largest = std::fabs(m.C0);
    for (const SourceZone& zone : m.source.moreZones) largest = std::max(largest, std::fabs(zone.concentration));
    return largest;
}

}  // namespace

// Relative to the value, or to its terms' size where a history subtracts
// them; checked where the value exceeds 1e-10 of the largest concentration.
TEST(SourceHistoryAndZones, AgreeWithTheSameGaussLegendreSumInLongDouble)
{
    for (int order : {20, 60, 256}) {
        const QuadratureState q = LoadedQuadrature(order);
        for (const Option& option : kOptions) {
            const ModelState m = modelWith(option);
            const std::vector<AddedZone> zones = zonesOf(option, m);
            int compared = 0;
            double worst = 0;
            for (const Point& p : points()) {
                long double magnitude = 0;
                const long double expected = withHistory(
                    m, p.t, [&](long double T, long double k) { return gaussSum(T, p.x, p.y, p.z, m, q, zones, k); }, &magnitude);
                if (std::fabs(expected) <= 1e-10 * largestConcentration(m)) continue;
                ++compared;
                const double error = std::fabs(PointValue(p.x, p.y, p.z, p.t, m, q) - static_cast<double>(expected)) /
                                     static_cast<double>(std::max(std::fabs(expected), magnitude));
                worst = std::max(worst, error);
                EXPECT_LE(error, 1e-12) << option.name << ", order " << order << ", t=" << p.t << " x=" << p.x << " y=" << p.y
                                        << " z=" << p.z;
            }
            std::printf("%s, order %d: %d points, largest relative difference %.2g\n", option.name, order, compared, worst);
            EXPECT_GT(compared, 100) << option.name;
        }
    }
}

// The whole-grid kernel against the point formula for each option, on the
// source plane, at t = 0, before and after a stop or a step, and on a plane z
// above some zones.
TEST(SourceHistoryAndZones, TheWholeGridKernelAgreesWithThePointFormula)
{
    for (const Option& option : kOptions) {
        for (double planeZ : {0.0, 1.8}) {
            ModelState m = modelWith(option);
            m.DX = 2;
            m.NX = 50;
            m.DY = 2;
            m.NY = 30;
            m.PlaneZ = planeZ;
            const QuadratureState q = LoadedQuadrature(60);
            const double bound = 1e-15 * largestConcentration(m);
            for (double t : {0.0, 250.0, 1300.0, 2500.0}) {
                TimeField fast, reference;
                ComputeTimeField(t, m, q, 2, fast);
                ComputeTimeFieldByPoints(t, m, q, 1, reference);
                ASSERT_EQ(fast.values.size(), reference.values.size());
                for (std::size_t p = 0; p < fast.values.size(); ++p) {
                    const double expected = reference.values[p];
                    ASSERT_NEAR(fast.values[p], expected, std::max(1e-12 * std::fabs(expected), bound))
                        << option.name << ", z=" << planeZ << ", t=" << t << ", row " << p / 51 << ", column " << p % 51;
                }
            }
        }
    }
}

// The order's own quadrature error: the largest relative difference of the
// plain constant source's Gauss–Legendre sum (in long double, so without the
// rounding of doubles) from the adaptive integral at the same points. Each
// option stays within a small multiple of it.
TEST(SourceHistoryAndZones, AgreeWithAnAdaptiveIntegralWithinTheOrdersQuadratureError)
{
    const ModelState plain = InitialModel();
    const std::vector<AddedZone> plainZones = {{plain.C0, plain.YMin, plain.YMax, plain.ZMin, plain.ZMax}};
    std::vector<Point> sample;
    for (double t : {600.0, 2500.0})
        for (double x : {2.0, 15.0, 40.0, 80.0})
            for (double y : {0.0, 24.0}) sample.push_back({t, x, y, 0});
    struct Exact {
        long double value, magnitude;
    };
    auto adaptive = [&](const ModelState& m, const std::vector<AddedZone>& zones) {
        std::vector<Exact> exact;
        for (const Point& p : sample) {
            Exact e{};
            e.value = withHistory(
                m, p.t, [&](long double T, long double k) { return adaptiveIntegral(T, p.x, p.y, p.z, m, zones, k); },
                &e.magnitude);
            exact.push_back(e);
        }
        return exact;
    };
    const std::vector<Exact> plainExact = adaptive(plain, plainZones);
    std::vector<std::vector<Exact>> optionExact;
    for (const Option& option : kOptions) {
        const ModelState m = modelWith(option);
        optionExact.push_back(adaptive(m, zonesOf(option, m)));
    }
    auto relative = [](long double value, const Exact& e) {
        return static_cast<double>(std::fabs(value - e.value) / std::max(std::fabs(e.value), e.magnitude));
    };
    for (int order : {20, 60, 104, 256}) {
        const QuadratureState q = LoadedQuadrature(order);
        double own = 0;
        for (std::size_t k = 0; k < sample.size(); ++k) {
            const Point& p = sample[k];
            if (std::fabs(plainExact[k].value) > 1e-10 * plain.C0)
                own = std::max(own, relative(gaussSum(p.t, p.x, p.y, p.z, plain, q, plainZones, 0), plainExact[k]));
        }
        std::printf("order %d: quadrature error %.2g;", order, own);
        for (std::size_t o = 0; o < std::size(kOptions); ++o) {
            const ModelState m = modelWith(kOptions[o]);
            double worst = 0;
            for (std::size_t k = 0; k < sample.size(); ++k) {
                const Point& p = sample[k];
                if (std::fabs(optionExact[o][k].value) > 1e-10 * largestConcentration(m))
                    worst = std::max(worst, relative(PointValue(p.x, p.y, p.z, p.t, m, q), optionExact[o][k]));
            }
            std::printf(" %s %.2g;", kOptions[o].name, worst);
            EXPECT_LE(worst, 4 * own + 1e-12) << kOptions[o].name << ", order " << order;
        }
        std::printf("\n");
    }
}

namespace {

// Sources off the line y = 0, so that every model below takes the same arithmetic.
ModelState offCentre(double C0, double width, double height)
{
    ModelState m = InitialModel();
    m.C0 = C0;
    m.SourceWidth = width;
    m.SourceHeight = height;
    m.source.firstZoneY = 5;
    return m;
}

// The field, every point in a 51 × 31 grid of the model.
std::vector<double> field(ModelState m, double t)
{
    m.DX = 2;
    m.NX = 50;
    m.DY = 2;
    m.NY = 30;
    TimeField f;
    ComputeTimeField(t, m, LoadedQuadrature(60), 2, f);
    return {f.values.data(), f.values.data() + f.values.size()};
}

}  // namespace

TEST(SourceHistoryAndZones, AStoppedReleaseIsAConstantSourceLessADelayedOne)
{
    const ModelState constant = offCentre(0.5, 20, 3);
    ModelState stop = constant;
    stop.source.history = SourceHistory::Stop;
    stop.source.releaseEnd = 1000;
    const QuadratureState q = LoadedQuadrature(60);
    for (const Point& p : points()) {
        const double on = PointValue(p.x, p.y, p.z, p.t, constant, q), off = PointValue(p.x, p.y, p.z, p.t - 1000, constant, q);
        EXPECT_NEAR(PointValue(p.x, p.y, p.z, p.t, stop, q), on - off, 1e-12 * std::max(std::fabs(on), std::fabs(off)))
            << p.t << " " << p.x << " " << p.y;
    }
    for (double t : {600.0, 1500.0, 2500.0}) {
        const std::vector<double> stopped = field(stop, t), on = field(constant, t), off = field(constant, t - 1000);
        for (std::size_t k = 0; k < stopped.size(); ++k) {
            if (k % 51 == 0) continue;  // the source plane x = 0 follows g(t), not the difference
            EXPECT_NEAR(stopped[k], on[k] - off[k], 1e-12 * std::max(std::fabs(on[k]), std::fabs(off[k]))) << t << " " << k;
        }
    }
}

TEST(SourceHistoryAndZones, NestedZonesAreTheSumOfTheirSeparateRuns)
{
    // A core of 9 mg/L inside a fringe of 2.8: the fringe alone, and the core at the difference.
    ModelState nested = offCentre(2.8, 20, 3);
    nested.source.moreZones = {{5, 0, 6, 1, 9}};
    const ModelState fringe = offCentre(2.8, 20, 3), core = offCentre(6.2, 6, 1);
    const QuadratureState q = LoadedQuadrature(60);
    for (const Point& p : points()) {
        const double a = PointValue(p.x, p.y, p.z, p.t, fringe, q), b = PointValue(p.x, p.y, p.z, p.t, core, q);
        EXPECT_NEAR(PointValue(p.x, p.y, p.z, p.t, nested, q), a + b, 1e-12 * (std::fabs(a) + std::fabs(b)))
            << p.t << " " << p.x << " " << p.y;
    }
    for (double t : {0.0, 600.0, 2500.0}) {
        const std::vector<double> together = field(nested, t), a = field(fringe, t), b = field(core, t);
        for (std::size_t k = 0; k < together.size(); ++k)
            EXPECT_NEAR(together[k], a[k] + b[k], 1e-12 * (std::fabs(a[k]) + std::fabs(b[k]))) << t << " " << k;
    }
}

TEST(SourceHistoryAndZones, TheSourcePlaneAndTimeZeroFollowEachZonesRuleTimesTheHistory)
{
    const QuadratureState q = LoadedQuadrature(60);
    ModelState zones = InitialModel();
    zones.C0 = 2.8;
    zones.source.moreZones = {{0, 0, 6, 1, 9}, {25, 0, 8, 2, 1.5}};
    EXPECT_EQ(PointValue(0, 0, 0, 2500, zones, q), 9.0);            // inside the core its own concentration holds
    EXPECT_EQ(PointValue(0, 3, 0, 2500, zones, q), 2.8 + 6.2 / 2);  // on the core's edge, inside the fringe
    EXPECT_EQ(PointValue(0, 10, 0, 2500, zones, q), 1.4);           // the fringe's edge
    EXPECT_EQ(PointValue(0, 25, 0, 2500, zones, q), 1.5);
    EXPECT_EQ(PointValue(0, 15, 0, 2500, zones, q), 0.0);
    EXPECT_EQ(PointValue(0, 3, 0.5, 0, zones, q), 9.0);  // t = 0: the closed rectangles
    EXPECT_EQ(PointValue(0, 29, 1, 0, zones, q), 1.5);
    EXPECT_EQ(PointValue(1, 0, 0, 0, zones, q), 0.0);

    ModelState history = InitialModel();
    history.source.history = SourceHistory::Decay;
    history.source.decayRate = 0.001;
    EXPECT_DOUBLE_EQ(PointValue(0, 0, 0, 700, history, q), 0.5 * std::exp(-0.7));
    EXPECT_DOUBLE_EQ(PointValue(0, 10, 0, 700, history, q), 0.25 * std::exp(-0.7));
    EXPECT_EQ(PointValue(0, 0, 0, 0, history, q), 0.5);
    history.source.history = SourceHistory::Stop;
    history.source.releaseEnd = 1000;
    EXPECT_EQ(PointValue(0, 0, 0, 1000, history, q), 0.5);
    EXPECT_EQ(PointValue(0, 0, 0, 1000.5, history, q), 0.0);
    history.source.history = SourceHistory::Steps;
    history.source.steps = {{200, 1}, {300, 0.4}};
    EXPECT_EQ(PointValue(0, 0, 0, 0, history, q), 0.0);
    EXPECT_EQ(PointValue(0, 0, 0, 250, history, q), 0.5);
    EXPECT_EQ(PointValue(0, 0, 0, 300, history, q), 0.2);
    EXPECT_EQ(PointValue(10, 0, 0, 150, history, q), 0.0);  // nothing released yet
}

TEST(SourceHistoryAndZones, OptionsThatLeaveTheSourceAsItWasGiveTheSameBits)
{
    ModelState m = InitialModel();
    ModelState withPlane = m;
    withPlane.source.controlPlaneX = 60;  // for the mass balance only
    for (int order : {20, 60, 256}) {
        const QuadratureState q = LoadedQuadrature(order);
        for (const Point& p : points()) {
            const double plain = m.C0 * PointConcentration(p.x, p.y, p.z, p.t, m, q);
            EXPECT_EQ(PointValue(p.x, p.y, p.z, p.t, m, q), plain);
            EXPECT_EQ(PointValue(p.x, p.y, p.z, p.t, withPlane, q), plain);
        }
    }
    for (double t : {0.0, 600.0, 2500.0}) EXPECT_EQ(field(withPlane, t), field(m, t)) << t;
}

TEST(SourceHistoryAndZones, TheKernelRaisesThePointFormulasFailureWithEveryOption)
{
    const std::pair<const char*, std::function<void(ModelState&)>> faults[] = {
        {"zero longitudinal dispersion", [](ModelState& m) { m.DispX = 0; }},
        {"negative transverse dispersion", [](ModelState& m) { m.DispY = -0.005; }},
        {"a decay that overflows", [](ModelState& m) { m.Decay = -0.5; }},
    };
    const QuadratureState q = LoadedQuadrature(60);
    for (const Option& option : kOptions) {
        for (const auto& [fault, set] : faults) {
            ModelState m = modelWith(option);
            set(m);
            TimeField fast, reference;
            const std::string expected = kavrin::test::FailureText([&] { ComputeTimeFieldByPoints(2500, m, q, 1, reference); });
            ASSERT_NE(expected, "") << option.name << ", " << fault;
            EXPECT_EQ(kavrin::test::FailureText([&] { ComputeTimeField(2500, m, q, 2, fast); }), expected)
                << option.name << ", " << fault;
        }
    }
}
