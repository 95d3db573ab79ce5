// The point formula at many points, sharing what points have in common: the
// time's node factors among points at the same time, the transverse factors
// among consecutive points at the same y (or z), and no transverse factor at
// all for a node whose longitudinal exponential is zero. The same operations
// in the same order as the point formula, only the terms that are exactly zero
// left out of the sum, and the exponentials either the library's (each value
// the point formula's own, bit for bit) or vectorised.
#pragma once

#include "model/ModelState.h"
#include "solution/Quadrature.h"
#include "solution/SourceSuperposition.h"

#include <cstddef>
#include <vector>

namespace kavrin {

// Whether the shared form applies to the model at all: the constant source of
// one zone about the centre, positive finite dispersion, at least one node.
bool SharedPointFactorsApply(const SourceSuperposition& source, const ModelState& model, const QuadratureState& quadrature);

// The order in which the points are best taken: those the shared form can
// carry (x > 0, t > 0, all finite), grouped by time where times repeat (each
// group in the points' own order), else in their own order; the others are
// left out (the point formula takes them).
std::vector<std::size_t> SharedPointOrder(const double* x, const double* y, const double* z, const double* t, std::size_t count);

// out[order[k]] for k in [begin, end): the value of each point, or for one
// whose sum leaves the double range (or a time whose nodes degenerate) the
// point formula's, so a fault is the point formula's own. `exact` takes the
// exponentials from the library as the point formula does, so each value is
// its own bit for bit; otherwise they are vectorised, within a unit in the
// last place of the library's.
void SharedPointValues(const double* x, const double* y, const double* z, const double* t, const std::size_t* order,
                       std::size_t begin, std::size_t end, const SourceSuperposition& source, const ModelState& model,
                       const QuadratureState& quadrature, bool exact, double* out);

}  // namespace kavrin
