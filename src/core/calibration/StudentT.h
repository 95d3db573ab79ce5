// Student's t distribution: the two-sided quantiles of the parameters' intervals.
#pragma once

namespace kavrin {

// P(T <= t) for T with `degrees` degrees of freedom (degrees > 0).
double StudentTDistribution(double t, double degrees);

// The t with P(T <= t) = probability (0 < probability < 1), to about 1e-12.
double StudentTQuantile(double probability, double degrees);

}  // namespace kavrin
