// The initial model with some data-window texts changed, for core tests that
// need a grid or times other than the initial ones.
#pragma once

#include "model/Variaveis.h"

#include <utility>
#include <vector>

namespace kavrin::test {

inline ModelState ModelWith(const std::vector<std::pair<int, const char*>>& changes)
{
    ParameterTexts texts = InitialParameterTexts();
    for (const auto& [edit, text] : changes) SetControlText(texts, edit, text, '.');
    ModelState m;
    Variaveis(texts, m, '.');
    return m;
}

}  // namespace kavrin::test
