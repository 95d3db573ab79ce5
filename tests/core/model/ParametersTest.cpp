#include "TestSupport.h"
#include "model/ParameterTexts.h"
#include "model/Variaveis.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

using namespace kavrin;

namespace {

// A model whose every field holds a sentinel, to see which fields a call wrote.
ModelState sentinelModel()
{
    ModelState m;
    for (const ParameterField& f : kParameterFields) m.*f.member = 777;
    m.Velocity = m.DispX = m.DispY = m.DispZ = 777;
    m.YMin = m.YMax = m.ZMin = m.ZMax = 777;
    m.NX = m.NY = m.GaussOrder = 777;
    return m;
}

}  // namespace

TEST(Variaveis, InitialTextsGiveTheInitialModel)
{
    ModelState m;
    Variaveis(InitialParameterTexts(), m, '.');
    EXPECT_DOUBLE_EQ(m.Velocity, 0.025);
    EXPECT_DOUBLE_EQ(m.DispX, 0.025);
    EXPECT_DOUBLE_EQ(m.DispY, 0.005);
    EXPECT_DOUBLE_EQ(m.DispZ, 0.005);
    EXPECT_EQ(m.NX, 100);
    EXPECT_EQ(m.NY, 60);
    EXPECT_EQ(m.YMin, -10);
    EXPECT_EQ(m.YMax, 10);
    EXPECT_EQ(m.ZMin, -1.5);
    EXPECT_EQ(m.ZMax, 1.5);
    EXPECT_EQ(m.GaussOrder, 60);
    EXPECT_EQ(m.C0, 0.5);
    EXPECT_EQ(m.Decay, 0.00002);
}

TEST(Variaveis, AcceptsEitherSeparatorInTheTexts)
{
    ParameterTexts texts = InitialParameterTexts();
    texts.edit[1] = "0,5";
    ModelState m;
    Variaveis(texts, m, ',');
    EXPECT_EQ(m.C0, 0.5);
    EXPECT_EQ(m.AlphaY, 0.2);
    EXPECT_EQ(texts.edit[15], "0.2");  // the texts themselves are not changed
}

TEST(Variaveis, RetardationBelowOneIsNotApplied)
{
    const std::pair<const char*, double> cases[] = {{"0.5", 0.025}, {"1", 0.025}, {"2", 0.0125}, {"0", 0.025}, {"-3", 0.025}};
    for (const auto& [retardation, velocity] : cases) {
        ParameterTexts texts = InitialParameterTexts();
        texts.edit[20] = retardation;
        ModelState m;
        Variaveis(texts, m, '.');
        EXPECT_DOUBLE_EQ(m.Velocity, velocity) << retardation;
        EXPECT_DOUBLE_EQ(m.DispY, 0.2 * velocity) << retardation;
    }
}

TEST(Variaveis, CellCountsRoundHalvesToEven)
{
    const std::pair<const char*, int> cases[] = {{"2.5", 2}, {"3.5", 4}, {"2.6", 3}, {"-2.5", -2}};
    for (const auto& [x1, cells] : cases) {
        ParameterTexts texts = InitialParameterTexts();
        texts.edit[6] = x1;  // X0 = 0, DX = 1
        ModelState m;
        Variaveis(texts, m, '.');
        EXPECT_EQ(m.NX, cells) << x1;
    }
}

TEST(Variaveis, AFaultyTextKeepsTheFieldsAfterIt)
{
    ParameterTexts texts = InitialParameterTexts();
    texts.edit[7] = "abc";  // DX, taken after C0 … X1 and before Y0
    ModelState m = sentinelModel();
    EXPECT_EQ(kavrin::test::FailureText([&] { Variaveis(texts, m, '.'); }), "'abc' is not a valid floating point value");
    EXPECT_EQ(m.C0, 0.5);
    EXPECT_EQ(m.X1, 100);
    EXPECT_EQ(m.DX, 777);
    EXPECT_EQ(m.Y0, 777);
    EXPECT_EQ(m.Decay, 777);
    EXPECT_EQ(m.Velocity, 777);
    EXPECT_EQ(m.GaussOrder, 777);
}

TEST(Variaveis, AnEmptyTextFails)
{
    ParameterTexts texts = InitialParameterTexts();
    texts.edit[13] = "";
    ModelState m;
    EXPECT_EQ(kavrin::test::FailureText([&] { Variaveis(texts, m, '.'); }), "'' is not a valid floating point value");
}

TEST(Variaveis, DivisionFaultsStopAtTheDerivedField)
{
    struct Case {
        int edit;
        const char* text;
        const char* message;
        bool velocityWritten;
        bool nxWritten;
    };
    const Case cases[] = {
        {17, "0", "Floating point division by zero", false, false},  // porosity
        {7, "0", "Floating point division by zero", true, false},    // DX
        {9, "0", "Floating point division by zero", true, true},     // DY
    };
    for (const Case& c : cases) {
        ParameterTexts texts = InitialParameterTexts();
        texts.edit[static_cast<std::size_t>(c.edit)] = c.text;
        ModelState m = sentinelModel();
        EXPECT_EQ(kavrin::test::FailureText([&] { Variaveis(texts, m, '.'); }), c.message) << c.edit;
        EXPECT_EQ(m.Decay, 0.00002) << "every input field is stored first";
        EXPECT_EQ(m.Velocity != 777, c.velocityWritten) << c.edit;
        EXPECT_EQ(m.NX != 777, c.nxWritten) << c.edit;
        EXPECT_EQ(m.DispX, 777) << c.edit;
        EXPECT_EQ(m.GaussOrder, 777) << c.edit;
    }
    ParameterTexts zeroOverZero = InitialParameterTexts();
    zeroOverZero.edit[17] = "0";
    zeroOverZero.edit[18] = "0";
    ModelState m;
    EXPECT_EQ(kavrin::test::FailureText([&] { Variaveis(zeroOverZero, m, '.'); }), "Invalid floating point operation");
}

TEST(Variaveis, OrderIsAnyDecimalInteger)
{
    ParameterTexts texts = InitialParameterTexts();
    texts.comboBox1 = "10";
    ModelState m;
    Variaveis(texts, m, '.');
    EXPECT_EQ(m.GaussOrder, 10);
    texts.comboBox1 = "abc";
    EXPECT_EQ(kavrin::test::FailureText([&] { Variaveis(texts, m, '.'); }), "''abc'' is not a valid integer value");
    EXPECT_EQ(m.GaussOrder, 10);
}

TEST(ExitRule, EmptyBecomesZeroAndTheSeparatorIsNormalised)
{
    ParameterTexts texts = InitialParameterTexts();
    ModelState m;
    texts.edit[7] = "";
    ApplyExitRule(texts, 7, m, ',');
    EXPECT_EQ(texts.edit[7], "0");
    EXPECT_EQ(m.DX, 0);
    EXPECT_EQ(kavrin::test::FailureText([&] { Variaveis(texts, m, ','); }), "Floating point division by zero");

    texts.edit[21] = "0.00002";
    ApplyExitRule(texts, 21, m, ',');
    EXPECT_EQ(texts.edit[21], "0,00002");
    EXPECT_EQ(m.Decay, 0.00002);

    m.C0 = 9;
    texts.edit[1] = "1.000,5";
    EXPECT_EQ(kavrin::test::FailureText([&] { ApplyExitRule(texts, 1, m, ','); }),
              "'1,000,5' is not a valid floating point value");
    EXPECT_EQ(texts.edit[1], "1,000,5");
    EXPECT_EQ(m.C0, 9);
}

TEST(YRangeMirroring, ThePairSettlesSymmetricAndWhole)
{
    struct Case {
        int edit;
        const char* typed;
        const char* y1;
        const char* y0;
    };
    const Case cases[] = {
        {8, "40", "40", "-40"}, {10, "5", "5", "-5"}, {8, "3.5", "35", "-35"}, {10, "x-y7", "7", "-7"},
        {10, "5-", "5", "-5"},  {10, "-", "30", "-"}, {10, "-0", "0", "-0"},   {8, "-12", "12", "-12"},
        {10, "--8", "8", "-8"}, {8, "", "", "-30"},   {10, "-007", "7", "-7"},
    };
    for (const Case& c : cases) {
        ParameterTexts texts = InitialParameterTexts();
        SetControlText(texts, c.edit, c.typed, '.');
        EXPECT_EQ(texts.edit[8], c.y1) << "Edit" << c.edit << " " << c.typed;
        EXPECT_EQ(texts.edit[10], c.y0) << "Edit" << c.edit << " " << c.typed;
    }
}

TEST(YRangeMirroring, TheControlAssignedLastDecides)
{
    ParameterTexts texts = InitialParameterTexts();
    SetControlText(texts, 8, "200", '.');
    SetControlText(texts, 10, "-150", '.');
    EXPECT_EQ(texts.edit[8], "150");
    EXPECT_EQ(texts.edit[10], "-150");
}

TEST(ArrumaCampos, NormalisesEveryEditText)
{
    ParameterTexts texts = InitialParameterTexts();
    ArrumaCampos(texts, ',');
    EXPECT_EQ(texts.edit[1], "0,5");
    EXPECT_EQ(texts.edit[21], "0,00002");
    EXPECT_EQ(texts.edit[10], "-30");
    EXPECT_EQ(texts.comboBox1, "60");
}

TEST(ControlNames, FieldAndControlNamesMeetTheSameControl)
{
    EXPECT_EQ(ControlOfName("DX"), 7);
    EXPECT_EQ(ControlOfName("Edit7"), 7);
    EXPECT_EQ(ControlOfName("Porosity"), 17);
    EXPECT_EQ(ControlOfName("GaussOrder"), 0);
    EXPECT_EQ(ControlOfName("ComboBox1"), 0);
    EXPECT_FALSE(ControlOfName("Edit22").has_value());
    EXPECT_FALSE(ControlOfName("dx").has_value());
}
