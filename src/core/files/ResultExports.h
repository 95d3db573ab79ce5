// Conversion of results files into Surfer 6 text grids and three-column text
// tables, for every time of a project's index or for one chosen file.
#pragma once

#include "model/ModelState.h"

#include <string>
#include <vector>

namespace kavrin {

// Every "," becomes ".".
std::string PontoDecimal(const std::string& text);

// `only` = 1: `open` is an index file and each listed results file becomes
// save + "T" + time text + ".grd", the times T0, T0 + DT, … counted per index
// line; two times whose texts are equal (one output name) are refused with
// RunFilesRefusal before anything is written. Any other `only`: the results file `open` becomes save + ".grd".
// The header comes from `model` as it stands; a step that is not positive or
// a range of more than 450 cells throws CheckError before anything is written,
// and an empty `save` is a FileError. So does, with CheckError, an output that
// would replace a file the export reads (the index, a results file it lists,
// the chosen file, a results file the index beside it lists), compared by
// device and inode, or that would lie in the folder of an index or of a file
// it lists. A results file with another number of rows, or of values in a
// row, than the model's grid throws FileFormatError naming the file and line,
// and writes nothing for it. Each file replaces an earlier one only once it is
// complete. Throws FileError; files completed before a failure stay.
void GrdAsccreate(const std::string& save, const std::string& open, int only, const ModelState& model, char separator);

// The same for tables "x y value", one line per point (".txt").
void TxtTabcreate(const std::string& save, const std::string& open, int only, const ModelState& model, char separator);

// A Surfer 6 text grid of values computed elsewhere (rows × columns, row by
// row, y ascending), in the exports' layout: the header of the grid X0…X1 ×
// Y0…Y1 with the z range zLow…zHigh, then each row's values as a results file
// writes them. Replaces an earlier file only once complete; throws FileError.
struct SurferGridFrame {
    double X0 = 0, X1 = 0, Y0 = 0, Y1 = 0;
    int rows = 0, columns = 0;
    double zLow = 0, zHigh = 0;
};
void WriteSurferGrid(const std::string& path, const SurferGridFrame& frame, const std::vector<double>& values);

enum class ExportFormat { Grid, Table };

// Either of the two, with `alsoRead` the other files the command reads (the
// project file), which no output may replace either.
void ExportResults(ExportFormat format, const std::string& save, const std::string& open, int only, const ModelState& model,
                   char separator, const std::vector<std::string>& alsoRead);

}  // namespace kavrin
