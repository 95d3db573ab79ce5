#include "calibration/FitTexts.h"
#include "TestSupport.h"
#include "text/AddedTexts.h"
#include "text/Windows1252.h"

#include <gtest/gtest.h>

using namespace kavrin;

// The language files carry the fit's built-in texts from line 126 on, so a
// file and the program's fallback never disagree.
TEST(FitTexts, TheLanguageFilesHoldTheBuiltInTextsFromLine126)
{
    for (const bool portuguese : {true, false}) {
        const std::string file = std::string(KAVRIN_SOURCE_DATA_DIR) + (portuguese ? "idiomport.txt" : "idiominglês.txt");
        const std::vector<std::string> lines = kavrin::test::CrLfLines(kavrin::test::ReadBytes(file));
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(125 + kFitTextLines + kAddedTextLines)) << file;
        for (int line = kFirstFitTextLine; line < kFirstFitTextLine + kFitTextLines; ++line)
            EXPECT_EQ(Windows1252ToUtf8(lines[static_cast<std::size_t>(line - 1)]), BuiltInFitText(line, portuguese))
                << file << ':' << line;
    }
}

TEST(FitTexts, HowAFitEndedAndWhyItCannotTellItsParametersApartInBothLanguages)
{
    const FitTexts portuguese = BuiltInFitTexts(true), english = BuiltInFitTexts(false);
    EXPECT_EQ(StopText(english, FitStop::IterationLimit), "iteration limit reached");
    EXPECT_EQ(StopText(portuguese, FitStop::Failed), "falhou");
    FitTexts shortened = english;
    shortened.lines[static_cast<std::size_t>(static_cast<int>(FitText::StopWords) - kFirstFitTextLine)] = "done";
    EXPECT_EQ(StopText(shortened, FitStop::Cancelled), "");

    struct Case {
        std::vector<FitParameter> noInfluence;
        std::vector<std::pair<FitParameter, FitParameter>> correlated;
        std::string english, portuguese;
    };
    const Case cases[] = {
        {{FitParameter::AlphaX},
         {{FitParameter::Kxx, FitParameter::Retardation}},
         "The observations cannot determine the fitted parameters: AlphaX has no influence on them; Kxx and Retardation are "
         "correlated beyond 0.99. Fit fewer parameters or add observations that separate them.",
         "As observações não determinam os parâmetros ajustados: AlphaX não influencia as observações; Kxx e Retardation têm "
         "correlação acima de 0,99. Ajuste menos parâmetros ou acrescente observações que os distingam."},
        {{},
         {},
         "The observations cannot determine the fitted parameters: their effects on the observations depend on each other. "
         "Fit fewer parameters or add observations that separate them.",
         "As observações não determinam os parâmetros ajustados: os efeitos dos parâmetros sobre as observações dependem uns dos "
         "outros. Ajuste menos parâmetros ou acrescente observações que os distingam."},
    };
    for (const Case& c : cases) {
        FitResult result;
        result.noInfluence = c.noInfluence;
        result.correlated = c.correlated;
        result.singular = c.noInfluence.empty() && c.correlated.empty();
        EXPECT_EQ(NotIdentifiableText(english, result), c.english);
        EXPECT_EQ(NotIdentifiableText(portuguese, result), c.portuguese);
    }
}

TEST(FitTexts, ARefusalFillsItsArgumentsInOnePass)
{
    const FitMessage message{FitMessageId::BadWeight, {"3", "%2"}};
    EXPECT_EQ(RefusalText(BuiltInFitTexts(false), message), "The weight of observation 3 (\"%2\") must be a number above zero");
    EXPECT_EQ(RefusalText(BuiltInFitTexts(true), message), "O peso da observação 3 (\"%2\") deve ser um número maior que zero");
    EXPECT_EQ(RefusalText(BuiltInFitTexts(false), message), EnglishFitText(message));
}
