#include "model/SourceTextRules.h"
#include "TestSupport.h"
#include "model/Variaveis.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace kavrin;
using kavrin::test::FailureText;
using kavrin::test::InitialModel;

namespace {

// The initial model: X1 = 100, the first zone 20 m × 3 m at 0.5 mg/L centred on (0, 0).
std::optional<SourceRefusal> check(const SourceTexts& texts, char separator = '.')
{
    return CheckSourceTexts(texts, InitialModel(), separator);
}

}  // namespace

TEST(SourceTextRules, EachRuleRefusesByNameAndGroup)
{
    struct Case {
        SourceTexts texts;
        SourceRefusal refusal;
    };
    const Case cases[] = {
        {{{"SourceColour", "red"}}, {"SourceColour", SourceRule::UnknownName}},
        {{{"sourcehistory", "decay"}}, {"sourcehistory", SourceRule::UnknownName}},
        {{{"SourceHistory", "Decay"}}, {"SourceHistory", SourceRule::UnknownHistory}},
        {{{"SourceHistory", ""}}, {"SourceHistory", SourceRule::MissingValue}},
        {{{"SourceHistory", "decay"}, {"SourceDecay", "abc"}}, {"SourceDecay", SourceRule::NotANumber}},
        {{{"SourceHistory", "decay"}, {"SourceDecay", "0"}}, {"SourceDecay", SourceRule::NotPositive}},
        {{{"SourceHistory", "decay"}, {"SourceDecay", "-0.01"}}, {"SourceDecay", SourceRule::NotPositive}},
        {{{"SourceHistory", "decay"}, {"SourceHalfLife", "0"}}, {"SourceHalfLife", SourceRule::NotPositive}},
        {{{"SourceHistory", "decay"}, {"SourceHalfLife", "-30"}}, {"SourceHalfLife", SourceRule::NotPositive}},
        {{{"SourceHistory", "decay"}, {"SourceHalfLife", "1e-320"}},
         {"SourceHalfLife", SourceRule::NotPositive}},  // ln 2 / h overflows
        {{{"SourceHistory", "decay"}, {"SourceDecay", "1e999"}}, {"SourceDecay", SourceRule::NotANumber}},
        {{{"SourceHistory", "decay"}}, {"SourceDecay", SourceRule::MissingValue}},
        {{{"SourceHistory", "stop"}, {"ReleaseEnd", "0"}}, {"ReleaseEnd", SourceRule::NotPositive}},
        {{{"SourceHistory", "stop"}, {"ReleaseEnd", "-5"}}, {"ReleaseEnd", SourceRule::NotPositive}},
        {{{"SourceHistory", "stop"}}, {"ReleaseEnd", SourceRule::MissingValue}},
        {{{"SourceHistory", "steps"}}, {"SourceSteps", SourceRule::MissingValue}},
        {{{"SourceSteps", "0 1|100 0.5|100 0.2"}}, {"SourceSteps", SourceRule::StepsNotIncreasing, 3}},
        {{{"SourceSteps", "0 1|100 0.5|50 0.2"}}, {"SourceSteps", SourceRule::StepsNotIncreasing, 3}},
        {{{"SourceSteps", "0 1|100"}}, {"SourceSteps", SourceRule::NotANumber, 2}},
        {{{"SourceSteps", "0 1|100 0.5 3"}}, {"SourceSteps", SourceRule::NotANumber, 2}},
        {{{"SourceSteps", "0 1|"}}, {"SourceSteps", SourceRule::NotANumber, 2}},
        {{{"SourceSteps", "0;5 1"}}, {"SourceSteps", SourceRule::NotANumber, 1}},
        {{{"SourceSteps", "-1 1"}}, {"SourceSteps", SourceRule::NotPositive, 1}},
        {{{"SourceSteps", "0 1|10 -0.5"}}, {"SourceSteps", SourceRule::NotPositive, 2}},
        {{{"SourceCentre", "5"}}, {"SourceCentre", SourceRule::NotANumber}},
        {{{"SourceCentre", "5 0|1 1"}}, {"SourceCentre", SourceRule::NotANumber}},
        {{{"SourceZones", "30 0 0 3 1"}}, {"SourceZones", SourceRule::ZoneSize, 2}},
        {{{"SourceZones", "30 0 10 3 1|50 0 10 -3 1"}}, {"SourceZones", SourceRule::ZoneSize, 3}},
        {{{"SourceZones", "30 0 10 3 x"}}, {"SourceZones", SourceRule::NotANumber, 2}},
        {{{"SourceZones", "30 0 10 3"}}, {"SourceZones", SourceRule::NotANumber, 2}},
        // Half inside the first zone (y from −10 to 10), half outside.
        {{{"SourceZones", "10 0 4 2 9"}}, {"SourceZones", SourceRule::ZonesOverlap, 2}},
        // Crossing: as wide as the first zone but taller, so neither holds the other.
        {{{"SourceZones", "0 0 10 6 9"}}, {"SourceZones", SourceRule::ZonesOverlap, 2}},
        {{{"SourceZones", "30 0 10 3 1|33 0 4 2 2|34 0 4 2 3"}}, {"SourceZones", SourceRule::ZonesOverlap, 4}},
        // The first zone moved onto a zone that fitted beside it.
        {{{"SourceZones", "20 0 10 3 1"}, {"SourceCentre", "8 0"}}, {"SourceZones", SourceRule::ZonesOverlap, 2}},
        {{{"ControlPlaneX", "-1"}}, {"ControlPlaneX", SourceRule::ControlPlaneOutside}},
        {{{"ControlPlaneX", "100.5"}}, {"ControlPlaneX", SourceRule::ControlPlaneOutside}},
        {{{"ControlPlaneX", ""}}, {"ControlPlaneX", SourceRule::MissingValue}},
        // The first refusal in the order listed.
        {{{"ControlPlaneX", "200"}, {"SourceHistory", "sometimes"}}, {"ControlPlaneX", SourceRule::ControlPlaneOutside}},
    };
    for (const Case& c : cases) {
        const std::optional<SourceRefusal> refusal = check(c.texts);
        ASSERT_TRUE(refusal) << c.texts[0].name << "=" << c.texts[0].value;
        EXPECT_EQ(*refusal, c.refusal) << c.texts[0].name << "=" << c.texts[0].value << " gave " << refusal->name << " "
                                       << static_cast<int>(refusal->rule) << " " << refusal->group;
        const std::string text = FailureText([&] { ParseSourceTexts(c.texts, InitialModel(), '.'); });
        EXPECT_EQ(text, EnglishSourceRefusalText(c.refusal));
        EXPECT_NE(text.find(c.refusal.name), std::string::npos) << text;
    }
}

TEST(SourceTextRules, TooManyZonesCountsTheDataWindowsZone)
{
    std::string nineteen, twenty;
    for (int k = 0; k < 20; ++k) {
        const std::string zone = std::to_string(20 + 10 * k) + " 0 4 2 1";
        if (k < 19) nineteen += (k ? "|" : "") + zone;
        twenty += (k ? "|" : "") + zone;
    }
    EXPECT_FALSE(check({{"SourceZones", nineteen}}));
    EXPECT_EQ(check({{"SourceZones", twenty}}), (SourceRefusal{"SourceZones", SourceRule::TooManyZones, 21}));
}

TEST(SourceTextRules, GoodTextsGiveTheirOptions)
{
    const ModelState m = InitialModel();
    auto parse = [&](const SourceTexts& texts, char separator = '.') {
        EXPECT_FALSE(CheckSourceTexts(texts, m, separator)) << texts[0].name;
        return ParseSourceTexts(texts, m, separator);
    };
    EXPECT_TRUE(parse({}).isDefault());
    EXPECT_TRUE(parse({{"SourceHistory", "constant"}}).isDefault());

    SourceOptions decay = parse({{"SourceHistory", "decay"}, {"SourceDecay", "0,002"}}, ',');
    EXPECT_EQ(decay.history, SourceHistory::Decay);
    EXPECT_EQ(decay.decayRate, 0.002);
    EXPECT_EQ(parse({{"SourceHistory", "decay"}, {"SourceHalfLife", "365"}}).decayRate, std::numbers::ln2 / 365);

    const SourceOptions stop = parse({{"SourceHistory", "stop"}, {"ReleaseEnd", "1500.5"}});
    EXPECT_EQ(stop.history, SourceHistory::Stop);
    EXPECT_EQ(stop.releaseEnd, 1500.5);

    const SourceOptions steps = parse({{"SourceHistory", "steps"}, {"SourceSteps", " 0 1 |  200   0,5|900 0 "}}, ',');
    EXPECT_EQ(steps.steps, (std::vector<SourceStep>{{0, 1}, {200, 0.5}, {900, 0}}));

    // Nested in the first zone, touching its edge from outside, and a core inside a fringe.
    const SourceOptions zones = parse({{"SourceCentre", "-5 1"},
                                       {"SourceZones", "-5 1 4 1 9|10 1 10 3 2.8|10 1 2 1 9|-25 1 10 3 0.1"},
                                       {"ControlPlaneX", "100"}});
    EXPECT_EQ(zones.firstZoneY, -5);
    EXPECT_EQ(zones.firstZoneZ, 1);
    EXPECT_EQ(zones.moreZones.size(), 4u);
    EXPECT_EQ(zones.moreZones[1], (SourceZone{10, 1, 10, 3, 2.8}));
    EXPECT_EQ(zones.controlPlaneX, 100.0);
    EXPECT_EQ(parse({{"ControlPlaneX", "0"}}).controlPlaneX, 0.0);
}

TEST(SourceTextRules, TheParameterTextsAreCheckedWithTheirOwnGridAndFirstZone)
{
    ParameterTexts texts = InitialParameterTexts();
    texts.source = {{"ControlPlaneX", "150"}};
    EXPECT_EQ(CheckSourceTexts(texts, '.'), (SourceRefusal{"ControlPlaneX", SourceRule::ControlPlaneOutside}));
    SetControlText(texts, 6, "200", '.');  // X1
    EXPECT_FALSE(CheckSourceTexts(texts, '.'));
    texts.source = {{"SourceZones", "13 0 6 3 1"}};
    EXPECT_FALSE(CheckSourceTexts(texts, '.'));
    SetControlText(texts, 2, "26", '.');  // the first zone now reaches y = 13, past the second zone's edge at 10
    EXPECT_EQ(CheckSourceTexts(texts, '.'), (SourceRefusal{"SourceZones", SourceRule::ZonesOverlap, 2}));
    SetControlText(texts, 6, "x", '.');  // a text that does not convert is the conversion's to name
    texts.source = {{"ControlPlaneX", "150"}};
    EXPECT_FALSE(CheckSourceTexts(texts, '.'));
}

TEST(SourceTextRules, VariaveisFillsTheSourceAndPlacesTheFirstZoneAboutItsCentre)
{
    ParameterTexts texts = InitialParameterTexts();
    ModelState m;
    Variaveis(texts, m, '.');
    EXPECT_TRUE(m.source.isDefault());
    EXPECT_EQ(m.YMin, -10);
    texts.source = {{"SourceHistory", "stop"}, {"ReleaseEnd", "300"}, {"SourceCentre", "4 -1"}};
    Variaveis(texts, m, '.');
    EXPECT_EQ(m.source.history, SourceHistory::Stop);
    EXPECT_EQ(m.source.releaseEnd, 300);
    EXPECT_EQ(m.YMin, -6);
    EXPECT_EQ(m.YMax, 14);
    EXPECT_EQ(m.ZMin, -2.5);
    EXPECT_EQ(m.ZMax, 0.5);
    texts.source = {{"ReleaseEnd", "-3"}};
    EXPECT_EQ(FailureText([&] { Variaveis(texts, m, '.'); }), EnglishSourceRefusalText({"ReleaseEnd", SourceRule::NotPositive}));
}

TEST(SourceTextRules, ZonesOfTheModelAndTheirSymmetry)
{
    ModelState m = InitialModel();
    EXPECT_EQ(SourceZonesOf(m), (std::vector<SourceZone>{{0, 0, 20, 3, 0.5}}));
    EXPECT_TRUE(SymmetricInY(m));
    m.source.moreZones = {{0, 0, 4, 1, 9}, {0, 10, 20, 4, 1}};  // off the plane z = 0 but on y = 0
    EXPECT_TRUE(SymmetricInY(m));
    m.source.moreZones.push_back({30, 0, 4, 1, 2});
    EXPECT_FALSE(SymmetricInY(m));
    m.source.moreZones.clear();
    m.source.firstZoneY = -0.5;
    EXPECT_FALSE(SymmetricInY(m));
}

TEST(SourceTextRules, TheInnermostContainerHoldsANestedZone)
{
    const std::vector<SourceZone> zones = {
        {0, 0, 20, 3, 1},  // 0: the fringe
        {0, 0, 10, 2, 5},  // 1: inside 0
        {0, 0, 4, 1, 9},   // 2: inside 1, inside 0
        {30, 0, 4, 1, 2},  // 3: alone
        {0, 0, 4, 1, 7},   // 4: the same rectangle as 2, listed later: drawn over it
    };
    const int expected[] = {-1, 0, 1, -1, 2};
    for (std::size_t k = 0; k < zones.size(); ++k) EXPECT_EQ(InnermostContainer(zones, k), expected[k]) << k;
}

TEST(SourceTextRules, TheHighestConcentrationTakesTheStrongestZoneAndAStepAboveOne)
{
    ModelState m = InitialModel();
    EXPECT_EQ(HighestSourceConcentration(m), 0.5);
    m.source.moreZones = {{30, 0, 4, 1, 2}};
    EXPECT_EQ(HighestSourceConcentration(m), 2);
    m.source.history = SourceHistory::Steps;
    m.source.steps = {{0, 0.5}, {100, 1.5}, {200, 0.2}};
    EXPECT_EQ(HighestSourceConcentration(m), 3);
    m.source.steps = {{0, 0.5}};  // a weaker source keeps the scale of its zones
    EXPECT_EQ(HighestSourceConcentration(m), 2);
}
