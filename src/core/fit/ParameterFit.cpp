#include "fit/ParameterFit.h"

#include "calibration/StudentT.h"
#include "fit/ObservationCost.h"
#include "text/Errors.h"
#include "text/NumberText.h"

#include <Eigen/SVD>
#include <ceres/ceres.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace kavrin {

namespace {

using Id = FitMessageId;
using CovarianceMatrix = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;

// Correlations beyond this make two parameters indistinguishable.
constexpr double kIndistinguishable = 0.99;
// A fitted coordinate this close (relative) to its bound's ended on it.
constexpr double kAtBound = 1e-9;

void refuseBadParametersOrBounds(const ModelState& start, const FitSettings& settings)
{
    const std::size_t p = settings.parameters.size();
    if (p == 0) throw FitRefusal({Id::NoParameters, {}});
    if (settings.bounds.size() != p) throw FitRefusal({Id::MissingBounds, {}});
    for (std::size_t j = 0; j < p; ++j) {
        const FitParameterInfo& info = InfoOf(settings.parameters[j]);
        if (!ModelUses(start, info.parameter))
            throw CheckError(std::string(info.name) + " cannot be fitted: the source options do not use it");
        if (std::count(settings.parameters.begin(), settings.parameters.end(), info.parameter) > 1)
            throw FitRefusal({Id::ChosenTwice, {info.name}});
        const FitBounds& b = settings.bounds[j];
        if (!(b.lower < b.upper) || !std::isfinite(b.lower) || !std::isfinite(b.upper))
            throw FitRefusal({Id::BoundsOrder, {info.name}});
        if (info.positive && b.lower <= 0) throw FitRefusal({Id::LowerBoundNotPositive, {info.name}});
        const double value = info.get(start);
        if (value < b.lower || value > b.upper) throw FitRefusal({Id::StartOutsideBounds, {info.name}});
    }
}

void refuseBadWeights(const std::vector<Observation>& observations, const FitSettings& settings)
{
    if (settings.weights.empty()) return;
    for (std::size_t i = 0; i < observations.size(); ++i) {
        const double w = i < settings.weights.size() ? settings.weights[i] : 0;
        if (!(w > 0) || !std::isfinite(w)) throw FitRefusal({Id::BadWeight, {std::to_string(i + 1), FormatGeneral(w, '.')}});
    }
    const auto weights = settings.weights.begin(), end = weights + static_cast<std::ptrdiff_t>(observations.size());
    const auto heaviest = std::max_element(weights, end);
    const double negligible = *heaviest * kNegligibleWeightRatio;
    const auto counting = static_cast<std::size_t>(std::count_if(weights, end, [&](double w) { return w >= negligible; }));
    if (counting <= settings.parameters.size())
        throw FitRefusal({Id::WeightOutweighsOthers,
                          {std::to_string(heaviest - weights + 1), std::to_string(settings.parameters.size() + 1)}});
}

}  // namespace

void RefuseWhatCannotBeFitted(const std::vector<Observation>& observations, const ModelState& start, const FitSettings& settings)
{
    refuseBadParametersOrBounds(start, settings);
    const std::size_t p = settings.parameters.size();
    if (observations.size() <= p) throw FitRefusal({Id::TooFewObservations, {std::to_string(p)}});
    refuseBadWeights(observations, settings);
    if (settings.logResiduals && settings.detectionLimit <= 0)
        for (const Observation& o : observations)
            if (o.C <= 0) throw FitRefusal({Id::LogNeedsLimit, {}});
}

namespace {

// The fitted coordinates θ of the start values; the result lists the parameters with their initial values.
std::vector<double> startingCoordinates(const ModelState& start, const FitSettings& settings, FitResult& result)
{
    std::vector<double> theta;
    for (FitParameter parameter : settings.parameters) {
        const FitParameterInfo& info = InfoOf(parameter);
        FittedParameter fitted{parameter};
        fitted.initial = info.get(start);
        result.parameters.push_back(fitted);
        theta.push_back(Residuals::theta(info, fitted.initial));
    }
    return theta;
}

// The concentrations and statistics at the start, evaluated plainly so that a
// failure of the solution there shows its own error; an objective beyond the
// double range is refused naming its observation.
void evaluateStart(const Residuals& residuals, const std::vector<Observation>& observations, const FitSettings& settings,
                   const std::vector<double>& theta, FitResult& result)
{
    result.calculatedBefore = residuals.calculated(theta.data());
    std::vector<double> r(observations.size());
    for (std::size_t i = 0; i < r.size(); ++i) r[i] = residuals.residual(static_cast<int>(i), result.calculatedBefore[i]);
    result.before = FitStatisticsOf(observations, result.calculatedBefore, r);
    if (std::isfinite(result.before.objective)) return;
    std::size_t worst = 0;
    for (std::size_t i = 0; i < r.size(); ++i) {
        if (settings.logResiduals && settings.detectionLimit <= 0 && result.calculatedBefore[i] <= 0)
            throw FitRefusal({Id::LogModelZero, {}});
        if (!(std::fabs(r[i]) <= std::fabs(r[worst]))) worst = i;
    }
    throw FitRefusal({Id::WeightedResidualOverflow, {std::to_string(worst + 1)}});
}

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

// Most of the way on the cheaper rule: θ moves to where that pass ended, a
// failure there leaves it at the start for the full rule. False when the pass was cancelled.
bool approachOnCoarseRule(const std::vector<Observation>& observations, const ModelState& start, const FitSettings& settings,
                          ProgressCallback& callback, std::vector<double>& theta, FitResult& result)
{
    const Residuals coarse(observations, start, *settings.coarseQuadrature, settings);
    std::vector<double> approach = theta;
    ceres::Problem problem;
    const ceres::Solver::Summary summary =
        solve(problem, new ObservationCost(coarse, settings.parameters), approach, settings, callback, 1e-8);
    result.coarseEvaluations = coarse.evaluations();
    if (summary.termination_type == ceres::USER_FAILURE) {
        result.stop = FitStop::Cancelled;
        return false;
    }
    if (summary.termination_type == ceres::CONVERGENCE || summary.termination_type == ceres::NO_CONVERGENCE) theta = approach;
    callback.done = static_cast<int>(summary.iterations.size()) - 1;
    return true;
}

FitStop stopOf(const ceres::Solver::Summary& summary)
{
    switch (summary.termination_type) {
    case ceres::CONVERGENCE:
        return FitStop::Converged;
    case ceres::NO_CONVERGENCE:
        return FitStop::IterationLimit;
    case ceres::USER_FAILURE:
        return FitStop::Cancelled;
    default:
        return FitStop::Failed;
    }
}

// The fitted values, the model and statistics at the optimum θ, and the
// Jacobian there by central differences (kept by the cost for the covariance).
JacobianMatrix evaluateOptimum(ObservationCost& cost, const Residuals& residuals, const std::vector<Observation>& observations,
                               const std::vector<double>& theta, FitResult& result)
{
    for (std::size_t j = 0; j < theta.size(); ++j)
        result.parameters[j].value = Residuals::value(InfoOf(result.parameters[j].parameter), theta[j]);
    result.model = residuals.modelAt(theta.data());
    JacobianMatrix jacobian(residuals.count(), residuals.parameters());
    std::vector<double> r(observations.size());
    double* jacobians[] = {jacobian.data()};
    const double* parameterBlocks[] = {theta.data()};
    cost.useCentralDifferences();
    if (!cost.Evaluate(parameterBlocks, r.data(), jacobians)) throw FloatError::invalidOperation();
    result.calculatedAfter = cost.calculated(theta);
    result.after = FitStatisticsOf(observations, result.calculatedAfter, r);
    result.residualsAfter = r;
    result.degreesOfFreedom = residuals.count() - residuals.parameters();
    result.t975 = StudentTQuantile(0.975, result.degreesOfFreedom);
    return jacobian;
}

// Whether the observations determine the parameters is judged here alone, on
// the Jacobian's columns at the optimum: a column next to nothing is a
// parameter without influence, and two columns whose cosine exceeds 0.99 are
// two parameters whose influences the observations cannot tell apart. The
// Jacobian governs, not the covariance, because it exists where the covariance
// does not: parameters that act only together (the conductivity and the
// retardation, through the velocity) leave the covariance singular, unable to
// name the pair. For two parameters the cosine is the estimates' correlation itself.
void judgeIdentifiability(const JacobianMatrix& jacobian, FitResult& result)
{
    const Eigen::VectorXd norms = jacobian.colwise().norm().transpose();
    const Eigen::Index p = norms.size();
    for (Eigen::Index j = 0; j < p; ++j)
        if (!(norms(j) > 1e-9 * norms.maxCoeff()))
            result.noInfluence.push_back(result.parameters[static_cast<std::size_t>(j)].parameter);
    if (!result.noInfluence.empty()) return;
    for (Eigen::Index j = 0; j < p; ++j)
        for (Eigen::Index k = j + 1; k < p; ++k)
            if (std::fabs(jacobian.col(j).dot(jacobian.col(k)) / (norms(j) * norms(k))) > kIndistinguishable)
                result.correlated.emplace_back(result.parameters[static_cast<std::size_t>(j)].parameter,
                                               result.parameters[static_cast<std::size_t>(k)].parameter);
}

// The Jacobian's condition number, and its weakest direction when it is ill conditioned.
void judgeConditioning(const JacobianMatrix& jacobian, FitResult& result)
{
    const Eigen::JacobiSVD<Eigen::MatrixXd> svd(jacobian, Eigen::ComputeThinV);
    const Eigen::VectorXd& singular = svd.singularValues();
    const Eigen::Index last = singular.size() - 1;
    result.conditionNumber = singular(last) > 0 ? singular(0) / singular(last) : std::numeric_limits<double>::infinity();
    if (!(result.conditionNumber > kIllConditioned)) return;
    Eigen::VectorXd weakest = svd.matrixV().col(last);
    // The sign of a singular vector is arbitrary: its largest weight is made positive, so the same fit says the same.
    Eigen::Index largest = 0;
    weakest.cwiseAbs().maxCoeff(&largest);
    if (weakest(largest) < 0) weakest = -weakest;
    result.weakestCombination.assign(weakest.data(), weakest.data() + weakest.size());
}

// Marks the values the solver left on a bound.
void markBoundsReached(const std::vector<double>& theta, const FitSettings& settings, FitResult& result)
{
    for (std::size_t j = 0; j < theta.size(); ++j) {
        const FitParameterInfo& info = InfoOf(settings.parameters[j]);
        const auto near = [&](double bound) {
            const double b = Residuals::theta(info, bound);
            return std::fabs(theta[j] - b) <= kAtBound * std::max(1.0, std::fabs(b));
        };
        if (near(settings.bounds[j].lower))
            result.parameters[j].bound = BoundReached::Lower;
        else if (near(settings.bounds[j].upper))
            result.parameters[j].bound = BoundReached::Upper;
    }
}

// (JᵀWJ)⁻¹ of the log coordinates at θ, from the kept central Jacobian, with
// the values at a bound held (their rows and columns 0); none when singular.
std::optional<CovarianceMatrix> covarianceAt(ceres::Problem& problem, std::vector<double>& theta, const FitResult& result)
{
    std::vector<int> held;
    for (std::size_t j = 0; j < theta.size(); ++j)
        if (!result.parameters[j].hasInterval()) held.push_back(static_cast<int>(j));
    if (!held.empty()) problem.SetManifold(theta.data(), new ceres::SubsetManifold(static_cast<int>(theta.size()), held));
    ceres::Covariance::Options options;
    options.algorithm_type = ceres::DENSE_SVD;
    options.num_threads = 1;
    ceres::Covariance covariance(options);
    const std::vector<std::pair<const double*, const double*>> blocks = {{theta.data(), theta.data()}};
    const auto p = static_cast<Eigen::Index>(theta.size());
    CovarianceMatrix c(p, p);
    if (!covariance.Compute(blocks, &problem) || !covariance.GetCovarianceBlock(theta.data(), theta.data(), c.data()))
        return std::nullopt;
    return c;
}

// The standard errors, intervals and correlations of the values off the
// bounds: the covariance scaled by the residual variance. A parameter fitted
// as log(value) gets value · σ as its error (delta method) and its interval
// from the log coordinate's, exp(θ ± t σ). A covariance without a positive
// finite diagonal (off the bounds) counts as singular, so no error or
// correlation is ever infinite or NaN.
void estimateUncertainty(const CovarianceMatrix& c, FitResult& result)
{
    const Eigen::Index p = c.rows();
    const auto free = [&](Eigen::Index j) { return result.parameters[static_cast<std::size_t>(j)].hasInterval(); };
    Eigen::VectorXd deviations = Eigen::VectorXd::Ones(p);
    for (Eigen::Index j = 0; j < p; ++j) {
        if (!free(j)) continue;
        if (!std::isfinite(c(j, j)) || !(c(j, j) > 0)) {
            result.singular = true;
            return;
        }
        deviations(j) = std::sqrt(c(j, j));
    }
    Eigen::MatrixXd correlation = Eigen::MatrixXd::Identity(p, p);
    for (Eigen::Index j = 0; j < p; ++j)
        for (Eigen::Index k = 0; k < p; ++k)
            if (free(j) && free(k)) correlation(j, k) = c(j, k) / std::sqrt(c(j, j) * c(k, k));
    if (!correlation.allFinite()) {
        result.singular = true;
        return;
    }
    const double variance = result.after.objective / result.degreesOfFreedom;
    result.correlation.assign(static_cast<std::size_t>(p), std::vector<double>(static_cast<std::size_t>(p)));
    for (Eigen::Index j = 0; j < p; ++j) {
        for (Eigen::Index k = 0; k < p; ++k)
            result.correlation[static_cast<std::size_t>(j)][static_cast<std::size_t>(k)] = correlation(j, k);
        FittedParameter& fitted = result.parameters[static_cast<std::size_t>(j)];
        if (!free(j)) continue;
        const double sigma = std::sqrt(variance * c(j, j));
        if (InfoOf(fitted.parameter).positive) {
            fitted.standardError = fitted.value * sigma;
            fitted.lower95 = fitted.value * std::exp(-result.t975 * sigma);
            fitted.upper95 = fitted.value * std::exp(result.t975 * sigma);
        } else {
            fitted.standardError = sigma;
            fitted.lower95 = fitted.value - result.t975 * sigma;
            fitted.upper95 = fitted.value + result.t975 * sigma;
        }
    }
}

}  // namespace

FitResult FitObservations(const std::vector<Observation>& observations, const ModelState& start,
                          const QuadratureState& quadrature, const FitSettings& settings)
{
    RefuseWhatCannotBeFitted(observations, start, settings);
    const Residuals residuals(observations, start, quadrature, settings);
    FitResult result;
    std::vector<double> theta = startingCoordinates(start, settings, result);
    evaluateStart(residuals, observations, settings, theta, result);

    ProgressCallback callback(settings);
    if (!settings.coarseQuadrature || approachOnCoarseRule(observations, start, settings, callback, theta, result)) {
        auto* cost = new ObservationCost(residuals, settings.parameters);
        ceres::Problem problem;  // owns the cost
        const ceres::Solver::Summary summary = solve(problem, cost, theta, settings, callback, 1e-12);
        result.iterations = callback.done + static_cast<int>(summary.iterations.size()) - 1;
        result.solverMessage = summary.message;
        result.stop = stopOf(summary);
        if (result.reachedEnd()) {
            const JacobianMatrix jacobian = evaluateOptimum(*cost, residuals, observations, theta, result);
            judgeIdentifiability(jacobian, result);
            judgeConditioning(jacobian, result);
            markBoundsReached(theta, settings, result);
            const bool anyFree = std::any_of(result.parameters.begin(), result.parameters.end(),
                                             [](const FittedParameter& p) { return p.hasInterval(); });
            if (result.identifiable() && !anyFree) {
                result.correlation.assign(result.parameters.size(), std::vector<double>(result.parameters.size(), 0));
                for (std::size_t j = 0; j < result.parameters.size(); ++j) result.correlation[j][j] = 1;
            } else if (result.identifiable()) {
                const std::optional<CovarianceMatrix> covariance = covarianceAt(problem, theta, result);
                if (covariance)
                    estimateUncertainty(*covariance, result);
                else
                    result.singular = true;
            }
        }
    }
    result.evaluations = residuals.evaluations();
    return result;
}

}  // namespace kavrin
