// The settings' checks and the texts of varied parameters.
#include "uncertainty/UncertaintyChecks.h"
#include "UncertaintyFixture.h"
#include "uncertainty/FitDrawSources.h"
#include "uncertainty/VariedParameterText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace kavrin;
using kavrin::test::SettingsAt;
using kavrin::test::SmallPlume;

namespace {

UncertaintyRefusal textRefusal(const std::string& text)
{
    try {
        ParseVariedParameter(text, ',');
    } catch (const UncertaintyError& error) {
        return error.refusal();
    }
    return {UncertaintyRule::NothingVaried, "accepted"};
}

}  // namespace

TEST(UncertaintyChecks, VariedTextsAreReadOrRefusedByName)
{
    const VariedParameter alpha = ParseVariedParameter("AlphaX=lognormal:10,1.5", '.');
    EXPECT_EQ(alpha, (VariedParameter{"AlphaX", {DistributionKind::Lognormal, 10, 1.5}}));
    EXPECT_EQ(VariedParameterText(alpha), "AlphaX=lognormal:10,1.5");
    EXPECT_EQ(ParseVariedParameter("C0=Normal:1;0,1", ','), (VariedParameter{"C0", {DistributionKind::Normal, 1, 0.1}}));
    EXPECT_EQ(ParseVariedParameter("ZoneConcentration3=triangular:0,1,4", '.').distribution.c, 4);
    const struct {
        const char* text;
        UncertaintyRefusal refusal;
    } cases[] = {
        {"AlphaX", {UncertaintyRule::NotAVariedText, "AlphaX"}},
        {"AlphaX=lognormal", {UncertaintyRule::NotAVariedText, "AlphaX=lognormal"}},
        {"Alpha=normal:1,2", {UncertaintyRule::UnknownParameter, "Alpha"}},
        {"ZoneConcentration21=normal:1,2", {UncertaintyRule::UnknownParameter, "ZoneConcentration21"}},
        {"AlphaX=beta:1,2", {UncertaintyRule::UnknownDistribution, "beta"}},
        {"AlphaX=normal:1", {UncertaintyRule::WrongArgumentCount, "AlphaX"}},
        {"AlphaX=triangular:1,2", {UncertaintyRule::WrongArgumentCount, "AlphaX"}},
        {"AlphaX=normal:1,x", {UncertaintyRule::ArgumentNotANumber, "AlphaX"}},
        {"AlphaX=normal:1,inf", {UncertaintyRule::ArgumentNotFinite, "AlphaX"}},
        {"AlphaX=uniform:nan,2", {UncertaintyRule::ArgumentNotFinite, "AlphaX"}},
        {"AlphaX=uniform:3,2", {UncertaintyRule::InvertedArguments, "AlphaX"}},
        {"AlphaX=uniform:2,2", {UncertaintyRule::InvertedArguments, "AlphaX"}},
        {"AlphaX=triangular:1,3,2", {UncertaintyRule::InvertedArguments, "AlphaX"}},
        {"AlphaX=normal:1,0", {UncertaintyRule::SpreadNotPositive, "AlphaX"}},
        {"AlphaX=normal:1,-1", {UncertaintyRule::SpreadNotPositive, "AlphaX"}},
        {"AlphaX=lognormal:0,2", {UncertaintyRule::SpreadNotPositive, "AlphaX"}},
        {"AlphaX=lognormal:1,1", {UncertaintyRule::SpreadNotPositive, "AlphaX"}},
        {"AlphaX=uniform:-2,-1", {UncertaintyRule::OutsidePhysicalRange, "AlphaX"}},
        {"Porosity=uniform:1.5,2", {UncertaintyRule::OutsidePhysicalRange, "Porosity"}},
        {"Porosity=normal:-50,1", {UncertaintyRule::OutsidePhysicalRange, "Porosity"}},
    };
    for (const auto& c : cases) EXPECT_EQ(textRefusal(c.text), c.refusal) << c.text;
}

TEST(UncertaintyChecks, EachSettingIsCheckedWithItsOwnMessage)
{
    const ModelState model = SmallPlume();
    const struct {
        std::function<void(UncertaintySettings&)> change;
        const char* message;
    } cases[] = {
        {[](UncertaintySettings& s) { s.varied.clear(); }, "No parameter is varied."},
        {[](UncertaintySettings& s) { s.varied.push_back(s.varied.front()); }, "C0 is varied twice."},
        {[](UncertaintySettings& s) {
             s.varied.push_back({"SourceDecay", {DistributionKind::Uniform, 0, 1}});
         },
         "SourceDecay is not used by the model's source options, so it cannot vary."},
        {[](UncertaintySettings& s) { s.realizations = 1; }, "The number of realizations must be at least 2, not 1."},
        {[](UncertaintySettings& s) { s.realizations = 1000001; },
         "The number of realizations must be at most 1000000, not 1000001."},
        {[](UncertaintySettings& s) { s.thresholds.clear(); }, "A standard (the first threshold) is needed."},
        {[](UncertaintySettings& s) {
             s.thresholds.assign(9, {1, "1"});
         },
         "At most 8 thresholds can be given, the standard included."},
        {[](UncertaintySettings& s) {
             s.thresholds.push_back({0, "0"});
         },
         "The threshold 0 is not a number greater than zero."},
        {[](UncertaintySettings& s) {
             s.thresholds.push_back({-1, "-1"});
         },
         "The threshold -1 is not a number greater than zero."},
        {[](UncertaintySettings& s) {
             s.thresholds.push_back({0.05, "0.050"});
         },
         "The threshold 0.050 is given twice."},
        {[](UncertaintySettings& s) { s.times.clear(); }, "No time is chosen."},
        {[](UncertaintySettings& s) {
             s.times = {{0, "0"}};
         },
         "The time 0 is not a number greater than zero."},
        {[](UncertaintySettings& s) { s.receptors.assign(51, {}); }, "At most 50 receptors can be given."},
        {[](UncertaintySettings& s) {
             s.receptors = {{1, 2, 3}, {1, NAN, 3}};
         },
         "Receptor 2 has a coordinate that is not a finite number."},
        {[](UncertaintySettings& s) {
             s.part = {0, 4};
         },
         "The part 0/4 must be I/M with I from 1 to M."},
        {[](UncertaintySettings& s) {
             s.part = {5, 4};
         },
         "The part 5/4 must be I/M with I from 1 to M."},
        {[](UncertaintySettings& s) { s.fromFit = FitDraw{}; }, "There is no fit to draw from"},
        {[](UncertaintySettings& s) {
             s.fromFit = FitDraw{{"AlphaX", "Kxx"}, {true, true}, {1, 1}, {{1, 1}, {1, 1}}};
         },
         "The fit's covariance is singular: its parameters cannot be drawn jointly."},
        {[](UncertaintySettings& s) {
             s.fromFit = FitDraw{{"C0"}, {true}, {1}, {{1}}};
         },
         "C0 is varied twice."},
    };
    for (const auto& c : cases) {
        UncertaintySettings settings = SettingsAt(100, 10);
        settings.varied = {{"C0", {DistributionKind::Normal, 1, 0.1}}};
        EXPECT_FALSE(CheckUncertaintySettings(settings, model));
        c.change(settings);
        const auto refusal = CheckUncertaintySettings(settings, model);
        ASSERT_TRUE(refusal) << c.message;
        EXPECT_EQ(EnglishUncertaintyText(*refusal).rfind(c.message, 0), 0u) << EnglishUncertaintyText(*refusal);
    }
}

TEST(UncertaintyChecks, TheFitsReportGivesItsCovarianceInTheFitsSpace)
{
    kavrin::test::TempFolder folder;
    const std::string path = folder.path() + "fit.txt";
    // As kavrin-batch fit prints it; Kxx ended at a bound and is held there.
    kavrin::test::WriteBytes(path, "                   before        after\n"
                                   "objective         1.23456     0.123456\n"
                                   "iterations 7, converged: done\n"
                                   "\n"
                                   "    parameter      initial       fitted   std. error    lower 95%    upper 95%\n"
                                   "       AlphaX           10           12          1.2      9.71429      14.8225\n"
                                   "          Kxx            1            5  upper bound            -            -\n"
                                   "        Decay            0        0.001       0.0002       0.0006       0.0014\n"
                                   "95% intervals from Student's t = 2.1 with 9 degrees of freedom\n"
                                   "\n"
                                   "correlation\n"
                                   "                    AlphaX          Kxx        Decay\n"
                                   "       AlphaX            1            0         -0.5\n"
                                   "          Kxx            0            1            0\n"
                                   "        Decay         -0.5            0            1\n");
    const FitDraw draw = ReadFitReport(path, '.');
    EXPECT_EQ(draw.names, (std::vector<std::string>{"AlphaX", "Decay"}));
    EXPECT_EQ(draw.logarithmic, (std::vector<bool>{true, false}));
    EXPECT_DOUBLE_EQ(draw.centre[0], std::log(12.0));
    EXPECT_DOUBLE_EQ(draw.centre[1], 0.001);
    EXPECT_DOUBLE_EQ(draw.covariance[0][0], 0.1 * 0.1);
    EXPECT_DOUBLE_EQ(draw.covariance[1][1], 0.0002 * 0.0002);
    EXPECT_DOUBLE_EQ(draw.covariance[0][1], -0.5 * 0.1 * 0.0002);
    EXPECT_EQ(draw.covariance[0][1], draw.covariance[1][0]);

    kavrin::test::WriteBytes(path, "no fit here\n");
    EXPECT_EQ(kavrin::test::FailureText([&] { ReadFitReport(path, '.'); }).rfind("There is no fit to draw from", 0), 0u);
}
