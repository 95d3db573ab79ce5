// The draws: counter-based numbers, Latin hypercube strata, the truncated
// inverse distribution functions and the fit's joint draw.
#include "uncertainty/RealizationDraws.h"
#include "UncertaintyFixture.h"
#include "uncertainty/UncertainParameters.h"
#include "uncertainty/VariedParameterText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace kavrin;
using kavrin::test::SettingsAt;
using kavrin::test::SmallPlume;

TEST(RealizationDraws, LatinHypercubePutsOneRealizationInEveryStratumOfEveryParameter)
{
    for (std::uint64_t n : {2ull, 7ull, 1000ull, 4099ull}) {
        UncertaintySettings settings = SettingsAt(100, n);
        settings.latinHypercube = true;
        for (const char* text : {"C0=normal:1,0.1", "AlphaX=uniform:1,20", "Kxx=lognormal:1,2"})
            settings.varied.push_back(ParseVariedParameter(text, '.'));
        const RealizationDraws draws(settings);
        for (std::size_t d = 0; d < draws.dimensions(); ++d) {
            std::set<std::uint64_t> strata;
            for (std::uint64_t k = 0; k < n; ++k) {
                const std::uint64_t stratum = draws.stratum(k, d);
                const double u = draws.uniform(k, d);
                EXPECT_GE(u * static_cast<double>(n), static_cast<double>(stratum) - 1e-9) << n << " " << d << " " << k;
                EXPECT_LE(u * static_cast<double>(n), static_cast<double>(stratum + 1) + 1e-9) << n << " " << d << " " << k;
                strata.insert(stratum);
            }
            EXPECT_EQ(strata.size(), n) << "dimension " << d;
            EXPECT_EQ(*strata.rbegin(), n - 1);
        }
    }
}

TEST(RealizationDraws, StrataDifferBetweenParametersAndSeeds)
{
    const StratumPermutation a(1000, 1, 0), b(1000, 1, 1), c(1000, 2, 0);
    int sameAB = 0, sameAC = 0;
    for (std::uint64_t k = 0; k < 1000; ++k) {
        sameAB += a(k) == b(k);
        sameAC += a(k) == c(k);
    }
    EXPECT_LT(sameAB, 10);
    EXPECT_LT(sameAC, 10);
}

TEST(RealizationDraws, ARealizationsNumbersDependOnSeedRealizationAndStreamOnly)
{
    const double u = CounterUniform(5, 123456, 2);
    EXPECT_EQ(u, CounterUniform(5, 123456, 2));
    EXPECT_NE(u, CounterUniform(6, 123456, 2));
    EXPECT_NE(u, CounterUniform(5, 123457, 2));
    EXPECT_NE(u, CounterUniform(5, 123456, 3));
    double sum = 0;
    for (std::uint64_t k = 0; k < 100000; ++k) {
        const double v = CounterUniform(1, k, 0);
        ASSERT_GT(v, 0);
        ASSERT_LT(v, 1);
        sum += v;
    }
    EXPECT_NEAR(sum / 100000, 0.5, 4 * std::sqrt(1.0 / 12 / 100000));
}

TEST(RealizationDraws, NormalQuantileInvertsTheDistributionFunctionToFullPrecision)
{
    for (double p : {1e-300, 1e-20, 1e-6, 0.01, 0.02425, 0.3, 0.5, 0.7, 0.97575, 0.99, 1 - 1e-9}) {
        const double x = NormalQuantile(p);
        EXPECT_NEAR(NormalCdf(x) / p, 1, 1e-13) << p;
    }
    EXPECT_NEAR(NormalQuantile(0.975), 1.959963984540054, 1e-14);
}

TEST(RealizationDraws, TruncationMapsTheNumberIntoThePhysicalPartOfTheDistribution)
{
    // Porosity ~ normal(0.9, 0.2) kept in (0, 1]: the quantile of p within [F(0), F(1)].
    const Distribution porosity{DistributionKind::Normal, 0.9, 0.2};
    const double from = NormalCdf((0 - 0.9) / 0.2), to = NormalCdf((1 - 0.9) / 0.2);
    for (double p : {1e-9, 0.1, 0.5, 0.9, 1 - 1e-12}) {
        const double value = TruncatedQuantile(porosity, p, 0, 1);
        EXPECT_GT(value, 0);
        EXPECT_LE(value, 1);
        EXPECT_NEAR(NormalCdf((value - 0.9) / 0.2), from + p * (to - from), 1e-12) << p;
    }
    // A drawn model keeps every varied value physical and is the same for the same k.
    UncertaintySettings settings = SettingsAt(100, 500);
    for (const char* text : {"AlphaX=normal:1,3", "Porosity=normal:0.9,0.2", "Retardation=uniform:0,3", "C0=triangular:-1,0,2"})
        settings.varied.push_back(ParseVariedParameter(text, '.'));
    const RealizationDraws draws(settings);
    const ModelState base = SmallPlume();
    for (std::uint64_t k = 0; k < 500; ++k) {
        const ModelState m = draws.model(base, k);
        EXPECT_GT(m.AlphaX, 0);
        EXPECT_GT(m.Porosity, 0);
        EXPECT_LE(m.Porosity, 1);
        EXPECT_GE(m.Retardation, 1);
        EXPECT_GE(m.C0, 0);
        EXPECT_EQ(m.DispX, m.AlphaX * m.Velocity);  // derived again
    }
    EXPECT_EQ(draws.model(base, 77).AlphaX, draws.model(base, 77).AlphaX);
}

TEST(RealizationDraws, TheFitsParametersAreDrawnWithTheirCorrelation)
{
    UncertaintySettings settings = SettingsAt(100, 4000);
    settings.latinHypercube = true;
    const double sa = 0.3, sk = 0.2, r = 0.8;
    settings.fromFit = FitDraw{
        {"AlphaX", "Kxx"}, {true, true}, {std::log(10.0), std::log(2.0)}, {{sa * sa, r * sa * sk}, {r * sa * sk, sk * sk}}};
    const RealizationDraws draws(settings);
    const ModelState base = SmallPlume();
    double ma = 0, mk = 0, caa = 0, ckk = 0, cak = 0;
    std::vector<std::pair<double, double>> logs;
    for (std::uint64_t k = 0; k < 4000; ++k) {
        const ModelState m = draws.model(base, k);
        logs.emplace_back(std::log(m.AlphaX), std::log(m.Kxx));
        ma += logs.back().first / 4000;
        mk += logs.back().second / 4000;
    }
    for (const auto& [a, kk] : logs) {
        caa += (a - ma) * (a - ma);
        ckk += (kk - mk) * (kk - mk);
        cak += (a - ma) * (kk - mk);
    }
    EXPECT_NEAR(ma, std::log(10.0), 0.01);
    EXPECT_NEAR(mk, std::log(2.0), 0.01);
    EXPECT_NEAR(std::sqrt(caa / 3999), sa, 0.01);
    EXPECT_NEAR(std::sqrt(ckk / 3999), sk, 0.01);
    EXPECT_NEAR(cak / std::sqrt(caa * ckk), r, 0.02);
}

TEST(RealizationDraws, CholeskyRefusesASingularOrAsymmetricMatrix)
{
    EXPECT_FALSE(CholeskyFactor({{4, 2}, {2, 2}}).empty());
    EXPECT_TRUE(CholeskyFactor({{1, 1}, {1, 1}}).empty());
    EXPECT_TRUE(CholeskyFactor({{1, 0.5}, {0.4, 1}}).empty());
    EXPECT_TRUE(CholeskyFactor({{1, 2}, {2, 1}}).empty());
}
