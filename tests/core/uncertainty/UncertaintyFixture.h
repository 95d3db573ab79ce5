// A small plume for the uncertainty tests: the initial model on a 41 × 17
// grid (0…200 × −40…40, 5 m cells) at order 20, and settings around it.
#pragma once

#include "TestSupport.h"
#include "model/Variaveis.h"
#include "uncertainty/UncertaintySettings.h"

namespace kavrin::test {

inline ModelState SmallPlume()
{
    ModelState m = InitialModel();
    m.X0 = 0;
    m.X1 = 200;
    m.DX = 5;
    m.Y0 = -40;
    m.Y1 = 40;
    m.DY = 5;
    m.GaussOrder = 20;
    DeriveModelFields(m);
    return m;
}

inline UncertaintySettings SettingsAt(double time, std::uint64_t realizations)
{
    UncertaintySettings settings;
    settings.thresholds = {{0.05, "0.05"}};
    settings.times = {{time, "T"}};
    settings.realizations = realizations;
    settings.seed = 11;
    return settings;
}

}  // namespace kavrin::test
