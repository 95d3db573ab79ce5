// The writing part of a run, shared by the desktop Run command and the headless
// run: project folder, index, and one time file per time of the series.
#pragma once

#include "model/ModelState.h"
#include "model/ProjectState.h"
#include "solution/Quadrature.h"
#include "workspace/ResultGrid.h"
#include "workspace/TimeWriting.h"

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
// time of RunTimes(T0, T1, DT), its time file. The model has passed the run's
// checks (and CheckRunFiles); a series that is not a list throws CheckError.
// Each time file is written under a hidden name and takes its own name once
// complete; then its index line goes to the disk. So at every moment, a run
// killed included, the index lists exactly the complete times and every file
// it lists is whole. Results exist (ResultsExist) once the first time is
// complete. With the whole-grid kernel the next time is computed meanwhile.
// When the callback asks to stop, the run ends once the time being written is
// complete (Stopped, unless that was the last time anyway).
// The values of each row written are kept in `grid` when it is given (the
// desktop's map reads the last time there).
// On failure the times before are complete and listed; the failing time leaves
// neither a file nor an index line, and its error (the first in row order)
// propagates. A run that fails in its first time has nothing complete: its
// folder is removed.
RunOutcome WriteRun(const ModelState& model, QuadratureState& quadrature, ResultGrid* grid, ProjectState& project,
                    const RunEnvironment& environment, RunProgress& progress, const RowCallback& onRow);

}  // namespace kavrin
