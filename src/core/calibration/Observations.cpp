#include "calibration/Observations.h"

#include "solution/Parallel.h"
#include "solution/Solution.h"
#include "text/DecimalSeparator.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <utility>

namespace kavrin {

ObservationsIncomplete::ObservationsIncomplete(ObservationCell cell)
    : CheckError("The observation table has empty cells. Fill in every cell before calculating."), cell(cell)
{
}

std::vector<Observation> ReadObservations(const std::vector<ObservationTexts>& rows, char separator)
{
    for (std::size_t row = 0; row < rows.size(); ++row)
        for (std::size_t column = 0; column < rows[row].size(); ++column)
            if (rows[row][column].empty()) throw ObservationsIncomplete({static_cast<int>(row) + 1, static_cast<int>(column)});
    std::vector<Observation> observations;
    observations.reserve(rows.size());
    for (const ObservationTexts& row : rows) {
        auto value = [&](std::size_t column) {
            try {
                return ParseFloat(ArrumaDecimal(row[column], separator), separator);
            } catch (const ConversionError& error) {
                throw ObservationValueError(error, {static_cast<int>(observations.size()) + 1, static_cast<int>(column)});
            }
        };
        Observation o;
        o.C = value(0);
        o.X = value(1);
        o.Y = value(2);
        o.Z = value(3);
        o.T = value(4);
        observations.push_back(o);
    }
    return observations;
}

namespace {

// Observations computed together: their distinct times, and within each time
// their distinct y and z, evaluated once each.
constexpr std::size_t kSharingBlock = 1024;

// Each observation of `block` (indices into `observations`, sorted by time)
// from its time's nodes and the transverse factors of its y and z.
void sharedFactorBlock(const std::vector<Observation>& observations, const std::vector<std::size_t>& block,
                       const ModelState& model, const QuadratureState& quadrature, unsigned workers,
                       std::vector<double>& calculated)
{
    std::vector<double> times;
    std::vector<std::pair<std::size_t, double>> ys, zs;  // (time, coordinate)
    std::vector<std::size_t> timeOf(block.size()), yOf(block.size()), zOf(block.size());
    auto indexOf = [](auto& list, const auto& key) {
        if (list.empty() || list.back() != key) list.push_back(key);
        return list.size() - 1;
    };
    std::map<std::pair<std::size_t, double>, std::size_t> yIndex, zIndex;
    auto pairIndex = [](auto& index, auto& list, const std::pair<std::size_t, double>& key) {
        const auto [at, added] = index.emplace(key, list.size());
        if (added) list.push_back(key);
        return at->second;
    };
    for (std::size_t k = 0; k < block.size(); ++k) {
        const Observation& o = observations[block[k]];
        timeOf[k] = indexOf(times, o.T);
        yOf[k] = pairIndex(yIndex, ys, {timeOf[k], o.Y});
        zOf[k] = pairIndex(zIndex, zs, {timeOf[k], o.Z});
    }
    std::vector<std::optional<TimeNodes>> nodes(times.size());
    ParallelFor(static_cast<int>(times.size()), 1, workers, [&](int begin, int end) {
        for (int t = begin; t < end; ++t) nodes[static_cast<std::size_t>(t)].emplace(times[static_cast<std::size_t>(t)], quadrature.GaussN, model, quadrature);
    });
    const std::size_t n = nodes.empty() ? 0 : nodes.front()->size();
    std::vector<double> yFactors(ys.size() * n), zFactors(zs.size() * n);
    auto transverse = [&](const std::vector<std::pair<std::size_t, double>>& list, double low, double high, bool alongY,
                          std::vector<double>& factors) {
        ParallelFor(static_cast<int>(list.size()), 4, workers, [&](int begin, int end) {
            for (int p = begin; p < end; ++p) {
                const auto& [t, at] = list[static_cast<std::size_t>(p)];
                const TimeNodes& time = *nodes[t];
                time.transverse(low, high, at, alongY ? time.yScale : time.zScale, false,
                                factors.data() + static_cast<std::size_t>(p) * n);
            }
        });
    };
    transverse(ys, model.YMin, model.YMax, true, yFactors);
    transverse(zs, model.ZMin, model.ZMax, false, zFactors);
    ParallelFor(static_cast<int>(block.size()), 8, workers, [&](int begin, int end) {
        for (int k = begin; k < end; ++k) {
            const std::size_t K = static_cast<std::size_t>(k);
            const Observation& o = observations[block[K]];
            calculated[block[K]] = model.C0 * nodes[timeOf[K]]->integral(o.X, model.Velocity, model, yFactors.data() + yOf[K] * n,
                                                                        zFactors.data() + zOf[K] * n);
        }
    });
}

// The observations inside the plume's domain (finite, x > 0, t > 0), computed
// with shared factors and marked done; the others are left to the point formula.
void sharedFactorValues(const std::vector<Observation>& observations, const ModelState& model,
                        const QuadratureState& quadrature, unsigned workers, std::vector<double>& calculated,
                        std::vector<bool>& done)
{
    std::vector<std::size_t> inside;
    for (std::size_t i = 0; i < observations.size(); ++i) {
        const Observation& o = observations[i];
        if (o.X > 0 && o.T > 0 && std::isfinite(o.X) && std::isfinite(o.Y) && std::isfinite(o.Z) && std::isfinite(o.T))
            inside.push_back(i);
    }
    std::stable_sort(inside.begin(), inside.end(),
                     [&](std::size_t a, std::size_t b) { return observations[a].T < observations[b].T; });
    for (std::size_t first = 0; first < inside.size(); first += kSharingBlock) {
        const std::vector<std::size_t> block(inside.begin() + static_cast<std::ptrdiff_t>(first),
                                             inside.begin() + static_cast<std::ptrdiff_t>(std::min(inside.size(), first + kSharingBlock)));
        sharedFactorBlock(observations, block, model, quadrature, workers, calculated);
    }
    for (std::size_t i : inside) done[i] = true;
}

}  // namespace

std::vector<double> CalculatedConcentrations(const std::vector<Observation>& observations, const ModelState& model,
                                             const QuadratureState& quadrature, unsigned workers)
{
    std::vector<double> calculated(observations.size());
    std::vector<bool> done(observations.size(), false);
    if (model.source.isDefault()) {
        try {
            sharedFactorValues(observations, model, quadrature, workers, calculated, done);
        } catch (const FloatError&) {
            // The point formula below meets the same fault and reports it for the first observation that has it.
            done.assign(observations.size(), false);
        }
    }
    ParallelFor(static_cast<int>(observations.size()), 8, workers, [&](int begin, int end) {
        for (int i = begin; i < end; ++i) {
            if (done[static_cast<std::size_t>(i)]) continue;
            const Observation& o = observations[static_cast<std::size_t>(i)];
            calculated[static_cast<std::size_t>(i)] = PointValue(o.X, o.Y, o.Z, o.T, model, quadrature);
        }
    });
    return calculated;
}

}  // namespace kavrin
