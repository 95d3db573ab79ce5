// Values no aquifer or source can have are named by field before a run.
#include "model/PhysicalChecks.h"

#include <gtest/gtest.h>

using namespace kavrin;

TEST(PhysicalChecks, TheFirstImpossibleValueIsNamedByItsFieldAndTheLimitsThemselvesPass)
{
    struct Case {
        int edit;
        const char* text;
        std::optional<PhysicalRule> rule;
    };
    const Case cases[] = {
        {17, "0", PhysicalRule::PorosityOutOfRange},
        {17, "-0.1", PhysicalRule::PorosityOutOfRange},
        {17, "2", PhysicalRule::PorosityOutOfRange},
        {17, "1", std::nullopt},
        {17, "1e-9", std::nullopt},
        {14, "-1", PhysicalRule::NegativeOrNotFinite},
        {15, "-0.2", PhysicalRule::NegativeOrNotFinite},
        {16, "-1e-300", PhysicalRule::NegativeOrNotFinite},
        {18, "-0.5", PhysicalRule::NegativeOrNotFinite},
        {19, "-0.01", PhysicalRule::NegativeOrNotFinite},
        {20, "-1", PhysicalRule::NegativeOrNotFinite},
        {2, "-20", PhysicalRule::NegativeOrNotFinite},
        {3, "-3", PhysicalRule::NegativeOrNotFinite},
        {21, "-0.00002", PhysicalRule::NegativeOrNotFinite},
        {20, "0.5", std::nullopt},  // taken as no retardation
        {21, "0", std::nullopt},
        {14, "0", std::nullopt},
        {1, "-5", std::nullopt},    // not a physical property: left to the run's own checks
        {17, "abc", std::nullopt},  // not a number: the conversion names it
    };
    for (const Case& c : cases) {
        ParameterTexts texts = InitialParameterTexts();
        texts.edit[static_cast<std::size_t>(c.edit)] = c.text;
        const std::optional<PhysicalRefusal> refusal = CheckPhysics(texts, '.');
        ASSERT_EQ(refusal.has_value(), c.rule.has_value()) << c.edit << " " << c.text;
        if (!refusal) continue;
        EXPECT_EQ(refusal->edit, c.edit) << c.text;
        EXPECT_EQ(refusal->rule, *c.rule) << c.edit << " " << c.text;
        EXPECT_EQ(refusal->field, FieldOfEdit(c.edit).field);
    }
}

TEST(PhysicalChecks, TheEnglishTextNamesTheFieldAndTheSeparatorOfTheTextsIsRead)
{
    ParameterTexts texts = InitialParameterTexts();
    texts.edit[17] = "1,5";
    texts.edit[14] = "-1,5";  // AlphaX comes before Porosity in the model's order
    const std::optional<PhysicalRefusal> refusal = CheckPhysics(texts, ',');
    ASSERT_TRUE(refusal);
    EXPECT_EQ(EnglishPhysicalRefusalText(*refusal), "The field AlphaX must be a finite number of 0 or more.");
    texts.edit[14] = "1";
    EXPECT_EQ(EnglishPhysicalRefusalText(*CheckPhysics(texts, ',')), "The effective porosity Porosity must be greater than 0 and at most 1.");
}
