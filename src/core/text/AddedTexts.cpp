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
    {"O valor de \"%1\" deve ser maior que 0 e no máximo 1.", "The value of \"%1\" must be greater than 0 and at most 1."},
    {"O valor de \"%1\" deve ser um número finito maior ou igual a 0.", "The value of \"%1\" must be a finite number of 0 or more."},
    {"O tempo %1 não tem resultados completos neste projeto: não foi calculado ou o cálculo não chegou a ele. Escolha um tempo "
     "da lista.",
     "The time %1 has no complete results in this project: it was not computed or the run did not reach it. Pick a time from "
     "the list."},
    {"No nó X = %1 m, Y = %2 m", "At the node X = %1 m, Y = %2 m"},
    {"Tempo = %1 dias, ao longo de Y = %2 m", "Time = %1 days, along Y = %2 m"},
    {"Tempo = %1 dias, ao longo de X = %2 m", "Time = %1 days, along X = %2 m"},
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
