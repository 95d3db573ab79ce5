#include "calibration/FitSetup.h"
#include "TestSupport.h"
#include "model/Variaveis.h"

#include <gtest/gtest.h>

using namespace kavrin;

namespace {

ModelState modelOfOrder(int gaussOrder)
{
    ModelState model;
    Variaveis(InitialParameterTexts(), model, '.');
    model.GaussOrder = gaussOrder;
    return model;
}

std::vector<Observation> someObservations()
{
    return {{0.5, 10, 0, 0, 1500}, {0.2, 20, 2, 0, 1500}, {0.1, 30, -2, 0, 2000}, {0.05, 40, 0, 0, 2500}};
}

}  // namespace

// The window and kavrin-batch-fit both come here: a model order above 60
// first passes at order 60; the order in effect stays for orders outside the table.
TEST(FitSetup, AnOrderAbove60GetsAFirstPassAt60)
{
    struct Case {
        int modelOrder, inEffect, fitOrder;
        bool coarse;
    };
    const Case cases[] = {
        {256, 4, 256, true}, {104, 4, 104, true}, {60, 4, 60, false}, {20, 104, 20, false}, {7, 104, 104, true}};
    for (const Case& c : cases) {
        FitChoices choices;
        choices.parameters = {FitParameter::AlphaX};
        const std::unique_ptr<FitSetup> setup =
            SetUpFit(choices, someObservations(), modelOfOrder(c.modelOrder), kavrin::test::LoadedQuadrature(c.inEffect),
                     kavrin::test::ValoresPath(), '.');
        EXPECT_EQ(setup->quadrature.GaussN, kavrin::test::LoadedQuadrature(c.fitOrder).GaussN) << c.modelOrder;
        EXPECT_EQ(setup->settings.coarseQuadrature != nullptr, c.coarse) << c.modelOrder;
        if (c.coarse) {
            EXPECT_EQ(setup->settings.coarseQuadrature, &setup->coarse);
            EXPECT_EQ(setup->coarse.GaussN, kavrin::test::LoadedQuadrature(60).GaussN);
        }
        EXPECT_EQ(setup->iterationBound(), c.coarse ? 400 : 200) << c.modelOrder;
        EXPECT_GE(setup->settings.workers, 1u);
    }
}

TEST(FitSetup, BoundsDefaultAroundTheStartAndWeightsFollowTheirRule)
{
    const ModelState model = modelOfOrder(20);
    FitChoices choices;
    choices.parameters = {FitParameter::AlphaX, FitParameter::Decay};
    choices.bounds = {std::nullopt, FitBounds{0, 0.5}};
    choices.logResiduals = true;
    choices.detectionLimit = 0.3;
    choices.weightRule = WeightRule::Relative;
    choices.weightTexts = {"", "4", "", "2"};
    const std::unique_ptr<FitSetup> setup =
        SetUpFit(choices, someObservations(), model, QuadratureState(), kavrin::test::ValoresPath(), '.');
    const FitSettings& s = setup->settings;
    EXPECT_EQ(s.parameters, choices.parameters);
    ASSERT_EQ(s.bounds.size(), 2u);
    EXPECT_EQ(s.bounds[0].lower, DefaultBounds(FitParameter::AlphaX, model.AlphaX).lower);
    EXPECT_EQ(s.bounds[0].upper, DefaultBounds(FitParameter::AlphaX, model.AlphaX).upper);
    EXPECT_EQ(s.bounds[1].upper, 0.5);
    EXPECT_TRUE(s.logResiduals);
    EXPECT_EQ(s.detectionLimit, 0.3);
    // Relative: the weight over the observed value squared, the limit below it.
    EXPECT_EQ(s.weights, (std::vector<double>{1 / (0.5 * 0.5), 4 / (0.3 * 0.3), 1 / (0.3 * 0.3), 2 / (0.3 * 0.3)}));

    choices.weightTexts = {"", "none"};
    EXPECT_EQ(kavrin::test::FailureText(
                  [&] { SetUpFit(choices, someObservations(), model, QuadratureState(), kavrin::test::ValoresPath(), '.'); }),
              "The weight of observation 2 (\"none\") must be a number above zero");
}
