// The maps against closed forms: with only C0 uncertain the field is C0 times
// the deterministic field of C0 = 1, so each node's probability of exceedance
// and percentiles follow from C0's distribution.
#include "UncertaintyFixture.h"
#include "solution/FieldKernel.h"
#include "uncertainty/RealizationDraws.h"
#include "uncertainty/UncertaintyRun.h"
#include "uncertainty/VariedParameterText.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kavrin;
using kavrin::test::LoadedQuadrature;
using kavrin::test::SettingsAt;
using kavrin::test::SmallPlume;

namespace {

constexpr double kTime = 1000;

// The field of C0 = 1 mg/L.
std::vector<double> unitField(const ModelState& model, const QuadratureState& q)
{
    ModelState unit = model;
    unit.C0 = 1;
    TimeField field;
    ComputeTimeField(kTime, unit, q, 1, field);
    return {field.values.begin(), field.values.end()};
}

}  // namespace

TEST(UncertaintyAccuracy, ExceedanceOfANormalC0LiesWithinFourBinomialErrorsOfItsClosedForm)
{
    const ModelState model = SmallPlume();
    const QuadratureState q = LoadedQuadrature(model.GaussOrder);
    constexpr std::uint64_t n = 4000;
    UncertaintySettings settings = SettingsAt(kTime, n);
    settings.varied = {ParseVariedParameter("C0=normal:1,0.3", '.')};
    settings.thresholds = {{0.01, "0.01"}, {0.02, "0.02"}, {0.05, "0.05"}, {0.1, "0.1"}, {0.2, "0.2"}, {0.3, "0.3"}};
    const auto results = RunUncertainty(model, q, settings, 2, {}, nullptr);
    ASSERT_TRUE(results);
    const std::vector<double> unit = unitField(model, q);
    // C0 is kept at 0 or more: the normal restricted to [0, ∞).
    const double kept = 1 - NormalCdf(-1 / 0.3);
    int tested = 0;
    for (std::size_t t = 0; t < settings.thresholds.size(); ++t) {
        for (std::size_t node = 0; node < unit.size(); ++node) {
            if (!(unit[node] > 0)) continue;
            const double p = (1 - NormalCdf((settings.thresholds[t].value / unit[node] - 1) / 0.3)) / kept;
            if (!(p > 0.01 && p < 0.99)) continue;
            ++tested;
            EXPECT_LE(std::fabs(results->times[0].exceedance[t][node] - p), 4 * std::sqrt(p * (1 - p) / n))
                << "node " << node << " threshold " << t << ": " << results->times[0].exceedance[t][node] << " against " << p;
        }
    }
    EXPECT_GT(tested, 50);
}

TEST(UncertaintyAccuracy, PercentilesOfALognormalC0AreTheScaledFieldWithinTheHistogramsResolution)
{
    const ModelState model = SmallPlume();
    const QuadratureState q = LoadedQuadrature(model.GaussOrder);
    UncertaintySettings settings = SettingsAt(kTime, 4000);
    settings.latinHypercube = true;
    settings.varied = {ParseVariedParameter("C0=lognormal:2,1.6", '.')};
    const auto results = RunUncertainty(model, q, settings, 2, {}, nullptr);
    ASSERT_TRUE(results);
    const std::vector<double> unit = unitField(model, q);
    const UncertaintyMaps& maps = results->times[0];
    const std::pair<double, const std::vector<double>*> percentiles[] = {{0.05, &maps.p05}, {0.5, &maps.p50}, {0.95, &maps.p95}};
    int tested = 0;
    for (const auto& [p, map] : percentiles) {
        const double scale = 2 * std::pow(1.6, NormalQuantile(p));
        for (std::size_t node = 0; node < unit.size(); ++node) {
            const double expected = unit[node] * scale;
            if (!(expected > std::ldexp(1.0, kLowestOctave + 1))) continue;
            ++tested;
            // Bins are at most a factor 1.25 wide.
            EXPECT_LE(std::fabs(std::log((*map)[node] / expected)), std::log(1.25)) << "p " << p << " node " << node;
        }
    }
    EXPECT_GT(tested, 300);
}

TEST(UncertaintyAccuracy, MeanAndStandardDeviationOfANormalC0ScaleTheField)
{
    const ModelState model = SmallPlume();
    const QuadratureState q = LoadedQuadrature(model.GaussOrder);
    UncertaintySettings settings = SettingsAt(kTime, 2000);
    settings.latinHypercube = true;
    settings.varied = {ParseVariedParameter("C0=uniform:1,3", '.')};
    const auto results = RunUncertainty(model, q, settings, 1, {}, nullptr);
    ASSERT_TRUE(results);
    const std::vector<double> unit = unitField(model, q);
    for (std::size_t node = 0; node < unit.size(); ++node) {
        if (!(unit[node] > 1e-6)) continue;
        // Latin hypercube: the strata's means are the uniform's to 1/N².
        EXPECT_NEAR(results->times[0].mean[node] / unit[node], 2, 1e-5) << node;
        EXPECT_NEAR(results->times[0].sd[node] / unit[node], 2 / std::sqrt(12.0), 1e-3) << node;
    }
}
