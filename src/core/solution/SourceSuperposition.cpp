#include "solution/SourceSuperposition.h"

#include "model/SourceTextRules.h"

#include <cmath>

namespace kavrin {

SourceSuperposition::SourceSuperposition(const ModelState& model)
    : history(model.source.history), releaseEnd(model.source.releaseEnd), steps(model.source.steps)
{
    const std::vector<SourceZone> drawn = SourceZonesOf(model);
    for (std::size_t k = 0; k < drawn.size(); ++k) {
        const SourceZone& zone = drawn[k];
        const int container = InnermostContainer(drawn, k);
        const double below = container < 0 ? 0 : drawn[static_cast<std::size_t>(container)].concentration;
        zones.push_back({container < 0 ? zone.concentration : zone.concentration - below, zone.y - zone.width / 2,
                         zone.y + zone.width / 2, zone.z - zone.height / 2, zone.z + zone.height / 2});
    }
    plain = history == SourceHistory::Constant && drawn.size() == 1 && drawn[0].y == 0 && drawn[0].z == 0;
    switch (history) {
    case SourceHistory::Constant:
        shifts = {{0, 1}};
        break;
    case SourceHistory::Decay:
        shifts = {{0, 1}};
        decayRate = model.source.decayRate;
        break;
    case SourceHistory::Stop:
        shifts = {{0, 1}, {releaseEnd, -1}};
        break;
    case SourceHistory::Steps: {
        double before = 0;
        for (const SourceStep& step : steps) {
            if (step.relative != before) shifts.push_back({step.start, step.relative - before});
            before = step.relative;
        }
        break;
    }
    }
}

double SourceSuperposition::strength(double t) const
{
    switch (history) {
    case SourceHistory::Constant:
        return 1;
    case SourceHistory::Decay:
        return std::exp(-decayRate * t);
    case SourceHistory::Stop:
        return t <= releaseEnd ? 1 : 0;
    case SourceHistory::Steps: {
        double relative = 0;
        for (const SourceStep& step : steps)
            if (step.start <= t) relative = step.relative;
        return relative;
    }
    }
    return 1;
}

}  // namespace kavrin
