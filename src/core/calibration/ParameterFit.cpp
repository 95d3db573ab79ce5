#include "calibration/ParameterFit.h"

#include "calibration/Comparison.h"
#include "calibration/StudentT.h"
#include "model/Variaveis.h"
#include "text/Errors.h"
#include "text/NumberText.h"

#include <ceres/ceres.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace kavrin {

const std::array<FitParameterInfo, 9> kFitParameters = {{
    {FitParameter::AlphaX, "AlphaX", &ModelState::AlphaX, 14, true},
    {FitParameter::AlphaY, "AlphaY", &ModelState::AlphaY, 15, true},
    {FitParameter::AlphaZ, "AlphaZ", &ModelState::AlphaZ, 16, true},
    {FitParameter::Kxx, "Kxx", &ModelState::Kxx, 18, true},
    {FitParameter::Retardation, "Retardation", &ModelState::Retardation, 20, true},
    {FitParameter::Decay, "Decay", &ModelState::Decay, 21, false},
    {FitParameter::C0, "C0", &ModelState::C0, 1, true},
    {FitParameter::SourceWidth, "SourceWidth", &ModelState::SourceWidth, 2, true},
    {FitParameter::SourceHeight, "SourceHeight", &ModelState::SourceHeight, 3, true},
}};

const FitParameterInfo& InfoOf(FitParameter parameter)
{
    return kFitParameters[static_cast<std::size_t>(parameter)];
}

std::optional<FitParameter> FitParameterOfName(const std::string& name)
{
    for (const FitParameterInfo& info : kFitParameters)
        if (name == info.name) return info.parameter;
    return std::nullopt;
}

FitBounds DefaultBounds(FitParameter parameter, double value)
{
    if (parameter == FitParameter::Decay) return {0, std::max(100 * std::fabs(value), 1.0)};
    if (parameter == FitParameter::Retardation) return {1, 100 * std::max(value, 1.0)};
    return {value / 100, value * 100};
}

namespace {

// Correlations beyond this make two parameters indistinguishable.
constexpr double kIndistinguishable = 0.99;

// The observations' residuals as functions of the fitted coordinates θ
// (log(value) for positive parameters, the value itself otherwise).
class Residuals {
public:
    Residuals(const std::vector<Observation>& observations, const ModelState& start, const QuadratureState& quadrature,
              const FitSettings& settings)
        : observations_(observations), start_(start), quadrature_(quadrature), settings_(settings),
          rootWeights_(observations.size(), 1.0)
    {
        for (std::size_t i = 0; i < settings.weights.size() && i < rootWeights_.size(); ++i) rootWeights_[i] = std::sqrt(settings.weights[i]);
    }

    int count() const { return static_cast<int>(observations_.size()); }
    int parameters() const { return static_cast<int>(settings_.parameters.size()); }

    static double theta(const FitParameterInfo& info, double value) { return info.positive ? std::log(value) : value; }
    static double value(const FitParameterInfo& info, double theta) { return info.positive ? std::exp(theta) : theta; }

    ModelState modelAt(const double* theta) const
    {
        ModelState model = start_;
        for (int j = 0; j < parameters(); ++j) {
            const FitParameterInfo& info = InfoOf(settings_.parameters[static_cast<std::size_t>(j)]);
            model.*info.member = value(info, theta[j]);
        }
        DeriveModelFields(model);
        return model;
    }

    std::vector<double> calculated(const double* theta) const
    {
        ++evaluations_;
        return CalculatedConcentrations(observations_, modelAt(theta), quadrature_, settings_.workers);
    }
    int evaluations() const { return evaluations_; }

    double residual(int i, double calculatedValue) const
    {
        const double observed = observations_[static_cast<std::size_t>(i)].C;
        const double root = rootWeights_[static_cast<std::size_t>(i)];
        if (!settings_.logResiduals) return root * (observed - calculatedValue);
        const double limit = settings_.detectionLimit;
        return root * (std::log10(std::max(observed, limit)) - std::log10(std::max(calculatedValue, limit)));
    }

    // The residuals at θ; false when the solution fails or leaves the double range there.
    bool residuals(const double* theta, double* out, std::vector<double>* calculatedOut = nullptr) const
    {
        try {
            const std::vector<double> values = calculated(theta);
            for (int i = 0; i < count(); ++i) {
                out[i] = residual(i, values[static_cast<std::size_t>(i)]);
                if (!std::isfinite(out[i])) return false;
            }
            if (calculatedOut) *calculatedOut = values;
            return true;
        } catch (const KavrinError&) {
            return false;
        }
    }

    // d residual / d log C0 of observation i for its calculated value: minus
    // the value itself for concentrations, minus 1/ln 10 above the detection
    // limit for log10 residuals; times √w.
    double proportionalDerivative(int i, double calculatedValue) const
    {
        const double root = rootWeights_[static_cast<std::size_t>(i)];
        if (!settings_.logResiduals) return -root * calculatedValue;
        return calculatedValue > settings_.detectionLimit ? -root / std::log(10.0) : 0;
    }

    // The difference step of coordinate j: relative for log coordinates,
    // relative to the bounds' size for the others (the decay may start at 0).
    double step(int j, double thetaJ, double relative) const
    {
        const FitParameterInfo& info = InfoOf(settings_.parameters[static_cast<std::size_t>(j)]);
        if (info.positive) return relative * std::max(std::fabs(thetaJ), 1.0);
        const FitBounds& b = settings_.bounds[static_cast<std::size_t>(j)];
        return relative * std::max({std::fabs(thetaJ), 1e-3 * (b.upper - b.lower), 1e-300});
    }

private:
    const std::vector<Observation>& observations_;
    const ModelState& start_;
    const QuadratureState& quadrature_;
    const FitSettings& settings_;
    std::vector<double> rootWeights_;  // √w of each observation
    mutable int evaluations_ = 0;
};

// One residual block holding every observation; the Jacobian by forward
// differences while iterating and by central differences for the covariance.
// The last Jacobian is kept: the solver asks for it again at the point its
// bounded line search has just evaluated, and the covariance asks for the
// central one again. The column of C0 is exact: the concentrations are
// proportional to it.
class ObservationCost : public ceres::CostFunction {
public:
    ObservationCost(const Residuals& residuals, const std::vector<FitParameter>& parameters)
        : residuals_(residuals), parameters_(parameters)
    {
        set_num_residuals(residuals.count());
        mutable_parameter_block_sizes()->push_back(residuals.parameters());
    }

    void useCentralDifferences()
    {
        central_ = true;
        keptTheta_.clear();
    }

    // The concentrations at θ, the last evaluated ones when θ is where the cost stood last.
    std::vector<double> calculated(const std::vector<double>& theta) const
    {
        return theta == lastTheta_ ? lastCalculated_ : residuals_.calculated(theta.data());
    }

    bool Evaluate(double const* const* parameters, double* residuals, double** jacobians) const override
    {
        const int n = residuals_.count(), p = residuals_.parameters();
        const std::vector<double> theta(parameters[0], parameters[0] + p);
        const bool wantJacobian = jacobians && jacobians[0];
        if (wantJacobian && theta == keptTheta_) {
            std::copy(keptResiduals_.begin(), keptResiduals_.end(), residuals);
            std::copy(keptJacobian_.begin(), keptJacobian_.end(), jacobians[0]);
            return true;
        }
        // The solver evaluates a step alone, then again with the Jacobian once
        // it accepts it: the values of the first call serve the second.
        std::vector<double> calculated;
        if (theta == lastTheta_) {
            calculated = lastCalculated_;
            for (int i = 0; i < n; ++i) residuals[i] = residuals_.residual(i, calculated[static_cast<std::size_t>(i)]);
        } else {
            if (!residuals_.residuals(theta.data(), residuals, &calculated)) return false;
            lastTheta_ = theta;
            lastCalculated_ = calculated;
        }
        if (!wantJacobian) return true;
        std::vector<double> shifted = theta, plus(static_cast<std::size_t>(n)), minus(static_cast<std::size_t>(n));
        for (int j = 0; j < p; ++j) {
            double* column = jacobians[0] + j;
            if (parameters_[static_cast<std::size_t>(j)] == FitParameter::C0) {
                for (int i = 0; i < n; ++i) column[i * p] = residuals_.proportionalDerivative(i, calculated[static_cast<std::size_t>(i)]);
                continue;
            }
            const double h = residuals_.step(j, theta[static_cast<std::size_t>(j)], central_ ? 1e-5 : 1e-8);
            shifted[static_cast<std::size_t>(j)] = theta[static_cast<std::size_t>(j)] + h;
            if (!residuals_.residuals(shifted.data(), plus.data())) return false;
            if (central_) {
                shifted[static_cast<std::size_t>(j)] = theta[static_cast<std::size_t>(j)] - h;
                if (!residuals_.residuals(shifted.data(), minus.data())) return false;
            }
            shifted[static_cast<std::size_t>(j)] = theta[static_cast<std::size_t>(j)];
            for (int i = 0; i < n; ++i) {
                const double low = central_ ? minus[static_cast<std::size_t>(i)] : residuals[i];
                column[i * p] = (plus[static_cast<std::size_t>(i)] - low) / (central_ ? 2 * h : h);
            }
        }
        keptTheta_ = theta;
        keptResiduals_.assign(residuals, residuals + n);
        keptJacobian_.assign(jacobians[0], jacobians[0] + n * p);
        return true;
    }

private:
    const Residuals& residuals_;
    const std::vector<FitParameter>& parameters_;
    bool central_ = false;
    mutable std::vector<double> keptTheta_, keptResiduals_, keptJacobian_;
    mutable std::vector<double> lastTheta_, lastCalculated_;
};

class ProgressCallback : public ceres::IterationCallback {
public:
    explicit ProgressCallback(const FitSettings& settings) : settings_(settings) {}
    ceres::CallbackReturnType operator()(const ceres::IterationSummary& summary) override
    {
        if (settings_.progress && !settings_.progress(done + summary.iteration, 2 * summary.cost)) return ceres::SOLVER_ABORT;
        return ceres::SOLVER_CONTINUE;
    }
    int done = 0;  // iterations of an earlier pass

private:
    const FitSettings& settings_;
};

// Solves for θ within the bounds from where it stands; the problem keeps the
// cost function, for the covariance afterwards.
ceres::Solver::Summary solve(ceres::Problem& problem, ObservationCost* cost, std::vector<double>& theta,
                             const FitSettings& settings, ProgressCallback& callback, double functionTolerance)
{
    problem.AddResidualBlock(cost, nullptr, theta.data());
    for (std::size_t j = 0; j < theta.size(); ++j) {
        const FitParameterInfo& info = InfoOf(settings.parameters[j]);
        problem.SetParameterLowerBound(theta.data(), static_cast<int>(j), Residuals::theta(info, settings.bounds[j].lower));
        problem.SetParameterUpperBound(theta.data(), static_cast<int>(j), Residuals::theta(info, settings.bounds[j].upper));
    }
    ceres::Solver::Options options;
    options.trust_region_strategy_type = ceres::LEVENBERG_MARQUARDT;
    options.linear_solver_type = ceres::DENSE_QR;
    options.max_num_iterations = settings.maxIterations;
    options.function_tolerance = functionTolerance;
    options.gradient_tolerance = 1e-20;
    options.parameter_tolerance = 1e-10;
    options.num_threads = 1;
    options.logging_type = ceres::SILENT;
    options.callbacks.push_back(&callback);
    ceres::Solver::Summary summary;
    ceres::Solve(options, &problem, &summary);
    return summary;
}

FitStatistics statisticsOf(const std::vector<Observation>& observations, const std::vector<double>& calculated,
                           const std::vector<double>& residuals)
{
    FitStatistics s;
    std::vector<double> observed;
    double squares = 0;
    for (std::size_t i = 0; i < observations.size(); ++i) {
        observed.push_back(observations[i].C);
        squares += (observations[i].C - calculated[i]) * (observations[i].C - calculated[i]);
        s.objective += residuals[i] * residuals[i];
    }
    try {
        const ComparisonStatistics comparison = CompareValues(observed, calculated);
        s.R2 = comparison.R2;
        s.MAE = comparison.MAE;
    } catch (const FloatError&) {
        s.R2 = std::numeric_limits<double>::quiet_NaN();
        for (std::size_t i = 0; i < observations.size(); ++i)
            s.MAE += std::fabs(observations[i].C - calculated[i]) / static_cast<double>(observations.size());
    }
    s.RMSE = std::sqrt(squares / static_cast<double>(observations.size()));
    return s;
}

void checkSettings(const std::vector<Observation>& observations, const ModelState& start, const FitSettings& settings)
{
    using Id = FitMessageId;
    const std::size_t p = settings.parameters.size();
    if (p == 0) throw FitRefusal({Id::NoParameters, {}});
    if (settings.bounds.size() != p) throw FitRefusal({Id::MissingBounds, {}});
    for (std::size_t j = 0; j < p; ++j) {
        const FitParameterInfo& info = InfoOf(settings.parameters[j]);
        if (std::count(settings.parameters.begin(), settings.parameters.end(), info.parameter) > 1)
            throw FitRefusal({Id::ChosenTwice, {info.name}});
        const FitBounds& b = settings.bounds[j];
        if (!(b.lower < b.upper) || !std::isfinite(b.lower) || !std::isfinite(b.upper))
            throw FitRefusal({Id::BoundsOrder, {info.name}});
        if (info.positive && b.lower <= 0) throw FitRefusal({Id::LowerBoundNotPositive, {info.name}});
        const double value = start.*info.member;
        if (value < b.lower || value > b.upper) throw FitRefusal({Id::StartOutsideBounds, {info.name}});
    }
    if (observations.size() <= p) throw FitRefusal({Id::TooFewObservations, {std::to_string(p)}});
    if (!settings.weights.empty()) {
        for (std::size_t i = 0; i < observations.size(); ++i) {
            const double w = i < settings.weights.size() ? settings.weights[i] : 0;
            if (!(w > 0) || !std::isfinite(w)) throw FitRefusal({Id::BadWeight, {std::to_string(i + 1), FormatGeneral(w, '.')}});
        }
    }
    if (settings.logResiduals && settings.detectionLimit <= 0)
        for (const Observation& o : observations)
            if (o.C <= 0) throw FitRefusal({Id::LogNeedsLimit, {}});
}

// Which parameters have no influence, or move together with another beyond
// 0.99, judged from the columns of the Jacobian at the optimum.
void judgeFromJacobian(const std::vector<double>& jacobian, int n, int p, FitResult& result)
{
    std::vector<double> norms(static_cast<std::size_t>(p));
    for (int j = 0; j < p; ++j) {
        double sum = 0;
        for (int i = 0; i < n; ++i) sum += jacobian[static_cast<std::size_t>(i * p + j)] * jacobian[static_cast<std::size_t>(i * p + j)];
        norms[static_cast<std::size_t>(j)] = std::sqrt(sum);
    }
    const double largest = *std::max_element(norms.begin(), norms.end());
    for (int j = 0; j < p; ++j)
        if (!(norms[static_cast<std::size_t>(j)] > 1e-9 * largest)) result.noInfluence.push_back(result.parameters[static_cast<std::size_t>(j)].parameter);
    if (!result.noInfluence.empty()) return;
    for (int j = 0; j < p; ++j) {
        for (int k = j + 1; k < p; ++k) {
            double dot = 0;
            for (int i = 0; i < n; ++i) dot += jacobian[static_cast<std::size_t>(i * p + j)] * jacobian[static_cast<std::size_t>(i * p + k)];
            if (std::fabs(dot / (norms[static_cast<std::size_t>(j)] * norms[static_cast<std::size_t>(k)])) > kIndistinguishable)
                result.correlated.emplace_back(result.parameters[static_cast<std::size_t>(j)].parameter,
                                               result.parameters[static_cast<std::size_t>(k)].parameter);
        }
    }
}

}  // namespace

FitResult FitObservations(const std::vector<Observation>& observations, const ModelState& start,
                          const QuadratureState& quadrature, const FitSettings& settings)
{
    checkSettings(observations, start, settings);
    const Residuals residuals(observations, start, quadrature, settings);
    const int n = residuals.count(), p = residuals.parameters();

    FitResult result;
    std::vector<double> theta;
    for (FitParameter parameter : settings.parameters) {
        const FitParameterInfo& info = InfoOf(parameter);
        FittedParameter fitted{parameter};
        fitted.initial = start.*info.member;
        result.parameters.push_back(fitted);
        theta.push_back(Residuals::theta(info, fitted.initial));
    }
    // The start is evaluated plainly first, so that its failure shows the solution's own error.
    result.calculatedBefore = residuals.calculated(theta.data());
    std::vector<double> r(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) r[static_cast<std::size_t>(i)] = residuals.residual(i, result.calculatedBefore[static_cast<std::size_t>(i)]);
    result.before = statisticsOf(observations, result.calculatedBefore, r);
    if (!std::isfinite(result.before.objective))
        throw FitRefusal({FitMessageId::LogModelZero, {}});

    ProgressCallback callback(settings);
    if (settings.coarseQuadrature) {
        // Most of the way on the cheaper rule; a failure there leaves the start for the full rule.
        const Residuals coarse(observations, start, *settings.coarseQuadrature, settings);
        std::vector<double> approach = theta;
        ceres::Problem coarseProblem;
        const ceres::Solver::Summary summary =
            solve(coarseProblem, new ObservationCost(coarse, settings.parameters), approach, settings, callback, 1e-8);
        result.coarseEvaluations = coarse.evaluations();
        if (summary.termination_type == ceres::USER_FAILURE) {
            result.stop = FitStop::Cancelled;
            result.evaluations = residuals.evaluations();
            return result;
        }
        if (summary.termination_type == ceres::CONVERGENCE || summary.termination_type == ceres::NO_CONVERGENCE) theta = approach;
        callback.done = static_cast<int>(summary.iterations.size()) - 1;
    }
    auto* cost = new ObservationCost(residuals, settings.parameters);
    const auto finished = [&]() -> FitResult& {
        result.evaluations = residuals.evaluations();
        return result;
    };
    ceres::Problem problem;
    const ceres::Solver::Summary summary = solve(problem, cost, theta, settings, callback, 1e-12);

    result.iterations = callback.done + static_cast<int>(summary.iterations.size()) - 1;
    result.solverMessage = summary.message;
    switch (summary.termination_type) {
    case ceres::CONVERGENCE: result.stop = FitStop::Converged; break;
    case ceres::NO_CONVERGENCE: result.stop = FitStop::IterationLimit; break;
    case ceres::USER_FAILURE: result.stop = FitStop::Cancelled; break;
    default: result.stop = FitStop::Failed; break;
    }
    if (result.stop == FitStop::Cancelled || result.stop == FitStop::Failed) return finished();

    for (int j = 0; j < p; ++j)
        result.parameters[static_cast<std::size_t>(j)].value = Residuals::value(InfoOf(settings.parameters[static_cast<std::size_t>(j)]), theta[static_cast<std::size_t>(j)]);
    result.model = residuals.modelAt(theta.data());
    std::vector<double> jacobian(static_cast<std::size_t>(n * p));
    double* jacobians[] = {jacobian.data()};
    const double* parameterBlocks[] = {theta.data()};
    cost->useCentralDifferences();
    if (!cost->Evaluate(parameterBlocks, r.data(), jacobians)) throw FloatError::invalidOperation();
    result.calculatedAfter = cost->calculated(theta);
    result.after = statisticsOf(observations, result.calculatedAfter, r);
    result.degreesOfFreedom = n - p;
    result.t975 = StudentTQuantile(0.975, result.degreesOfFreedom);

    judgeFromJacobian(jacobian, n, p, result);
    if (!result.identifiable()) return finished();
    ceres::Covariance::Options covarianceOptions;
    covarianceOptions.algorithm_type = ceres::DENSE_SVD;
    covarianceOptions.num_threads = 1;
    ceres::Covariance covariance(covarianceOptions);
    const std::vector<std::pair<const double*, const double*>> blocks = {{theta.data(), theta.data()}};
    std::vector<double> c(static_cast<std::size_t>(p * p));
    if (!covariance.Compute(blocks, &problem) || !covariance.GetCovarianceBlock(theta.data(), theta.data(), c.data())) {
        result.singular = true;
        return finished();
    }

    for (int j = 0; j < p; ++j)
        for (int k = j + 1; k < p; ++k)
            if (std::fabs(c[static_cast<std::size_t>(j * p + k)]) > kIndistinguishable * std::sqrt(c[static_cast<std::size_t>(j * p + j)] * c[static_cast<std::size_t>(k * p + k)]))
                result.correlated.emplace_back(result.parameters[static_cast<std::size_t>(j)].parameter,
                                               result.parameters[static_cast<std::size_t>(k)].parameter);
    if (!result.correlated.empty()) return finished();

    // Scaled by the residual variance, and from log coordinates to the values (delta method).
    const double variance = result.after.objective / result.degreesOfFreedom;
    std::vector<double> scale(static_cast<std::size_t>(p));
    for (int j = 0; j < p; ++j) {
        const FittedParameter& fitted = result.parameters[static_cast<std::size_t>(j)];
        scale[static_cast<std::size_t>(j)] = InfoOf(fitted.parameter).positive ? fitted.value : 1;
    }
    result.correlation.assign(static_cast<std::size_t>(p), std::vector<double>(static_cast<std::size_t>(p)));
    for (int j = 0; j < p; ++j) {
        FittedParameter& fitted = result.parameters[static_cast<std::size_t>(j)];
        fitted.standardError = scale[static_cast<std::size_t>(j)] * std::sqrt(variance * c[static_cast<std::size_t>(j * p + j)]);
        fitted.lower95 = fitted.value - result.t975 * fitted.standardError;
        fitted.upper95 = fitted.value + result.t975 * fitted.standardError;
        for (int k = 0; k < p; ++k)
            result.correlation[static_cast<std::size_t>(j)][static_cast<std::size_t>(k)] =
                c[static_cast<std::size_t>(j * p + k)] / std::sqrt(c[static_cast<std::size_t>(j * p + j)] * c[static_cast<std::size_t>(k * p + k)]);
    }
    return finished();
}

}  // namespace kavrin
