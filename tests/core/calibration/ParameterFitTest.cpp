#include "fit/ParameterFit.h"
#include "FitWells.h"
#include "TestSupport.h"
#include "calibration/StudentT.h"
#include "model/Variaveis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

using namespace kavrin;
using kavrin::test::FailureText;

namespace {

ModelState initialModel()
{
    return kavrin::test::InitialModel();
}
std::vector<Observation> wells(int count)
{
    return kavrin::test::Wells(count);
}

using kavrin::test::normalNoise;
using kavrin::test::observed;

FitSettings settingsFor(const std::vector<FitParameter>& parameters, const ModelState& start, bool logResiduals)
{
    FitSettings settings;
    settings.parameters = parameters;
    for (FitParameter parameter : parameters) settings.bounds.push_back(DefaultBounds(parameter, InfoOf(parameter).get(start)));
    settings.logResiduals = logResiduals;
    settings.workers = 2;
    return settings;
}

ModelState with(ModelState model, const std::vector<std::pair<FitParameter, double>>& values)
{
    for (const auto& [parameter, value] : values) InfoOf(parameter).set(model, value);
    DeriveModelFields(model);
    return model;
}

}  // namespace

TEST(StudentT, QuantilesOfTheTablesAndASymmetricDistribution)
{
    struct Case {
        double degrees, quantile;
    };
    const Case cases[] = {{1, 12.7062047361747},  {2, 4.30265272974946},  {5, 2.57058183563631},
                          {10, 2.22813885198627}, {30, 2.04227245630124}, {100, 1.98397151852355}};
    for (const Case& c : cases) {
        EXPECT_NEAR(StudentTQuantile(0.975, c.degrees), c.quantile, 1e-10 * c.quantile) << c.degrees;
        EXPECT_NEAR(StudentTQuantile(0.025, c.degrees), -c.quantile, 1e-10 * c.quantile) << c.degrees;
        EXPECT_NEAR(StudentTDistribution(c.quantile, c.degrees) + StudentTDistribution(-c.quantile, c.degrees), 1, 1e-14);
    }
    EXPECT_NEAR(StudentTDistribution(1, 1), 0.75, 1e-14);  // the Cauchy distribution
}

TEST(ParameterFit, RecoversTheParametersThatMadeTheObservations)
{
    const ModelState truth = initialModel();  // AlphaX 1, AlphaY 0.2, AlphaZ 0.2, Kxx 0.5, C0 0.5, decay 2e-5
    const QuadratureState q = kavrin::test::LoadedQuadrature(60);
    using P = FitParameter;
    struct Case {
        std::vector<std::pair<FitParameter, double>> start;  // the fitted parameters, off by factors 2–5
        int observations;
        bool logResiduals;
    };
    const Case cases[] = {
        {{{P::AlphaX, 3}}, 20, false},
        {{{P::AlphaX, 0.3}}, 20, true},
        {{{P::AlphaX, 2.5}, {P::AlphaY, 0.05}, {P::C0, 1.5}}, 30, false},
        {{{P::AlphaY, 0.6}, {P::Kxx, 1.2}, {P::Decay, 8e-5}}, 30, true},
        {{{P::AlphaX, 0.4}, {P::AlphaY, 0.5}, {P::AlphaZ, 0.07}, {P::Kxx, 0.2}, {P::C0, 1.2}}, 60, false},
        {{{P::AlphaX, 2.2}, {P::AlphaY, 0.08}, {P::AlphaZ, 0.6}, {P::Kxx, 1.1}, {P::C0, 0.2}}, 60, true},
    };
    for (const Case& c : cases) {
        const std::vector<Observation> data = observed(wells(c.observations), truth, q);
        const ModelState start = with(truth, c.start);
        std::vector<FitParameter> parameters;
        for (const auto& entry : c.start) parameters.push_back(entry.first);
        const FitResult result = FitObservations(data, start, q, settingsFor(parameters, start, c.logResiduals));
        ASSERT_NE(result.stop, FitStop::Failed) << result.solverMessage;
        EXPECT_TRUE(result.identifiable());
        for (const FittedParameter& fitted : result.parameters) {
            const double expected = InfoOf(fitted.parameter).get(truth);
            EXPECT_NEAR(fitted.value, expected, 1e-6 * expected)
                << InfoOf(fitted.parameter).name << " of " << parameters.size() << (c.logResiduals ? " (log)" : "");
        }
        EXPECT_LT(result.after.objective, 1e-16 * std::max(1.0, result.before.objective));
        EXPECT_NEAR(result.after.R2, 1, 1e-10);
        EXPECT_GT(result.before.RMSE, 1000 * result.after.RMSE);
    }
}

TEST(ParameterFit, StandardErrorsAgreeWithAnIndependentFiniteDifferenceJacobian)
{
    // One noisy data set; the same covariance from a Jacobian taken on the
    // values themselves by Richardson-extrapolated central differences,
    // (JᵀJ)⁻¹ s², inverted by hand.
    const ModelState truth = initialModel();
    const QuadratureState q = kavrin::test::LoadedQuadrature(60);
    const std::vector<Observation> data = observed(wells(40), truth, q, normalNoise(40, 0.004, 2024));
    const ModelState start = with(truth, {{FitParameter::AlphaX, 2}, {FitParameter::AlphaY, 0.1}, {FitParameter::C0, 0.8}});
    const FitResult result = FitObservations(
        data, start, q, settingsFor({FitParameter::AlphaX, FitParameter::AlphaY, FitParameter::C0}, start, false));
    ASSERT_TRUE(result.identifiable());
    ASSERT_EQ(result.degreesOfFreedom, 37);

    const int n = 40, p = 3;
    auto residualsAt = [&](const std::vector<double>& values) {
        ModelState m =
            with(truth, {{FitParameter::AlphaX, values[0]}, {FitParameter::AlphaY, values[1]}, {FitParameter::C0, values[2]}});
        const std::vector<double> calculated = CalculatedConcentrations(data, m, q, 1);
        std::vector<double> r;
        for (int i = 0; i < n; ++i) r.push_back(data[static_cast<std::size_t>(i)].C - calculated[static_cast<std::size_t>(i)]);
        return r;
    };
    const std::vector<double> best = {result.parameters[0].value, result.parameters[1].value, result.parameters[2].value};
    double J[40][3];
    for (int j = 0; j < p; ++j) {
        auto difference = [&](double h) {
            std::vector<double> up = best, down = best;
            up[static_cast<std::size_t>(j)] += h;
            down[static_cast<std::size_t>(j)] -= h;
            const std::vector<double> a = residualsAt(up), b = residualsAt(down);
            std::vector<double> d;
            for (int i = 0; i < n; ++i) d.push_back((a[static_cast<std::size_t>(i)] - b[static_cast<std::size_t>(i)]) / (2 * h));
            return d;
        };
        const double h = 1e-3 * best[static_cast<std::size_t>(j)];
        const std::vector<double> coarse = difference(h), fine = difference(h / 2);
        for (int i = 0; i < n; ++i) J[i][j] = (4 * fine[static_cast<std::size_t>(i)] - coarse[static_cast<std::size_t>(i)]) / 3;
    }
    double A[3][6] = {};
    for (int j = 0; j < p; ++j) {
        for (int k = 0; k < p; ++k)
            for (int i = 0; i < n; ++i) A[j][k] += J[i][j] * J[i][k];
        A[j][p + j] = 1;
    }
    for (int j = 0; j < p; ++j) {  // Gauss–Jordan; JᵀJ is positive definite, no pivoting needed
        const double pivot = A[j][j];
        for (int k = 0; k < 2 * p; ++k) A[j][k] /= pivot;
        for (int r = 0; r < p; ++r) {
            if (r == j) continue;
            const double factor = A[r][j];
            for (int k = 0; k < 2 * p; ++k) A[r][k] -= factor * A[j][k];
        }
    }
    double sse = 0;
    for (double r : residualsAt(best)) sse += r * r;
    const double s2 = sse / (n - p);
    const double t = 2.02619246393719;  // Student's t, 0.975, 37 degrees of freedom
    for (int j = 0; j < p; ++j) {
        const double se = std::sqrt(A[j][p + j] * s2);
        EXPECT_NEAR(result.parameters[static_cast<std::size_t>(j)].standardError, se, 1e-5 * se) << j;
        // The three are fitted as logarithms: σ(log) = se / value, the interval value · exp(±t σ).
        const double b = best[static_cast<std::size_t>(j)];
        EXPECT_NEAR(result.parameters[static_cast<std::size_t>(j)].upper95, b * std::exp(t * se / b), 1e-5 * se);
        EXPECT_NEAR(result.parameters[static_cast<std::size_t>(j)].lower95, b * std::exp(-t * se / b), 1e-5 * se);
        for (int k = 0; k < p; ++k)
            EXPECT_NEAR(result.correlation[static_cast<std::size_t>(j)][static_cast<std::size_t>(k)],
                        A[j][p + k] / std::sqrt(A[j][p + j] * A[k][p + k]), 1e-6);
    }
    EXPECT_NEAR(result.after.objective, sse, 1e-9 * sse);
    // The interval holds the truth here, as it should for most data sets.
    EXPECT_LT(result.parameters[0].lower95, 1);
    EXPECT_GT(result.parameters[0].upper95, 1);
}

TEST(ParameterFit, NonIdentifiableParametersGiveTheMessageInsteadOfNumbers)
{
    const ModelState truth = initialModel();
    const QuadratureState q = kavrin::test::LoadedQuadrature(60);
    // Conductivity and retardation act only through the velocity.
    {
        const std::vector<Observation> data = observed(wells(20), truth, q);
        const ModelState start = with(truth, {{FitParameter::Kxx, 1}, {FitParameter::Retardation, 1.5}});
        const FitResult result =
            FitObservations(data, start, q, settingsFor({FitParameter::Kxx, FitParameter::Retardation}, start, false));
        EXPECT_FALSE(result.identifiable());
        ASSERT_EQ(result.correlated.size(), 1u);
        EXPECT_EQ(result.correlated[0], std::make_pair(FitParameter::Kxx, FitParameter::Retardation));
        EXPECT_TRUE(result.correlation.empty());
        EXPECT_EQ(result.parameters[0].standardError, 0);
    }
    // On the source plane the longitudinal dispersivity plays no part.
    {
        std::vector<Observation> points;
        for (int i = 0; i < 6; ++i) points.push_back({0, 0, -9.0 + 3 * i, 0.2 * i - 0.5, 100.0 + 50 * i});
        const std::vector<Observation> data = observed(points, truth, q);
        const ModelState start = with(truth, {{FitParameter::AlphaX, 2}, {FitParameter::C0, 0.7}});
        const FitResult result =
            FitObservations(data, start, q, settingsFor({FitParameter::AlphaX, FitParameter::C0}, start, false));
        EXPECT_FALSE(result.identifiable());
        EXPECT_EQ(result.noInfluence, std::vector<FitParameter>{FitParameter::AlphaX});
    }
}

TEST(ParameterFit, RefusesWhatCannotBeFitted)
{
    const ModelState model = initialModel();
    const QuadratureState q = kavrin::test::LoadedQuadrature(4);
    std::vector<Observation> data = observed(wells(4), model, q);
    using P = FitParameter;
    struct Case {
        std::vector<FitParameter> parameters;
        std::vector<FitBounds> bounds;
        bool logResiduals;
        std::string failure;
    };
    const Case cases[] = {
        {{}, {}, false, "Choose at least one parameter to fit"},
        {{P::AlphaX, P::AlphaX}, {{0.1, 10}, {0.1, 10}}, false, "AlphaX is chosen twice"},
        {{P::AlphaX}, {{2, 1}}, false, "The bounds of AlphaX must have the lower below the upper"},
        {{P::AlphaY}, {{0, 1}}, false, "The lower bound of AlphaY must be above zero"},
        {{P::C0}, {{1, 2}}, false, "The current value of C0 lies outside its bounds"},
        {{P::AlphaX, P::AlphaY, P::AlphaZ, P::C0},
         {{0.1, 10}, {0.01, 1}, {0.01, 1}, {0.1, 1}},
         false,
         "A fit of 4 parameters needs more than 4 observations"},
    };
    for (const Case& c : cases) {
        FitSettings settings;
        settings.parameters = c.parameters;
        settings.bounds = c.bounds;
        settings.logResiduals = c.logResiduals;
        EXPECT_EQ(FailureText([&] { FitObservations(data, model, q, settings); }), c.failure);
    }
    FitSettings weighted = settingsFor({P::AlphaX}, model, false);
    weighted.weights = {1, 2, 0, 1};
    EXPECT_EQ(FailureText([&] { FitObservations(data, model, q, weighted); }),
              "The weight of observation 3 (\"0\") must be a number above zero");
    data[1].C = 0;
    FitSettings settings = settingsFor({P::AlphaX}, model, true);
    EXPECT_EQ(FailureText([&] { FitObservations(data, model, q, settings); }),
              "Log residuals need a detection limit when an observation is zero or below");
    settings.detectionLimit = 1e-6;
    EXPECT_EQ(FailureText([&] { FitObservations(data, model, q, settings); }), "");
}

TEST(ParameterFit, CancelsFromTheProgressCallAndGivesTheSameFitOnAnyThreads)
{
    const ModelState truth = initialModel();
    const QuadratureState q = kavrin::test::LoadedQuadrature(20);
    const std::vector<Observation> data = observed(wells(30), truth, q, normalNoise(30, 0.003, 7));
    const ModelState start = with(truth, {{FitParameter::AlphaX, 3}, {FitParameter::AlphaY, 0.5}});
    FitSettings settings = settingsFor({FitParameter::AlphaX, FitParameter::AlphaY}, start, false);
    int calls = 0;
    settings.progress = [&](int, double) { return ++calls < 2; };
    EXPECT_EQ(FitObservations(data, start, q, settings).stop, FitStop::Cancelled);
    EXPECT_EQ(calls, 2);

    settings.progress = {};
    settings.workers = 1;
    const FitResult one = FitObservations(data, start, q, settings);
    settings.workers = 3;
    const FitResult three = FitObservations(data, start, q, settings);
    EXPECT_EQ(one.stop, FitStop::Converged);
    EXPECT_EQ(one.parameters[0].value, three.parameters[0].value);
    EXPECT_EQ(one.parameters[1].standardError, three.parameters[1].standardError);
}

TEST(ParameterFit, ACoarseFirstPassEndsOnTheSameOptimum)
{
    ModelState truth = initialModel();
    truth.GaussOrder = 104;
    const QuadratureState fine = kavrin::test::LoadedQuadrature(104), coarse = kavrin::test::LoadedQuadrature(20);
    const std::vector<Observation> data = observed(wells(25), truth, fine, normalNoise(25, 0.003, 99));
    const ModelState start = with(truth, {{FitParameter::AlphaX, 0.4}, {FitParameter::Decay, 1e-4}, {FitParameter::C0, 1}});
    FitSettings settings = settingsFor({FitParameter::AlphaX, FitParameter::Decay, FitParameter::C0}, start, false);
    const FitResult direct = FitObservations(data, start, fine, settings);
    settings.coarseQuadrature = &coarse;
    const FitResult twoPass = FitObservations(data, start, fine, settings);
    ASSERT_TRUE(twoPass.identifiable());
    for (std::size_t j = 0; j < 3; ++j) {
        // Equal well within the estimate's own uncertainty.
        EXPECT_NEAR(twoPass.parameters[j].value, direct.parameters[j].value, 1e-4 * direct.parameters[j].standardError) << j;
        EXPECT_NEAR(twoPass.parameters[j].standardError, direct.parameters[j].standardError,
                    1e-5 * direct.parameters[j].standardError);
    }
    int calls = 0;
    settings.progress = [&](int, double) { return ++calls < 1; };
    EXPECT_EQ(FitObservations(data, start, fine, settings).stop, FitStop::Cancelled);
}

TEST(ParameterFit, WeightsCountEachObservationAsManyTimes)
{
    const ModelState truth = initialModel();
    const QuadratureState q = kavrin::test::LoadedQuadrature(60);
    const ModelState start = with(truth, {{FitParameter::AlphaX, 2.5}, {FitParameter::AlphaY, 0.08}, {FitParameter::C0, 1.2}});
    const std::vector<FitParameter> parameters = {FitParameter::AlphaX, FitParameter::AlphaY, FitParameter::C0};
    std::vector<Observation> data = observed(wells(30), truth, q);
    std::vector<double> weights;
    for (int i = 0; i < 30; ++i) weights.push_back(0.01 + (i * 37) % 11);

    // Observations made by the model are recovered whatever their weights.
    FitSettings settings = settingsFor(parameters, start, false);
    settings.weights = weights;
    const FitResult exact = FitObservations(data, start, q, settings);
    ASSERT_TRUE(exact.identifiable());
    for (const FittedParameter& fitted : exact.parameters)
        EXPECT_NEAR(fitted.value, InfoOf(fitted.parameter).get(truth), 1e-6 * InfoOf(fitted.parameter).get(truth));

    // A gross outlier pulls the unweighted fit away; with a tiny weight it is ignored.
    data[7].C *= 4;
    settings.weights.clear();
    const FitResult pulled = FitObservations(data, start, q, settings);
    EXPECT_GT(std::fabs(pulled.parameters[2].value - 0.5), 1e-3);
    settings.weights.assign(30, 1);
    settings.weights[7] = 1e-20;
    const FitResult ignored = FitObservations(data, start, q, settings);
    for (const FittedParameter& fitted : ignored.parameters)
        EXPECT_NEAR(fitted.value, InfoOf(fitted.parameter).get(truth), 1e-6 * InfoOf(fitted.parameter).get(truth))
            << InfoOf(fitted.parameter).name;

    // Doubling every weight changes the objective, not the estimates or their errors.
    const std::vector<Observation> noisy = observed(wells(30), truth, q, normalNoise(30, 0.004, 5));
    settings.weights = weights;
    const FitResult once = FitObservations(noisy, start, q, settings);
    for (double& w : settings.weights) w *= 2;
    const FitResult twice = FitObservations(noisy, start, q, settings);
    EXPECT_NEAR(twice.after.objective, 2 * once.after.objective, 1e-9 * once.after.objective);
    for (std::size_t j = 0; j < 3; ++j) {
        // Equal within the solver's own tolerance, far inside the estimate's uncertainty.
        EXPECT_NEAR(twice.parameters[j].value, once.parameters[j].value, 1e-4 * once.parameters[j].standardError);
        EXPECT_NEAR(twice.parameters[j].standardError, once.parameters[j].standardError, 1e-4 * once.parameters[j].standardError);
    }
}

TEST(ParameterFit, IntervalsMatchTheStoredIndependentComputation)
{
    // One noisy data set (40 wells, noise 0.004 mg/L, seed 2024, order 60),
    // fitted unweighted and with the weights 1, 2, 3, 4, 1, 2, … . The stored
    // numbers came from a one-off program on the same data: Gauss–Newton on
    // the values themselves with a Richardson-extrapolated central-difference
    // Jacobian of √w·r, then (JᵀJ)⁻¹ s² with s² = Σ w r² / 37 and Student's
    // t(0.975, 37) = 2.02619246393719, printed to 12 digits.
    struct Stored {
        double value, standardError, lower95, upper95;
    };
    struct Case {
        bool weighted;
        double objective;
        Stored parameters[3];  // AlphaX, AlphaY, C0
    };
    const Case cases[] = {
        {false,
         7.302280104295e-04,
         {{0.989741083226, 0.0874645185241, 0.81252113493, 1.16696103152},
          {0.208883631533, 0.0150278343945, 0.178434346734, 0.239332916332},
          {0.501374173598, 0.00240961123767, 0.496491837468, 0.506256509729}}},
        {true,
         1.877493077941e-03,
         {{0.978402504794, 0.0778223255573, 0.820719495224, 1.13608551436},
          {0.202095846595, 0.0148064625455, 0.172095103768, 0.232096589422},
          {0.501416692887, 0.00233776130813, 0.496679938542, 0.506153447232}}},
    };
    const ModelState truth = initialModel();
    const QuadratureState q = kavrin::test::LoadedQuadrature(60);
    const std::vector<Observation> data = observed(wells(40), truth, q, normalNoise(40, 0.004, 2024));
    const ModelState start = with(truth, {{FitParameter::AlphaX, 2}, {FitParameter::AlphaY, 0.1}, {FitParameter::C0, 0.8}});
    for (const Case& c : cases) {
        FitSettings settings = settingsFor({FitParameter::AlphaX, FitParameter::AlphaY, FitParameter::C0}, start, false);
        if (c.weighted)
            for (int i = 0; i < 40; ++i) settings.weights.push_back(1 + i % 4);
        const FitResult result = FitObservations(data, start, q, settings);
        ASSERT_TRUE(result.identifiable());
        EXPECT_NEAR(result.after.objective, c.objective, 1e-9 * c.objective);
        for (std::size_t j = 0; j < 3; ++j) {
            const Stored& s = c.parameters[j];
            const FittedParameter& fitted = result.parameters[j];
            const double tolerance = 1e-5 * s.standardError;
            EXPECT_NEAR(fitted.value, s.value, tolerance) << j << (c.weighted ? " weighted" : "");
            EXPECT_NEAR(fitted.standardError, s.standardError, tolerance) << j << (c.weighted ? " weighted" : "");
            // The stored intervals are value ± t·se; the fit gives them in log space: value · exp(±t·se/value).
            const double t = (s.upper95 - s.value) / s.standardError, sigma = s.standardError / s.value;
            EXPECT_NEAR(fitted.lower95, s.value * std::exp(-t * sigma), 3 * tolerance) << j << (c.weighted ? " weighted" : "");
            EXPECT_NEAR(fitted.upper95, s.value * std::exp(t * sigma), 3 * tolerance) << j << (c.weighted ? " weighted" : "");
        }
    }
}

// One weight so far above the others that they vanish beside it used to end
// "converged" after one iteration with infinite correlations; weights whose
// squared residuals would leave the number range used to be refused as a
// matter of log residuals.
TEST(ParameterFit, WeightsThatMakeTheProblemSingularOrOverflowAreRefusedNamingTheObservation)
{
    const ModelState truth = initialModel();
    const QuadratureState q = kavrin::test::LoadedQuadrature(20);
    const std::vector<Observation> data = observed(wells(12), truth, q, normalNoise(12, 0.003, 11));
    const ModelState start = with(truth, {{FitParameter::AlphaX, 2}, {FitParameter::C0, 0.8}});
    const std::string heaviest5 =
        "The weight of observation 5 outweighs the others more than 1e8 times: fewer than 3 observations still count in the fit";
    struct Case {
        std::vector<std::pair<std::size_t, double>> weights;  // the others are 1
        std::string failure;
    };
    const Case cases[] = {
        {{{4, 1e308}}, heaviest5},
        {{{4, 1.01e8}}, heaviest5},
        {{{4, 1e12}, {9, 1e12}}, heaviest5},
        {{{4, 0.99e8}}, ""},                       // the others still count, just
        {{{4, 1e12}, {9, 1e12}, {10, 1e12}}, ""},  // three observations determine two parameters
        {{{0, 1e-20}, {1, 1e-300}}, ""},           // ten observations still count
    };
    for (const Case& c : cases) {
        FitSettings settings = settingsFor({FitParameter::AlphaX, FitParameter::C0}, start, false);
        settings.weights.assign(data.size(), 1);
        for (const auto& [i, w] : c.weights) settings.weights[i] = w;
        FitResult result;
        EXPECT_EQ(FailureText([&] { result = FitObservations(data, start, q, settings); }), c.failure) << c.weights[0].second;
        for (const std::vector<double>& row : result.correlation)
            for (double r : row) EXPECT_TRUE(std::isfinite(r)) << c.weights[0].second;
    }

    // Equal weights of 1e300 with one observation 1e5 mg/L away: its weighted square leaves the range.
    std::vector<Observation> far = data;
    far[3].C = 1e5;
    FitSettings settings = settingsFor({FitParameter::AlphaX, FitParameter::C0}, start, false);
    settings.weights.assign(data.size(), 1e300);
    EXPECT_EQ(FailureText([&] { FitObservations(far, start, q, settings); }),
              "The weighted residual of observation 4 goes beyond the largest number there is: check its value and its weight");
    settings.logResiduals = true;
    EXPECT_EQ(FailureText([&] { FitObservations(far, start, q, settings); }), "");
}

TEST(ParameterFit, AValueEndingOnABoundIsMarkedAndGetsNoErrorOrInterval)
{
    // Exact observations of the initial model; one parameter's bounds keep it
    // from its true value on one side, so its optimum is that bound. The decay
    // only lowers concentrations, so above the truth its best is the lowest
    // decay allowed; AlphaX is held below the truth.
    const ModelState truth = initialModel();
    const QuadratureState q = kavrin::test::LoadedQuadrature(60);
    const std::vector<Observation> data = observed(wells(30), truth, q);
    const double a = truth.AlphaX, decay = truth.Decay;
    struct Case {
        FitParameter parameter;
        double start;
        FitBounds bounds;
        BoundReached expected;
        double expectedValue;
    };
    const Case cases[] = {
        {FitParameter::Decay, 5 * decay, {2.5 * decay, 50 * decay}, BoundReached::Lower, 2.5 * decay},
        {FitParameter::AlphaX, a / 4, {a / 10, a / 2}, BoundReached::Upper, a / 2},
    };
    for (const Case& c : cases) {
        const ModelState start = with(truth, {{c.parameter, c.start}});
        FitSettings settings = settingsFor({c.parameter, FitParameter::C0}, start, false);
        settings.bounds[0] = c.bounds;
        const FitResult result = FitObservations(data, start, q, settings);
        ASSERT_TRUE(result.reachedEnd()) << result.solverMessage;
        ASSERT_TRUE(result.identifiable()) << InfoOf(c.parameter).name;
        const FittedParameter& held = result.parameters[0];
        EXPECT_EQ(held.bound, c.expected) << InfoOf(c.parameter).name;
        EXPECT_NEAR(held.value, c.expectedValue, 1e-12 * c.expectedValue);
        EXPECT_FALSE(held.hasInterval());
        EXPECT_EQ(held.standardError, 0);
        EXPECT_EQ(held.lower95, 0);
        EXPECT_EQ(held.upper95, 0);
        // The free parameter keeps its error and a positive interval around its value.
        const FittedParameter& free = result.parameters[1];
        EXPECT_EQ(free.bound, BoundReached::None);
        EXPECT_GT(free.standardError, 0);
        EXPECT_GT(free.lower95, 0);
        EXPECT_LT(free.lower95, free.value);
        EXPECT_GT(free.upper95, free.value);
        ASSERT_EQ(result.correlation.size(), 2u);
        EXPECT_EQ(result.correlation[0][1], 0);
        EXPECT_EQ(result.correlation[1][1], 1);
    }
}

TEST(ParameterFit, IntervalsOfLogarithmsArePositiveAndAsymmetric)
{
    // Few noisy wells leave a wide interval: in log space it stays above zero
    // and reaches further above the value than below it, by exp(±t σ).
    const ModelState truth = initialModel();
    const QuadratureState q = kavrin::test::LoadedQuadrature(60);
    const std::vector<Observation> data = observed(wells(6), truth, q, normalNoise(6, 0.05, 7));
    const ModelState start = with(truth, {{FitParameter::AlphaX, 2}});
    const FitResult result = FitObservations(data, start, q, settingsFor({FitParameter::AlphaX, FitParameter::C0}, start, false));
    ASSERT_TRUE(result.identifiable());
    for (const FittedParameter& p : result.parameters) {
        ASSERT_TRUE(p.hasInterval());
        const double sigma = p.standardError / p.value;
        EXPECT_NEAR(p.lower95, p.value * std::exp(-result.t975 * sigma), 1e-12 * p.value);
        EXPECT_NEAR(p.upper95, p.value * std::exp(result.t975 * sigma), 1e-12 * p.value);
        EXPECT_GT(p.lower95, 0);
        EXPECT_GT(p.upper95 - p.value, p.value - p.lower95);
    }
}
