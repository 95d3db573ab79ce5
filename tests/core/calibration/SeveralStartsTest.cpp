#include "fit/SeveralStarts.h"
#include "FitWells.h"
#include "TestSupport.h"
#include "fit/ParameterFit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

using namespace kavrin;

namespace {

// Three wells 11 m off the axis, just beyond the source's edge, and a light
// one on it: the off-axis concentrations rise with AlphaY while the plume
// widens to reach them, then fall as it thins, so the objective has its
// minimum at the true 0.1 and a second, higher one near 11 behind a ridge near 1.6.
struct TwoMinima {
    ModelState truth = kavrin::test::InitialModel();
    QuadratureState q = kavrin::test::LoadedQuadrature(60);
    std::vector<Observation> observations;
    FitSettings settings;

    TwoMinima()
    {
        truth.AlphaY = 0.1;
        DeriveModelFields(truth);
        observations = kavrin::test::observed(
            {{0, 20, 11, 0, 1500}, {0, 30, 11, 0, 1500}, {0, 40, 11, 0, 1500}, {0, 30, 0, 0, 1500}}, truth, q);
        settings.parameters = {FitParameter::AlphaY};
        settings.bounds = {{0.01, 40}};
        settings.weights = {1, 1, 1, 1e-3};
        settings.workers = 2;
    }
    ModelState startingAt(double alphaY) const
    {
        ModelState start = truth;
        start.AlphaY = alphaY;
        DeriveModelFields(start);
        return start;
    }
};

}  // namespace

TEST(SeveralStarts, OneStartFromTheWrongSideEndsInTheOtherMinimumSeveralFindTheGlobalOne)
{
    const TwoMinima c;
    const FitResult single = FitObservations(c.observations, c.startingAt(20), c.q, c.settings);
    ASSERT_TRUE(single.reachedEnd()) << single.solverMessage;
    EXPECT_GT(single.parameters[0].value, 5);
    EXPECT_GT(single.after.objective, 1e-5);

    const SeveralStartsResult several = FitFromSeveralStarts(c.observations, c.startingAt(20), c.q, c.settings, 8, 1);
    ASSERT_TRUE(several.best.reachedEnd()) << several.best.solverMessage;
    EXPECT_NEAR(several.best.parameters[0].value, 0.1, 1e-6);
    EXPECT_LT(several.best.after.objective, 1e-20);
    EXPECT_EQ(several.starts, 8);
    EXPECT_EQ(several.failed, 0);
    EXPECT_GE(several.reachedBest, 1);
    ASSERT_EQ(several.others.size(), 1u);
    EXPECT_NEAR(several.others[0].values[0], single.parameters[0].value, 1e-4 * single.parameters[0].value);
    EXPECT_NEAR(several.others[0].objective, single.after.objective, 1e-6 * single.after.objective);
    EXPECT_EQ(several.reachedBest + several.others[0].starts, 8);
}

TEST(SeveralStarts, TheSameSeedGivesTheSameResultWhateverTheWorkers)
{
    TwoMinima c;
    const SeveralStartsResult first = FitFromSeveralStarts(c.observations, c.startingAt(20), c.q, c.settings, 6, 7);
    c.settings.workers = 1;
    const SeveralStartsResult again = FitFromSeveralStarts(c.observations, c.startingAt(20), c.q, c.settings, 6, 7);
    EXPECT_EQ(first.best.parameters[0].value, again.best.parameters[0].value);
    EXPECT_EQ(first.reachedBest, again.reachedBest);
    ASSERT_EQ(first.others.size(), again.others.size());
    for (std::size_t k = 0; k < first.others.size(); ++k) EXPECT_EQ(first.others[k].values, again.others[k].values);
    EXPECT_NE(LatinHypercubeStarts(c.settings, 6, 7), LatinHypercubeStarts(c.settings, 6, 8));
}

TEST(SeveralStarts, LatinHypercubeHasOnePointInEachStratumOfEveryParameter)
{
    FitSettings settings;
    settings.parameters = {FitParameter::AlphaX, FitParameter::Decay, FitParameter::C0};
    settings.bounds = {{0.01, 100}, {0, 1}, {1, 2}};  // log, linear, log coordinates
    const int n = 20;
    const std::vector<std::vector<double>> points = LatinHypercubeStarts(settings, n, 42);
    ASSERT_EQ(points.size(), static_cast<std::size_t>(n));
    for (std::size_t j = 0; j < settings.parameters.size(); ++j) {
        const bool positive = InfoOf(settings.parameters[j]).positive;
        const auto coordinate = [&](double v) { return positive ? std::log(v) : v; };
        const double low = coordinate(settings.bounds[j].lower), high = coordinate(settings.bounds[j].upper);
        std::set<int> strata;
        for (const std::vector<double>& point : points) {
            EXPECT_GE(point[j], settings.bounds[j].lower);
            EXPECT_LE(point[j], settings.bounds[j].upper);
            strata.insert(static_cast<int>(std::floor((coordinate(point[j]) - low) / (high - low) * n)));
        }
        EXPECT_EQ(strata.size(), static_cast<std::size_t>(n)) << InfoOf(settings.parameters[j]).name;
    }
}

TEST(SeveralStarts, RefusesWhatASingleFitRefusesAndStopsWhenCancelled)
{
    TwoMinima c;
    c.settings.bounds = {{1, 40}};  // the start's 0.1 is outside
    EXPECT_THROW(FitFromSeveralStarts(c.observations, c.startingAt(0.1), c.q, c.settings, 4, 1), FitRefusal);
    c.settings.bounds = {{0.01, 40}};
    int calls = 0;
    c.settings.progress = [&](int, double) { return ++calls < 2; };
    c.settings.workers = 1;
    const SeveralStartsResult cancelled = FitFromSeveralStarts(c.observations, c.startingAt(20), c.q, c.settings, 6, 1);
    EXPECT_EQ(cancelled.best.stop, FitStop::Cancelled);
    EXPECT_LE(calls, 3);
}
