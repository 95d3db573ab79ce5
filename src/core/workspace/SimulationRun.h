// The writing part of a run, shared by the desktop Run command and the headless
// run: project folder, index, and one time file per time of the series.
#pragma once

#include "model/ModelState.h"
#include "model/ProjectState.h"
#include "solution/Quadrature.h"
#include "workspace/ResultGrid.h"
#include "workspace/Transporte.h"

#include <string>

namespace kavrin {

struct RunEnvironment {
    std::string root;         // the workspace root, ending with "/"
    std::string valoresPath;  // the quadrature table
    char separator = '.';
    bool reference = false;  // the point formula for every point
    unsigned workers = 1;
};

enum class RunOutcome { Finished, Stopped };

// Creates the project folder (with a "(2)", "(3)" … suffix when the name is
// taken; ProjectName gets the name used), writes the index and, for every
// time T0, T0 + DT, … <= T1, its time file. The model has passed the run's
// checks. Results exist (ResultsExist) once the first time is complete.
// The index line and the file of a time are created just before it is
// written; with the whole-grid kernel the next time is computed meanwhile.
// When the callback asks to stop, the run ends once the time being written is
// complete: the index lists exactly the complete times (Stopped, unless that
// was the last time anyway).
// The values of each row written are kept in `grid` when it is given (the
// desktop's map reads the last time there).
// On failure the files are closed and what was written stays; the error of a
// time (the first in row order) propagates after its index line and its empty
// file are created, as the time would have started. A run that fails in its
// first time has nothing complete: its folder is removed.
RunOutcome WriteRun(const ModelState& model, QuadratureState& quadrature, ResultGrid* grid,
              ProjectState& project, const RunEnvironment& environment,
              RunProgress& progress, const RowCallback& onRow);

}  // namespace kavrin
