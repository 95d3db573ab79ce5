// The one check a picture makes before it loads a time: the time is one the
// run's index lists and its results file holds the whole grid, so that no
// picture ever shows another time's data under this time's label.
#pragma once

#include "model/ModelState.h"

#include <string>

namespace kavrin {

// Whether `tempo` (a time's text as the time lists and the file names write
// it) is one of ListedRunTimes for `model` and the index at `indexPath`, and
// its results file in the project folder root + projectName is a regular
// file of as many rows and values per row as the grid has. A missing,
// unreadable, empty or cut file, or a text that names no listed time, is no
// complete time.
bool IsListedCompleteTime(const ModelState& model, const std::string& root, const std::string& projectName,
                          const std::string& indexPath, const std::string& tempo, char separator);

}  // namespace kavrin
