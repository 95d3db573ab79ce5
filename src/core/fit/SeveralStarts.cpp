#include "fit/SeveralStarts.h"

#include "fit/ObservationCost.h"
#include "fit/ParameterFit.h"
#include "model/Variaveis.h"
#include "solution/Parallel.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <mutex>
#include <numeric>
#include <optional>

namespace kavrin {

namespace {

// A 64-bit generator of fixed definition (SplitMix64), so that a seed gives the same starts everywhere.
class StartGenerator {
public:
    explicit StartGenerator(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uniform() { return (static_cast<double>(next() >> 11) + 0.5) / 9007199254740992.0; }  // in (0, 1)
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }

private:
    std::uint64_t state_;
};

}  // namespace

std::vector<std::vector<double>> LatinHypercubeStarts(const FitSettings& settings, int count, std::uint64_t seed)
{
    const std::size_t p = settings.parameters.size(), n = static_cast<std::size_t>(std::max(count, 0));
    std::vector<std::vector<double>> points(n, std::vector<double>(p));
    StartGenerator generator(seed);
    std::vector<std::size_t> strata(n);
    for (std::size_t j = 0; j < p; ++j) {
        std::iota(strata.begin(), strata.end(), std::size_t{0});
        for (std::size_t i = n; i > 1; --i) std::swap(strata[i - 1], strata[generator.below(i)]);
        const FitParameterInfo& info = InfoOf(settings.parameters[j]);
        const double low = Residuals::theta(info, settings.bounds[j].lower);
        const double high = Residuals::theta(info, settings.bounds[j].upper);
        for (std::size_t i = 0; i < n; ++i) {
            const double at = (static_cast<double>(strata[i]) + generator.uniform()) / static_cast<double>(n);
            const double value = Residuals::value(info, low + at * (high - low));
            // exp(log(bound)) may fall a rounding outside the bound.
            points[i][j] = std::clamp(value, settings.bounds[j].lower, settings.bounds[j].upper);
        }
    }
    return points;
}

SeveralStartsResult FitFromSeveralStarts(const std::vector<Observation>& observations, const ModelState& start,
                                         const QuadratureState& quadrature, const FitSettings& settings, int count,
                                         std::uint64_t seed)
{
    RefuseWhatCannotBeFitted(observations, start, settings);
    const std::vector<std::vector<double>> points = LatinHypercubeStarts(settings, count, seed);
    const std::size_t n = points.size();
    std::vector<std::optional<FitResult>> fits(n);
    std::vector<std::exception_ptr> errors(n);
    std::atomic<bool> cancelled = false;
    std::mutex progressLock;
    int done = 0;
    double bestSoFar = std::numeric_limits<double>::quiet_NaN();

    // Each start on one thread with its observations evaluated there: the starts are the parallel work.
    FitSettings each = settings;
    each.workers = 1;
    each.progress = [&](int, double) { return !cancelled; };
    ParallelFor(static_cast<int>(n), 1, std::max(1u, settings.workers), [&](int begin, int end) {
        for (int i = begin; i < end; ++i) {
            if (cancelled) return;
            const auto k = static_cast<std::size_t>(i);
            ModelState model = start;
            for (std::size_t j = 0; j < settings.parameters.size(); ++j) InfoOf(settings.parameters[j]).set(model, points[k][j]);
            DeriveModelFields(model);
            try {
                fits[k] = FitObservations(observations, model, quadrature, each);
            } catch (...) {
                errors[k] = std::current_exception();
            }
            const std::lock_guard lock(progressLock);
            ++done;
            if (fits[k] && fits[k]->reachedEnd() && !(fits[k]->after.objective >= bestSoFar))
                bestSoFar = fits[k]->after.objective;
            if (settings.progress && !settings.progress(done, bestSoFar)) cancelled = true;
        }
    });

    SeveralStartsResult result;
    result.starts = static_cast<int>(n);
    result.seed = seed;
    std::vector<std::size_t> ended;
    for (std::size_t k = 0; k < n; ++k) {
        if (fits[k] && fits[k]->reachedEnd())
            ended.push_back(k);
        else if (!fits[k] || fits[k]->stop == FitStop::Failed)
            ++result.failed;
    }
    if (ended.empty()) {
        if (cancelled || n == 0) {
            result.best.stop = FitStop::Cancelled;
            return result;
        }
        for (std::size_t k = 0; k < n; ++k)
            if (errors[k]) std::rethrow_exception(errors[k]);
        result.best = *fits[0];  // every start failed in the solver: the first says why
        return result;
    }
    std::stable_sort(ended.begin(), ended.end(),
                     [&](std::size_t a, std::size_t b) { return fits[a]->after.objective < fits[b]->after.objective; });
    result.best = *fits[ended.front()];
    if (cancelled) result.best.stop = FitStop::Cancelled;
    // Minima apart by more than kSameMinimum of the lower objective are different
    // ones; a perfect fit (objective 0) counts its equals within the rounding of the objective before it.
    const double tolerance = kSameMinimum * std::max(result.best.after.objective, 1e-12 * result.best.before.objective);
    for (std::size_t k : ended) {
        const FitResult& fit = *fits[k];
        if (fit.after.objective - result.best.after.objective <= tolerance) {
            ++result.reachedBest;
            continue;
        }
        if (!result.others.empty() &&
            fit.after.objective - result.others.back().objective <= kSameMinimum * result.others.back().objective) {
            ++result.others.back().starts;
            continue;
        }
        FoundMinimum minimum{fit.after.objective, {}, 1};
        for (const FittedParameter& p : fit.parameters) minimum.values.push_back(p.value);
        result.others.push_back(minimum);
    }
    return result;
}

}  // namespace kavrin
