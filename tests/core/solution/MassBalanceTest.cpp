#include "solution/MassBalance.h"
#include "TestSupport.h"
#include "core/ModelWithTexts.h"
#include "solution/Solution.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace kavrin;
using kavrin::test::ModelWith;

namespace {

// A quick plume: v = 0.5 m/day, DispX = 0.5 m²/day, retardation 2 (v' = 0.25), decay 0.002/day.
ModelState quickPlume()
{
    return ModelWith({{18, "10"}, {19, "0.01"}, {17, "0.2"}, {20, "2"}, {21, "0.002"}, {14, "1"}, {6, "150"}});
}

SourceOptions historyOf(SourceHistory history)
{
    SourceOptions options;
    options.history = history;
    options.decayRate = 0.01;
    options.releaseEnd = 60;
    options.steps = {{10, 0.5}, {40, 1.5}, {90, 0.25}};
    // A core of 9 mg/L inside the first zone, and one zone beside it.
    options.moreZones = {{1, 0.5, 4, 1, 9}, {-20, 0, 6, 2, 2.8}};
    return options;
}

double closure(const MassBalanceRow& row)
{
    return row.entered - row.decayed - row.dissolved - row.sorbed;
}

}  // namespace

TEST(MassBalance, ClosesForEveryHistory)
{
    for (SourceHistory history : {SourceHistory::Constant, SourceHistory::Decay, SourceHistory::Stop, SourceHistory::Steps}) {
        ModelState model = quickPlume();
        model.source = historyOf(history);
        for (const MassBalanceRow& row : ComputeMassBalance(model, {0.5, 10, 39.9, 40, 60, 61, 90.5, 400, 3000})) {
            SCOPED_TRACE(static_cast<int>(history));
            SCOPED_TRACE(row.time);
            EXPECT_GE(row.entered, 0);
            EXPECT_GE(row.decayed, 0);
            EXPECT_NEAR(row.sorbed, row.dissolved, 1e-12 * row.dissolved) << "retardation 2: as much sorbed as dissolved";
            EXPECT_LE(std::fabs(closure(row)), 1e-9 * row.entered);
        }
    }
}

TEST(MassBalance, AStoppedReleaseIsAConstantSourceLessADelayedOne)
{
    ModelState constant = quickPlume();
    constant.source.controlPlaneX = 12;
    ModelState stopped = constant;
    stopped.source.history = SourceHistory::Stop;
    stopped.source.releaseEnd = 60;
    const std::vector<double> times = {30, 75, 200};
    const auto c = ComputeMassBalance(constant, {30, 75, 200});
    const auto delayed = ComputeMassBalance(constant, {30 - 60, 75 - 60, 200 - 60});
    const auto s = ComputeMassBalance(stopped, times);
    for (std::size_t i = 0; i < times.size(); ++i) {
        const auto near = [&](double a, double b, double d) { EXPECT_NEAR(a, b - d, 1e-12 * b) << times[i]; };
        near(s[i].entered, c[i].entered, delayed[i].entered);
        near(s[i].decayed, c[i].decayed, delayed[i].decayed);
        near(s[i].dissolved, c[i].dissolved, delayed[i].dissolved);
        near(s[i].dischargeControl, c[i].dischargeControl, delayed[i].dischargeControl);
        near(s[i].dischargeEdge, c[i].dischargeEdge, delayed[i].dischargeEdge);
    }
}

TEST(MassBalance, ADecayingSourceEntersAsTheSourceWithLessDecayTimesItsStrength)
{
    // C = e^(−k·t)·φ turns a source decaying at k into a constant one for φ with
    // decay λ − k: the rate of entering is e^(−k·t)·J(t) with w² = v² + 4(λ − k)D.
    // The balance takes it as the constant source's rate less a convolution, so
    // it is exact to 1e-12 of the constant source's rate, e^(k·t) times more.
    ModelState model = quickPlume();  // v = D = 0.25, λ = 0.002, R = 2, n = 0.2
    model.source.history = SourceHistory::Decay;
    model.source.decayRate = 0.01;
    model.source.controlPlaneX = 0;
    const long double v = 0.25, D = 0.25, w = std::sqrt(v * v + 4 * (0.002L - 0.01L) * D);
    for (double t : {0.5, 20.0, 300.0, 2000.0}) {
        const long double flux = v / 2 + w / 2 * std::erf(w * std::sqrt(t / (4 * D))) +
                                 std::sqrt(D / (3.14159265358979323846264338327950288L * t)) * std::exp(-w * w * t / (4 * D));
        const double expected = static_cast<double>(1000 * 0.2L * 2 * SourceLoading(model) * std::exp(-0.01L * t) * flux);
        EXPECT_NEAR(ComputeMassBalance(model, {t}).front().dischargeControl, expected, 1e-12 * expected * std::exp(0.01 * t))
            << t;
    }
}

TEST(MassBalance, TheDischargeAtAFarPlaneAddsUpToTheMassThatPassedIt)
{
    // No decay and a release of 20 days: by day 400 the plume lies wholly beyond
    // x = 20 (its centre near 190 m, its spread 20 m), so all that entered has passed.
    ModelState model = ModelWith({{18, "10"}, {19, "0.01"}, {17, "0.2"}, {20, "1"}, {21, "0"}, {14, "1"}, {6, "1000"}});
    model.source.history = SourceHistory::Stop;
    model.source.releaseEnd = 20;
    model.source.controlPlaneX = 20;
    const int panels = 800;
    const double end = 400, h = end / panels;
    std::vector<double> times;
    for (int i = 0; i <= panels; ++i) times.push_back(i * h);
    const auto rows = ComputeMassBalance(model, times);
    double passed = 0;  // Simpson's rule over the rows
    for (int i = 0; i <= panels; ++i) passed += (i == 0 || i == panels ? 1 : i % 2 ? 4 : 2) * rows[i].dischargeControl;
    passed *= h / 3;
    EXPECT_NEAR(passed, rows.back().entered, 1e-7 * rows.back().entered);
    EXPECT_NEAR(rows.back().dissolved, rows.back().entered, 1e-9 * rows.back().entered);
}

TEST(MassBalance, TheDissolvedMassIsTheFieldIntegratedOverTheAquifer)
{
    // The initial model at 2500 days, integrated point by point: y and z by
    // symmetry over one half each, Gauss–Legendre panels of 8 points that end
    // where the source's edges are (y = 10, z = 1.5).
    const ModelState model = ModelWith({{21, "0.0002"}});
    const QuadratureState quadrature = kavrin::test::LoadedQuadrature(60);
    const double t = 2500;
    const double nodes[8] = {-0.9602898564975363, -0.7966664774136267, -0.5255324099163290, -0.1834346424956498,
                             0.1834346424956498,  0.5255324099163290,  0.7966664774136267,  0.9602898564975363};
    const double weights[8] = {0.1012285362903763, 0.2223810344533745, 0.3137066458778873, 0.3626837833783620,
                               0.3626837833783620, 0.3137066458778873, 0.2223810344533745, 0.1012285362903763};
    // Panels between the breaks, `panels` between each pair.
    const auto integral = [&](const std::vector<double>& breaks, const std::vector<int>& panels,
                              const std::function<double(double)>& f) {
        double sum = 0;
        for (std::size_t b = 0; b + 1 < breaks.size(); ++b) {
            const double width = (breaks[b + 1] - breaks[b]) / panels[b];
            for (int p = 0; p < panels[b]; ++p)
                for (int i = 0; i < 8; ++i) sum += weights[i] * width / 2 * f(breaks[b] + width * (p + (nodes[i] + 1) / 2));
        }
        return sum;
    };
    const double field = integral({0, 20, 130}, {2, 6}, [&](double x) {
        return 2 * integral({0, 10, 35}, {2, 4}, [&](double y) {
                   return 2 * integral({0, 1.5, 28}, {1, 4},
                                       [&](double z) { return model.C0 * PointConcentration(x, y, z, t, model, quadrature); });
               });
    });
    const MassBalanceRow row = ComputeMassBalance(model, {t}).front();
    EXPECT_NEAR(row.dissolved, 1000 * model.Porosity * field, 1e-4 * row.dissolved);
    EXPECT_EQ(row.sorbed, 0);
}

TEST(MassBalance, ZonesCountTheirConcentrationTimesTheirAreaNestedOnesByDifference)
{
    ModelState model = quickPlume();  // C0 0.5 on 20 × 3
    EXPECT_DOUBLE_EQ(SourceLoading(model), 0.5 * 60);
    model.source = historyOf(SourceHistory::Constant);  // a core of 9 on 4 × 1 inside, 2.8 on 6 × 2 beside
    EXPECT_DOUBLE_EQ(SourceLoading(model), 0.5 * 60 + (9 - 0.5) * 4 + 2.8 * 12);
    // A fringe drawn after its core, and a core within the core.
    model.source.moreZones = {{0, 0, 2, 1, 9}, {0, 0, 30, 4, 0.1}, {0, 0, 1, 0.5, 20}};
    EXPECT_DOUBLE_EQ(SourceLoading(model), 0.1 * 120 + (0.5 - 0.1) * 60 + (9 - 0.5) * 2 + (20 - 9) * 0.5);

    // The masses follow the loading: twice the zones' concentrations, twice every mass.
    ModelState doubled = model;
    doubled.C0 *= 2;
    for (SourceZone& zone : doubled.source.moreZones) zone.concentration *= 2;
    const MassBalanceRow once = ComputeMassBalance(model, {100}).front(), twice = ComputeMassBalance(doubled, {100}).front();
    EXPECT_NEAR(twice.entered, 2 * once.entered, 1e-12 * twice.entered);
    EXPECT_NEAR(twice.dischargeEdge, 2 * once.dischargeEdge, 1e-12 * twice.dischargeEdge);
}

TEST(MassBalance, ControlPlaneEdgeAndTheStart)
{
    ModelState model = quickPlume();
    auto rows = ComputeMassBalance(model, {0, 200});
    EXPECT_TRUE(std::isnan(rows[0].dischargeControl));
    EXPECT_TRUE(std::isnan(rows[1].dischargeControl)) << "no control plane";
    EXPECT_EQ(rows[0].entered, 0);
    EXPECT_EQ(rows[0].dischargeEdge, 0);
    EXPECT_GT(rows[1].dischargeEdge, 0);

    model.source.controlPlaneX = model.X1;
    rows = ComputeMassBalance(model, {0, 200});
    EXPECT_EQ(rows[0].dischargeControl, 0);
    EXPECT_EQ(rows[1].dischargeControl, rows[1].dischargeEdge);

    // On the source plane the discharge is the rate at which mass enters.
    model.source.controlPlaneX = 0;
    const double dt = 1e-3;
    rows = ComputeMassBalance(model, {200 - dt, 200, 200 + dt});
    EXPECT_NEAR(rows[1].dischargeControl, (rows[2].entered - rows[0].entered) / (2 * dt), 1e-6 * rows[1].dischargeControl);
}

TEST(MassBalance, NoDispersionIsRefusedAsTheFieldRefusesIt)
{
    EXPECT_THROW(ComputeMassBalance(ModelWith({{14, "0"}}), {10}), FloatError);
    EXPECT_THROW(ComputeMassBalance(ModelWith({{15, "-1"}}), {10}), FloatError);
}
