#include "calibration/ObservationWeights.h"
#include "TestSupport.h"
#include "calibration/FitMessage.h"

#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::FailureText;

TEST(ObservationWeights, EmptyIsOneAndEveryWeightMustBeAPositiveNumber)
{
    const std::vector<Observation> observations = {{2}, {0.5}, {4}};
    EXPECT_EQ(ObservationWeights({"", " ", "2,5"}, observations, WeightRule::Table, 0, ','), (std::vector<double>{1, 1, 2.5}));
    EXPECT_EQ(ObservationWeights({}, observations, WeightRule::Table, 0, '.'), (std::vector<double>{1, 1, 1}));
    // Relative: the table's weight over the observed value squared.
    EXPECT_EQ(ObservationWeights({"", "2", "16"}, observations, WeightRule::Relative, 0, '.'), (std::vector<double>{0.25, 8, 1}));

    struct Case {
        std::vector<std::string> texts;
        std::string failure;
    };
    const Case cases[] = {
        {{"1", "abc", "1"}, "The weight of observation 2 (\"abc\") must be a number above zero"},
        {{"1", "1", "0"}, "The weight of observation 3 (\"0\") must be a number above zero"},
        {{"-2", "1", "1"}, "The weight of observation 1 (\"-2\") must be a number above zero"},
        {{"1", "1e999", "1"}, "The weight of observation 2 (\"1e999\") must be a number above zero"},
    };
    for (const Case& c : cases) {
        try {
            ObservationWeights(c.texts, observations, WeightRule::Table, 0, '.');
            ADD_FAILURE() << c.failure;
        } catch (const FitRefusal& refusal) {
            EXPECT_EQ(std::string(refusal.what()), c.failure);
            EXPECT_EQ(refusal.message().id, FitMessageId::BadWeight);
            EXPECT_EQ(refusal.message().arguments.size(), 2u);
        }
    }
    const std::vector<Observation> withZero = {{2}, {0}, {4}};
    EXPECT_EQ(FailureText([&] { ObservationWeights({}, withZero, WeightRule::Relative, 0, '.'); }),
              "Relative weights need observation 2 above zero (or a detection limit)");
    EXPECT_EQ(ObservationWeights({}, withZero, WeightRule::Relative, 0.5, '.'), (std::vector<double>{0.25, 4, 1.0 / 16}));
}
