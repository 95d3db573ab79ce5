// The field benchmarks' plume: the initial model on 0…450 × −225…225, 1 m
// cells, at the single time kPlumeTime.
#pragma once

#include "model/Variaveis.h"
#include "text/NumberText.h"

#include <string>

namespace kavrin::bench {

inline constexpr double kPlumeTime = 100000;

inline ModelState PlumeModel(int order)
{
    ParameterTexts texts = InitialParameterTexts();
    const char* grid[][2] = {{"X1", "450"}, {"Y0", "-225"}, {"Y1", "225"}, {"DX", "1"}, {"DY", "1"}};
    for (const auto& [name, text] : grid) SetControlText(texts, *ControlOfName(name), text, '.');
    for (const char* name : {"T0", "T1"}) SetControlText(texts, *ControlOfName(name), FormatGeneral(kPlumeTime, '.'), '.');
    SetControlText(texts, 0, std::to_string(order), '.');
    ModelState model;
    Variaveis(texts, model, '.');
    return model;
}

}  // namespace kavrin::bench
