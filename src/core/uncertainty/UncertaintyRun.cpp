#include "uncertainty/UncertaintyRun.h"

#include "plume/AxisReach.h"
#include "solution/FieldKernel.h"
#include "solution/Parallel.h"
#include "solution/Solution.h"
#include "solution/SourceSuperposition.h"
#include "uncertainty/RealizationDraws.h"

#include <algorithm>
#include <cmath>

namespace kavrin {

double PlumeLength(const double* values, int rows, int columns, const ModelState& m, double standard)
{
    if (rows <= 0 || columns <= 0) return 0;
    const std::size_t axis = static_cast<std::size_t>(AxisRowOf(m, rows)) * static_cast<std::size_t>(columns);
    return ReachAlongRow({values + axis, static_cast<std::size_t>(columns)}, m.X0, m.DX, standard).length;
}

std::optional<UncertaintyResults> RunRealizations(const ModelState& model, const QuadratureState& quadrature,
                                                  const UncertaintySettings& settings, unsigned workers,
                                                  const UncertaintyProgress& progress, const std::atomic<bool>* cancel,
                                                  const TallyDone& tallyDone)
{
    const std::uint64_t first = settings.part.first(settings.realizations);
    const std::uint64_t count = settings.part.end(settings.realizations) - first;
    const RealizationDraws draws(settings);

    UncertaintyResults results;
    results.rows = std::max(0, model.NY + 1);
    results.columns = std::max(0, model.NX + 1);
    results.firstRealization = first;
    results.realizations = count;
    const std::size_t times = settings.times.size();
    results.receptorValues.assign(settings.receptors.size(),
                                  std::vector<std::vector<double>>(times, std::vector<double>(count, 0.0)));
    results.plumeLength.assign(times, std::vector<double>(count, 0.0));

    std::vector<double> thresholds;
    for (const TypedNumber& threshold : settings.thresholds) thresholds.push_back(threshold.value);
    const std::size_t nodes = static_cast<std::size_t>(results.rows) * static_cast<std::size_t>(results.columns);
    NodeTally tally(nodes, thresholds);
    TimeField field;
    const std::uint64_t total = count * times;
    std::uint64_t done = 0;
    for (std::size_t t = 0; t < times; ++t) {
        const double T = settings.times[t].value;
        if (t > 0) tally.clear();
        for (std::uint64_t i = 0; i < count; ++i) {
            if (cancel && cancel->load()) return std::nullopt;
            const ModelState drawn = draws.model(model, first + i);
            ComputeTimeField(T, drawn, quadrature, workers, field);
            const std::size_t columns = static_cast<std::size_t>(field.columns);
            ParallelFor(field.rows, 8, workers,
                        [&](int begin, int end) { tally.add(field.values.data(), begin * columns, end * columns); });
            tally.countRealization();
            if (!settings.receptors.empty()) {
                const SourceSuperposition source(drawn);
                ParallelFor(static_cast<int>(settings.receptors.size()), 1, workers, [&](int begin, int end) {
                    for (int r = begin; r < end; ++r) {
                        const Receptor& at = settings.receptors[static_cast<std::size_t>(r)];
                        results.receptorValues[static_cast<std::size_t>(r)][t][i] =
                            PointValue(at.x, at.y, at.z, T, source, drawn, quadrature);
                    }
                });
            }
            results.plumeLength[t][i] = PlumeLength(field.values.data(), field.rows, field.columns, drawn, settings.standard());
            if (progress) progress(++done, total);
        }
        tally.settle(workers);
        tallyDone(t, tally);
    }
    return results;
}

std::optional<UncertaintyResults> RunUncertainty(const ModelState& model, const QuadratureState& quadrature,
                                                 const UncertaintySettings& settings, unsigned workers,
                                                 const UncertaintyProgress& progress, const std::atomic<bool>* cancel)
{
    std::vector<UncertaintyMaps> maps;
    auto results = RunRealizations(model, quadrature, settings, workers, progress, cancel,
                                   [&](std::size_t, const NodeTally& tally) { maps.push_back(MapsOfTally(tally)); });
    if (results) results->times = std::move(maps);
    return results;
}

}  // namespace kavrin
