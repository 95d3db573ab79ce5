#include "uncertainty/UncertaintyChecks.h"

#include "uncertainty/RealizationDraws.h"
#include "uncertainty/UncertainParameters.h"

#include <cmath>
#include <set>

namespace kavrin {

namespace {

std::optional<UncertaintyRefusal> refuse(UncertaintyRule rule, std::string subject = {})
{
    return UncertaintyRefusal{rule, std::move(subject)};
}

std::optional<UncertaintyRefusal> checkParameterName(const std::string& name, const ModelState& model,
                                                     std::set<std::string>& seen)
{
    const auto parameter = UncertainParameterOfName(name);
    if (!parameter) return refuse(UncertaintyRule::UnknownParameter, name);
    if (!ModelUsesUncertainParameter(model, *parameter)) return refuse(UncertaintyRule::ParameterNotUsed, name);
    if (!seen.insert(name).second) return refuse(UncertaintyRule::VariedTwice, name);
    return std::nullopt;
}

std::optional<UncertaintyRefusal> checkNumbers(const std::vector<TypedNumber>& numbers, UncertaintyRule none,
                                               UncertaintyRule notPositive)
{
    if (numbers.empty()) return refuse(none);
    for (const TypedNumber& number : numbers)
        if (!(number.value > 0) || !std::isfinite(number.value)) return refuse(notPositive, number.text);
    return std::nullopt;
}

}  // namespace

std::optional<UncertaintyRefusal> CheckDistribution(const std::string& parameter, const Distribution& d)
{
    const bool triangular = d.kind == DistributionKind::Triangular;
    if (!std::isfinite(d.a) || !std::isfinite(d.b) || (triangular && !std::isfinite(d.c)))
        return refuse(UncertaintyRule::ArgumentNotFinite, parameter);
    switch (d.kind) {
    case DistributionKind::Uniform:
        if (!(d.a < d.b)) return refuse(UncertaintyRule::InvertedArguments, parameter);
        break;
    case DistributionKind::Triangular:
        if (!(d.a < d.c) || d.b < d.a || d.b > d.c) return refuse(UncertaintyRule::InvertedArguments, parameter);
        break;
    case DistributionKind::Normal:
        if (!(d.b > 0)) return refuse(UncertaintyRule::SpreadNotPositive, parameter);
        break;
    case DistributionKind::Lognormal:
        if (!(d.a > 0) || !(d.b > 1)) return refuse(UncertaintyRule::SpreadNotPositive, parameter);
        break;
    }
    if (const auto info = UncertainParameterOfName(parameter)) {
        // The probability the physical range holds must leave room for draws.
        const double mass = DistributionCdf(d, info->upper) - DistributionCdf(d, info->lower);
        if (!(mass > 1e-12)) return refuse(UncertaintyRule::OutsidePhysicalRange, parameter);
    }
    return std::nullopt;
}

std::optional<UncertaintyRefusal> CheckUncertaintySettings(const UncertaintySettings& settings, const ModelState& model)
{
    std::set<std::string> seen;
    for (const VariedParameter& varied : settings.varied) {
        if (auto refusal = checkParameterName(varied.name, model, seen)) return refusal;
        if (auto refusal = CheckDistribution(varied.name, varied.distribution)) return refusal;
    }
    if (settings.fromFit) {
        const FitDraw& fit = *settings.fromFit;
        if (fit.names.empty()) return refuse(UncertaintyRule::NoFit);
        for (const std::string& name : fit.names)
            if (auto refusal = checkParameterName(name, model, seen)) return refusal;
        const bool shaped = fit.logarithmic.size() == fit.names.size() && fit.centre.size() == fit.names.size() &&
                            fit.covariance.size() == fit.names.size();
        if (!shaped) return refuse(UncertaintyRule::NoFit);
        for (const auto& row : fit.covariance)
            if (row.size() != fit.names.size()) return refuse(UncertaintyRule::NoFit);
        for (double centre : fit.centre)
            if (!std::isfinite(centre)) return refuse(UncertaintyRule::SingularFitCovariance);
        if (CholeskyFactor(fit.covariance).empty()) return refuse(UncertaintyRule::SingularFitCovariance);
    }
    if (settings.varied.empty() && !settings.fromFit) return refuse(UncertaintyRule::NothingVaried);
    if (settings.realizations < kFewestRealizations)
        return refuse(UncertaintyRule::TooFewRealizations, std::to_string(settings.realizations));
    if (settings.realizations > kMostRealizations)
        return refuse(UncertaintyRule::TooManyRealizations, std::to_string(settings.realizations));
    if (settings.thresholds.size() > static_cast<std::size_t>(kMostThresholds)) return refuse(UncertaintyRule::TooManyThresholds);
    if (auto refusal = checkNumbers(settings.thresholds, UncertaintyRule::NoThreshold, UncertaintyRule::ThresholdNotPositive))
        return refusal;
    for (std::size_t i = 0; i < settings.thresholds.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (settings.thresholds[i].value == settings.thresholds[j].value)
                return refuse(UncertaintyRule::ThresholdTwice, settings.thresholds[i].text);
    if (auto refusal = checkNumbers(settings.times, UncertaintyRule::NoTime, UncertaintyRule::TimeNotPositive)) return refusal;
    if (settings.receptors.size() > static_cast<std::size_t>(kMostReceptors)) return refuse(UncertaintyRule::TooManyReceptors);
    for (std::size_t r = 0; r < settings.receptors.size(); ++r) {
        const Receptor& receptor = settings.receptors[r];
        if (!std::isfinite(receptor.x) || !std::isfinite(receptor.y) || !std::isfinite(receptor.z))
            return refuse(UncertaintyRule::ReceptorNotFinite, std::to_string(r + 1));
    }
    const RealizationPart& part = settings.part;
    if (part.count < 1 || part.index < 1 || part.index > part.count)
        return refuse(UncertaintyRule::PartOutOfRange, std::to_string(part.index) + "/" + std::to_string(part.count));
    return std::nullopt;
}

std::string EnglishUncertaintyText(const UncertaintyRefusal& refusal)
{
    const std::string& s = refusal.subject;
    switch (refusal.rule) {
    case UncertaintyRule::NotAVariedText:
        return "\"" + s + "\" is not NAME=DIST:ARGS (for example AlphaX=lognormal:10,1.5 or C0=normal:1,0.1).";
    case UncertaintyRule::UnknownParameter:
        return "\"" + s +
               "\" is not a parameter that can vary: AlphaX, AlphaY, AlphaZ, Kxx, GradH, Porosity, Retardation, Decay, C0, "
               "SourceWidth, SourceHeight, SourceDecay, ReleaseEnd or ZoneConcentration2 … 20.";
    case UncertaintyRule::UnknownDistribution:
        return "\"" + s + "\" is not a distribution: uniform, normal, lognormal or triangular.";
    case UncertaintyRule::WrongArgumentCount:
        return s + ": uniform takes LO,HI, normal MEAN,SD, lognormal MEDIAN,GSD and triangular LO,MODE,HI.";
    case UncertaintyRule::ArgumentNotANumber:
        return s + ": an argument of the distribution is not a number.";
    case UncertaintyRule::ArgumentNotFinite:
        return s + ": the distribution's arguments must be finite numbers.";
    case UncertaintyRule::InvertedArguments:
        return s + ": the distribution's lower end must be below its upper end, and its mode between them.";
    case UncertaintyRule::SpreadNotPositive:
        return s + ": the standard deviation and the median must be greater than zero, the geometric standard deviation "
                   "greater than 1.";
    case UncertaintyRule::OutsidePhysicalRange:
        return s + ": the distribution gives no value the parameter can physically take.";
    case UncertaintyRule::ParameterNotUsed:
        return s + " is not used by the model's source options, so it cannot vary.";
    case UncertaintyRule::VariedTwice:
        return s + " is varied twice.";
    case UncertaintyRule::TooFewRealizations:
        return "The number of realizations must be at least 2, not " + s + ".";
    case UncertaintyRule::TooManyRealizations:
        return "The number of realizations must be at most 1000000, not " + s + ".";
    case UncertaintyRule::NoThreshold:
        return "A standard (the first threshold) is needed.";
    case UncertaintyRule::TooManyThresholds:
        return "At most 8 thresholds can be given, the standard included.";
    case UncertaintyRule::ThresholdNotPositive:
        return "The threshold " + s + " is not a number greater than zero.";
    case UncertaintyRule::NoFit:
        return "There is no fit to draw from: no fitted parameter has a standard error.";
    case UncertaintyRule::SingularFitCovariance:
        return "The fit's covariance is singular: its parameters cannot be drawn jointly.";
    case UncertaintyRule::NoTime:
        return "No time is chosen.";
    case UncertaintyRule::TimeNotPositive:
        return "The time " + s + " is not a number greater than zero.";
    case UncertaintyRule::TooManyReceptors:
        return "At most 50 receptors can be given.";
    case UncertaintyRule::ReceptorNotFinite:
        return "Receptor " + s + " has a coordinate that is not a finite number.";
    case UncertaintyRule::PartOutOfRange:
        return "The part " + s + " must be I/M with I from 1 to M.";
    case UncertaintyRule::NothingVaried:
        return "No parameter is varied.";
    case UncertaintyRule::ThresholdTwice:
        return "The threshold " + s + " is given twice.";
    }
    return {};
}

UncertaintyError::UncertaintyError(const UncertaintyRefusal& refusal)
    : CheckError(EnglishUncertaintyText(refusal)), refusal_(refusal)
{
}

}  // namespace kavrin
