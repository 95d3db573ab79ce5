// The model's numbers as arrays: a time's whole grid by the fast kernel, and
// the point formula at any points, on all workers.
#pragma once

#include "PythonModel.h"

#include <cstddef>
#include <functional>

namespace kavrin {

// Called between blocks of work with the workers idle; throws to stop.
using BetweenBlocks = std::function<void()>;

// The grid of time t (rows y ascending, columns x ascending) into `out`
// (rows × columns values), after the grid checks of a run. `asWritten` rounds
// each value to the time file's text and reads it back. Throws CheckError or
// what the kernel throws.
void ComputeFieldInto(PythonModel& model, double t, bool asWritten, double* out);

// The grid's shape as a run writes it: (rows, columns), after the grid checks.
std::pair<int, int> FieldShape(const PythonModel& model);

// PointValue at each (x[i], y[i], z[i], t[i]) into out[i], i < count, in
// blocks with `between` called after each: bit for bit when `exact`,
// otherwise with vectorised exponentials (see SharedPointValues).
void ComputePointsInto(PythonModel& model, const double* x, const double* y, const double* z, const double* t, std::size_t count,
                       bool exact, double* out, const BetweenBlocks& between);

}  // namespace kavrin
