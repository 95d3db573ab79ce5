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
