// The model and wells the fit tests start from.
#pragma once

#include "calibration/Observations.h"
#include "model/ParameterTexts.h"
#include "model/Variaveis.h"
#include "solution/Quadrature.h"

#include <cmath>
#include <cstdint>
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

// The observations the model itself gives, plus an optional noise.
inline std::vector<Observation> observed(std::vector<Observation> points, const ModelState& truth, const QuadratureState& q,
                                         const std::vector<double>& noise = {})
{
    const std::vector<double> values = CalculatedConcentrations(points, truth, q, 2);
    for (std::size_t i = 0; i < points.size(); ++i) points[i].C = values[i] + (noise.empty() ? 0 : noise[i]);
    return points;
}

// Normal deviates from a fixed linear congruential sequence (Box–Muller):
// the same numbers on every machine.
inline std::vector<double> normalNoise(std::size_t count, double sigma, std::uint64_t seed)
{
    std::vector<double> result;
    auto uniform = [&] {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        return (static_cast<double>(seed >> 11) + 0.5) / 9007199254740992.0;
    };
    while (result.size() < count) {
        const double u = uniform(), v = uniform();
        result.push_back(sigma * std::sqrt(-2 * std::log(u)) * std::cos(2 * 3.14159265358979323846 * v));
    }
    return result;
}

}  // namespace kavrin::test
