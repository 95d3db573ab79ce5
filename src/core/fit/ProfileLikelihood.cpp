#include "fit/ProfileLikelihood.h"

#include "fit/ObservationCost.h"
#include "fit/ParameterFit.h"
#include "model/Variaveis.h"
#include "text/Errors.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace kavrin {

namespace {

// The objective along the profile: the other parameters fitted again with
// the chosen one held at a coordinate, each fit starting where the nearest
// one inside the interval ended.
class Profile {
public:
    Profile(const std::vector<Observation>& observations, const QuadratureState& quadrature, const FitSettings& settings,
            const FitResult& optimum, std::size_t chosen)
        : observations_(observations), quadrature_(quadrature), settings_(settings), info_(InfoOf(settings.parameters[chosen]))
    {
        others_ = settings;
        others_.parameters.erase(others_.parameters.begin() + static_cast<std::ptrdiff_t>(chosen));
        others_.bounds.erase(others_.bounds.begin() + static_cast<std::ptrdiff_t>(chosen));
        others_.progress = [this](int, double) { return !stopped_; };
        inside_ = optimum.model;
    }

    // The objective with the chosen coordinate at theta.
    double at(double theta)
    {
        ModelState model = inside_;
        info_.set(model, Residuals::value(info_, theta));
        DeriveModelFields(model);
        double objective = 0;
        if (others_.parameters.empty()) {
            const Residuals residuals(observations_, model, quadrature_, settings_);
            const std::vector<double> values = CalculatedConcentrations(observations_, model, quadrature_, settings_.workers);
            for (int i = 0; i < residuals.count(); ++i)
                objective += std::pow(residuals.residual(i, values[static_cast<std::size_t>(i)]), 2);
        } else {
            const FitResult fit = FitObservations(observations_, model, quadrature_, others_);
            if (fit.stop == FitStop::Cancelled) throw FitCancelled();
            if (!fit.reachedEnd())
                throw CheckError(std::string("The profile's fit of the other parameters failed at ") + info_.name + " = " +
                                 FormatGeneral(Residuals::value(info_, theta), '.') + ": " + fit.solverMessage);
            objective = fit.after.objective;
            model = fit.model;
        }
        ++fits_;
        if (settings_.progress && !settings_.progress(fits_, objective)) {
            stopped_ = true;
            throw FitCancelled();
        }
        last_ = model;
        return objective;
    }
    // The next fits start where the last one ended.
    void keepLast() { inside_ = last_; }
    void restart(const ModelState& model) { inside_ = model; }
    int fits() const { return fits_; }

private:
    const std::vector<Observation>& observations_;
    const QuadratureState& quadrature_;
    const FitSettings& settings_;
    const FitParameterInfo& info_;
    FitSettings others_;
    ModelState inside_, last_;
    int fits_ = 0;
    bool stopped_ = false;
};

struct End {
    double theta;
    bool atBound;
};

// One end: outward from the optimum in steps that double from the linearised
// half-width until the objective passes the threshold or the bound is
// reached, then the crossing by regula falsi (Illinois).
End findEnd(Profile& profile, double optimum, double sigma, double halfWidth, double bound, double direction, double minimum,
            double threshold)
{
    double inside = optimum, insideValue = minimum - threshold;
    double distance = halfWidth;
    double outside = 0, outsideValue = 0;
    for (int step = 0;; ++step) {
        double theta = optimum + direction * distance;
        const bool last = direction * (theta - bound) >= 0 || step == 30;
        if (last) theta = bound;
        const double value = profile.at(theta) - threshold;
        if (value > 0) {
            outside = theta;
            outsideValue = value;
            break;
        }
        profile.keepLast();
        inside = theta;
        insideValue = value;
        if (last) return {bound, true};
        distance *= 2;
    }
    int side = 0;  // the end moved last: a value kept twice in a row is halved (Illinois)
    for (int iteration = 0; iteration < 60 && std::fabs(outside - inside) > 1e-4 * sigma; ++iteration) {
        const double theta = (inside * outsideValue - outside * insideValue) / (outsideValue - insideValue);
        const double value = profile.at(theta) - threshold;
        if (value == 0) return {theta, false};
        if (value > 0) {
            outside = theta;
            outsideValue = value;
            if (side == 1) insideValue /= 2;
            side = 1;
        } else {
            inside = theta;
            insideValue = value;
            if (side == -1) outsideValue /= 2;
            side = -1;
        }
    }
    return {(inside * outsideValue - outside * insideValue) / (outsideValue - insideValue), false};
}

}  // namespace

ProfileInterval ProfileLikelihoodInterval(const std::vector<Observation>& observations, const QuadratureState& quadrature,
                                          const FitSettings& settings, const FitResult& optimum, FitParameter parameter)
{
    const auto found = std::find(settings.parameters.begin(), settings.parameters.end(), parameter);
    const FitParameterInfo& info = InfoOf(parameter);
    if (found == settings.parameters.end())
        throw CheckError(std::string("The profile's parameter ") + info.name + " is not one of the fitted ones");
    if (!optimum.reachedEnd()) throw CheckError("The profile needs a fit that reached its optimum");
    const auto chosen = static_cast<std::size_t>(std::distance(settings.parameters.begin(), found));
    const FittedParameter& fitted = optimum.parameters[chosen];
    const double theta = Residuals::theta(info, fitted.value);
    const double low = Residuals::theta(info, settings.bounds[chosen].lower);
    const double high = Residuals::theta(info, settings.bounds[chosen].upper);
    // The linearised standard error in the fitted coordinate sets the scale;
    // without one (a singular fit, a value on its bound) a twentieth of the range does.
    double sigma = info.positive && fitted.value > 0 ? fitted.standardError / fitted.value : fitted.standardError;
    if (!(sigma > 0) || !std::isfinite(sigma)) sigma = (high - low) / 20;
    const double t = optimum.t975;
    const double minimum = optimum.after.objective;

    ProfileInterval result{parameter};
    result.threshold = minimum * (1 + t * t / optimum.degreesOfFreedom);  // F(1, ν) = t²(ν)
    Profile profile(observations, quadrature, settings, optimum, chosen);
    const End lower = findEnd(profile, theta, sigma, t * sigma, low, -1, minimum, result.threshold);
    profile.restart(optimum.model);
    const End upper = findEnd(profile, theta, sigma, t * sigma, high, 1, minimum, result.threshold);
    // An end on its bound is the bound itself, not its logarithm's round trip.
    result.lower = lower.atBound ? settings.bounds[chosen].lower
                                 : std::clamp(Residuals::value(info, lower.theta), settings.bounds[chosen].lower, fitted.value);
    result.upper = upper.atBound ? settings.bounds[chosen].upper
                                 : std::clamp(Residuals::value(info, upper.theta), fitted.value, settings.bounds[chosen].upper);
    result.lowerAtBound = lower.atBound;
    result.upperAtBound = upper.atBound;
    result.fits = profile.fits();
    return result;
}

}  // namespace kavrin
