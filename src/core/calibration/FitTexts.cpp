#include "calibration/FitTexts.h"

namespace kavrin {

namespace {

struct BuiltIn {
    const char* portuguese;
    const char* english;
};

// Lines 126 … in FitText's order, then the refusals in FitMessageId's order.
const BuiltIn kBuiltIn[kFitTextLines] = {
    {"Ajuste automático dos parâmetros", "Automatic parameter fit"},
    {"Mínimo", "Lower bound"},
    {"Máximo", "Upper bound"},
    {"Resíduos em log10 da concentração", "Residuals on log10 concentrations"},
    {"Limite de detecção (mg/L):", "Detection limit (mg/L):"},
    {"Ajustar", "Fit"},
    {"Cancelar ajuste", "Cancel fit"},
    {"Aplicar à janela de dados", "Apply to the data window"},
    {"Desfazer aplicação", "Undo apply"},
    {"Parâmetro|Inicial|Ajustado|Erro padrão|Mínimo 95 %|Máximo 95 %",
     "Parameter|Initial|Fitted|Std. error|Lower 95 %|Upper 95 %"},
    {"Objetivo|R²|EMA (mg/L)|REQM (mg/L)|Antes|Depois", "Objective|R²|MAE (mg/L)|RMSE (mg/L)|Before|After"},
    {"Iteração %1, objetivo %2", "Iteration %1, objective %2"},
    {"%1 iterações; %2", "%1 iterations; %2"},
    {"convergiu|limite de iterações atingido|cancelado|falhou", "converged|iteration limit reached|cancelled|failed"},
    {"As observações não determinam os parâmetros ajustados:", "The observations cannot determine the fitted parameters:"},
    {"%1 não influencia as observações", "%1 has no influence on them"},
    {"%1 e %2 têm correlação acima de 0,99", "%1 and %2 are correlated beyond 0.99"},
    {"Ajuste menos parâmetros ou acrescente observações que os distingam.",
     "Fit fewer parameters or add observations that separate them."},
    {"Correlações", "Correlations"},
    {"Intervalos de 95 % com t de Student = %1 e %2 graus de liberdade",
     "95 % intervals from Student's t = %1 with %2 degrees of freedom"},
    {"Pesos:", "Weights:"},
    {"da coluna Peso|relativos: Peso / C²", "from the Weight column|relative: Weight / C²"},
    {"     Peso", "     Weight"},
    {"Ajuste cancelado; nada foi alterado.", "Fit cancelled; nothing was changed."},
    {"O ajuste falhou: o modelo não pode ser avaliado perto destes valores.",
     "The fit failed: the model cannot be evaluated near these values."},
    {"os efeitos dos parâmetros sobre as observações dependem uns dos outros",
     "their effects on the observations depend on each other"},
    // The refusals.
    {"Escolha ao menos um parâmetro para ajustar", "Choose at least one parameter to fit"},
    {"Cada parâmetro ajustado precisa de seus limites", "Every fitted parameter needs its bounds"},
    {"%1 foi escolhido duas vezes", "%1 is chosen twice"},
    {"Os limites de %1 devem ter o mínimo abaixo do máximo", "The bounds of %1 must have the lower below the upper"},
    {"O limite mínimo de %1 deve ser maior que zero", "The lower bound of %1 must be above zero"},
    {"O valor atual de %1 está fora de seus limites", "The current value of %1 lies outside its bounds"},
    {"Um ajuste de %1 parâmetros precisa de mais de %1 observações", "A fit of %1 parameters needs more than %1 observations"},
    {"Resíduos em log10 precisam de um limite de detecção quando uma observação é zero ou menor",
     "Log residuals need a detection limit when an observation is zero or below"},
    {"Resíduos em log10 precisam de um limite de detecção: o modelo dá zero em algumas observações",
     "Log residuals need a detection limit: the model gives zero at some observations"},
    {"O peso da observação %1 (\"%2\") deve ser um número maior que zero",
     "The weight of observation %1 (\"%2\") must be a number above zero"},
    {"Pesos relativos precisam da observação %1 acima de zero (ou de um limite de detecção)",
     "Relative weights need observation %1 above zero (or a detection limit)"},
    {"O peso da observação %1 supera o das outras mais de 1e8 vezes: menos de %2 observações ainda contam no ajuste",
     "The weight of observation %1 outweighs the others more than 1e8 times: fewer than %2 observations still count in the fit"},
    {"O resíduo ponderado da observação %1 ultrapassa o maior número representável: verifique seu valor e seu peso",
     "The weighted residual of observation %1 goes beyond the largest number there is: check its value and its weight"},
};

// The |-separated item `index` of a line, empty when the line has fewer.
std::string item(const std::string& line, std::size_t index)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < index; ++i) {
        start = line.find('|', start);
        if (start == std::string::npos) return {};
        ++start;
    }
    return line.substr(start, line.find('|', start) - start);
}

}  // namespace

const char* BuiltInFitText(int line, bool portuguese)
{
    const BuiltIn& text = kBuiltIn[line - kFirstFitTextLine];
    return portuguese ? text.portuguese : text.english;
}

FitTexts BuiltInFitTexts(bool portuguese)
{
    FitTexts texts;
    for (int i = 0; i < kFitTextLines; ++i)
        texts.lines[static_cast<std::size_t>(i)] = BuiltInFitText(kFirstFitTextLine + i, portuguese);
    return texts;
}

std::string FillFitArguments(const std::string& text, const std::vector<std::string>& arguments)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool marker = text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9';
        const std::size_t index = marker ? static_cast<std::size_t>(text[i + 1] - '1') : 0;
        if (marker && index < arguments.size()) {
            result += arguments[index];
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

std::string RefusalText(const FitTexts& texts, const FitMessage& message)
{
    return FillFitArguments(texts.line(static_cast<int>(FitText::FirstRefusal) + static_cast<int>(message.id)),
                            message.arguments);
}

std::string StopText(const FitTexts& texts, FitStop stop)
{
    return item(texts[FitText::StopWords], static_cast<std::size_t>(stop));
}

std::string IdentifierOf(FitParameter parameter)
{
    return InfoOf(parameter).name;
}

std::string NotIdentifiableText(const FitTexts& texts, const FitResult& result,
                                const std::function<std::string(FitParameter)>& name)
{
    std::string reasons;
    const auto add = [&](const std::string& reason) { reasons += (reasons.empty() ? "" : "; ") + reason; };
    for (FitParameter parameter : result.noInfluence) add(FillFitArguments(texts[FitText::NoInfluence], {name(parameter)}));
    for (const auto& [a, b] : result.correlated) add(FillFitArguments(texts[FitText::Correlated], {name(a), name(b)}));
    if (reasons.empty()) add(texts[FitText::DependOnEachOther]);
    return texts[FitText::CannotDetermine] + " " + reasons + ". " + texts[FitText::FitFewer];
}

}  // namespace kavrin
