// The model and wells the fit tests start from.
#pragma once

#include "calibration/Observations.h"
#include "model/ParameterTexts.h"
#include "model/Variaveis.h"

#include <vector>

namespace kavrin::test {

inline ModelState InitialModel()
{
    ModelState model;
    Variaveis(InitialParameterTexts(), model, '.');
    return model;
}

// Wells in the plume of the initial model: x 2–50 m, y ±8 m, z ±1 m, t 1200–2500 days.
inline std::vector<Observation> Wells(int count)
{
    std::vector<Observation> result;
    for (int i = 0; i < count; ++i)
        result.push_back({0, 2.0 + (i * 17) % 49, -8.0 + (i * 7) % 17, -1.0 + 0.5 * (i % 5), 1200.0 + (i * 131) % 1301});
    return result;
}

}  // namespace kavrin::test
