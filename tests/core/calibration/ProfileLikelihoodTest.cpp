#include "fit/ProfileLikelihood.h"
#include "FitWells.h"
#include "TestSupport.h"
#include "fit/ParameterFit.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kavrin;

namespace {

struct NoisyFit {
    ModelState truth = kavrin::test::InitialModel();
    QuadratureState q = kavrin::test::LoadedQuadrature(60);
    std::vector<Observation> observations;
    FitSettings settings;
    FitResult optimum;

    NoisyFit(int wells, double noise, std::vector<FitParameter> parameters)
    {
        observations = kavrin::test::observed(kavrin::test::Wells(wells), truth, q,
                                              kavrin::test::normalNoise(static_cast<std::size_t>(wells), noise, 5));
        settings.parameters = parameters;
        for (FitParameter p : parameters) settings.bounds.push_back(DefaultBounds(p, InfoOf(p).get(truth)));
        settings.workers = 2;
        optimum = FitObservations(observations, truth, q, settings);
    }
    // The objective with AlphaY at `alphaY` and C0 at its best for it: the
    // concentrations are proportional to C0, so that best is Σ o f / Σ f².
    double objectiveWithBestC0(double alphaY) const
    {
        ModelState model = truth;
        model.AlphaY = alphaY;
        model.C0 = 1;
        DeriveModelFields(model);
        const std::vector<double> f = CalculatedConcentrations(observations, model, q, 2);
        double of = 0, ff = 0;
        for (std::size_t i = 0; i < f.size(); ++i) {
            of += observations[i].C * f[i];
            ff += f[i] * f[i];
        }
        double s = 0;
        for (std::size_t i = 0; i < f.size(); ++i) s += std::pow(observations[i].C - of / ff * f[i], 2);
        return s;
    }
};

}  // namespace

TEST(ProfileLikelihood, EqualsTheLinearisedIntervalOnANearlyLinearCase)
{
    // Many wells and little noise: the objective is nearly quadratic in the log coordinates.
    const NoisyFit c(60, 1e-5, {FitParameter::AlphaX, FitParameter::C0, FitParameter::Kxx});
    ASSERT_TRUE(c.optimum.reachedEnd() && c.optimum.identifiable()) << c.optimum.solverMessage;
    for (const FittedParameter& fitted : c.optimum.parameters) {
        const ProfileInterval profile = ProfileLikelihoodInterval(c.observations, c.q, c.settings, c.optimum, fitted.parameter);
        const double lowerLinear = std::log(fitted.value / fitted.lower95), upperLinear = std::log(fitted.upper95 / fitted.value);
        EXPECT_NEAR(std::log(fitted.value / profile.lower), lowerLinear, 0.02 * lowerLinear) << InfoOf(fitted.parameter).name;
        EXPECT_NEAR(std::log(profile.upper / fitted.value), upperLinear, 0.02 * upperLinear) << InfoOf(fitted.parameter).name;
        EXPECT_FALSE(profile.lowerAtBound || profile.upperAtBound);
        EXPECT_GT(profile.fits, 2);
    }
}

TEST(ProfileLikelihood, FollowsAnAsymmetricObjectiveAsABruteForceScanDoes)
{
    // Few wells and noise: AlphaY's objective rises unevenly on its two sides.
    const NoisyFit c(12, 0.006, {FitParameter::AlphaY, FitParameter::C0});
    ASSERT_TRUE(c.optimum.reachedEnd() && c.optimum.identifiable()) << c.optimum.solverMessage;
    const double best = c.optimum.parameters[0].value;
    const ProfileInterval profile = ProfileLikelihoodInterval(c.observations, c.q, c.settings, c.optimum, FitParameter::AlphaY);
    const double threshold = c.optimum.after.objective * (1 + std::pow(c.optimum.t975, 2) / c.optimum.degreesOfFreedom);
    EXPECT_NEAR(profile.threshold, threshold, 1e-9 * threshold);

    // The scan: the first values where the objective passes the threshold, on
    // a grid of log(AlphaY) a thousandth of the linearised half-width apart,
    // then linear between the two grid points around it.
    const double step = 1e-3 * std::log(c.optimum.parameters[0].upper95 / best);
    const auto crossing = [&](double direction) {
        double previous = c.objectiveWithBestC0(best) - threshold, at = std::log(best);
        for (int steps = 0; steps < 5000; ++steps) {
            const double next = at + direction * step, value = c.objectiveWithBestC0(std::exp(next)) - threshold;
            if (value > 0) return std::exp(at + (next - at) * (-previous) / (value - previous));
            previous = value;
            at = next;
        }
        return std::nan("");
    };
    const double lower = crossing(-1), upper = crossing(1);
    EXPECT_NEAR(profile.lower, lower, 1e-3 * (upper - lower));
    EXPECT_NEAR(profile.upper, upper, 1e-3 * (upper - lower));
    // Asymmetric in the fitted coordinate itself, where the linearised interval is symmetric.
    const double ratio = std::log(upper / best) / std::log(best / lower);
    EXPECT_TRUE(ratio > 1.1 || ratio < 1 / 1.1) << ratio;
}

TEST(ProfileLikelihood, AnEndOnTheBoundSaysSo)
{
    NoisyFit c(12, 0.02, {FitParameter::AlphaY, FitParameter::C0});
    c.settings.bounds[0] = {c.optimum.parameters[0].value * 0.999, 20};
    const ProfileInterval profile = ProfileLikelihoodInterval(c.observations, c.q, c.settings, c.optimum, FitParameter::AlphaY);
    EXPECT_TRUE(profile.lowerAtBound);
    EXPECT_EQ(profile.lower, c.settings.bounds[0].lower);
    EXPECT_FALSE(profile.upperAtBound);
}
