// Before a computation that takes the order in effect: with none in effect yet
// (no run, comparison or fit since start), an order the Gauss-Legendre table
// does not hold would leave the quadrature without nodes and every value 0.
#pragma once

#include "frame/AppState.h"
#include "gui/Dialogs.h"

namespace kavrin {

// Whether the data window's order gives the computation nodes; if not, says
// which order and what to choose, and the computation does not start.
bool GaussOrderGivesNodes(AppState& app, Dialogs& dialogs);

}  // namespace kavrin
