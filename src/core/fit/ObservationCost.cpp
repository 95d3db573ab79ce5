#include "fit/ObservationCost.h"

#include "model/Variaveis.h"
#include "text/Errors.h"

#include <algorithm>
#include <cmath>

namespace kavrin {

Residuals::Residuals(const std::vector<Observation>& observations, const ModelState& start, const QuadratureState& quadrature,
                     const FitSettings& settings)
    : observations_(observations), start_(start), quadrature_(quadrature), settings_(settings),
      rootWeights_(observations.size(), 1.0)
{
    for (std::size_t i = 0; i < settings.weights.size() && i < rootWeights_.size(); ++i)
        rootWeights_[i] = std::sqrt(settings.weights[i]);
}

double Residuals::theta(const FitParameterInfo& info, double value)
{
    return info.positive ? std::log(value) : value;
}

double Residuals::value(const FitParameterInfo& info, double theta)
{
    return info.positive ? std::exp(theta) : theta;
}

ModelState Residuals::modelAt(const double* theta) const
{
    ModelState model = start_;
    for (std::size_t j = 0; j < settings_.parameters.size(); ++j) {
        const FitParameterInfo& info = InfoOf(settings_.parameters[j]);
        info.set(model, value(info, theta[j]));
    }
    DeriveModelFields(model);
    return model;
}

std::vector<double> Residuals::calculated(const double* theta) const
{
    ++evaluations_;
    return CalculatedConcentrations(observations_, modelAt(theta), quadrature_, settings_.workers);
}

double Residuals::residual(int i, double calculatedValue) const
{
    const double observed = observations_[static_cast<std::size_t>(i)].C;
    const double root = rootWeights_[static_cast<std::size_t>(i)];
    if (!settings_.logResiduals) return root * (observed - calculatedValue);
    const double limit = settings_.detectionLimit;
    return root * (std::log10(std::max(observed, limit)) - std::log10(std::max(calculatedValue, limit)));
}

bool Residuals::residuals(const double* theta, double* out, std::vector<double>* calculatedOut) const
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

double Residuals::proportionalDerivative(int i, double calculatedValue) const
{
    const double root = rootWeights_[static_cast<std::size_t>(i)];
    if (!settings_.logResiduals) return -root * calculatedValue;
    return calculatedValue > settings_.detectionLimit ? -root / std::log(10.0) : 0;
}

double Residuals::step(int j, double thetaJ, double relative) const
{
    const FitParameterInfo& info = InfoOf(settings_.parameters[static_cast<std::size_t>(j)]);
    if (info.positive) return relative * std::max(std::fabs(thetaJ), 1.0);
    const FitBounds& b = settings_.bounds[static_cast<std::size_t>(j)];
    return relative * std::max({std::fabs(thetaJ), 1e-3 * (b.upper - b.lower), 1e-300});
}

ObservationCost::ObservationCost(const Residuals& residuals, const std::vector<FitParameter>& parameters)
    : residuals_(residuals), parameters_(parameters)
{
    set_num_residuals(residuals.count());
    mutable_parameter_block_sizes()->push_back(residuals.parameters());
}

void ObservationCost::useCentralDifferences()
{
    central_ = true;
    keptTheta_.clear();
}

std::vector<double> ObservationCost::calculated(const std::vector<double>& theta) const
{
    return theta == lastTheta_ ? lastCalculated_ : residuals_.calculated(theta.data());
}

bool ObservationCost::Evaluate(double const* const* parameters, double* residuals, double** jacobians) const
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
    if (!differentiate(theta, residuals, calculated, Eigen::Map<JacobianMatrix>(jacobians[0], n, p))) return false;
    keptTheta_ = theta;
    keptResiduals_.assign(residuals, residuals + n);
    keptJacobian_.assign(jacobians[0], jacobians[0] + n * p);
    return true;
}

bool ObservationCost::differentiate(const std::vector<double>& theta, const double* residuals,
                                    const std::vector<double>& calculated, Eigen::Map<JacobianMatrix> jacobian) const
{
    const Eigen::Index n = jacobian.rows();
    const Eigen::Map<const Eigen::VectorXd> atTheta(residuals, n);
    std::vector<double> shifted = theta;
    Eigen::VectorXd plus(n), minus(n);
    for (Eigen::Index j = 0; j < jacobian.cols(); ++j) {
        const std::size_t column = static_cast<std::size_t>(j);
        if (parameters_[column] == FitParameter::C0) {
            for (Eigen::Index i = 0; i < n; ++i)
                jacobian(i, j) = residuals_.proportionalDerivative(static_cast<int>(i), calculated[static_cast<std::size_t>(i)]);
            continue;
        }
        const double h = residuals_.step(static_cast<int>(j), theta[column], central_ ? 1e-5 : 1e-8);
        shifted[column] = theta[column] + h;
        if (!residuals_.residuals(shifted.data(), plus.data())) return false;
        if (central_) {
            shifted[column] = theta[column] - h;
            if (!residuals_.residuals(shifted.data(), minus.data())) return false;
        }
        shifted[column] = theta[column];
        jacobian.col(j) = central_ ? ((plus - minus) / (2 * h)).eval() : ((plus - atTheta) / h).eval();
    }
    return true;
}

}  // namespace kavrin
