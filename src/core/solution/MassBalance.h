// The plume's mass balance at given times, for the whole 3-D plume: the net
// mass that entered through the plane x = 0, the mass decay destroyed, the
// dissolved and sorbed mass present, and the mass discharge across a control
// plane and across the grid's right edge. The kernel integrated over y and z
// (an aquifer infinite in both) leaves integrals in time alone, evaluated
// adaptively to far below the closure's 1e-9.
#pragma once

#include "model/ModelState.h"

#include <vector>

namespace kavrin {

struct MassBalanceRow {
    double time, entered, decayed, dissolved, sorbed, dischargeControl, dischargeEdge;
};

// mg and mg/day at each time (concentrations in mg/L, lengths in m, times in
// days; concentrations in g/L give g and g/day); dischargeControl is NaN
// without a control plane; a control plane at x = 0 gives the rate of
// entering (for a decaying source the constant source's rate less a
// convolution, exact to 1e-12 of that rate). Before or at t = 0 every
// quantity is 0. A
// dispersion coefficient that is not positive throws FloatError, as the
// field's computation does.
std::vector<MassBalanceRow> ComputeMassBalance(const ModelState& model, const std::vector<double>& times);

// The source plane's mass per unit of the 1-D solution: the sum over the zones
// of concentration × area, a zone nested in another counting only where it is
// not covered by the zones nested in it (mg/L·m²).
double SourceLoading(const ModelState& model);

}  // namespace kavrin
