// The fit's cost for the solver: every observation's weighted residual as a
// function of the fitted coordinates θ (log(value) for positive parameters,
// the value itself otherwise), with its Jacobian by finite differences.
#pragma once

#include "calibration/FitSettings.h"
#include "calibration/Observations.h"

#include <Eigen/Core>
#include <ceres/cost_function.h>

#include <vector>

namespace kavrin {

using JacobianMatrix = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;

// The residuals of the observations at θ, and the model they come from.
class Residuals {
public:
    Residuals(const std::vector<Observation>& observations, const ModelState& start, const QuadratureState& quadrature,
              const FitSettings& settings);

    int count() const { return static_cast<int>(observations_.size()); }
    int parameters() const { return static_cast<int>(settings_.parameters.size()); }

    static double theta(const FitParameterInfo& info, double value);
    static double value(const FitParameterInfo& info, double theta);

    ModelState modelAt(const double* theta) const;
    // The calculated concentrations at θ; counts an evaluation.
    std::vector<double> calculated(const double* theta) const;
    int evaluations() const { return evaluations_; }

    // The residual of observation i for its calculated value: √w times observed minus calculated, or their log10s.
    double residual(int i, double calculatedValue) const;
    // The residuals at θ; false when the solution fails or leaves the double range there.
    bool residuals(const double* theta, double* out, std::vector<double>* calculatedOut = nullptr) const;
    // d residual / d log C0 of observation i for its calculated value: minus
    // the value itself for concentrations, minus 1/ln 10 above the detection
    // limit for log10 residuals; times √w.
    double proportionalDerivative(int i, double calculatedValue) const;
    // The difference step of coordinate j: relative for log coordinates,
    // relative to the bounds' size for the others (the decay may start at 0).
    double step(int j, double thetaJ, double relative) const;

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
    ObservationCost(const Residuals& residuals, const std::vector<FitParameter>& parameters);

    void useCentralDifferences();

    // The concentrations at θ, the last evaluated ones when θ is where the cost stood last.
    std::vector<double> calculated(const std::vector<double>& theta) const;

    bool Evaluate(double const* const* parameters, double* residuals, double** jacobians) const override;

private:
    // The Jacobian at θ into `jacobian`, from the residuals and concentrations there.
    bool differentiate(const std::vector<double>& theta, const double* residuals, const std::vector<double>& calculated,
                       Eigen::Map<JacobianMatrix> jacobian) const;

    const Residuals& residuals_;
    const std::vector<FitParameter>& parameters_;
    bool central_ = false;
    mutable std::vector<double> keptTheta_, keptResiduals_, keptJacobian_;
    mutable std::vector<double> lastTheta_, lastCalculated_;
};

}  // namespace kavrin
