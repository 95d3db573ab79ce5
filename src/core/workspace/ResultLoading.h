// Reading one time's results file back into ResultGrid.
#pragma once

#include "model/ModelState.h"
#include "workspace/ResultGrid.h"

#include <string>

namespace kavrin {

// The k-th value of the m-th line goes to cell (k, m); each value ends at a
// blank, text after a line's last blank is ignored, an empty line keeps its
// row. Cells the file does not cover keep their contents, and nothing is
// stored outside the grid. Returns false, touching nothing, when the file
// does not exist; a value that does not convert throws ConversionError with
// the cells stored up to it kept.
bool LoadResultFile(const std::string& path, ResultGrid& grid, char separator);

// The same for a time of the project `model` describes, read only when it is
// one whole time of its grid: a file with another number of rows or of values
// in a row (cut, empty, of another grid) throws FileFormatError naming the
// file, the line and what the grid expects, and leaves `grid` as it was.
bool LoadResultFile(const std::string& path, ResultGrid& grid, const ModelState& model, char separator);

// The results file of a time of the current project: root + name + "/T" + tempo + ".txt".
std::string ResultFilePath(const std::string& root, const std::string& projectName, const std::string& tempo);

}  // namespace kavrin
