#include "model/PhysicalChecks.h"
#include "TestSupport.h"
#include "model/ParameterTexts.h"
#include "model/Variaveis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace kavrin;
using kavrin::test::InitialModel;

namespace {

}  // namespace

TEST(PhysicalChecks, ValuesNoAquiferOrSourceCanHaveAreRefusedByField)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double ModelState::*member;
        double value;
        const char* field;  // nullptr: accepted
        PhysicalRule rule;
    };
    const Case cases[] = {
        {&ModelState::Porosity, 0, "Porosity", PhysicalRule::PorosityOutOfRange},
        {&ModelState::Porosity, 2, "Porosity", PhysicalRule::PorosityOutOfRange},
        {&ModelState::Porosity, -0.2, "Porosity", PhysicalRule::PorosityOutOfRange},
        {&ModelState::Porosity, nan, "Porosity", PhysicalRule::PorosityOutOfRange},
        {&ModelState::Porosity, 1, nullptr, {}},
        {&ModelState::Porosity, 1e-9, nullptr, {}},
        {&ModelState::AlphaX, -1, "AlphaX", PhysicalRule::NegativeOrNotFinite},
        {&ModelState::AlphaY, -1e-300, "AlphaY", PhysicalRule::NegativeOrNotFinite},
        {&ModelState::AlphaZ, inf, "AlphaZ", PhysicalRule::NegativeOrNotFinite},
        {&ModelState::Kxx, -0.5, "Kxx", PhysicalRule::NegativeOrNotFinite},
        {&ModelState::GradH, -0.01, "GradH", PhysicalRule::NegativeOrNotFinite},
        {&ModelState::Retardation, -1, "Retardation", PhysicalRule::NegativeOrNotFinite},
        {&ModelState::Retardation, 0.5, nullptr, {}},  // below 1 the model takes no retardation
        {&ModelState::SourceWidth, -20, "SourceWidth", PhysicalRule::NegativeOrNotFinite},
        {&ModelState::SourceHeight, nan, "SourceHeight", PhysicalRule::NegativeOrNotFinite},
        {&ModelState::Decay, -0.00002, "Decay", PhysicalRule::NegativeOrNotFinite},
        {&ModelState::Decay, 0, nullptr, {}},
        {&ModelState::AlphaX, 0, nullptr, {}},
        {&ModelState::PlaneZ, -5, nullptr, {}},  // a position, not a size
    };
    EXPECT_FALSE(CheckPhysics(InitialModel()));
    for (const Case& c : cases) {
        ModelState m = InitialModel();
        m.*c.member = c.value;
        const std::optional<PhysicalRefusal> refusal = CheckPhysics(m);
        if (!c.field) {
            EXPECT_FALSE(refusal) << refusal->field << " " << c.value;
            continue;
        }
        ASSERT_TRUE(refusal) << c.field << " " << c.value;
        EXPECT_STREQ(refusal->field, c.field);
        EXPECT_EQ(FieldOfEdit(refusal->edit).member, c.member) << c.field;
        EXPECT_EQ(refusal->rule, c.rule) << c.field;
        EXPECT_NE(EnglishPhysicalRefusalText(*refusal).find(std::string("The ") + c.field + " ("), std::string::npos);
    }
}

TEST(PhysicalChecks, TheFirstFieldInTheDataWindowsOrderIsNamed)
{
    ModelState m = InitialModel();
    m.Decay = -1;
    m.Porosity = 0;
    m.AlphaY = -1;
    EXPECT_STREQ(CheckPhysics(m)->field, "AlphaY");
    m.AlphaY = 0.2;
    EXPECT_STREQ(CheckPhysics(m)->field, "Porosity");
}

// Porosity 0 stops the conversion itself; the texts are checked before it.
TEST(PhysicalChecks, TheTextsAreCheckedBeforeTheyBecomeAModel)
{
    ParameterTexts texts = InitialParameterTexts();
    EXPECT_FALSE(CheckPhysics(texts, '.'));
    texts.edit[17] = '0';
    EXPECT_STREQ(CheckPhysics(texts, '.')->field, "Porosity");
    texts.edit[17] = "0,5";
    texts.edit[15] = "-0,1";
    EXPECT_STREQ(CheckPhysics(texts, ',')->field, "AlphaY");
    texts.edit[15] = "abc";  // the conversion names it
    EXPECT_FALSE(CheckPhysics(texts, ','));
}
