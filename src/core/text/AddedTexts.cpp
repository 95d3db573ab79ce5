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
    // Saving and quitting
    {"Não há mapa para salvar: desenhe o mapa de um tempo antes.", "There is no map to save: draw the map of a time first."},
    {"Os dados da janela de dados mudaram desde o último cálculo. O projeto guarda os resultados com os parâmetros com que "
     "foram calculados; os valores digitados depois não são salvos. Salvar assim?",
     "The data window has changed since the last run. The project keeps the results with the parameters they were "
     "computed from; the values typed since then are not saved. Save anyway?"},
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
