// Reading the uncertainty window's texts into a run's settings: the fit's
// parameters chosen one by one keep their part of its covariance, and what
// no number or no fit gives is refused in the window's language.
#include "uncertainty/UncertaintyForm.h"
#include "model/Variaveis.h"
#include "uncertainty/FitDrawSources.h"

#include <gtest/gtest.h>

using namespace kavrin;

namespace {

// A fit of AlphaX, Kxx and C0 with errors and correlations.
FitResult ThreeParameterFit()
{
    FitResult fit;
    fit.stop = FitStop::Converged;
    fit.parameters = {{FitParameter::AlphaX, 1, 4, 0.8, 0, 0, BoundReached::None},
                      {FitParameter::Kxx, 0.5, 0.6, 0.06, 0, 0, BoundReached::None},
                      {FitParameter::C0, 1, 2, 0.1, 0, 0, BoundReached::None}};
    fit.correlation = {{1, 0.4, -0.3}, {0.4, 1, 0.2}, {-0.3, 0.2, 1}};
    return fit;
}

UncertaintyFormTexts SmallForm()
{
    UncertaintyFormTexts texts;
    for (const char* name : {"AlphaX", "Kxx", "C0"}) texts.parameters.push_back({name, ParameterChoice::Fixed, {}});
    texts.standard = "0.5";
    texts.realizations = "100";
    texts.seed = "9";
    texts.times = {1000};
    return texts;
}

ModelState InitialModel()
{
    ModelState model;
    Variaveis(InitialParameterTexts(), model, '.');
    return model;
}

}  // namespace

TEST(UncertaintyForm, FitParametersChosenKeepTheirShareOfTheFitsCovariance)
{
    const FitResult fit = ThreeParameterFit();
    const std::optional<FitDraw> whole = FitDrawOf(fit);
    ASSERT_TRUE(whole);
    ASSERT_EQ(whole->names, (std::vector<std::string>{"AlphaX", "Kxx", "C0"}));
    AppState app;
    UncertaintyFormTexts texts = SmallForm();
    texts.parameters[0].choice = ParameterChoice::FromFit;  // AlphaX
    texts.parameters[2].choice = ParameterChoice::FromFit;  // C0
    const UncertaintyFormOutcome outcome = ReadUncertaintyForm(texts, InitialModel(), &fit, app);
    ASSERT_TRUE(outcome.settings) << outcome.refusal.toStdString();
    ASSERT_TRUE(outcome.settings->fromFit);
    const FitDraw& draw = *outcome.settings->fromFit;
    EXPECT_EQ(draw.names, (std::vector<std::string>{"AlphaX", "C0"}));
    EXPECT_EQ(draw.centre, (std::vector<double>{whole->centre[0], whole->centre[2]}));
    EXPECT_EQ(draw.logarithmic, (std::vector<bool>{whole->logarithmic[0], whole->logarithmic[2]}));
    EXPECT_EQ(draw.covariance, (std::vector<std::vector<double>>{{whole->covariance[0][0], whole->covariance[0][2]},
                                                                 {whole->covariance[2][0], whole->covariance[2][2]}}));
    EXPECT_TRUE(outcome.settings->varied.empty());
    EXPECT_EQ(outcome.settings->realizations, 100u);
    EXPECT_EQ(outcome.settings->seed, 9u);
}

TEST(UncertaintyForm, RefusesNoNumberAndAMissingFitNamingTheField)
{
    struct Case {
        const char* what;
        void (*edit)(UncertaintyFormTexts&);
        const char* portuguese;
        const char* english;
    };
    const Case cases[] = {
        {"no fit", [](UncertaintyFormTexts& t) { t.parameters[1].choice = ParameterChoice::FromFit; },
         "Não há ajuste para sortear: nenhum parâmetro ajustado tem erro padrão.",
         "There is no fit to draw from: no fitted parameter has a standard error."},
        {"an argument",
         [](UncertaintyFormTexts& t) {
             t.parameters[1] = {"Kxx", ParameterChoice::Uniform, {"0.1", "x", ""}};
         },
         "Kxx: um valor da distribuição não é um número.", "Kxx: a value of the distribution is not a number."},
        {"the seed", [](UncertaintyFormTexts& t) { t.seed = "-1"; }, "Semente: \"-1\" não é um número.",
         "Seed: \"-1\" is not a number."},
        {"a threshold", [](UncertaintyFormTexts& t) { t.moreThresholds = "0.1; abc"; },
         "O limite abc não é um número maior que zero.", "The threshold abc is not a number greater than zero."},
        {"a receptor",
         [](UncertaintyFormTexts& t) {
             t.receptors = {{"1", "2", "3"}, {"", "", ""}, {"4", "", "6"}};
         },
         "O receptor 3 tem uma coordenada que não é um número finito.",
         "Receptor 3 has a coordinate that is not a finite number."},
        {"nothing varied", [](UncertaintyFormTexts&) {}, "Nenhum parâmetro varia: escolha uma distribuição para pelo menos um.",
         "No parameter is varied: choose a distribution for at least one."},
    };
    for (const Case& c : cases) {
        UncertaintyFormTexts texts = SmallForm();
        c.edit(texts);
        for (const bool portuguese : {true, false}) {
            AppState app;
            app.PortugueseActive = portuguese;
            const UncertaintyFormOutcome outcome = ReadUncertaintyForm(texts, InitialModel(), nullptr, app);
            EXPECT_FALSE(outcome.settings) << c.what;
            EXPECT_EQ(outcome.refusal, QString::fromUtf8(portuguese ? c.portuguese : c.english)) << c.what;
        }
    }
}
