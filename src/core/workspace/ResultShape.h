// The rows and values per row a time file of a project holds, and the check
// that a file read back is one complete time of that project's grid.
#pragma once

#include "model/ModelState.h"

#include <string>
#include <string_view>

namespace kavrin {

// A run writes one row per node along Y, each of one value per node along X
// (each value followed by a blank): Round((Y1 − Y0)/DY) + 1 rows of
// Round((X1 − X0)/DX) + 1 values. Counts are doubles so that no grid
// overflows them; a grid with no nodes has a count below one.
struct ResultShape {
    double rows = 0;
    double values = 0;
    std::string rowsText;    // "61 rows (Y from -30 to 30 by 1)", for the messages
    std::string valuesText;  // "101 values (X from 0 to 100 by 1)"
};

ResultShape ResultShapeOf(const ModelState& model, char separator);

// The blank-ended values of a line (text after its last blank is no value).
int CountLineValues(std::string_view line);

// Line `line` (from 1) of the time file `path` against the grid: a row beyond
// the grid's rows or with another number of values throws FileFormatError
// naming the file, the line and what the grid expects.
void CheckResultRow(const std::string& path, int line, std::string_view text, const ResultShape& shape);

// The file ended after `rowsRead` rows: fewer or more than the grid's throw
// FileFormatError (an empty or cut file is no complete time).
void CheckResultRowCount(const std::string& path, long long rowsRead, const ResultShape& shape);

}  // namespace kavrin
