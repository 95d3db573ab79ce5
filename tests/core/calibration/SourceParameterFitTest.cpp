#include "FitWells.h"
#include "TestSupport.h"
#include "fit/ParameterFit.h"
#include "model/Variaveis.h"

#include <gtest/gtest.h>

#include <string>

using namespace kavrin;

namespace {

ModelState initialModel()
{
    return kavrin::test::InitialModel();
}
std::vector<Observation> wells(int count)
{
    return kavrin::test::Wells(count);
}

FitSettings settingsFor(const std::vector<FitParameter>& parameters, const ModelState& start)
{
    FitSettings settings;
    settings.parameters = parameters;
    for (FitParameter parameter : parameters) settings.bounds.push_back(DefaultBounds(parameter, InfoOf(parameter).get(start)));
    settings.workers = 2;
    return settings;
}

}  // namespace

TEST(SourceParameterFit, RecoversTheDecayRateReleaseEndAndZoneConcentrationThatMadeTheObservations)
{
    const QuadratureState q = kavrin::test::LoadedQuadrature(60);
    using P = FitParameter;
    struct Case {
        SourceHistory history;
        std::vector<std::pair<FitParameter, double>> truthAndStart;  // each parameter: its true value, then the start
        std::vector<double> starts;
    };
    const Case cases[] = {
        {SourceHistory::Decay, {{P::SourceDecay, 5e-4}}, {1.5e-3}},
        {SourceHistory::Stop, {{P::ReleaseEnd, 1800}}, {1400}},
        {SourceHistory::Constant, {{ZoneConcentrationParameter(2), 0.3}}, {0.9}},
        {SourceHistory::Decay,
         {{P::SourceDecay, 3e-4}, {ZoneConcentrationParameter(2), 0.3}, {P::AlphaY, 0.2}},
         {1e-4, 0.1, 0.5}},
    };
    for (const Case& c : cases) {
        ModelState truth = initialModel();
        truth.source.history = c.history;
        truth.source.moreZones = {{6, 0, 2, 1, 0.3}};
        for (const auto& [parameter, value] : c.truthAndStart) InfoOf(parameter).set(truth, value);
        DeriveModelFields(truth);
        std::vector<Observation> data = wells(30);
        const std::vector<double> values = CalculatedConcentrations(data, truth, q, 2);
        for (std::size_t i = 0; i < data.size(); ++i) data[i].C = values[i];

        ModelState start = truth;
        std::vector<FitParameter> parameters;
        for (std::size_t j = 0; j < c.starts.size(); ++j) {
            parameters.push_back(c.truthAndStart[j].first);
            InfoOf(parameters.back()).set(start, c.starts[j]);
        }
        DeriveModelFields(start);
        const FitResult result = FitObservations(data, start, q, settingsFor(parameters, start));
        ASSERT_NE(result.stop, FitStop::Failed) << result.solverMessage;
        EXPECT_TRUE(result.identifiable());
        for (const FittedParameter& fitted : result.parameters) {
            const double expected = InfoOf(fitted.parameter).get(truth);
            EXPECT_NEAR(fitted.value, expected, 1e-6 * expected) << InfoOf(fitted.parameter).name;
        }
        EXPECT_LT(result.after.objective, 1e-16 * std::max(1.0, result.before.objective));
    }
}

TEST(SourceParameterFit, AParameterTheSourceOptionsDoNotUseIsRefusedNamingIt)
{
    const QuadratureState q = kavrin::test::LoadedQuadrature(60);
    ModelState model = initialModel();
    model.source.decayRate = 1e-3;  // set but unused: the history is constant
    model.source.releaseEnd = 100;
    model.source.moreZones = {{6, 0, 2, 1, 0.3}};
    DeriveModelFields(model);
    std::vector<Observation> data = wells(10);
    for (Observation& o : data) o.C = 0.1;
    const std::pair<FitParameter, const char*> cases[] = {
        {FitParameter::SourceDecay, "SourceDecay"},
        {FitParameter::ReleaseEnd, "ReleaseEnd"},
        {ZoneConcentrationParameter(3), "ZoneConcentration3"},
    };
    for (const auto& [parameter, name] : cases) {
        FitSettings settings;
        settings.parameters = {parameter};
        settings.bounds = {{1e-6, 1e6}};
        try {
            FitObservations(data, model, q, settings);
            ADD_FAILURE() << name << " was fitted";
        } catch (const CheckError& error) {
            EXPECT_NE(std::string(error.what()).find(name), std::string::npos) << error.what();
        }
    }
}

TEST(SourceParameterFit, TheSourceParametersAreFoundByNameAndNotAmongTheDataWindowsOnes)
{
    EXPECT_EQ(SourceFitParameterOfName("SourceDecay"), FitParameter::SourceDecay);
    EXPECT_EQ(SourceFitParameterOfName("ReleaseEnd"), FitParameter::ReleaseEnd);
    EXPECT_EQ(SourceFitParameterOfName("ZoneConcentration2"), ZoneConcentrationParameter(2));
    EXPECT_EQ(SourceFitParameterOfName("ZoneConcentration20"), ZoneConcentrationParameter(20));
    EXPECT_EQ(SourceFitParameterOfName("ZoneConcentration1"), std::nullopt);
    EXPECT_EQ(SourceFitParameterOfName("ZoneConcentration21"), std::nullopt);
    EXPECT_EQ(FitParameterOfName("SourceDecay"), std::nullopt);
    EXPECT_EQ(std::string(InfoOf(ZoneConcentrationParameter(7)).name), "ZoneConcentration7");
}
