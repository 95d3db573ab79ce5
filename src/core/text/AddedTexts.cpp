#include "text/AddedTexts.h"

namespace kavrin {

namespace {

struct BuiltIn {
    const char* portuguese;
    const char* english;
};

// In AddedText's order. A trailing empty entry keeps the array valid while no
// line exists; it is never a line.
const BuiltIn kBuiltIn[kAddedTextLines + 1] = {
    {"O tempo %1 não tem resultados completos neste projeto: não foi calculado, ou seu arquivo está vazio ou incompleto.",
     "Time %1 has no complete results in this project: it was not computed, or its file is empty or incomplete."},
    {"Quadro %1 de %2", "Frame %1 of %2"},
    {"Intervalo: %1 s", "Interval: %1 s"},
    {"No nó X = %1 m, Y = %2 m", "At the node X = %1 m, Y = %2 m"},
    {"Tempo = %1 dias, ao longo de Y = %2 m", "Time = %1 days, along Y = %2 m"},
    {"Tempo = %1 dias, ao longo de X = %2 m", "Time = %1 days, along X = %2 m"},
    {"O campo \"%1\" deve ser maior que 0 e no máximo 1.", "The field \"%1\" must be greater than 0 and at most 1."},
    {"O campo \"%1\" deve ser um número finito maior ou igual a 0.", "The field \"%1\" must be a finite number of 0 or more."},
    {"no limite mínimo", "at the lower bound"},
    {"no limite máximo", "at the upper bound"},
    {"Linha %1, coluna %2", "Row %1, column %2"},
    {"Observações e comparação", "Observations and comparison"},
    // Saving and quitting
    {"Não há mapa para salvar: desenhe o mapa de um tempo antes.", "There is no map to save: draw the map of a time first."},
    {"Os dados da janela de dados mudaram desde o último cálculo. O projeto guarda os resultados com os parâmetros com que "
     "foram calculados; os valores digitados depois não são salvos. Salvar assim?",
     "The data window has changed since the last run. The project keeps the results with the parameters they were "
     "computed from; the values typed since then are not saved. Save anyway?"},
    {"Voltar", "Back"},
    {"Volta ao trecho mostrado antes", "Goes back to the part shown before"},
    {"Avançar", "Forward"},
    {"Avança ao trecho de onde se voltou", "Goes forward to the part you came back from"},
    {"Início", "Start"},
    {"Volta ao início da ajuda", "Goes back to the start of the help"},
    {"Abrir no navegador", "Open in browser"},
    {"Abre esta página no navegador da área de trabalho", "Opens this page in the desktop's web browser"},
    {"Nenhum navegador foi encontrado nesta área de trabalho (nem na variável BROWSER, nem como navegador padrão). A ajuda "
     "continua nesta janela.",
     "No web browser was found on this desktop (neither in the BROWSER variable nor as the default web browser). The help stays "
     "in this window."},
    {"", ""},
};

}  // namespace

const char* BuiltInAddedText(int line, bool portuguese)
{
    if (line < kFirstAddedTextLine || line >= kFirstAddedTextLine + kAddedTextLines) return "";
    const BuiltIn& text = kBuiltIn[line - kFirstAddedTextLine];
    return portuguese ? text.portuguese : text.english;
}

}  // namespace kavrin
