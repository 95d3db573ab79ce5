#include "calibration/Observations.h"

#include "solution/Parallel.h"
#include "solution/Solution.h"
#include "text/DecimalSeparator.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cmath>
#include <map>
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

// The distinct values of `key` over `group`, and each member's index among them.
template <class Key>
std::vector<double> distinct(const std::vector<std::size_t>& group, Key key, std::vector<std::size_t>& indexOf)
{
    std::map<double, std::size_t> index;
    std::vector<double> values;
    indexOf.resize(group.size());
    for (std::size_t k = 0; k < group.size(); ++k) {
        const auto [at, added] = index.emplace(key(group[k]), values.size());
        if (added) values.push_back(at->first);
        indexOf[k] = at->second;
    }
    return values;
}

// The observations of `group` (indices into `observations`), all at one time:
// the time's node factors once, the transverse factors once per distinct y
// and per distinct z, then each observation's sum.
void oneTime(const std::vector<Observation>& observations, const std::vector<std::size_t>& group, const ModelState& model,
             const QuadratureState& quadrature, std::vector<double>& calculated)
{
    const TimeNodes nodes(observations[group.front()].T, quadrature.GaussN, model, quadrature);
    const std::size_t n = nodes.size();
    std::vector<std::size_t> yOf, zOf;
    const std::vector<double> ys = distinct(
        group, [&](std::size_t i) { return observations[i].Y; }, yOf);
    const std::vector<double> zs = distinct(
        group, [&](std::size_t i) { return observations[i].Z; }, zOf);
    std::vector<double> yFactors(ys.size() * n), zFactors(zs.size() * n);
    for (std::size_t p = 0; p < ys.size(); ++p)
        nodes.transverse(model.YMin, model.YMax, ys[p], nodes.yScale, false, yFactors.data() + p * n);
    for (std::size_t p = 0; p < zs.size(); ++p)
        nodes.transverse(model.ZMin, model.ZMax, zs[p], nodes.zScale, false, zFactors.data() + p * n);
    for (std::size_t k = 0; k < group.size(); ++k)
        calculated[group[k]] = model.C0 * nodes.integral(observations[group[k]].X, model.Velocity, model,
                                                         yFactors.data() + yOf[k] * n, zFactors.data() + zOf[k] * n);
}

// The observations inside the plume's domain (finite, x > 0, t > 0), computed
// time by time with shared factors and marked done; the others are left to
// the point formula. The times are shared among the workers.
void sharedFactorValues(const std::vector<Observation>& observations, const ModelState& model, const QuadratureState& quadrature,
                        unsigned workers, std::vector<double>& calculated, std::vector<bool>& done)
{
    std::map<double, std::vector<std::size_t>> byTime;
    for (std::size_t i = 0; i < observations.size(); ++i) {
        const Observation& o = observations[i];
        if (o.X > 0 && o.T > 0 && std::isfinite(o.X) && std::isfinite(o.Y) && std::isfinite(o.Z) && std::isfinite(o.T))
            byTime[o.T].push_back(i);
    }
    std::vector<const std::vector<std::size_t>*> groups;
    for (const auto& entry : byTime) groups.push_back(&entry.second);
    ParallelFor(static_cast<int>(groups.size()), 1, workers, [&](int begin, int end) {
        for (int g = begin; g < end; ++g)
            oneTime(observations, *groups[static_cast<std::size_t>(g)], model, quadrature, calculated);
    });
    for (const auto& entry : byTime)
        for (std::size_t i : entry.second) done[i] = true;
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
