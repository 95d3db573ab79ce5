#include "solution/MassBalance.h"

#include "model/SourceTextRules.h"
#include "text/Errors.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>

namespace kavrin {

namespace {

using Real = long double;
constexpr Real kPi = 3.141592653589793238462643383279502884L;

// ---- An adaptive Gauss–Legendre integral in long double ----

constexpr int kRuleOrder = 20;

struct Rule {
    std::array<Real, kRuleOrder> node{}, weight{};
};

// The 20-point Gauss–Legendre rule on [-1, 1]: Newton on the Legendre recurrence.
Rule makeRule()
{
    Rule rule;
    const int n = kRuleOrder;
    for (int i = 0; i < n; ++i) {
        Real x = std::cos(kPi * (i + 0.75L) / (n + 0.5L));
        Real derivative = 0;
        for (int iteration = 0; iteration < 100; ++iteration) {
            Real p0 = 1, p1 = x;
            for (int k = 2; k <= n; ++k) {
                const Real p2 = ((2 * k - 1) * x * p1 - (k - 1) * p0) / k;
                p0 = p1;
                p1 = p2;
            }
            derivative = n * (x * p1 - p0) / (x * x - 1);
            const Real step = p1 / derivative;
            x -= step;
            if (std::fabs(step) < 1e-21L) break;
        }
        rule.node[static_cast<std::size_t>(i)] = x;
        rule.weight[static_cast<std::size_t>(i)] = 2 / ((1 - x * x) * derivative * derivative);
    }
    return rule;
}

const Rule& gaussRule()
{
    static const Rule rule = makeRule();
    return rule;
}

using Integrand = std::function<Real(Real)>;

Real gauss(const Integrand& f, Real a, Real b)
{
    const Rule& rule = gaussRule();
    const Real half = (b - a) / 2, middle = (a + b) / 2;
    Real sum = 0;
    for (int i = 0; i < kRuleOrder; ++i)
        sum += rule.weight[static_cast<std::size_t>(i)] * f(middle + half * rule.node[static_cast<std::size_t>(i)]);
    return sum * half;
}

// Halves [a, b] until the two halves agree with the whole within `tolerance`.
Real refine(const Integrand& f, Real a, Real b, Real whole, Real tolerance, int depth)
{
    const Real middle = (a + b) / 2;
    const Real left = gauss(f, a, middle), right = gauss(f, middle, b);
    // Below the rounding of the sums themselves no halving helps.
    const Real noise = 64 * std::numeric_limits<Real>::epsilon() * (std::fabs(left) + std::fabs(right));
    if (std::fabs(left + right - whole) <= std::max(tolerance, noise) || depth == 0 || !(middle > a && middle < b))
        return left + right;
    return refine(f, a, middle, left, tolerance / 2, depth - 1) + refine(f, middle, b, right, tolerance / 2, depth - 1);
}

// The integral over [0, end] of f, split at the breaks (inside (0, end), any
// order): each piece starts as 8 panels, whose rough sum sets the tolerance.
Real integrate(const Integrand& f, Real end, std::vector<Real> breaks)
{
    breaks.push_back(0);
    breaks.push_back(end);
    std::sort(breaks.begin(), breaks.end());
    breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
    std::vector<std::pair<Real, Real>> panels;
    for (std::size_t i = 0; i + 1 < breaks.size(); ++i) {
        const Real a = breaks[i], b = breaks[i + 1];
        if (!(a >= 0 && b <= end && b > a)) continue;
        for (int k = 0; k < 8; ++k) panels.emplace_back(a + (b - a) * k / 8, k == 7 ? b : a + (b - a) * (k + 1) / 8);
    }
    std::vector<Real> rough(panels.size());
    Real size = 0;
    for (std::size_t i = 0; i < panels.size(); ++i) {
        rough[i] = gauss(f, panels[i].first, panels[i].second);
        size += std::fabs(rough[i]);
    }
    // Parts far below the smallest double (denormal in long double, where
    // halving never settles) cannot show in any result.
    const Real tolerance = std::max(size * 1e-14L, 1e-300L);
    Real sum = 0;
    for (std::size_t i = 0; i < panels.size(); ++i)
        sum += refine(f, panels[i].first, panels[i].second, rough[i], tolerance * (panels[i].second - panels[i].first) / end, 30);
    return sum;
}

// ---- The source's history ----

// g(s), the source's strength at time s, and G(s), its integral from 0.
struct History {
    const SourceOptions& options;

    Real g(Real s) const
    {
        if (s < 0) return 0;
        switch (options.history) {
        case SourceHistory::Constant:
            return 1;
        case SourceHistory::Decay:
            return std::exp(-static_cast<Real>(options.decayRate) * s);
        case SourceHistory::Stop:
            return s <= options.releaseEnd ? 1 : 0;
        case SourceHistory::Steps: {
            Real relative = 0;
            for (const SourceStep& step : options.steps)
                if (step.start <= s) relative = step.relative;
            return relative;
        }
        }
        return 0;
    }

    Real G(Real s) const
    {
        if (s <= 0) return 0;
        switch (options.history) {
        case SourceHistory::Constant:
            return s;
        case SourceHistory::Decay: {
            const Real k = options.decayRate;
            return -std::expm1(-k * s) / k;
        }
        case SourceHistory::Stop:
            return std::min<Real>(s, options.releaseEnd);
        case SourceHistory::Steps: {
            Real sum = 0;
            for (std::size_t i = 0; i < options.steps.size(); ++i) {
                const Real from = std::max<Real>(options.steps[i].start, 0);
                const Real to = i + 1 < options.steps.size() ? std::min<Real>(options.steps[i + 1].start, s) : s;
                if (to > from) sum += options.steps[i].relative * (to - from);
            }
            return sum;
        }
        }
        return 0;
    }

    // The times after 0 where g jumps.
    std::vector<Real> jumps() const
    {
        std::vector<Real> at;
        if (options.history == SourceHistory::Stop && options.releaseEnd > 0) at.push_back(options.releaseEnd);
        if (options.history == SourceHistory::Steps)
            for (const SourceStep& step : options.steps)
                if (step.start > 0) at.push_back(step.start);
        return at;
    }

    // The jump of g at s (at 0 the source starts at g(0)).
    Real jumpAt(Real s) const { return g(s) - (s > 0 ? g(std::nextafter(s, Real(-1))) : 0); }
};

// ---- The 1-D kernels: the solution integrated over y and z, per unit of loading ----

struct Transport {
    Real v, D, decay;

    // dm/dτ: the mass of the unit-step solution gains this at age τ, decay included.
    Real massKernel(Real tau) const
    {
        return std::sqrt(D / (kPi * tau)) * std::exp(-(decay + v * v / (4 * D)) * tau) +
               v / 2 * std::exp(-decay * tau) * std::erfc(-v / 2 * std::sqrt(tau / D));
    }

    // The flux through x = 0 of the unit-step solution at age τ (advection
    // inwards, less dispersion back out of the plane).
    Real boundaryFlux(Real tau) const
    {
        const Real w = std::sqrt(v * v + 4 * decay * D);
        const Real a = w * std::sqrt(tau / (4 * D));
        return v / 2 + w / 2 * std::erf(a) + std::sqrt(D / (kPi * tau)) * std::exp(-a * a);
    }

    // The flux through the plane x = X > 0 of the unit pulse at age τ.
    Real planeFlux(Real X, Real tau) const
    {
        const Real A = X - v * tau;
        const Real pulse = X / (2 * std::sqrt(kPi * D * tau * tau * tau)) * std::exp(-decay * tau - A * A / (4 * D * tau));
        return pulse * ((X + v * tau) / (2 * tau) - D / X);
    }
};

// ∫₀ᵗ kernel(τ)·weight(t − τ) dτ with τ = s² (the kernels go as τ^(−½) at 0),
// split where the weight jumps and around `peaks` (ages).
Real convolve(const std::function<Real(Real)>& kernel, const std::function<Real(Real)>& weight, Real t,
              const std::vector<Real>& jumps, const std::vector<Real>& peaks)
{
    std::vector<Real> breaks;
    for (Real s : jumps)
        if (s > 0 && s < t) breaks.push_back(std::sqrt(t - s));
    for (Real age : peaks)
        if (age > 0 && age < t) breaks.push_back(std::sqrt(age));
    return integrate([&](Real s) { return kernel(s * s) * weight(t - s * s) * 2 * s; }, std::sqrt(t), breaks);
}

// The ages around the passage of the pulse's peak through X, where the plane's
// flux lives when dispersion is small beside the distance.
std::vector<Real> passageAges(const Transport& transport, Real X)
{
    std::vector<Real> ages;
    if (!(transport.v > 0)) return ages;
    const Real centre = X / transport.v, spread = std::sqrt(2 * transport.D / (transport.v * X));
    for (int k = -6; k <= 6; ++k) ages.push_back(centre * (1 + k * spread / 2));
    return ages;
}

// The mass discharge rate per unit loading through the plane x = X at time t.
Real discharge(const Transport& transport, const History& history, Real X, Real t)
{
    if (X < 0) return 0;  // upstream of the source: no plume there
    if (X > 0)
        return convolve([&](Real tau) { return transport.planeFlux(X, tau); }, [&](Real s) { return history.g(s); }, t,
                        history.jumps(), passageAges(transport, X));
    // On the source plane: the boundary flux, each jump of g a step response.
    Real rate = history.jumpAt(0) * transport.boundaryFlux(t);
    for (Real s : history.jumps())
        if (s < t) rate += history.jumpAt(s) * transport.boundaryFlux(t - s);
    if (history.options.history == SourceHistory::Decay) {
        const Real k = history.options.decayRate;
        rate -=
            k * convolve([&](Real tau) { return transport.boundaryFlux(tau); }, [&](Real s) { return history.g(s); }, t, {}, {});
    }
    return rate;
}

void requirePositiveDispersion(const ModelState& model)
{
    for (double dispersion : {model.DispX, model.DispY, model.DispZ}) {
        if (dispersion == 0) throw FloatError::divisionByZero();
        if (!(dispersion > 0) || !std::isfinite(dispersion)) throw FloatError::invalidOperation();
    }
}

}  // namespace

double SourceLoading(const ModelState& model)
{
    const std::vector<SourceZone> zones = SourceZonesOf(model);
    Real loading = 0;
    for (std::size_t i = 0; i < zones.size(); ++i) {
        const int holder = InnermostContainer(zones, i);
        const Real outside = holder < 0 ? 0 : zones[static_cast<std::size_t>(holder)].concentration;
        loading += (zones[i].concentration - outside) * zones[i].width * zones[i].height;
    }
    return static_cast<double>(loading);
}

std::vector<MassBalanceRow> ComputeMassBalance(const ModelState& model, const std::vector<double>& times)
{
    requirePositiveDispersion(model);
    const Transport transport{model.Velocity, model.DispX, model.Decay};
    const History history{model.source};
    const Real retardation = model.Retardation >= 1 ? model.Retardation : 1;
    // mg/L × m³ = 1000 mg; the porosity holds the water.
    const Real dissolvedScale = 1000.0L * model.Porosity * SourceLoading(model);
    const Real totalScale = dissolvedScale * retardation;
    const auto g = [&](Real s) { return history.g(s); };

    std::vector<MassBalanceRow> rows;
    for (double time : times) {
        const double none = model.source.controlPlaneX ? 0.0 : std::numeric_limits<double>::quiet_NaN();
        MassBalanceRow row{time, 0, 0, 0, 0, none, 0};
        const Real t = time;
        if (t > 0) {
            const std::vector<Real> jumps = history.jumps();
            const auto mass = [&](Real tau) { return transport.massKernel(tau); };
            const Real present = convolve(mass, g, t, jumps, {});
            const Real decayed =
                model.Decay > 0 ? model.Decay * convolve(mass, [&](Real s) { return history.G(s); }, t, jumps, {}) : 0;
            const Real entered = convolve([&](Real tau) { return transport.boundaryFlux(tau); }, g, t, jumps, {});
            row.entered = static_cast<double>(totalScale * entered);
            row.decayed = static_cast<double>(totalScale * decayed);
            row.dissolved = static_cast<double>(dissolvedScale * present);
            row.sorbed = static_cast<double>((retardation - 1) * dissolvedScale * present);
            if (model.source.controlPlaneX)
                row.dischargeControl =
                    static_cast<double>(totalScale * discharge(transport, history, *model.source.controlPlaneX, t));
            row.dischargeEdge = static_cast<double>(totalScale * discharge(transport, history, model.X1, t));
        }
        rows.push_back(row);
    }
    return rows;
}

}  // namespace kavrin
